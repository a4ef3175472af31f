// The timeline's mapping between time and window pixels, its tick hit test,
// its texts, and the strip taking the mouse: a press on a tick goes to that
// keyframe, a drag along it scrubs, a press elsewhere is left to the camera.
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "input/mouse.h"
#include "edit/keyframe_edit.h"
#include "ui/timeline.h"

namespace {

class Timeline : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        // Keyframes of 20, 30 and 10 steps: ticks at 0, 20 and 50 of 60.
        Person& p = app.persons[0];
        for (int steps : {20, 30, 10}) {
            p.part[HEAD].rotation[1] += 10;
            p.pushPoseKeyFrame(static_cast<float>(steps));
        }
        layout = timelineLayout(700, 500);  // strip from x 16 to 684
    }
    void TearDown() override { resetAppState(); }
    TimelineLayout layout{};
};

}  // namespace

TEST_F(Timeline, TimeAndPixelsMapBothWaysWithinTheStrip) {
    EXPECT_FLOAT_EQ(layout.left, 16);
    EXPECT_FLOAT_EQ(layout.right, 684);
    EXPECT_FLOAT_EQ(layout.bottom, 486);
    EXPECT_FLOAT_EQ(timelineX(layout, 0, 60), 16);
    EXPECT_FLOAT_EQ(timelineX(layout, 30, 60), 350);
    EXPECT_FLOAT_EQ(timelineX(layout, 90, 60), 684) << "clamped to the end";
    EXPECT_FLOAT_EQ(timelineTime(layout, 350, 60), 30);
    EXPECT_FLOAT_EQ(timelineTime(layout, 0, 60), 0);
    EXPECT_FLOAT_EQ(timelineTime(layout, 900, 60), 60);
    for (float t : {0.0f, 7.5f, 33.0f, 60.0f})
        EXPECT_NEAR(timelineTime(layout, timelineX(layout, t, 60), 60), t, 1e-4);
    EXPECT_TRUE(insideTimeline(layout, 350, 470));
    EXPECT_FALSE(insideTimeline(layout, 350, 460));
}

TEST_F(Timeline, ATickIsHitNearItsKeyFramesStart) {
    const Person& p = app.persons[0];
    const float x20 = timelineX(layout, 20, 60);
    EXPECT_EQ(tickAt(layout, p, 16), 0);
    EXPECT_EQ(tickAt(layout, p, x20 + 4), 1);
    EXPECT_EQ(tickAt(layout, p, timelineX(layout, 50, 60) - 5), 2);
    EXPECT_EQ(tickAt(layout, p, x20 + 20), -1) << "between ticks";
    EXPECT_EQ(tickAt(layout, p, 684), -1) << "the end is no keyframe's start";
}

TEST_F(Timeline, TextsCountFromOneAndGiveSecondsAtTwentyFiveSteps) {
    EXPECT_EQ(keyFrameText(1, 5), "keyframe 2 / 5");
    EXPECT_EQ(timeText(40), "40 steps  1.60 s");
    EXPECT_EQ(timeText(0), "0 steps  0.00 s");
    EXPECT_STREQ(playText(true), "playing");
    EXPECT_STREQ(playText(false), "paused");
}

TEST_F(Timeline, PressOnATickGoesThereAndADragScrubs) {
    Person& p = app.persons[0];
    const int y = 476;
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, static_cast<int>(timelineX(layout, 20, 60)), y);
    EXPECT_FALSE(app.leftButtonDown) << "the strip takes the press";
    EXPECT_FALSE(p.animating);
    EXPECT_EQ(currentKeyFrame(p), 1);
    EXPECT_FLOAT_EQ(p.part[HEAD].rotation[1], 20);

    const float cameraBefore = app.camera.eye[0];
    onMotion(static_cast<int>(timelineX(layout, 35, 60)), y);
    EXPECT_NEAR(p.kfaPos.currentTime, 35, 0.1);
    // Half-way through keyframe 1's segment: between the poses 10 and 20.
    EXPECT_GT(p.part[HEAD].rotation[1], 10);
    EXPECT_LT(p.part[HEAD].rotation[1], 20);
    EXPECT_FLOAT_EQ(app.camera.eye[0], cameraBefore) << "scrubbing does not orbit";
    onMouse(MOUSE_LEFT, 1, 0, y);

    // Away from the strip a press is an ordinary drag; so is any press while
    // the strip is hidden.
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, 350, 200);
    EXPECT_TRUE(app.leftButtonDown);
    onMouse(MOUSE_LEFT, 1, 350, 200);
    app.keyboardChartVisible = true;
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, 350, y);
    EXPECT_TRUE(app.leftButtonDown);
    onMouse(MOUSE_LEFT, 1, 350, y);

    // A selected figure that `p` has hidden shows no strip to take a press.
    app.keyboardChartVisible = false;
    EXPECT_TRUE(timelineShown());
    app.numPersons = 0;
    EXPECT_FALSE(timelineShown());
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, 350, y);
    EXPECT_TRUE(app.leftButtonDown);
}
