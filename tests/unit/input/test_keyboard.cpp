// The key map, driven through the four callbacks on a fresh application
// state: selections, play rate, scale, items, gender, posing, recording,
// held keys, switches, choreographies and camera tours.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <string>

#include "core/app_state.h"
#include "input/keyboard.h"

namespace {

class Keys : public testing::Test {
protected:
    void SetUp() override { resetAppState(); }

    static void press(const std::string& keys) {
        for (char k : keys) onKeyboard(static_cast<unsigned char>(k), 0, 0);
    }
    static void press(char k, int times) {
        for (int i = 0; i < times; i++) onKeyboard(static_cast<unsigned char>(k), 0, 0);
    }
    static void special(int key) { onSpecialKey(key, 0, 0); }
    static Person& selected() { return app.persons[app.selectedPerson]; }
    static std::string quietly(const std::string& keys) {
        testing::internal::CaptureStdout();
        press(keys);
        return testing::internal::GetCapturedStdout();
    }
};

}  // namespace

// ---------------------------------------------------------------- selection

TEST_F(Keys, PartSelectionStopsAtRootBackwardsAndWrapsForwards) {
    press("t");
    EXPECT_EQ(selected().selectedPart, ROOT);
    press('y', 19);
    EXPECT_EQ(selected().selectedPart, RHI);
    press("y");
    EXPECT_EQ(selected().selectedPart, ROOT);
    press("yyyt");
    EXPECT_EQ(selected().selectedPart, 2);
}

TEST_F(Keys, PersonSelectionWrapsWithinThePersonsShown) {
    press("oo");
    ASSERT_EQ(app.numPersons, 3);
    int seen[4];
    for (int& s : seen) {
        press("u");
        s = app.selectedPerson;
    }
    EXPECT_EQ(seen[0], 1);
    EXPECT_EQ(seen[1], 2);
    EXPECT_EQ(seen[2], 0);
    EXPECT_EQ(seen[3], 1);
    press("ii");
    EXPECT_EQ(app.selectedPerson, 2) << "i at person 0 wraps to the last one shown";

    // Hiding persons leaves the selection where it is; commands still reach it.
    press("pp");
    EXPECT_EQ(app.numPersons, 1);
    EXPECT_EQ(app.selectedPerson, 2);
    press("[");
    EXPECT_EQ(app.persons[2].rightHandItem, ITEM_BALL);
    press("i");
    EXPECT_EQ(app.selectedPerson, 1) << "i counts down from where it stands";
    press("u");
    EXPECT_EQ(app.selectedPerson, 0) << "u brings it back into range";
}

TEST_F(Keys, PersonCountStaysWithinNoneAndFortyFive) {
    press('o', 60);
    EXPECT_EQ(app.numPersons, MAX_PERSONS);
    press('p', 60);
    EXPECT_EQ(app.numPersons, 0);
    app.selectedPerson = 4;
    press("ui");
    EXPECT_EQ(app.selectedPerson, 4) << "no persons shown: selection unchanged";
}

// ---------------------------------------------------------------- play rate

TEST_F(Keys, PlayRateStepsByAFifthWithoutBounds) {
    press(",");
    EXPECT_FLOAT_EQ(app.playRate, -1.0f);
    press('=', 5);
    EXPECT_NEAR(app.playRate, 0.0f, 1e-6);
    press("=");
    EXPECT_NEAR(app.playRate, 0.2f, 1e-6);
    EXPECT_GT(app.playRate, 0);
    press('=', 10);
    EXPECT_NEAR(app.playRate, 2.2f, 1e-5) << "no upper bound";
    press(".");
    EXPECT_FLOAT_EQ(app.playRate, 1.0f);
    press('-', 8);
    EXPECT_NEAR(app.playRate, -0.6f, 1e-5) << "runs backwards below zero";
    press("/");
    EXPECT_FLOAT_EQ(app.playRate, 0.0f);
}

// ---------------------------------------------------------------- the person

TEST_F(Keys, ScaleShrinksOnlyWhileAboveTheBoundAndGrowsWithoutOne) {
    press('n', 100);
    const float smallest = selected().scale;
    EXPECT_LE(smallest, 0.08f + 1e-6f);
    EXPECT_GT(smallest, 0.06f - 1e-6f);
    EXPECT_NEAR(selected().part[TORSO].length, 2 * smallest, 1e-5) << "proportions follow";
    press("n");
    EXPECT_EQ(selected().scale, smallest);
    press('b', 100);
    EXPECT_NEAR(selected().scale, smallest + 2.0f, 1e-4);
}

TEST_F(Keys, EachHandStepsItsOwnItemAndWrapsAfterSeven) {
    for (int n = 1; n <= 6; n++) {
        press("[");
        EXPECT_EQ(selected().rightHandItem, n);
    }
    press("[");
    EXPECT_EQ(selected().rightHandItem, ITEM_NONE);
    EXPECT_EQ(selected().leftHandItem, ITEM_NONE);
    press("]]]");
    EXPECT_EQ(selected().leftHandItem, ITEM_DISC);
    press(']', 4);
    EXPECT_EQ(selected().leftHandItem, ITEM_NONE);
    EXPECT_EQ(selected().rightHandItem, ITEM_NONE);
}

