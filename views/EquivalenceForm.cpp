#include "views/EquivalenceForm.h"

#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "document/NumberText.h"
#include "document/ResondixData.h"
#include "engine/Equivalence.h"
#include "views/ResultGrid.h"
#include "views/ResultWindow.h"

namespace {

const QString ChangedText =
    QStringLiteral("The model has changed.\nChoose Data > Equivalence... to analyse it again.");
// Beside the result windows, unless the screen has room beside the main
// window.
const QPoint DesignPosition(720, 240);
// Between the main window's frame and this one, when it goes beside it.
constexpr int OwnerGap = 8;
const QStringList ParameterHeadings = {"Parameter", "Value", "Lowest", "Highest"};
const QStringList LayerHeadings = {"Layer", "Thickness", "Thickness range", "S", "S range", "T", "T range"};

// Four significant digits, for figures that are often far below 1 (the
// conductances).
QString Figures(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4g", value);
  return QString(buffer).replace('.', QString::fromStdString(DecimalSeparator()));
}

// Two decimals as in the model grid, and significant digits below 1, where
// two decimals would leave little or nothing of a value.
QString Fixed2(double value) {
  return std::fabs(value) >= 1 ? QString::fromStdString(FormatFixed2Local(value)) : Figures(value);
}

QString RangeText(const TValueRange& range, QString (*format)(double)) {
  return format(range.Lower) + " - " + format(range.Upper);
}

}  // namespace

// A read-only grid of the result windows' kind (Copy, Select All, its
// context menu) whose heading row and rows the window hands it whole; each
// column as wide as its widest text.
class TEquivalenceGrid : public TResultGrid {
public:
  TEquivalenceGrid(QWidget* owner, const char* name, const QString& accessibleName, const QStringList& headings)
      : TResultGrid(owner), Headings(headings) {
    setObjectName(name);
    setAccessibleName(accessibleName);
    SetPopupMenu(new TResultGridPopupMenu(this));
    Fill({});
  }

  void Fill(const QVector<QStringList>& rows) {
    SetGridSize(Headings.size(), rows.size() + 1);
    const QFontMetrics metrics(font());
    for (int column = 0; column < Headings.size(); ++column) {
      int width = metrics.horizontalAdvance(Headings[column]);
      SetCell(column, 0, Headings[column]);
      for (int row = 0; row < rows.size(); ++row) {
        SetCell(column, row + 1, rows[row].value(column));
        width = std::max(width, metrics.horizontalAdvance(rows[row].value(column)));
      }
      SetColumnWidth(column, width + CellTextMargins);
    }
    setFixedSize(NaturalSize());
  }

  // The window fills the grid; there is nothing to read from a document.
  void UpdateFromData() override {}
  Qt::Alignment CellAlignment(int column) const override { return column == 0 ? Qt::AlignLeft : Qt::AlignRight; }

private:
  // Room beside a cell's text: the grid's margins on both sides.
  static constexpr int CellTextMargins = 10;
  QStringList Headings;
};

TEquivalenceForm::TEquivalenceForm(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint), Analysis(std::make_unique<TEquivalence>()) {
  setObjectName("EquivalenceForm");
  setWindowTitle("Equivalence");
  setBackgroundRole(QPalette::Window);
  setFont(DialogFont());
  move(DesignPosition);
  Summary = new QLabel(this);
  Summary->setObjectName("EquivalenceSummary");
  ParametersGrid = new TEquivalenceGrid(this, "EquivalenceGrid", "Equivalent ranges", ParameterHeadings);
  LayersGrid = new TEquivalenceGrid(this, "DarZarroukGrid", "Dar Zarrouk figures", LayerHeadings);
  Totals = new QLabel(this);
  Totals->setObjectName("DarZarroukTotals");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(3);
  for (QWidget* part : {static_cast<QWidget*>(Summary), static_cast<QWidget*>(ParametersGrid),
                        static_cast<QWidget*>(LayersGrid), static_cast<QWidget*>(Totals)})
    layout->addWidget(part, 0, Qt::AlignLeft);
  Clear();
  hide();
}

TEquivalenceForm::~TEquivalenceForm() = default;

