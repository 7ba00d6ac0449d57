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

#ifdef ZELKON_HAVE_RENDER
constexpr bool HaveRender = true;
#else
constexpr bool HaveRender = false;
#endif

}  // namespace

int main(int argc, char** argv) {
    using namespace zelkon::cli;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        WriteUsage(argc < 2 ? std::cerr : std::cout, HaveRender);
        return argc < 2 ? ExitUsage : ExitOk;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::cout << "zelkon-cli " << ZELKON_VERSION_TEXT << "\n";
        return ExitOk;
    }
    const std::string command = argv[1];
    Arguments args;
    for (int i = 2; i < argc; ++i) args.words.emplace_back(argv[i]);
    // "zelkon-cli COMMAND --help" is "zelkon-cli help COMMAND".
    if (command != "help" && (args.TakeFlag("help") || std::erase(args.words, "-h") > 0)) {
        Arguments help{{command}};
        return RunHelpCommand(help, std::cout, std::cerr, HaveRender);
    }
    if (command == "help") return RunHelpCommand(args, std::cout, std::cerr, HaveRender);
    if (command == "analyze") {
        return RunAnalyzeCommand(args, std::cout, std::cerr, ::isatty(1) != 0);
    }
    if (command == "choices") return RunChoicesCommand(args, std::cout, std::cerr);
    if (command == "report") return RunReportCommand(args, std::cout, std::cerr, ::isatty(1) != 0);
    if (command == "stats") return RunStatsCommand(args, std::cout, std::cerr);
    if (command == "import") return RunImportCommand(args, std::cout, std::cerr);
    if (command == "export") return RunExportCommand(args, std::cout, std::cerr);
#ifdef ZELKON_HAVE_RENDER
    if (command == "graph") return RunGraphCommand(args, std::cout, std::cerr);
    if (command == "print") return RunPrintCommand(args, std::cout, std::cerr);
#endif
    std::cerr << "zelkon-cli: unknown command " << command << "\n\n";
    WriteUsage(std::cerr, HaveRender);
    return ExitUsage;
}
