// Text annotations on the chart widget: insert and delete from the context
// menu, the grips and the drags, the focus rules, the boxes in copies, the
// vector copy and the print.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCursor>
#include <QFontMetrics>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QXmlStreamReader>
#include <tuple>

#include "chart/ChartExport.h"
#include "chart/Plaatje.h"
#include "chart/TextEdit.h"
#include "tests/chart/ChartTestSupport.h"

namespace {

QRect BoxRect(const TTextEdit& box) { return QRect(box.ChartX, box.ChartY, box.width(), box.height()); }
QRect RecordRect(const TAnnotation& a) { return QRect(a.ChartX, a.ChartY, a.Width, a.Height); }

// A chart of 640 x 480 on a new document, shown and active, with its menu.
class TAnnotationTest : public ::testing::Test {
protected:
  TAnnotationTest() {
    Chart.resize(640, 480);
    Chart.SetData(&Document);
    Chart.show();
    Chart.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&Chart));
  }
  TPlaatjePopupMenu& Menu() { return *Chart.findChild<TPlaatjePopupMenu*>("PopupMenu"); }
  // The menu pops up and its Insert or Delete item is chosen with the mouse at (x, y).
  QString ChooseInsertText(int x, int y) {
    QCursor::setPos(Chart.mapToGlobal(QPoint(x, y)));
    Menu().PopupMenuPopup();
    const QString caption = Menu().poInsertText->text();
    Menu().poInsertText->trigger();
    return caption;
  }
  void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF at(x, y);
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, at, Chart.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&Chart, &event);
  }
  // A drag as a person does it: the mouse comes to the grip, presses, moves and lets go.
  void Drag(QPoint from, QPoint to) {
    Mouse(QEvent::MouseMove, from.x(), from.y());
    Mouse(QEvent::MouseButtonPress, from.x(), from.y());
    Mouse(QEvent::MouseMove, to.x(), to.y());
    Mouse(QEvent::MouseButtonRelease, to.x(), to.y());
  }
  void Click(int x, int y) { Drag(QPoint(x, y), QPoint(x, y)); }

  TResondixData Document;
  TPlaatje Chart;
};

TEST_F(TAnnotationTest, InsertTypeFocusAndDeleteFromTheMenu) {
  ASSERT_TRUE(Document.Saved);
  EXPECT_EQ(ChooseInsertText(130, 75), "Insert text");
  ASSERT_EQ(Chart.Annotations().size(), 1u);
  TTextEdit* box = Chart.Annotations()[0];
  // Empty, 100 x 20 where the mouse stood, focused, the document unsaved.
  EXPECT_EQ(BoxRect(*box), QRect(130, 75, 100, 20));
  EXPECT_EQ(box->geometry(), QRect(130, 75, 100, 20));
  EXPECT_EQ(Document.Annotations, (std::vector<TAnnotation>{{130, 75, 100, 20, ""}}));
  EXPECT_EQ(Chart.FocusedAnnotation(), box);
  EXPECT_FALSE(Document.Saved);
  QTest::keyClicks(box, "Top soil");
  QTest::keyClick(box, Qt::Key_Return);
  QTest::keyClicks(box, "dry");
  EXPECT_EQ(Document.Annotations[0].Text, "Top soil\ndry");
  // The box grows with its lines as they are typed, and its record with it.
  EXPECT_GE(box->height(), 2 * QFontMetrics(box->font()).height());
  EXPECT_EQ(box->verticalScrollBar()->value(), 0) << "the first line still shows";
  EXPECT_EQ(RecordRect(Document.Annotations[0]), BoxRect(*box));
  // The release after the insert (the menu's own) and a drag by the top edge
  // leave the focus where it was; a click away from the grips takes it.
  Mouse(QEvent::MouseButtonRelease, 5, 5);
  Drag({180, 72}, {190, 72});
  EXPECT_EQ(Chart.FocusedAnnotation(), box);
  Click(400, 300);
  EXPECT_EQ(Chart.FocusedAnnotation(), nullptr);
  Menu().PopupMenuPopup();
  EXPECT_EQ(Menu().poInsertText->text(), "Insert text");

  // With the box focused the item deletes it; without a box it inserts.
  box->setFocus();
  Document.Saved = true;
  EXPECT_EQ(ChooseInsertText(10, 10), "Delete text");
  EXPECT_TRUE(Chart.Annotations().empty() && Document.Annotations.empty());
  EXPECT_FALSE(Document.Saved);
  EXPECT_EQ(Chart.findChildren<TTextEdit*>().size(), 0) << "the box is gone";

  TPlaatje alone;  // without a document nothing is inserted
  alone.InsertAnnotation("x", 1, 2, 3, 4);
  EXPECT_TRUE(alone.Annotations().empty());
}

