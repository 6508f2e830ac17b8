// Edit > Undo and Redo: every change of the sounding a user makes is one step
// that undo takes back whole and redo does again, named in the menu; the
// saved state follows the history; New starts a fresh one; an undone fit
// leaves no result behind; the history keeps the latest 100 steps.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>

#include "chart/Plaatje.h"
#include "chart/TextEdit.h"
#include "tests/app/AppTestSupport.h"
#include "views/MeasurementsGrid.h"
#include "views/ModelGrid.h"
#include "views/Results.h"
#include "views/StatisticsGrid.h"

namespace {

class TUndoTest : public TWindowTest {
protected:
  std::unique_ptr<TMainForm> ShowWindow(const QStringList& arguments) {
    auto window = MakeWindow(arguments);
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
  }
  static QAction* Undo(const TMainForm& window) { return Child<QAction>(window, "EditUndo"); }
  static QAction* Redo(const TMainForm& window) { return Child<QAction>(window, "EditRedo"); }
};

// Everything a step may change, as the history keeps it (the document, the
// grids' texts, the title), and the chart's labels as boxes.
using TWhole = std::pair<TUndoHistory::TState, QStringList>;

TWhole Whole(TMainForm& window) {
  TWhole whole{{window.Document().Snapshot(),
                {Child<TValueGrid>(window, "MeasurementsGrid")->CellTexts(),
                 Child<TValueGrid>(window, "ModelGrid")->CellTexts(), window.windowTitle()}},
               {}};
  for (const TTextEdit* box : Child<TPlaatje>(window, "Plaatje")->Annotations())
    whole.second << QString("%1,%2 %3x%4 ").arg(box->ChartX).arg(box->ChartY).arg(box->width()).arg(box->height()) +
                        box->toPlainText();
  return whole;
}

void TypeIntoCell(TValueGrid& grid, int row, int column, const QString& text) {
  grid.setFocus();
  grid.setCurrentCell(row - 1, column);
  Type(text);
  Press(Qt::Key_Return);
}

// The top edge of a label, where a drag moves it.
void DragLabel(TPlaatje& chart, const TTextEdit& box, QPoint by) {
  const QPoint grip(box.ChartX + 10, box.ChartY - 2);
  QTest::mouseMove(&chart, grip);
  QTest::mousePress(&chart, Qt::LeftButton, {}, grip);
  QTest::mouseMove(&chart, grip + by / 2);
  QTest::mouseMove(&chart, grip + by);
  QTest::mouseRelease(&chart, Qt::LeftButton, {}, grip + by);
}

TEST_F(TUndoTest, EveryChangeOfTheSoundingIsOneStepThatUndoTakesBackWholeAndRedoDoesAgain) {
  auto window = ShowWindow({Example("three-layer-schlumberger.rxd")});
  auto* measurements = Child<TMeasurementsGrid>(*window, "MeasurementsGrid");
  auto* model = Child<TModelGrid>(*window, "ModelGrid");
  auto* chart = Child<TPlaatje>(*window, "Plaatje");
  // Ticking unknowns is no step.
  MarkAllUnknown(window->Document());
  EXPECT_FALSE(Undo(*window)->isEnabled());
  EXPECT_EQ(Undo(*window)->text(), "&Undo");

  const struct {
    const char* Step;  // as the menu names it
    std::function<void()> Do;
  } steps[] = {
      {"Fit", [&] { window->DataFitClick(); }},
      {"Typing", [&] { TypeIntoCell(*measurements, 2, 1, "150"); }},
      {"Paste",
       [&] {
         QGuiApplication::clipboard()->setText("10\t20\r\n12\t30\r\n");
         measurements->setCurrentCell(2, 0);
         window->EditPasteClick();
       }},
      {"General information",
       [&] {
         InformationUsers = {[](TGeneralInformationForm& dialog) {
           Child<QSpinBox>(dialog, "soPairsOfData")->setValue(12);
           Child<QLineEdit>(dialog, "flRemarks")->setText("wet");
           Press(dialog, "OKButton");
         }};
         window->FileInformationClick();
       }},
      {"Insert rows", [&] { measurements->setCurrentCell(3, 0); measurements->InsertRows(); }},
      {"Delete rows", [&] { measurements->DeleteRows(); }},
      {"Insert layers", [&] { model->setCurrentCell(0, 0); model->InsertRows(); }},
      {"Delete layers", [&] { model->setCurrentCell(2, 0); model->DeleteRows(); }},
      {"Cut", [&] { measurements->setFocus(); measurements->setCurrentCell(4, 1); window->EditCutClick(); }},
      {"Clear", [&] { measurements->setCurrentCell(5, 0); window->EditClearClick(); }},
      {"Insert text",  // and typed into: one step
       [&] {
         chart->InsertAnnotation("", 90, 120, 100, 20);
         Type("Sand");
         Press(Qt::Key_Return);
         Type("dry");
       }},
      {"Edit text",
       [&] {
         measurements->setFocus();  // leaves the new label
         chart->Annotations()[0]->setFocus();
         Type("x");
         DragLabel(*chart, *chart->Annotations()[0], {5, 5});  // the same session
       }},
      {"Move text", [&] { measurements->setFocus(); DragLabel(*chart, *chart->Annotations()[1], {40, 30}); }},
      {"Delete text", [&] { chart->DeleteAnnotation(chart->Annotations()[0]); }},
      {"Import",
       [&] {
         FileDialogs.Paths = {Example("ves-schlumberger-dinoloket.txt")};
         Messages.Answers = {TSaveAnswer::No};
         window->FileImportClick();
       }},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Step);
    // The keys go to this window, whichever window a step opened.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QApplication::processEvents();
    const TWhole before = Whole(*window);
    step.Do();
    const TWhole after = Whole(*window);
    ASSERT_FALSE(after == before) << "the step changed nothing";
    EXPECT_EQ(Undo(*window)->text(), QString("&Undo ") + step.Step);
    Undo(*window)->trigger();
    EXPECT_TRUE(Whole(*window) == before) << "undo takes the whole step back";
    EXPECT_EQ(Redo(*window)->text(), QString("&Redo ") + step.Step);
    Redo(*window)->trigger();
    EXPECT_TRUE(Whole(*window) == after) << "redo does it again";
    EXPECT_FALSE(window->Document().Saved);
  }
  // The steps stay one after the other: undo goes back through all of them.
  const TWhole last = Whole(*window);
  for (std::size_t i = 0; i < std::size(steps); ++i) Undo(*window)->trigger();
  EXPECT_FALSE(Undo(*window)->isEnabled());
  EXPECT_TRUE(window->Document().Saved) << "back at the file as opened";
  for (std::size_t i = 0; i < std::size(steps); ++i) Redo(*window)->trigger();
  EXPECT_TRUE(Whole(*window) == last);
  // Undo and Redo head the Edit menu.
  const QList<QAction*> edit = Child<QMenu>(*window, "Edit")->actions();
  EXPECT_EQ(edit.mid(0, 2), (QList<QAction*>{Undo(*window), Redo(*window)}));
}

