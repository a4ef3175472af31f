// gif_filter.cpp - the palette graph of a GIF.
#include "export/gif_filter.h"

#include "export/av_output.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/mem.h>
#include <libavutil/pixfmt.h>
}

namespace {

// The palette is made from the first second (or fewer frames, see below):
// palettegen speaks only at the end of its input, and the frames wait for it. Ordered dither: a still
// pixel dithers alike in every frame, so only what moves changes between
// frames (error diffusion would make the stage crawl).
constexpr const char* kGraph =
    "split[frames][stats];"
    "[stats]trim=end_frame=%d,palettegen=stats_mode=full[palette];"
    "[frames][palette]paletteuse=dither=bayer:bayer_scale=3:diff_mode=rectangle";

// The graph holds the palette's sample frames until the palette is made: at
// most this many bytes of them (a second of 4096 x 4096 at 60 fps was 4 GB).
constexpr std::size_t kPaletteSampleBytes = 256u << 20;

}  // namespace

int gifPaletteSampleFrames(int width, int height, int fps) {
    const std::size_t frameBytes = static_cast<std::size_t>(width) * height * 4;
    const std::size_t fit = kPaletteSampleBytes / frameBytes;
    return static_cast<int>(std::max<std::size_t>(1, std::min<std::size_t>(fit, fps)));
}

namespace {

AVFilterInOut* endOf(const char* name, AVFilterContext* filter) {
    AVFilterInOut* io = avfilter_inout_alloc();
    if (!io) return nullptr;
    io->name = av_strdup(name);
    io->filter_ctx = filter;
    io->pad_idx = 0;
    io->next = nullptr;
    return io;
}

}  // namespace

bool GifFilter::open(int width, int height, int fps, Sink sink, std::string& error) {
    close();
    width_ = width;
    height_ = height;
    fps_ = fps;
    pts_ = 0;
    sink_ = std::move(sink);
    frame_ = av_frame_alloc();
    if (!frame_) { error = "out of memory"; return false; }
    return build(error);
}

bool GifFilter::build(std::string& error) {
    graph_ = avfilter_graph_alloc();
    if (!graph_) { error = "out of memory"; return false; }
    char args[160];
    std::snprintf(args, sizeof args, "video_size=%dx%d:pix_fmt=%d:time_base=1/%d:pixel_aspect=1/1",
                  width_, height_, static_cast<int>(AV_PIX_FMT_RGBA), fps_);
    int rc = avfilter_graph_create_filter(&source_, avfilter_get_by_name("buffer"), "in", args,
                                          nullptr, graph_);
    if (rc >= 0)
        rc = avfilter_graph_create_filter(&out_, avfilter_get_by_name("buffersink"), "out", nullptr,
                                          nullptr, graph_);
    if (rc < 0) { error = avError("no GIF filters", rc); return false; }
    // The graph's open input is fed by the source, its open output feeds the sink.
    AVFilterInOut* feeds = endOf("in", source_);
    AVFilterInOut* takes = endOf("out", out_);
    char graph[256];
    std::snprintf(graph, sizeof graph, kGraph, gifPaletteSampleFrames(width_, height_, fps_));
    rc = feeds && takes ? avfilter_graph_parse_ptr(graph_, graph, &takes, &feeds, nullptr)
                        : AVERROR(ENOMEM);
    avfilter_inout_free(&feeds);
    avfilter_inout_free(&takes);
    if (rc >= 0) rc = avfilter_graph_config(graph_, nullptr);
    if (rc < 0) { error = avError("the GIF palette graph", rc); return false; }
    return true;
}

bool GifFilter::add(const std::uint8_t* rgba, std::string& error) {
    if (!graph_) { error = "the encoder is not open"; return false; }
    // The graph may keep the frame for a while: a buffer of its own.
    frame_->format = AV_PIX_FMT_RGBA;
    frame_->width = width_;
    frame_->height = height_;
    int rc = av_frame_get_buffer(frame_, 0);
    if (rc < 0) { error = avError("frame buffer", rc); return false; }
    const std::size_t row = static_cast<std::size_t>(width_) * 4;
    for (int y = 0; y < height_; y++)
        std::memcpy(frame_->data[0] + static_cast<std::size_t>(y) * frame_->linesize[0],
                    rgba + row * static_cast<std::size_t>(height_ - 1 - y), row);
    frame_->pts = pts_++;
    rc = av_buffersrc_add_frame(source_, frame_);
    av_frame_unref(frame_);
    if (rc < 0) { error = avError("the GIF palette graph refused a frame", rc); return false; }
    return drain(error);
}

// Passes on every frame the graph has ready.
bool GifFilter::drain(std::string& error) {
    for (;;) {
        const int rc = av_buffersink_get_frame(out_, frame_);
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
        if (rc < 0) { error = avError("the GIF palette graph", rc); return false; }
        const bool ok = sink_(frame_, error);
        av_frame_unref(frame_);
        if (!ok) return false;
    }
}

bool GifFilter::finish(std::string& error) {
    if (!graph_) { error = "the encoder is not open"; return false; }
    const int rc = av_buffersrc_add_frame(source_, nullptr);
    if (rc < 0) { error = avError("the GIF palette graph", rc); return false; }
    return drain(error);
}

void GifFilter::close() {
    avfilter_graph_free(&graph_);
    source_ = out_ = nullptr;
    av_frame_free(&frame_);
    sink_ = nullptr;
}
