// The GL state that the render switches leave behind.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "scene/switches.h"

namespace {

void clearColour(float c[4]) { glGetFloatv(GL_COLOR_CLEAR_VALUE, c); }

}  // namespace

TEST(SwitchesGL, WireframeLightingAndTexturesFollowTheirSettings) {
    resetAppState();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);

    GLint mode[2];
    toggleWireframe();
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_LINE);
    EXPECT_EQ(mode[1], GL_LINE);
    toggleWireframe();
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
    EXPECT_EQ(mode[1], GL_FILL);

    toggleLighting();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    toggleLighting();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

    toggleTextures();  // textures start on: this turns them off
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    toggleTextures();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glDisable(GL_TEXTURE_2D);
}

TEST(SwitchesGL, ALightSwitchSetsAllFourLightsFromTheirSettings) {
    resetAppState();
    for (int i = 0; i < 4; i++) glDisable(GL_LIGHT0 + i);
    toggleLight(2);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
    toggleLight(2);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
    toggleLight(1);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
}

TEST(SwitchesGL, HelpTurnsTheBackgroundBlackOnceAndBackToWhite) {
    resetAppState();
    float c[4];
    setHelpVisible(true);
    clearColour(c);
    EXPECT_FLOAT_EQ(c[0], 0);
    EXPECT_FLOAT_EQ(c[3], 0);
    glClearColor(0.25f, 0.5f, 0.75f, 1);
    setHelpVisible(true);  // already shown: the clear colour is left alone
    clearColour(c);
    EXPECT_FLOAT_EQ(c[0], 0.25f);
    toggleHelp();
    clearColour(c);
    for (float v : c) EXPECT_FLOAT_EQ(v, 1);
    resetAppState();
}
