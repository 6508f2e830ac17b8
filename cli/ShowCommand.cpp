// resondix-cli show FILE.rxd... [-o OUT.rxd]: the document as JSON.
#include "CliSupport.h"
#include "Commands.h"
#include "ResondixData.h"

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
    if (!PrintAndSaveDocument(parsed, path, document)) status = ExitFailure;
  }
  return status;
}
