#include "ResultWindow.h"

#include <QFont>
#include <QVBoxLayout>

TResultWindow::TResultWindow(QWidget* owner, const QString& caption, const QPoint& position)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setWindowTitle(caption);
  setBackgroundRole(QPalette::Window);
  setFont(QFont("MS Sans Serif", 8));
  move(position);
  GridLayout = new QVBoxLayout(this);
  GridLayout->setContentsMargins(0, 0, 0, 0);
  GridLayout->setSpacing(3);
  hide();
}
