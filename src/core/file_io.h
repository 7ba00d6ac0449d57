// Whole-file reading and writing.  Files are never half-written: the text goes to a
// temporary file in the same folder, which replaces the target only after it was written
// and closed without error.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelkon {

/// Reads the whole file into `out`; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& out);

/// Writes `content` to `path` through a temporary file and a rename.  On failure the old
/// file is untouched, the temporary file is removed and false is returned; `errorCode`
/// (when given) receives the system error number.
bool WriteFileAtomically(const std::string& path, std::string_view content,
                         int* errorCode = nullptr);

/// The call that writes a block of the temporary file: like ::write, it returns the bytes
/// written (possibly fewer than asked) or -1 with errno set.
using FileBlockWriter = std::ptrdiff_t (*)(int fd, const void* data, std::size_t size);

/// Test seam: replaces the block writer of WriteFileAtomically (nullptr restores ::write)
/// and returns the one in place, so that tests can make a write fail midway.
FileBlockWriter SetFileBlockWriterForTesting(FileBlockWriter writer);

}  // namespace zelkon
