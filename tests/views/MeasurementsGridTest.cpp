// The measurements grid as a person uses it: typing, leaving a cell, the
// keys, the clipboard, insert and delete. (The model grid's differences are
// in ModelGridTest.cpp.)
#include <QLocale>
#include <QMenu>

#include "tests/views/GridTestSupport.h"

namespace {

using TMeasurementsGridTest = TGridTest;

TEST_F(TMeasurementsGridTest, TypingKeepsTheCharactersOfANumberAndEnterStoresIt) {
  Document.New();
  Focus(*Measurements, 1, 1);
  Type("x");
  EXPECT_EQ(Editor(), nullptr) << "a letter opens no editor";
  Type("12a.5");
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Editor()->text(), "12.5") << "the letter is dropped";
  EXPECT_EQ(Text(*Measurements, 1, 1), "12.5") << "the cell follows the editor";
  EXPECT_EQ(Document.ApparentRho[1], 0) << "nothing is stored while typing";
  Press(Qt::Key_Return);
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(Current(*Measurements), "1,1") << "Enter stays on the cell";
  EXPECT_EQ(Document.ApparentRho[1], 12.5);
  EXPECT_FALSE(Document.Saved);

  // A decimal comma is typed but is no number of the grid.
  Press(Qt::Key_Down);
  Type("1,5");
  Press(Qt::Key_Return);
  EXPECT_EQ(Shown(), QStringList{"\"1,5\" is not a valid floating point value!"});
  ASSERT_NE(Editor(), nullptr) << "a refused Enter keeps the editor";
  EXPECT_EQ(Editor()->text(), "1,5");
  EXPECT_EQ(Document.ApparentRho[2], 0);
}

