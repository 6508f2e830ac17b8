#include "ValuesTable.h"

#include <QHeaderView>

#include "NumberText.h"
#include "ResondixData.h"

namespace {

constexpr int RowHeight = 24;

QString MeasurementText(double value) {
  return value == 0 ? QString() : QString::fromStdString(FormatGeneral(value));
}

QString ModelText(double value) { return value == 0 ? QString() : QString::fromStdString(FormatFixed2(value)); }

}  // namespace

TValuesTable::TValuesTable(const TResondixData& data, bool isModel, QWidget* parent)
    : QTableWidget(parent), Data(data), IsModel(isModel) {
  setColumnCount(2);
  setHorizontalHeaderLabels(isModel ? QStringList{"Rho", "Depth"} : QStringList{"L/2", "Rho"});
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(RowHeight);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setTabKeyNavigation(false);
  connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int, int previousRow, int) {
    if (row >= 0 && row != previousRow) emit RowSelected(row + 1);
  });
  connect(this, &QTableWidget::cellClicked, this, [this](int row, int) { emit RowSelected(row + 1); });
}

void TValuesTable::RefreshFromData() {
  const int count = IsModel ? Data.LayerCount : Data.MeasurementCount;
  const int current = currentRow();
  const QSignalBlocker blocker(this);
  setRowCount(count);
  for (int i = 1; i <= count; ++i) {
    QString first, second;
    if (IsModel) {
      first = ModelText(Data.LayerRho[i]);
      second = i == count ? QStringLiteral("-") : ModelText(Data.LayerDepth[i]);
    } else {
      first = MeasurementText(Data.HalfSpacing[i]);
      second = MeasurementText(Data.ApparentRho[i]);
    }
    for (int column = 0; column < 2; ++column) {
      auto* item = new QTableWidgetItem(column == 0 ? first : second);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      setItem(i - 1, column, item);
    }
  }
  setCurrentCell(std::clamp(current, 0, count - 1), std::max(currentColumn(), 0));
}

void TValuesTable::SetRow(int row) {
  if (row < 1 || row > rowCount() || row - 1 == currentRow()) return;
  setCurrentCell(row - 1, std::max(currentColumn(), 0));
}

void TValuesTable::FitColumns() {
  const int width = (viewport()->width() - 1) / 2;
  setColumnWidth(0, width);
  setColumnWidth(1, width);
}

void TValuesTable::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  FitColumns();
}
