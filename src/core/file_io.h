// Whole-file reading and writing.  Reads take regular files only, opened without blocking and
// bounded by a size limit of their kind.  Files are never half-written: the text goes to a
// new temporary file of an unpredictable name in the target's folder, which replaces the
// target only after it was written and synced without error.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelkon {

/// The largest data file or text file to import that is read (a data file holds well under
/// 1 MB); larger files are refused, never cut.
inline constexpr std::size_t DataFileReadLimit = std::size_t{64} << 20;
/// The largest settings file that is read.
inline constexpr std::size_t SettingsReadLimit = std::size_t{1} << 20;

/// Why a read was refused.
enum class ReadFault {
    None,
    System,          ///< the file cannot be opened or read (error holds errno)
    NotRegularFile,  ///< a folder, FIFO, device or socket (error holds EISDIR or EACCES)
    TooLarge,        ///< more bytes than the limit (error holds EFBIG)
};

struct FileReadStatus {
    ReadFault fault = ReadFault::None;
    int error = 0;  ///< a system error number for every fault, 0 for none
    bool Ok() const { return fault == ReadFault::None; }
};

/// Reads the whole of a regular file of at most `limit` bytes into `out` (left empty when
/// the read is refused).  The file is checked before it is opened and again on the open
/// descriptor, and opened without blocking, so a FIFO or device is refused at once; a file
/// that grows past the limit while it is read is refused too.
FileReadStatus ReadFileWithin(const std::string& path, std::size_t limit, std::string& out);

/// ReadFileWithin with the data-file limit; false when the read was refused.
bool ReadWholeFile(const std::string& path, std::string& out);

/// The message that refuses a data file or a text file to import over DataFileReadLimit.
inline constexpr std::string_view DataFileTooLargeMessage =
    "The file is larger than 64 MB and cannot be read.";

/// Writes `content` to `path` through a temporary file and a rename.  A symbolic link at
/// `path` is followed: the file it points to is replaced and the link stays.  The new file
/// keeps the permission bits and (where the process may set it) the group of the file it
/// replaces; a new file takes the permissions the umask allows.  A target that exists and
/// is not a regular file is refused (EISDIR for a folder, EACCES otherwise) and left alone.
/// Temporary files that an earlier save of the same file left behind (a crash) are removed
/// first, only those of our own making and ownership.  On failure the old file is untouched,
/// the temporary file is removed and false is returned; `errorCode` (when given) receives the
/// system error number.
bool WriteFileAtomically(const std::string& path, std::string_view content,
                         int* errorCode = nullptr);

/// The check WriteFileAtomically makes before it writes, for writers that replace a file in
/// their own way: 0 when the name (its links followed) is free or holds a regular file, else
/// the system error number that refuses it (EISDIR for a folder, EACCES for a FIFO, device or
/// socket, ELOOP for a loop of links).
int CheckWriteTarget(const std::string& path);

/// The start of the names of the temporary files that saving `fileName` (a name without a
/// folder) creates: "." + fileName + ".zelkon-tmp-"; six random letters and digits follow.
std::string TemporaryFilePrefix(std::string_view fileName);
/// The number of random characters after the prefix.
inline constexpr std::size_t TemporaryNameRandomLength = 6;

/// The call that writes a block of the temporary file: like ::write, it returns the bytes
/// written (possibly fewer than asked) or -1 with errno set.
using FileBlockWriter = std::ptrdiff_t (*)(int fd, const void* data, std::size_t size);

/// Test seam: replaces the block writer of WriteFileAtomically (nullptr restores ::write)
/// and returns the one in place, so that tests can make a write fail midway.
FileBlockWriter SetFileBlockWriterForTesting(FileBlockWriter writer);

/// The call that draws the random part of a temporary file's name (TemporaryNameRandomLength
/// letters and digits).
using TemporaryNameSource = std::string (*)();

/// Test seam: replaces the random part of the temporary names (nullptr restores the random
/// source) and returns the one in place, so that tests can plant a file at the name.
TemporaryNameSource SetTemporaryNameSourceForTesting(TemporaryNameSource source);

}  // namespace zelkon