TEST_F(TMeasurementsGridTest, AnInvalidCellKeepsTheFocusWhicheverWayItIsLeft) {
  Document.New();
  const auto clickRow6 = [this] {
    const QRect cell = Measurements->visualRect(Measurements->model()->index(5, 0));
    QTest::mouseClick(Measurements->viewport(), Qt::LeftButton, {}, cell.center());
  };
  const struct {
    const char* Name;
    const char* Typed;  // into the empty Rho cell of row 3
    std::function<void()> Leave;
    const char* Message;
  } cases[] = {
      {"DownFromAnEmptyCell", "", [] { Press(Qt::Key_Down); }, "\"\" is not a valid floating point value!"},
      {"UpWithAZero", "0", [] { Press(Qt::Key_Up); }, "Value must be greater than 0!"},
      {"LeftAtTheStart", "", [] { Press(Qt::Key_Left); }, "\"\" is not a valid floating point value!"},
      {"Tab", "-", [] { Press(Qt::Key_Tab); }, "\"-\" is not a valid floating point value!"},
      {"ClickOnAnotherCell", "1e", clickRow6, "\"1e\" is not a valid floating point value!"},
      {"FocusToAnotherControl", "-4", [this] { Other->setFocus(); }, "Value must be greater than 0!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Messages.Texts.clear();
    Focus(*Measurements, 1, 3);
    Press(Qt::Key_F2);
    Type(c.Typed);
    c.Leave();
    QApplication::processEvents();  // the focus comes back after the message
    EXPECT_EQ(Shown(), QStringList{c.Message});
    EXPECT_EQ(Current(*Measurements), "1,3");
    ASSERT_NE(Editor(), nullptr) << "the editor keeps the focus";
    EXPECT_EQ(Editor()->text(), c.Typed) << "with the rejected text";
    Press(Qt::Key_Escape);
  }
  EXPECT_EQ(Document.ApparentRho[3], 0);
  EXPECT_TRUE(Document.Saved) << "nothing reached the document";

  // A valid number leaves the cell and is stored.
  Press(Qt::Key_F2);
  Type("7");
  Press(Qt::Key_Down);
  EXPECT_EQ(Current(*Measurements), "1,4");
  EXPECT_EQ(Document.ApparentRho[3], 7);
}

TEST_F(TMeasurementsGridTest, ArrowsMoveAtTheEndsOfTheTextEscCancelsAndTabMovesWithoutEditing) {
  LoadExample();
  Focus(*Measurements, 0, 2);
  Press(Qt::Key_Return);
  ASSERT_NE(Editor(), nullptr) << "Enter opens the editor";
  EXPECT_EQ(Editor()->text(), "2");
  Press(Qt::Key_End);
  Type("5");
  Press(Qt::Key_Right);
  EXPECT_EQ(Current(*Measurements), "1,2") << "Right at the end moves on";
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(Document.HalfSpacing[2], 25);

  Press(Qt::Key_F2);
  Press(Qt::Key_Home);
  Press(Qt::Key_Right);
  EXPECT_EQ(Current(*Measurements), "1,2") << "Right inside the text moves the caret";
  Press(Qt::Key_Left);
  Press(Qt::Key_Left);
  EXPECT_EQ(Current(*Measurements), "0,2") << "Left at the start moves back";

  Press(Qt::Key_F2);
  Press(Qt::Key_End);
  Type("9");
  EXPECT_EQ(Text(*Measurements, 0, 2), "259");
  Press(Qt::Key_Escape);
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(Text(*Measurements, 0, 2), "25") << "Esc gives the cell its text back";
  Press(Qt::Key_Down);
  EXPECT_EQ(Document.HalfSpacing[2], 25);
  EXPECT_EQ(Current(*Measurements), "0,3");

  Press(Qt::Key_Tab);
  EXPECT_EQ(Current(*Measurements), "1,3");
  EXPECT_EQ(Editor(), nullptr) << "Tab opens no editor";

  // Down at the last row stores the edit, though there is nowhere to go.
  Focus(*Measurements, 1, 15);
  Type("66");
  Press(Qt::Key_Down);
  EXPECT_EQ(Document.ApparentRho[15], 66);
  Type("7");
  Press(Qt::Key_Escape);
  EXPECT_EQ(Text(*Measurements, 1, 15), "66") << "Esc goes back to what was stored";
  Focus(*Measurements, 1, 3);
  Type("4");
  Press(Qt::Key_Tab);
  EXPECT_EQ(Current(*Measurements), "0,4") << "Tab stores and goes on to the next row";
  EXPECT_EQ(Document.ApparentRho[3], 4);
}

TEST_F(TMeasurementsGridTest, CopyAndCutGiveTabsAndLineEndsAndCutEmptiesOnlyTheCells) {
  LoadExample();
  Select(*Measurements, 0, 2, 1, 3);
  Measurements->CopySelection();
  EXPECT_EQ(Clipboard(), "2\t140.76\r\n2.5\t134.25\r\n");
  Select(*Model, 0, 1, 1, 3);
  Model->CopySelection();
  EXPECT_EQ(Clipboard(), "150.00\t3.00\r\n30.00\t20.00\r\n500.00\t-\r\n");

  Select(*Measurements, 1, 5, 1, 5);
  ASSERT_TRUE(Measurements->ValidateAll());
  Measurements->CutSelection();
  EXPECT_EQ(Clipboard(), "111.68\r\n");
  EXPECT_EQ(Text(*Measurements, 1, 5), "");
  EXPECT_EQ(Document.ApparentRho[5], 111.68) << "the document keeps its value";
  EXPECT_EQ(Changes, 0);
  EXPECT_FALSE(Measurements->ValidateAll()) << "an emptied cell is no value";
}

TEST_F(TMeasurementsGridTest, APasteStoresAllItsFieldsOrNone) {
  const QLocale dutch(QLocale::Dutch, QLocale::Netherlands);
  const struct {
    const char* Name;
    QLocale Locale;
    int Left, Top;
    const char* Clipboard;
    const char* Message;       // "": none
    std::vector<double> Rows;  // L/2, rho of the rows from Top on; none: nothing pasted
  } cases[] = {
      {"BottomRowsDropTheOverflowAndSaySo", QLocale::c(), 0, 14, "1\t2\r\n3\t4\r\n5\t6\r\n",
       "1 of the pasted rows lies below the last row and was not pasted.", {1, 2, 3, 4}},
      {"LineFeedsAndNoLastLineEnd", QLocale::c(), 1, 1, "11\n\n12", "", {1.5, 11, 2, 12}},
      {"DecimalCommaOfTheLocale", dutch, 0, 3, "7,5\t8,25\r\n", "", {7.5, 8.25}},
      {"DecimalCommaElsewhere", QLocale::c(), 0, 3, "7,5\t8\r\n", "The selection contains 1 invalid value(s). Can not paste!", {}},
      {"EmptyFieldBetweenTabs", QLocale::c(), 0, 1, "1\t\t2", "The selection contains 1 invalid value(s). Can not paste!", {}},
      {"ZeroResistivity", QLocale::c(), 1, 1, "0", "The selection contains 1 invalid value(s). Can not paste!", {}},
      {"TwoBadFields", QLocale::c(), 0, 1, "abc\t-3\r\n5\t6", "The selection contains 2 invalid value(s). Can not paste!", {}},
  };
  const QLocale previous;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    LoadExample();
    Messages.Texts.clear();
    QLocale::setDefault(c.Locale);
    const std::string before = Tables(Document);
    SetClipboard(c.Clipboard);
    Select(*Measurements, c.Left, c.Top, c.Left, c.Top);
    Measurements->PasteFromClipboard();
    QLocale::setDefault(previous);
    EXPECT_EQ(Shown(), *c.Message ? QStringList{c.Message} : QStringList());
    EXPECT_EQ(Document.MeasurementCount, 15) << "a paste adds no rows";
    if (!c.Rows.empty()) {
      for (std::size_t k = 0; k < c.Rows.size() / 2; ++k) {
        const int row = c.Top + int(k);
        EXPECT_EQ(Document.HalfSpacing[row], c.Rows[2 * k]) << "row " << row;
        EXPECT_EQ(Document.ApparentRho[row], c.Rows[2 * k + 1]) << "row " << row;
        EXPECT_EQ(StrToFloatDot(Text(*Measurements, 1, row).toStdString()), c.Rows[2 * k + 1]) << "row " << row;
      }
    } else {
      EXPECT_EQ(Tables(Document), before);
      EXPECT_EQ(Text(*Measurements, 1, 1), "138.17") << "the cells are as they were";
      EXPECT_EQ(Changes, 0);
    }
  }
}

