#include "chart/Plaatje.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "chart/Canvas.h"
#include "chart/ChartExport.h"
#include "chart/TextEdit.h"
#include "document/ResondixData.h"

namespace {

// A box inserted from the context menu: empty, 100 x 20 pixels.
constexpr int NewBoxWidth = 100;
constexpr int NewBoxHeight = 20;

// DragMode: what a press picked up.
enum : std::int32_t { NoGrip = 0, TopLeftGrip = 1, BottomRightGrip = 2, MoveGrip = 3 };

// The grips reach 3 to 4 pixels around a box's corners and above its top
// edge; the cursor's corner regions are one pixel narrower on each side.
bool InTopLeftGrip(const QRect& box, int X, int Y, int narrower = 0) {
  const int x = box.x(), y = box.y();
  return x - 4 + narrower < X && X < x + 3 - narrower && y - 4 + narrower < Y && Y < y + 3 - narrower;
}

bool InBottomRightGrip(const QRect& box, int X, int Y, int narrower = 0) {
  const int r = box.x() + box.width(), b = box.y() + box.height();
  return r - 3 + narrower < X && X < r + 4 - narrower && b - 3 + narrower < Y && Y < b + 4 - narrower;
}

bool InMoveGrip(const QRect& box, int X, int Y) {
  const int x = box.x(), y = box.y();
  return x + 3 <= X && X < x + box.width() + 1 && y - 4 < Y && Y < y + 3;
}

bool Inside(const QRect& box, int X, int Y) {
  return box.x() < X && X < box.x() + box.width() && box.y() < Y && Y < box.y() + box.height();
}

QRect BoxRect(const TTextEdit& box) { return QRect(box.ChartX, box.ChartY, box.width(), box.height()); }

}  // namespace

// --- Popup menu ----------------------------------------------------------------

TPlaatjePopupMenu::TPlaatjePopupMenu(TPlaatje& chart) : QMenu(&chart), Chart(chart) {
  setObjectName("PopupMenu");
  setAccessibleName("Chart menu");
  const auto add = [this](QAction*& item, const char* name, const QString& caption) {
    item = addAction(caption);
    item->setObjectName(name);
  };
  add(poCopyBmp, "poCopyBmp", "Copy as Bitmap");
  add(poCopyMeta, "poCopyMeta", "Copy as Metafile");
  poSeparator1 = addSeparator();
  poSeparator1->setObjectName("poSeparator1");
  add(poInsertText, "poInsertText", "Insert text");
  connect(poCopyBmp, &QAction::triggered, this, [this] { Chart.CopyToClipboard(false); });
  connect(poCopyMeta, &QAction::triggered, this, [this] { Chart.CopyToClipboard(true); });
  connect(poInsertText, &QAction::triggered, this, &TPlaatjePopupMenu::poInsertTextClick);
  connect(this, &QMenu::aboutToShow, this, &TPlaatjePopupMenu::PopupMenuPopup);
}

void TPlaatjePopupMenu::PopupMenuPopup() {
  poInsertText->setText(Chart.FocusedAnnotation() ? "Delete text" : "Insert text");
}

void TPlaatjePopupMenu::poInsertTextClick() {
  if (TTextEdit* box = Chart.FocusedAnnotation()) {
    Chart.DeleteAnnotation(box);
    return;
  }
  // Where the mouse stands when the command runs.
  const QPoint at = Chart.mapFromGlobal(QCursor::pos());
  Chart.InsertAnnotation(QString(), at.x(), at.y(), NewBoxWidth, NewBoxHeight);
  Chart.repaint();
}

// --- Chart -----------------------------------------------------------------------

TPlaatje::TPlaatje(QWidget* owner) : QWidget(owner) {
  setAccessibleName("Sounding chart");
  // The hover report and the drag of a box need mouse moves without a
  // button held.
  setMouseTracking(true);
  // Every paint covers the whole widget.
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The boxes are edit widgets of their own; the drawing adds their focus
  // frame.
  Drawing.AnnotationWidgets = true;
  PopupMenu = new TPlaatjePopupMenu(*this);
}

void TPlaatje::SetData(TResondixData* data) {
  DeleteBoxes();
  Document = data;
  Drawing.Data = data;
  ShowAnnotations();
  update();
}

void TPlaatje::SetEquivalentModels(const TLayerModel* models, int count) {
  Drawing.EquivalentModels = count > 0 ? models : nullptr;
  Drawing.EquivalentModelCount = count > 0 ? count : 0;
  update();
}

void TPlaatje::SetSmoothModel(const TSmoothModel* model) {
  Drawing.SmoothModel = model;
  update();
}

