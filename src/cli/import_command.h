// zelkon-cli import: a text file read by the import rules into a new data file.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_common.h"
#include "core/data_format.h"
#include "data/import_placement.h"

namespace zelkon::cli {

/// How a text file is read into a document: the file, the user's separators, the dialog's
/// choices and the data format of the new document.
struct TextImportRequest {
    std::string file;
    Separators separators;
    ImportOptions options;
    DataFormat format = DataFormat::Raw;
};

/// Takes the reading options of `import` from the arguments (`--format`, `--columns`,
/// `--rows`, `--where`, `--indexed` and the separators), leaving the file and the other
/// words.  On a usage error writes it (with the usage) to `err` and returns nothing; the
/// command then exits with ExitUsage.  Messages name `command`, which reads text files as
/// `import` does.
std::optional<TextImportRequest> TakeTextImportOptions(Arguments& args, std::ostream& err,
                                                       std::string_view command = "import");

/// Reads the text file into a new document exactly as `import` does: the import's messages
/// and its account go to `err`; a file that yields no value, options outside the file and
/// options that leave every value out are refused with the reason.  With the two-by-two
/// format, a table written as a table (a header, then two lines of label, count, count) is
/// read as laid out.  The document returned is the one the data file keeps, its statistics
/// computed from the cells as written.  Returns nothing on failure (exit with ExitFailure).
/// Messages name `command`.
std::unique_ptr<Document> ReadTextFileAsDocument(const TextImportRequest& request,
                                                 std::ostream& err,
                                                 std::string_view command = "import");

/// `import TEXTFILE -o FILE.ZLD [--format raw|xy|table|twobytwo|multreg] [--columns FROM-TO]
/// [--rows FROM-TO] [--where COL OP VALUE] [--indexed VALUECOL GROUPCOL]`, with the
/// separators of the locale (`--decimal-separator C`, `--list-separator C`).
int RunImportCommand(Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace zelkon::cli
