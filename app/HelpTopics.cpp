#include "app/HelpTopics.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QVariant>
#include <QWidget>

#include "app/HelpWindow.h"
#include "app/Services.h"

namespace {

constexpr const char* BrowserErrorText = "Unable to launch the default browser.";

}  // namespace

THelpTopics::THelpTopics(TMessageService& messages)
    : OpenUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }), Messages(messages) {}

THelpTopics::~THelpTopics() { delete HelpWindow; }

void THelpTopics::ShowTopic(int topic) {
  const QString page = QDir::toNativeSeparators(QDir(Folder).filePath(QString::number(topic) + ".html"));
  // Only a missing page leaves nothing to show; the user learns which.
  if (!QFileInfo(page).isFile()) {
    Messages.ShowMessage(TMessageKind::Error, "File " + page + " not found!");
    return;
  }
  if (OpenUrl(QUrl::fromLocalFile(page))) return;
  // No browser: the pages are plain HTML, which the program shows itself.
  if (!HelpWindow) HelpWindow = new THelpWindow;
  HelpWindow->ShowPage(page);
}

void THelpTopics::ShowTopicOf(const QWidget* focused) {
  for (const QWidget* widget = focused; widget; widget = widget->parentWidget()) {
    const int topic = widget->property(HelpContextProperty).toInt();
    if (topic != 0) {
      ShowTopic(topic);
      return;
    }
  }
  ShowTopic(HelpContentsTopic);
}

void THelpTopics::OpenHomePage(const char* address) {
  if (!OpenUrl(QUrl(address))) Messages.ShowMessage(TMessageKind::Error, BrowserErrorText);
}
