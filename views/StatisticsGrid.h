// TStatisticsGrid: the fitted parameters of the layers with their
// uncertainty, or the RMSE of the fit.
//
// In its parameter form (RMSE false) the grid has the heading row and one
// row per layer: resistivity, its uncertainty, the depth of the layer's
// bottom, its uncertainty; the half-space has no depth. The uncertainty is
// the percentage the fit statistics wrote, or their interval when AbsStats
// is set, and "fixed" for a value that was not an unknown. In its RMSE form
// (RMSE true) it has two columns, "RMSE" and "log unit", and shows the RMSE
// of the last fit; before any fit it hides itself.
//
// Values are written in the user's decimal separator: layer values with two
// decimals, the RMSE in the scientific form with five significant digits.
#pragma once

#include <string_view>

#include "views/ResultGrid.h"

class TStatisticsGrid : public TResultGrid {
  Q_OBJECT
  Q_PROPERTY(bool AbsStats READ AbsStats WRITE SetAbsStats)
  Q_PROPERTY(bool RMSE READ RMSE WRITE SetRMSE)

public:
  explicit TStatisticsGrid(QWidget* parent = nullptr);

  bool AbsStats() const { return ShowsIntervals; }
  void SetAbsStats(bool absStats);
  bool RMSE() const { return ShowsRmse; }
  void SetRMSE(bool rmse);

  // The heading row (and in the RMSE form the whole grid) for the form the
  // two switches choose.
  void UpdateHeadings();
  void UpdateFromData() override;
  // Every cell right-aligned, except the "RMSE" labels of the RMSE form.
  Qt::Alignment CellAlignment(int column) const override;

private:
  void UpdateRmse();
  void UpdateParameters();
  // The uncertainty cell of a value: its statistics text when it was an
  // unknown, "fixed" otherwise.
  QString Uncertainty(bool unknown, std::string_view interval, std::string_view percent) const;

  bool ShowsIntervals = false;
  bool ShowsRmse = false;
};

class TStatisticsGridPopupMenu : public TResultGridPopupMenu {
  Q_OBJECT

public:
  using TResultGridPopupMenu::TResultGridPopupMenu;
};
