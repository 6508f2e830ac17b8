// TTextEdit: a text annotation on the chart as the user edits it, a
// borderless multi-line edit box that floats over the chart.
//
// The box is a child of the chart, so it stays on the chart wherever the
// chart moves in its window; ChartX and ChartY are its left and top edges
// in the chart's pixels. Its text is laid out as the chart lays it out in
// copies and prints: the chart's font, 3 pixels in from the left and right
// edges, wrapped at word boundaries, without scroll bars. The chart keeps
// the document's annotation record of the box up to date (TPlaatje).
#pragma once

#include <cstdint>

#include <QPlainTextEdit>

class TTextEdit : public QPlainTextEdit {
  Q_OBJECT

public:
  explicit TTextEdit(QWidget* parent = nullptr);

  std::int32_t ChartX = 0;
  std::int32_t ChartY = 0;

  // Moves and sizes the box: left and top edge in the chart's pixels.
  void Place(int x, int y, int width, int height);
  // The height in pixels that shows every line of the text at the box's
  // width.
  int TextHeight() const;
};
