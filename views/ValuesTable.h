// A read-only table of the measurements or of the layer model on a page of
// the main window: the values as the document holds them, in the grids'
// number forms (an empty cell for a value not entered, "-" for the
// half-space depth). Editing arrives with the editable grids.
#pragma once

#include <QTableWidget>

class TResondixData;

class TValuesTable : public QTableWidget {
  Q_OBJECT

public:
  TValuesTable(const TResondixData& data, bool isModel, QWidget* parent = nullptr);

  // Rebuilds the rows and every cell from the document.
  void RefreshFromData();
  // Makes the data row (counted from 1) current, without a signal when it
  // already is.
  void SetRow(int row);
  // The two columns share the width: (client width - 1) / 2 each.
  void FitColumns();

protected:
  void resizeEvent(QResizeEvent* event) override;

signals:
  // The user made a data row current (counted from 1).
  void RowSelected(int row);

private:
  const TResondixData& Data;
  const bool IsModel;
};