QSize TPlaatje::sizeHint() const { return QSize(640, 480); }

// Below this the axis labels and the titles run into each other.
QSize TPlaatje::minimumSizeHint() const { return QSize(460, 300); }

void TPlaatje::Paint(QPainter& screen) {
  // On a high-density screen the image has the screen's pixels, and the
  // chart is laid out in the widget's own units.
  const qreal ratio = devicePixelRatioF();
  const int pixelWidth = static_cast<int>(std::lround(width() * ratio));
  const int pixelHeight = static_cast<int>(std::lround(height() * ratio));
  if (OffscreenBitmap.width() != pixelWidth || OffscreenBitmap.height() != pixelHeight)
    OffscreenBitmap = NewCanvasImage(pixelWidth, pixelHeight, logicalDpiY());
  OffscreenBitmap.setDevicePixelRatio(ratio);
  Drawing.DrawHeight = height();
  Drawing.DrawWidth = width();
  Drawing.FocusedAnnotation = IndexOf(FocusedAnnotation());
  {
    QPainter painter(&OffscreenBitmap);
    Drawing.DrawChart(painter);
  }
  screen.drawImage(QPoint(0, 0), OffscreenBitmap);
}

// --- Annotations -------------------------------------------------------------------

TTextEdit* TPlaatje::NewBox(const TAnnotation& record) {
  auto* box = new TTextEdit(this);
  box->setPlainText(QString::fromStdString(record.Text));
  box->Place(record.ChartX, record.ChartY, record.Width, record.Height);
  connect(box, &QPlainTextEdit::textChanged, this, [this, box] { AnnotationChanged(*box); });
  box->setFont(TChartDrawing::ScreenFont());
  box->show();
  return box;
}

void TPlaatje::InsertAnnotation(const QString& text, int X, int Y, int width, int height) {
  TResondixData* data = Document;
  if (data == nullptr) return;
  const TAnnotation record{X, Y, width, height, text.toStdString()};
  data->RunStep("Insert text", [&] {
    // The box is there before the document announces its record, so that
    // the window finds the boxes matching the records.
    Boxes.push_back(NewBox(record));
    // The release that follows on the chart leaves the new box its focus.
    ActiveAnnotation = data->AddAnnotation(record);
  });
  DragMode = NoGrip;
  Boxes.back()->setFocus();
}

void TPlaatje::DeleteAnnotation(TTextEdit* box) {
  const int index = IndexOf(box);
  if (index < 0) return;
  ActiveAnnotation = -1;
  box->clearFocus();
  Boxes.erase(Boxes.begin() + index);
  delete box;
  Document->RunStep("Delete text", [&] { Document->DeleteAnnotation(index); });
  repaint();
}

void TPlaatje::AnnotationChanged(TTextEdit& box) {
  const int index = IndexOf(&box);
  if (index < 0) return;
  // A box grows with its text as it is typed, so that every line shows; it
  // never shrinks below the size the user gave it.
  PlaceBox("Edit text", index, box.ChartX, box.ChartY, box.width(), std::max(box.height(), box.TextHeight()));
}

void TPlaatje::PlaceBox(const char* step, int index, int x, int y, int width, int height) {
  TTextEdit& box = *Boxes[index];
  Document->RunStep(step, [&] {
    box.Place(x, y, width, height);
    Document->SetAnnotation(index, {x, y, width, height, box.toPlainText().toStdString()});
  });
}

bool TPlaatje::BoxesShowRecords() const {
  const TResondixData* data = Drawing.Data;
  const std::size_t count = data ? data->Annotations.size() : 0;
  if (Boxes.size() != count) return false;
  for (std::size_t i = 0; i < count; ++i) {
    const TAnnotation& record = data->Annotations[i];
    if (BoxRect(*Boxes[i]) != QRect(record.ChartX, record.ChartY, record.Width, record.Height) ||
        Boxes[i]->toPlainText().toStdString() != record.Text)
      return false;
  }
  return true;
}

void TPlaatje::ShowAnnotations() {
  if (BoxesShowRecords()) return;
  DeleteBoxes();
  if (Drawing.Data == nullptr) return;
  for (const TAnnotation& record : Drawing.Data->Annotations) Boxes.push_back(NewBox(record));
  update();
}

void TPlaatje::DeleteBoxes() {
  for (TTextEdit* box : Boxes) delete box;
  Boxes.clear();
  ActiveAnnotation = -1;
}

int TPlaatje::IndexOf(const QWidget* box) const {
  for (std::size_t i = 0; i < Boxes.size(); ++i)
    if (Boxes[i] == box) return static_cast<int>(i);
  return -1;
}