TEST_F(TAnnotationTest, GripsDragTheCornersAndTheTopEdgeAndTheLaterBoxWins) {
  const struct {
    const char* Name;
    QPoint From, To;
    QRect Expected;  // of the box that was picked up
    int Box;
    Qt::CursorShape Cursor;  // at From, before the press
  } rows[] = {
      {"top-left corner", {98, 101}, {90, 95}, {90, 95, 110, 25}, 0, Qt::SizeFDiagCursor},
      {"top-left past the bottom-right: 1 x 1, that corner fixed", {100, 100}, {250, 300}, {199, 119, 1, 1}, 0,
       Qt::SizeFDiagCursor},
      {"bottom-right corner", {199, 119}, {230, 140}, {100, 100, 130, 40}, 0, Qt::SizeFDiagCursor},
      {"bottom-right past the top-left: 1 x 1", {200, 120}, {50, 60}, {100, 100, 1, 1}, 0, Qt::SizeFDiagCursor},
      {"top edge moves", {150, 97}, {170, 90}, {120, 93, 100, 20}, 0, Qt::SizeAllCursor},
      {"top edge up to the right end + 1", {200, 102}, {201, 103}, {101, 101, 100, 20}, 0, Qt::SizeAllCursor},
      // Box 0's bottom-right grip and box 1's top-left grip both reach (202, 122).
      {"overlapping grips: the later box", {202, 122}, {190, 110}, {190, 110, 64, 44}, 1, Qt::SizeFDiagCursor},
      // Box 2 is so small that its top edge lies in its bottom-right grip: the later test wins.
      {"the same box: the top edge after the corner", {304, 301}, {314, 311}, {310, 310, 5, 2}, 2, Qt::SizeAllCursor},
  };
  for (const auto& row : rows) {
    Document.Annotations = {{100, 100, 100, 20, "one"}, {204, 124, 50, 30, "two"}, {300, 300, 5, 2, "three"}};
    Chart.ShowAnnotations();
    Document.Saved = true;
    const std::vector<TAnnotation> before = Document.Annotations;
    Mouse(QEvent::MouseMove, row.From.x(), row.From.y());
    EXPECT_EQ(Chart.cursor().shape(), row.Cursor) << row.Name;
    Drag(row.From, row.To);
    for (int i = 0; i < 3; ++i) {
      const QRect expected = i == row.Box ? row.Expected : RecordRect(before[i]);
      EXPECT_EQ(RecordRect(Document.Annotations[i]), expected) << row.Name << " box " << i;
      EXPECT_EQ(BoxRect(*Chart.Annotations()[i]), expected) << row.Name << " box " << i;
      EXPECT_EQ(Chart.Annotations()[i]->geometry(), expected) << row.Name << " box " << i;
    }
    EXPECT_FALSE(Document.Saved) << row.Name;
    // After the release moves drag nothing.
    Mouse(QEvent::MouseMove, 400, 400);
    EXPECT_EQ(RecordRect(Document.Annotations[row.Box]), row.Expected) << row.Name;
  }
  // Away from every grip: the default cursor, and a press picks up nothing.
  Document.Saved = true;
  Mouse(QEvent::MouseMove, 150, 110);
  EXPECT_EQ(Chart.cursor().shape(), Qt::IBeamCursor) << "inside a box";
  Drag({500, 400}, {520, 420});
  EXPECT_EQ(Chart.cursor().shape(), Qt::ArrowCursor);
  EXPECT_TRUE(Document.Saved);
}

