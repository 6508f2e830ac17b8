#include "ShortString.h"

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
