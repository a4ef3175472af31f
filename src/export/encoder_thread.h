// encoder_thread.h - a VideoEncoder on a thread of its own, so one frame is
// encoded while the next is drawn.
//
// A few frame buffers are made at start() and passed round: the drawing
// thread reads a frame straight into a free one and queues it, the encoder
// thread encodes the queued ones in order and frees them again. When every
// buffer is queued the drawing thread waits for one, so the slower side
// sets the pace and nothing piles up. An encoder error stops the encoder
// thread; the drawing thread's next call reports it in the encoder's own
// words. The encoder is opened and finished on the calling thread, so
// those errors come straight back.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "export/render_options.h"
#include "export/video_encoder.h"

class EncoderThread {
public:
    EncoderThread() = default;
    EncoderThread(const EncoderThread&) = delete;
    EncoderThread& operator=(const EncoderThread&) = delete;
    ~EncoderThread() { cancel(); }

    // Opens the encoder as VideoEncoder::open() does and starts the thread.
    bool start(int fd, OutputKind kind, int width, int height, int fps,
               std::string& error);
    // The music the next start() puts beside the pictures.
    void setMusic(const FilmMusic& music) { encoder_.setMusic(music); }
    // The buffer the next frame goes into (width x height x 4 bytes, rows as
    // GL reads them), once one is free; nullptr with `error` once the
    // encoder has failed.
    std::uint8_t* freeFrame(std::string& error);
    // Queues the buffer freeFrame() gave; false with the encoder's error.
    bool queueFrame(std::string& error);
    // Encodes every queued frame, stops the thread and completes the file.
    bool finish(std::string& error);
    // Stops the thread and drops the queued frames; the file is left as it
    // is (the caller's writer removes it).
    void cancel();

private:
    static constexpr int kBuffers = 3;

    void run();
    void stopThread(bool drain);
    void releaseBuffers();

    VideoEncoder encoder_;
    std::vector<std::uint8_t> buffers_[kBuffers];
    std::mutex mutex_;
    std::condition_variable wakeEncoder_, wakeDrawer_;
    // Guarded by mutex_: the oldest queued buffer, how many are queued (the
    // one being encoded included), and the ends.
    int oldest_ = 0, queued_ = 0;
    bool ending_ = false, stopping_ = false, failed_ = false;
    std::string error_;
    std::thread thread_;
};
