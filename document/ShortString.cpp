#include "document/ShortString.h"

#include <algorithm>
#include <cctype>

namespace {
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
bool IsLead(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0xC0; }
}  // namespace

std::size_t CutLength(std::string_view text, std::size_t capacity) {
  if (text.size() <= capacity) return text.size();
  // text[capacity] is the first byte that is dropped. When it continues a
  // UTF-8 sequence, that sequence's lead byte (at most three bytes back) goes
  // too. Bytes that are not UTF-8 (Latin-1 text) are cut where they stand.
  std::size_t start = capacity;
  while (start > 0 && capacity - start < 3 && IsContinuation(text[start])) --start;
  if (start < capacity && IsLead(text[start])) return start;
  return capacity;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

bool EndsWithNoCase(std::string_view text, std::string_view ending) {
  return text.size() >= ending.size() && EqualNoCase(text.substr(text.size() - ending.size()), ending);
}
