// A small writer of one-line JSON documents, for the command line's output.
// Numbers are written in the shortest form that reads back to the same
// double; texts are passed as UTF-8, and bytes that are not UTF-8 (Latin-1
// text of older files) are taken as Latin-1 characters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TJsonWriter {
public:
  TJsonWriter& BeginObject();
  TJsonWriter& EndObject();
  TJsonWriter& BeginArray();
  TJsonWriter& EndArray();
  TJsonWriter& Key(std::string_view name);
  TJsonWriter& String(std::string_view text);
  TJsonWriter& Number(double value);  // null when not finite
  TJsonWriter& Integer(long long value);
  TJsonWriter& Bool(bool value);

  const std::string& Text() const { return Output; }

private:
  void BeforeValue();

  std::string Output;
  std::vector<bool> First;  // per open container: no element written yet
  bool AfterKey = false;
};

// Shortest round-trip text of a double ("1.5", "1e+20").
std::string RoundTripText(double value);
