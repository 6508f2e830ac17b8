// resondix-cli table FILE.rxd... [--csv | --json] [-o OUT] [--fit LIST]
// [--forward F]: one row per sounding, for spreadsheets and GIS: the file,
// its project, its position, configuration and measurement count, each
// layer's resistivity and depth, the RMSE of the model as it stands, the
// fit's status when --fit fitted it first (as fit does with --unknowns LIST,
// without saving), the Dar Zarrouk sums S and T, and the forward model that
// the RMSE and the fit used.
//
// CSV (the default) follows RFC 4180: a heading row, fields separated by
// commas, quoted where they hold a comma, a quote or a line end, rows ended
// by CR LF, UTF-8. --json prints one JSON object per file with the same
// keys and "warnings", those shown while the file was read, instead.
// Numbers are written with "." in their shortest exact form, whatever the
// locale; a value that does not exist is an empty field (null in JSON). A
// file that fails gives a row with its error and does not stop the others.
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "document/Position.h"
#include "document/ResondixData.h"
#include "document/TextReader.h"
#include "engine/Equivalence.h"

namespace {

// The columns, in their order; their names are the heading and the JSON
// keys.
enum TColumn {
  FileColumn,
  ProjectColumn,
  XColumn,
  YColumn,
  ConfigurationColumn,
  MeasurementsColumn,
  Rho1Column,  // then depth1, rho2, depth2, rho3, depth3, rho4
  RmseColumn = Rho1Column + 2 * MaxLayers - 1,
  FitStatusColumn,
  TotalSColumn,
  TotalTColumn,
  ForwardColumn,
  ErrorColumn,
  ColumnCount
};

std::string ColumnName(int column) {
  if (column >= Rho1Column && column < RmseColumn) {
    const int offset = column - Rho1Column;
    return (offset % 2 == 0 ? "rho" : "depth") + std::to_string(offset / 2 + 1);
  }
  switch (column) {
    case FileColumn: return "file";
    case ProjectColumn: return "project";
    case XColumn: return "x";
    case YColumn: return "y";
    case ConfigurationColumn: return "configuration";
    case MeasurementsColumn: return "measurements";
    case RmseColumn: return "rmse";
    case FitStatusColumn: return "fit_status";
    case TotalSColumn: return "total_s";
    case TotalTColumn: return "total_t";
    case ForwardColumn: return "forward";
    case ErrorColumn: return "error";
  }
  return {};
}

struct TCell {
  enum TKind { Empty, Text, Number } Kind = Empty;
  std::string TextValue;
  double NumberValue = 0;

