// THelpWindow: the program's own window for its help topics, for where no
// browser can be started. Qt's text browser shows the topic pages and
// follows the links between them (Alt+Left goes back); the window is titled
// after the page it shows.
#pragma once

#include <QTextBrowser>

class THelpWindow : public QTextBrowser {
  Q_OBJECT

public:
  THelpWindow();

  // Shows the topic page (an HTML file) and brings the window to the front.
  void ShowPage(const QString& fileName);
};
