// The interpretation report of a sounding: one page, for a client or a
// drilling crew, and the report of a survey (a page per sounding and the
// resistivity section).
//
// A sounding's page (TReportPage) holds, top down: a heading (the sounding's
// name, project, location, position, direction, date, configuration, AB
// length, file and remarks); the sounding chart in the report's style
// (TReportChart) with the table of the measurements beside it (spacing,
// measured and model apparent resistivity, misfit); the layer model (per
// layer resistivity, thickness, depth of its bottom, their uncertainty from
// the last fit, the Dar Zarrouk figures S and T, and the totals); the fit
// (RMSE, forward model, status in words, warnings); and a footer with the
// program, the date the report was made and the page number. Everything is
// laid out from the page's size inside fixed margins: long texts wrap,
// tables take the widths their texts need (smaller print where the page is
// narrow), and the chart takes the height that is left, so that on A4 and
// on Letter nothing leaves the page or covers anything else.
//
// Pages are drawn with any QPainter in units of 1/96 inch from the paper's
// top-left corner: a PDF page (its texts real text, their font embedded),
// an SVG drawing or a PNG image (chart/PictureWriter.h writes them).
#pragma once

#include <string>
#include <vector>

#include <QDate>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>

#include "chart/PictureWriter.h"
#include "chart/ReportChart.h"
#include "engine/FixedArray.h"
#include "engine/Sounding.h"

class QPainter;
class TResondixData;
class TSectionDrawing;
struct TLayerModel;
struct TSmoothModel;

enum class TPaper { A4, Letter };

// The report's unit: 1/96 inch.
constexpr int ReportDotsPerInch = 96;

// The paper, without margins (the page keeps its own), upright or turned.
QPageLayout ReportPageLayout(TPaper paper, QPageLayout::Orientation orientation = QPageLayout::Portrait);
// Its size in the report's units.
QSizeF ReportPageSize(const QPageLayout& layout);

// What the report says of each measurement and of the fit.
struct TReportDiagnostics {
  // 100·(model/measured − 1) of each measurement, NaN where one of them is
  // not known.
  TFixedArray<double, 1, MaxMeasurements> MisfitPercent;
  std::vector<std::string> Warnings;
};

// The misfit of every measurement against the model curve of the
// document's layers (where the model is valid and the measurement has a
// place on the axes), and, when the last fit made the layers as they stand,
// its ending in words and its diagnostics' warnings.
TReportDiagnostics ReportDiagnostics(const TResondixData& document);

// A figure as the report writes it: significant digits, but never fewer
// than the whole number, and "." as the decimal point ("144", "24.6",
// "3.06", "0.0212"); "-" for a value that is not a number.
QString ReportNumber(double value, int significant = 3);

// The texts of a sounding's page, in the order it shows them; each table
// row has as many cells as its heading.
struct TReportTexts {
  QString Title;
  std::vector<std::pair<QString, QString>> Details;  // label and value
  QStringList MeasurementHeading;
  std::vector<QStringList> MeasurementRows;
  QStringList ModelHeading;
  std::vector<QStringList> ModelRows;  // the layers, then the totals
  QString ModelSummary;  // the cover's mean resistivities and anisotropy, when it has layers
  QStringList FitLines;
  QStringList Warnings;
};

// fileName: the sounding's file as the heading names it.
TReportTexts ReportTextsOf(const TResondixData& document, const QString& fileName);

class TReportPage {
public:
  const TResondixData* Data = nullptr;  // not owned
  QString FileName;
  // The equivalent models and the smooth model the chart draws (not owned).
  const TLayerModel* EquivalentModels = nullptr;
  int EquivalentModelCount = 0;
  const TSmoothModel* SmoothModel = nullptr;
  QDate Date = QDate::currentDate();  // the day the report is made
  int PageNumber = 1;
  int PageCount = 1;

  // The page of page units.
  void Draw(QPainter& painter, QSizeF page);

  // --- Layout of the latest drawing, top down ----------------------------

  QRectF Content;  // inside the margins
  QRectF Heading;
  QRectF ChartArea;
  QRectF MeasurementTable;
  QRectF ModelBlock;
  QRectF FitBlock;
  QRectF Footer;
  TReportChart Chart;
};

// The footer of every page of a report: the program and its version, the
// day the report was made, the page's number.
void DrawReportFooter(QPainter& painter, const QRectF& footer, QDate date, int pageNumber, int pageCount);
// The footer's height, the part of the content it takes at the bottom.
double ReportFooterHeight(QPainter& painter);

// The last page of a survey's report: the section in the page's width
// under a title, and the footer. The section is laid out for the room left.
void DrawSectionPage(QPainter& painter, QSizeF page, TSectionDrawing& section, const QString& project, QDate date,
                     int pageNumber, int pageCount);

// One sounding's page as a picture in format (a PNG at twice the report's
// resolution); empty when it could not be made.
QByteArray ReportPageBytes(TReportPage& page, TPaper paper, TPictureFormat format);

// The report of a survey as a PDF: pages in their order, then the section
// when there is one (null: none), on a page turned to landscape. Each
// page's number and count are set here. Empty when it could not be made.
QByteArray ReportPdf(std::vector<TReportPage>& pages, TSectionDrawing* section, const QString& project, TPaper paper);
