// Films with music, without GL: the encoder given a music file writes its
// sound beside the pictures, silent before the music starts (a negative
// start) and after it ends, and as long as the pictures to within a frame
// over ten minutes. The music decoder reads the sound back, resampled to
// the rate asked for.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "audio/music_decode.h"
#include "base/safe_file.h"
#include "export/video_encoder.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

constexpr int kW = 16, kH = 16, kFps = 25;

// `seconds` of a 1 kHz tone at amplitude 0.5, 16-bit mono WAV at `rate`.
void writeTone(const std::string& path, int rate, double seconds) {
    const std::uint32_t n = static_cast<std::uint32_t>(rate * seconds);
    std::vector<std::int16_t> s(n);
    for (std::uint32_t i = 0; i < n; i++) s[i] = static_cast<std::int16_t>(16384 * std::sin(2 * M_PI * 1000.0 * i / rate));
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4); u32(36 + 2 * n); out.write("WAVEfmt ", 8); u32(16); u16(1); u16(1);
    u32(static_cast<std::uint32_t>(rate)); u32(static_cast<std::uint32_t>(rate) * 2); u16(2); u16(16);
    out.write("data", 4); u32(2 * n);
    out.write(reinterpret_cast<const char*>(s.data()), 2 * n);
}

std::string tempName(const char* tail) {
    return testing::TempDir() + "puppetorium_audio_" + std::to_string(getpid()) + tail;
}

// Films `frames` black frames with `music`; true when the file was completed.
bool film(const std::string& path, OutputKind kind, int frames, const FilmMusic& music) {
    AtomicFileWriter out;
    VideoEncoder e;
    std::string error;
    e.setMusic(music);
    const std::vector<std::uint8_t> black(kW * kH * 4, 0);
    bool ok = out.begin(path, error) && e.open(out.descriptor(), kind, kW, kH, kFps, error);
    for (int i = 0; ok && i < frames; i++) ok = e.addFrame(black.data(), error);
    ok = ok && e.finish(error) && out.commit(error);
    EXPECT_TRUE(ok) << error;
    return ok;
}

// Seconds each stream of the file lasts, video first; -1 where unknown.
std::vector<double> streamSeconds(const std::string& path) {
    AVFormatContext* f = nullptr;
    std::vector<double> s;
    if (avformat_open_input(&f, path.c_str(), nullptr, nullptr) < 0) return s;
    avformat_find_stream_info(f, nullptr);
    for (int kind : {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO}) {
        const int i = av_find_best_stream(f, static_cast<AVMediaType>(kind), -1, -1, nullptr, 0);
        if (i < 0) { s.push_back(-1); continue; }
        const AVStream* st = f->streams[i];
        s.push_back(st->duration > 0 ? st->duration * av_q2d(st->time_base) : -1);
    }
    avformat_close_input(&f);
    return s;
}

// Loudest sample of each 0.1 s block of the decoded sound.
std::vector<float> blockPeaks(const std::string& path, int rate) {
    std::vector<float> sound, peaks;
    std::string error;
    EXPECT_TRUE(decodeMono(path, rate, sound, error)) << error;
    const std::size_t block = static_cast<std::size_t>(rate / 10);
    for (std::size_t at = 0; at < sound.size(); at += block) {
        float p = 0;
        for (std::size_t i = at; i < std::min(sound.size(), at + block); i++) p = std::max(p, std::fabs(sound[i]));
        peaks.push_back(p);
    }
    return peaks;
}

class AudioTrackFilm : public testing::Test {
protected:
    std::string tone = tempName("_tone.wav");
    void SetUp() override { writeTone(tone, 22050, 2.0); }
    void TearDown() override { unlink(tone.c_str()); }
};

}  // namespace

TEST_F(AudioTrackFilm, TheDecoderResamplesToTheRateAskedForAtTheSameLoudness) {
    std::vector<float> s;
    std::string error;
    ASSERT_TRUE(decodeMono(tone, 48000, s, error)) << error;
    EXPECT_NEAR(static_cast<double>(s.size()), 96000, 96);
    float peak = 0;
    for (float v : s) peak = std::max(peak, std::fabs(v));
    EXPECT_NEAR(peak, 0.5, 0.03);
}

TEST_F(AudioTrackFilm, SoundIsSilentBeforeAndAfterTheMusicInBothKindsOfFilm) {
    for (OutputKind kind : {OutputKind::Mp4, OutputKind::Webm}) {
        const std::string out = tempName(kind == OutputKind::Mp4 ? ".mp4" : ".webm");
        // The music starts 0.5 s into the film and lasts 2 s; the film 4 s.
        ASSERT_TRUE(film(out, kind, 4 * kFps, {tone, -0.5}));
        const std::vector<float> p = blockPeaks(out, 48000);
        ASSERT_GE(p.size(), 39u);
        EXPECT_LT(p[2], 0.01) << "0.2 - 0.3 s: before the music";
        EXPECT_GT(p[10], 0.3) << "1.0 - 1.1 s: the tone";
        EXPECT_GT(p[23], 0.3) << "2.3 - 2.4 s: still the tone";
        EXPECT_LT(p[30], 0.01) << "3.0 - 3.1 s: after it ended";
        unlink(out.c_str());
    }
}

TEST_F(AudioTrackFilm, AStartInsideTheMusicSkipsItsBeginning) {
    const std::string out = tempName("_late.mp4");
    ASSERT_TRUE(film(out, OutputKind::Mp4, 2 * kFps, {tone, 1.5}));
    const std::vector<float> p = blockPeaks(out, 48000);
    ASSERT_GE(p.size(), 19u);
    EXPECT_GT(p[3], 0.3) << "the last half second of the tone";
    EXPECT_LT(p[7], 0.01) << "then nothing";
    unlink(out.c_str());
}

TEST_F(AudioTrackFilm, TenMinutesOfSoundAndPicturesDifferByUnderAFrame) {
    const std::string out = tempName("_long.mp4");
    ASSERT_TRUE(film(out, OutputKind::Mp4, 10 * 60 * kFps, {tone, 0}));
    const std::vector<double> s = streamSeconds(out);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_NEAR(s[0], 600, 1.0 / kFps);
    EXPECT_NEAR(s[1], s[0], 1.0 / kFps);
    unlink(out.c_str());
}

TEST_F(AudioTrackFilm, WithoutMusicAFilmHasNoSound) {
    const std::string out = tempName("_silent.mp4");
    ASSERT_TRUE(film(out, OutputKind::Mp4, kFps, {}));
    EXPECT_EQ(streamSeconds(out)[1], -1);
    unlink(out.c_str());
}
