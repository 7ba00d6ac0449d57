#include "core/file_io.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelkon {

namespace {

std::ptrdiff_t SystemWrite(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

FileBlockWriter blockWriter = &SystemWrite;

}  // namespace

FileBlockWriter SetFileBlockWriterForTesting(FileBlockWriter writer) {
    const FileBlockWriter previous = blockWriter;
    blockWriter = writer != nullptr ? writer : &SystemWrite;
    return previous;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
    const bool ok = std::ferror(f) == 0;
    std::fclose(f);
    return ok;
}

bool WriteFileAtomically(const std::string& path, std::string_view content, int* errorCode) {
    const std::string temp = path + ".zelkon-tmp";
    auto fail = [&](int err) {
        if (errorCode != nullptr) *errorCode = err;
        ::unlink(temp.c_str());
        return false;
    };
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errorCode != nullptr) *errorCode = errno;
        return false;
    }
    std::size_t done = 0;
    while (done < content.size()) {
        const std::ptrdiff_t n = blockWriter(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            return fail(err);
        }
        if (n == 0) {  // no progress: the device takes nothing more
            ::close(fd);
            return fail(EIO);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        const int err = errno;
        ::close(fd);
        return fail(err);
    }
    if (::close(fd) != 0) return fail(errno);
    if (::rename(temp.c_str(), path.c_str()) != 0) return fail(errno);
    if (errorCode != nullptr) *errorCode = 0;
    return true;
}

}  // namespace zelkon
