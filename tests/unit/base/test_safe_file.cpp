// The safe reader refuses what could hang or swamp it; the safe writer never
// harms the file it replaces.
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

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

// In a shared folder another user may plant a link to one of our files under
// the name we save to. Such a link is never followed, by the file itself or
// through a chain; our own links still are (above).
TEST_F(SafeFile, WriterNeverFollowsALinkAnotherUserMade) {
    if (geteuid() != 0) GTEST_SKIP() << "making a link of another user's needs root";
    const uid_t nobody = 65534;
    writeFile(path("notes.txt"), "victim");
    ASSERT_EQ(symlink(path("notes.txt").c_str(), path("film.mp4").c_str()), 0);
    ASSERT_EQ(lchown(path("film.mp4").c_str(), nobody, nobody), 0);
    // Ours, but leading to theirs.
    ASSERT_EQ(symlink("film.mp4", path("mine.txt").c_str()), 0);
    std::string error;
    for (const char* name : {"film.mp4", "mine.txt"}) {
        error.clear();
        EXPECT_FALSE(writeFileAtomically(path(name), "MP4", error)) << name;
        EXPECT_EQ(error, "is a link made by another user, not followed") << name;
    }
    EXPECT_EQ(readFile(path("notes.txt")), "victim");
    struct stat st;
    ASSERT_EQ(lstat(path("film.mp4").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(entriesIn(dir), 3);  // no temporary left
}

// An encoder writes the descriptor, never the temporary's name; should the
// name be swapped for a link meanwhile, the commit refuses to move it into
// the target's place.
TEST_F(SafeFile, ATemporarySwappedUnderTheWriterIsNeitherWrittenNorRenamed) {
    writeFile(path("notes.txt"), "victim");
    AtomicFileWriter out;
    std::string error;
    ASSERT_TRUE(out.begin(path("film.mp4"), error)) << error;
    std::string temp;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = readdir(d))
        if (std::strncmp(e->d_name, "film.mp4.tmp-", 13) == 0) temp = path(e->d_name);
    closedir(d);
    ASSERT_FALSE(temp.empty());
    ASSERT_EQ(unlink(temp.c_str()), 0);
    ASSERT_EQ(symlink(path("notes.txt").c_str(), temp.c_str()), 0);

    ASSERT_TRUE(out.write("MP4", 3, error)) << error;
    EXPECT_FALSE(out.commit(error));
    EXPECT_EQ(error, "its temporary file was replaced by someone else");
    EXPECT_EQ(readFile(path("notes.txt")), "victim");
    struct stat st;
    EXPECT_NE(lstat(path("film.mp4").c_str(), &st), 0);
}

// Ctrl+C, SIGTERM and SIGHUP half-way through a save remove its temporary,
// and still end the process by that signal.
TEST_F(SafeFile, InterruptingSignalsRemoveTheTemporariesAndStillEndTheProcess) {
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            signal(sig, SIG_DFL);
            removeTemporariesOnSignals();
            AtomicFileWriter a, b;
            std::string error;
            if (!a.begin(path("film.mp4"), error) || !b.begin(path("scene.scene"), error)) _exit(3);
            a.write("half", 4, error);
            raise(sig);
            _exit(4);  // not reached: the signal ends the process
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << "signal " << sig;
        EXPECT_EQ(entriesIn(dir), 0) << "signal " << sig;
    }
}
