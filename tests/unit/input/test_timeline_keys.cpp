// The scene's time line from the keys, as GLUT delivers them with their
// modifiers: Ctrl+T and Ctrl+Shift+T (keyframe kinds, undoable), Shift+F7
// (a key for one part), Ctrl+K and Ctrl+Shift+K (the camera's track); and
// the limits of retiming. Ctrl+Home and Ctrl+Return are tested end to end.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "base/platform.h"
#include "edit/edit_commands.h"
#include "edit/keyframe_edit.h"
#include "edit/timeline_commands.h"
#include "input/keyboard.h"
#include "core/messages.h"

namespace {

int heldModifiers = 0;
int fakeModifiers() { return heldModifiers; }

constexpr unsigned char CTRL_K = 11, CTRL_T = 20;
constexpr int SHIFT = platform::MOD_SHIFT, CTRL = platform::MOD_CTRL;

class TimelineKeys : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        resetEditing();
        heldModifiers = 0;
        platform::setModifiersSource(fakeModifiers);
    }
    void TearDown() override {
        platform::resetSeams();
        resetEditing();
        resetAppState();
    }
    static void key(unsigned char k, int modifiers = 0) {
        heldModifiers = modifiers;
        onKeyboard(k, 0, 0);
        heldModifiers = 0;
    }
    static void special(int k, int modifiers = 0) {
        heldModifiers = modifiers;
        onSpecialKey(k, 0, 0);
        heldModifiers = 0;
    }
    static std::string message() {
        const std::string* m = currentMessage(platform::elapsedMs());
        return m ? *m : "";
    }
    static Person& p(int i = 0) { return app.persons[i]; }
    // Paused figure with poses of the head at 10, 20 and 30 degrees, 20 steps each.
    static void recordThree(Person& f) {
        f.setAnimate(false);
        for (int k = 1; k <= 3; k++) {
            f.part[HEAD].rotation[1] = 10.0f * k;
            f.pushPoseKeyFrame(20);
        }
        goToKeyFrame(f, 1);
    }
};

}  // namespace

TEST_F(TimelineKeys, CtrlTCyclesTheCurrentKindAndCtrlShiftTGivesItToAllAsUndoSteps) {
    recordThree(p());
    EXPECT_EQ(currentKeyFrameKind(p()), KIND_SMOOTH) << "recorded keyframes are smooth";
    key(CTRL_T, CTRL);
    EXPECT_EQ(message(), "keyframe 2 is linear");
    key(CTRL_T, CTRL);
    EXPECT_EQ(currentKeyFrameKind(p()), KIND_HOLD);
    for (int i = -1; i < BODY_PART_COUNT; i++) EXPECT_EQ(figureAnimator(p(), i).keyFrames[1].kind, KIND_HOLD);
    EXPECT_EQ(p().part[HEAD].kfa.keyFrames[0].kind, KIND_SMOOTH) << "only the current keyframe";

    key(CTRL_T, CTRL | SHIFT);
    for (int k = 0; k < 3; k++) EXPECT_EQ(p().part[RUA].kfa.keyFrames[k].kind, KIND_HOLD);
    key(26, CTRL);  // Ctrl+Z
    EXPECT_EQ(p().part[RUA].kfa.keyFrames[0].kind, KIND_SMOOTH);
    EXPECT_EQ(p().part[RUA].kfa.keyFrames[1].kind, KIND_HOLD);
    key(26, CTRL);
    key(26, CTRL);
    EXPECT_EQ(p().part[RUA].kfa.keyFrames[1].kind, KIND_SMOOTH);
    key(CTRL_T, CTRL);
    key(CTRL_T, CTRL);
    key(CTRL_T, CTRL);
    EXPECT_EQ(currentKeyFrameKind(p()), KIND_SPLINE) << "the cycle comes round to the spline";
}

