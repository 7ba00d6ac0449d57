// The data file's entry points that touch the file system (saving, detection, version,
// loading), the line walker and the input/output error table.
#include "document/data_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/file_io.h"
#include "core/number_parse.h"
#include "document/document.h"

namespace zelkon {

namespace {

constexpr std::array<std::string_view, 10> SectionMarkers = {
    EndRawDataMarker,       EndStatDataMarker,  EndChoicesMarker,        EndNotesMarker,
    EndSelectedFlagsMarker, EndRowTitlesMarker, EndDecPtDataMarker,      TitlesMarker,
    StartExcludeFlagsMarker, EndExcludeFlagsMarker};

struct IoErrorEntry {
    std::int32_t code;
    std::string_view message;
};

constexpr std::array<IoErrorEntry, 26> IoErrorTable = {{
    {1, "File not found."},
    {2, "File not found."},
    {3, "Path not found."},
    {4, "Too many open files."},
    {5, "File access denied."},
    {83, "Drive not ready."},
    {100, "Disk read error."},
    {101, "The disk is full."},
    {102, "File not assigned."},
    {103, "File not open."},
    {104, "File not open."},
    {105, "File not open."},
    {106, "Invalid numeric format."},
    {150, "Disk is write-protected."},
    {151, "Unknown disk unit"},
    {152, "Drive is not ready"},
    {153, "Unknown command"},
    {154, "Data error"},
    {155, "Bad request structure length"},
    {156, "Seek error"},
    {157, "Unknown media type"},
    {158, "Disk sector not found"},
    {159, "Printer is out of paper"},
    {160, "Device write error"},
    {161, "Device read error"},
    {162, "ecHardwareFailure"},
}};

bool FolderOfExists(const std::string& path) {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    return std::filesystem::is_directory(folder, ec);
}

// Reads the whole data file; false (with the system error number) when it cannot be opened
// or read, is not a regular file or is larger than a data file may be.
bool ReadFileText(const std::string& path, std::string& text, int& err, bool* tooLarge = nullptr) {
    const FileReadStatus status = ReadFileWithin(path, DataFileReadLimit, text);
    err = status.error;
    if (tooLarge != nullptr) *tooLarge = status.fault == ReadFault::TooLarge;
    return status.Ok();
}

}  // namespace

bool IsSectionMarker(std::string_view line) {
    return std::find(SectionMarkers.begin(), SectionMarkers.end(), line) != SectionMarkers.end();
}

bool DataFileLines::Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const std::size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) {
        line = text_.substr(pos_);
        pos_ = text_.size();
        return true;
    }
    line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    return true;
}

// Errors -----------------------------------------------------------------------------------

std::string_view IoErrorMessage(std::int32_t code) {
    for (const IoErrorEntry& entry : IoErrorTable) {
        if (entry.code == code) return entry.message;
    }
    return {};
}

std::string IoErrorText(std::int32_t code) {
    const std::string_view message = IoErrorMessage(code);
    if (message.empty()) return {};
    return "Error: #" + std::to_string(code) + "  " + std::string(message);
}

std::int32_t IoErrorFromErrno(int err, bool writing, const std::string& path) {
    switch (err) {
        case ENOENT:
            if (writing || !FolderOfExists(path)) return IoErrorPathNotFound;
            return IoErrorFileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return IoErrorPathNotFound;
        case EMFILE:
        case ENFILE:
            return IoErrorTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EISDIR:
        case ETXTBSY:
        case EEXIST:  // every temporary name tried was taken
            return IoErrorAccessDenied;
        case EROFS:
            return IoErrorWriteProtected;
        case EFBIG:  // reading: larger than a data file may be
            return writing ? IoErrorDiskFull : IoErrorDiskRead;
        case ENOSPC:
        case EDQUOT:
            return IoErrorDiskFull;
        default:
            return writing ? IoErrorDeviceWrite : IoErrorDiskRead;
    }
}

// Saving -----------------------------------------------------------------------------------

