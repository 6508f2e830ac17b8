#include "chart/ReportPage.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

#include "chart/ReportStyle.h"
#include "chart/SectionDrawing.h"
#include "document/NumberText.h"
#include "document/ResondixData.h"
#include "engine/Equivalence.h"

namespace {

// Units of 1/96 inch: the page's margin (15 mm, to a whole unit, so that
// the lines along it do not blur into it), the room between blocks, below a
// block's title and between the heading's two columns.
const double PageMargin = std::ceil(15 / 25.4 * ReportDotsPerInch);
constexpr double BlockGap = 14;
constexpr double TitleGap = 3;
constexpr double ColumnGap = 18;
constexpr double LabelGap = 6;
// Table cells: the room around their texts, and the smallest print a table
// takes to fit the page's width.
constexpr double CellPadding = 4;
constexpr double RowPadding = 1.5;
constexpr double SmallestTablePoints = 6;
constexpr double TablePointStep = 0.5;
// The measurements' table takes at most this part of the width beside the
// chart.
constexpr double MeasurementTableShare = 0.45;

// Figures are written plainly from 10^-PlainMagnitudeLimit to
// 10^(PlainMagnitudeLimit + 1), in powers of ten beyond.
constexpr int PlainMagnitudeLimit = 8;

const QColor HeadingShade(236, 236, 236);
const QColor RuleColour(90, 90, 90);

// Inside the margins; the right and bottom ones, as the left and top, end
// on a whole unit.
QRectF ContentOf(QSizeF page) {
  return QRectF(QPointF(PageMargin, PageMargin),
                QPointF(std::floor(page.width() - PageMargin), std::floor(page.height() - PageMargin)));
}

QString Dash() { return QString::fromUtf8("\u2013"); }

QString Text(const std::string& text) { return QString::fromStdString(text).trimmed(); }

// --- Texts on the page ---------------------------------------------------

// text in lines no wider than width, broken between words where it can.
QStringList WrapLines(const QString& text, const QFont& font, QPaintDevice* device, double width) {
  QStringList lines;
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  QTextLayout layout(text, font, device);
  layout.setTextOption(option);
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(std::max(width, 1.0));
    lines << text.mid(line.textStart(), line.textLength()).trimmed();
  }
  layout.endLayout();
  if (lines.isEmpty()) lines << QString();
  return lines;
}

// Lines from top down at left, in font; returns the height they took.
double DrawLines(QPainter& painter, const QFont& font, double left, double top, const QStringList& lines) {
  painter.setFont(font);
  const QFontMetricsF metrics(font, painter.device());
  for (int i = 0; i < lines.size(); ++i)
    painter.drawText(QPointF(left, top + i * metrics.lineSpacing() + metrics.ascent()), lines[i]);
  return lines.size() * metrics.lineSpacing();
}

double LinesHeight(QPainter& painter, const QFont& font, int lines) {
  return lines * QFontMetricsF(font, painter.device()).lineSpacing();
}

QFont TitleFont() { return ReportFont(ReportHeadingPoints, true); }

// A block's title; returns the height it took with the gap below it.
double DrawBlockTitle(QPainter& painter, const QString& title, QPointF at) {
  return DrawLines(painter, TitleFont(), at.x(), at.y(), {title}) + TitleGap;
}

double BlockTitleHeight(QPainter& painter) { return LinesHeight(painter, TitleFont(), 1) + TitleGap; }

