// What the window tests share: scripted answers for the message boxes, the
// file dialogs and the General information dialog, settings in a temporary
// file, and a window made the way the program makes it.
#pragma once

#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "app/FileNames.h"
#include "app/GeneralInformation.h"
#include "app/Main.h"
#include "app/Settings.h"
#include "tests/TestSupport.h"
#include "tests/chart/QtTestSupport.h"

inline void PrintTo(const QRect& r, std::ostream* out) {
  *out << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}

// Message boxes answered by the test: every box is recorded as "Error: ",
// "Warning: " or "Prompt: " and its text, for the test to compare; each save
// prompt takes the next scripted answer, Cancel when none is left.
struct TScriptedMessages : TMessageService {
  QStringList Shown;
  QList<TSaveAnswer> Answers;
  void ShowMessage(TMessageKind kind, const QString& text) override {
    Shown << (kind == TMessageKind::Error ? "Error: " : "Warning: ") + text;
  }
  TSaveAnswer AskSaveChanges(const QString& text) override {
    Shown << "Prompt: " + text;
    return Answers.isEmpty() ? TSaveAnswer::Cancel : Answers.takeFirst();
  }
};

// File dialogs answered by the test: each records what it was offered and
// takes the next scripted path (an empty one, or none left, cancels). The
// print dialog chooses a PDF file when PrintFile names one.
struct TScriptedFileDialogs : TFileDialogService {
  QStringList Paths, Folders, Filters, ProposedNames;
  QString PrintFile;
  bool ChoosePrinter(QPrinter& printer) override {
    if (PrintFile.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(PrintFile);
    return true;
  }
  QString GetOpenFileName(const QString& folder, const QString& filter) override {
    Folders << folder;
    Filters << filter;
    return Paths.isEmpty() ? QString() : Paths.takeFirst();
  }
  QString GetSaveFileName(const QString& folder, const QString& proposedName, const QString& filter) override {
    ProposedNames << proposedName;
    return GetOpenFileName(folder, filter);
  }
};

// A part of the window found by its name, as an automated check finds it.
template <class T>
T* Child(const QObject& window, const char* name) {
  T* child = window.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << "no " << name;
  return child;
}

// The person at a dialog: types, then presses one of its buttons.
using TDialogUser = std::function<void(TGeneralInformationForm& dialog)>;

inline void Press(const QWidget& dialog, const char* button) {
  QTest::mouseClick(Child<QPushButton>(dialog, button), Qt::LeftButton);
}

// Settings in a temporary INI file for as long as the fixture lives; the
// real user's settings are never touched. (Waits use QTest::qWaitFor: the
// QTRY macros would return from a test without a failure GoogleTest sees.)
class TWindowTest : public ::testing::Test {
protected:
  TWindowTest() { SetSettingsFile(File("settings.ini")); }
  ~TWindowTest() override { SetSettingsFile(QString()); }

  auto Settings() const { return std::make_unique<QSettings>(File("settings.ini"), QSettings::IniFormat); }
  // The Files and Desktop keys as the set-up writes them.
  void WriteSettings(int left, int top, int height, int width, int state, int toolbar) const {
    const QStringList names = {"Left", "Top", "Height", "Width", "WindowState", "View toolbar"};
    const int values[] = {left, top, height, width, state, toolbar};
    for (int i = 0; i < 6; ++i) Settings()->setValue("Desktop/" + names[i], values[i]);
    Settings()->setValue("Files/InstallDir", File("help"));
  }
  // The General information dialog is shown without a modal loop and
  // answered by the next scripted user; with none left, or when the user left
  // it open, it is cancelled.
  auto MakeWindow(const QStringList& arguments = {}) {
    auto window = std::make_unique<TMainForm>(Messages, FileDialogs, arguments);
    auto* information = Child<TGeneralInformationForm>(*window, "GeneralInformationForm");
    information->RunModal = [this, information](QDialog& dialog) {
      ++InformationShows;
      dialog.show();
      if (!InformationUsers.isEmpty()) InformationUsers.takeFirst()(*information);
      if (dialog.isVisible()) Press(dialog, "CancelButton");
      return dialog.result();
    };
    return window;
  }
  QString File(const std::string& name) const { return QString::fromStdString(Folder.File(name)); }

  TTemporaryFolder Folder;
  TScriptedMessages Messages;
  TScriptedFileDialogs FileDialogs;
  QList<TDialogUser> InformationUsers;
  int InformationShows = 0;
};

// Every layer value an unknown of the next fit (the half-space has no depth).
inline void MarkAllUnknown(TResondixData& d) {
  for (int i = 1; i <= d.LayerCount; ++i) d.RhoUnknown[i] = true;
  for (int i = 1; i < d.LayerCount; ++i) d.DepthUnknown[i] = true;
}

inline QString Example(const std::string& name) { return QString::fromStdString(ExamplePath(name)); }
// The title as it is set; "[*]" stands where a document with unsaved changes shows its mark.
inline QString Title(const QString& fileName) { return "Resondix for Windows - " + fileName + "[*]"; }
