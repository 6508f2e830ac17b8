// THelpTopics: the program's help: the HTML topic pages in the help folder
// named by the settings, shown in the user's browser or, where none can be
// started, in the program's own help window; the topic of the focused
// control for F1; and the two home pages in the user's browser.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>

#include "app/HelpWindow.h"

class QUrl;
class QWidget;
class TMessageService;

// The help topics the program opens.
constexpr int HelpContentsTopic = 1001;
constexpr int LicenseTopic = 1002;
constexpr int GeneralInformationTopic = 1003;
constexpr int MeasurementsTopic = 6;

// The property that carries a widget's help topic; 0 or missing: none.
constexpr const char* HelpContextProperty = "HelpContext";

class THelpTopics {
public:
  explicit THelpTopics(TMessageService& messages);
  ~THelpTopics();

  // The folder of the topic pages, from the settings.
  QString Folder;
  // Opens a web address or a help page; QDesktopServices::openUrl unless a
  // test replaces it.
  std::function<bool(const QUrl&)> OpenUrl;

  // Opens a topic page in the browser, or in the help window when no
  // browser can be started; a topic file that is missing is reported.
  void ShowTopic(int topic);
  // F1: the topic of focused or of its nearest parent with one; the
  // contents when no control has one.
  void ShowTopicOf(const QWidget* focused);
  // A home page in the browser; a browser that cannot be started is
  // reported.
  void OpenHomePage(const char* address);

  // The help window, once a topic has been shown in it; none before.
  THelpWindow* Window() const { return HelpWindow; }

private:
  TMessageService& Messages;
  // Owned here, or by the modal dialog it was last asked from.
  QPointer<THelpWindow> HelpWindow;
};
