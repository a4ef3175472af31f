// The encoder end to end, without GL: frames given bottom row first come
// out of the file upright, every frame once and in order (also those the
// GIF's palette graph holds back, and a GIF shorter than its palette
// second), in recognisable colours.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "export/video_encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace {

constexpr int kW = 64, kH = 48, kBits = 6;

// Upper half red, lower half blue; across the middle, frame `n` in binary
// as white (1) and black (0) blocks of 8 x 8. Rows as GL gives them: bottom first.
std::vector<std::uint8_t> glFrame(int n) {
    std::vector<std::uint8_t> px(kW * kH * 4);
    for (int yUp = 0; yUp < kH; yUp++) {
        const int yDown = kH - 1 - yUp;  // row counted from the top
        for (int x = 0; x < kW; x++) {
            std::uint8_t* p = &px[(yUp * kW + x) * 4];
            const bool band = yDown >= 20 && yDown < 28 && x / 8 < kBits;
            const bool lit = band && (n >> (x / 8) & 1);
            p[0] = band ? (lit ? 255 : 0) : (yDown < kH / 2 ? 255 : 0);
            p[1] = band && lit ? 255 : 0;
            p[2] = band ? (lit ? 255 : 0) : (yDown < kH / 2 ? 0 : 255);
            p[3] = 255;
        }
    }
    return px;
}

using Rgb = std::vector<std::uint8_t>;

// Every frame of the file as RGB24, top row first.
std::vector<Rgb> decodeAll(const std::string& path) {
    std::vector<Rgb> frames;
    AVFormatContext* fmt = nullptr;
    if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0) return frames;
    avformat_find_stream_info(fmt, nullptr);
    const AVCodec* codec = nullptr;
    const int s = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    AVCodecContext* dec = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(dec, fmt->streams[s]->codecpar);
    avcodec_open2(dec, codec, nullptr);
    AVPacket* pkt = av_packet_alloc();
    AVFrame* f = av_frame_alloc();
    auto take = [&] {
        while (avcodec_receive_frame(dec, f) == 0) {
            SwsContext* c = sws_getContext(f->width, f->height, static_cast<AVPixelFormat>(f->format),
                                           kW, kH, AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr, nullptr);
            Rgb rgb(kW * kH * 3);
            std::uint8_t* dst[1] = {rgb.data()};
            const int stride[1] = {kW * 3};
            sws_scale(c, f->data, f->linesize, 0, f->height, dst, stride);
            sws_freeContext(c);
            frames.push_back(rgb);
        }
    };
    while (av_read_frame(fmt, pkt) >= 0) {
        if (pkt->stream_index == s) avcodec_send_packet(dec, pkt);
        av_packet_unref(pkt);
        take();
    }
    avcodec_send_packet(dec, nullptr);
    take();
    av_frame_free(&f);
    av_packet_free(&pkt);
    avcodec_free_context(&dec);
    avformat_close_input(&fmt);
    return frames;
}

const std::uint8_t* at(const Rgb& f, int x, int y) { return &f[(y * kW + x) * 3]; }

// The number the frame's blocks spell, or -1 when the picture is not ours.
int frameNumber(const Rgb& f) {
    if (at(f, 40, 5)[0] < 180 || at(f, 40, 5)[2] > 80) return -1;   // red on top
    if (at(f, 40, 42)[2] < 180 || at(f, 40, 42)[0] > 80) return -1; // blue below
    int n = 0;
    for (int b = 0; b < kBits; b++) {
        const std::uint8_t* p = at(f, b * 8 + 4, 24);
        if (p[1] > 160) n |= 1 << b;
        else if (p[1] > 90) return -1;  // neither white nor black
    }
    return n;
}

std::string encode(const char* ext, OutputKind kind, int frames, int fps) {
    const std::string path = testing::TempDir() + "puppetorium-encoder-test." + ext;
    VideoEncoder e;
    std::string error;
    EXPECT_TRUE(e.open(path, kind, kW, kH, fps, error)) << error;
    for (int i = 0; i < frames; i++) EXPECT_TRUE(e.addFrame(glFrame(i).data(), error)) << error;
    EXPECT_TRUE(e.finish(error)) << error;
    return path;
}

}  // namespace

TEST(VideoEncoder, MovingPicturesHoldEveryFrameUprightAndInOrder) {
    struct Case { const char* ext; OutputKind kind; int frames; };
    // At 10 fps the GIF's palette comes from the first 10 frames.
    for (const Case& c : {Case{"gif", OutputKind::Gif, 33}, Case{"gif", OutputKind::Gif, 3},
                          Case{"mp4", OutputKind::Mp4, 33}}) {
        SCOPED_TRACE(std::string(c.ext) + " of " + std::to_string(c.frames));
        const std::string path = encode(c.ext, c.kind, c.frames, 10);
        const std::vector<Rgb> frames = decodeAll(path);
        ASSERT_EQ(frames.size(), static_cast<std::size_t>(c.frames));
        for (int i = 0; i < c.frames; i++) EXPECT_EQ(frameNumber(frames[i]), i) << "frame " << i;
        std::remove(path.c_str());
    }
}

TEST(VideoEncoder, APictureIsTheLastFrameUpright) {
    const std::string path = encode("png", OutputKind::Png, 5, 25);
    const std::vector<Rgb> frames = decodeAll(path);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frameNumber(frames[0]), 4);
    EXPECT_EQ(at(frames[0], 10, 2)[0], 255);  // exact: no colour conversion loss
    EXPECT_EQ(at(frames[0], 10, 2)[2], 0);
    std::remove(path.c_str());
}
