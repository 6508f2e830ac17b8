// Sequential reading of a text file the way the data file and the import
// read it: whole lines, or numbers separated by white space, with CR LF, LF
// or CR line ends. The character with code 26 ends the readable text. At the
// end of the text a line reads as empty and a number as 0, without an error.
// Works through a 1024-byte buffer, so files of any size and lines of any
// length are read without holding the file in memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

class TTextReader {
public:
  TTextReader() = default;
  TTextReader(const TTextReader&) = delete;
  TTextReader& operator=(const TTextReader&) = delete;
  ~TTextReader();

  // Opens a file (UTF-8 name); false when it cannot be opened.
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

  // Skip blanks, tabs and line ends, then read a number up to the next blank
  // or control character. False on a number error (the text is not a
  // number, or an integer does not fit 32 bits).
  bool ReadReal(double& value);
  bool ReadInteger(std::int32_t& value);

private:
  int Peek();
  void Advance() { ++Position; }
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
// written completely. False on any failure.
bool WriteFileAtomically(const std::string& fileName, std::string_view content);
