// The menus in a real GLUT window: the main menu's entries, and the
// orthographic switch replacing the projection on the spot.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "app/menus.h"
#include "scene/reshape.h"
#include "export/window_export.h"

TEST(MenusGL, MainMenuHoldsItsSubMenusAndSixEntriesThenTheNewMenus) {
    createMenus();
    EXPECT_NE(glutGetMenu(), 0);
    // body, display, the six entries, "scene", "keyframes", then the export entries.
    EXPECT_EQ(glutGet(GLUT_MENU_NUM_ITEMS), 10 + EXPORT_MENU_ENTRIES);
}

TEST(MenusGL, OrthographicEntrySwitchesTheProjectionBothWays) {
    resetAppState();
    reshape(700, 500);
    float m[16];
    displayMenuHandler(MENU_ORTHOGRAPHIC);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ(m[11], 0) << "orthographic: no perspective divide";
    EXPECT_FLOAT_EQ(m[15], 1);
    EXPECT_NEAR(m[5], 2.0f / 20, 1e-6) << "the shorter side spans -10 to 10";
    EXPECT_NEAR(m[0], 2.0f / 28, 1e-6);

    displayMenuHandler(MENU_ORTHOGRAPHIC);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ(m[11], -1) << "perspective again";
    EXPECT_FLOAT_EQ(m[15], 0);
}
