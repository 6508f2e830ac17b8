#include "views/MeasurementsGrid.h"

#include "document/NumberText.h"

TMeasurementsGrid::TMeasurementsGrid(QWidget* parent)
    : TValueGrid({QStringLiteral("L/2"), QStringLiteral("Rho")}, QStringLiteral("Measurements"), nullptr, parent) {
  SetRows(MaxMeasurements);
}

QString TMeasurementsGrid::ValueText(int column, int row) const {
  const double value = column == 0 ? Data->HalfSpacing[row] : Data->ApparentRho[row];
  return value == 0 ? QString() : QString::fromStdString(FormatGeneral(value));
}
