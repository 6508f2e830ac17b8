// TResondixApplication: the Qt application object of Resondix, with the
// program's general error report: a failure that nothing else handled while
// an event was delivered is shown in a message box with its own text, and
// the program goes on.
#pragma once

#include <QApplication>
#include <functional>

class TResondixApplication : public QApplication {
  Q_OBJECT

public:
  TResondixApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Shows the text of an unhandled failure; an error box unless replaced.
  std::function<void(const QString& text)> ReportError;
};
