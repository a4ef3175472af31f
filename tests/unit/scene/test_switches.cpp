// The render switches' settings (the GL side is checked in the GL tier).
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "scene/switches.h"

TEST(Switches, OnOffSwitchesFlipTheirSetting) {
    resetAppState();
    toggleWireframe();
    EXPECT_TRUE(app.wireframeOn);
    toggleWireframe();
    EXPECT_FALSE(app.wireframeOn);

    toggleLighting();  // lighting starts on, so the first toggle turns it off
    EXPECT_FALSE(app.lightingOn);
    toggleTextures();
    EXPECT_FALSE(app.texturesOn);
    toggleTextures();
    EXPECT_TRUE(app.texturesOn);
}

TEST(Switches, ALightToggleTouchesOnlyItsOwnLight) {
    resetAppState();
    toggleLight(2);
    EXPECT_TRUE(app.lightEnabled[0]);
    EXPECT_TRUE(app.lightEnabled[1]);
    EXPECT_TRUE(app.lightEnabled[2]);
    EXPECT_FALSE(app.lightEnabled[3]);
    toggleLight(2);
    EXPECT_FALSE(app.lightEnabled[2]);
    toggleLight(0);
    EXPECT_FALSE(app.lightEnabled[0]);
    // Out-of-range lights are ignored rather than written past the array.
    toggleLight(4);
    toggleLight(-1);
    EXPECT_FALSE(app.lightEnabled[0]);
    EXPECT_TRUE(app.lightEnabled[1]);
    EXPECT_FALSE(app.lightEnabled[2]);
    EXPECT_FALSE(app.lightEnabled[3]);
}

TEST(Switches, HelpVisibilityFollowsRequests) {
    resetAppState();
    setHelpVisible(true);
    setHelpVisible(true);
    EXPECT_TRUE(app.helpVisible);
    toggleHelp();
    EXPECT_FALSE(app.helpVisible);
    toggleHelp();
    EXPECT_TRUE(app.helpVisible);
}

TEST(Switches, HelpPagesStopAtTheFirstAndLast) {
    resetAppState();
    changeHelpPage(-1);
    EXPECT_EQ(app.helpPage, 0);
    for (int i = 0; i < 7; i++) changeHelpPage(1);
    EXPECT_EQ(app.helpPage, 7);
    changeHelpPage(1);
    EXPECT_EQ(app.helpPage, 7);
    changeHelpPage(-3);
    EXPECT_EQ(app.helpPage, 4);
    changeHelpPage(100);
    EXPECT_EQ(app.helpPage, 7);
}

TEST(Switches, CameraModeWrapsForwardButNotBackward) {
    resetAppState();
    int seen[5];
    for (int& m : seen) {
        m = app.cameraMode;
        changeCameraMode(1);
    }
    EXPECT_EQ(seen[1], CAM_SHIFT_TOWARDS_PERSON);
    EXPECT_EQ(seen[3], CAM_FREE);
    EXPECT_EQ(seen[4], CAM_FOCUS_ON_POINT);  // 3 + 1 wraps to 0
    app.cameraMode = 0;
    changeCameraMode(-1);
    EXPECT_EQ(app.cameraMode, 0);  // no wrap to 3
    app.cameraMode = 2;
    changeCameraMode(-1);
    EXPECT_EQ(app.cameraMode, 1);
}

TEST(Switches, AnimateReachesEveryPersonShownOrNot) {
    resetAppState();
    ASSERT_EQ(app.numPersons, 1);
    toggleAnimate();
    EXPECT_FALSE(app.animateOn);
    for (int i = 0; i < MAX_PERSONS; i++) EXPECT_FALSE(app.persons[i].animating) << "person " << i;
    app.persons[30].animating = false;
    app.persons[44].animating = true;  // out of step with the switch
    toggleAnimate();
    EXPECT_TRUE(app.animateOn);
    for (int i = 0; i < MAX_PERSONS; i++) EXPECT_TRUE(app.persons[i].animating) << "person " << i;
}
