// The model grid's differences: its texts, the check boxes of the unknowns
// and the half-space's depth cell.
#include <QAccessible>
#include <QAccessibleTableInterface>

#include "tests/views/GridTestSupport.h"

namespace {

using TModelGridTest = TGridTest;

QStringList Texts(const TModelGrid& grid) {
  QStringList texts;
  for (int row = 1; row <= grid.rowCount(); ++row) texts << grid.item(row - 1, 0)->text() + "|" + grid.item(row - 1, 1)->text();
  return texts;
}

// The check states as the cells report them: "x" ticked, "o" empty, "-" no box.
QString Boxes(const TModelGrid& grid) {
  QString boxes;
  for (int row = 1; row <= grid.rowCount(); ++row)
    for (int column = 0; column < 2; ++column) {
      const QVariant state = grid.item(row - 1, column)->data(Qt::CheckStateRole);
      boxes += !state.isValid() ? '-' : state.toInt() == Qt::Checked ? 'x' : 'o';
    }
  return boxes;
}

TEST_F(TModelGridTest, ShowsTheLayersInFixedFormWithTheHalfSpaceDepthAsADash) {
  Document.New();
  EXPECT_EQ(Texts(*Model), QStringList({"|", "|", "|-"}));
  EXPECT_EQ(Boxes(*Model), "ooooo-");
  EXPECT_FALSE(Model->ValidateAll()) << "a new model has no values";
  LoadExample();
  Document.LayerRho[1] = 250.5;
  Document.LayerRho[2] = 0;
  Model->RefreshFromData();
  EXPECT_EQ(Texts(*Model), QStringList({"250.50|3.00", "|20.00", "500.00|-"}));
  Document.LayerRho[2] = 30;
  Model->RefreshFromData();
  EXPECT_TRUE(Model->ValidateAll()) << "the half-space depth is not checked";

  // Deleting the last layer makes the one above it the half-space.
  Document.DepthUnknown[2] = true;
  Select(*Model, 0, 3, 1, 3);
  Model->DeleteRows();
  EXPECT_EQ(Texts(*Model), QStringList({"250.50|3.00", "30.00|-"}));
  EXPECT_EQ(Boxes(*Model), "ooo-");
  EXPECT_FALSE(Document.DepthUnknown[2]);
}

TEST_F(TModelGridTest, BoxesToggleByPressSpaceAndLettersWithoutEditingOrNotifying) {
  LoadExample();
  const auto clickBox = [this](int column, int row) {
    QTest::mouseClick(Model->viewport(), Qt::LeftButton, {}, Model->CheckBoxRect(Model->model()->index(row - 1, column)).center());
    QApplication::processEvents();
  };
  Focus(*Model, 0, 1);
  clickBox(1, 1);
  EXPECT_EQ(Current(*Model), "1,1") << "the pressed box's cell becomes current";
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(Boxes(*Model), "oxooo-");
  EXPECT_TRUE(Document.DepthUnknown[1]);
  clickBox(1, 1);
  EXPECT_FALSE(Document.DepthUnknown[1]);
  // A press on the text part selects the cell only.
  QTest::mouseClick(Model->viewport(), Qt::LeftButton, {}, Model->visualRect(Model->model()->index(1, 0)).topLeft() + QPoint(5, 5));
  EXPECT_EQ(Current(*Model), "0,2");
  EXPECT_FALSE(Document.RhoUnknown[2]);

  Press(Qt::Key_Space);
  EXPECT_TRUE(Document.RhoUnknown[2]);
  EXPECT_EQ(Editor(), nullptr);
  Press(Qt::Key_Space);
  EXPECT_FALSE(Document.RhoUnknown[2]);
  Type("x");
  EXPECT_TRUE(Document.RhoUnknown[2]);
  Press(Qt::Key_Q, Qt::ShiftModifier);
  EXPECT_FALSE(Document.RhoUnknown[2]);
  EXPECT_EQ(Editor(), nullptr) << "letters never open the editor";
  EXPECT_EQ(Changes, 0) << "a toggle raises no change";
  EXPECT_TRUE(Document.Saved);

  // A digit edits the value; the box stays and can be pressed meanwhile.
  Type("5");
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Editor()->text(), "5");
  EXPECT_FALSE(Editor()->geometry().intersects(Model->CheckBoxRect(Model->currentIndex())));
  Press(Qt::Key_Return);
  EXPECT_EQ(Document.LayerRho[2], 5);

