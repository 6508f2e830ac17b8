#include "views/MisfitGrid.h"

#include "document/NumberText.h"
#include "document/ResondixData.h"

namespace {

constexpr int Columns = 4;

}  // namespace

TMisfitGrid::TMisfitGrid(QWidget* parent) : TResultGrid(parent) {
  setAccessibleName("Misfit of the measurements");
  SetGridSize(Columns, 1);
  SetCell(0, 0, "L/2");
  SetCell(1, 0, "Measured");
  SetCell(2, 0, "Model");
  SetCell(3, 0, "Misfit %");
  SetPopupMenu(new TMisfitGridPopupMenu(this));
}

void TMisfitGrid::UpdateFromData() {
  if (!Data) return;
  const TResondixData& d = *Data;
  const TFitDiagnostics& diagnostics = d.FitDiagnostics;
  setVisible(d.HasFitResult);
  if (!d.HasFitResult) return;
  const int rows = diagnostics.MeasurementCount;
  if (rowCount() != rows + 1) SetGridSize(Columns, rows + 1);
  for (int i = 1; i <= rows; ++i) {
    const double misfit = diagnostics.MisfitPercent[i];
    SetCell(0, i, Text(FormatFixed2Local(d.HalfSpacing[i])));
    SetCell(1, i, Text(FormatFixed2Local(d.ApparentRho[i])));
    SetCell(2, i, Text(FormatFixed2Local(d.ApparentRho[i] * (1 + misfit / 100))));
    SetCell(3, i, Text(FormatFixed2Local(misfit)));
  }
}

Qt::Alignment TMisfitGrid::CellAlignment(int) const { return Qt::AlignRight; }
