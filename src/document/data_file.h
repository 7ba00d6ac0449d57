// The data file (.ZLD): one line-oriented text file per document holding its data format,
// data, titles, column records, analysis choices, notes, row titles, number formats, column
// selection and exclusion marks.  Saving, format detection, the version check, loading, and
// the input/output error codes with their messages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/analysis_choices.h"
#include "core/platform.h"
#include "core/types.h"
#include "document/data_set.h"
#include "document/graph_choices.h"

namespace zelkon {

class Document;

/// Everything of one document that a data file holds.  The notes are the text of the notes
/// buffer: lines separated by CR LF, up to the first end-of-text character (26) if any, and
/// without a final line break.
struct DataFileContents {
    DataSet& data;
    AnalysisChoices& choices;
    std::string& notes;
    GraphChoices& graph;
};

// Lines and markers ------------------------------------------------------------------------

inline constexpr std::string_view DataFileSignature =
    "Kestrane Zelkon for Windows Version 3.00, 32 bit for Win 95/NT";
/// The program text a data file's first line begins with.
inline constexpr std::string_view DataFileProgramText = "Kestrane Zelkon";
inline constexpr std::string_view EndRawDataMarker = "<<END RAW DATA>>";
inline constexpr std::string_view EndStatDataMarker = "<<END STAT DATA>>";
inline constexpr std::string_view EndChoicesMarker = "<<END CHOICES>>";
inline constexpr std::string_view EndNotesMarker = "<<END NOTES>>";
inline constexpr std::string_view EndSelectedFlagsMarker = "<<END SELECTED FLAGS>>";
inline constexpr std::string_view EndRowTitlesMarker = "<<END ROW TITLES>>";
inline constexpr std::string_view EndDecPtDataMarker = "<<END DEC PT DATA>>";
inline constexpr std::string_view TitlesMarker = "<<TITLES>>";
inline constexpr std::string_view StartExcludeFlagsMarker = "<<START EXCLUDE FLAGS>>";
inline constexpr std::string_view EndExcludeFlagsMarker = "<<END EXCLUDE FLAGS>>";

/// True when the line is one of the ten section markers.
bool IsSectionMarker(std::string_view line);

/// The notes buffer: 8010 characters, of which a file fills at most 8006.
inline constexpr std::size_t NotesBufferSize = 8010;
inline constexpr std::size_t NotesReadLimit = 8006;
/// The end-of-text character that closes the notes buffer.
inline constexpr char NotesEndMark = static_cast<char>(26);

// Messages ---------------------------------------------------------------------------------

inline constexpr std::string_view NotDataFileMessage =
    "The file is not an Zelkon data file. If you want to import data, first create a new "
    "file, then Import.";
inline constexpr std::string_view NewerVersionMessage =
    "This file cannot be read because it was created by a newer version of Zelkon.";
/// The status text shown while a data file is read.
inline constexpr std::string_view ReadingDataStatus = "Reading data...";

// Input/output error codes -----------------------------------------------------------------

inline constexpr std::int32_t IoErrorFileNotFound = 2;
inline constexpr std::int32_t IoErrorPathNotFound = 3;
inline constexpr std::int32_t IoErrorTooManyOpenFiles = 4;
inline constexpr std::int32_t IoErrorAccessDenied = 5;
inline constexpr std::int32_t IoErrorDiskRead = 100;
inline constexpr std::int32_t IoErrorDiskFull = 101;
inline constexpr std::int32_t IoErrorInvalidNumericFormat = 106;
inline constexpr std::int32_t IoErrorWriteProtected = 150;
inline constexpr std::int32_t IoErrorDeviceWrite = 160;
/// Returned by LoadDataFile for a code outside 1 to 7 (nothing is read, no message).
inline constexpr std::int32_t DataFileUnknownCode = -1;

/// The message of an input/output error code ("The disk is full."), empty for a code that
/// is not in the table.
std::string_view IoErrorMessage(std::int32_t code);

/// The text of the message box for an input/output error: "Error: #", the code, two blanks
/// and the message ("Error: #106  Invalid numeric format."); empty for a code that is not in
/// the table (no box is shown).
std::string IoErrorText(std::int32_t code);

/// The input/output error code of a system error number.  `writing` tells a failed write
/// from a failed read (a missing folder or file, and unknown faults, differ between them).
std::int32_t IoErrorFromErrno(int err, bool writing, const std::string& path);

// Writing ----------------------------------------------------------------------------------

/// The whole text of the data file of a document, in the layout its data format selects.
std::string BuildDataFileText(const DataFileContents& contents);

/// Writes the document's data file: the whole text is built first and then written to a
/// temporary file in the target's folder, which replaces the target only after a complete,
/// error-free write, so a failed save leaves the previous file as it was.  Returns 0 or the
/// input/output error code.  The document is not changed.
std::int32_t SaveDataFile(const DataFileContents& contents, const std::string& path);

/// SaveDataFile on a document's data set, choices, notes and graph settings.  The caller
/// remembers the file name and marks the document saved (and not modified when 0 returns).
std::int32_t SaveDataFile(Document& document, const std::string& path);

// Detection and version --------------------------------------------------------------------

/// True when a file's text begins with a data file's header: line 1 begins with the program
/// text and line 2 holds the format version, a number.  Any other text (a list of numbers, a
/// table to import) is not a data file, whatever its third line holds.
bool HasDataFileHeader(std::string_view text);

/// The data format code of a data file: 0 when the file cannot be read, has no data file
/// header or line 3 holds no valid code; 7 when line 3 is 1 and line 4 is 1; 1 when line 3 is
/// 1 otherwise; 2 to 7 as written on line 3.
std::int32_t DetectDataFormat(const std::string& path);
/// The same rule on a file's text.
std::int32_t DetectDataFormatOfText(std::string_view text);

/// Reads line 2 of a data file as a number; false when the file cannot be opened or the line
/// does not hold a number.
bool ReadFileVersion(const std::string& path, Extended& version);

/// Outcome of the checks made before a data file is opened.
struct DataFileOpenCheck {
    std::int32_t code = 0;    ///< the detected format code; 0 when the file is refused
    std::string message;      ///< the message that refuses the file, empty when it may open
    std::int32_t ioError = 0; ///< the input/output error code when the file cannot be read
};

/// The checks made before opening: the file is read (a file larger than DataFileReadLimit is
/// refused with DataFileTooLargeMessage, one that is not a regular file with
/// NotDataFileMessage, one that cannot be read with its error, "Error: #2  File not found."),
/// then the header and format code (refused with NotDataFileMessage when there is none), then
/// the version (refused with NewerVersionMessage when it is greater than 3.0).
DataFileOpenCheck CheckDataFileForOpening(const std::string& path);

// Reading ----------------------------------------------------------------------------------

/// Reads the data file of the given format code (1 to 7) into a freshly created document:
/// sets the data format, then reads the layout of the code.  Returns
/// - 0 when the file was read (a file that ends early keeps what was read, as older files
///   lack the later sections);
/// - 106 when reading stopped at a line that should hold a whole number: the document keeps
///   what was read before it, and the caller tells the user with IoErrorText(106);
/// - the input/output error code when the file cannot be opened (nothing is read);
/// - DataFileUnknownCode for a code outside 1 to 7.
/// Afterwards every column holding raw values has its statistics and normality test
/// recomputed from its cells; averaged-data columns keep the statistics of the file.
std::int32_t LoadDataFile(const DataFileContents& contents, const std::string& path,
                          std::int32_t code, Separators separators = {});

/// LoadDataFile into a document's data set, choices, notes and graph settings.
std::int32_t LoadDataFile(Document& document, const std::string& path, std::int32_t code,
                          Separators separators = {});

/// LoadDataFile on a file's text.
std::int32_t ReadDataFileText(const DataFileContents& contents, std::string_view text,
                              std::int32_t code, Separators separators = {});

// Lines ------------------------------------------------------------------------------------

/// Walks the lines of a file's text.  A line ends at CR LF, at a lone LF or at a lone CR;
/// lines are returned whole, whatever their length.
class DataFileLines {
public:
    explicit DataFileLines(std::string_view text) : text_(text) {}
    /// The next line, or false at the end of the text.
    bool Next(std::string_view& line);
    bool AtEnd() const { return pos_ >= text_.size(); }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace zelkon
