// The SDL2_mixer backend on SDL's silent "dummy" device, which consumes
// samples in real time, so positions advance as they would on a speaker; and
// on a device that cannot be opened.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdlib>
#include <string>

#include "audio/sdl_music_backend.h"

namespace {

const std::string ROOT = PUPPETORIUM_SOURCE_DIR;
const std::string INTRO = ROOT + "/media/intro.mp3";
const std::string SONG = ROOT + "/media/01.mp3";

double position(const SdlMusicBackend& b) { return Mix_GetMusicPosition(b.music); }

// Waits until the music has played at least `seconds`, or two seconds passed.
void playFor(const SdlMusicBackend& b, double seconds) {
    const double until = position(b) + seconds;
    for (int i = 0; i < 200 && position(b) < until; i++) SDL_Delay(10);
}

class SdlMusic : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
    void TearDown() override { unsetenv("SDL_AUDIODRIVER"); }
};

}  // namespace

TEST_F(SdlMusic, OnlyRegularFilesExist) {
    SdlMusicBackend b;
    EXPECT_TRUE(b.fileExists(INTRO));
    EXPECT_TRUE(b.fileExists(SONG));
    EXPECT_FALSE(b.fileExists(ROOT + "/media/none.mp3"));
    EXPECT_FALSE(b.fileExists(ROOT + "/media"));
    EXPECT_FALSE(b.fileExists(""));
    EXPECT_FALSE(b.deviceTried);  // asking about files needs no sound
}

TEST_F(SdlMusic, WithoutADeviceEverythingIsSilentAndQuiet) {
    // An unknown driver fails inside SDL; ALSA on a machine without a sound
    // card fails inside the sound library, which complains on stderr unless
    // kept quiet. Where ALSA does find a card, only the quiet is checked.
    for (const char* driver : {"no-such-driver", "alsa"}) {
        setenv("SDL_AUDIODRIVER", driver, 1);
        SdlMusicBackend b;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        b.open(INTRO, "techno");
        b.playFromStart("techno");
        b.play("techno");
        b.stop("techno");
        b.close("techno");
        b.open(INTRO, "techno");  // the device is asked for once only
        b.close("techno");
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(out, "") << driver;
        EXPECT_EQ(err, "") << driver;
        EXPECT_TRUE(b.deviceTried) << driver;
        if (std::string(driver) == "alsa" && b.deviceReady) continue;
        EXPECT_FALSE(b.deviceReady) << driver;
        EXPECT_EQ(b.music, nullptr) << driver;
        EXPECT_EQ(b.openAlias, "") << driver;
    }
}

TEST_F(SdlMusic, TheCommittedFilesLoadAsHalfAMinuteOfMusicEach) {
    for (const std::string& path : {INTRO, SONG}) {
        SdlMusicBackend b;
        b.open(path, "techno");
        ASSERT_TRUE(b.deviceReady);
        ASSERT_NE(b.music, nullptr) << path << ": " << Mix_GetError();
        EXPECT_EQ(Mix_GetMusicType(b.music), MUS_MP3);
        EXPECT_GT(Mix_MusicDuration(b.music), 25.0) << path;
        EXPECT_LT(Mix_MusicDuration(b.music), 60.0) << path;
        EXPECT_EQ(Mix_PlayingMusic(), 0);  // open does not play
    }
}

TEST_F(SdlMusic, PlayStopPlayOnAndRestartKeepTheirPositions) {
    SdlMusicBackend b;
    b.open(INTRO, "techno");
    ASSERT_NE(b.music, nullptr);

    b.playFromStart("techno");
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(Mix_PausedMusic(), 0);
    playFor(b, 0.3);
    const double beforePlay = position(b);
    b.play("techno");  // already playing: no effect, no restart
    EXPECT_GE(position(b), beforePlay);
    EXPECT_GE(position(b), 0.3);

    b.stop("techno");
    EXPECT_EQ(Mix_PausedMusic(), 1);
    const double stoppedAt = position(b);
    SDL_Delay(250);
    EXPECT_DOUBLE_EQ(position(b), stoppedAt);  // stopped means the position holds
    EXPECT_NE(b.music, nullptr);                // and the file stays open

    b.play("techno");  // on from where it stopped
    EXPECT_EQ(Mix_PausedMusic(), 0);
    EXPECT_GE(position(b), stoppedAt);
    playFor(b, 0.1);
    EXPECT_GT(position(b), stoppedAt);

    b.stop("techno");
    b.playFromStart("techno");  // from the beginning, and no longer paused
    EXPECT_EQ(Mix_PausedMusic(), 0);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_LT(position(b), stoppedAt);
    EXPECT_LT(position(b), 0.2);
    playFor(b, 0.1);
    EXPECT_GT(position(b), 0.0);

    b.close("techno");
    EXPECT_EQ(b.music, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(SdlMusic, PlayAfterOpenStartsAtTheBeginning) {
    SdlMusicBackend b;
    b.open(SONG, "techno");
    ASSERT_NE(b.music, nullptr);
    b.stop("techno");  // nothing playing yet: nothing to stop
    EXPECT_EQ(Mix_PausedMusic(), 0);
    b.play("techno");
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_LT(position(b), 0.2);
}

TEST_F(SdlMusic, OtherAliasesAndSecondOpensAreIgnored) {
    SdlMusicBackend b;
    b.close("techno");  // nothing open: harmless
    b.open(INTRO, "techno");
    Mix_Music* intro = b.music;
    ASSERT_NE(intro, nullptr);
    b.playFromStart("techno");

    b.stop("other");
    b.close("other");
    EXPECT_EQ(Mix_PausedMusic(), 0);
    EXPECT_EQ(b.music, intro);

    b.open(SONG, "techno");  // the alias is in use: close it first
    EXPECT_EQ(b.music, intro);
    b.open(SONG, "other");
    EXPECT_EQ(b.openAlias, "techno");

    // A paused file, closed and replaced, plays the new one from its start.
    b.stop("techno");
    b.close("techno");
    b.open(SONG, "techno");
    ASSERT_NE(b.music, nullptr);
    b.playFromStart("techno");
    EXPECT_EQ(Mix_PausedMusic(), 0);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
}

TEST_F(SdlMusic, AFileTheMixerCannotDecodeOpensNothing) {
    SdlMusicBackend b;
    b.open(ROOT + "/CMakeLists.txt", "techno");
    EXPECT_TRUE(b.deviceReady);
    EXPECT_EQ(b.music, nullptr);
    EXPECT_EQ(b.openAlias, "");
    b.playFromStart("techno");
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}