std::int32_t SaveDataFile(const DataFileContents& contents, const std::string& path) {
    const std::string text = BuildDataFileText(contents);
    int err = 0;
    if (WriteFileAtomically(path, text, &err)) return 0;
    return IoErrorFromErrno(err, true, path);
}

std::int32_t SaveDataFile(Document& document, const std::string& path) {
    return SaveDataFile(DataFileContents{document.Data(), document.Choices(), document.Notes(),
                                         document.Graph()},
                        path);
}

// Detection and version --------------------------------------------------------------------

namespace {

// Line 2 of a data file's text read as a number.
bool VersionOfText(std::string_view text, Extended& version) {
    DataFileLines walker(text);
    std::string_view line;
    if (!walker.Next(line) || !walker.Next(line)) return false;
    return ParseNumberWithPoint(line, Separators{}, version);
}

}  // namespace

bool HasDataFileHeader(std::string_view text) {
    DataFileLines walker(text);
    std::string_view first;
    if (!walker.Next(first) || first.substr(0, DataFileProgramText.size()) != DataFileProgramText) {
        return false;
    }
    Extended version = 0;
    return VersionOfText(text, version);
}

std::int32_t DetectDataFormatOfText(std::string_view text) {
    if (!HasDataFileHeader(text)) return 0;
    DataFileLines walker(text);
    std::string_view lines[4];
    for (auto& line : lines) {
        if (!walker.Next(line)) line = {};
    }
    std::int64_t code = 0;
    if (!ParseInteger(lines[2], code)) return 0;
    if (code == 1) {
        std::int64_t second = 0;
        return ParseInteger(lines[3], second) && second == 1 ? 7 : 1;
    }
    return code >= 2 && code <= 7 ? static_cast<std::int32_t>(code) : 0;
}

std::int32_t DetectDataFormat(const std::string& path) {
    std::string text;
    int err = 0;
    if (!ReadFileText(path, text, err)) return 0;
    return DetectDataFormatOfText(text);
}

bool ReadFileVersion(const std::string& path, Extended& version) {
    std::string text;
    int err = 0;
    return ReadFileText(path, text, err) && VersionOfText(text, version);
}

DataFileOpenCheck CheckDataFileForOpening(const std::string& path) {
    DataFileOpenCheck check;
    std::string text;
    const FileReadStatus status = ReadFileWithin(path, DataFileReadLimit, text);
    if (!status.Ok()) {
        // A file too large or not a regular file (a folder, a device) is no data file; one
        // that cannot be read says why ("Error: #2  File not found.").
        if (status.fault == ReadFault::TooLarge) {
            check.message = DataFileTooLargeMessage;
        } else if (status.fault == ReadFault::NotRegularFile) {
            check.message = NotDataFileMessage;
        } else {
            check.ioError = IoErrorFromErrno(status.error, false, path);
            check.message = IoErrorText(check.ioError);
            if (check.message.empty()) check.message = "Error: #" + std::to_string(check.ioError);
        }
        return check;
    }
    check.code = DetectDataFormatOfText(text);
    if (check.code == 0) {
        check.message = NotDataFileMessage;
        return check;
    }
    Extended version = 0;
    if (VersionOfText(text, version) && version > 3.0L) {
        check.code = 0;
        check.message = NewerVersionMessage;
    }
    return check;
}

// Loading ----------------------------------------------------------------------------------

std::int32_t LoadDataFile(const DataFileContents& contents, const std::string& path,
                          std::int32_t code, Separators separators) {
    if (code < 1 || code > 7) return DataFileUnknownCode;
    std::string text;
    int err = 0;
    if (!ReadFileText(path, text, err)) return IoErrorFromErrno(err, false, path);
    return ReadDataFileText(contents, text, code, separators);
}

std::int32_t LoadDataFile(Document& document, const std::string& path, std::int32_t code,
                          Separators separators) {
    return LoadDataFile(DataFileContents{document.Data(), document.Choices(), document.Notes(),
                                         document.Graph()},
                        path, code, separators);
}

}  // namespace zelkon
