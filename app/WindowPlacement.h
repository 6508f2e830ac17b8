// TWindowPlacement: the main window's position, outer size and state as the
// settings keep them: applied at start from what could be read, and taken
// from the window at close.
#pragma once

#include <QSize>

#include "app/Settings.h"

class QWidget;

class TWindowPlacement {
public:
  explicit TWindowPlacement(QWidget& window) : Window(window) {}

  // Applies the stored Left, Top, Height, Width and WindowState that were
  // read, in that order; the rest keeps what the window has.
  void Apply(const TStoredSettings& settings);
  // At the first show: the stored size is the outer size, and the frame
  // around the window is known only now.
  void FirstShown();
  // The values to store for the window as it stands.
  TDesktopSettings Current(bool toolbarVisible) const;

private:
  QWidget& Window;
  QSize PendingOuterSize;
};
