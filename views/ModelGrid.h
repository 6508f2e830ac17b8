// TModelGrid: the editable table of the layered-earth model on the main
// window's Model page: per layer its resistivity ("Rho") and the depth of its
// bottom ("Depth"), and in each of these cells a check box that marks the
// value as an unknown of the fit.
//
// It is a TValueGrid, as TMeasurementsGrid is, on the document's layer
// arrays and layer rules. What the measurements do not have: values in the
// fixed form with two decimals; the half-space's depth shows "-" and can
// neither be edited nor pasted into; the check boxes are drawn at the right
// of each value cell in the platform's check-box look and are toggled by a
// press on the box, by the space bar or by a letter key (which therefore
// never opens the editor; digits do). A toggle writes RhoUnknown or
// DepthUnknown directly: the fit reads them when it starts, and they are not
// part of the saved file, so the document is not notified and stays as
// saved or unsaved as it was.
#pragma once

#include "views/ValueGrid.h"

class TModelGrid : public TValueGrid {
  Q_OBJECT

public:
  explicit TModelGrid(QWidget* parent = nullptr);

  QString InsertCaption() const override { return QStringLiteral("Insert layer(s)"); }
  QString DeleteCaption() const override { return QStringLiteral("Delete layer(s)"); }
  const char* LastRowName() const override { return "the last layer"; }

  // The cell has a check box: a value cell of the model, with a document.
  bool HasCheckBox(int column, int row) const;
  // The flag behind a cell's check box.
  bool IsUnknown(int column, int row) const;
  // Inverts the flag of a cell with a check box and redraws it.
  void ToggleUnknown(int column, int row);
  // Where the check box of a cell is drawn.
  QRect CheckBoxRect(const QModelIndex& index) const;

protected:
  int DataRowCount() const override { return Data->LayerCount; }
  QString ValueText(int column, int row) const override;
  std::string ValueRefusal(int column, int row, double value) const override {
    return Data->ValueRefusal(column, row, true, value);
  }
  void StoreValue(int column, int row, double value) override { Data->SetValue(column, row, true, value); }
  TEditOutcome InsertDataRows(int first, int count) override { return Data->InsertLayers(first, count); }
  TEditOutcome DeleteDataRows(int first, int count) override { return Data->DeleteLayers(first, count); }
  bool IsValueCell(int column, int row) const override;
  Qt::ItemFlags ExtraFlags() const override { return Qt::ItemIsUserCheckable; }
  void DrawCell(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QRect EditorRect(const QModelIndex& index) const override;
  int RefusedTogether() override;

  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
  // The check box's size in the platform's look.
  QSize CheckBoxSize() const;
  // A press at point on a check box: its cell, else an invalid index.
  QModelIndex CheckBoxAt(const QPoint& point) const;
  // A press on a check box: the cell becomes current as for any press (the
  // edit there is stored first) without opening the editor, and its box
  // toggles when it did become current. False for a press elsewhere.
  bool PressCheckBox(QMouseEvent* event);
};
