#include "document/TextReader.h"

#include <algorithm>
#include <filesystem>
#include <random>
#include <system_error>

#include "document/NumberText.h"

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>

#include <cerrno>
#endif

namespace fs = std::filesystem;

namespace {

constexpr int EndOfText = -1;
constexpr char EndOfTextMark = 26;
// As many links as the system itself follows before it gives up.
constexpr int MaxLinkHops = 40;

fs::path PathFromUtf8(const std::string& fileName) {
#if defined(__cpp_char8_t)
  return fs::path(reinterpret_cast<const char8_t*>(fileName.c_str()));
#else
  return fs::u8path(fileName);
#endif
}

#ifndef _WIN32
// Opens a regular file for reading, or nothing. O_NONBLOCK keeps the open of
// a FIFO from waiting for a writer; a regular file then reads as usual.
std::FILE* OpenRegularFile(const std::string& fileName) {
  const int descriptor = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  struct stat status {};
  std::FILE* file = nullptr;
  if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
      ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) == 0)
    file = ::fdopen(descriptor, "rb");
  if (!file) ::close(descriptor);
  return file;
}
#endif

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
#ifdef _WIN32
  std::error_code error;
  if (!fs::is_regular_file(PathFromUtf8(fileName), error)) return false;
  File = OpenFileUtf8(fileName, "rb");
#else
  File = OpenRegularFile(fileName);
#endif
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

bool TTextReader::StartsLikeUtf16() {
  Peek();  // fills the buffer
  if (Length - Position < 2) return false;
  const auto first = static_cast<unsigned char>(Data[Position]);
  const auto second = static_cast<unsigned char>(Data[Position + 1]);
  const bool byteOrderMark = (first == 0xFF && second == 0xFE) || (first == 0xFE && second == 0xFF);
  return byteOrderMark || ((first == 0) != (second == 0));
}

bool TTextReader::EndsLine(int c) {
  Advance();
  if (c == '\n') return true;
  if (c != '\r') return false;
  if (Peek() == '\n') Advance();
  return true;
}

std::size_t TTextReader::RunLength(char separator) const {
  std::size_t end = Position;
  while (end < Length) {
    const char c = Data[end];
    if (c == '\n' || c == '\r' || c == EndOfTextMark || c == separator) break;
    ++end;
  }
  return end - Position;
}

std::string TTextReader::ReadLine(std::size_t keep) {
  std::string line;
  for (int c = Peek(); c != EndOfText && !EndsLine(c); c = Peek()) {
    // EndsLine moved past c, the first character of the run.
    const std::size_t run = RunLength('\n');
    if (line.size() < keep) line += static_cast<char>(c);
    if (line.size() < keep) line.append(Data + Position, std::min(run, keep - line.size()));
    Position += run;
  }
  return line;
}

std::string TTextReader::ReadFields(char separator, int fieldCount, std::size_t keep) {
  std::string fields;
  int field = 1;
  std::size_t fieldLength = 0;  // kept of the current field
  for (int c = Peek(); c != EndOfText && !EndsLine(c); c = Peek()) {
    if (c == separator) {
      if (field <= fieldCount) fields += separator;
      ++field;
      fieldLength = 0;
      continue;
    }
    // EndsLine moved past c, the first character of the run.
    const std::size_t run = RunLength(separator);
    if (field <= fieldCount && fieldLength < keep) {
      const std::size_t taken = std::min(run + 1, keep - fieldLength);
      fields += static_cast<char>(c);
      fields.append(Data + Position, taken - 1);
      fieldLength += taken;
    }
    Position += run;
  }
  return fields;
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
    if (token.size() < MaxNumberLength)
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

namespace {

// The file a plain open for writing would write: the end of a chain of
// links, also when the last link names a file that does not exist yet.
bool FollowLinks(fs::path& path) {
  std::error_code error;
  for (int hops = 0; fs::is_symlink(fs::symlink_status(path, error)); ++hops) {
    const fs::path next = fs::read_symlink(path, error);
    if (error || hops == MaxLinkHops) return false;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return true;
}

// Whether a save may replace target: it does not exist yet, or it is a
// regular file that may be written. A file without any write permission is
// write-protected for every user, the superuser included; a plain write
// would refuse it to everybody else too.
bool MayReplace(const fs::path& target) {
  std::error_code error;
  const fs::file_status status = fs::status(target, error);
  if (status.type() == fs::file_type::not_found) return true;
  if (!fs::is_regular_file(status)) return false;
  constexpr fs::perms anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if ((status.permissions() & anyWrite) == fs::perms::none) return false;
#ifdef _WIN32
  return true;
#else
  return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
#endif
}

// A new file beside the target, with a short name of its own, so that a
// target name of the file system's full length still leaves room for it.
std::FILE* CreateTemporaryFile(const fs::path& folder, fs::path& temporary) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, ".resondix-%08x.tmp", static_cast<unsigned>(random()));
    temporary = folder / name;
#ifdef _WIN32
    // _O_EXCL, not fopen's "x": msvcrt.dll, the C library of MinGW builds,
    // accepts "x" but opens an existing file all the same.
    const int descriptor =
        _wopen(temporary.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
    std::FILE* file = descriptor < 0 ? nullptr : _fdopen(descriptor, "wb");
    if (descriptor >= 0 && !file) _close(descriptor);
#else
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
#endif
    if (file) return file;
  }
  return nullptr;
}

bool WriteAndSync(std::FILE* file, const std::function<bool(std::FILE* file)>& write) {
  bool written = write(file);
  written = std::fflush(file) == 0 && written;
#ifndef _WIN32
  written = ::fsync(fileno(file)) == 0 && written;
#endif
  return std::fclose(file) == 0 && written;
}

// A rename is kept by the folder; only a synced folder keeps the new name
// through a power loss. A folder that cannot be opened for reading (write
// and search permission only) cannot be synced, and some file systems do
// not sync folders at all (EINVAL); neither makes the save fail.
bool SyncFolder(const fs::path& folder) {
#ifdef _WIN32
  (void)folder;
  return true;
#else
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return true;
  const bool synced = ::fsync(descriptor) == 0 || errno == EINVAL;
  ::close(descriptor);
  return synced;
#endif
}

}  // namespace

bool WriteFileAtomically(const std::string& fileName, const std::function<bool(std::FILE* file)>& write) {
  fs::path target = PathFromUtf8(fileName);
  if (!FollowLinks(target) || !MayReplace(target)) return false;
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

  fs::path temporary;
  std::FILE* file = CreateTemporaryFile(folder, temporary);
  if (!file) return false;
  bool written = WriteAndSync(file, write);

  std::error_code error;
  if (written && fs::exists(target, error)) {
    fs::permissions(temporary, fs::status(target, error).permissions(), error);
    error.clear();
  }
  if (written) {
    fs::rename(temporary, target, error);
    written = !error;
  }
  if (!written) {
    fs::remove(temporary, error);
    return false;
  }
  return SyncFolder(folder);
}

bool WriteFileAtomically(const std::string& fileName, std::string_view content) {
  return WriteFileAtomically(fileName, [content](std::FILE* file) {
    return std::fwrite(content.data(), 1, content.size(), file) == content.size();
  });
}
