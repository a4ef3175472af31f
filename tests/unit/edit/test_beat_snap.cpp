// Keyframes on the beat: beat times as whole steps (a beat between two steps
// goes to the nearer), the next and previous beat far enough away, and the
// keys that use them with snapping on: F7 and Insert end on the next beat,
// Ctrl+Page Up / Down move a keyframe's end by a beat, a dragged time
// settles on the nearest beat, across a change of tempo in the music.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "base/platform.h"
#include "audio/music_analysis.h"
#include "edit/beat_snap.h"
#include "edit/edit_commands.h"
#include "edit/keyframe_edit.h"
#include "input/keyboard.h"
#include "ui/dope_sheet.h"

namespace {

// 120 BPM (a beat every 12.5 steps) for four beats from 0.5 s, then 150 BPM
// (every 10 steps): the steps fall at 12.5 -> 13 (nearer up), 25, 37.5 -> 38,
// 50, then 60, 70, 80.
const std::vector<double> kBeats = {0.5, 1.0, 1.5, 2.0, 2.4, 2.8, 3.2};
constexpr double kOffset = 0;

int heldModifiers = 0;
int fakeModifiers() { return heldModifiers; }

class BeatKeys : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        resetEditing();
        platform::setModifiersSource(fakeModifiers);
        MusicBeats m;
        m.beats = kBeats;
        app.sceneMusicFile = "drums.wav";
        setMusicBeatsForTests(app.sceneMusicFile, m);
    }
    void TearDown() override {
        setMusicBeatsForTests("", MusicBeats());
        platform::resetSeams();
        resetAppState();
    }
    static void special(int k, int modifiers = 0) {
        heldModifiers = modifiers;
        onSpecialKey(k, 0, 0);
        heldModifiers = 0;
    }
    static Person& p() { return app.persons[0]; }
    static float steps(int j) { return referenceAnimator(p()).keyFrames[j].steps; }
};

}  // namespace

TEST(BeatSteps, BeatsBecomeTheNearerWholeStepAfterTheOffset) {
    EXPECT_EQ(beatStep(0.5, 0), 13) << "12.5 steps: half way goes up";
    EXPECT_EQ(beatStep(0.53, 0), 13);
    EXPECT_EQ(beatStep(0.55, 0), 14);
    EXPECT_EQ(beatStep(0.5, 0.3), 5) << "the music 0.3 s in at time 0";
    EXPECT_EQ(beatStep(0.1, 0.3), -5) << "a beat before the animation starts";
}

TEST(BeatSteps, NextPreviousAndNearestKeepTheirDistance) {
    EXPECT_EQ(nextBeatStep(kBeats, kOffset, 0, 2), 13);
    EXPECT_EQ(nextBeatStep(kBeats, kOffset, 12, 2), 25) << "13 is only one step on";
    EXPECT_EQ(nextBeatStep(kBeats, kOffset, 12, 1), 13);
    EXPECT_EQ(nextBeatStep(kBeats, kOffset, 79, 2), -1) << "no beat after the last";
    EXPECT_EQ(previousBeatStep(kBeats, kOffset, 50, 1, 0), 38);
    EXPECT_EQ(previousBeatStep(kBeats, kOffset, 50, 1, 40), -1) << "not before the floor";
    EXPECT_EQ(previousBeatStep(kBeats, kOffset, 13, 1, 0), -1);
    EXPECT_EQ(nearestBeatStep(kBeats, kOffset, 64), 60) << "after the tempo change";
    EXPECT_EQ(nearestBeatStep(kBeats, kOffset, 66), 70);
    EXPECT_EQ(nearestBeatStep(kBeats, kOffset, 500), 80);
    EXPECT_EQ(nearestBeatStep({}, kOffset, 5), -1);
}

TEST_F(BeatKeys, CtrlBSwitchesSnappingAndWithoutItNothingMoves) {
    onKeyboard(2, 0, 0);  // Ctrl+B
    EXPECT_TRUE(app.snapToBeats);
    EXPECT_FLOAT_EQ(snapTimeToBeat(36), 38);
    onKeyboard(2, 0, 0);
    EXPECT_FALSE(app.snapToBeats);
    EXPECT_FLOAT_EQ(snapTimeToBeat(36), 36);
    special(GLUT_KEY_F7);
    EXPECT_FLOAT_EQ(steps(0), RECORDED_KEYFRAME_STEPS);
}

TEST_F(BeatKeys, RecordedKeyFramesEndOnTheNextBeatsFromTheFirstOn) {
    app.snapToBeats = true;
    special(GLUT_KEY_F7);
    EXPECT_FLOAT_EQ(steps(0), 13) << "the first keyframe ends on the first beat";
    special(GLUT_KEY_F7);
    EXPECT_FLOAT_EQ(steps(1), 12) << "13 to 25";
    special(GLUT_KEY_F7);
    special(GLUT_KEY_F7);
    special(GLUT_KEY_F7);
    EXPECT_FLOAT_EQ(animationLength(p()), 60);
    EXPECT_FLOAT_EQ(steps(4), 10) << "the faster beats after the tempo change";
    app.sceneMusicOffset = 0.4f;  // the music 10 steps further on: beats at 70 - 10 = 60, 70
    special(GLUT_KEY_F7);
    EXPECT_FLOAT_EQ(steps(5), 10);
    special(GLUT_KEY_F7);
    EXPECT_FLOAT_EQ(steps(6), RECORDED_KEYFRAME_STEPS) << "past the last beat, the usual length";
}

