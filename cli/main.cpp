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
  const char* Purpose;
};

const TCommand Commands[] = {
    {"show", RunShow, "show FILE.rxd... [-o OUT.rxd]", "the document as JSON"},
    {"curve", RunCurve, "curve FILE.rxd... [--forward F]", "model curve nodes and values at the spacings"},
    {"fit", RunFit,
     "fit FILE.rxd... --unknowns LIST [-o OUT.rxd] [--forward F]\n"
     "  fit FILE.rxd... --auto [N] [--error PERCENT] [-o OUT.rxd] [--forward F]",
     "fit; LIST is all or e.g. rho1,rho3,depth2; --auto fits every value of the automatic model"},
    {"smooth", RunSmooth, "smooth FILE.rxd... [--error PERCENT] [--forward F]",
     "the smooth model of the measurements and its depth of investigation"},
    {"equivalence", RunEquivalence, "equivalence FILE.rxd... --unknowns LIST [--tolerance REL,ABS] [--forward F]",
     "fit, then the models as good as the fit"},
    {"import", RunImport, "import FILE.txt|FILE.csv... [-o OUT.rxd]",
     "DINOloket or spreadsheet (.csv) soundings as documents"},
    {"render", RunRender, "render FILE.rxd OUT.png|OUT.svg|OUT.pdf [--size WxH] [--forward F]",
     "the chart (default 800x600, at most 10000x10000)"},
    {"table", RunTable, "table FILE.rxd... [--csv | --json] [-o OUT] [--fit LIST] [--forward F]",
     "one row per sounding (CSV by default)"},
    {"section", RunSection,
     "section FILE.rxd... OUT.png|OUT.svg|OUT.pdf [--order file|x|y] [--depth MAX] [--size WxH] [--fit LIST]\n"
     "          [--forward F]",
     "resistivity section of the soundings (default 1000x600, at most 10000x10000)"},
    {"report", RunReport,
     "report FILE.rxd... OUT.pdf [--paper a4|letter] [--fit LIST | --auto [N] [--error PERCENT]]\n"
     "          [--forward F]",
     "a report page per sounding and, for two or more, the section; one file also to OUT.png or OUT.svg;\n"
     "        --fit or --auto fits each sounding first"},
};

// Every option of the commands, as the manual page lists them too.
const struct {
  const char* Form;
  const char* Meaning;
} Options[] = {
    {"-o OUT", "save the document (show, fit, import; one input file) or the table (table)"},
    {"--unknowns LIST", "the unknowns of fit and equivalence: all, or rho1 to rho4 and depth1 to depth3\n"
                        "separated by commas"},
    {"--auto [N]", "fit every value of the automatic model of N (2 to 4) layers, N chosen when left out\n"
                   "(fit, report)"},
    {"--error PERCENT", "the measurements' error level that the smooth model fits and the automatic model's\n"
                        "layer count weighs (default 3; smooth, fit --auto, report --auto)"},
    {"--fit LIST", "fit each file first, LIST as for --unknowns, without saving (table, section, report)"},
    {"--tolerance REL,ABS", "equivalent while the RMSE is at most (1 + REL) times the fitted one plus ABS\n"
                            "log10 units (default 0.05,0.002)"},
    {"--forward F", "the forward model of the curve: filter (the default) or accurate"},
    {"--size WxH", "the size of the picture in pixels (render, section)"},
    {"--csv, --json", "the form of the table: CSV (the default) or one JSON object per file"},
    {"--order file|x|y", "the order of the soundings along the section: the files', or by x or y"},
    {"--depth MAX", "the depth in metres at the bottom of the section"},
    {"--paper a4|letter", "the paper of the report (default a4)"},
    {"--help, -h", "print this help"},
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "Usage: resondix-cli COMMAND ARGUMENTS\n\nCommands:\n");
  for (const TCommand& command : Commands) std::fprintf(out, "  %s\n        %s\n", command.Usage, command.Purpose);
  std::fprintf(out, "\nOptions:\n");
  for (const auto& option : Options) {
    std::string meaning = option.Meaning;
    for (std::size_t at = meaning.find('\n'); at != std::string::npos; at = meaning.find('\n', at + 1))
      meaning.insert(at + 1, 24, ' ');
    std::fprintf(out, "  %-20s  %s\n", option.Form, meaning.c_str());
  }
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