TEST_F(TMeasurementsGridTest, InsertAndDeleteGoThroughTheDocumentsRules) {
  LoadExample();
  const struct {
    const char* Name;
    TValueGrid* Grid;
    int Top, Bottom;
    bool Insert;
    const char* Refusal;
  } refusals[] = {
      {"FullTable", Measurements, 3, 3, true, "Can not insert measurement(s)! Maximum number of measurements is 15."},
      {"EveryMeasurement", Measurements, 1, 15, false, "Can not delete measurement(s)! Minimum number of measurements is 1."},
      {"TwoLayersMore", Model, 1, 2, true, "Can not insert layer(s)! Maximum number of layers is 4."},
      {"EveryLayer", Model, 1, 3, false, "Can not delete layer(s)! Minimum number of layers is 1."},
  };
  const std::string before = Tables(Document);
  for (const auto& c : refusals) {
    SCOPED_TRACE(c.Name);
    Messages.Texts.clear();
    Messages.Kinds.clear();
    Select(*c.Grid, 0, c.Top, 1, c.Bottom);
    c.Insert ? c.Grid->InsertRows() : c.Grid->DeleteRows();
    EXPECT_EQ(Shown(), QStringList{c.Refusal});
    EXPECT_EQ(Messages.Kinds, std::vector<TMessageKind>{TMessageKind::Warning});
  }
  EXPECT_EQ(Tables(Document), before);

  // Through the popup menus, whose captions name what they insert and delete.
  TMeasurementsGridPopupMenu* menu = Measurements->PopupMenu();
  EXPECT_EQ(menu->objectName(), "PopupMenu");
  EXPECT_EQ(menu->poDelete->text(), "Delete row(s)");
  emit menu->aboutToShow();
  emit Model->PopupMenu()->aboutToShow();
  EXPECT_EQ(QStringList({menu->poInsert->text(), menu->poDelete->text(), Model->PopupMenu()->poInsert->text(),
                         Model->PopupMenu()->poDelete->text()}),
            QStringList({"Insert measurement(s)", "Delete measurement(s)", "Insert layer(s)", "Delete layer(s)"}));
  QStringList captions;
  for (QAction* action : menu->actions()) captions << (action->isSeparator() ? "-" : action->text());
  EXPECT_EQ(captions, QStringList({"Cut", "Copy", "Paste", "-", "Insert measurement(s)", "Delete measurement(s)", "-",
                                   "Clear", "Select All"}));
  Select(*Measurements, 0, 9, 1, 10);
  menu->poDelete->trigger();
  EXPECT_EQ(Measurements->rowCount(), 13);
  EXPECT_EQ(Text(*Measurements, 0, 9), "15") << "the rows below moved up";
  Select(*Model, 1, 1, 1, 1);
  Model->PopupMenu()->poInsert->trigger();
  EXPECT_EQ(Model->rowCount(), 4);
  EXPECT_EQ(Text(*Model, 1, 1), "1.50") << "the new layer halves the first one";
}

}  // namespace
