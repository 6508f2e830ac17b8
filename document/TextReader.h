// Sequential reading of a text file the way the data file and the import
// read it: whole lines, or numbers separated by white space, with CR LF, LF
// or CR line ends. The character with code 26 ends the readable text. At the
// end of the text a line reads as empty and a number as 0, without an error.
// Works through a 1024-byte buffer, so files of any size and lines of any
// length are read without holding the file in memory; what a caller keeps of
// a line is bounded by the caller.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

// A number text longer than this is not a number: no real file writes one,
// and the rest of such a text is passed over without being kept.
constexpr std::size_t MaxNumberLength = 400;

class TTextReader {
public:
  TTextReader() = default;
  TTextReader(const TTextReader&) = delete;
  TTextReader& operator=(const TTextReader&) = delete;
  ~TTextReader();

  // Opens a file (UTF-8 name); false when it cannot be opened or is not a
  // regular file (a folder, a device or a FIFO, which could block forever).
  bool Open(const std::string& fileName);
  // Reads from text held in memory instead; the text must outlive the reader.
  void OpenText(std::string_view text);

  bool Eof();
  // An input error happened while reading (the file became unreadable).
  bool InputError() const { return Failed; }

  // Reads the rest of the current line, keeping at most keep bytes of it,
  // and moves past its line end.
  std::string ReadLine(std::size_t keep = std::string::npos);
  void SkipLine() { ReadLine(0); }
  // Reads the rest of the current line as fields each ended by separator,
  // and moves past its line end. Returns the first fieldCount fields joined
  // by separator, each cut to keep bytes; the rest of the line is passed
  // over.
  std::string ReadFields(char separator, int fieldCount, std::size_t keep);

  // Whether the text starts as UTF-16 does: with a byte-order mark, or with
  // a NUL beside a character. Meaningful only before anything was read.
  bool StartsLikeUtf16();

  // Skip blanks, tabs and line ends, then read a number up to the next blank
  // or control character. False on a number error (the text is not a
  // number, or an integer does not fit 32 bits).
  bool ReadReal(double& value);
  bool ReadInteger(std::int32_t& value);

private:
  int Peek();
  void Advance() { ++Position; }
  // Moves past c, the character just peeked; true when it ends the line (a
  // CR takes a LF after it along).
  bool EndsLine(int c);
  // Of the characters in the buffer from the current one on: how many come
  // before a line end, the end mark or separator.
  std::size_t RunLength(char separator) const;
  bool ReadToken(std::string& token);

  std::FILE* File = nullptr;
  char Buffer[1024];
  const char* Data = Buffer;
  std::size_t Length = 0;
  std::size_t Position = 0;
  bool Ended = false;
  bool Failed = false;
};

// fopen for a UTF-8 file name on every platform.
std::FILE* OpenFileUtf8(const std::string& fileName, const char* mode);

// Replaces the file with content, or leaves it untouched: the text goes to a
// temporary file beside it, which replaces the target only when it was
// written completely. A link is written through to the file it names, which
// is created when missing. Refused, as a plain write would be, when the
// target is write-protected; refused also when it is not a regular file.
// False on any failure.
// write puts the content into the file it is given; false when it fails.
bool WriteFileAtomically(const std::string& fileName, const std::function<bool(std::FILE* file)>& write);
bool WriteFileAtomically(const std::string& fileName, std::string_view content);