void DrawRule(QPainter& painter, double left, double right, double y, double width = 0.8) {
  painter.setPen(QPen(RuleColour, width, Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(QPointF(left, y), QPointF(right, y));
}

// --- Tables ---------------------------------------------------------------

// A table of texts: a shaded heading whose cells may have several lines
// ("\n"), rows of single-line cells, the first column left-aligned and the
// others right-aligned, a rule above a last row of totals. Fit() chooses
// the print and the column widths, Draw() draws it from a top-left corner.
class TTable {
public:
  TTable(const QStringList& heading, const std::vector<QStringList>& rows, bool totals)
      : Heading(heading), Rows(rows), Totals(totals) {}

  // The widths the texts need in the largest print up to the table's own
  // that fits within width; stretched to width when asked.
  void Fit(QPainter& painter, double width, bool stretch) {
    for (Points = ReportSmallPoints; Points > SmallestTablePoints; Points -= TablePointStep)
      if (NaturalWidth(painter) <= width) break;
    const double natural = NaturalWidth(painter);
    if (stretch && natural < width)
      for (double& w : Widths) w += (width - natural) / Widths.size();
  }

  double Width() const {
    double sum = 0;
    for (double w : Widths) sum += w;
    return sum;
  }
  double Height() const { return HeadingHeight + Rows.size() * RowHeight; }

  void Draw(QPainter& painter, QPointF topLeft) const {
    const QFont font = ReportFont(Points);
    const QFont bold = ReportFont(Points, true);
    const QFontMetricsF metrics(font, painter.device());
    const double right = topLeft.x() + Width();
    painter.fillRect(QRectF(topLeft, QSizeF(Width(), HeadingHeight)), HeadingShade);
    double x = topLeft.x();
    for (int c = 0; c < Heading.size(); ++c) {
      const QStringList lines = Heading[c].split('\n');
      double y = topLeft.y() + RowPadding;
      painter.setFont(bold);
      const QFontMetricsF boldMetrics(bold, painter.device());
      painter.setPen(Qt::black);
      for (const QString& line : lines) {
        painter.drawText(QPointF(CellLeft(x, c, boldMetrics.horizontalAdvance(line)), y + boldMetrics.ascent()), line);
        y += boldMetrics.lineSpacing();
      }
      x += Widths[c];
    }
    DrawRule(painter, topLeft.x(), right, topLeft.y());
    DrawRule(painter, topLeft.x(), right, topLeft.y() + HeadingHeight);
    painter.setFont(font);
    for (std::size_t r = 0; r < Rows.size(); ++r) {
      const double top = topLeft.y() + HeadingHeight + r * RowHeight;
      if (Totals && r + 1 == Rows.size()) DrawRule(painter, topLeft.x(), right, top, 0.5);
      painter.setPen(Qt::black);
      x = topLeft.x();
      for (int c = 0; c < Rows[r].size() && c < static_cast<int>(Widths.size()); ++c) {
        const QString& cell = Rows[r][c];
        painter.drawText(QPointF(CellLeft(x, c, metrics.horizontalAdvance(cell)), top + RowPadding + metrics.ascent()),
                         cell);
        x += Widths[c];
      }
    }
    DrawRule(painter, topLeft.x(), right, topLeft.y() + Height());
  }

private:
  double CellLeft(double columnLeft, int column, double textWidth) const {
    return column == 0 ? columnLeft + CellPadding : columnLeft + Widths[column] - CellPadding - textWidth;
  }

  // The widths and heights in the current print.
  double NaturalWidth(QPainter& painter) {
    const QFontMetricsF metrics(ReportFont(Points), painter.device());
    const QFontMetricsF bold(ReportFont(Points, true), painter.device());
    Widths.assign(Heading.size(), 0);
    int headingLines = 1;
    for (int c = 0; c < Heading.size(); ++c) {
      const QStringList lines = Heading[c].split('\n');
      headingLines = std::max(headingLines, int(lines.size()));
      for (const QString& line : lines) Widths[c] = std::max(Widths[c], bold.horizontalAdvance(line));
      for (const QStringList& row : Rows)
        if (c < row.size()) Widths[c] = std::max(Widths[c], metrics.horizontalAdvance(row[c]));
      Widths[c] += 2 * CellPadding;
    }
    HeadingHeight = headingLines * bold.lineSpacing() + 2 * RowPadding;
    RowHeight = metrics.lineSpacing() + 2 * RowPadding;
    return Width();
  }

  const QStringList& Heading;
  const std::vector<QStringList>& Rows;
  bool Totals;
  double Points = ReportSmallPoints;
  std::vector<double> Widths;
  double HeadingHeight = 0;
  double RowHeight = 0;
};

}  // namespace

// --- Paper -------------------------------------------------------------------

QPageLayout ReportPageLayout(TPaper paper, QPageLayout::Orientation orientation) {
  const QPageSize size(paper == TPaper::Letter ? QPageSize::Letter : QPageSize::A4);
  return QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0));
}

