// gif_filter.h - RGBA frames to palette frames for GIF, by libavfilter.
//
// One filter graph for the film:
//
//   buffer -> split -> trim (first second) -> palettegen --.
//                   \-> paletteuse (frames, palette) -> buffersink
//
// palettegen gives its palette only once its input has ended, so it sees
// the first second, and the graph holds that second's frames until then;
// later frames stream through. Large frames sample fewer than a second, so
// what is held stays within 256 MB (one frame at least: 256 MB at 8192²). One palette for every frame lets the GIF
// encoder store only what changed since the last frame (a new palette
// would make it store whole frames), and unchanged pixels map alike: no
// shimmer. A scene's colours are all on stage from its start.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct AVFilterContext;
struct AVFilterGraph;
struct AVFrame;

// Frames the palette is made from: the first second, or fewer when that
// second would hold more than 256 MB of frames; always at least one.
int gifPaletteSampleFrames(int width, int height, int fps);

class GifFilter {
public:
    // Takes each palette frame (AV_PIX_FMT_PAL8) the graph gives out.
    using Sink = std::function<bool(AVFrame*, std::string&)>;

    GifFilter() = default;
    GifFilter(const GifFilter&) = delete;
    GifFilter& operator=(const GifFilter&) = delete;
    ~GifFilter() { close(); }

    bool open(int width, int height, int fps, Sink sink, std::string& error);
    // One frame as GL reads it back: bottom row first, 4 bytes a pixel.
    bool add(const std::uint8_t* rgba, std::string& error);
    // Ends the input and passes on the frames still held.
    bool finish(std::string& error);
    void close();

private:
    bool build(std::string& error);
    bool drain(std::string& error);

    int width_ = 0, height_ = 0, fps_ = 25;
    std::int64_t pts_ = 0;
    Sink sink_;
    AVFilterGraph* graph_ = nullptr;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* out_ = nullptr;
    AVFrame* frame_ = nullptr;
};
