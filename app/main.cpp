// The program's entry point: the splash window, the application's title, the
// windows in their order, the wait for the splash timer, the message loop.
//
//   resondix [--no-splash] [FILE.rxd]
//
// --no-splash shows the main window without the splash window's wait, for
// quick starts from scripts.
#include <QLocale>
#include <memory>

#include "app/Application.h"
#include "app/Main.h"
#include "app/Services.h"
#include "app/Splash.h"
#include "document/NumberText.h"

int main(int argc, char** argv) {
  TResondixApplication application(argc, argv);

  QStringList arguments = application.arguments().mid(1);
  const bool showSplash = !arguments.removeAll("--no-splash");

  std::unique_ptr<TSplashForm> splash;
  if (showSplash) {
    splash = std::make_unique<TSplashForm>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();
  }
  QApplication::setApplicationName(ApplicationTitle);
  SetDecimalSeparator(QString(QLocale::system().decimalPoint()).toStdString());

  // A box shown while the windows are made stands above the splash window.
  TMessageBoxService messages(splash.get());
  TQtFileDialogService fileDialogs;
  TMainForm mainForm(messages, fileDialogs, arguments);
  messages.SetParent(&mainForm);
  fileDialogs.SetParent(&mainForm);

  while (splash && !splash->CloseQuery()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  splash.reset();

  mainForm.show();
  return application.exec();
}