TEST_F(Keys, GenderKeyKeepsTheScale) {
    press("nn");
    const float scale = selected().scale;
    press("m");
    EXPECT_FALSE(selected().isMale);
    EXPECT_FLOAT_EQ(selected().scale, scale);
    EXPECT_FLOAT_EQ(selected().part[TORSO].length, 1.9f * scale);
    EXPECT_FLOAT_EQ(selected().colour[0], 1) << "dressed as a woman";
    press("m");
    EXPECT_TRUE(selected().isMale);
    EXPECT_FLOAT_EQ(selected().part[TORSO].length, 2 * scale);
}

TEST_F(Keys, PartKeysTurnTheSelectedPartWithinItsLimits) {
    press('y', HEAD);
    press("wwx");
    EXPECT_FLOAT_EQ(selected().part[HEAD].rotation[0], 8);
    EXPECT_FLOAT_EQ(selected().part[HEAD].rotation[2], 4);
    press("qsa");
    EXPECT_FLOAT_EQ(selected().part[HEAD].rotation[0], 4);
    EXPECT_FLOAT_EQ(selected().part[HEAD].rotation[1], 0);
    press('z', 10);
    EXPECT_FLOAT_EQ(selected().part[HEAD].rotation[2], -10) << "held at the joint limit";
    press('a', 20);
    EXPECT_FLOAT_EQ(selected().part[HEAD].rotation[1], -40);
    EXPECT_FLOAT_EQ(selected().part[NECK].rotation[0], 0) << "only the selected part";
}

TEST_F(Keys, HeightKeysRaiseAndLowerTheFigure) {
    press("ccc");
    EXPECT_NEAR(selected().position[1], 0.9f, 1e-6);
    press("v");
    EXPECT_NEAR(selected().position[1], 0.6f, 1e-6);
    EXPECT_NEAR(selected().part[ROOT].transform[13], 0.6f, 1e-6) << "root matrix refreshed";
}

TEST_F(Keys, F7RecordsThePoseOntoTheQueueAlreadyThere) {
    quietly("k");  // a kick: five keyframes on every part, none on the position
    press('y', RUA);
    press("ww");
    const float angle = selected().part[RUA].rotation[0];
    special(GLUT_KEY_F7);
    EXPECT_EQ(selected().kfaPos.numKeyFrames, 1);
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        const KeyFrameAnimation& a = selected().part[i].kfa;
        ASSERT_EQ(a.numKeyFrames, 6) << i;
        EXPECT_FLOAT_EQ(a.keyFrames[5].steps, 20);
        EXPECT_FLOAT_EQ(a.keyFrames[5].x, selected().part[i].rotation[0]);
    }
    EXPECT_FLOAT_EQ(selected().part[RUA].kfa.keyFrames[5].x, angle);
    EXPECT_FLOAT_EQ(selected().part[RUA].kfa.keyFrames[4].x, 170) << "the kick is kept";
}

TEST_F(Keys, F8ShowsAndHidesTheTrailOfTheSelectedPerson) {
    special(GLUT_KEY_F8);
    EXPECT_TRUE(selected().showTrail);
    special(GLUT_KEY_F8);
    EXPECT_FALSE(selected().showTrail);
}

// ---------------------------------------------------------------- held keys

TEST_F(Keys, HeldKeysSetFlagsUntilReleasedAndNeverMoveTheFigure) {
    onKeyboard('\t', 0, 0);
    EXPECT_TRUE(app.tabHeld);
    onKeyboardUp('a', 0, 0);
    EXPECT_TRUE(app.tabHeld) << "only Tab's release clears it";
    onKeyboardUp('\t', 0, 0);
    EXPECT_FALSE(app.tabHeld);

    const int arrows[] = {GLUT_KEY_LEFT, GLUT_KEY_UP, GLUT_KEY_RIGHT, GLUT_KEY_DOWN};
    bool* flags[] = {&app.leftHeld, &app.upHeld, &app.rightHeld, &app.downHeld};
    for (int k : arrows) {
        special(k);
        special(k);  // key repeat
    }
    for (bool* f : flags) EXPECT_TRUE(*f);
    EXPECT_FLOAT_EQ(selected().position[2], 0);
    EXPECT_FLOAT_EQ(selected().part[ROOT].rotation[1], 0);
    onSpecialKeyUp(GLUT_KEY_PAGE_UP, 0, 0);
    for (bool* f : flags) EXPECT_TRUE(*f);
    for (int i = 0; i < 4; i++) {
        onSpecialKeyUp(arrows[i], 0, 0);
        EXPECT_FALSE(*flags[i]);
    }
}

