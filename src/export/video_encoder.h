// video_encoder.h - RGBA frames to an .mp4 (H.264, yuv420p), .webm (VP9),
// .gif (a palette chosen from the first second, looping) or .png (one picture), through
// FFmpeg's libraries: libswscale converts, libavfilter picks GIF palettes.
//
// The encoder writes the descriptor it is given (never a file by name);
// callers hand it the temporary of an AtomicFileWriter and commit only once
// finish() succeeds. Frames come as
// GL reads them back, bottom row first, 4 bytes a pixel, at the size given
// to open(); the conversion turns them the right way up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/audio_track.h"
#include "export/gif_filter.h"
#include "export/render_options.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwsContext;

class VideoEncoder {
public:
    VideoEncoder() = default;
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;
    ~VideoEncoder() { close(); }

    // The music the next open() adds to an .mp4 or .webm (none by default).
    void setMusic(const FilmMusic& music) { music_ = music; }
    // Prepares `path` for `kind` (Mp4, Webm, Gif or Png); false with `error`.
    bool open(const std::string& path, OutputKind kind, int width, int height, int fps,
              std::string& error);
    // Prepares to write `fd`, an empty file open for writing and seeking, as
    // `kind` (Mp4, Webm, Gif or Png); false with `error`. The descriptor
    // stays the caller's.
    bool open(int fd, OutputKind kind, int width, int height, int fps, std::string& error);
    // Encodes one frame; a .png keeps only the last one given.
    bool addFrame(const std::uint8_t* rgba, std::string& error);
    // Flushes the encoder and completes the file.
    bool finish(std::string& error);
    // Frees everything; the file is left as it is (the caller's writer removes it).
    void close();

private:
    bool openPicture(std::string& error);
    bool openStream(std::string& error);
    bool convert(const std::uint8_t* rgba);
    bool encodeFrame(AVFrame* frame, std::string& error);
    bool send(AVFrame* frame, std::string& error);
    bool writePicture(std::string& error);

    OutputKind kind_ = OutputKind::None;
    int fd_ = -1;
    int width_ = 0, height_ = 0, fps_ = 25, frames_ = 0;
    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVStream* stream_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    bool headerWritten_ = false;
    SwsContext* scaler_ = nullptr;  // RGBA to yuv420p
    GifFilter gif_;
    std::vector<std::uint8_t> picture_;  // the .png's last frame, as read back
    FilmMusic music_;
    AudioTrack audio_;  // the sound beside the pictures, when there is music
};
