// TPlaatje: the sounding chart as a widget, filling the main window beside
// the grids.
//
// The widget adds to the drawing (TChartDrawing, which it holds) what a
// screen needs: it paints through an offscreen image the size of the
// widget, so the screen never shows a half-drawn chart, and it reports the
// measurement under the mouse. It reads the document at every paint; the
// main window calls update() after every change of the document.
//
// It also carries the text annotations: one edit box (TTextEdit) over the
// chart for each of the document's annotation records, in the same order.
// The chart inserts and deletes them, moves them by their top edge and
// sizes them by their top-left and bottom-right corners, grows a box with
// its text as it is typed, and hands every change of a box to the document
// as its record (which marks the document unsaved), each change a step of
// the window's undo history (the document's RunStep). Its context menu
// (TPlaatjePopupMenu) copies the chart to the clipboard and inserts or
// deletes a box.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QImage>
#include <QMenu>
#include <QWidget>

#include "chart/ChartDrawing.h"

class QPaintDevice;
class TPlaatje;
class TTextEdit;

class TPlaatjePopupMenu : public QMenu {
  Q_OBJECT

public:
  explicit TPlaatjePopupMenu(TPlaatje& chart);

  // The caption of poInsertText follows the focus when the menu pops up.
  void PopupMenuPopup();

  QAction* poCopyBmp = nullptr;
  QAction* poCopyMeta = nullptr;
  QAction* poSeparator1 = nullptr;
  QAction* poInsertText = nullptr;

private:
  // Deletes the box with the focus, or inserts an empty one where the mouse
  // stands now.
  void poInsertTextClick();

  TPlaatje& Chart;
};

class TPlaatje : public QWidget {
  Q_OBJECT

public:
  // Events are synchronous and carry the chart that raises them.
  using TChartEvent = std::function<void(TPlaatje& sender)>;

  explicit TPlaatje(QWidget* owner = nullptr);

  // The document to show (not owned); shows its annotations and repaints.
  void SetData(TResondixData* data);
  // Models to draw in light grey behind the layer model (not owned: they
  // must live until the next call); none with count 0. Repaints.
  void SetEquivalentModels(const TLayerModel* models, int count);
  // The smooth model to draw dashed behind them with its depth of
  // investigation (not owned: it must live until the next call), or none.
  // Repaints.
  void SetSmoothModel(const TSmoothModel* model);

  // Published beside OnOverMeasurement; the chart has no layer hit test, so
  // it is never raised.
  TChartEvent OnOverLayer;
  // Raised at every mouse move that finds a measurement, also while the
  // mouse stays on the same one; MeasurementUnderMouse says which.
  TChartEvent OnOverMeasurement;

  // The measurement under the mouse at the latest move, 1-based; 0 for none.
  int MeasurementUnderMouse() const { return Drawing.MeasurementUnderMouse; }
  // The latest drawing: its layout and mapping.
  const TChartDrawing& ScreenDrawing() const { return Drawing; }

  // --- Annotations -----------------------------------------------------------

  // A new box with text at (X, Y) in the chart's pixels, width x height,
  // focused so that typing goes into it at once; the document is marked
  // unsaved. Nothing without a document.
  void InsertAnnotation(const QString& text, int X, int Y, int width, int height);
  // Removes box from the chart and its record from the document.
  void DeleteAnnotation(TTextEdit* box);
  // Makes the boxes match the document's records again once the document
  // replaced them (New, Open, Import); otherwise leaves them alone.
  void ShowAnnotations();
  // The boxes in the order of the document's records.
  const std::vector<TTextEdit*>& Annotations() const { return Boxes; }
  // The box that is the focused control of the chart's window, or none.
  TTextEdit* FocusedAnnotation() const;

  // --- Copy and print --------------------------------------------------------

  // The chart at its size on the screen, as a bitmap or as a vector picture.
  void CopyToClipboard(bool asMetafile);
  // The chart as a square as wide as printer's page; false when the print
  // job failed.
  bool Print(QPaintDevice& printer);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

protected:
  // Draws the chart into OffscreenBitmap and copies it onto the widget.
  void Paint(QPainter& screen);
  // A press of any button at (X, Y) in the chart's pixels: picks up the
  // grip of a box under it.
  void MouseDown(int X, int Y);
  // The measurement hit test, the drag of a picked-up box and the cursor
  // shape for a mouse at (X, Y).
  void MouseMove(int X, int Y);
  // Ends a drag; a release elsewhere takes the focus from a box.
  void MouseUp();

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  // The handler of every box's change of text: the box grows to show every
  // line, and the record takes the text and the size.
  void AnnotationChanged(TTextEdit& box);
  // A box showing record over the chart.
  TTextEdit* NewBox(const TAnnotation& record);
  // Moves and sizes box index, and gives its record the box's place, size
  // and text: a step of the window's history named step, which the history
  // joins with the steps before it on the same box.
  void PlaceBox(const char* step, int index, int x, int y, int width, int height);
  void Drag(int X, int Y);
  void SetCursorShape(int X, int Y);
  int IndexOf(const QWidget* box) const;
  bool BoxesShowRecords() const;
  void DeleteBoxes();

  TChartDrawing Drawing;
  // The document whose annotations the boxes edit (the drawing only reads
  // it); not owned.
  TResondixData* Document = nullptr;
  // The image the screen is drawn into, resized to the widget at every paint.
  QImage OffscreenBitmap;
  // The mouse position at the previous mouse move.
  std::int32_t LastMouseX = 0;
  std::int32_t LastMouseY = 0;
  // The box being moved or sized by the mouse, or just inserted (its index,
  // -1 for none), and what the press picked up: 0 nothing, 1 the top-left
  // corner, 2 the bottom-right corner, 3 the top edge (a move).
  int ActiveAnnotation = -1;
  std::int32_t DragMode = 0;
  std::vector<TTextEdit*> Boxes;
  TPlaatjePopupMenu* PopupMenu = nullptr;
};
