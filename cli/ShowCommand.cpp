// resondix-cli show FILE.rxd... [-o OUT.rxd]: the document as JSON, with
// the Dar Zarrouk figures of its model.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "document/ResondixData.h"
#include "engine/Equivalence.h"

int RunShow(const std::vector<std::string>& arguments) {
  TArguments parsed;
  if (!ParseArguments(arguments, {"-o"}, parsed) || !CheckSingleOutput(parsed)) return ExitFailure;
  int status = ExitSuccess;
  for (const std::string& path : parsed.Files) {
    TResondixData document;
    if (!LoadDocument(document, path)) {
      PrintFileError(path);
      status = ExitFailure;
      continue;
    }
    const auto darZarrouk = [&document](TJsonWriter& json) {
      WriteDarZarrouk(json, DarZarroukOf(document.Layers()));
    };
    if (!PrintAndSaveDocument(parsed, path, document, darZarrouk)) status = ExitFailure;
  }
  return status;
}
