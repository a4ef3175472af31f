// safe_file.cpp - non-blocking bounded reads, write-then-rename saves.
#include "base/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

long systemWrite(int fd, const void* data, std::size_t n) { return ::write(fd, data, n); }
SafeWriteFn writeFn = systemWrite;

std::string reason(int err) { return std::strerror(err); }

std::string megabytes(std::uint64_t bytes) {
    return std::to_string(bytes >> 20) + " MB";
}

}  // namespace

void setSafeWriteFunctionForTests(SafeWriteFn fn) { writeFn = fn ? fn : systemWrite; }

// ---------------------------------------------------------------- reader

SafeReadFile::~SafeReadFile() { close(); }

void SafeReadFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
}

bool SafeReadFile::open(const std::string& path, std::uint64_t maxBytes, std::string& error) {
    close();
    refused_ = false;
    // O_NONBLOCK: opening a FIFO with no writer would otherwise wait for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = errno == ENOENT ? "does not exist" : reason(errno);
        return false;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        error = reason(errno);
        ::close(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        refused_ = true;
        error = S_ISDIR(st.st_mode) ? "is a folder, not a file" : "is not a regular file";
        ::close(fd);
        return false;
    }
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        refused_ = true;
        error = "is larger than " + megabytes(maxBytes);
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool SafeReadFile::readAt(std::uint64_t offset, void* buffer, std::size_t n) {
    if (fd_ < 0 || offset > size_ || n > size_ - offset) return false;
    char* out = static_cast<char*>(buffer);
    while (n > 0) {
        const ssize_t got = ::pread(fd_, out, n, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;  // shrunk under us, or an I/O error
        out += got;
        offset += static_cast<std::uint64_t>(got);
        n -= static_cast<std::size_t>(got);
    }
    return true;
}

bool readFileSafely(const std::string& path, std::uint64_t maxBytes, std::string& out,
                    std::string& error, bool* refused) {
    out.clear();
    if (refused) *refused = false;
    SafeReadFile file;
    if (!file.open(path, maxBytes, error)) {
        if (refused) *refused = file.refused();
        return false;
    }
    out.resize(static_cast<std::size_t>(file.size()));
    if (!out.empty() && !file.readAt(0, &out[0], out.size())) {
        out.clear();
        error = "could not be read to its end";
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- writer

namespace {

// The file a save really replaces: a link is followed to the file it names,
// so the rename updates that file and the link stays a link.
std::string resolvedTarget(const std::string& target) {
    struct stat st;
    if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    char* real = realpath(target.c_str(), nullptr);
    if (real == nullptr) return target;  // a dangling link: replaced like a missing file
    std::string resolved = real;
    std::free(real);
    return resolved;
}

}  // namespace

bool AtomicFileWriter::begin(const std::string& target, std::string& error) {
    abort();
    target_ = resolvedTarget(target);
    failed_ = false;
    // Renaming over a device, FIFO or folder would replace it with a file
    // (as root even /dev/full): only regular files are replaced.
    struct stat st;
    const bool exists = stat(target_.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? "is a folder, not a file" : "is not a regular file";
        return false;
    }
    // Beside the target, so the rename never crosses a file system.
    std::string tmpl = target_ + ".tmp-XXXXXX";
    const int fd = mkstemp(&tmpl[0]);
    if (fd < 0) {
        error = reason(errno);
        return false;
    }
    // mkstemp makes 0600; a replaced file keeps its permissions, a new one
    // gets the usual ones.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, exists ? (st.st_mode & 07777) : (0666 & ~mask));
    fd_ = fd;
    temp_ = tmpl;
    return true;
}

bool AtomicFileWriter::write(const void* data, std::size_t n, std::string& error) {
    if (fd_ < 0 || failed_) {
        error = "the file is not open for writing";
        return false;
    }
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        const long put = writeFn(fd_, p, n);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            error = put < 0 ? reason(errno) : "nothing could be written";
            failed_ = true;
            return false;
        }
        p += put;
        n -= static_cast<std::size_t>(put);
    }
    return true;
}

bool AtomicFileWriter::commit(std::string& error) {
    if (fd_ < 0 || failed_) {
        if (error.empty()) error = "the file was not written";
        abort();
        return false;
    }
    // fsync before rename: after a crash the target is old or new, never empty.
    if (fsync(fd_) != 0) {
        error = reason(errno);
        abort();
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        error = reason(errno);
        abort();
        return false;
    }
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
        error = reason(errno);
        abort();
        return false;
    }
    temp_.clear();
    return true;
}

void AtomicFileWriter::abort() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

bool writeFileAtomically(const std::string& path, const std::string& data, std::string& error) {
    AtomicFileWriter out;
    return out.begin(path, error) && out.write(data.data(), data.size(), error) &&
           out.commit(error);
}