QSizeF ReportPageSize(const QPageLayout& layout) {
  return layout.fullRectPoints().size() * (double(ReportDotsPerInch) / 72);
}

// --- Content -------------------------------------------------------------------

QString ReportNumber(double value, int significant) {
  if (!std::isfinite(value)) return QStringLiteral("-");
  if (value == 0) return QStringLiteral("0");
  const int magnitude = static_cast<int>(std::floor(std::log10(std::abs(value))));
  // Beyond what a sounding measures the digits would fill the page.
  if (magnitude < -PlainMagnitudeLimit || magnitude > PlainMagnitudeLimit)
    return QString::number(value, 'g', significant);
  return QString::number(value, 'f', std::max(significant - 1 - magnitude, 0));
}

namespace {

// Whether the last fit left the layers as they stand: its status, unknowns
// and uncertainties describe them. An edit of a layer since makes them
// those of another model.
bool FitMadeModel(const TResondixData& d) { return d.HasFitResult && d.LastFit.Model == d.Layers(); }

QString StatusWords(int status) {
  switch (status) {
    case 0: return QStringLiteral("converged");
    case 1: return QStringLiteral("no solution (improve the starting model)");
    case 2: return QStringLiteral("stopped: a parameter left its admissible range");
    case 4: return QStringLiteral("stopped after too many rejected steps in a row");
  }
  return QStringLiteral("status %1").arg(status);
}

}  // namespace

TReportDiagnostics ReportDiagnostics(const TResondixData& d) {
  TReportDiagnostics diagnostics;
  for (int i = 1; i <= MaxMeasurements; ++i) diagnostics.MisfitPercent[i] = NAN;
  if (d.ModelValid) {
    const TFitDiagnostics model = DiagnoseFit(d.Sounding(), d.Layers(), d.CurveSettings(), {}, nullptr);
    for (int i = 1; i <= d.MeasurementCount; ++i)
      if (IsPlottable(d.HalfSpacing[i], d.ApparentRho[i])) diagnostics.MisfitPercent[i] = model.MisfitPercent[i];
  }
  if (!FitMadeModel(d)) return diagnostics;
  switch (static_cast<int>(d.FitStatus)) {
    case 0:
      if (d.LastFit.UnknownCount >= d.MeasurementCount)
        diagnostics.Warnings.push_back("As many unknowns as measurements: the fit leaves nothing to estimate "
                                       "the uncertainties from.");
      break;
    case 1:
      diagnostics.Warnings.push_back("The fit found no solution; the layers are where it stopped. Improve the "
                                     "starting model and fit again.");
      break;
    case 2:
      diagnostics.Warnings.push_back("The fit stopped: a parameter left its admissible range. The layers are "
                                     "where it stopped.");
      break;
    case 4:
      diagnostics.Warnings.push_back("The fit stopped after too many rejected steps in a row; a better model "
                                     "may exist.");
      break;
  }
  for (std::string& warning : d.FitWarnings(TAdviceFor::Report)) diagnostics.Warnings.push_back(std::move(warning));
  return diagnostics;
}

