// zelkon-cli: the engine of Zelkon from a terminal.
#include <unistd.h>

#include <cstring>
#include <iostream>
#include <string>

#include "cli/commands.h"

namespace {

constexpr const char* Usage =
    "usage: zelkon-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "commands:\n"
    "  report FILE.ZLD [--raw | --plain | --json]\n"
    "      run the file's chosen analysis and print the results report\n"
    "  stats FILE.ZLD [--json]\n"
    "      print the column statistics\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace zelkon::cli;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        (argc < 2 ? std::cerr : std::cout) << Usage;
        return argc < 2 ? ExitUsage : ExitOk;
    }
    const std::string command = argv[1];
    Arguments args;
    for (int i = 2; i < argc; ++i) args.words.emplace_back(argv[i]);
    if (command == "report") return RunReportCommand(args, std::cout, std::cerr, ::isatty(1) != 0);
    if (command == "stats") return RunStatsCommand(args, std::cout, std::cerr);
    std::cerr << "zelkon-cli: unknown command " << command << "\n\n" << Usage;
    return ExitUsage;
}
