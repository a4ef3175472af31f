// music_decode.h - any music file (MP3, OGG, FLAC, WAV, ...) as float
// samples at the rate and channel count the caller asks for.
//
// The file is opened through the safe reader (a regular file under
// kMaxMusicFileBytes, never a device or a FIFO) and FFmpeg reads it through
// that one descriptor; libavformat finds the container, libavcodec decodes
// the first audio stream, libswresample mixes and resamples. Samples come
// out interleaved, a block at a time, so a long file never sits in memory
// whole. Not thread-safe per object; separate decoders may run on separate
// threads.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr std::uint64_t kMaxMusicFileBytes = 512ull << 20;

class MusicDecoder {
public:
    MusicDecoder();
    MusicDecoder(const MusicDecoder&) = delete;
    MusicDecoder& operator=(const MusicDecoder&) = delete;
    ~MusicDecoder();

    // Opens `path` for samples at `sampleRate` with `channels` (1 or 2);
    // false with `error` ("is not a regular file", "holds no sound") when
    // the file cannot be read as music.
    bool open(const std::string& path, int sampleRate, int channels, std::string& error);
    // Fills `out` with up to `frames` frames (frames x channels floats) and
    // returns how many it wrote: fewer only at the end of the music, 0 after
    // it, -1 with `error` when the file is damaged beyond reading.
    long read(float* out, long frames, std::string& error);
    // Reads and drops `frames` frames (the start of the music before an offset).
    bool skip(long frames, std::string& error);
    // The length the container states, in seconds; 0 when it states none.
    double statedSeconds() const;
    void close();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The whole file as mono samples at `sampleRate`; false with `error`.
bool decodeMono(const std::string& path, int sampleRate, std::vector<float>& out, std::string& error);