TTextEdit* TPlaatje::FocusedAnnotation() const {
  const QWidget* focused = window()->focusWidget();
  const int index = IndexOf(focused);
  return index < 0 ? nullptr : Boxes[index];
}

// --- Mouse ---------------------------------------------------------------------------

void TPlaatje::MouseDown(int X, int Y) {
  if (Drawing.Data == nullptr) return;
  ActiveAnnotation = -1;
  // Every grip that matches takes over: the later test of a box, and any
  // later box.
  const auto pick = [this](int index, std::int32_t mode) {
    ActiveAnnotation = index;
    DragMode = mode;
  };
  for (int i = 0; i < static_cast<int>(Boxes.size()); ++i) {
    const QRect box = BoxRect(*Boxes[i]);
    if (InTopLeftGrip(box, X, Y)) pick(i, TopLeftGrip);
    if (InBottomRightGrip(box, X, Y)) pick(i, BottomRightGrip);
    if (InMoveGrip(box, X, Y)) pick(i, MoveGrip);
  }
}

void TPlaatje::MouseMove(int X, int Y) {
  if (Drawing.Data != nullptr) {
    if (Drawing.HitTestMeasurement(X, Y) && OnOverMeasurement) OnOverMeasurement(*this);
    Drag(X, Y);
    SetCursorShape(X, Y);
  }
  LastMouseX = X;
  LastMouseY = Y;
}

void TPlaatje::Drag(int X, int Y) {
  const int index = ActiveAnnotation;
  if (index < 0 || index >= static_cast<int>(Boxes.size())) return;
  const QRect box = BoxRect(*Boxes[index]);
  // A box stays at least one pixel wide and high; the corner opposite the
  // one dragged stays where it is.
  switch (DragMode) {
    case TopLeftGrip: {
      const int r = box.x() + box.width(), b = box.y() + box.height();
      const int l = X >= r ? r - 1 : X;
      const int t = Y >= b ? b - 1 : Y;
      PlaceBox("Size text", index, l, t, r - l, b - t);
      break;
    }
    case BottomRightGrip: {
      const int r = X <= box.x() ? box.x() + 1 : X;
      const int b = Y <= box.y() ? box.y() + 1 : Y;
      PlaceBox("Size text", index, box.x(), box.y(), r - box.x(), b - box.y());
      break;
    }
    case MoveGrip:
      PlaceBox("Move text", index, box.x() + X - LastMouseX, box.y() + Y - LastMouseY, box.width(), box.height());
      break;
    default:
      return;
  }
  repaint();
}

void TPlaatje::SetCursorShape(int X, int Y) {
  Qt::CursorShape shape = Qt::ArrowCursor;
  for (const TTextEdit* edit : Boxes) {
    const QRect box = BoxRect(*edit);
    if (Inside(box, X, Y)) shape = Qt::IBeamCursor;
    if (InTopLeftGrip(box, X, Y, 1) || InBottomRightGrip(box, X, Y, 1)) shape = Qt::SizeFDiagCursor;
    if (InMoveGrip(box, X, Y)) shape = Qt::SizeAllCursor;
  }
  setCursor(shape);
}

void TPlaatje::MouseUp() {
  if (Drawing.Data == nullptr) return;
  if (ActiveAnnotation >= 0) {
    ActiveAnnotation = -1;
  } else if (TTextEdit* box = FocusedAnnotation()) {
    box->clearFocus();
  }
}

void TPlaatje::paintEvent(QPaintEvent*) {
  QPainter screen(this);
  Paint(screen);
}

void TPlaatje::mousePressEvent(QMouseEvent* event) {
  const QPoint position = event->position().toPoint();
  MouseDown(position.x(), position.y());
}

void TPlaatje::mouseMoveEvent(QMouseEvent* event) {
  const QPoint position = event->position().toPoint();
  MouseMove(position.x(), position.y());
}

void TPlaatje::mouseReleaseEvent(QMouseEvent*) { MouseUp(); }

void TPlaatje::contextMenuEvent(QContextMenuEvent* event) {
  // The release of the click that opens the menu goes to the menu: a drag
  // its press picked up ends here.
  ActiveAnnotation = -1;
  PopupMenu->popup(event->globalPos());
}

// --- Copy and print ------------------------------------------------------------------

void TPlaatje::CopyToClipboard(bool asMetafile) {
  ::CopyToClipboard(Drawing, width(), height(), logicalDpiY(), asMetafile);
}

bool TPlaatje::Print(QPaintDevice& printer) {
  const bool printed = PrintChart(Drawing, printer, width(), height(), logicalDpiY());
  // The screen's layout comes back with the next paint.
  update();
  return printed;
}
