#include "app/Application.h"

#include <QMessageBox>
#include <exception>

TResondixApplication::TResondixApplication(int& argc, char** argv) : QApplication(argc, argv) {
  ReportError = [](const QString& text) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), text);
  };
}

bool TResondixApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& failure) {
    ReportError(QString::fromLocal8Bit(failure.what()));
  } catch (...) {
    ReportError("Unknown failure.");
  }
  return false;
}
