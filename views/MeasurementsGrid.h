// TMeasurementsGrid: the editable table of the sounding's measurements on
// the main window's Measurements page: per measurement its half spacing
// ("L/2") and apparent resistivity ("Rho"), in the general number form, an
// empty cell for a value not entered. Everything it shares with the model
// grid (editing, clipboard, popup menu) is TValueGrid.
#pragma once

#include "views/ValueGrid.h"

class TMeasurementsGrid : public TValueGrid {
  Q_OBJECT

public:
  explicit TMeasurementsGrid(QWidget* parent = nullptr);

  QString InsertCaption() const override { return QStringLiteral("Insert measurement(s)"); }
  QString DeleteCaption() const override { return QStringLiteral("Delete measurement(s)"); }
  const char* LastRowName() const override { return "the last row"; }

protected:
  int DataRowCount() const override { return Data->MeasurementCount; }
  QString ValueText(int column, int row) const override;
  std::string ValueRefusal(int column, int row, double value) const override {
    return Data->ValueRefusal(column, row, false, value);
  }
  void StoreValue(int column, int row, double value) override { Data->SetValue(column, row, false, value); }
  TEditOutcome InsertDataRows(int first, int count) override { return Data->InsertMeasurements(first, count); }
  TEditOutcome DeleteDataRows(int first, int count) override { return Data->DeleteMeasurements(first, count); }
};
