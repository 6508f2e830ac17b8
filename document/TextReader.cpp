#include "TextReader.h"

#include <filesystem>
#include <random>
#include <system_error>

#include "NumberText.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr int EndOfText = -1;
constexpr char EndOfTextMark = 26;
// Numbers longer than this are not numbers; the rest of such a token is
// passed over without being kept.
constexpr std::size_t MaxTokenLength = 400;

fs::path PathFromUtf8(const std::string& fileName) {
#if defined(__cpp_char8_t)
  return fs::path(reinterpret_cast<const char8_t*>(fileName.c_str()));
#else
  return fs::u8path(fileName);
#endif
}

}  // namespace

std::FILE* OpenFileUtf8(const std::string& fileName, const char* mode) {
#ifdef _WIN32
  std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(PathFromUtf8(fileName).c_str(), wideMode.c_str());
#else
  return std::fopen(fileName.c_str(), mode);
#endif
}

TTextReader::~TTextReader() {
  if (File) std::fclose(File);
}

bool TTextReader::Open(const std::string& fileName) {
  File = OpenFileUtf8(fileName, "rb");
  return File != nullptr;
}

void TTextReader::OpenText(std::string_view text) {
  Data = text.data();
  Length = text.size();
  Position = 0;
}

int TTextReader::Peek() {
  if (Ended) return EndOfText;
  if (Position == Length) {
    Position = 0;
    Length = 0;
    if (File) {
      Length = std::fread(Buffer, 1, sizeof Buffer, File);
      if (Length == 0 && std::ferror(File)) Failed = true;
    }
    if (Length == 0) {
      Ended = true;
      return EndOfText;
    }
  }
  const char c = Data[Position];
  if (c == EndOfTextMark) {
    Ended = true;
    return EndOfText;
  }
  return static_cast<unsigned char>(c);
}

bool TTextReader::Eof() { return Peek() == EndOfText; }

std::string TTextReader::ReadLine(std::size_t keep) {
  std::string line;
  for (int c = Peek(); c != EndOfText; c = Peek()) {
    Advance();
    if (c == '\n') break;
    if (c == '\r') {
      if (Peek() == '\n') Advance();
      break;
    }
    if (line.size() < keep) line += static_cast<char>(c);
  }
  return line;
}

bool TTextReader::ReadToken(std::string& token) {
  int c = Peek();
  while (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
    Advance();
    c = Peek();
  }
  token.clear();
  if (c == EndOfText) return true;  // a number at the end reads as 0
  bool tooLong = false;
  while (c != EndOfText && c > ' ' && c != 127) {
    if (token.size() < MaxTokenLength)
      token += static_cast<char>(c);
    else
      tooLong = true;
    Advance();
    c = Peek();
  }
  // An empty token means a control character stands where a number should.
  return !token.empty() && !tooLong;
}

bool TTextReader::ReadReal(double& value) {
  std::string token;
  if (!ReadToken(token)) return false;
  if (token.empty()) {
    value = 0;
    return true;
  }
  const auto number = StrToFloatDot(token);
  if (!number) return false;
  value = *number;
  return true;
}

bool TTextReader::ReadInteger(std::int32_t& value) {
  std::string token;
  if (!ReadToken(token)) return false;
  if (token.empty()) {
    value = 0;
    return true;
  }
  std::size_t i = (token[0] == '+' || token[0] == '-') ? 1 : 0;
  if (i == token.size()) return false;
  long long number = 0;
  for (; i < token.size(); ++i) {
    if (token[i] < '0' || token[i] > '9') return false;
    number = number * 10 + (token[i] - '0');
    if (number > 2147483648LL) return false;
  }
  if (token[0] == '-') number = -number;
  if (number > INT32_MAX || number < INT32_MIN) return false;
  value = static_cast<std::int32_t>(number);
  return true;
}

bool WriteFileAtomically(const std::string& fileName, std::string_view content) {
  std::error_code error;
  fs::path target = PathFromUtf8(fileName);
  // Write through a link to the file it names, so that the link survives.
  if (fs::is_symlink(target, error)) {
    fs::path resolved = fs::canonical(target, error);
    if (error) return false;
    target = resolved;
  }
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

  std::random_device random;
  fs::path temporary;
  std::FILE* file = nullptr;
  for (int attempt = 0; attempt < 16 && !file; ++attempt) {
    temporary = folder / ("." + target.filename().string() + "." + std::to_string(random() % 1000000) + ".tmp");
#ifdef _WIN32
    file = _wfopen(temporary.c_str(), L"wbx");
#else
    file = std::fopen(temporary.c_str(), "wbx");
#endif
  }
  if (!file) return false;

  bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  written = std::fflush(file) == 0 && written;
#ifndef _WIN32
  written = ::fsync(fileno(file)) == 0 && written;
#endif
  written = std::fclose(file) == 0 && written;

  if (written && fs::exists(target, error)) {
    fs::permissions(temporary, fs::status(target, error).permissions(), error);
    error.clear();
  }
  if (written) {
    fs::rename(temporary, target, error);
    written = !error;
  }
  if (!written) fs::remove(temporary, error);
  return written;
}