TEST_F(BeatKeys, InsertEndsOnTheBeatAfterTheCurrentKeyFrame) {
    app.snapToBeats = true;
    special(GLUT_KEY_F7);  // 0 .. 13
    special(GLUT_KEY_F7);  // 13 .. 25
    goToKeyFrame(p(), 0);
    special(GLUT_KEY_INSERT);
    EXPECT_FLOAT_EQ(steps(1), 12) << "from 13 to the beat at 25";
    EXPECT_EQ(keyFrameCount(p()), 3);
}

TEST_F(BeatKeys, CtrlPageKeysMoveTheEndByABeatAndNeverBelowTheShortest) {
    app.snapToBeats = true;
    special(GLUT_KEY_F7);  // 0 .. 13
    special(GLUT_KEY_F7);  // 13 .. 25
    goToKeyFrame(p(), 1);
    special(GLUT_KEY_PAGE_UP, platform::MOD_CTRL);
    EXPECT_FLOAT_EQ(steps(1), 25) << "13 .. 38";
    special(GLUT_KEY_PAGE_UP, platform::MOD_CTRL);
    EXPECT_FLOAT_EQ(steps(1), 37) << "13 .. 50";
    special(GLUT_KEY_PAGE_DOWN, platform::MOD_CTRL);
    special(GLUT_KEY_PAGE_DOWN, platform::MOD_CTRL);
    EXPECT_FLOAT_EQ(steps(1), 12) << "back to 25";
    special(GLUT_KEY_PAGE_DOWN, platform::MOD_CTRL);
    EXPECT_FLOAT_EQ(steps(1), 12) << "the beat at 13 would leave no keyframe: unchanged";
}

TEST_F(BeatKeys, AltArrowsMoveTheMusicAndLeaveTheFigureStanding) {
    special(GLUT_KEY_RIGHT, platform::MOD_ALT);
    EXPECT_FALSE(app.rightHeld) << "the figure would turn every frame";
    EXPECT_FLOAT_EQ(app.sceneMusicOffset, -0.04f);
    special(GLUT_KEY_LEFT, platform::MOD_ALT);
    EXPECT_FALSE(app.leftHeld);
    EXPECT_FLOAT_EQ(app.sceneMusicOffset, 0);
    special(GLUT_KEY_LEFT);
    EXPECT_TRUE(app.leftHeld) << "without Alt the arrow turns the figure as before";
}

TEST_F(BeatKeys, WithoutBeatsYetSnappingChangesNothing) {
    setMusicBeatsForTests("", MusicBeats());
    app.sceneMusicFile.clear();
    app.snapToBeats = true;
    special(GLUT_KEY_F7);
    EXPECT_FLOAT_EQ(steps(0), RECORDED_KEYFRAME_STEPS);
    special(GLUT_KEY_PAGE_UP, platform::MOD_CTRL);
    EXPECT_FLOAT_EQ(steps(0), RECORDED_KEYFRAME_STEPS + KEYFRAME_LENGTH_STEP);
}

TEST_F(BeatKeys, ADopeSheetTickDraggedWithSnappingSettlesOnTheNearestBeat) {
    // Three keyframes of 20 steps: ends 20, 40, 60.
    for (int k = 0; k < 3; k++) p().pushPoseKeyFrame(20);
    app.dopeSheetVisible = true;
    const DopeSheetLayout l = dopeSheetLayout(700, 500);
    const int y = static_cast<int>(l.rowsTop + l.rowHeight / 2);
    const auto x = [&](float t) { return static_cast<int>(dopeSheetX(l, t) + 0.5f); };
    const auto drag = [&](float from, float to) {
        ASSERT_TRUE(dopeSheetPress(x(from), y, false));
        dopeSheetDrag(x(to));
        dopeSheetRelease(x(to));
    };
    app.snapToBeats = true;
    drag(40, 36);
    EXPECT_FLOAT_EQ(keyFrameEnd(referenceAnimator(p()), 1), 38) << "the beat at 1.5 s is step 38";
    EXPECT_FLOAT_EQ(keyFrameEnd(referenceAnimator(p()), 2), 60) << "the next keyframe keeps its end";
    drag(60, 64);
    EXPECT_FLOAT_EQ(keyFrameEnd(referenceAnimator(p()), 2), 60) << "after the tempo change: 60 is nearer than 70";
    drag(38, 45);
    EXPECT_FLOAT_EQ(keyFrameEnd(referenceAnimator(p()), 1), 50);
    app.snapToBeats = false;
    drag(50, 33);
    EXPECT_NEAR(keyFrameEnd(referenceAnimator(p()), 1), 33, 1) << "without snapping, where it is let go";
}
