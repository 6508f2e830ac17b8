// Helpers shared by the test programs: a recorder for the program's messages, a temporary folder,
// whole files, a document's tables as text, and the check that a failure left a document as it was.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "document/Messages.h"
#include "document/ResondixData.h"

// Records every message shown while it lives, instead of printing it.
struct TMessageRecorder {
  std::vector<TMessageKind> Kinds;
  std::vector<std::string> Texts;
  TMessageHandler Previous = SetMessageHandler([this](TMessageKind kind, const std::string& text) {
    Kinds.push_back(kind), Texts.push_back(text);
  });
  ~TMessageRecorder() { SetMessageHandler(std::move(Previous)); }
};

struct TTemporaryFolder {
  std::filesystem::path Path =
      std::filesystem::temp_directory_path() / ("resondix-test-" + std::to_string(std::random_device()()));
  TTemporaryFolder() { std::filesystem::create_directories(Path); }
  ~TTemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Path, ignored);
  }
  const std::filesystem::path& Folder() const { return Path; }
  std::string File(const std::string& name) const { return (Path / name).string(); }
};

inline std::string ReadWholeFile(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}
inline void WriteWholeFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string JoinLines(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

inline std::string ExamplePath(const std::string& name) { return RESONDIX_SOURCE_DIR "/examples/" + name; }

// The tables as one text, "L/2:rho ... | rho/depth ...", to compare them whole.
inline std::string Tables(const TResondixData& d) {
  std::ostringstream text;
  text.precision(15);
  for (int i = 1; i <= d.MeasurementCount; ++i) text << d.HalfSpacing[i] << ':' << d.ApparentRho[i] << ' ';
  text << '|';
  for (int i = 1; i <= d.LayerCount; ++i) text << ' ' << d.LayerRho[i] << '/' << d.LayerDepth[i];
  return text.str();
}

// What a failed load, import or edit must leave as it was, file name, annotations and flags included.
inline void ExpectUnchanged(const TResondixData& before, const TResondixData& after) {
  const auto content = [](const TResondixData& d) {
    return std::tie(d.FileName, d.Info, d.MeasurementCount, d.LayerCount, d.HalfSpacing, d.ApparentRho, d.LayerRho,
                    d.LayerDepth, d.IsSchlumberger, d.Annotations, d.Saved, d.RhoUnknown,
                    d.DepthUnknown, d.StructureChanged, d.HasFitResult, d.RhoIntervalText);
  };
  EXPECT_TRUE(content(before) == content(after)) << "the document changed";
}
