// A text of fixed capacity kept inside the object (no heap), cut to its
// capacity when it is stored, never rejected. Capacities count bytes; a cut
// never leaves half of a UTF-8 sequence behind.
#pragma once

#include <cstddef>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

// Length of the longest prefix of text that holds at most capacity bytes and
// does not end inside a UTF-8 multi-byte sequence.
std::size_t CutLength(std::string_view text, std::size_t capacity);

// Comparisons that ignore the case of ASCII letters (file extensions,
// keywords).
bool EqualNoCase(std::string_view a, std::string_view b);
bool EndsWithNoCase(std::string_view text, std::string_view ending);

template <std::size_t Capacity>
class TShortString {
public:
  TShortString() = default;
  TShortString(std::string_view text) { Assign(text); }          // NOLINT: implicit by design
  TShortString(const char* text) { Assign(text); }               // NOLINT
  TShortString(const std::string& text) { Assign(text); }        // NOLINT

  TShortString& operator=(std::string_view text) {
    Assign(text);
    return *this;
  }
  TShortString& operator=(const char* text) { return *this = std::string_view(text); }
  TShortString& operator=(const std::string& text) { return *this = std::string_view(text); }

  static constexpr std::size_t capacity() { return Capacity; }
  std::size_t size() const { return Length; }
  bool empty() const { return Length == 0; }
  const char* c_str() const { return Text; }
  std::string_view view() const { return std::string_view(Text, Length); }
  std::string str() const { return std::string(Text, Length); }
  operator std::string_view() const { return view(); }  // NOLINT

  friend bool operator==(const TShortString& a, std::string_view b) { return a.view() == b; }
  friend bool operator==(std::string_view a, const TShortString& b) { return a == b.view(); }
  friend bool operator==(const TShortString& a, const TShortString& b) { return a.view() == b.view(); }
  friend bool operator==(const TShortString& a, const char* b) { return a.view() == b; }
  friend bool operator==(const TShortString& a, const std::string& b) { return a.view() == b; }
  friend bool operator==(const std::string& a, const TShortString& b) { return a == b.view(); }
  friend bool operator!=(const TShortString& a, std::string_view b) { return !(a == b); }
  friend bool operator!=(const TShortString& a, const TShortString& b) { return !(a == b); }
  friend bool operator!=(const TShortString& a, const char* b) { return !(a == b); }
  friend std::ostream& operator<<(std::ostream& out, const TShortString& s) { return out << s.view(); }

private:
  void Assign(std::string_view text) {
    Length = CutLength(text, Capacity);
    if (Length > 0) std::memmove(Text, text.data(), Length);
    Text[Length] = '\0';
  }

  std::size_t Length = 0;
  char Text[Capacity + 1] = {};
};
