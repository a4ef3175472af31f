// The encoder end to end, without GL, through the thread a render encodes
// on: frames given bottom row first come out of the file upright, every
// frame once and in order (also those the GIF's palette graph holds back,
// and a GIF shorter than its palette second), in recognisable colours;
// chroma is the mean of each 2 x 2 block.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "export/encoder_thread.h"
#include "base/safe_file.h"

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

// Calls `take` with every decoded frame of the file, in order.
template <typename Take>
void decodeEach(const std::string& path, Take&& takeFrame) {
    AVFormatContext* fmt = nullptr;
    if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0) return;
    avformat_find_stream_info(fmt, nullptr);
    const AVCodec* codec = nullptr;
    const int s = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    AVCodecContext* dec = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(dec, fmt->streams[s]->codecpar);
    avcodec_open2(dec, codec, nullptr);
    AVPacket* pkt = av_packet_alloc();
    AVFrame* f = av_frame_alloc();
    auto take = [&] {
        while (avcodec_receive_frame(dec, f) == 0) takeFrame(f);
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
}

// Every frame of the file as RGB24, top row first.
std::vector<Rgb> decodeAll(const std::string& path) {
    std::vector<Rgb> frames;
    decodeEach(path, [&](const AVFrame* f) {
        SwsContext* c = sws_getContext(f->width, f->height, static_cast<AVPixelFormat>(f->format),
                                       kW, kH, AV_PIX_FMT_RGB24, SWS_POINT, nullptr, nullptr, nullptr);
        Rgb rgb(kW * kH * 3);
        std::uint8_t* dst[1] = {rgb.data()};
        const int stride[1] = {kW * 3};
        sws_scale(c, f->data, f->linesize, 0, f->height, dst, stride);
        sws_freeContext(c);
        frames.push_back(rgb);
    });
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

// Hands the frames over as fast as they are made, so they wait in the
// encoder thread's buffers for their turn.
std::string encode(const char* ext, OutputKind kind, int frames, int fps,
                   std::vector<std::uint8_t> (*make)(int) = glFrame) {
    // Named for the test and the process: ctest runs the tests side by side.
    const std::string path = testing::TempDir() + "puppetorium-encoder-" +
                             testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
                             std::to_string(getpid()) + "." + ext;
    AtomicFileWriter out;
    EncoderThread e;
    std::string error;
    EXPECT_TRUE(out.begin(path, error)) << error;
    EXPECT_TRUE(e.start(out.descriptor(), kind, kW, kH, fps, error)) << error;
    for (int i = 0; i < frames; i++) {
        std::uint8_t* buffer = e.freeFrame(error);
        if (!buffer) break;
        const std::vector<std::uint8_t> px = make(i);
        std::copy(px.begin(), px.end(), buffer);
        EXPECT_TRUE(e.queueFrame(error)) << error;
    }
    EXPECT_TRUE(e.finish(error)) << error;
    EXPECT_TRUE(out.commit(error)) << error;
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

namespace {

// BT.601 chroma, limited range, of a colour given in 0..1.
std::pair<double, double> chromaOf(double r, double g, double b) {
    const double y = 0.299 * r + 0.587 * g + 0.114 * b;
    return {128 + 224 * (b - y) / 1.772, 128 + 224 * (r - y) / 1.402};
}

}  // namespace

// On green, a 16 x 16 square tiled with 2 x 2 blocks of red and green over
// blue and red: each block's chroma must be that of their mean, and the
// green next to the square must keep green's. A pixel, a row or a
// column of the block alone gives another colour; a wider filter tints
// the green. The square lies on the codec's blocks, so its edges come back
// sharp.
TEST(VideoEncoder, ChromaIsTheMeanOfEachTwoByTwoBlockAndNoMore) {
    auto squareOnGreen = [](int) {
        std::vector<std::uint8_t> px(kW * kH * 4);
        for (int i = 0; i < kW * kH; i++) {
            const int x = i % kW, y = i / kW;  // y from the bottom, as GL gives rows
            const bool in = x >= 16 && x < 32 && y >= 16 && y < 32;
            const bool right = x % 2 == 1, low = y % 2 == 0;
            const bool red = in && right == low, blue = in && low && !right;
            px[i * 4] = red ? 255 : 0;
            px[i * 4 + 1] = !red && !blue ? 255 : 0;
            px[i * 4 + 2] = blue ? 255 : 0;
            px[i * 4 + 3] = 255;
        }
        return px;
    };
    const std::string path = encode("mp4", OutputKind::Mp4, 3, 10, squareOnGreen);
    const auto mean = chromaOf(0.5, 0.25, 0.25), green = chromaOf(0, 1, 0);
    struct Sample { int x, y; std::pair<double, double> uv; };
    // Chroma samples (half the pixel grid), rows from the bottom: the square
    // spans 8..15 both ways.
    const Sample samples[] = {{8, 8, mean},   {15, 15, mean}, {11, 12, mean}, {7, 12, green},
                              {16, 12, green}, {12, 7, green}, {12, 16, green}};
    int frames = 0;
    decodeEach(path, [&](const AVFrame* f) {
        for (const Sample& c : samples) {
            const int row = kH / 2 - 1 - c.y;
            EXPECT_NEAR(f->data[1][row * f->linesize[1] + c.x], c.uv.first, 3) << c.x << "," << c.y;
            EXPECT_NEAR(f->data[2][row * f->linesize[2] + c.x], c.uv.second, 3) << c.x << "," << c.y;
        }
        frames++;
    });
    EXPECT_EQ(frames, 3);
    std::remove(path.c_str());
}

// The palette's sample is held in memory until the palette is made: a
// second of 4096 x 4096 at 60 fps was 4 GB, and the largest GIF allowed died
// of it. The sample stays within 256 MB and is never empty.
TEST(GifPalette, SampleIsTheFirstSecondOrWhatFitsIn256MB) {
    EXPECT_EQ(gifPaletteSampleFrames(1280, 720, 25), 25);
    EXPECT_EQ(gifPaletteSampleFrames(2, 2, 100), 100);
    EXPECT_EQ(gifPaletteSampleFrames(4096, 4096, 60), 4);
    EXPECT_EQ(gifPaletteSampleFrames(8192, 8192, 100), 1);
}