namespace {

// An entered value (0 is a value not entered) as the report writes it.
QString Entered(double value) { return value == 0 ? QString() : ReportNumber(value); }

void AddDetails(TReportTexts& t, const TResondixData& d, const QString& fileName) {
  const auto value = [](const TInfoText& info) {
    const QString text = Text(info.str());
    return text.isEmpty() ? Dash() : text;
  };
  const QString file = QFileInfo(fileName).fileName();
  // Row by row, the left column then the right.
  t.Details = {{QStringLiteral("Project"), value(d.ProjectName())},
               {QStringLiteral("Date"), value(d.ProjectDate())},
               {QStringLiteral("Location"), value(d.ProjectLocation())},
               {QStringLiteral("Configuration"), QString::fromLatin1(ConfigurationName(d.IsSchlumberger))},
               {QStringLiteral("Position"), value(d.SoundingPosition())},
               {QStringLiteral("AB length"), value(d.ABLength())},
               {QStringLiteral("Direction"), value(d.SoundingDirection())},
               {QStringLiteral("File"), file.isEmpty() ? Dash() : file}};
  if (!Text(d.Remarks().str()).isEmpty()) t.Details.emplace_back(QStringLiteral("Remarks"), value(d.Remarks()));
}

// A measured value as entered; empty where none was (0, or a value that is
// not a number).
QString Measured(double value) {
  return value > 0 && std::isfinite(value) ? QString::fromStdString(FormatGeneral(value)) : QString();
}

// A misfit in percent to a tenth, signed; one that rounds to nothing has no
// sign.
QString MisfitText(double percent) {
  const QString text = QString::asprintf("%+.1f", percent);
  return text.mid(1) == QLatin1String("0.0") ? text.mid(1) : text;
}

void AddMeasurements(TReportTexts& t, const TResondixData& d, const TReportDiagnostics& diagnostics) {
  t.MeasurementHeading = {QStringLiteral("No."),
                          d.IsSchlumberger ? QStringLiteral("AB/2\n(m)") : QStringLiteral("a\n(m)"),
                          QString::fromUtf8("Measured\n(\u03a9\u00b7m)"), QString::fromUtf8("Model\n(\u03a9\u00b7m)"),
                          QStringLiteral("Misfit\n(%)")};
  TModelCurve curve;
  if (d.ModelValid) curve.Compute(d.Layers(), d.CurveSettings());
  for (int i = 1; i <= d.MeasurementCount; ++i) {
    const double misfit = diagnostics.MisfitPercent[i];
    const bool known = std::isfinite(misfit);
    t.MeasurementRows.push_back(
        {QString::number(i), Measured(d.HalfSpacing[i]), Measured(d.ApparentRho[i]),
         known ? ReportNumber(curve.ModelApparentRho(d.HalfSpacing[i]), 4) : Dash(),
         known ? MisfitText(misfit) : Dash()});
  }
}

// The uncertainty of a layer value from the last fit: its percentage and
// interval, a dash where the fit gave none, "fixed" where it was not fitted.
QString Uncertainty(const TResondixData& d, bool isDepth, int layer) {
  const bool fitted = FitMadeModel(d) && [&] {
    for (int k = 1; k <= d.LastFit.UnknownCount; ++k)
      if (d.LastFit.Unknowns[k].IsDepth == isDepth && d.LastFit.Unknowns[k].Layer == layer) return true;
    return false;
  }();
  if (!fitted) return QStringLiteral("fixed");
  const QString percent = Text((isDepth ? d.DepthPercentText : d.RhoPercentText)[layer].str());
  const QString interval = Text((isDepth ? d.DepthIntervalText : d.RhoIntervalText)[layer].str());
  const bool estimated = d.FitStatus == 0 && d.LastFit.UnknownCount < d.MeasurementCount;
  if (!estimated || percent == QLatin1String("*")) return Dash();
  return percent + " (" + interval + ")";
}

void AddModel(TReportTexts& t, const TResondixData& d) {
  t.ModelHeading = {QStringLiteral("Layer"),
                    QString::fromUtf8("Resistivity\n(\u03a9\u00b7m)"),
                    QStringLiteral("Uncertainty"),
                    QStringLiteral("Thickness\n(m)"),
                    QStringLiteral("Depth of\nbottom (m)"),
                    QStringLiteral("Uncertainty"),
                    QString::fromUtf8("S = h/\u03c1\n(S)"),
                    QString::fromUtf8("T = h\u00b7\u03c1\n(\u03a9\u00b7m\u00b2)")};
  const TDarZarrouk figures = DarZarroukOf(d.Layers());
  const int n = d.LayerCount;
  for (int i = 1; i <= n; ++i) {
    if (i == n) {
      t.ModelRows.push_back({QString::number(i) + " (half-space)", Entered(d.LayerRho[i]), Uncertainty(d, false, i),
                             Dash(), Dash(), Dash(), Dash(), Dash()});
      continue;
    }
    const TDarZarroukLayer& layer = figures.Layers[i];
    t.ModelRows.push_back({QString::number(i), Entered(d.LayerRho[i]), Uncertainty(d, false, i),
                           ReportNumber(layer.Thickness), Entered(d.LayerDepth[i]), Uncertainty(d, true, i),
                           ReportNumber(layer.S), ReportNumber(layer.T)});
  }
  if (n < 2) return;
  t.ModelRows.push_back({QStringLiteral("Total"), QString(), QString(), ReportNumber(figures.Thickness), QString(),
                         QString(), ReportNumber(figures.S), ReportNumber(figures.T)});
  t.ModelSummary = QString::fromUtf8("Above the half-space: mean longitudinal resistivity H/S %1 \u03a9\u00b7m, mean "
                                     "transverse resistivity T/H %2 \u03a9\u00b7m, coefficient of anisotropy %3.")
                       .arg(ReportNumber(figures.LongitudinalRho), ReportNumber(figures.TransverseRho),
                            ReportNumber(figures.Anisotropy));
}

void AddFit(TReportTexts& t, const TResondixData& d, const TReportDiagnostics& diagnostics) {
  const double rmse = d.MeasurementsValid && d.ModelValid ? d.ModelRmse() : NAN;
  if (std::isfinite(rmse))
    t.FitLines << QStringLiteral("RMSE: %1 log10 units, about %2 % in apparent resistivity")
                      .arg(ReportNumber(rmse, 4), ReportNumber(100 * (std::pow(10.0, rmse) - 1), 2));
  else
    t.FitLines << QStringLiteral("RMSE: not known while a measurement or a layer value is missing or refused");
  t.FitLines << (d.ForwardModel == TForwardModel::Accurate
                     ? QStringLiteral("Forward model: accurate (long filter)")
                     : QStringLiteral("Forward model: linear filter (short filters)"));
  if (FitMadeModel(d)) {
    QStringList names;
    for (int k = 1; k <= d.LastFit.UnknownCount; ++k) names << Text(d.ParameterNames[k].str());
    t.FitLines << QStringLiteral("Fit: %1 after %2 evaluations; fitted: %3")
                      .arg(StatusWords(static_cast<int>(d.FitStatus)))
                      .arg(d.LastFit.EvaluationCount)
                      .arg(names.join(QStringLiteral(", ")));
  } else {
    t.FitLines << QStringLiteral("Fit: none; the layer model is shown as given");
  }
  for (const std::string& warning : diagnostics.Warnings) t.Warnings << QString::fromStdString(warning);
}

}  // namespace

