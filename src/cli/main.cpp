// zelkon-cli: the engine of Zelkon from a terminal.
#include <unistd.h>

#include <cstring>
#include <iostream>
#include <string>

#include "cli/commands.h"
#include "cli/export_command.h"
#include "cli/import_command.h"
#include "zelkon_version.h"
#ifdef ZELKON_HAVE_RENDER
#include "cli/render_graph_command.h"
#include "cli/render_print_command.h"
#endif

namespace {

constexpr const char* Usage =
    "usage: zelkon-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "commands:\n"
    "  report FILE.ZLD [--raw | --plain | --json]\n"
    "      run the file's chosen analysis and print the results report\n"
    "  stats FILE.ZLD [--json]\n"
    "      print the column statistics\n"
    "  import TEXTFILE -o FILE.ZLD [--format raw|xy|...] [--columns FROM-TO]\n"
    "         [--rows FROM-TO] [--where COL OP VALUE] [--indexed VALUECOL GROUPCOL]\n"
    "      read a text file into a new data file\n"
    "  export FILE.ZLD --what data|stats|results|twobytwo [--index] [--no-titles]\n"
    "         -o OUT.txt|OUT.csv\n"
    "      write part of a data file as text\n"
#ifdef ZELKON_HAVE_RENDER
    "  graph FILE.ZLD -o OUT.svg|OUT.pdf|OUT.png\n"
    "      draw the graph of step 6 into a picture file\n"
    "  print FILE.ZLD --what data|stats|results|graph -o OUT.pdf\n"
    "      print the data table, statistics, results or graph as PDF pages\n"
#endif
    "\n"
    "import and export take --decimal-separator C and --list-separator C;\n"
    "by default they follow the locale (LC_NUMERIC).\n"
    "zelkon-cli --version prints the version.\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace zelkon::cli;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        (argc < 2 ? std::cerr : std::cout) << Usage;
        return argc < 2 ? ExitUsage : ExitOk;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::cout << "zelkon-cli " << ZELKON_VERSION_TEXT << "\n";
        return ExitOk;
    }
    const std::string command = argv[1];
    Arguments args;
    for (int i = 2; i < argc; ++i) args.words.emplace_back(argv[i]);
    if (command == "report") return RunReportCommand(args, std::cout, std::cerr, ::isatty(1) != 0);
    if (command == "stats") return RunStatsCommand(args, std::cout, std::cerr);
    if (command == "import") return RunImportCommand(args, std::cout, std::cerr);
    if (command == "export") return RunExportCommand(args, std::cout, std::cerr);
#ifdef ZELKON_HAVE_RENDER
    if (command == "graph") return RunGraphCommand(args, std::cout, std::cerr);
    if (command == "print") return RunPrintCommand(args, std::cout, std::cerr);
#endif
    std::cerr << "zelkon-cli: unknown command " << command << "\n\n" << Usage;
    return ExitUsage;
}