TEST_F(Keys, UpperCaseAndShiftedKeysDoNothing) {
    testing::internal::CaptureStdout();
    press("TYUIOPQWASZXCVBNMKLJDERH!@#$%^&*()_+{}");
    onSpecialKey(GLUT_KEY_HOME, 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(app.numPersons, 1);
    EXPECT_EQ(selected().selectedPart, ROOT);
    EXPECT_EQ(selected().rightHandItem, ITEM_NONE);
    EXPECT_FLOAT_EQ(selected().scale, 1.0f);
    EXPECT_FLOAT_EQ(app.playRate, 1.0f);
    EXPECT_EQ(app.cameraMode, CAM_FOCUS_ON_POINT);
    EXPECT_FALSE(app.camera.animationOn);
    EXPECT_EQ(selected().part[TORSO].kfa.numKeyFrames, 0);
    EXPECT_TRUE(app.musicOn);
}

// ---------------------------------------------------------------- switches

TEST_F(Keys, SwitchKeysFlipTheirSettings) {
    press(" hre");
    EXPECT_EQ(app.spinMode, SPIN_PART);
    EXPECT_TRUE(app.keyboardChartVisible);
    EXPECT_TRUE(app.frameLimiterOn);
    EXPECT_EQ(app.cameraMode, CAM_SHIFT_TOWARDS_PERSON);
    press("eee");
    EXPECT_EQ(app.cameraMode, CAM_FOCUS_ON_POINT) << "modes wrap after four";

    special(GLUT_KEY_F1);
    EXPECT_TRUE(app.helpVisible);
    press("o");
    EXPECT_EQ(app.numPersons, 2) << "keys work while help is shown";
    special(GLUT_KEY_F1);
    special(GLUT_KEY_F2);
    special(GLUT_KEY_F3);
    EXPECT_FALSE(app.helpVisible);
    EXPECT_TRUE(app.wireframeOn);
    EXPECT_FALSE(app.texturesOn);

    special(GLUT_KEY_F4);
    EXPECT_FALSE(app.animateOn);
    EXPECT_FALSE(app.persons[44].animating) << "every person, shown or not";

    special(GLUT_KEY_F9);
    special(GLUT_KEY_F11);
    EXPECT_FALSE(app.lightEnabled[0]);
    EXPECT_TRUE(app.lightEnabled[1]);
    EXPECT_TRUE(app.lightEnabled[2]);
    EXPECT_FALSE(app.lightEnabled[3]);
    special(GLUT_KEY_F10);
    special(GLUT_KEY_F12);
    EXPECT_FALSE(app.lightEnabled[1]);
    EXPECT_TRUE(app.lightEnabled[3]);
}

// ---------------------------------------------------------------- choreography

TEST_F(Keys, ChoreographyKeysStartTheirDanceOnTheSelectedPerson) {
    struct Case {
        char key;
        int keyFrames;
        bool cycle;
        int rootKeyFrames;
    } cases[] = {{'7', 2, true, 2}, {'9', 4, true, 0}, {'j', 2, true, 0}, {'k', 5, false, 5}, {'l', 4, false, 4}};
    press("ou");
    for (const Case& c : cases) {
        quietly(std::string(1, c.key));
        const Person& p = app.persons[1];
        EXPECT_EQ(p.part[RUL].kfa.numKeyFrames, c.keyFrames) << c.key;
        EXPECT_EQ(p.part[ROOT].kfa.numKeyFrames, c.rootKeyFrames) << c.key;
        EXPECT_EQ(p.part[RUL].kfa.cycle, c.cycle) << c.key;
        EXPECT_EQ(app.persons[0].part[RUL].kfa.numKeyFrames, 0) << c.key;
    }
}

TEST_F(Keys, CameraKeysStartAndStopTheTours) {
    EXPECT_EQ(quietly("2"), "CODED ANIMATION: ani_cameraRotate()");
    EXPECT_TRUE(app.camera.animationOn);
    EXPECT_EQ(app.camera.eyeAnim.numKeyFrames, 8);
    EXPECT_FLOAT_EQ(app.camera.eyeAnim.keyFrames[0].steps, 200);
    EXPECT_EQ(quietly("2"), "") << "the second press only stops the camera";
    EXPECT_FALSE(app.camera.animationOn);
    EXPECT_EQ(app.camera.eyeAnim.numKeyFrames, 8) << "the tour stays queued";

    quietly("3");
    EXPECT_TRUE(app.camera.animationOn);
    EXPECT_EQ(app.camera.eyeAnim.numKeyFrames, 9);
    press("1");
    EXPECT_FALSE(app.camera.animationOn);
    press("1");
    EXPECT_FALSE(app.camera.animationOn);

    app.selectedPerson = 0;
    press("u");
    quietly("4");
    EXPECT_TRUE(app.camera.animationOn);
    EXPECT_EQ(app.numPersons, 3);
    EXPECT_EQ(app.selectedPerson, 0);
    EXPECT_EQ(app.camera.targetAnim.numKeyFrames, 15);
    EXPECT_FLOAT_EQ(app.camera.targetAnim.keyFrames[0].steps, 200);
    EXPECT_FLOAT_EQ(app.camera.targetAnim.keyFrames[9].steps, 10);
}