// The ink of the text within a box's rectangle, and whether its 1-pixel ring just outside is all black.
QRect InkIn(const QImage& image, const QRect& box) { return InkBounds(image, box); }
bool Framed(const QImage& image, const QRect& box) {
  const QRect ring = box.adjusted(-1, -1, 1, 1);
  return BlackIn(image, ring) - BlackIn(image, box) == 2 * (ring.width() + ring.height()) - 4;
}

TEST_F(TAnnotationTest, CopiesShowWhiteBoxesWithTheirTextAndNoFocusFrame) {
  // Over the dotted 10 m line; the second line of the first box does not fit.
  const int x10 = [&] {
    Chart.repaint();
    return Chart.ScreenDrawing().LeftMargin + Chart.ScreenDrawing().DecadeWidth;
  }();
  Chart.InsertAnnotation("Clay\nhidden", x10 - 40, 150, 100, 20);
  Chart.InsertAnnotation("Sand and gravel, wet", 300, 300, 80, 40);
  Chart.Annotations()[0]->setFocus();
  const QRect first(x10 - 40, 150, 100, 20), second(300, 300, 80, 40);

  const QImage screen = Chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(Framed(screen, first)) << "on screen the focused box has its frame";
  EXPECT_FALSE(Framed(screen, second));

  Chart.CopyToClipboard(false);
  const QImage copy = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(copy.size(), Chart.size());
  EXPECT_FALSE(Framed(copy, first)) << "a copy never has the focus frame";
  EXPECT_EQ(BlackIn(copy, QRect(x10, 150, 1, 20)), 0) << "the box hides the grid under it";
  EXPECT_GT(BlackIn(copy, QRect(x10, 180, 1, 20)), 0) << "the grid goes on below it";
  // The text stands where the edit box shows it (the box without the focus, whose text cursor
  // would add ink), give or take a pixel of glyph rendering.
  const QRect copied = InkIn(copy, second), shown = InkIn(screen, second);
  ASSERT_FALSE(copied.isEmpty());
  EXPECT_GE(copied.left(), second.left() + 3);
  for (const auto& [edge, copiedEdge, shownEdge] : {std::tuple("left", copied.left(), shown.left()),
                                                    {"top", copied.top(), shown.top()},
                                                    {"right", copied.right(), shown.right()},
                                                    {"bottom", copied.bottom(), shown.bottom()}})
    EXPECT_NEAR(copiedEdge, shownEdge, 1) << edge;
  const QFontMetrics metrics(TChartDrawing::ScreenFont(), &copy);
  EXPECT_GT(copied.height(), metrics.height()) << "the long text wraps onto a second line";
  // The screen shows the top of a second line that does not fit; a copy leaves it out.
  EXPECT_LT(InkIn(copy, first).bottom(), first.top() + metrics.height());
  EXPECT_GE(InkIn(screen, first).bottom(), first.top() + metrics.height());
}

// The texts of the <text> elements of an SVG document, false when it is no SVG.
bool SvgTexts(const QByteArray& svg, QStringList& texts) {
  QXmlStreamReader reader(svg);
  bool root = false;
  while (!reader.atEnd()) {
    reader.readNext();
    if (reader.isStartElement() && !root) root = reader.name() == QLatin1String("svg");
    if (reader.isStartElement() && reader.name() == QLatin1String("text"))
      texts << reader.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
  }
  return root && !reader.hasError();
}

TEST_F(TAnnotationTest, TheVectorCopyIsSvgWithTheBoxTextsAsTextAndAnImageBeside) {
  Chart.InsertAnnotation("Top soil", 200, 100, 100, 20);
  Chart.InsertAnnotation("Clay, \"wet\" & <soft>", 300, 200, 150, 20);
  Chart.CopyToClipboard(true);
  const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
  ASSERT_TRUE(copied->hasFormat(SvgMimeType));
  QStringList texts;
  ASSERT_TRUE(SvgTexts(copied->data(SvgMimeType), texts)) << copied->data(SvgMimeType).left(400).toStdString();
  EXPECT_TRUE(texts.contains("Top soil")) << texts.join('|').toStdString();
  EXPECT_TRUE(texts.contains("Clay, \"wet\" & <soft>")) << texts.join('|').toStdString();
  EXPECT_TRUE(texts.contains("L/2") && texts.contains("Rho")) << "the chart's own texts too";
  EXPECT_EQ(qvariant_cast<QImage>(copied->imageData()).size(), Chart.size());
}