  void SetText(std::string_view text) { Kind = Text, TextValue = text; }
  void SetNumber(double value) { Kind = Number, NumberValue = value; }
};

using TRow = std::array<TCell, ColumnCount>;

void FillRow(TResondixData& document, TRow& row) {
  row[ProjectColumn].SetText(document.ProjectName().view());
  double x = 0;
  double y = 0;
  if (ParsePosition(document.SoundingPosition().view(), x, y)) {
    row[XColumn].SetNumber(x);
    row[YColumn].SetNumber(y);
  }
  row[ConfigurationColumn].SetText(ConfigurationName(document.IsSchlumberger));
  row[MeasurementsColumn].SetNumber(document.MeasurementCount);
  for (int i = 1; i <= document.LayerCount; ++i) {
    row[Rho1Column + 2 * (i - 1)].SetNumber(document.LayerRho[i]);
    if (i < document.LayerCount) row[Rho1Column + 2 * (i - 1) + 1].SetNumber(document.LayerDepth[i]);
  }
  document.ValidateDocument();
  if (!document.ModelValid) return;
  if (document.MeasurementsValid) row[RmseColumn].SetNumber(document.ModelRmse());
  const TDarZarrouk figures = DarZarroukOf(document.Layers());
  row[TotalSColumn].SetNumber(figures.S);
  row[TotalTColumn].SetNumber(figures.T);
}

// RFC 4180: a field with a comma, a quote or a line end is quoted, its
// quotes doubled.
std::string CsvField(const TCell& cell) {
  if (cell.Kind == TCell::Empty) return {};
  if (cell.Kind == TCell::Number) return RoundTripText(cell.NumberValue);
  if (cell.TextValue.find_first_of(",\"\r\n") == std::string::npos) return cell.TextValue;
  std::string quoted = "\"";
  for (char c : cell.TextValue) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string CsvLine(const TRow& row) {
  std::string line;
  for (int column = 0; column < ColumnCount; ++column) {
    if (column > 0) line += ',';
    line += CsvField(row[column]);
  }
  return line + "\r\n";
}

std::string CsvHeading() {
  std::string line;
  for (int column = 0; column < ColumnCount; ++column) line += (column > 0 ? "," : "") + ColumnName(column);
  return line + "\r\n";
}

// A sounding's record with the warnings of its reading; a file that failed
// gets the common {"file", "error"}.
std::string JsonLine(const TRow& row, const std::vector<std::string>& warnings) {
  TJsonWriter json;
  json.BeginObject();
  const bool failed = row[ErrorColumn].Kind != TCell::Empty;
  for (int column = 0; column < ColumnCount; ++column) {
    const TCell& cell = row[column];
    if (failed && column != FileColumn && column != ErrorColumn && column != ForwardColumn) continue;
    if (!failed && column == ErrorColumn) continue;
    json.Key(ColumnName(column));
    if (cell.Kind == TCell::Text)
      json.String(cell.TextValue);
    else
      json.Number(cell.Kind == TCell::Number ? cell.NumberValue : NAN);
  }
  if (!failed) WriteWarningsMember(json, warnings);
  json.EndObject();
  return json.Text() + "\n";
}

// Where the table goes: standard output line by line, or the file -o names,
// written whole at the end.
class TTableOutput {
public:
  explicit TTableOutput(const TArguments& arguments)
      : Path(arguments.Has("-o") ? arguments.Value("-o") : std::string()) {}

  void Write(const std::string& text) {
    if (Path.empty()) {
      std::fwrite(text.data(), 1, text.size(), stdout);
      std::fflush(stdout);
    } else {
      Text += text;
    }
  }

  bool Finish() {
    if (Path.empty() || WriteFileAtomically(Path, Text)) return true;
    ReportError("Could not save " + Path + "!");
    return false;
  }

private:
  std::string Path;
  std::string Text;
};

}  // namespace

int RunTable(const std::vector<std::string>& arguments) {
  TArguments parsed;
  TForwardModel forward;
  if (!ParseArguments(arguments, {"-o", "--fit", "--forward"}, {"--csv", "--json"}, parsed) ||
      !ParseForwardModel(parsed, forward))
    return ExitFailure;
  if (parsed.Has("--csv") && parsed.Has("--json")) {
    ReportError("Options --csv and --json exclude each other.");
    return ExitFailure;
  }
  TUnknownList unknowns;
  if (parsed.Has("--fit") && !ParseUnknownList(parsed.Value("--fit"), unknowns, "--fit")) return ExitFailure;
  const bool json = parsed.Has("--json");

  TTableOutput output(parsed);
  if (!json) output.Write(CsvHeading());
  int status = ExitSuccess;
  for (const std::string& path : parsed.Files) {
    TResondixData document;
    TRow row;
    row[FileColumn].SetText(path);
    row[ForwardColumn].SetText(forward == TForwardModel::Accurate ? "accurate" : "filter");
    std::string error;
    if (LoadSounding(path, parsed.Has("--fit") ? &unknowns : nullptr, forward, document, error)) {
      if (parsed.Has("--fit")) row[FitStatusColumn].SetNumber(document.FitStatus);
      FillRow(document, row);
    } else {
      row[ErrorColumn].SetText(error);
      status = ExitFailure;
    }
    output.Write(json ? JsonLine(row, ReadingWarnings()) : CsvLine(row));
  }
  return output.Finish() ? status : ExitFailure;
}
