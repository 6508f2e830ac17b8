// The window's seams to the user's modal dialogs: every message box, both
// file dialogs and the print dialog go through these interfaces, so that the commands can be run
// and checked without a person at the screen. The program uses the Qt
// implementations below; the tests answer with scripted ones.
#pragma once

#include <QString>

#include "document/Messages.h"

class QPrinter;
class QWidget;

enum class TSaveAnswer { Yes, No, Cancel };

class TMessageService {
public:
  virtual ~TMessageService() = default;
  // A modal box with the warning or error icon and an OK button.
  virtual void ShowMessage(TMessageKind kind, const QString& text) = 0;
  // The warning box with Yes, No and Cancel of the save-changes prompt;
  // closing the box counts as Cancel.
  virtual TSaveAnswer AskSaveChanges(const QString& text) = 0;
};

class TFileDialogService {
public:
  virtual ~TFileDialogService() = default;
  // The chosen existing file, or an empty text when cancelled. The dialog
  // starts in folder; the filter has the form
  // "Description (*.ext)|*.ext|All files (*.*)|*.*".
  virtual QString GetOpenFileName(const QString& folder, const QString& filter) = 0;
  // The chosen target, or an empty text when cancelled; no overwrite prompt.
  virtual QString GetSaveFileName(const QString& folder, const QString& proposedName, const QString& filter) = 0;
  // The print dialog with its default options: false when cancelled,
  // otherwise printer is set up as the user chose. Without a dialog it is
  // cancelled.
  virtual bool ChoosePrinter(QPrinter& printer);
};

class TMessageBoxService : public TMessageService {
public:
  explicit TMessageBoxService(QWidget* parent = nullptr) : Parent(parent) {}
  void SetParent(QWidget* parent) { Parent = parent; }
  void ShowMessage(TMessageKind kind, const QString& text) override;
  TSaveAnswer AskSaveChanges(const QString& text) override;

private:
  QWidget* Parent;
};

class TQtFileDialogService : public TFileDialogService {
public:
  explicit TQtFileDialogService(QWidget* parent = nullptr) : Parent(parent) {}
  void SetParent(QWidget* parent) { Parent = parent; }
  QString GetOpenFileName(const QString& folder, const QString& filter) override;
  QString GetSaveFileName(const QString& folder, const QString& proposedName, const QString& filter) override;
  bool ChoosePrinter(QPrinter& printer) override;

private:
  QWidget* Parent;
};

// "Description (*.ext)|*.ext|All files (*.*)|*.*" as the name filters of a
// Qt file dialog: {"Description (*.ext)", "All files (*)"}.
QStringList NameFilters(const QString& filter);
