#include "core/file_io.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelkon {

namespace {

std::ptrdiff_t SystemWrite(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

constexpr char NameAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t NameAlphabetSize = sizeof NameAlphabet - 1;

std::string RandomNamePart() {
    unsigned char bytes[TemporaryNameRandomLength];
    std::size_t got = 0;
    while (got < sizeof bytes) {
        const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (got < sizeof bytes) {  // no kernel randomness: the C++ library's source
        std::random_device device;
        for (unsigned char& b : bytes) b = static_cast<unsigned char>(device());
    }
    std::string part;
    for (const unsigned char b : bytes) part += NameAlphabet[b % NameAlphabetSize];
    return part;
}

FileBlockWriter blockWriter = &SystemWrite;
TemporaryNameSource nameSource = &RandomNamePart;

/// The error number that refuses a file of this type: EISDIR for a folder, EACCES otherwise.
int NotRegularError(mode_t mode) { return S_ISDIR(mode) ? EISDIR : EACCES; }

FileReadStatus Refused(ReadFault fault, int error, std::string& out) {
    out.clear();
    return {fault, error};
}

struct PathParts {
    std::string folder;  ///< "." for a bare name
    std::string name;
};

PathParts SplitPath(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {".", path};
    return {path.substr(0, slash == 0 ? 1 : slash), path.substr(slash + 1)};
}

/// Follows symbolic links from `path` to the name that is to be replaced: the first name
/// that is not a link (or does not exist yet).  False with errno set on a loop or a fault.
bool FollowLinks(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT;
        if (!S_ISLNK(st.st_mode)) return true;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0) return false;
        if (static_cast<std::size_t>(n) >= link.size()) {  // the link changed under us
            errno = ELOOP;
            return false;
        }
        link.resize(static_cast<std::size_t>(n));
        if (link.empty() || link.front() != '/') {
            link = SplitPath(target).folder.append("/").append(link);
        }
        target = link;
    }
    errno = ELOOP;
    return false;
}

/// The process's file-creation mask, read without changing it (other threads may create
/// files meanwhile); where the kernel does not tell, it is set and restored.
mode_t CurrentUmask() {
    if (std::FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, f) != nullptr) {
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        }
        std::fclose(f);
        if (found) return static_cast<mode_t>(mask);
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

/// True for a name of the temporary files that saving `name` creates.
bool IsTemporaryNameOf(const char* entry, const std::string& prefix) {
    const std::size_t length = std::strlen(entry);
    if (length != prefix.size() + TemporaryNameRandomLength) return false;
    if (prefix.compare(0, prefix.size(), entry, prefix.size()) != 0) return false;
    for (std::size_t i = prefix.size(); i < length; ++i) {
        if (std::strchr(NameAlphabet, entry[i]) == nullptr) return false;
    }
    return true;
}

/// Removes what an interrupted save of this file left behind: regular files under the
/// temporary prefix that belong to this user.  Links and other users' files stay.
void RemoveLeftovers(const std::string& folder, const std::string& prefix) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryNameOf(entry->d_name, prefix)) continue;
        struct stat st {};
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

/// Makes the file's data and its name in the folder durable.  A file system that cannot
/// sync a folder does not fail the save: the file is in place already.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool WriteAll(int fd, std::string_view content, int& err) {
    std::size_t done = 0;
    while (done < content.size()) {
        const std::ptrdiff_t n = blockWriter(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        if (n == 0) {  // no progress: the device takes nothing more
            err = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

/// The name a save replaces (links followed) and, when it exists, its status; 0, or the
/// error number that refuses the save.
int ResolveWriteTarget(const std::string& path, std::string& target, struct stat& existing,
                       bool& replacing) {
    if (!FollowLinks(path, target)) return errno;
    replacing = ::stat(target.c_str(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode)) return NotRegularError(existing.st_mode);
    return 0;
}

}  // namespace

int CheckWriteTarget(const std::string& path) {
    std::string target;
    struct stat existing {};
    bool replacing = false;
    return ResolveWriteTarget(path, target, existing, replacing);
}

FileBlockWriter SetFileBlockWriterForTesting(FileBlockWriter writer) {
    const FileBlockWriter previous = blockWriter;
    blockWriter = writer != nullptr ? writer : &SystemWrite;
    return previous;
}

TemporaryNameSource SetTemporaryNameSourceForTesting(TemporaryNameSource source) {
    const TemporaryNameSource previous = nameSource;
    nameSource = source != nullptr ? source : &RandomNamePart;
    return previous;
}

std::string TemporaryFilePrefix(std::string_view fileName) {
    return std::string(".").append(fileName).append(".zelkon-tmp-");
}

FileReadStatus ReadFileWithin(const std::string& path, std::size_t limit, std::string& out) {
    out.clear();
    // Refuse what is not a regular file before opening it: opening a device can act on it.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return Refused(ReadFault::System, errno, out);
    if (!S_ISREG(st.st_mode)) return Refused(ReadFault::NotRegularFile, NotRegularError(st.st_mode), out);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Refused(ReadFault::System, errno, out);
    // The name may have been replaced since: what counts is the file that was opened.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = S_ISREG(st.st_mode) ? errno : NotRegularError(st.st_mode);
        ::close(fd);
        return Refused(S_ISREG(st.st_mode) ? ReadFault::System : ReadFault::NotRegularFile, err, out);
    }
    if (static_cast<std::uintmax_t>(st.st_size) > limit) {
        ::close(fd);
        return Refused(ReadFault::TooLarge, EFBIG, out);
    }
    out.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            return Refused(ReadFault::System, err, out);
        }
        if (n == 0) break;
        if (out.size() + static_cast<std::size_t>(n) > limit) {  // it grew while being read
            ::close(fd);
            return Refused(ReadFault::TooLarge, EFBIG, out);
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return {};
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    return ReadFileWithin(path, DataFileReadLimit, out).Ok();
}

bool WriteFileAtomically(const std::string& path, std::string_view content, int* errorCode) {
    auto report = [&](int err) {
        if (errorCode != nullptr) *errorCode = err;
        return err == 0;
    };
    std::string target;
    struct stat existing {};
    bool replacing = false;
    if (const int err = ResolveWriteTarget(path, target, existing, replacing)) return report(err);

    const PathParts parts = SplitPath(target);
    const std::string& folder = parts.folder;
    const std::string prefix = TemporaryFilePrefix(parts.name);
    RemoveLeftovers(folder, prefix);

    // A new name that nobody can have prepared: created here, never followed.
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = std::string(folder).append("/").append(prefix).append(nameSource());
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return report(errno);
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(temp.c_str());
        return report(err);
    };

    int err = 0;
    if (!WriteAll(fd, content, err)) return fail(err);
    // The replaced file's group where we may give it, then its permission bits (set-user and
    // set-group bits excepted); a new file what the umask allows.
    mode_t mode = 0666 & ~CurrentUmask();
    if (replacing) {
        if (existing.st_gid != ::getegid()) (void)::fchown(fd, static_cast<uid_t>(-1), existing.st_gid);
        mode = existing.st_mode & 01777;
    }
    if (::fchmod(fd, mode) != 0) return fail(errno);
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        err = errno;
        ::unlink(temp.c_str());
        return report(err);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        err = errno;
        ::unlink(temp.c_str());
        return report(err);
    }
    SyncFolder(folder);
    return report(0);
}

}  // namespace zelkon
