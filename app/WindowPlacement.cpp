#include "app/WindowPlacement.h"

#include <QTimer>
#include <QWidget>
#include <algorithm>

void TWindowPlacement::Apply(const TStoredSettings& settings) {
  if (settings.Left) Window.move(*settings.Left, Window.y());
  if (settings.Top) Window.move(Window.x(), *settings.Top);
  if (settings.Height) {
    PendingOuterSize.setHeight(*settings.Height);
    Window.resize(Window.width(), std::max(*settings.Height, 1));
  }
  if (settings.Width) {
    PendingOuterSize.setWidth(*settings.Width);
    Window.resize(std::max(*settings.Width, 1), Window.height());
  }
  // Any other stored number starts the window in its normal state.
  if (settings.WindowState) {
    const int state = *settings.WindowState;
    Window.setWindowState(state == 1   ? Qt::WindowMinimized
                          : state == 2 ? Qt::WindowMaximized
                                       : Qt::WindowNoState);
  }
}

void TWindowPlacement::FirstShown() {
  if (!PendingOuterSize.isValid() || Window.windowState() != Qt::WindowNoState) return;
  QTimer::singleShot(0, &Window, [this] {
    const QSize frame = Window.frameGeometry().size() - Window.size();
    if (!frame.isEmpty()) Window.resize(PendingOuterSize - frame);
  });
}

TDesktopSettings TWindowPlacement::Current(bool toolbarVisible) const {
  TDesktopSettings settings;
  const QRect outer = Window.frameGeometry();
  settings.Left = outer.left();
  settings.Top = outer.top();
  settings.Height = outer.height();
  settings.Width = outer.width();
  settings.WindowState = Window.isMinimized() ? 1 : Window.isMaximized() ? 2 : 0;
  settings.ViewToolbar = toolbarVisible;
  return settings;
}
