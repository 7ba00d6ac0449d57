// Saving and opening when the file system fails: a write that breaks off midway, a full
// disk, a read-only folder, a file that vanishes between the open check and the read.  In
// every case the previous file keeps its bytes, no temporary file is left behind, the
// document stays modified, and the user is told "Error: #" with the code and its message.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/cli_common.h"
#include "core/file_io.h"
#include "document/data_file.h"
#include "document/document.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

namespace fs = std::filesystem;

// A document with a column of raw values, changed since it was saved.
void FillDocument(Document& doc, int rows) {
    for (int r = 0; r < rows; ++r) {
        doc.Table().SetValue(r, 0, r + 0.5L);
        doc.Table().SetValue(r, 1, 1000 - r);
    }
    doc.Table().SetNoRawData(0, false);
    doc.Table().SetNoRawData(1, false);
    doc.Notes() = "Litter 4, weighed on Monday.";
    doc.MarkModified();
}

std::string Bytes(const std::string& path) {
    std::string text;
    EXPECT_TRUE(ReadWholeFile(path, text)) << path;
    return text;
}

std::size_t EntriesIn(const std::string& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator{}));
}

// Saves through the command line's save path; returns what it told the user.
std::string SaveThroughCli(Document& doc, const std::string& path, bool expectSuccess) {
    std::ostringstream err;
    EXPECT_EQ(cli::SaveDocument(doc, path, err), expectSuccess);
    return err.str();
}

// The block writers of the midway failures -----------------------------------------------------

int failingErrno = EIO;
int writerCalls = 0;

// Writes half of the first block, then fails with `failingErrno`.
std::ptrdiff_t HalfThenFail(int fd, const void* data, std::size_t size) {
    if (writerCalls++ == 0) return ::write(fd, data, size / 2);
    errno = failingErrno;
    return -1;
}

// Makes no progress at all, as a device that takes nothing more.
std::ptrdiff_t NoProgress(int, const void*, std::size_t) { return 0; }

// Interrupted once, then writes a few bytes at a time.
std::ptrdiff_t InterruptedThenSlow(int fd, const void* data, std::size_t size) {
    if (writerCalls++ == 0) {
        errno = EINTR;
        return -1;
    }
    return ::write(fd, data, std::min<std::size_t>(size, 7));
}

class WriterSeam {
public:
    explicit WriterSeam(FileBlockWriter writer) : previous_(SetFileBlockWriterForTesting(writer)) {
        writerCalls = 0;
    }
    ~WriterSeam() { SetFileBlockWriterForTesting(previous_); }

private:
    FileBlockWriter previous_;
};

