#include "app/HelpWindow.h"

#include <QApplication>
#include <QUrl>

namespace {

constexpr int DefaultWidth = 640;
constexpr int DefaultHeight = 600;

}  // namespace

THelpWindow::THelpWindow() {
  setObjectName("HelpWindow");
  setAccessibleName("Help topic");
  setWindowTitle(QApplication::applicationName());
  // A window of its own beside the main window; it does not keep the
  // program running once the main window has closed.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(DefaultWidth, DefaultHeight);
  // Links between the topics stay here; a web address goes to the browser.
  setOpenExternalLinks(true);
  connect(this, &QTextBrowser::sourceChanged, this, [this] {
    setWindowTitle(documentTitle().isEmpty() ? QApplication::applicationName() : documentTitle());
  });
}

void THelpWindow::ShowPage(const QString& fileName) {
  // A modal dialog blocks every window but its own: asked from one (its
  // Help button), the help window becomes the dialog's, so that it can be
  // read and scrolled while the dialog is open.
  QWidget* modal = QApplication::activeModalWidget();
  if (parentWidget() != modal) setParent(modal, Qt::Window);
  setSource(QUrl::fromLocalFile(fileName));
  show();
  raise();
  activateWindow();
}