TReportTexts ReportTextsOf(const TResondixData& d, const QString& fileName) {
  TReportTexts t;
  const QString name = Text(d.DataName().str());
  t.Title = QStringLiteral("Resistivity sounding ") + (name.isEmpty() ? QFileInfo(fileName).completeBaseName() : name);
  const TReportDiagnostics diagnostics = ReportDiagnostics(d);
  AddDetails(t, d, fileName);
  AddMeasurements(t, d, diagnostics);
  AddModel(t, d);
  AddFit(t, d, diagnostics);
  return t;
}

// --- Layout and drawing ---------------------------------------------------------

namespace {

QFont TextFont() { return ReportFont(ReportTextPoints); }
QFont LabelFont() { return ReportFont(ReportTextPoints, true); }

// Each block is laid out by one function that measures it in area's width
// and, when asked, draws it there; it returns the height it takes.

double LayOutHeading(QPainter& painter, const TReportTexts& t, const QRectF& area, bool draw) {
  const double width = area.width();
  QPaintDevice* device = painter.device();
  const QStringList title = WrapLines(t.Title, ReportFont(ReportTitlePoints, true), device, width);
  double y = area.top();
  y += draw ? DrawLines(painter, ReportFont(ReportTitlePoints, true), area.left(), y, title)
            : LinesHeight(painter, ReportFont(ReportTitlePoints, true), title.size());
  y += TitleGap;

  const QFontMetricsF labels(LabelFont(), device);
  double labelWidth = 0;
  for (const auto& detail : t.Details) labelWidth = std::max(labelWidth, labels.horizontalAdvance(detail.first));
  labelWidth += LabelGap;
  const double columnWidth = (width - ColumnGap) / 2;
  const int count = static_cast<int>(t.Details.size());
  for (int i = 0; i < count; i += 2) {
    // A last detail without a partner runs across both columns.
    const bool across = i + 1 == count;
    double rowHeight = 0;
    for (int j = i; j < std::min(i + 2, count); ++j) {
      const double left = area.left() + (j - i) * (columnWidth + ColumnGap);
      const double valueWidth = (across ? width : columnWidth) - labelWidth;
      const QStringList value = WrapLines(t.Details[j].second, TextFont(), device, valueWidth);
      if (draw) {
        painter.setPen(Qt::black);
        DrawLines(painter, LabelFont(), left, y, {t.Details[j].first});
        DrawLines(painter, TextFont(), left + labelWidth, y, value);
      }
      rowHeight = std::max(rowHeight, LinesHeight(painter, TextFont(), value.size()));
    }
    y += rowHeight;
  }
  y += TitleGap;
  if (draw) DrawRule(painter, area.left(), area.right(), y);
  return y - area.top();
}

double LayOutModel(QPainter& painter, const TReportTexts& t, const QRectF& area, bool draw) {
  double y = area.top();
  if (draw) painter.setPen(Qt::black);
  y += draw ? DrawBlockTitle(painter, QStringLiteral("Layer model"), QPointF(area.left(), y))
            : BlockTitleHeight(painter);
  TTable table(t.ModelHeading, t.ModelRows, t.ModelRows.size() > std::size_t(1));
  table.Fit(painter, area.width(), true);
  if (draw) table.Draw(painter, QPointF(area.left(), y));
  y += table.Height();
  if (!t.ModelSummary.isEmpty()) {
    y += TitleGap;
    const QFont font = ReportFont(ReportSmallPoints);
    const QStringList lines = WrapLines(t.ModelSummary, font, painter.device(), area.width());
    if (draw) painter.setPen(Qt::black);
    y += draw ? DrawLines(painter, font, area.left(), y, lines) : LinesHeight(painter, font, lines.size());
  }
  return y - area.top();
}

double LayOutFit(QPainter& painter, const TReportTexts& t, const QRectF& area, bool draw) {
  double y = area.top();
  if (draw) painter.setPen(Qt::black);
  y += draw ? DrawBlockTitle(painter, QStringLiteral("Fit"), QPointF(area.left(), y)) : BlockTitleHeight(painter);
  QPaintDevice* device = painter.device();
  for (const QString& line : t.FitLines) {
    const QStringList lines = WrapLines(line, TextFont(), device, area.width());
    y += draw ? DrawLines(painter, TextFont(), area.left(), y, lines) : LinesHeight(painter, TextFont(), lines.size());
  }
  // Warnings as a list, each with a bullet before its lines.
  const QString bullet = QString::fromUtf8("\u2022");
  const double indent = QFontMetricsF(TextFont(), device).horizontalAdvance(bullet) + LabelGap;
  for (const QString& warning : t.Warnings) {
    const QStringList lines = WrapLines(warning, TextFont(), device, area.width() - indent);
    if (draw) {
      DrawLines(painter, TextFont(), area.left(), y, {bullet});
      DrawLines(painter, TextFont(), area.left() + indent, y, lines);
    }
    y += LinesHeight(painter, TextFont(), lines.size());
  }
  return y - area.top();
}

}  // namespace