TEST_F(TimelineKeys, ShiftF7KeysThePartAloneAndKeepsItsLaterTimes) {
    recordThree(p());
    p().selectPart(HEAD);
    scrubTo(p(), 30);  // inside the head's second segment (20..40)
    p().part[HEAD].rotation[0] = 45;
    p().part[RUA].rotation[0] = 99;  // posed but not keyed
    special(GLUT_KEY_F7, SHIFT);
    const KeyFrameAnimation& head = p().part[HEAD].kfa;
    ASSERT_EQ(head.numKeyFrames, 4);
    EXPECT_EQ(keyFrameEnd(head, 1), 30);
    EXPECT_EQ(keyFrameEnd(head, 2), 40) << "the next keyframe keeps its time";
    EXPECT_EQ(keyFrameEnd(head, 3), 60);
    EXPECT_EQ(head.keyFrames[1].x, 45);
    EXPECT_EQ(head.keyFrames[1].kind, KIND_SMOOTH);
    EXPECT_EQ(p().part[RUA].kfa.numKeyFrames, 3) << "other parts are untouched";
    EXPECT_EQ(p().kfaPos.numKeyFrames, 3);
    EXPECT_EQ(message(), "HEAD keyframe at step 30");

    // Past the part's last keyframe: one that ends at the figure's time.
    p().selectPart(NECK);
    p().part[NECK].kfa.numKeyFrames = 1;  // the neck keyed only to 20
    scrubTo(p(), 50);
    special(GLUT_KEY_F7, SHIFT);
    ASSERT_EQ(p().part[NECK].kfa.numKeyFrames, 2);
    EXPECT_EQ(keyFrameEnd(p().part[NECK].kfa, 1), 50);

    // At a keyframe's own time it replaces the angles; a step away is too close.
    p().selectPart(HEAD);
    scrubTo(p(), 40);
    p().part[HEAD].rotation[0] = -5;
    special(GLUT_KEY_F7, SHIFT);
    EXPECT_EQ(head.numKeyFrames, 4);
    EXPECT_EQ(head.keyFrames[2].x, -5);
    scrubTo(p(), 41);
    special(GLUT_KEY_F7, SHIFT);
    EXPECT_EQ(head.numKeyFrames, 4);
    EXPECT_EQ(message(), "HEAD keyframe not recorded: keyframes are at least 2 steps apart");

    // Each recorded key is one undo step.
    key(26, CTRL);
    EXPECT_EQ(head.keyFrames[2].x, 0);
    key(26, CTRL);
    EXPECT_EQ(p().part[NECK].kfa.numKeyFrames, 1);
    key(26, CTRL);
    EXPECT_EQ(head.numKeyFrames, 3);
}

TEST_F(TimelineKeys, CtrlKRecordsTheViewAsTheCameraTrackAndCtrlShiftKClearsIt) {
    Camera& c = app.camera;
    key(CTRL_K, CTRL);
    c.orbit(90, 1);
    const float eyeB[3] = {c.eye[0], c.eye[1], c.eye[2]};
    key(CTRL_K, CTRL);
    ASSERT_EQ(c.eyeAnim.numKeyFrames, 2);
    EXPECT_EQ(message(), "camera keyframe 2 recorded");
    EXPECT_TRUE(c.animationOn);
    EXPECT_EQ(keyFrameEnd(c.eyeAnim, 1), 40);
    EXPECT_EQ(c.eyeAnim.keyFrames[1].kind, KIND_SMOOTH);
    EXPECT_EQ(c.eyeAnim.keyFrames[1].x, eyeB[0]);

    // Paused while recording: the view stays where the user put it.
    c.advanceAnimators(1);
    EXPECT_EQ(c.eye[0], eyeB[0]);
    // From the start, played, the camera travels from the first view to the second.
    special(GLUT_KEY_HOME, CTRL);
    EXPECT_NEAR(c.eye[2], 20, 1e-4);
    key('\r', CTRL);
    for (int i = 0; i < 30; i++) c.advanceAnimators(1);
    EXPECT_GT(std::abs(c.eye[2] - 20), 1);
    for (int i = 0; i < 20; i++) c.advanceAnimators(1);
    EXPECT_NEAR(c.eye[0], eyeB[0], 1e-4);

    key(CTRL_K, CTRL | SHIFT);
    EXPECT_EQ(c.eyeAnim.numKeyFrames, 0);
    EXPECT_FALSE(c.animationOn);
    EXPECT_EQ(message(), "camera track cleared");
}

TEST_F(TimelineKeys, RetimingAndRemovingKeepLaterKeyframesWhereTheyAre) {
    recordThree(p());
    // Keyframe 1 (reached at 40) to 30: its segment shrinks, the next grows.
    EXPECT_TRUE(moveKeyFrameTo(p(), FIGURE_ROW, 1, 30, false));
    for (int i = -1; i < BODY_PART_COUNT; i++) {
        EXPECT_EQ(keyFrameEnd(figureAnimator(p(), i), 1), 30);
        EXPECT_EQ(keyFrameEnd(figureAnimator(p(), i), 2), 60) << "later keyframes stay";
    }
    // Never past the next keyframe: the next segment keeps its shortest length.
    moveKeyFrameTo(p(), FIGURE_ROW, 1, 75, false);
    EXPECT_EQ(keyFrameEnd(p().kfaPos, 1), 58);
    EXPECT_EQ(keyFrameEnd(p().kfaPos, 2), 60);
    // Removing one keyframe leaves the later ones at their times.
    EXPECT_TRUE(removeKeyFrameKeepingTimes(p(), HEAD, 1));
    ASSERT_EQ(p().part[HEAD].kfa.numKeyFrames, 2);
    EXPECT_EQ(keyFrameEnd(p().part[HEAD].kfa, 1), 60);
    EXPECT_EQ(p().part[HEAD].kfa.keyFrames[1].y, 30);
    EXPECT_FALSE(removeKeyFrameKeepingTimes(p(), HEAD, 5));
}
