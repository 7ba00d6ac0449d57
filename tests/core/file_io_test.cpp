// Saving and reading under hostile conditions: a symbolic link planted at the temporary name
// is not followed; the saved file keeps the permission bits, group and link of the file it
// replaces; folders, FIFOs and devices are refused at once as sources and as targets;
// endless and oversized files are refused without reading them into memory; leftovers of an
// interrupted save are cleared, only our own.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/cli_common.h"
#include "core/file_io.h"
#include "data/scripted_prompts.h"
#include "data/text_import.h"
#include "document/data_file.h"
#include "document/document.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct stat Stat(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

std::string FixedName() { return "FIXED0"; }

class FileIo : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test::MakeTempDir();
        previousUmask_ = ::umask(022);
    }
    void TearDown() override {
        ::umask(previousUmask_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    std::size_t Entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}));
    }

    std::string dir_;
    mode_t previousUmask_ = 022;
};

TEST_F(FileIo, ASymlinkAtTheTemporaryNameIsNotFollowed) {
    const std::string victim = Path("private.txt");
    ASSERT_TRUE(WriteFileAtomically(victim, "my own words\n"));
    ::chmod(victim.c_str(), 0600);
    const std::string target = Path("lab.ZLD");
    ASSERT_TRUE(WriteFileAtomically(target, "old\r\n"));
    // Another user plants a link where the save will put its temporary file.
    const std::string planted = Path(TemporaryFilePrefix("lab.ZLD") + FixedName());
    ASSERT_EQ(::symlink(victim.c_str(), planted.c_str()), 0);
    const TemporaryNameSource previous = SetTemporaryNameSourceForTesting(&FixedName);
    int err = 0;
    EXPECT_FALSE(WriteFileAtomically(target, "new\r\n", &err));
    Document doc;
    EXPECT_EQ(IoErrorText(SaveDataFile(doc, target)), "Error: #5  File access denied.");
    SetTemporaryNameSourceForTesting(previous);
    EXPECT_EQ(err, EEXIST);
    EXPECT_EQ(Bytes(victim), "my own words\n");
    EXPECT_EQ(Stat(victim).st_mode & 0777, 0600u);
    EXPECT_EQ(Bytes(target), "old\r\n");
    EXPECT_TRUE(S_ISLNK(Stat(planted).st_mode));  // not ours: left where it is
    // With unpredictable names the save goes through, and the link stays unfollowed.
    EXPECT_TRUE(WriteFileAtomically(target, "new\r\n"));
    EXPECT_EQ(Bytes(target), "new\r\n");
    EXPECT_EQ(Bytes(victim), "my own words\n");
}

TEST_F(FileIo, TheReplacedFileKeepsItsModeGroupAndLink) {
    // Under umask 022 a new file is 0644, a private one stays 0600.
    const std::string fresh = Path("fresh.ZLD");
    ASSERT_TRUE(WriteFileAtomically(fresh, "a"));
    EXPECT_EQ(Stat(fresh).st_mode & 07777, 0644u);
    const std::string patient = Path("patients.ZLD");
    ASSERT_TRUE(WriteFileAtomically(patient, "a"));
    ASSERT_EQ(::chmod(patient.c_str(), 0600), 0);
    ASSERT_TRUE(WriteFileAtomically(patient, "b"));
    EXPECT_EQ(Stat(patient).st_mode & 07777, 0600u);
    EXPECT_EQ(Bytes(patient), "b");
    if (::geteuid() == 0) {  // another group can be given only with the right to
        ASSERT_EQ(::chown(patient.c_str(), static_cast<uid_t>(-1), 65534), 0);
        ASSERT_EQ(::chmod(patient.c_str(), 0640), 0);
        ASSERT_TRUE(WriteFileAtomically(patient, "c"));
        EXPECT_EQ(Stat(patient).st_gid, 65534u);
        EXPECT_EQ(Stat(patient).st_mode & 07777, 0640u);
    }

    // A link (relative, and through a second link) stays a link; the file it points to is
    // replaced, and a dangling link gets its file.
    fs::create_directory(Path("real"));
    const std::string real = Path("real/data.ZLD");
    ASSERT_TRUE(WriteFileAtomically(real, "old"));
    ASSERT_EQ(::chmod(real.c_str(), 0600), 0);
    ASSERT_EQ(::symlink("real/data.ZLD", Path("link.ZLD").c_str()), 0);
    ASSERT_EQ(::symlink(Path("link.ZLD").c_str(), Path("link2.ZLD").c_str()), 0);
    Document doc;
    ASSERT_EQ(SaveDataFile(doc, Path("link2.ZLD")), 0);
    EXPECT_TRUE(S_ISLNK(Stat(Path("link.ZLD")).st_mode));
    EXPECT_TRUE(S_ISLNK(Stat(Path("link2.ZLD")).st_mode));
    EXPECT_EQ(Bytes(real).substr(0, 9), "Kestrane ");
    EXPECT_EQ(Stat(real).st_mode & 07777, 0600u);
    ASSERT_EQ(::symlink("real/later.ZLD", Path("dangling.ZLD").c_str()), 0);
    ASSERT_TRUE(WriteFileAtomically(Path("dangling.ZLD"), "made"));
    EXPECT_TRUE(S_ISLNK(Stat(Path("dangling.ZLD")).st_mode));
    EXPECT_EQ(Bytes(Path("real/later.ZLD")), "made");
}

