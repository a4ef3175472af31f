// The editing keys as GLUT delivers them: Return, Delete and the control
// codes of Ctrl+R, Ctrl+Y and Ctrl+Z through the keyboard callback; Page Up
// and Down (with and without Ctrl), Home, End and Insert as special keys.
// Also the unsaved-keyframes mark and the messages the commands post.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "base/platform.h"
#include "edit/edit_commands.h"
#include "edit/keyframe_edit.h"
#include "input/keyboard.h"
#include "core/messages.h"

namespace {

int heldModifiers = 0;
int fakeModifiers() { return heldModifiers; }

class EditKeys : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        heldModifiers = 0;
        platform::setModifiersSource(fakeModifiers);
    }
    void TearDown() override {
        platform::resetSeams();
        resetAppState();
    }
    static void key(unsigned char k) { onKeyboard(k, 0, 0); }
    static void special(int k, int modifiers = 0) {
        heldModifiers = modifiers;
        onSpecialKey(k, 0, 0);
        heldModifiers = 0;
    }
    static std::string message() {
        const std::string* m = currentMessage(platform::elapsedMs());
        return m ? *m : "";
    }
    static Person& p() { return app.persons[0]; }
    // Three poses, the head at 4, 8 and 12 degrees (y selects the head).
    static void recordThree() {
        for (int i = 0; i < 5; i++) key('y');
        for (int k = 0; k < 3; k++) {
            key('w');
            special(GLUT_KEY_F7);
            if (k == 0) key('\r');  // pause after the first, as a user must
        }
    }
};

}  // namespace

TEST_F(EditKeys, ReturnPausesAndPlaysTheSelectedFigureOnly) {
    app.numPersons = 2;
    key('\r');
    EXPECT_FALSE(p().animating);
    EXPECT_TRUE(app.persons[1].animating);
    EXPECT_EQ(message(), "figure 1 is paused");
    key('\r');
    EXPECT_TRUE(p().animating);
}

TEST_F(EditKeys, PageKeysHomeEndInsertDeleteAndCtrlREditTheQueue) {
    recordThree();
    EXPECT_EQ(message(), "keyframe 3 / 3 recorded (20 steps)");
    special(GLUT_KEY_HOME);
    special(GLUT_KEY_PAGE_DOWN);
    EXPECT_EQ(currentKeyFrame(p()), 1);
    EXPECT_EQ(message(), "keyframe 2 / 3");
    key(127);  // Delete
    EXPECT_EQ(message(), "keyframe 2 deleted");
    EXPECT_EQ(keyFrameCount(p()), 2);
    special(GLUT_KEY_END);
    EXPECT_EQ(currentKeyFrame(p()), 1);
    special(GLUT_KEY_PAGE_UP, GLUT_ACTIVE_CTRL);
    EXPECT_FLOAT_EQ(p().kfaPos.keyFrames[1].steps, 25);
    special(GLUT_KEY_PAGE_DOWN, GLUT_ACTIVE_CTRL);
    special(GLUT_KEY_PAGE_DOWN, GLUT_ACTIVE_CTRL);
    EXPECT_FLOAT_EQ(p().kfaPos.keyFrames[1].steps, 15);
    special(GLUT_KEY_INSERT);
    EXPECT_EQ(keyFrameCount(p()), 3);
    EXPECT_EQ(currentKeyFrame(p()), 2);
    special(GLUT_KEY_HOME);
    key('w');
    key(18);  // Ctrl+R
    EXPECT_FLOAT_EQ(p().part[HEAD].kfa.keyFrames[0].x, 8);
    EXPECT_EQ(message(), "keyframe 1 replaced");
}

TEST_F(EditKeys, CtrlZUndoesAndCtrlYOrCtrlShiftZRedoes) {
    recordThree();
    special(GLUT_KEY_HOME);
    key('w');
    key(18);
    key(26);  // Ctrl+Z
    EXPECT_EQ(message(), "undo: replace keyframe 1");
    EXPECT_FLOAT_EQ(p().part[HEAD].kfa.keyFrames[0].x, 4);
    key(25);  // Ctrl+Y
    EXPECT_FLOAT_EQ(p().part[HEAD].kfa.keyFrames[0].x, 8);
    key(26);
    heldModifiers = GLUT_ACTIVE_CTRL | GLUT_ACTIVE_SHIFT;
    key(26);  // Ctrl+Shift+Z
    heldModifiers = 0;
    EXPECT_FLOAT_EQ(p().part[HEAD].kfa.keyFrames[0].x, 8);
    EXPECT_EQ(message(), "redo: replace keyframe 1");
}

TEST_F(EditKeys, PoseKeysOnAPlayingFigureSayHowToPause) {
    special(GLUT_KEY_F7);
    key('w');
    EXPECT_EQ(message(), "figure 1 is playing: Return pauses it to pose");
}

TEST_F(EditKeys, KeyFramesAreUnsavedUntilSavedOrLoaded) {
    EXPECT_FALSE(anyUnsavedKeyFrames());
    key('w');
    EXPECT_FALSE(anyUnsavedKeyFrames()) << "a pose alone holds no keyframes";
    special(GLUT_KEY_F7);
    EXPECT_TRUE(anyUnsavedKeyFrames());
    markKeyFramesSaved(0);
    EXPECT_FALSE(anyUnsavedKeyFrames());
    key(127);
    key(26);  // undoing the delete changes them again
    EXPECT_TRUE(anyUnsavedKeyFrames());
    testing::internal::CaptureStdout();
    key('0');  // a built-in scene is loaded, not made
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(anyUnsavedKeyFrames());
}
