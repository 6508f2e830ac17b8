#include "views/StatisticsGrid.h"

#include "document/NumberText.h"
#include "document/ResondixData.h"

namespace {

constexpr int ParameterColumns = 4;
constexpr int RmseCells = 2;

}  // namespace

TStatisticsGrid::TStatisticsGrid(QWidget* parent) : TResultGrid(parent) {
  setAccessibleName("Fitted parameters");
  SetGridSize(ParameterColumns, 2);
  UpdateHeadings();
  SetPopupMenu(new TStatisticsGridPopupMenu(this));
}

void TStatisticsGrid::SetAbsStats(bool absStats) {
  ShowsIntervals = absStats;
  UpdateHeadings();
}

void TStatisticsGrid::SetRMSE(bool rmse) {
  ShowsRmse = rmse;
  setAccessibleName(rmse ? "RMSE" : "Fitted parameters");
  UpdateHeadings();
}

void TStatisticsGrid::UpdateHeadings() {
  if (ShowsRmse) {
    SetGridSize(RmseCells, RmseCells);
    SetCell(0, 0, "RMSE");
    SetCell(1, 0, "log unit");
    SetCell(0, 1, "RMSE");
    SetCell(1, 1, QString());
    return;
  }
  // The RMSE form's cells are no parameters: they go with it.
  if (columnCount() != ParameterColumns) {
    clearContents();
    SetGridSize(ParameterColumns, rowCount());
  }
  const QString uncertainty = ShowsIntervals ? "Interval" : "%";
  SetCell(0, 0, "Rho");
  SetCell(1, 0, uncertainty);
  SetCell(2, 0, "Depth");
  SetCell(3, 0, uncertainty);
}

void TStatisticsGrid::UpdateFromData() {
  if (!Data) return;
  if (ShowsRmse) UpdateRmse();
  else UpdateParameters();
}

void TStatisticsGrid::UpdateRmse() {
  setVisible(Data->HasFitResult);
  if (!Data->HasFitResult) return;
  const int last = rowCount() - 1;
  SetCell(0, last, "RMSE");
  SetCell(1, last, Text(FormatScientificLocal(Data->Rmse)));
}

void TStatisticsGrid::UpdateParameters() {
  const TResondixData& d = *Data;
  const int layers = d.LayerCount;
  if (rowCount() != layers + 1) SetGridSize(ParameterColumns, layers + 1);
  for (int i = 1; i <= layers; ++i) {
    SetCell(0, i, Text(FormatFixed2Local(d.LayerRho[i])));
    SetCell(1, i, Uncertainty(d.RhoUnknown[i], d.RhoIntervalText[i], d.RhoPercentText[i]));
    const bool halfSpace = i == layers;
    SetCell(2, i, halfSpace ? QString() : Text(FormatFixed2Local(d.LayerDepth[i])));
    SetCell(3, i,
            halfSpace ? QString()
                      : Uncertainty(d.DepthUnknown[i], d.DepthIntervalText[i], d.DepthPercentText[i]));
  }
}

QString TStatisticsGrid::Uncertainty(bool unknown, std::string_view interval, std::string_view percent) const {
  if (!unknown) return "fixed";
  return Text(ShowsIntervals ? interval : percent);
}

Qt::Alignment TStatisticsGrid::CellAlignment(int column) const {
  return ShowsRmse && column == 0 ? Qt::AlignLeft : Qt::AlignRight;
}
