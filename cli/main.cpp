// resondix-cli: Resondix on files without a window, for batch work and
// scripts. One JSON document per input file on standard output, in input
// order, also for a file that failed ({"file", "error"}); table prints a CSV
// row per file instead unless asked for JSON; messages on standard error;
// exit status 0 when every file succeeded, 1 otherwise, 2 when standard
// output could not be written.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "document/Messages.h"

namespace {

struct TCommand {
  const char* Name;
  int (*Run)(const std::vector<std::string>& arguments);
  const char* Usage;
};

const TCommand Commands[] = {
    {"show", RunShow, "show FILE.rxd... [-o OUT.rxd]      the document as JSON"},
    {"curve", RunCurve, "curve FILE.rxd... [--forward F]    model curve nodes and values at the spacings"},
    {"fit", RunFit,
     "fit FILE.rxd... --unknowns LIST [-o OUT.rxd] [--forward F]   fit; LIST is all or e.g. rho1,rho3,depth2\n"
     "  fit FILE.rxd... --auto [N] [--error PERCENT] [-o OUT.rxd] [--forward F]   fit every value of the\n"
     "                                     automatic model of N (2 to 4) layers, N chosen when left out"},
    {"smooth", RunSmooth,
     "smooth FILE.rxd... [--error PERCENT] [--forward F]   the smooth model of the measurements and its\n"
     "                                     depth of investigation"},
    {"equivalence", RunEquivalence,
     "equivalence FILE.rxd... --unknowns LIST [--tolerance REL,ABS] [--forward F]   fit, then the models as good "
     "as the fit"},
    {"import", RunImport, "import FILE.txt|FILE.csv... [-o OUT.rxd]   DINOloket or spreadsheet (.csv) soundings as documents"},
    {"render", RunRender,
     "render FILE.rxd OUT.png|OUT.svg|OUT.pdf [--size WxH] [--forward F]   the chart (default 800x600, at most "
     "10000x10000)"},
    {"table", RunTable,
     "table FILE.rxd... [--csv | --json] [-o OUT] [--fit LIST] [--forward F]   one row per sounding\n"
     "                                     (CSV by default); --fit fits each first, LIST as for fit"},
    {"section", RunSection,
     "section FILE.rxd... OUT.png|OUT.svg|OUT.pdf [--order file|x|y] [--depth MAX] [--size WxH]\n"
     "                                     [--fit LIST] [--forward F]: resistivity section of the soundings\n"
     "                                     (default 1000x600, at most 10000x10000); --fit fits each first, LIST as\n"
     "                                     for fit"},
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "Usage: resondix-cli COMMAND ARGUMENTS\n\nCommands:\n");
  for (const TCommand& command : Commands) std::fprintf(out, "  %s\n", command.Usage);
  std::fprintf(out, "\nF, the forward model of the curve: filter (the default) or accurate.\n");
  std::fprintf(out, "PERCENT, the measurements' error level that the smooth model fits and the automatic\n"
                    "model's layer count weighs: 3 unless given.\n");
  std::fprintf(out, "\nExit status: 0 when every file succeeded, 1 otherwise, 2 when standard output\n"
                    "could not be written.\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return ExitFailure;
  }
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    PrintUsage(stdout);
    return CheckedOutputStatus(ExitSuccess);
  }
  SetMessageHandler([](TMessageKind, const std::string& text) { ReportError(text); });
  const std::vector<std::string> arguments(argv + 2, argv + argc);
  for (const TCommand& command : Commands)
    if (std::strcmp(argv[1], command.Name) == 0) return CheckedOutputStatus(command.Run(arguments));
  ReportError(std::string("Unknown command ") + argv[1] + ".");
  PrintUsage(stderr);
  return ExitFailure;
}
