// safe_file.h - the one reader and the one writer of files from outside.
//
// Reading: a file is opened without blocking (a FIFO never stalls the GLUT
// thread), refused unless it is a regular file, and refused when it is larger
// than the caller's limit, all before a byte is read. Callers that must look
// at a header first (bitmaps) read pieces with SafeReadFile::readAt.
//
// Writing: the data goes to a temporary file beside the target, is flushed
// and synced, and only then renamed over the target. Whatever fails, the
// temporary is removed and the target keeps its old bytes.
//
// Errors come back as short lower-case reasons ("is not a regular file") for
// the caller to put into its own console line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Size limits of the files the program reads.
constexpr std::uint64_t kMaxAnimationFileBytes = 64ull << 20;
constexpr std::uint64_t kMaxSceneFileBytes = 64ull << 20;
constexpr std::uint64_t kMaxBitmapFileBytes = 256ull << 20;
constexpr std::uint64_t kMaxHelpFileBytes = 1ull << 20;

// ---------------------------------------------------------------- reader

// A regular file opened for reading, its size fixed at open.
class SafeReadFile {
public:
    SafeReadFile() = default;
    SafeReadFile(const SafeReadFile&) = delete;
    SafeReadFile& operator=(const SafeReadFile&) = delete;
    ~SafeReadFile();

    // Opens `path`; false with `error` set when it does not exist, is not a
    // regular file, or holds more than maxBytes.
    bool open(const std::string& path, std::uint64_t maxBytes, std::string& error);
    // After a failed open: true when the file was there but refused (not a
    // regular file, or too large), false when it could not be opened at all.
    bool refused() const { return refused_; }
    std::uint64_t size() const { return size_; }
    // Reads exactly n bytes at offset; false when the file has fewer.
    bool readAt(std::uint64_t offset, void* buffer, std::size_t n);
    void close();

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
    bool refused_ = false;
};

// Reads a whole regular file of at most maxBytes into `out`. On failure,
// `refused` (if given) tells a refused file from one that could not be opened.
bool readFileSafely(const std::string& path, std::uint64_t maxBytes, std::string& out,
                    std::string& error, bool* refused = nullptr);

// ---------------------------------------------------------------- writer

// A temporary file beside `target` that becomes the target on commit().
// Destroyed uncommitted, it removes the temporary.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter() { abort(); }

    // Creates the temporary; false with `error` when the folder refuses it.
    bool begin(const std::string& target, std::string& error);
    // Path of the temporary, for writers that open it themselves (encoders).
    const std::string& tempPath() const { return temp_; }
    // Appends bytes; false (and the writer is spoiled) on a short write.
    bool write(const void* data, std::size_t n, std::string& error);
    // Syncs, closes and renames over the target; false leaves the target as it was.
    bool commit(std::string& error);
    // Removes the temporary, if any.
    void abort();

private:
    std::string target_, temp_;
    int fd_ = -1;
    bool failed_ = false;
};

// Writes `data` to `path` through an AtomicFileWriter.
bool writeFileAtomically(const std::string& path, const std::string& data, std::string& error);

// Test seam: the write(2) the writer calls, so tests can make the disk "full".
using SafeWriteFn = long (*)(int fd, const void* data, std::size_t n);
void setSafeWriteFunctionForTests(SafeWriteFn fn);  // nullptr restores write(2)
