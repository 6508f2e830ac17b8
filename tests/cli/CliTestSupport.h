// Running resondix-cli from the command-line tests: its output, messages
// and exit status.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include "tests/TestSupport.h"

struct TRun {
  int Status = -1;
  std::string Out, Err;
  QJsonObject Json() const {  // the first line of standard output
    return QJsonDocument::fromJson(QByteArray::fromStdString(Out.substr(0, Out.find('\n')))).object();
  }
};

// environment: an optional prefix such as "env -u DISPLAY"; output: where standard output goes instead of Out.
inline TRun RunCli(const std::string& arguments, const std::string& environment = "", const std::string& output = "") {
  static TTemporaryFolder folder;
  const std::string out = folder.File("out.txt"), err = folder.File("err.txt");
  const std::string command = environment + " '" + RESONDIX_CLI + "' " + arguments + " >'" +
                              (output.empty() ? out : output) + "' 2>'" + err + "'";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadWholeFile(out), ReadWholeFile(err)};
}

inline int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

inline std::string Text(const QJsonValue& value) { return value.toString().toStdString(); }
inline std::string Quoted(const std::string& path) { return "'" + path + "'"; }
