#include "HelpTopics.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#include <QVariant>
#include <QWidget>

#include "Services.h"

namespace {

constexpr const char* BrowserErrorText = "Unable to launch the default browser.";

}  // namespace

THelpTopics::THelpTopics(TMessageService& messages)
    : OpenUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }), Messages(messages) {}

void THelpTopics::ShowTopic(int topic) {
  // The topics are web pages: without a browser there is no help to show,
  // and the user is told so rather than left waiting.
  const QString page = QDir(Folder).filePath(QString::number(topic) + ".html");
  if (!OpenUrl(QUrl::fromLocalFile(page))) Messages.ShowMessage(TMessageKind::Error, BrowserErrorText);
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