  // While an invalid value is edited, a press on another box neither moves
  // nor toggles.
  Messages.Texts.clear();
  Press(Qt::Key_F2);
  Press(Qt::Key_Backspace);
  clickBox(0, 3);
  EXPECT_EQ(Shown(), QStringList{"\"\" is not a valid floating point value!"});
  EXPECT_FALSE(Document.RhoUnknown[3]);
  EXPECT_EQ(Current(*Model), "0,2");
}

TEST_F(TModelGridTest, ScreenReadersFindEachBoxAndTheHalfSpaceDepthCannotBeEditedPastedIntoOrCleared) {
  LoadExample();
  Document.DepthUnknown[2] = true;
  QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(Model)->tableInterface();
  ASSERT_NE(table, nullptr);
  const auto cell = [table](int row, int column) { return table->cellAt(row - 1, column); };
  EXPECT_EQ(cell(2, 1)->text(QAccessible::Name), "20.00");
  EXPECT_TRUE(cell(2, 1)->state().checkable && cell(2, 1)->state().checked);
  EXPECT_FALSE(cell(2, 0)->state().checked);
  EXPECT_EQ(cell(3, 1)->text(QAccessible::Name), "-");
  EXPECT_FALSE(cell(3, 1)->state().checkable) << "the half-space has no depth to fit";

  Focus(*Model, 1, 3);
  Press(Qt::Key_F2);
  Press(Qt::Key_Return);
  Type("5 ");
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(Text(*Model, 1, 3), "-");
  EXPECT_FALSE(Document.DepthUnknown[3]) << "it has no box to tick";

  SetClipboard("40\t60\r\n");
  Select(*Model, 0, 3, 0, 3);
  Model->PasteFromClipboard();
  EXPECT_TRUE(Messages.Texts.empty());
  EXPECT_EQ(Document.LayerRho[3], 40);
  EXPECT_EQ(Document.LayerDepth[3], HalfSpaceDepth);
  Model->SelectAll();
  Model->ClearSelection();
  EXPECT_EQ(Texts(*Model), QStringList({"|", "|", "|-"}));
}

TEST_F(TModelGridTest, PastedDepthsAreCheckedWithEachOther) {
  LoadExample();  // depths 3 and 20
  // Each of 10 and 8 fits between the stored depths; together they are out of order.
  SetClipboard("10\r\n8\r\n");
  Select(*Model, 1, 1, 1, 1);
  Model->PasteFromClipboard();
  EXPECT_EQ(Shown(), QStringList{"The selection contains 2 invalid value(s). Can not paste!"});
  EXPECT_EQ(Document.LayerDepth[1], 3);
  EXPECT_EQ(Document.LayerDepth[2], 20);
  SetClipboard("10\r\n40\r\n");
  Model->PasteFromClipboard();
  EXPECT_EQ(Document.LayerDepth[1], 10);
  EXPECT_EQ(Document.LayerDepth[2], 40);
  // A paste adds no layers and says what it left out.
  Messages.Texts.clear();
  SetClipboard("11\r\n22\r\n33\r\n44\r\n55\r\n");
  Select(*Model, 0, 1, 0, 1);
  Model->PasteFromClipboard();
  EXPECT_EQ(Shown(), QStringList{"2 of the pasted rows lie below the last layer and were not pasted."});
  EXPECT_EQ(Messages.Kinds.back(), TMessageKind::Warning);
  EXPECT_EQ(Tables(Document).substr(Tables(Document).find('|')), "| 11/10 22/40 33/10000");
}

}  // namespace
