// The stage: the floor lit as an upward surface, the light advanced once per
// pass by the play rate, and light 1 placed from the light path.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "base/platform.h"
#include "scene/scene_init.h"
#include "scene/stage.h"

namespace {

int fakeNow = 0;
int fakeClock() { return fakeNow; }

class StageGL : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        // The light on a bare floor: no texture, which the floor would now
        // switch on from the first pass, modulating what is measured.
        app.texturesOn = false;
        glDisable(GL_TEXTURE_2D);
        configureLogoBlock();
        setLightPath();
        setFixedGlState();
        fakeNow = 30000;
        platform::setClock(fakeClock);
        glViewport(0, 0, 700, 500);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60, 1.4, 1, 2000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(0, 5, 20, 0, 0, 0, 0, 1, 0);
    }
    void TearDown() override {
        platform::resetSeams();
        resetAppState();
        glLoadIdentity();
    }

    // Colour of the floor near the bottom centre of the frame.
    void floorColour(unsigned char rgb[3]) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawStage();
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(350, 40, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    }
};

}  // namespace

TEST_F(StageGL, TheFloorIsLitFromAboveWhateverNormalCameBefore) {
    unsigned char up[3], down[3], side[3];
    glNormal3f(0, 1, 0);
    floorColour(up);
    glNormal3f(0, -1, 0);
    floorColour(down);
    glNormal3f(1, 0, 0);
    floorColour(side);
    for (int c = 0; c < 3; c++) {
        EXPECT_NEAR(up[c], down[c], 2) << "channel " << c;
        EXPECT_NEAR(up[c], side[c], 2) << "channel " << c;
    }
    EXPECT_GT(up[0], 40);  // grey under white light, not black
}

TEST_F(StageGL, EachPassAdvancesTheLightByThePlayRate) {
    const float start[3] = {app.sceneLight.value[0], app.sceneLight.value[1], app.sceneLight.value[2]};
    app.playRate = 0;
    unsigned char rgb[3];
    floorColour(rgb);
    floorColour(rgb);
    EXPECT_FLOAT_EQ(app.sceneLight.currentTime, 0);
    EXPECT_FLOAT_EQ(app.sceneLight.value[0], start[0]);

    app.playRate = 1;
    for (int i = 0; i < 500; i++) floorColour(rgb);
    EXPECT_FLOAT_EQ(app.sceneLight.currentTime, 500);
    // Half way along the first 1000-step glide from (0, 5, -5) to (10, 10, -10).
    EXPECT_NEAR(app.sceneLight.value[0], 5, 0.01);
    EXPECT_NEAR(app.sceneLight.value[1], 7.5, 0.01);
}

TEST_F(StageGL, LightOneShinesFromThePathAsADirectionalLight) {
    glLoadIdentity();
    app.sceneLight.setValue(3, 4, -5);
    applyLightPosition();
    GLfloat p[4];
    glGetLightfv(GL_LIGHT1, GL_POSITION, p);
    EXPECT_FLOAT_EQ(p[0], 3);
    EXPECT_FLOAT_EQ(p[1], 4);
    EXPECT_FLOAT_EQ(p[2], -5);
    EXPECT_FLOAT_EQ(p[3], 0);
}
