// What the window tests share: scripted answers for the message boxes and
// file dialogs, settings in a temporary file, and a window made the way the
// program makes it.
#pragma once

#include <QSettings>
#include <QTest>
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "Main.h"
#include "Services.h"
#include "Settings.h"
#include "TestSupport.h"

// Message boxes answered by the test: every message is recorded, each save
// prompt takes the next scripted answer (Cancel, and a test failure, when
// none is left).
class TScriptedMessages : public TMessageService {
public:
  struct TShown {
    TMessageKind Kind;
    QString Text;
  };
  std::vector<TShown> Shown;
  QStringList Prompts;
  std::deque<TSaveAnswer> Answers;

  void ShowMessage(TMessageKind kind, const QString& text) override { Shown.push_back({kind, text}); }
  TSaveAnswer AskSaveChanges(const QString& text) override {
    Prompts << text;
    if (Answers.empty()) {
      ADD_FAILURE() << "unexpected save prompt: " << text.toStdString();
      return TSaveAnswer::Cancel;
    }
    const TSaveAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  QStringList Texts() const {
    QStringList texts;
    for (const TShown& shown : Shown) texts << shown.Text;
    return texts;
  }
};

// File dialogs answered by the test: each dialog takes the next scripted
// path (an empty one is a cancelled dialog) and records what it was offered.
class TScriptedFileDialogs : public TFileDialogService {
public:
  std::deque<QString> Paths;
  QStringList Filters;
  QStringList ProposedNames;

  QString GetOpenFileName(const QString& filter) override {
    Filters << filter;
    return Next();
  }
  QString GetSaveFileName(const QString& proposedName, const QString& filter) override {
    Filters << filter;
    ProposedNames << proposedName;
    return Next();
  }

private:
  QString Next() {
    if (Paths.empty()) {
      ADD_FAILURE() << "unexpected file dialog";
      return QString();
    }
    QString path = Paths.front();
    Paths.pop_front();
    return path;
  }
};

// Settings in a temporary INI file for as long as the fixture lives; the
// real user's settings are never touched.
class TWindowTest : public ::testing::Test {
protected:
  TWindowTest() { SetSettingsFile(SettingsPath()); }
  ~TWindowTest() override { SetSettingsFile(QString()); }

  QString SettingsPath() const { return QString::fromStdString(Folder.File("settings.ini")); }
  std::unique_ptr<QSettings> Settings() const { return std::make_unique<QSettings>(SettingsPath(), QSettings::IniFormat); }

  // Writes a complete Desktop key and a Files key, as the set-up does.
  void WriteCompleteSettings(int left = 120, int top = 90, int height = 610, int width = 801, int state = 0,
                             int toolbar = 1) {
    auto settings = Settings();
    settings->setValue("Files/InstallDir", QString::fromStdString(Folder.File("help")));
    settings->setValue("Desktop/Left", left);
    settings->setValue("Desktop/Top", top);
    settings->setValue("Desktop/Height", height);
    settings->setValue("Desktop/Width", width);
    settings->setValue("Desktop/WindowState", state);
    settings->setValue("Desktop/View toolbar", toolbar);
  }

  std::unique_ptr<TMainForm> MakeWindow(const QStringList& arguments = {}) {
    return std::make_unique<TMainForm>(Messages, FileDialogs, arguments);
  }

  QString File(const std::string& name) const { return QString::fromStdString(Folder.File(name)); }

  TTemporaryFolder Folder;
  TScriptedMessages Messages;
  TScriptedFileDialogs FileDialogs;
};

// Processes events until the condition holds, for at most five seconds;
// whether it came to hold. (QtTest's QTRY macros would return from the test
// without a failure that GoogleTest sees.)
template <typename TCondition>
bool Eventually(TCondition condition) {
  return QTest::qWaitFor(condition, 5000);
}

inline QString Example(const std::string& name) { return QString::fromStdString(ExamplePath(name)); }

inline QString Title(const QString& fileName) { return "Resondix for Windows - " + fileName; }
