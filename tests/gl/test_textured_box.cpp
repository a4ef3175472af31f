// The textured box: its extent, which face looks where, pictures upright on
// the front face, per-face binding and the texture left bound afterwards.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "core/app_state.h"
#include "figure/textured_box.h"
#include "gl_probe.h"

using namespace glprobe;

namespace {

GLint boundTexture() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

void beginTexturedFrame(View view) {
    beginFrame(view, 0);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
}

}  // namespace

TEST(TexturedBox, FacesLookTheirWayAndTheLastFaceStaysBound) {
    resetAppState();
    loadSolidTextures();
    TexturedBox box;
    box.setScale(6, 5, 2);
    box.setFaceTextures(10, 11, 12, 13, 14, 15);

    beginTexturedFrame(FRONT);
    float before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    box.draw();
    float after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int k = 0; k < 16; k++) EXPECT_FLOAT_EQ(after[k], before[k]);
    EXPECT_EQ(boundTexture(), app.textures[15]);
    // 12 wide and 10 high, face 0 towards +z.
    EXPECT_TRUE(near(probe(5.8f, 4.8f), slotColour(10)));
    EXPECT_TRUE(near(probe(-5.8f, -4.8f), slotColour(10)));
    EXPECT_TRUE(near(probe(6.3f, 0), kBlack));
    EXPECT_TRUE(near(probe(0, 5.3f), kBlack));

    beginTexturedFrame(BACK);
    box.draw();
    EXPECT_TRUE(near(probe(0, 0), slotColour(11))) << "-z";
    beginTexturedFrame(LEFT_SIDE);
    box.draw();
    EXPECT_TRUE(near(probe(0, 0), slotColour(15))) << "+x";
    EXPECT_TRUE(near(probe(1.8f, 0), slotColour(15))) << "4 deep";
    EXPECT_TRUE(near(probe(2.3f, 0), kBlack));

    // Without face textures the caller's texture shows and stays bound.
    box.reset();
    beginTexturedFrame(FRONT);
    glBindTexture(GL_TEXTURE_2D, app.textures[7]);
    box.draw();
    EXPECT_EQ(boundTexture(), app.textures[7]);
    EXPECT_TRUE(near(probe(0, 0), slotColour(7)));
    EXPECT_TRUE(near(probe(1.2f, 0), kBlack)) << "back to 2 x 2 x 2";
    glDisable(GL_TEXTURE_2D);
}

TEST(TexturedBox, FrontFaceShowsThePictureUpright) {
    resetAppState();
    // 4 x 4 in quadrants, bottom row first: red | green below, blue | white above.
    std::vector<unsigned char> bgr;
    for (int row = 0; row < 4; row++)
        for (int col = 0; col < 4; col++) {
            const bool top = row >= 2, right = col >= 2;
            const unsigned char r = (!top && !right) || (top && right) ? 255 : 0;
            const unsigned char g = (!top && right) || (top && right) ? 255 : 0;
            const unsigned char b = top ? 255 : 0;
            bgr.insert(bgr.end(), {b, g, r});
        }
    const std::string path = ::testing::TempDir() + "/puppetorium_quadrants.bmp";
    ASSERT_TRUE(testbmp::writeFile(path, testbmp::encode(4, 4, bgr)));
    testing::internal::CaptureStdout();
    app.textures[TEX_LOGO] = loadTexture(path.c_str());
    testing::internal::GetCapturedStdout();
    ASSERT_GE(app.textures[TEX_LOGO], 0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

    TexturedBox box;
    box.setScale(6, 5, 2);
    box.setFaceTextures(TEX_LOGO, TEX_LOGO, TEX_LOGO, TEX_LOGO, TEX_LOGO, TEX_LOGO);
    beginTexturedFrame(FRONT);
    box.draw();
    EXPECT_TRUE(near(probe(-3, -2.5f), kRed)) << "lower left";
    EXPECT_TRUE(near(probe(3, -2.5f), {0, 255, 0})) << "lower right";
    EXPECT_TRUE(near(probe(-3, 2.5f), kBlue)) << "upper left";
    EXPECT_TRUE(near(probe(3, 2.5f), kWhite)) << "upper right";
    glDisable(GL_TEXTURE_2D);
}
