// What the grid tests share: both grids on one document in a window with one
// more control to take the focus, keys sent where the focus is (as a person
// typing, see chart/QtTestSupport.h), and the core's messages recorded.
#pragma once

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "document/NumberText.h"
#include "tests/TestSupport.h"
#include "tests/chart/QtTestSupport.h"
#include "views/MeasurementsGrid.h"
#include "views/ModelGrid.h"


class TGridTest : public ::testing::Test {
protected:
  TGridTest() {
    auto* layout = new QHBoxLayout(&Window);
    for (TValueGrid* grid : {static_cast<TValueGrid*>(Measurements), static_cast<TValueGrid*>(Model)}) {
      grid->SetData(&Document);
      layout->addWidget(grid);
    }
    layout->addWidget(Other);
    // As the window does: a change of structure rebuilds both grids.
    Document.OnChange = [this](TResondixData& d) {
      ++Changes;
      if (d.StructureChanged) {
        Measurements->RefreshFromData();
        Model->RefreshFromData();
      }
    };
    Window.resize(700, 500);
    Window.show();
    Window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Window));
  }

  // The example sounding: 15 measurements from (1.5, 138.17) and (2, 140.76)
  // on, layers 150 / 3, 30 / 20 and the half-space of 500.
  void LoadExample() {
    ASSERT_TRUE(Document.LoadFromFile(ExamplePath("three-layer-schlumberger.rxd")));
    Changes = 0;
  }

  // The open cell editor, or none.
  static TGridEditor* Editor() { return qobject_cast<TGridEditor*>(QApplication::focusWidget()); }

  static QString Text(const TValueGrid& grid, int column, int row) {
    return grid.item(row - 1, column)->text();
  }
  // The current cell as "column,row", rows counted from 1.
  static QString Current(const TValueGrid& grid) {
    return QString("%1,%2").arg(grid.currentColumn()).arg(grid.currentRow() + 1);
  }
  static void Focus(TValueGrid& grid, int column, int row) {
    grid.setFocus();
    grid.setCurrentCell(row - 1, column);
    QApplication::processEvents();
  }
  static void Select(TValueGrid& grid, int left, int top, int right, int bottom) {
    grid.setCurrentCell(top - 1, left);
    grid.clearSelection();
    grid.setRangeSelected(QTableWidgetSelectionRange(top - 1, left, bottom - 1, right), true);
  }
  static QString Clipboard() { return QGuiApplication::clipboard()->text(); }
  static void SetClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }

  QStringList Shown() const {
    QStringList texts;
    for (const std::string& text : Messages.Texts) texts << QString::fromStdString(text);
    return texts;
  }

  TResondixData Document;
  TMessageRecorder Messages;
  int Changes = 0;
  QWidget Window;
  TMeasurementsGrid* Measurements = new TMeasurementsGrid;
  TModelGrid* Model = new TModelGrid;
  QLineEdit* Other = new QLineEdit;
};
