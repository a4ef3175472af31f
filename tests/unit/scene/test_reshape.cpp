// Window size bookkeeping and text spacings that reshape derives.
#include <gtest/gtest.h>

#include <cmath>

#include "core/app_state.h"
#include "scene/reshape.h"

TEST(Reshape, StartWindowGivesTheStartSpacings) {
    resetAppState();
    const Projection p = updateWindowSize(700, 500);
    EXPECT_FALSE(p.orthographic);
    EXPECT_FLOAT_EQ(app.aspectRatio, 1.4f);
    EXPECT_FLOAT_EQ(app.textCharSpacing, 0.2f);
    EXPECT_FLOAT_EQ(app.textLineSpacing, static_cast<float>(200.0 / 500.5));
    EXPECT_DOUBLE_EQ(p.fovY, 60);
    EXPECT_DOUBLE_EQ(p.nearPlane, 1);
    EXPECT_DOUBLE_EQ(p.farPlane, 2000);
}

TEST(Reshape, OrthographicBoxFollowsTheShorterSide) {
    resetAppState();
    app.orthographicView = true;
    Projection p = updateWindowSize(400, 800);
    EXPECT_DOUBLE_EQ(p.left, -10);
    EXPECT_DOUBLE_EQ(p.top, 20);
    p = updateWindowSize(800, 400);
    EXPECT_DOUBLE_EQ(p.left, -20);
    EXPECT_DOUBLE_EQ(p.top, 10);
    EXPECT_DOUBLE_EQ(p.nearPlane, -10);
    EXPECT_DOUBLE_EQ(p.farPlane, 10);
}

TEST(Reshape, ZeroSidesAreTreatedAsOnePixel) {
    resetAppState();
    Projection p = updateWindowSize(700, 0);
    EXPECT_TRUE(std::isfinite(app.aspectRatio));
    EXPECT_TRUE(std::isfinite(app.textLineSpacing));
    EXPECT_TRUE(std::isfinite(p.aspect));
    EXPECT_FLOAT_EQ(app.windowHeight, 0);  // the real size is still recorded
    app.orthographicView = true;
    p = updateWindowSize(0, 300);
    EXPECT_TRUE(std::isfinite(p.top));
    EXPECT_TRUE(std::isfinite(app.textCharSpacing));
}
