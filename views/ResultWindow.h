// TResultWindow: what the two result windows share: a sizeable tool window
// that stays on top of its owner, in the window colour and the dialog font,
// at its design position, hidden until asked for. Its grids are stacked in
// GridLayout, 3 pixels apart.
#pragma once

#include <QWidget>

class QVBoxLayout;

class TResultWindow : public QWidget {
  Q_OBJECT

public:
  TResultWindow(QWidget* owner, const QString& caption, const QPoint& position);

  // Where the result grids are stacked, top to bottom.
  QVBoxLayout* GridLayout = nullptr;
};
