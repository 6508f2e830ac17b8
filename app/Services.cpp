#include "app/Services.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>

namespace {

// Message boxes carry the application's title, as every box of the program.
QString BoxTitle() { return QApplication::applicationName(); }

}  // namespace

bool TFileDialogService::ChoosePrinter(QPrinter&) { return false; }

QStringList NameFilters(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    // "*.*" means every file, also one without an extension.
    patterns.replace("*.*", "*");
    QString description = parts[i];
    description.replace("(*.*)", "(*)");
    filters << (description.contains('(') ? description : description + " (" + patterns + ")");
  }
  return filters;
}

void TMessageBoxService::ShowMessage(TMessageKind kind, const QString& text) {
  QMessageBox box(kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::Warning, BoxTitle(), text,
                  QMessageBox::Ok, Parent);
  box.exec();
}

TSaveAnswer TMessageBoxService::AskSaveChanges(const QString& text) {
  QMessageBox box(QMessageBox::Warning, BoxTitle(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                  Parent);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes: return TSaveAnswer::Yes;
    case QMessageBox::No: return TSaveAnswer::No;
    default: return TSaveAnswer::Cancel;
  }
}

QString TQtFileDialogService::GetOpenFileName(const QString& folder, const QString& filter) {
  QFileDialog dialog(Parent, QString(), folder);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::ReadOnly, false);
  dialog.setNameFilters(NameFilters(filter));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

QString TQtFileDialogService::GetSaveFileName(const QString& folder, const QString& proposedName,
                                              const QString& filter) {
  QFileDialog dialog(Parent, QString(), folder);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setNameFilters(NameFilters(filter));
  dialog.selectFile(proposedName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

bool TQtFileDialogService::ChoosePrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer, Parent);
  return dialog.exec() == QDialog::Accepted;
}
