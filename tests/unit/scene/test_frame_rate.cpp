// The frame-rate figure, driven by a fake clock.
#include <gtest/gtest.h>

#include <cmath>

#include "core/app_state.h"
#include "base/platform.h"
#include "scene/frame_rate.h"

namespace {

int fakeNow = 0;
int fakeClock() { return fakeNow; }

class FrameRate : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        fakeNow = 5000;
        platform::setClock(fakeClock);
    }
    void TearDown() override { platform::resetSeams(); }

    // n frames, `period` ms apart.
    void frames(int n, int period) {
        for (int i = 0; i < n; i++) {
            fakeNow += period;
            updateFps();
        }
    }
};

}  // namespace

TEST_F(FrameRate, ReadsZeroForTheFirstSecond) {
    updateFps();
    EXPECT_EQ(app.frameTimeIndex, 0);
    for (int t : app.frameTimes) EXPECT_EQ(t, 5000);
    frames(25, 40);  // exactly 1000 ms: not yet "more than" a second
    EXPECT_EQ(app.fps, 0.0f);
    frames(1, 40);
    EXPECT_FLOAT_EQ(app.fps, 25.0f);
}

TEST_F(FrameRate, SteadyFortyMillisecondFramesGiveTwentyFive) {
    updateFps();
    frames(100, 40);
    EXPECT_FLOAT_EQ(app.fps, 25.0f);
    EXPECT_EQ(app.frameTimeIndex, 100 % FPS_RING_SIZE);
}

TEST_F(FrameRate, UpdatesAtMostOnceASecond) {
    updateFps();
    frames(30, 40);
    ASSERT_FLOAT_EQ(app.fps, 25.0f);
    const int updatedAt = app.lastFpsUpdate;
    frames(20, 10);  // faster frames, but within the second after the update
    EXPECT_FLOAT_EQ(app.fps, 25.0f);
    EXPECT_EQ(app.lastFpsUpdate, updatedAt);
    frames(70, 10);  // past the second: nine 10 ms intervals
    EXPECT_FLOAT_EQ(app.fps, 100.0f);
}

// A ring whose ten stamps are equal (a clock that stood still or stepped
// back) gives no span to divide by: the last figure stays.
TEST_F(FrameRate, ARingWithoutASpanKeepsThePreviousFigure) {
    app.fps = 25.0f;
    app.lastFpsUpdate = 5000;
    for (int& t : app.frameTimes) t = 8000;
    app.frameTimeIndex = 3;
    fakeNow = 8000;
    updateFps();
    EXPECT_TRUE(std::isfinite(app.fps));
    EXPECT_FLOAT_EQ(app.fps, 25.0f);
    EXPECT_EQ(app.frameTimeIndex, 4);
    fakeNow = 8009;  // a measurable span again: nine intervals in 9 ms
    updateFps();
    EXPECT_FLOAT_EQ(app.fps, 1000.0f);
    EXPECT_EQ(app.lastFpsUpdate, 8009);
}
