// The safe reader refuses what could hang or swamp it; the safe writer never
// harms the file it replaces.
#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "../io/io_test_support.h"
#include "base/safe_file.h"

namespace {

// Lets the first `budget` bytes through, then reports a full disk.
long budget = 0;
long fullDiskAfterBudget(int fd, const void* data, std::size_t n) {
    if (budget <= 0) {
        errno = ENOSPC;
        return -1;
    }
    const long put = static_cast<long>(n) < budget ? static_cast<long>(n) : budget;
    budget -= put;
    return ::write(fd, data, static_cast<std::size_t>(put));
}

int entriesIn(const std::string& dir) {
    int n = 0;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = readdir(d))
        if (e->d_name[0] != '.') n++;
    closedir(d);
    return n;
}

}  // namespace

using SafeFile = InTempDir;

TEST_F(SafeFile, WriterReplacesTheTargetWholeAndLeavesNoTemporary) {
    writeFile(path("dance.txt"), "old contents\n");
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path("dance.txt"), "new contents\n", error)) << error;
    EXPECT_EQ(readFile(path("dance.txt")), "new contents\n");
    EXPECT_EQ(entriesIn(dir), 1);
    struct stat st;
    ASSERT_EQ(stat(path("dance.txt").c_str(), &st), 0);
    EXPECT_NE(st.st_mode & S_IRUSR, 0u);
}

TEST_F(SafeFile, AFailedWriteLeavesTheOldFileByteForByte) {
    const std::string old(10000, 'k');
    writeFile(path("dance.txt"), old);
    for (long allowed : {0L, 1L, 4096L, 9999L}) {
        budget = allowed;
        setSafeWriteFunctionForTests(fullDiskAfterBudget);
        std::string error;
        EXPECT_FALSE(writeFileAtomically(path("dance.txt"), std::string(20000, 'n'), error));
        setSafeWriteFunctionForTests(nullptr);
        EXPECT_EQ(error, std::strerror(ENOSPC));
        EXPECT_EQ(readFile(path("dance.txt")), old) << "after " << allowed << " bytes";
        EXPECT_EQ(entriesIn(dir), 1) << "the temporary is removed";
    }
}

TEST_F(SafeFile, WriterReportsAFolderItCannotWriteIn) {
    std::string error;
    EXPECT_FALSE(writeFileAtomically(path("no/such/folder/x.txt"), "x", error));
    EXPECT_FALSE(error.empty());
}

TEST_F(SafeFile, ReaderTakesARegularFileWhole) {
    writeFile(path("a.txt"), std::string("line\0with nul\n", 14));
    std::string out, error;
    ASSERT_TRUE(readFileSafely(path("a.txt"), 100, out, error)) << error;
    EXPECT_EQ(out, std::string("line\0with nul\n", 14));
}

TEST_F(SafeFile, ReaderRefusesWhatIsNotARegularFileAtOnce) {
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);  // no writer: a blocking open would hang
    std::string out, error;
    EXPECT_FALSE(readFileSafely(path("fifo"), 100, out, error));
    EXPECT_EQ(error, "is not a regular file");
    EXPECT_FALSE(readFileSafely("/dev/zero", 100, out, error));
    EXPECT_EQ(error, "is not a regular file");
    EXPECT_FALSE(readFileSafely(dir, 100, out, error));
    EXPECT_EQ(error, "is a folder, not a file");
    EXPECT_FALSE(readFileSafely(path("missing"), 100, out, error));
    EXPECT_EQ(error, "does not exist");
}

TEST_F(SafeFile, ReaderRefusesAFileOverItsLimitBeforeReading) {
    writeFile(path("big"), std::string((2 << 20) + 1, 'x'));
    std::string out, error;
    EXPECT_FALSE(readFileSafely(path("big"), 2 << 20, out, error));
    EXPECT_EQ(error, "is larger than 2 MB");
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(readFileSafely(path("big"), 3 << 20, out, error));
}

TEST_F(SafeFile, PiecesAreReadOnlyWithinTheFile) {
    writeFile(path("h"), "0123456789");
    SafeReadFile f;
    std::string error;
    ASSERT_TRUE(f.open(path("h"), 100, error));
    EXPECT_EQ(f.size(), 10u);
    char buf[4] = {};
    EXPECT_TRUE(f.readAt(6, buf, 4));
    EXPECT_EQ(std::string(buf, 4), "6789");
    EXPECT_FALSE(f.readAt(7, buf, 4));
    EXPECT_FALSE(f.readAt(~0ull, buf, 1));
}

// Renaming over a device or FIFO would replace it with a plain file (as root
// even /dev/full); renaming over a link would cut the link. Neither happens.
TEST_F(SafeFile, WriterReplacesOnlyRegularFilesAndWritesThroughLinks) {
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    std::string error;
    EXPECT_FALSE(writeFileAtomically(path("fifo"), "x", error));
    EXPECT_EQ(error, "is not a regular file");
    struct stat st;
    ASSERT_EQ(stat(path("fifo").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    writeFile(path("real.txt"), "old");
    ASSERT_EQ(chmod(path("real.txt").c_str(), 0640), 0);
    ASSERT_EQ(symlink("real.txt", path("link.txt").c_str()), 0);
    ASSERT_TRUE(writeFileAtomically(path("link.txt"), "new", error)) << error;
    EXPECT_EQ(readFile(path("real.txt")), "new");
    ASSERT_EQ(lstat(path("link.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat(path("real.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}
