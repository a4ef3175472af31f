// encoder_thread.cpp - the hand-over between the drawing and encoding threads.
//
// The buffers form a ring: the queued ones start at oldest_, the next free
// one follows them. Only the drawing thread adds to the queue and only the
// encoder thread takes from it, each under the mutex; the pixels of a
// buffer are touched by one side at a time, outside it.
#include "export/encoder_thread.h"

bool EncoderThread::start(int fd, OutputKind kind, int width, int height,
                          int fps, std::string& error) {
    cancel();
    if (!encoder_.open(fd, kind, width, height, fps, error)) return false;
    // Written once here, so no read-back pays for the pages' first touch.
    for (auto& b : buffers_) b.assign(static_cast<std::size_t>(width) * height * 4, 0);
    oldest_ = queued_ = 0;
    ending_ = stopping_ = failed_ = false;
    error_.clear();
    thread_ = std::thread(&EncoderThread::run, this);
    return true;
}

void EncoderThread::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wakeEncoder_.wait(lock, [this] { return queued_ > 0 || ending_ || stopping_; });
        if (stopping_ || queued_ == 0) return;  // cancelled, or ended with all encoded
        const std::uint8_t* frame = buffers_[oldest_].data();
        lock.unlock();
        std::string error;
        const bool ok = encoder_.addFrame(frame, error);
        lock.lock();
        oldest_ = (oldest_ + 1) % kBuffers;
        queued_--;
        if (!ok) {
            failed_ = true;
            error_ = error;
        }
        wakeDrawer_.notify_one();
        if (!ok) return;
    }
}

std::uint8_t* EncoderThread::freeFrame(std::string& error) {
    if (!thread_.joinable()) {
        error = "the encoder is not open";
        return nullptr;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    wakeDrawer_.wait(lock, [this] { return queued_ < kBuffers || failed_; });
    if (failed_) {
        error = error_;
        return nullptr;
    }
    return buffers_[(oldest_ + queued_) % kBuffers].data();
}

bool EncoderThread::queueFrame(std::string& error) {
    if (!thread_.joinable()) {
        error = "the encoder is not open";
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (failed_) {
            error = error_;
            return false;
        }
        if (queued_ == kBuffers) {
            error = "no frame buffer was taken";
            return false;
        }
        queued_++;
    }
    wakeEncoder_.notify_one();
    return true;
}

// Ends the encoder thread, after the queued frames (`drain`) or at once.
void EncoderThread::stopThread(bool drain) {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        (drain ? ending_ : stopping_) = true;
    }
    wakeEncoder_.notify_one();
    thread_.join();
}

void EncoderThread::releaseBuffers() {
    for (auto& b : buffers_) std::vector<std::uint8_t>().swap(b);
}

bool EncoderThread::finish(std::string& error) {
    if (!thread_.joinable()) {
        error = "the encoder is not open";
        return false;
    }
    stopThread(true);
    // The thread has ended: its results are ours to read without the lock.
    bool ok = !failed_;
    if (ok) {
        ok = encoder_.finish(error);
    } else {
        error = error_;
        encoder_.close();
    }
    releaseBuffers();
    return ok;
}

void EncoderThread::cancel() {
    stopThread(false);
    encoder_.close();
    releaseBuffers();
}