// (Printing to a PDF file through the window's File > Print: tests/app.)
// A print is the chart as a square as wide as on the screen, scaled to the
// page: the whole square and every label lie on the page, a box's text has
// the size of the tick numbers, and the box stands where it stood on the
// plot.
TEST_F(TAnnotationTest, APrintShowsTheWholeChartInTheProportionsOfTheScreen) {
  Document = MakeDocument({{1.5, 30}, {10, 80}, {100, 3000}}, {{30, 2}, {3000, 0}}, true);
  Chart.repaint();
  const TChartDrawing& drawing = Chart.ScreenDrawing();
  // A box whose left edge stands on the 10 m line and whose top on the 100 ohm.m line of the screen.
  const int x10 = drawing.LeftMargin + drawing.DecadeWidth, y100 = drawing.RhoToY(100);
  Chart.InsertAnnotation("100", x10, y100, 100, 20);
  Chart.CopyToClipboard(false);
  const QRect screenInk = InkBounds(QGuiApplication::clipboard()->image(), QRect(x10, y100, 100, 20));

  for (const QSize size : {QSize(1500, 2000), QSize(2000, 1200)}) {  // printable areas at 300 dpi
    SCOPED_TRACE(size.width());
    QImage page = NewCanvasImage(size.width(), size.height(), 300);
    ASSERT_TRUE(Chart.Print(page));
    const int side = std::min(size.width(), size.height());
    const double scale = side / 640.0;  // page pixels per pixel of the screen chart
    const auto onPage = [scale](double x) { return int(std::lround(x * scale)); };
    EXPECT_EQ(drawing.DrawWidth, 640);
    EXPECT_NEAR(drawing.DecadeWidth, drawing.DecadeHeight, 0.5) << "square decades";
    EXPECT_EQ(BlackIn(page, QRect(0, side - 1, side, 1)), side) << "the square's bottom border";
    EXPECT_TRUE(InkBounds(page, QRect(side, 0, size.width(), size.height())).isEmpty() &&
                InkBounds(page, QRect(0, side, size.width(), size.height())).isEmpty()) << "nothing beside the square";
    // Inside the border every text and line keeps clear of it: no label is cut.
    const int border = onPage(1) + 1;
    const QRect content = InkBounds(page, QRect(border, border, side - 2 * border, side - 2 * border));
    EXPECT_TRUE(QRect(onPage(2), onPage(2), side - 2 * onPage(2), side - 2 * onPage(2)).contains(content));
    // The box text and the tick number "100" under the 100 m line.
    const int printedX10 = drawing.LeftMargin + drawing.DecadeWidth, printedY100 = drawing.RhoToY(100);
    const QRect printedInk =
        InkBounds(page, QRect(onPage(printedX10), onPage(printedY100), onPage(100), onPage(20)).adjusted(2, 2, -2, -2));
    const QRect tickInk = InkBounds(page, QRect(onPage(drawing.LeftMargin + 2 * drawing.DecadeWidth - 30),
                                                onPage(drawing.PlotBottom + 1), onPage(60), onPage(30)));
    ASSERT_FALSE(printedInk.isEmpty() || tickInk.isEmpty());
    EXPECT_NEAR(printedInk.height(), tickInk.height(), scale);
    EXPECT_NEAR(printedInk.width(), tickInk.width(), scale);
    EXPECT_NEAR(printedInk.left() - onPage(printedX10), (screenInk.left() - x10) * scale, 2 * scale);
    EXPECT_NEAR(printedInk.top() - onPage(printedY100), (screenInk.top() - y100) * scale, 2 * scale);
  }
  // The next paint brings the screen's layout back.
  Chart.repaint();
  EXPECT_EQ(drawing.DrawHeight, 480);
}

}  // namespace