double ReportFooterHeight(QPainter& painter) {
  return TitleGap + LinesHeight(painter, ReportFont(ReportSmallPoints), 1);
}

void DrawReportFooter(QPainter& painter, const QRectF& footer, QDate date, int pageNumber, int pageCount) {
  DrawRule(painter, footer.left(), footer.right(), footer.top(), 0.5);
  const QFont font = ReportFont(ReportSmallPoints);
  const QFontMetricsF metrics(font, painter.device());
  const QString texts[3] = {QStringLiteral("Resondix " RESONDIX_VERSION),
                            QStringLiteral("Report made ") + date.toString(Qt::ISODate),
                            QStringLiteral("Page %1 of %2").arg(pageNumber).arg(pageCount)};
  const double y = footer.top() + TitleGap;
  painter.setPen(Qt::black);
  DrawLines(painter, font, footer.left(), y, {texts[0]});
  DrawLines(painter, font, footer.center().x() - metrics.horizontalAdvance(texts[1]) / 2, y, {texts[1]});
  DrawLines(painter, font, footer.right() - metrics.horizontalAdvance(texts[2]), y, {texts[2]});
}

void TReportPage::Draw(QPainter& painter, QSizeF page) {
  if (Data == nullptr) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(QRectF(QPointF(0, 0), page), Qt::white);
  Content = ContentOf(page);
  Chart.Data = Data;
  Chart.EquivalentModels = EquivalentModels;
  Chart.EquivalentModelCount = EquivalentModelCount;
  Chart.SmoothModel = SmoothModel;
  const TReportTexts t = ReportTextsOf(*Data, FileName);

  // Everything but the chart takes the room its texts need; the chart takes
  // what is left, up to the height its width asks for, and at least the
  // height of the measurements' table beside it.
  const double width = Content.width();
  const QRectF measuring(Content.topLeft(), QSizeF(width, 0));
  const double headingHeight = LayOutHeading(painter, t, measuring, false);
  const double modelHeight = LayOutModel(painter, t, measuring, false);
  const double fitHeight = LayOutFit(painter, t, measuring, false);
  const double footerHeight = ReportFooterHeight(painter);
  TTable measurements(t.MeasurementHeading, t.MeasurementRows, false);
  measurements.Fit(painter, width * MeasurementTableShare, false);
  const double tableHeight = BlockTitleHeight(painter) + measurements.Height();
  const double chartWidth = width - measurements.Width() - ColumnGap;
  const double room = Content.height() - headingHeight - modelHeight - fitHeight - footerHeight - 4 * BlockGap;
  const double rowHeight = std::max(tableHeight, std::min(room, Chart.HeightFor(painter, chartWidth)));

  double y = Content.top();
  Heading = QRectF(Content.left(), y, width, headingHeight);
  LayOutHeading(painter, t, Heading, true);
  y += headingHeight + BlockGap;
  ChartArea = QRectF(Content.left(), y, chartWidth, rowHeight);
  Chart.Draw(painter, ChartArea);
  MeasurementTable = QRectF(Content.right() - measurements.Width(), y, measurements.Width(), tableHeight);
  painter.setPen(Qt::black);
  const double title = DrawBlockTitle(painter, QStringLiteral("Measurements"), MeasurementTable.topLeft());
  measurements.Draw(painter, MeasurementTable.topLeft() + QPointF(0, title));
  y += rowHeight + BlockGap;
  ModelBlock = QRectF(Content.left(), y, width, modelHeight);
  LayOutModel(painter, t, ModelBlock, true);
  y += modelHeight + BlockGap;
  FitBlock = QRectF(Content.left(), y, width, fitHeight);
  LayOutFit(painter, t, FitBlock, true);
  Footer = QRectF(Content.left(), Content.bottom() - footerHeight, width, footerHeight);
  DrawReportFooter(painter, Footer, Date, PageNumber, PageCount);
  painter.restore();
}

