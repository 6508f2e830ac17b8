// Data > Equivalence...: the analysis of the window's model, its tool window
// and the grey models on the chart, which go with the window and with any
// change of the document.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QTableWidget>

#include "chart/Plaatje.h"
#include "tests/app/AppTestSupport.h"
#include "views/ModelGrid.h"

namespace {

using TEquivalenceWindowTest = TWindowTest;

const QRgb Grey = qRgb(192, 192, 192);

// Pixels of the chart on the screen in the equivalent models' grey.
int GreyPixels(TMainForm& window) {
  const QImage chart = Child<QWidget>(window, "Plaatje")->grab().toImage().convertToFormat(QImage::Format_RGB32);
  int count = 0;
  for (int y = 0; y < chart.height(); ++y)
    for (int x = 0; x < chart.width(); ++x) count += chart.pixel(x, y) == Grey;
  return count;
}

int DrawnModels(TMainForm& window) { return Child<TPlaatje>(window, "Plaatje")->ScreenDrawing().EquivalentModelCount; }

TEST_F(TEquivalenceWindowTest, ShowsTheRangesAndDrawsTheModelsUntilClosedOrTheDocumentChanges) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  window->show();
  TResondixData& d = window->Document();
  for (int i = 1; i <= 3; ++i) d.RhoUnknown[i] = true, d.DepthUnknown[i] = i < 3;
  window->DataFitClick();
  window->DataClick();  // opening the Data menu
  ASSERT_TRUE(Child<QAction>(*window, "DataEquivalence")->isEnabled());
  Messages.Shown.clear();
  const std::string tables = Tables(d);
  const int greyBefore = GreyPixels(*window);  // the annotations' text has a few
  Child<QAction>(*window, "DataEquivalence")->trigger();
  EXPECT_EQ(Messages.Shown, QStringList());
  EXPECT_EQ(Tables(d), tables) << "the analysis leaves the model alone";

  auto* form = Child<QWidget>(*window, "EquivalenceForm");
  auto* ranges = Child<QTableWidget>(*form, "EquivalenceGrid");
  auto* layers = Child<QTableWidget>(*form, "DarZarroukGrid");
  ASSERT_TRUE(form->isVisible());
  EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
  // A heading row, then the unknowns in the fit's order.
  ASSERT_EQ(ranges->rowCount(), 6);
  EXPECT_EQ(ranges->item(1, 0)->text(), "Rho 1");
  EXPECT_EQ(ranges->item(5, 0)->text(), "Depth 2");
  EXPECT_EQ(ranges->item(1, 1)->text(), QString::number(d.LayerRho[1], 'f', 2));
  // The half-space below 40 m of spacing can be any resistivity upward.
  EXPECT_TRUE(ranges->item(3, 3)->text().startsWith("\u2265 ")) << ranges->item(3, 3)->text().toStdString();
  ASSERT_EQ(layers->rowCount(), 4);  // the headings, two layers above the half-space and the totals
  EXPECT_EQ(layers->item(1, 1)->text(), QString::number(d.LayerDepth[1], 'f', 2));
  EXPECT_EQ(layers->item(3, 0)->text(), "Total");
  EXPECT_EQ(layers->item(3, 1)->text(), QString::number(d.LayerDepth[2], 'f', 2));
  // Its cells go to the clipboard as the result windows' do.
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == form; }));
  ranges->setFocus();
  window->EditSelectAllClick();
  window->EditCopyClick();
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith("Parameter\tValue\tLowest\tHighest\r\nRho 1\t"))
      << QApplication::clipboard()->text().toStdString();
  EXPECT_TRUE(Child<QLabel>(*form, "DarZarroukTotals")->text().startsWith("Mean longitudinal resistivity H/S: "));
  EXPECT_GT(DrawnModels(*window), 0);
  EXPECT_GT(GreyPixels(*window), greyBefore + 100);

  form->close();  // closing it takes the grey models away
  EXPECT_EQ(DrawnModels(*window), 0);
  EXPECT_EQ(GreyPixels(*window), greyBefore);

  window->DataEquivalenceClick();
  EXPECT_TRUE(form->isVisible() && DrawnModels(*window) > 0);
  auto* chart = Child<TPlaatje>(*window, "Plaatje");
  chart->InsertAnnotation("Clay", 50, 50, 100, 20);
  chart->DeleteAnnotation(chart->Annotations().back());
  EXPECT_GT(DrawnModels(*window), 0) << "a label leaves the model as it was";
  d.SetValue(0, 1, true, 151);  // any change of the sounding
  EXPECT_EQ(DrawnModels(*window), 0);
  EXPECT_EQ(GreyPixels(*window), greyBefore);
  EXPECT_EQ(ranges->rowCount(), 1);  // the headings alone
  EXPECT_EQ(Child<QLabel>(*form, "EquivalenceSummary")->text(),
            "The model has changed.\nChoose Data > Equivalence... to analyse it again.");
}

TEST_F(TEquivalenceWindowTest, IsOfferedWhenAFitMayRunAndRefusesAsTheFitDoes) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  Messages.Shown.clear();
  window->DataEquivalenceClick();  // no unknowns marked
  EXPECT_EQ(Messages.Shown, QStringList{"Error: No  Unknown  Parameters  Specified  !"});
  EXPECT_FALSE(Child<QWidget>(*window, "EquivalenceForm")->isVisible());
  window->DataClick();
  EXPECT_TRUE(Child<QAction>(*window, "DataEquivalence")->isEnabled());
  // The resistivity of layer 2 emptied in the model grid, noticed at the next change.
  auto* grid = Child<TModelGrid>(*window, "ModelGrid");
  grid->setCurrentCell(1, 0);
  grid->ClearSelection();
  window->Document().SetValue(1, 1, false, 138.17);
  window->DataClick();
  EXPECT_FALSE(Child<QAction>(*window, "DataEquivalence")->isEnabled());
}

}  // namespace
