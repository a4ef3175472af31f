// Music following the selected figure's timeline, heard through a recording
// backend and driven by idle on a fake clock: play, pause, jumps, loops and
// other rates; the music key taking the player and following giving it back;
// the wall clock that moves the figures meanwhile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "scene/frame_clock.h"
#include "base/platform.h"
#include "audio/music_control.h"
#include "audio/music_follow.h"
#include "audio/music_player.h"
#include "base/data_folder.h"
#include "scene/scene_commands.h"
#include "recording_music_backend.h"

namespace {

int fakeNow = 0;
int fakeClock() { return fakeNow; }

using Calls = std::vector<std::string>;

class MusicFollow : public testing::Test {
protected:
    RecordingMusicBackend backend;

    void SetUp() override {
        resetAppState();
        resetMusicFollower();
        overrideDataFolder("");  // the files under the names the program gives them
        fakeNow = 10000;
        platform::setClock(fakeClock);
        backend.files = {"media/intro.mp3", "media/01.mp3"};
        startIntroMusic(backend);
        backend.take();
        // Two keyframes of 50 steps, cycling: a 4-second loop.
        Person& p = app.persons[0];
        p.clearAllKeyFrames();
        p.setCycle(true);
        p.pushPoseKeyFrame(50);
        p.part[RUA].rotation[0] = 90;
        p.pushPoseKeyFrame(50);
        app.sceneMusicOffset = 3;
        app.musicFollowOn = true;
        app.lastFrameTime = fakeNow;
    }
    void TearDown() override {
        overrideDataFolder(nullptr);
        platform::resetSeams();
        delete app.musicPlayer;
        app.musicPlayer = nullptr;
    }

    // `n` frames of `ms` each; returns what the backend was told.
    Calls frames(int n, int ms = 40) {
        for (int i = 0; i < n; i++) {
            fakeNow += ms;
            idle();
        }
        return backend.take();
    }
    float torsoTime() const { return app.persons[0].part[TORSO].kfa.currentTime; }
};

}  // namespace

TEST_F(MusicFollow, PlaysPausesAndSeeksWithTheSelectedFiguresTime) {
    EXPECT_EQ(frames(1), (Calls{"close techno", "open media/01.mp3 techno", "playFrom techno 3.04"}));
    EXPECT_EQ(frames(24), Calls{}) << "music and timeline keep together";

    app.playRate = 0;
    EXPECT_EQ(frames(3), Calls{"stop techno"});
    app.playRate = 1;
    EXPECT_EQ(frames(1), Calls{"playFrom techno 4.04"});

    app.persons[0].poseAtKeyFrame(0);  // a jump to step 50
    EXPECT_EQ(frames(1), Calls{"playFrom techno 5.04"});

    // Looping back to step 0 restarts the music at the loop point.
    const Calls looped = frames(50);
    EXPECT_EQ(looped, Calls{"playFrom techno 3.04"});

    for (float rate : {2.0f, -1.0f, 0.8f}) {
        app.playRate = rate;
        EXPECT_EQ(frames(2), Calls{"stop techno"}) << "rate " << rate;
        app.playRate = 1;
        ASSERT_EQ(frames(1).size(), 1u);
    }
    app.persons[0].setAnimate(false);
    EXPECT_EQ(frames(1), Calls{"stop techno"});
    app.persons[0].setAnimate(true);
    ASSERT_EQ(frames(1).size(), 1u);
    app.helpVisible = true;
    EXPECT_EQ(frames(1), Calls{"stop techno"}) << "the help pages pause the scene";
}

TEST_F(MusicFollow, FramesCountWallClockTimeOnlyWhileTheMusicFollows) {
    frames(1);
    float t = torsoTime();
    frames(1, 80);
    EXPECT_FLOAT_EQ(torsoTime() - t, 2) << "80 ms is two steps at 25 a second";
    t = torsoTime();
    app.playRate = 0.5f;
    frames(1, 80);
    EXPECT_FLOAT_EQ(torsoTime() - t, 1) << "times the play rate";
    app.playRate = 1;
    t = torsoTime();
    frames(1, 5000);
    EXPECT_FLOAT_EQ(torsoTime() - t, WALL_CLOCK_MAX_GAP_MS * 25 / 1000.0f) << "a long stall is not leapt over";

    testing::internal::CaptureStdout();
    toggleMusicFollowing();
    testing::internal::GetCapturedStdout();
    t = torsoTime();
    EXPECT_EQ(frames(1, 80), Calls{}) << "switched off, the music is left alone";
    EXPECT_FLOAT_EQ(torsoTime() - t, 1) << "and the frame clock is back: one step a frame";
}

TEST_F(MusicFollow, TheMusicKeyKeepsItsWayAndFollowingTakesThePlayerBack) {
    frames(1);
    musicKey();  // off
    EXPECT_EQ(backend.take(), Calls{"stop techno"});
    EXPECT_EQ(frames(3), Calls{}) << "music off: nothing to follow";
    musicKey();  // on: the key's own behaviour first
    EXPECT_EQ(backend.take(), (Calls{"close techno", "open media/01.mp3 techno", "playFromStart techno"}));
    const Calls back = frames(1);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[1], "open media/01.mp3 techno");
    EXPECT_EQ(back[2].substr(0, 15), "playFrom techno");
}

TEST_F(MusicFollow, AMissingMusicFileIsLookedForOnceAndTheIntroPlaysOn) {
    app.sceneMusicFile = "media/none.mp3";
    backend.existenceChecks.clear();
    EXPECT_EQ(frames(10), Calls{});
    EXPECT_EQ(backend.existenceChecks, Calls{"media/none.mp3"});
}
