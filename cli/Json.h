// A small writer of one-line JSON documents, for the command line's output.
// Numbers are written in the shortest form that reads back to the same
// double; texts are passed as UTF-8, and bytes that are not UTF-8 (Latin-1
// text of older files) are taken as Latin-1 characters.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class TJsonWriter {
public:
  TJsonWriter() = default;
  // Writes the text to out as it grows, keeping only the part not yet
  // written, so that a document of megabytes is never held twice.
  explicit TJsonWriter(std::FILE* out) : Out(out) {}

  TJsonWriter& BeginObject();
  TJsonWriter& EndObject();
  TJsonWriter& BeginArray();
  TJsonWriter& EndArray();
  TJsonWriter& Key(std::string_view name);
  TJsonWriter& String(std::string_view text);
  TJsonWriter& Number(double value);  // null when not finite
  TJsonWriter& Integer(long long value);
  TJsonWriter& Bool(bool value);

  // The text, or with an output the part not yet written to it.
  const std::string& Text() const { return Output; }

private:
  void BeforeValue();
  void WriteOutWhenLarge();

  std::FILE* Out = nullptr;
  std::string Output;
  std::vector<bool> First;  // per open container: no element written yet
  bool AfterKey = false;
};

// Shortest round-trip text of a double ("1.5", "1e+20").
std::string RoundTripText(double value);
