// Helpers shared by the test programs: a recorder for the program's
// messages, and a temporary folder that is removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "Messages.h"

// Records every message shown while it lives, instead of printing it.
class TMessageRecorder {
public:
  struct TMessage {
    TMessageKind Kind;
    std::string Text;
  };

  TMessageRecorder() {
    Previous = SetMessageHandler([this](TMessageKind kind, const std::string& text) {
      Messages.push_back({kind, text});
    });
  }
  ~TMessageRecorder() { SetMessageHandler(std::move(Previous)); }
  TMessageRecorder(const TMessageRecorder&) = delete;
  TMessageRecorder& operator=(const TMessageRecorder&) = delete;

  std::vector<TMessage> Messages;

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const TMessage& message : Messages) texts.push_back(message.Text);
    return texts;
  }

private:
  TMessageHandler Previous;
};

class TTemporaryFolder {
public:
  TTemporaryFolder() {
    std::random_device random;
    Path = std::filesystem::temp_directory_path() / ("resondix-test-" + std::to_string(random()));
    std::filesystem::create_directories(Path);
  }
  ~TTemporaryFolder() {
    std::error_code error;
    std::filesystem::permissions(Path, std::filesystem::perms::owner_all, error);
    std::filesystem::remove_all(Path, error);
  }
  TTemporaryFolder(const TTemporaryFolder&) = delete;
  TTemporaryFolder& operator=(const TTemporaryFolder&) = delete;

  std::string File(const std::string& name) const { return (Path / name).string(); }
  const std::filesystem::path& Folder() const { return Path; }

private:
  std::filesystem::path Path;
};

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

// The lines, each followed by end.
inline std::string JoinLines(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

inline std::string ExamplePath(const std::string& name) {
  return std::string(RESONDIX_SOURCE_DIR) + "/examples/" + name;
}
