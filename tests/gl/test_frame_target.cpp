// The export's frame buffer in a GLUT window's context: it holds what is
// drawn at its own size, away from the window, and reads back as GL keeps it,
// bottom row first (the encoder turns it upright).
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "export/offscreen_gl.h"

TEST(FrameTargetGL, DrawsAtItsOwnSizeAndReadsTheBottomRowFirst) {
    FrameTarget target;
    std::string error;
    ASSERT_TRUE(target.create(64, 32, error)) << error;
    target.bind();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 0, 0);
    glRectf(-1, 0, 1, 1);  // the upper half red
    std::vector<std::uint8_t> px;
    target.readRgbaBottomUp(px);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    target.unbind();

    ASSERT_EQ(px.size(), 64u * 32 * 4);
    auto at = [&](int x, int y) { return &px[(static_cast<std::size_t>(y) * 64 + x) * 4]; };
    EXPECT_EQ(at(10, 29)[0], 255);
    EXPECT_EQ(at(10, 29)[2], 0) << "the last row read is the top";
    EXPECT_EQ(at(50, 2)[0], 0);
    EXPECT_EQ(at(50, 2)[2], 255);
}