TEST_F(FileIo, FoldersFifosAndDevicesAreRefusedAtOnce) {
    const std::string fifo = Path("pipe.ZLD");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = Path("folder.ZLD");
    fs::create_directory(folder);
    // A device of our own making where we may (a test must never touch /dev/null itself
    // should the refusal fail); otherwise the system's, which we cannot replace anyway.
    std::string device = "/dev/null";
    if (::geteuid() == 0 && ::mknod(Path("null.ZLD").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        device = Path("null.ZLD");
    struct Case {
        std::string path;
        mode_t type;
        std::int32_t code;
    };
    for (const Case& c : {Case{fifo, S_IFIFO, 5}, Case{folder, S_IFDIR, 5}, Case{device, S_IFCHR, 5}}) {
        SCOPED_TRACE(c.path);
        const auto start = std::chrono::steady_clock::now();
        std::string text;
        EXPECT_EQ(ReadFileWithin(c.path, DataFileReadLimit, text).fault, ReadFault::NotRegularFile);
        const DataFileOpenCheck check = CheckDataFileForOpening(c.path);
        EXPECT_EQ(check.code, 0);
        EXPECT_EQ(check.message, NotDataFileMessage);
        Document doc;
        EXPECT_EQ(LoadDataFile(doc, c.path, 1), c.code);
        test::ScriptedPrompts prompts;
        EXPECT_FALSE(ReadImportFile(c.path, Separators{}, prompts).has_value());
        EXPECT_EQ(prompts.told, std::vector<std::string>{"Error: #5  File access denied."});
        std::ostringstream err;
        EXPECT_EQ(cli::OpenDataFile(c.path, err), nullptr);
        EXPECT_EQ(err.str(), "zelkon-cli: " + c.path + ": cannot be read: not a regular file\n");
        // As a target: refused with the input/output error text and left as it was.
        EXPECT_EQ(IoErrorText(SaveDataFile(doc, c.path)), "Error: #5  File access denied.");
        EXPECT_FALSE(WriteFileAtomically(c.path, "x"));
        EXPECT_EQ(CheckWriteTarget(c.path), c.type == S_IFDIR ? EISDIR : EACCES);
        EXPECT_EQ(Stat(c.path).st_mode & S_IFMT, c.type);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    }
}

// The peak resident size, in MB, of a child process that runs `work`.
long PeakMegabytesOf(const std::function<void()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    rusage usage {};
    ::wait4(child, &status, 0, &usage);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return usage.ru_maxrss / 1024;
}

TEST_F(FileIo, EndlessAndOversizedFilesAreRefusedWithoutReadingThem) {
    // /dev/zero never ends.
    EXPECT_LT(PeakMegabytesOf([] {
                  std::ostringstream err;
                  if (cli::OpenDataFile("/dev/zero", err) != nullptr) ::_exit(1);
                  std::string text;
                  if (ReadFileWithin("/dev/zero", DataFileReadLimit, text).fault != ReadFault::NotRegularFile)
                      ::_exit(1);
              }),
              100);
    // A 70 MB text file of line ends: over the limit, refused with a message.
    const std::string big = Path("newlines.txt");
    {
        std::ofstream out(big, std::ios::binary);
        const std::string block(1 << 20, '\n');
        for (int i = 0; i < 70; ++i) out << block;
    }
    EXPECT_LT(PeakMegabytesOf([&] {
                  test::ScriptedPrompts prompts;
                  if (ReadImportFile(big, Separators{}, prompts).has_value()) ::_exit(1);
                  if (prompts.told != std::vector<std::string>{std::string(DataFileTooLargeMessage)}) ::_exit(1);
                  const DataFileOpenCheck check = CheckDataFileForOpening(big);
                  if (check.code != 0 || check.message != DataFileTooLargeMessage) ::_exit(1);
                  std::ostringstream err;
                  if (cli::OpenDataFile(big, err) != nullptr ||
                      err.str() != "zelkon-cli: " + big + ": " + std::string(DataFileTooLargeMessage) + "\n")
                      ::_exit(1);
              }),
              400);
    // A file at the limit is read whole, never cut.
    fs::resize_file(big, DataFileReadLimit);
    std::string text;
    EXPECT_TRUE(ReadFileWithin(big, DataFileReadLimit, text).Ok());
    EXPECT_EQ(text.size(), DataFileReadLimit);
    EXPECT_EQ(ReadFileWithin(big, DataFileReadLimit - 1, text).fault, ReadFault::TooLarge);
    EXPECT_TRUE(text.empty());
}

TEST_F(FileIo, AnImportAtTheSizeLimitStaysSmall) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own memory would be measured";
#endif
    // 64 MB of line ends and no number: read, and refused for holding no value.
    const std::string big = Path("newlines.txt");
    {
        std::ofstream out(big, std::ios::binary);
        const std::string block(1 << 20, '\n');
        for (std::size_t i = 0; i < DataFileReadLimit >> 20; ++i) out << block;
    }
    EXPECT_LT(PeakMegabytesOf([&] {
                  test::ScriptedPrompts prompts;
                  if (ReadImportFile(big, Separators{}, prompts).has_value()) ::_exit(1);
                  if (prompts.told.empty() ||
                      prompts.told[0].find("There are no numbers") == std::string::npos)
                      ::_exit(1);
              }),
              400);
}

TEST_F(FileIo, LeftoversOfAnInterruptedSaveAreClearedOnlyOurOwn) {
    const std::string target = Path("litter.ZLD");
    const std::string prefix = Path(TemporaryFilePrefix("litter.ZLD"));
    const std::string crashed = prefix + "Ab3dE9";
    ASSERT_TRUE(WriteFileAtomically(crashed, "half a file"));
    const std::string otherFile = Path(TemporaryFilePrefix("other.ZLD") + "Ab3dE9");
    const std::string longer = prefix + "Ab3dE9x";
    const std::string link = prefix + "LINK00";
    for (const std::string& p : {otherFile, longer}) ASSERT_TRUE(WriteFileAtomically(p, "keep"));
    ASSERT_EQ(::symlink(otherFile.c_str(), link.c_str()), 0);
    std::string foreign;
    if (::geteuid() == 0) {  // a file of another user under our prefix
        foreign = prefix + "NOBODY";
        ASSERT_TRUE(WriteFileAtomically(foreign, "theirs"));
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    }
    ASSERT_TRUE(WriteFileAtomically(target, "saved"));
    EXPECT_FALSE(fs::exists(crashed));
    for (const std::string& p : {otherFile, longer, link, foreign}) {
        if (!p.empty()) {
            EXPECT_TRUE(fs::exists(fs::symlink_status(p))) << p;
        }
    }
    EXPECT_EQ(Entries(), foreign.empty() ? 4u : 5u);  // no temporary file of this save
}

}  // namespace
}  // namespace zelkon
