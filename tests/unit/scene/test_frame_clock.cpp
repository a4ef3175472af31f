// The idle pass: help pause, frame limiter warning, scene clock, held keys.
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "scene/frame_clock.h"
#include "base/platform.h"

namespace {

int fakeNow = 0;
int clockReads = 0;
int redisplays = 0;
int fakeClock() {
    clockReads++;
    return fakeNow;
}
// The limiter sleeps; the fake clock moves by the time slept.
void fakeSleep(int ms) { fakeNow += ms > 0 ? ms : 1; }
void countRedisplay() { redisplays++; }

class IdleTest : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        fakeNow = 0;
        clockReads = 0;
        redisplays = 0;
        platform::setClock(fakeClock);
        platform::setSleeper(fakeSleep);
        platform::setRedisplayHandler(countRedisplay);
    }
    void TearDown() override { platform::resetSeams(); }
};

}  // namespace

TEST_F(IdleTest, HelpShownOnlyAsksForARedisplay) {
    app.helpVisible = true;
    app.frameLimiterOn = true;
    app.upHeld = true;
    idle();
    EXPECT_EQ(redisplays, 1);
    EXPECT_EQ(clockReads, 0);
    EXPECT_FLOAT_EQ(app.sceneClock, 0);
    EXPECT_FLOAT_EQ(app.persons[0].position[2], 0);
}

TEST_F(IdleTest, LimiterWarnsOnlyWhenMoreThanTwoPeriodsLate) {
    app.frameLimiterOn = true;
    app.lastFrameTime = 1000;
    fakeNow = 1080;
    testing::internal::CaptureStdout();
    idle();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(app.lastFrameTime, 1080);

    fakeNow = 1080 + 81;
    testing::internal::CaptureStdout();
    idle();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "WARNING: cannot keep up with frame rate of:40\n");
}

TEST_F(IdleTest, LimiterNeverStartsAFrameEarly) {
    app.frameLimiterOn = true;
    app.lastFrameTime = 500;
    fakeNow = 505;
    idle();
    EXPECT_GE(app.lastFrameTime, 540);
    EXPECT_LE(app.lastFrameTime, 541);
}

TEST_F(IdleTest, SceneClockAddsThePlayRateAndStopsAtZero) {
    app.numPersons = 0;  // only idle's own redisplay requests are counted
    idle();
    idle();
    EXPECT_FLOAT_EQ(app.sceneClock, 2);
    app.playRate = -1.5f;
    idle();
    idle();
    EXPECT_FLOAT_EQ(app.sceneClock, 0);
    EXPECT_EQ(redisplays, 4);
}

TEST_F(IdleTest, HeldKeysUpBeatsDownLeftBeatsRightTabSideSteps) {
    app.upHeld = app.downHeld = true;
    idle();
    EXPECT_FLOAT_EQ(app.persons[0].position[2], 0.5f);

    app.upHeld = app.downHeld = false;
    app.leftHeld = app.rightHeld = true;
    idle();
    EXPECT_FLOAT_EQ(app.persons[0].part[ROOT].rotation[1], 3);

    app.persons[0].part[ROOT].rotation[1] = 0;
    app.rightHeld = false;
    app.tabHeld = true;
    idle();
    EXPECT_NEAR(app.persons[0].position[0], 0.5f, 1e-6);
    EXPECT_FLOAT_EQ(app.persons[0].part[ROOT].rotation[1], 0);
}

TEST_F(IdleTest, OnlyVisiblePersonsAreStepped) {
    app.numPersons = 2;
    for (int i = 0; i < 3; i++) app.persons[i].kfaPos.pushKeyFrame(0, 0, 10, ABS, 10);
    app.selectedPerson = 1;
    app.downHeld = true;
    idle();
    EXPECT_FLOAT_EQ(app.persons[0].kfaPos.currentTime, 1);
    EXPECT_FLOAT_EQ(app.persons[1].kfaPos.currentTime, 1);
    EXPECT_FLOAT_EQ(app.persons[2].kfaPos.currentTime, 0);
    // Person 1 was walked back and then animated: the animator wins.
    EXPECT_FLOAT_EQ(app.persons[1].position[2], 1);
}