TEST_F(TUndoTest, TheSavedStateFollowsTheHistoryAndTheKeysLeaveTheCellEditorItsOwnUndo) {
  const QString copy = File("copy.rxd");
  WriteWholeFile(copy.toStdString(), ReadWholeFile(ExamplePath("three-layer-schlumberger.rxd")));
  auto window = ShowWindow({copy});
  auto* measurements = Child<TMeasurementsGrid>(*window, "MeasurementsGrid");
  const TResondixData& d = window->Document();
  const auto saved = [&] { return d.Saved && !window->isWindowModified(); };

  TypeIntoCell(*measurements, 2, 1, "150");
  EXPECT_FALSE(saved());
  Press(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(saved()) << "back at the file as opened";
  EXPECT_EQ(d.ApparentRho[2], 140.76);
  Press(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_FALSE(saved());
  EXPECT_EQ(d.ApparentRho[2], 150);
  Press(Qt::Key_Z, Qt::ControlModifier);
  Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(d.ApparentRho[2], 150) << "Ctrl+Shift+Z redoes too";

  // A save makes its state the saved one.
  window->FileSaveClick();
  TypeIntoCell(*measurements, 3, 1, "160");
  Press(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(saved());
  Press(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(saved()) << "the file holds the value typed before the save";

  // In an open cell Ctrl+Z acts on the text being typed.
  measurements->setCurrentCell(3, 1);
  const QString undoText = Undo(*window)->text();
  const QString stored = measurements->item(3, 1)->text();
  Type("7");
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  ASSERT_EQ(editor->text(), "7");
  Press(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(editor->text(), stored);
  EXPECT_EQ(Undo(*window)->text(), undoText) << "the history is untouched";
  Press(Qt::Key_Escape);

  // Closing at the saved state asks nothing.
  Press(Qt::Key_Y, Qt::ControlModifier);
  ASSERT_TRUE(saved());
  window->close();
  EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join('|').toStdString();
  EXPECT_FALSE(window->isVisible());
}

TEST_F(TUndoTest, AnUndoneFitLeavesNoResultBehind) {
  auto window = ShowWindow({Example("three-layer-schlumberger.rxd")});
  MarkAllUnknown(window->Document());
  window->DataFitClick();
  auto* results = Child<TResultsForm>(*window, "ResultsForm");
  auto* parameters = Child<TStatisticsGrid>(*results, "StatisticsGrid");
  ASSERT_TRUE(results->isVisible());
  ASSERT_TRUE(parameters->Cell(1, 1).contains('%'));
  for (QAction* command : {Undo(*window), Redo(*window)}) {
    command->trigger();
    EXPECT_TRUE(Child<TStatisticsGrid>(*results, "RMSEGrid")->isHidden()) << command->objectName().toStdString();
    EXPECT_FALSE(parameters->Cell(1, 1).contains('%')) << command->objectName().toStdString();
  }
}

TEST_F(TUndoTest, TheHistoryKeepsTheLatest100StepsAndNewStartsAfresh) {
  auto window = ShowWindow({Example("three-layer-schlumberger.rxd")});
  TResondixData& d = window->Document();
  for (int i = 1; i <= 101; ++i) d.RunStep("Typing", [&] { d.SetValue(1, 1, false, 100 + i); });
  int undone = 0;
  for (; Undo(*window)->isEnabled(); ++undone) Undo(*window)->trigger();
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(d.ApparentRho[1], 101) << "the first step's value, which is no longer a step";

  Messages.Answers = {TSaveAnswer::No};
  window->FileNewClick();
  EXPECT_FALSE(Undo(*window)->isEnabled() || Redo(*window)->isEnabled());
  EXPECT_EQ(Undo(*window)->text(), "&Undo");
}

}  // namespace
