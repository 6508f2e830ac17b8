#include "ResultWindow.h"

#include <QFont>
#include <QPoint>
#include <QString>
#include <QVBoxLayout>
#include <QWidget>

QVBoxLayout* SetUpResultWindow(QWidget& window, const QString& caption, const QPoint& position) {
  window.setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
  window.setWindowTitle(caption);
  window.setBackgroundRole(QPalette::Window);
  window.setFont(QFont("MS Sans Serif", 8));
  window.move(position);
  auto* layout = new QVBoxLayout(&window);
  // The grids stand 3 pixels apart and fill the window to its edges.
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(3);
  window.hide();
  return layout;
}