std::string TEquivalenceForm::Analyse(const TResondixData& document) {
  if (std::string refusal = document.AnalyseEquivalence({}, *Analysis); !refusal.empty()) return refusal;
  HasAnalysis = true;
  const TEquivalence& e = *Analysis;
  Summary->setText(QString("RMSE of the model: %1 log unit.\n"
                           "Equivalent: an RMSE of at most %2 log unit (%3 % above it plus %4).\n"
                           "Equivalent models found: %5. A range marked with \u2264 or \u2265 goes on beyond the "
                           "search.")
                       .arg(Figures(e.Rmse), Figures(e.Threshold), Figures(100 * e.Tolerance.Relative),
                            Figures(e.Tolerance.Absolute))
                       .arg(e.ModelCount));
  FillParameters();
  FillLayers();
  adjustSize();
  if (!std::exchange(Placed, true)) PlaceBesideOwner();
  show();
  raise();
  ModelsChanged();
  return {};
}

void TEquivalenceForm::PlaceBesideOwner() {
  const QWidget* owner = parentWidget();
  if (owner == nullptr || owner->screen() == nullptr) return;
  const QRect frame = owner->frameGeometry();
  const QRect screen = owner->screen()->availableGeometry();
  const int width = frameGeometry().width();
  if (frame.right() + OwnerGap + width <= screen.right())
    move(frame.right() + OwnerGap, frame.top());
  else if (frame.left() - OwnerGap - width >= screen.left())
    move(frame.left() - OwnerGap - width, frame.top());
}

void TEquivalenceForm::FillParameters() {
  const TEquivalence& e = *Analysis;
  QVector<QStringList> rows;
  for (int k = 1; k <= e.ParameterCount; ++k) {
    const TParameterRange& p = e.Parameters[k];
    rows.append({QString::fromStdString(UnknownName(p.IsDepth, p.Layer).str()), Fixed2(p.Value),
                 (p.LowerOpen ? "\u2264 " : "") + Fixed2(p.Range.Lower),
                 (p.UpperOpen ? "\u2265 " : "") + Fixed2(p.Range.Upper)});
  }
  ParametersGrid->Fill(rows);
}

void TEquivalenceForm::FillLayers() {
  const TEquivalence& e = *Analysis;
  const TDarZarrouk& z = e.DarZarrouk;
  QVector<QStringList> rows;
  for (int i = 1; i <= z.LayerCount; ++i) {
    const TDarZarroukLayer& layer = z.Layers[i];
    rows.append({QString::number(i), Fixed2(layer.Thickness), RangeText(e.ThicknessRange[i], Fixed2),
                 Figures(layer.S), RangeText(e.SRange[i], Figures), Fixed2(layer.T), RangeText(e.TRange[i], Fixed2)});
  }
  rows.append({"Total", Fixed2(z.Thickness), "", Figures(z.S), "", Fixed2(z.T), ""});
  LayersGrid->Fill(rows);
  Totals->setText(z.LayerCount == 0 ? QString()
                                    : QString("Mean longitudinal resistivity H/S: %1 ohm\u00b7m\n"
                                              "Mean transverse resistivity T/H: %2 ohm\u00b7m\n"
                                              "Coefficient of anisotropy: %3")
                                          .arg(Fixed2(z.LongitudinalRho), Fixed2(z.TransverseRho),
                                               Fixed2(z.Anisotropy)));
}

void TEquivalenceForm::Clear() {
  const bool hadModels = ModelCount() > 0;
  HasAnalysis = false;
  Summary->setText(ChangedText);
  ParametersGrid->Fill({});
  LayersGrid->Fill({});
  Totals->clear();
  if (hadModels) ModelsChanged();
}

const TLayerModel* TEquivalenceForm::Models() const { return ModelCount() > 0 ? &Analysis->Models[1] : nullptr; }

int TEquivalenceForm::ModelCount() const { return HasAnalysis && isVisible() ? Analysis->ModelCount : 0; }

void TEquivalenceForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  ModelsChanged();
}

void TEquivalenceForm::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  ModelsChanged();
}

void TEquivalenceForm::ModelsChanged() {
  if (OnModelsChanged) OnModelsChanged();
}
