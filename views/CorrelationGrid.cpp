#include "views/CorrelationGrid.h"

#include "document/ResondixData.h"

namespace {

constexpr int CorrelationColumnWidth = 40;
constexpr int NameColumnWidth = 96;
constexpr const char* Heading = "Correlation matrix";

}  // namespace

TCorrelationGrid::TCorrelationGrid(QWidget* parent) : TResultGrid(parent) {
  setAccessibleName(Heading);
  DefaultColumnWidth = CorrelationColumnWidth;
  SetGridSize(1, 2);
  SetPopupMenu(new TCorrelationGridPopupMenu(this));
}

void TCorrelationGrid::ShowOneCellForm() {
  SetGridSize(1, 2);
  SetColumnWidth(0, NameColumnWidth);
  SetCell(0, 0, Heading);
  SetCell(0, 1, QString());
}

void TCorrelationGrid::UpdateFromData() {
  // UnknownCount outlives a load; only a fit result says the covariance
  // belongs to the unknowns named.
  const int n = Data && Data->HasFitResult ? Data->LastFit.UnknownCount : 0;
  if (n == 0) {
    ShowOneCellForm();
    return;
  }
  SetGridSize(n + 1, n + 1);
  SetColumnWidth(0, NameColumnWidth);
  SetCell(0, 0, Heading);
  for (int k = 1; k <= n; ++k) {
    const QString name = Text(Data->ParameterNames[k]);
    SetCell(0, k, name);
    SetCell(k, 0, ColumnHeading(name));
    for (int j = 1; j <= n; ++j) SetCell(j, k, Text(Data->CorrelationText(k, j)));
  }
}

QString TCorrelationGrid::ColumnHeading(const QString& name) {
  return name.size() > 1 && name[1] == 'e' ? "Dth" + name.mid(5) : name;
}

Qt::Alignment TCorrelationGrid::CellAlignment(int column) const {
  return column == 0 ? Qt::AlignLeft : Qt::AlignRight;
}
