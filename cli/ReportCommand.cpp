// resondix-cli report FILE.rxd... OUT.pdf [--paper a4|letter] [--fit LIST |
// --auto [N] [--error PERCENT]] [--forward F]: the interpretation report of
// each sounding, one page per file in input order (chart/ReportPage.h), and
// after them, for two or more files, a page with the resistivity section of
// those whose model is complete, as section draws it in file order. With
// --fit each sounding is fitted first, as table --fit fits it; with --auto
// every value of its automatic model is, as fit --auto fits it. A report
// of one file may also be a PNG or SVG page (OUT.png, OUT.svg).
//
// One JSON record per input file, in input order: {"file", "output",
// "page", "forward"}, or {"file", "error", "forward"} for a file that could
// not be read or fitted; such a file has no page and the others are
// written. The output is replaced only when it was written completely.
#include <memory>
#include <string>
#include <vector>

#include "chart/ReportPage.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ImageOutput.h"
#include "cli/Json.h"
#include "cli/Survey.h"
#include "document/ResondixData.h"

namespace {

struct TReportJob : TSurveyJob {
  TPaper Paper = TPaper::A4;
};

bool ParseJob(const std::vector<std::string>& arguments, TReportJob& job) {
  TArguments parsed;
  if (!ParseSurveyJob(arguments, {"--paper", "--fit", "--forward", "--auto", "--error"}, "report", job, parsed)) return false;
  if (job.Format != TPictureFormat::Pdf && job.Inputs.size() > 1) {
    ReportError("A report of several soundings has several pages: write it to a .pdf file.");
    return false;
  }
  if (parsed.Has("--paper")) {
    const std::string& paper = parsed.Value("--paper");
    if (paper != "a4" && paper != "letter") {
      ReportError("Option --paper takes a4 or letter.");
      return false;
    }
    job.Paper = paper == "letter" ? TPaper::Letter : TPaper::A4;
  }
  return true;
}

void PrintRecord(const std::string& path, const TReportJob& job, int page, const std::string& error) {
  TJsonWriter json;
  json.BeginObject().Key("file").String(path);
  if (page > 0)
    json.Key("output").String(job.Output).Key("page").Integer(page);
  else
    json.Key("error").String(error);
  WriteForwardMember(json, job.Forward);
  json.EndObject();
  PrintJsonLine(json);
}

}  // namespace

int RunReport(const std::vector<std::string>& arguments) {
  TReportJob job;
  if (!ParseJob(arguments, job)) return ExitFailure;
  const std::size_t count = job.Inputs.size();
  std::vector<std::unique_ptr<TResondixData>> documents(count);
  std::vector<TSurveySounding> survey(count);
  for (std::size_t i = 0; i < count; ++i) {
    TSurveySounding& sounding = survey[i];
    sounding.Path = job.Inputs[i];
    auto document = std::make_unique<TResondixData>();
    if (!LoadSurveyDocument(job, sounding.Path, *document, sounding.Error))
      continue;
    document->ValidateDocument();
    // A sounding without a complete model has its page, but no column.
    if (count > 1) TakeSurveySounding(sounding, *document);
    documents[i] = std::move(document);
  }

  TGuiSession gui;
  std::vector<TReportPage> pages;
  std::vector<int> pageOf(count, 0);
  for (std::size_t i = 0; i < count; ++i) {
    if (!documents[i]) continue;
    TReportPage& page = pages.emplace_back();
    page.Data = documents[i].get();
    page.FileName = QString::fromStdString(job.Inputs[i]);
    pageOf[i] = static_cast<int>(pages.size());
  }
  if (pages.empty()) {
    for (const TSurveySounding& sounding : survey) PrintRecord(sounding.Path, job, 0, sounding.Error);
    ReportError("No sounding to report; " + job.Output + " was not written.");
    return ExitFailure;
  }

  TSectionDrawing section;
  std::vector<TSurveySounding*> placed;
  if (count > 1) PlaceSoundings(TProfileOrder::File, survey, placed, section.DistancesKnown);
  for (const TSurveySounding* sounding : placed) section.Columns.push_back(sounding->Column);
  const QString project = QString::fromStdString(pages.front().Data->ProjectName().str()).trimmed();
  const QByteArray bytes = job.Format == TPictureFormat::Pdf
                               ? ReportPdf(pages, placed.empty() ? nullptr : &section, project, job.Paper)
                               : ReportPageBytes(pages.front(), job.Paper, job.Format);
  if (!SavePicture(job.Output, bytes)) {
    ReportError("Could not save " + job.Output + "!");
    for (std::size_t i = 0; i < count; ++i)
      PrintRecord(survey[i].Path, job, 0, pageOf[i] > 0 ? LatestErrorText() : survey[i].Error);
    return ExitFailure;
  }
  for (std::size_t i = 0; i < count; ++i) PrintRecord(survey[i].Path, job, pageOf[i], survey[i].Error);
  return pages.size() == count ? ExitSuccess : ExitFailure;
}
