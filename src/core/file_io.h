// Whole-file reading and writing.  Files are never half-written: the text goes to a
// temporary file in the same folder, which replaces the target only after it was written
// and closed without error.
#pragma once

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

}  // namespace zelkon
