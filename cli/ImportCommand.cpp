// resondix-cli import FILE.txt|FILE.csv... [-o OUT.rxd]: DINOloket sounding
// files, or spreadsheet files (".csv"), as documents, printed as the JSON of
// show and optionally saved as a data file. The documents are those the
// window's File > Import makes, dated today. When a file has no model the
// JSON carries the import's warning in "warning" instead of standard error;
// that is not a failure.
#include <string>
#include <utility>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "document/Messages.h"
#include "document/ResondixData.h"

namespace {

// Imports path into document. The warning that the file has no model is
// kept in warning instead of being reported; other messages are reported as
// usual.
bool ImportDocument(TResondixData& document, const std::string& path, std::string& warning) {
  TMessageHandler previous;
  previous = SetMessageHandler([&](TMessageKind kind, const std::string& text) {
    if (text == NoModelWarningText)
      warning = text;
    else
      previous(kind, text);
  });
  const bool imported = document.ImportFile(path, TodayText());
  SetMessageHandler(std::move(previous));
  return imported;
}

}  // namespace

int RunImport(const std::vector<std::string>& arguments) {
  TArguments parsed;
  if (!ParseArguments(arguments, {"-o"}, parsed) || !CheckSingleOutput(parsed)) return ExitFailure;
  int status = ExitSuccess;
  for (const std::string& path : parsed.Files) {
    TResondixData document;
    std::string warning;
    if (!ReadKeepingWarnings([&] { return ImportDocument(document, path, warning); })) {
      PrintFileError(path);
      status = ExitFailure;
      continue;
    }
    const auto warningMember = [&warning](TJsonWriter& json) {
      if (!warning.empty()) json.Key("warning").String(warning);
    };
    if (!PrintAndSaveDocument(parsed, path, document, warningMember)) status = ExitFailure;
  }
  return status;
}
