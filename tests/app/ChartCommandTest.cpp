// The chart's annotations and commands in the window: labels typed on the
// chart survive a save and an open, New clears them, the Edit commands reach
// a label, and Copy chart and Print work from the menus.
#include <QClipboard>
#include <QMimeData>
#include <QSplitter>

#include "chart/ChartExport.h"
#include "chart/Plaatje.h"
#include "chart/TextEdit.h"
#include "tests/app/AppTestSupport.h"

namespace {

using TChartCommandTest = TWindowTest;

struct TLabel {
  QRect Box;
  QString Text;
  friend bool operator==(const TLabel& a, const TLabel& b) { return a.Box == b.Box && a.Text == b.Text; }
};

std::vector<TLabel> Labels(const TPlaatje& chart) {
  std::vector<TLabel> labels;
  for (const TTextEdit* box : chart.Annotations())
    labels.push_back({QRect(box->ChartX, box->ChartY, box->width(), box->height()), box->toPlainText()});
  return labels;
}

TEST_F(TChartCommandTest, LabelsSurviveSaveAndOpenNewClearsThemAndTheChartCopiesAndPrints) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  auto* chart = Child<TPlaatje>(*window, "Plaatje");
  // The file's annotation is a box again, at its place.
  EXPECT_EQ(Labels(*chart), (std::vector<TLabel>{{{430, 60, 130, 36}, "Clay layer\nbelow 3 m"}}));

  chart->InsertAnnotation("", 90, 120, 100, 20);
  QTest::keyClicks(chart->Annotations()[1], "Top soil, dry");
  chart->InsertAnnotation("", 200, 300, 160, 60);
  TTextEdit* second = chart->Annotations()[2];
  QTest::keyClicks(second, "He said \"wet\",");
  QTest::keyClick(second, Qt::Key_Return);
  QTest::keyClicks(second, "then \"\"clay\"\"");
  // The Edit commands act on the focused label.
  window->EditSelectAllClick();
  window->EditCutClick();
  EXPECT_EQ(second->toPlainText(), "");
  window->EditPasteClick();
  const std::vector<TLabel> typed = {{{430, 60, 130, 36}, "Clay layer\nbelow 3 m"},
                                     {{90, 120, 100, 20}, "Top soil, dry"},
                                     {{200, 300, 160, 60}, "He said \"wet\",\nthen \"\"clay\"\""}};
  EXPECT_EQ(Labels(*chart), typed);
  EXPECT_EQ(window->Document().Annotations[2].Text, "He said \"wet\",\nthen \"\"clay\"\"");

  // Unsaved labels are protected by the prompt.
  ASSERT_FALSE(window->Document().Saved);
  window->FileNewClick();
  EXPECT_EQ(Messages.Shown, QStringList{"Prompt: Save changes to " + Example("three-layer-schlumberger.rxd") + "?"});
  EXPECT_EQ(Labels(*chart), typed) << "cancelled";

  const QString saved = File("labelled.rxd");
  FileDialogs.Paths = {saved, saved};
  window->FileSaveAsClick();
  window->FileNewClick();
  EXPECT_TRUE(chart->Annotations().empty() && window->Document().Annotations.empty());
  EXPECT_TRUE(chart->findChildren<TTextEdit*>().isEmpty());
  window->FileOpenClick();
  EXPECT_EQ(Labels(*chart), typed);
  EXPECT_TRUE(window->Document().Saved);
  // The labels move with the chart when the splitter moves.
  Child<QSplitter>(*window, "Splitter")->setSizes({320, 425});
  EXPECT_EQ(chart->Annotations()[1]->mapTo(window.get(), QPoint()), chart->mapTo(window.get(), QPoint(90, 120)));
  EXPECT_EQ(Labels(*chart), typed);

  // Copy chart and Print from the menus.
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  Child<QAction>(*window, "EditCopyChartAsBitmap")->trigger();
  EXPECT_EQ(clipboard->image().size(), chart->size());
  EXPECT_FALSE(clipboard->mimeData()->hasFormat(SvgMimeType));
  Child<QAction>(*window, "EditCopyChartAsMetafile")->trigger();
  EXPECT_TRUE(clipboard->mimeData()->data(SvgMimeType).contains("Clay layer"));

  // A cancelled print dialog prints nothing; a PDF file needs no printer.
  const QString pdf = File("chart.pdf");
  window->FilePrintClick();
  EXPECT_FALSE(QFile::exists(pdf));
  FileDialogs.PrintFile = pdf;
  Child<QAction>(*window, "FilePrint")->trigger();
  EXPECT_EQ(ReadWholeFile(pdf.toStdString()).substr(0, 5), "%PDF-");
  EXPECT_EQ(chart->ScreenDrawing().DrawWidth, chart->ScreenDrawing().DrawHeight) << "a square";
}

}  // namespace