// A small tmpfs of our own (needs the right to mount; the tests that use it skip otherwise).
class SmallDisk {
public:
    explicit SmallDisk(const std::string& dir, const char* size) : dir_(dir) {
        const std::string options = std::string("size=") + size;
        mounted_ = ::mount("tmpfs", dir_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(dir_.c_str(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }
    bool MakeReadOnly() {
        return ::mount(nullptr, dir_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    std::string dir_;
    bool mounted_ = false;
};

class SaveFault : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test::MakeTempDir();
        path_ = dir_ + "/litter.ZLD";
        FillDocument(saved_, 5);
        ASSERT_EQ(SaveDataFile(saved_, path_), 0);
        before_ = Bytes(path_);
        FillDocument(doc_, 400);  // a larger document, so the write takes several blocks
        doc_.SetFileName(path_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, ec);
        fs::remove_all(dir_, ec);
    }

    // The previous file as it was, nothing else in the folder, the document still modified
    // and still under its name.
    void ExpectNothingChanged(const std::string& dir, const std::string& path,
                              const std::string& before) {
        EXPECT_EQ(Bytes(path), before);
        EXPECT_EQ(EntriesIn(dir), 1u) << "a temporary file was left behind";
        EXPECT_TRUE(doc_.Modified());
        EXPECT_EQ(doc_.FileName(), path_);
    }

    std::string dir_;
    std::string path_;
    std::string before_;
    Document saved_;
    Document doc_;
};

TEST_F(SaveFault, WriteFailingMidwayKeepsThePreviousFile) {
    {
        WriterSeam seam(&HalfThenFail);
        failingErrno = EIO;
        EXPECT_EQ(SaveDataFile(doc_, path_), 160);
        EXPECT_EQ(writerCalls, 2);
    }
    ExpectNothingChanged(dir_, path_, before_);
    EXPECT_EQ(IoErrorText(160), "Error: #160  Device write error");
    {
        WriterSeam seam(&HalfThenFail);
        failingErrno = ENOSPC;
        EXPECT_EQ(SaveThroughCli(doc_, path_, false),
                  "zelkon-cli: " + path_ + ": Error: #101  The disk is full.\n");
    }
    ExpectNothingChanged(dir_, path_, before_);
    {
        WriterSeam seam(&NoProgress);  // must end with an error, not loop
        EXPECT_EQ(SaveDataFile(doc_, path_), 160);
    }
    ExpectNothingChanged(dir_, path_, before_);
    {
        // Interrupted and short writes are carried on to the end.
        WriterSeam seam(&InterruptedThenSlow);
        EXPECT_EQ(SaveThroughCli(doc_, path_, true), "");
        EXPECT_GT(writerCalls, 100);
    }
    EXPECT_EQ(Bytes(path_), BuildDataFileText({doc_.Data(), doc_.Choices(), doc_.Notes(), doc_.Graph()}));
    EXPECT_FALSE(doc_.Modified());
}

TEST_F(SaveFault, FullDisk) {
    const std::string disk = dir_ + "/disk";
    fs::create_directory(disk);
    SmallDisk small(disk, "64k");
    if (!small.Mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
    const std::string path = disk + "/litter.ZLD";
    ASSERT_EQ(SaveDataFile(saved_, path), 0);
    // Fill the disk to the last byte.
    {
        std::FILE* filler = std::fopen((disk + "/filler").c_str(), "wb");
        ASSERT_NE(filler, nullptr);
        std::setvbuf(filler, nullptr, _IONBF, 0);
        const std::string block(512, 'x');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {}
        std::fclose(filler);
    }
    EXPECT_EQ(SaveThroughCli(doc_, path, false),
              "zelkon-cli: " + path + ": Error: #101  The disk is full.\n");
    EXPECT_EQ(Bytes(path), before_);
    EXPECT_EQ(EntriesIn(disk), 2u);  // the file and the filler, no temporary file
    EXPECT_TRUE(doc_.Modified());
    // With room again the same save goes through.
    fs::remove(disk + "/filler");
    EXPECT_EQ(SaveDataFile(doc_, path), 0);
}

TEST_F(SaveFault, ReadOnlyFolder) {
    if (::geteuid() != 0) {
        fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(SaveThroughCli(doc_, path_, false),
                  "zelkon-cli: " + path_ + ": Error: #5  File access denied.\n");
        ExpectNothingChanged(dir_, path_, before_);
        fs::permissions(dir_, fs::perms::owner_all);
    }
    // A read-only file system refuses even the superuser.
    const std::string disk = dir_ + "/disk";
    fs::create_directory(disk);
    SmallDisk small(disk, "64k");
    if (!small.Mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
    const std::string path = disk + "/litter.ZLD";
    ASSERT_EQ(SaveDataFile(saved_, path), 0);
    ASSERT_TRUE(small.MakeReadOnly());
    EXPECT_EQ(SaveThroughCli(doc_, path, false),
              "zelkon-cli: " + path + ": Error: #150  Disk is write-protected.\n");
    EXPECT_EQ(Bytes(path), before_);
    EXPECT_EQ(EntriesIn(disk), 1u);
    EXPECT_TRUE(doc_.Modified());
}

TEST_F(SaveFault, FileVanishingBetweenTheCheckAndTheRead) {
    const DataFileOpenCheck check = CheckDataFileForOpening(path_);
    ASSERT_EQ(check.code, 1);
    ASSERT_TRUE(fs::remove(path_));
    Document opened;
    const std::int32_t result = LoadDataFile(opened, path_, check.code);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(IoErrorText(result), "Error: #2  File not found.");
    EXPECT_TRUE(opened.Table().IsMissing(0, 0));  // nothing was read
    EXPECT_TRUE(opened.Notes().empty());

    // Its folder gone too: the path is not found; replaced by a folder: access is denied.
    EXPECT_EQ(LoadDataFile(opened, dir_ + "/gone/litter.ZLD", check.code), 3);
    fs::create_directory(path_);
    EXPECT_EQ(IoErrorText(LoadDataFile(opened, path_, check.code)), "Error: #5  File access denied.");
    std::ostringstream err;
    EXPECT_EQ(cli::OpenDataFile(dir_ + "/vanished.ZLD", err), nullptr);
}

}  // namespace
}  // namespace zelkon
