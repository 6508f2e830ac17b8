#include "cli/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Length of a valid UTF-8 sequence starting at text[i], or 0.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned minimum = 0;
  unsigned codePoint = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, codePoint = lead & 0x1F, minimum = 0x80;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, codePoint = lead & 0x0F, minimum = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, codePoint = lead & 0x07, minimum = 0x10000;
  else return 0;
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (byte(i + k) & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
  return length;
}

// What a writer with an output keeps before it writes it out.
constexpr std::size_t OutputChunk = 1 << 16;

}  // namespace

std::string RoundTripText(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

void TJsonWriter::WriteOutWhenLarge() {
  if (!Out || Output.size() < OutputChunk) return;
  std::fwrite(Output.data(), 1, Output.size(), Out);
  Output.clear();
}

void TJsonWriter::BeforeValue() {
  if (AfterKey) {
    AfterKey = false;
    return;
  }
  if (!First.empty()) {
    if (!First.back()) Output += ',';
    First.back() = false;
  }
}

TJsonWriter& TJsonWriter::BeginObject() {
  BeforeValue();
  Output += '{';
  First.push_back(true);
  return *this;
}

TJsonWriter& TJsonWriter::EndObject() {
  Output += '}';
  First.pop_back();
  return *this;
}

TJsonWriter& TJsonWriter::BeginArray() {
  BeforeValue();
  Output += '[';
  First.push_back(true);
  return *this;
}

TJsonWriter& TJsonWriter::EndArray() {
  Output += ']';
  First.pop_back();
  return *this;
}

TJsonWriter& TJsonWriter::Key(std::string_view name) {
  String(name);
  Output += ':';
  AfterKey = true;
  return *this;
}

TJsonWriter& TJsonWriter::String(std::string_view text) {
  BeforeValue();
  Output += '"';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      Output += '\\';
      Output += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      constexpr char Hex[] = "0123456789abcdef";
      const char escape[] = {'\\', 'u', '0', '0', Hex[c >> 4], Hex[c & 0xF]};
      Output.append(escape, sizeof escape);
    } else if (c < 0x80) {
      Output += static_cast<char>(c);
    } else if (std::size_t length = Utf8SequenceLength(text, i)) {
      Output.append(text.substr(i, length));
      i += length - 1;
    } else {
      Output += static_cast<char>(0xC0 | (c >> 6));
      Output += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  Output += '"';
  WriteOutWhenLarge();
  return *this;
}

TJsonWriter& TJsonWriter::Number(double value) {
  BeforeValue();
  Output += std::isfinite(value) ? RoundTripText(value) : "null";
  return *this;
}

TJsonWriter& TJsonWriter::Integer(long long value) {
  BeforeValue();
  Output += std::to_string(value);
  return *this;
}

TJsonWriter& TJsonWriter::Bool(bool value) {
  BeforeValue();
  Output += value ? "true" : "false";
  return *this;
}
