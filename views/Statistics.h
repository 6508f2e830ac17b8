// TStatisticsForm: the Statistics window, a tool window that stays on top of
// the main window and shows the fitted parameters with their uncertainty
// intervals, the RMSE and the correlation matrix. It is made hidden at
// start-up and shown by View > Statistics.
//
// Its three grids are stacked in GridLayout.
#pragma once

#include <QWidget>

class QVBoxLayout;

class TStatisticsForm : public QWidget {
  Q_OBJECT

public:
  explicit TStatisticsForm(QWidget* owner);

  // Where the statistics grids are stacked, top to bottom.
  QVBoxLayout* GridLayout = nullptr;
};
