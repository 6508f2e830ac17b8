// resondix-cli show FILE.rxd... [-o OUT.rxd]: the document as JSON.
#include "CliSupport.h"
#include "Commands.h"
#include "Json.h"
#include "ResondixData.h"

int RunShow(const std::vector<std::string>& arguments) {
  TArguments parsed;
  if (!ParseArguments(arguments, {"-o"}, parsed) || !CheckSingleOutput(parsed)) return ExitFailure;
  int status = ExitSuccess;
  for (const std::string& path : parsed.Files) {
    TResondixData document;
    if (!LoadDocument(document, path)) {
      status = ExitFailure;
      continue;
    }
    TJsonWriter json;
    json.BeginObject().Key("file").String(path);
    WriteDocumentMembers(json, document);
    json.EndObject();
    PrintJsonLine(json);
    if (parsed.Has("-o") && !SaveDocumentAs(document, parsed.Value("-o"))) status = ExitFailure;
  }
  return status;
}
