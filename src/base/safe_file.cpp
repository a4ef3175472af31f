// safe_file.cpp - non-blocking bounded reads, write-then-rename saves.
#include "base/safe_file.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
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

// Read once, before any thread starts: reading the mask means setting it,
// and a file made by another thread meanwhile would get the wrong mode.
const mode_t gUmask = [] {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}();

// The file a save really replaces. A link of the user's own is followed to
// the file it names, so the rename updates that file and the link stays a
// link. A link someone else made is never followed: in a shared folder it
// may name any file of the user's (the kernel's guard against such links
// holds only for links it follows itself, and only in sticky folders).
bool resolveTarget(const std::string& target, std::string& resolved, std::string& error) {
    std::string at = target;
    for (int hops = 0; hops < 40; hops++) {
        struct stat st;
        if (lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            resolved = at;
            return true;
        }
        if (st.st_uid != geteuid()) {
            error = "is a link made by another user, not followed";
            return false;
        }
        char text[PATH_MAX];
        const ssize_t n = readlink(at.c_str(), text, sizeof text - 1);
        if (n <= 0) {
            error = reason(errno);
            return false;
        }
        std::string next(text, static_cast<std::size_t>(n));
        if (next[0] != '/') {
            const std::size_t slash = at.rfind('/');
            if (slash != std::string::npos) next = at.substr(0, slash + 1) + next;
        }
        // A dangling link is replaced like a missing file.
        struct stat there;
        if (lstat(next.c_str(), &there) != 0) {
            resolved = at;
            return true;
        }
        at = next;
    }
    error = "is a chain of too many links";
    return false;
}

// ---- temporaries a signal removes

// Slots the signal handler reads: a path is published (state 2) only once
// it is complete, and the handler only unlinks, which is safe in a handler.
struct TempSlot {
    std::atomic<int> state{0};  // 0 free, 1 being filled, 2 live
    char path[PATH_MAX];
};
constexpr int kTempSlots = 16;
TempSlot gTemps[kTempSlots];

int publishTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < kTempSlots; i++) {
        int expected = 0;
        if (!gTemps[i].state.compare_exchange_strong(expected, 1)) continue;
        std::memcpy(gTemps[i].path, path.c_str(), path.size() + 1);
        gTemps[i].state = 2;
        return i;
    }
    return -1;
}

void withdrawTemporary(int slot) {
    if (slot >= 0) gTemps[slot].state = 0;
}

extern "C" void removeTemporariesAndDie(int sig) {
    for (TempSlot& t : gTemps)
        if (t.state.load() == 2) ::unlink(t.path);
    // The handler was reset on entry: the signal ends the process as it
    // would have, once this handler returns.
    raise(sig);
}

}  // namespace

void removeTemporariesOnSignals() {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = removeTemporariesAndDie;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old;
        // A signal ignored by whoever started us (nohup) stays ignored.
        if (sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        sigaction(sig, &action, nullptr);
    }
}

bool AtomicFileWriter::begin(const std::string& target, std::string& error) {
    abort();
    failed_ = false;
    if (!resolveTarget(target, target_, error)) return false;
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
    const int fd = mkostemp(&tmpl[0], O_CLOEXEC);
    if (fd < 0) {
        error = reason(errno);
        return false;
    }
    // mkstemp makes 0600; a replaced file keeps its permissions, a new one
    // gets the usual ones.
    fchmod(fd, exists ? (st.st_mode & 07777) : (0666 & ~gUmask));
    fd_ = fd;
    temp_ = tmpl;
    slot_ = publishTemporary(temp_);
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
    struct stat mine;
    if (fstat(fd_, &mine) != 0) {
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
    // In a folder others may write, the name may no longer be our file: the
    // rename would put their link or file in the target's place.
    struct stat named;
    if (lstat(temp_.c_str(), &named) != 0 || named.st_dev != mine.st_dev || named.st_ino != mine.st_ino) {
        error = "its temporary file was replaced by someone else";
        temp_.clear();  // not ours to remove
        abort();
        return false;
    }
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
        error = reason(errno);
        abort();
        return false;
    }
    withdrawTemporary(slot_);
    slot_ = -1;
    temp_.clear();
    return true;
}

void AtomicFileWriter::abort() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    withdrawTemporary(slot_);
    slot_ = -1;
    temp_.clear();
}

bool writeFileAtomically(const std::string& path, const std::string& data, std::string& error) {
    AtomicFileWriter out;
    return out.begin(path, error) && out.write(data.data(), data.size(), error) &&
           out.commit(error);
}
