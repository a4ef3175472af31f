// The projection matrices reshape leaves on the GL stack, for the
// perspective view and both orthographic branches.
#include <GL/gl.h>
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>

#include "core/app_state.h"
#include "scene/reshape.h"

namespace {

void projection(float m[16]) { glGetFloatv(GL_PROJECTION_MATRIX, m); }

}  // namespace

TEST(ReshapeProjection, PerspectiveIsSixtyDegreesWithTheWindowAspect) {
    resetAppState();
    reshape(700, 500);
    float m[16];
    projection(m);
    const float f = 1.0f / std::tan(30.0f * static_cast<float>(M_PI) / 180.0f);
    EXPECT_NEAR(m[0], f / 1.4f, 1e-4);
    EXPECT_NEAR(m[5], f, 1e-4);
    EXPECT_NEAR(m[10], -(2000.0f + 1.0f) / (2000.0f - 1.0f), 1e-4);
    EXPECT_NEAR(m[11], -1, 1e-6);
    EXPECT_NEAR(m[14], -2 * 2000.0f * 1.0f / (2000.0f - 1.0f), 1e-3);
    float mv[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, mv);
    for (int i = 0; i < 16; i++) EXPECT_FLOAT_EQ(mv[i], (i % 5 == 0) ? 1.0f : 0.0f);
}

TEST(ReshapeProjection, OrthographicKeepsTheShorterSideFromMinusTenToTen) {
    resetAppState();
    app.orthographicView = true;
    float m[16];

    reshape(400, 800);  // tall: x -10..10, y -20..20
    projection(m);
    EXPECT_NEAR(m[0], 2.0f / 20, 1e-6);
    EXPECT_NEAR(m[5], 2.0f / 40, 1e-6);
    EXPECT_NEAR(m[10], -2.0f / 20, 1e-6);
    EXPECT_NEAR(m[15], 1, 1e-6);

    reshape(800, 400);  // wide: x -20..20, y -10..10
    projection(m);
    EXPECT_NEAR(m[0], 2.0f / 40, 1e-6);
    EXPECT_NEAR(m[5], 2.0f / 20, 1e-6);

    reshape(500, 500);  // square takes the wide branch: -10..10 both ways
    projection(m);
    EXPECT_NEAR(m[0], 2.0f / 20, 1e-6);
    EXPECT_NEAR(m[5], 2.0f / 20, 1e-6);
    resetAppState();
}

TEST(ReshapeProjection, AZeroHeightWindowLeavesAFiniteProjection) {
    resetAppState();
    reshape(700, 0);
    float m[16];
    projection(m);
    for (float v : m) EXPECT_TRUE(std::isfinite(v));
    app.orthographicView = true;
    reshape(0, 300);
    projection(m);
    for (float v : m) EXPECT_TRUE(std::isfinite(v));
    resetAppState();
}

// A 32767 x 32767 window crashed the software renderer: the viewport, the
// projection and the stored size follow GL's own limit, and the window is
// not drawn until it has shrunk to it.
TEST(ReshapeProjection, AWindowBeyondTheViewportLimitIsDrawnAtTheLimit) {
    GLint limit[2] = {0, 0}, viewport[4];
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, limit);
    ASSERT_LT(limit[0], 32767) << "this GL draws any X window; nothing to clamp";
    const int width = glutGet(GLUT_WINDOW_WIDTH), height = glutGet(GLUT_WINDOW_HEIGHT);
    resetAppState();
    reshape(32767, 500);
    EXPECT_TRUE(windowBeyondViewportLimit());
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], limit[0]);
    EXPECT_FLOAT_EQ(app.windowWidth, static_cast<float>(limit[0]));
    float m[16];
    projection(m);
    EXPECT_NEAR(m[0], 1.0f / std::tan(30.0f * static_cast<float>(M_PI) / 180.0f) * 500 / limit[0], 1e-5);
    reshape(width, height);
    EXPECT_FALSE(windowBeyondViewportLimit());
    glutReshapeWindow(width, height);  // the last request wins: the test window keeps its size
    resetAppState();
}
