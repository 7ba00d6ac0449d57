// zelkon-cli help: the list of commands and the help of each command with every option.
#include <array>
#include <ostream>
#include <string_view>

#include "cli/commands.h"

namespace zelkon::cli {

namespace {

struct CommandHelp {
    std::string_view name;
    std::string_view synopsis;  ///< the command line, continued lines indented
    std::string_view summary;   ///< one line for the list of commands
    std::string_view details;   ///< the options, for `help COMMAND`
    bool render = false;        ///< needs the build with the desktop program
};

constexpr std::string_view AnalyzeDetails =
    "INPUT is a data file (a name ending in .ZLD) or a text file, read exactly as\n"
    "import reads it, with the same options. Without --test the file's own choices\n"
    "run (a text file gets the format's default analysis); options change single\n"
    "answers and keep the others. A choice the data or the test cannot take is\n"
    "refused (exit status 2), never ignored.\n"
    "\n"
    "tests (--test NAME):\n"
    "  columns of raw or averaged data:\n"
    "    one column:    one-sample-t, wilcoxon (against a hypothetical median)\n"
    "    two columns:   unpaired-t, welch-t, paired-t, mann-whitney, wilcoxon-pairs\n"
    "    three or more: anova, rm-anova, kruskal-wallis, friedman\n"
    "  X and Y:         linear-regression, pearson, spearman\n"
    "  Y and 2 or more X variables: multiple-regression, correlation-matrix\n"
    "  two rows, two columns: fisher, chi-square, mcnemar\n"
    "  larger contingency table: contingency\n"
    "A text file without --format is read in the format the test needs.\n"
    "\n"
    "choices:\n"
    "  --select all|A,C,...      the analysed columns (\"All columns\" or \"Selected\n"
    "                            columns\"); ranges such as A-C,E\n"
    "  --tails 1|2               one- or two-tailed P value (column and 2x2 tests)\n"
    "  --value X                 the hypothetical mean or median (one column)\n"
    "  --post-test NAME          tukey, bonferroni, snk, dunnett, trend or none after\n"
    "                            anova and rm-anova; dunn, control (Dunn's test\n"
    "                            against a control column) or none after\n"
    "                            kruskal-wallis and friedman\n"
    "  --pairs all|A-B,B-C,...   the pairs compared by bonferroni or dunn\n"
    "  --control COL             the control column of dunnett and control\n"
    "  --post-test-when always|significant\n"
    "                            always, or only if P<0.05\n"
    "  --force X,Y               linear regression forced through the point (X, Y)\n"
    "  --runs-test | --no-runs-test\n"
    "                            test for departure from linearity (the runs test,\n"
    "                            and with replicates the lack of fit); also\n"
    "                            --lack-of-fit | --no-lack-of-fit\n"
    "  --standard-curve | --no-standard-curve\n"
    "                            interpolate unknowns from the standard curve\n"
    "  --y COL --x COL,COL,...   the dependent and the independent variables of\n"
    "                            multiple-regression; --x all|COL,... the variables of\n"
    "                            correlation-matrix\n"
    "  --yates | --no-yates      Yates' continuity correction (chi-square, mcnemar)\n"
    "  --relative-risk | --odds-ratio | --sensitivity\n"
    "                            what fisher and chi-square also calculate\n"
    "Numbers of the choices are written with a point.\n"
    "\n"
    "output:\n"
    "  --json                    the result at full precision; with several inputs one\n"
    "                            JSON object a line, each naming its file\n"
    "  --raw, --plain            the report's bytes as stored, or without emphasis\n"
    "  --save OUT.ZLD            also save the document with its choices (one input)\n"
    "\n"
    "import options (text files): --format raw|xy|table|twobytwo|multreg,\n"
    "  --columns FROM-TO, --rows FROM-TO, --where COL OP VALUE,\n"
    "  --indexed VALUECOL GROUPCOL, --decimal-separator C, --list-separator C\n"
    "\n"
    "With several inputs every one is reported; the exit status is non-zero when any\n"
    "of them failed. zelkon-cli choices FILE.ZLD prints a file's choices as these\n"
    "options.\n";

constexpr std::array<CommandHelp, 9> Commands = {{
    {"report", "report FILE.ZLD... [--raw | --plain | --json]",
     "run each file's chosen analysis and print the results report",
     "In a terminal the report's emphasis is shown; --plain prints it without,\n"
     "--raw prints the report's bytes as stored, --json the result at full precision.\n"
     "With several files each report is headed by its file name (with --json one JSON\n"
     "object a line, each naming its file); the exit status is non-zero when any file\n"
     "failed, and the others are still reported.\n"},
    {"analyze",
     "analyze INPUT... [--test NAME] [choices] [--json | --raw | --plain]\n"
     "[--save OUT.ZLD] [import options]",
     "run any analysis of data files or text files, its choices given as options",
     AnalyzeDetails},
    {"choices", "choices FILE.ZLD",
     "print a data file's analysis choices as the options of analyze",
     "The line printed repeats the file's choices: zelkon-cli analyze OTHER.csv\n"
     "followed by it runs the same analysis on other data.\n"},
    {"stats", "stats FILE.ZLD [--json]", "print the column statistics",
     "The statistics of step 3 for every column with data; --json at full precision.\n"},
    {"import",
     "import TEXTFILE -o FILE.ZLD [--format raw|xy|table|twobytwo|multreg]\n"
     "[--columns FROM-TO] [--rows FROM-TO] [--where COL OP VALUE]\n"
     "[--indexed VALUECOL GROUPCOL]",
     "read a text file into a new data file",
     "Values separated by commas, tabs or semicolons, or columns separated by blanks;\n"
     "title lines at the top give the data title and the column titles.\n"
     "  --format        the data format of the new file (raw by default)\n"
     "  --columns       only the columns FROM to TO (counted from 1)\n"
     "  --rows          only the rows FROM to TO (counted from 1)\n"
     "  --where         only rows whose column COL satisfies OP (= > >= < <= <>)\n"
     "                  against VALUE\n"
     "  --indexed       values from column VALUECOL, grouped by the identifiers of\n"
     "                  column GROUPCOL\n"
     "  --decimal-separator C, --list-separator C\n"
     "                  the separators of the file (by default the locale's)\n"},
    {"export",
     "export FILE.ZLD --what data|stats|results|twobytwo [--index] [--no-titles]\n"
     "-o OUT.txt|OUT.csv",
     "write part of a data file as text",
     "Tab-separated for .txt, separated by the list separator otherwise.\n"
     "  --index         all values in one column, the column number beside them\n"
     "  --no-titles     leave the titles out\n"
     "  --decimal-separator C, --list-separator C\n"
     "                  the separators written (by default the locale's)\n"},
    {"graph", "graph FILE.ZLD -o OUT.svg|OUT.pdf|OUT.png",
     "draw the graph of step 6 into a picture file",
     "The kind of picture follows the file name's ending.\n", true},
    {"print", "print FILE.ZLD --what data|stats|results|graph -o OUT.pdf",
     "print the data table, statistics, results or graph as PDF pages",
     "The pages as the desktop program prints them.\n", true},
    {"help", "help [COMMAND]", "list the commands, or every option of one command",
     "zelkon-cli COMMAND --help does the same.\n"},
}};

// The synopsis after `prefix`, its further lines indented by `indent`.
void WriteSynopsis(std::ostream& out, std::string_view synopsis, std::string_view prefix,
                   std::string_view indent) {
    out << prefix;
    for (char c : synopsis) {
        out << c;
        if (c == '\n') out << indent;
    }
    out << '\n';
}

}  // namespace

void WriteUsage(std::ostream& out, bool render) {
    out << "usage: zelkon-cli COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const CommandHelp& command : Commands) {
        if (command.render && !render) continue;
        WriteSynopsis(out, command.synopsis, "  ", "         ");
        out << "      " << command.summary << '\n';
    }
    out << "\n"
           "zelkon-cli help COMMAND lists every option of a command.\n"
           "zelkon-cli --version prints the version.\n";
}

int RunHelpCommand(Arguments& args, std::ostream& out, std::ostream& err, bool render) {
    const std::vector<std::string> words = args.Positional();
    if (words.empty()) {
        WriteUsage(out, render);
        return ExitOk;
    }
    for (const CommandHelp& command : Commands) {
        if (words.size() != 1 || command.name != words[0] || (command.render && !render)) continue;
        WriteSynopsis(out, command.synopsis, "usage: zelkon-cli ", "           ");
        out << "\n" << command.summary << ".\n\n" << command.details;
        return ExitOk;
    }
    if (words.size() > 1) {
        err << "zelkon-cli help: name one command\n\n";
    } else {
        err << "zelkon-cli help: no command " << words[0] << "\n\n";
    }
    WriteUsage(err, render);
    return ExitUsage;
}

}  // namespace zelkon::cli