void DrawSectionPage(QPainter& painter, QSizeF page, TSectionDrawing& section, const QString& project, QDate date,
                     int pageNumber, int pageCount) {
  painter.save();
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.fillRect(QRectF(QPointF(0, 0), page), Qt::white);
  const QRectF content = ContentOf(page);
  const QStringList subtitle = project.isEmpty() ? QStringList() : WrapLines(project, TextFont(), painter.device(),
                                                                               content.width());
  painter.setPen(Qt::black);
  double y = content.top();
  y += DrawLines(painter, ReportFont(ReportTitlePoints, true), content.left(), y,
                 {QStringLiteral("Resistivity section")});
  y += DrawLines(painter, TextFont(), content.left(), y, subtitle) + BlockGap;
  const double footerHeight = ReportFooterHeight(painter);
  section.DrawWidth = static_cast<int>(content.width());
  section.DrawHeight = std::max(1, static_cast<int>(content.bottom() - footerHeight - BlockGap - y));
  painter.save();
  painter.translate(content.left(), y);
  section.DrawSection(painter);
  painter.restore();
  DrawReportFooter(painter, QRectF(content.left(), content.bottom() - footerHeight, content.width(), footerHeight),
                   date, pageNumber, pageCount);
  painter.restore();
}

QByteArray ReportPageBytes(TReportPage& page, TPaper paper, TPictureFormat format) {
  const QPageLayout layout = ReportPageLayout(paper);
  const QSizeF size = ReportPageSize(layout);
  const QString title = QStringLiteral("Resondix sounding report");
  if (format == TPictureFormat::Pdf)
    return PagesPdf(
        1, ReportDotsPerInch, title, [&](int) { return layout; },
        [&](QPainter& painter, int) { page.Draw(painter, size); });
  // A page as an image at twice the report's resolution, fine enough to print.
  constexpr int ImagePixelsPerUnit = 2;
  return PictureBytes(
      format, size.toSize(), ReportDotsPerInch, title, [&](QPainter& painter) { page.Draw(painter, size); },
      ImagePixelsPerUnit);
}

QByteArray ReportPdf(std::vector<TReportPage>& pages, TSectionDrawing* section, const QString& project, TPaper paper) {
  const int soundings = static_cast<int>(pages.size());
  const int count = soundings + (section ? 1 : 0);
  for (int i = 0; i < soundings; ++i) {
    pages[i].PageNumber = i + 1;
    pages[i].PageCount = count;
  }
  // The section is wider than deep: its page lies on its side.
  const auto layoutOf = [&](int page) {
    return ReportPageLayout(paper, page < soundings ? QPageLayout::Portrait : QPageLayout::Landscape);
  };
  const QDate date = pages.empty() ? QDate::currentDate() : pages.front().Date;
  return PagesPdf(count, ReportDotsPerInch, QStringLiteral("Resondix survey report"), layoutOf,
                  [&](QPainter& painter, int page) {
                    const QSizeF size = ReportPageSize(layoutOf(page));
                    if (page < soundings)
                      pages[page].Draw(painter, size);
                    else
                      DrawSectionPage(painter, size, *section, project, date, count, count);
                  });
}
