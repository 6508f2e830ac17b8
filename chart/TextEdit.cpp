#include "chart/TextEdit.h"

#include <QTextBlock>
#include <cmath>

#include "chart/ChartDrawing.h"

TTextEdit::TTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName("TextEdit");
  setAccessibleName("Text annotation");
  setFrameShape(QFrame::NoFrame);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  document()->setDocumentMargin(0);
  setViewportMargins(AnnotationTextInset, 0, AnnotationTextInset, 0);
  // White all over, the margins too, as in a copy of the chart.
  QPalette colours = palette();
  colours.setColor(QPalette::Base, Qt::white);
  colours.setColor(QPalette::Window, Qt::white);
  colours.setColor(QPalette::Text, Qt::black);
  setPalette(colours);
  setAutoFillBackground(true);
  // A box may be as small as one pixel.
  setMinimumSize(1, 1);
}

void TTextEdit::Place(int x, int y, int width, int height) {
  ChartX = x;
  ChartY = y;
  setGeometry(x, y, width, height);
}

int TTextEdit::TextHeight() const {
  qreal height = 0;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
    height += blockBoundingRect(block).height();
  return static_cast<int>(std::ceil(height));
}
