// What the two result windows share: a sizeable tool window that stays on
// top of its owner, in the window colour and the dialog font, at its design
// position, hidden until asked for.
#pragma once

class QPoint;
class QString;
class QVBoxLayout;
class QWidget;

QVBoxLayout* SetUpResultWindow(QWidget& window, const QString& caption, const QPoint& position);
