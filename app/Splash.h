// TSplashForm: the window shown while Resondix starts: the logo, the
// product's name and description, for at least 2.5 seconds from its
// creation or until the windows are made, whichever takes longer.
#pragma once

#include <QTimer>
#include <QWidget>

class TSplashForm : public QWidget {
  Q_OBJECT

public:
  TSplashForm();

  // True once the timer has fired: the splash window may close.
  bool CloseQuery() const { return !Timer.isActive(); }

  QTimer Timer;
};

// How long the splash window stays at least, in milliseconds.
constexpr int SplashMilliseconds = 2500;
