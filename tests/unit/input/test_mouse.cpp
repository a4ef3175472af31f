// Mouse buttons and drags: what a left or middle drag moves in each spin and
// camera mode, help paging by buttons, and the vertical orbit over the poles.
#include <gtest/gtest.h>

#include <cmath>

#include "core/app_state.h"
#include "base/platform.h"
#include "input/mouse.h"

namespace {

constexpr int RELEASED = 1;
constexpr int RIGHT = 2;

int redisplays = 0;
void countRedisplay() { redisplays++; }

// Presses `button` with the pointer resting at (x, y).
void press(int button, int x, int y) {
    onPassiveMotion(x, y);
    onMouse(button, MOUSE_PRESSED, x, y);
}

float rootAngle(int axis) { return app.persons[0].part[0].rotation[axis]; }

float eyeDistance() {
    const Camera& c = app.camera;
    float s = 0;
    for (int i = 0; i < 3; i++) s += (c.eye[i] - c.target[i]) * (c.eye[i] - c.target[i]);
    return std::sqrt(s);
}

void expectPoint(const float p[3], float x, float y, float z, float tol = 1e-3f) {
    EXPECT_NEAR(p[0], x, tol);
    EXPECT_NEAR(p[1], y, tol);
    EXPECT_NEAR(p[2], z, tol);
}

// Drags the pointer in `steps` equal steps of (sx, sy) pixels.
void dragBy(int& x, int& y, int sx, int sy, int steps) {
    for (int i = 0; i < steps; i++) {
        x += sx;
        y += sy;
        onMotion(x, y);
    }
}

}  // namespace

TEST(MouseButtons, PressAndReleaseFollowTheButtonsAndPassiveMotionOnlyTracks) {
    resetAppState();
    onPassiveMotion(40, 60);
    EXPECT_EQ(app.mouseX, 40);
    EXPECT_EQ(app.mouseY, 60);
    expectPoint(app.camera.eye, 0, 5, 20, 0);

    onMouse(MOUSE_LEFT, MOUSE_PRESSED, 0, 0);
    onMouse(MOUSE_MIDDLE, MOUSE_PRESSED, 0, 0);
    onMouse(RIGHT, MOUSE_PRESSED, 0, 0);  // the menu's button
    EXPECT_TRUE(app.leftButtonDown);
    EXPECT_TRUE(app.middleButtonDown);
    EXPECT_EQ(app.mouseX, 40);  // button events do not move the pointer
    app.orbitFlipped = true;
    onMouse(MOUSE_LEFT, RELEASED, 0, 0);
    EXPECT_FALSE(app.leftButtonDown);
    EXPECT_TRUE(app.middleButtonDown);
    EXPECT_FALSE(app.orbitFlipped);  // every button event starts the flip afresh
}

TEST(MouseButtons, MotionWithoutButtonsOnlyMeasuresAndAsksForARedisplay) {
    resetAppState();
    redisplays = 0;
    platform::setRedisplayHandler(countRedisplay);
    onPassiveMotion(100, 100);
    onMotion(90, 130);
    platform::resetSeams();
    EXPECT_FLOAT_EQ(app.mouseDeltaX, 10);
    EXPECT_FLOAT_EQ(app.mouseDeltaY, -30);
    EXPECT_EQ(app.mouseX, 90);
    EXPECT_EQ(app.mouseY, 130);
    EXPECT_EQ(redisplays, 1);
    expectPoint(app.camera.eye, 0, 5, 20, 0);
}

TEST(MouseButtons, PressesTurnHelpPagesWithinTheFirstAndLast) {
    resetAppState();
    app.helpVisible = true;
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, 0, 0);
    EXPECT_EQ(app.helpPage, 1);
    EXPECT_FALSE(app.leftButtonDown);  // a page turn is not a drag
    onMouse(MOUSE_LEFT, RELEASED, 0, 0);
    EXPECT_EQ(app.helpPage, 1);
    onMouse(RIGHT, MOUSE_PRESSED, 0, 0);
    EXPECT_EQ(app.helpPage, 1);
    for (int i = 0; i < 10; i++) onMouse(MOUSE_LEFT, MOUSE_PRESSED, 0, 0);
    EXPECT_EQ(app.helpPage, HELP_PAGES - 1);
    for (int i = 0; i < 10; i++) onMouse(MOUSE_MIDDLE, MOUSE_PRESSED, 0, 0);
    EXPECT_EQ(app.helpPage, 0);

    // A button pressed before help came up is still let go.
    app.helpVisible = false;
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, 0, 0);
    app.helpVisible = true;
    onMouse(MOUSE_LEFT, RELEASED, 0, 0);
    EXPECT_FALSE(app.leftButtonDown);
    EXPECT_EQ(app.helpPage, 0);
}

TEST(MouseSpinPart, SlowDragsTurnNothingAndEveryThreePixelsTurnADegree) {
    resetAppState();
    app.spinMode = SPIN_PART;
    press(MOUSE_LEFT, 100, 100);
    onMotion(102, 98);  // under 3 pixels each way
    EXPECT_FLOAT_EQ(rootAngle(0), 0);
    EXPECT_FLOAT_EQ(rootAngle(2), 0);
    onMotion(110, 105);  // right 8, down 7
    EXPECT_FLOAT_EQ(rootAngle(0), -2);  // trunc(-7 / 3)
    EXPECT_FLOAT_EQ(rootAngle(1), 0);
    EXPECT_FLOAT_EQ(rootAngle(2), 2);   // trunc(8 / 3)
    expectPoint(app.camera.eye, 0, 5, 20, 0);
}

TEST(MouseSpinPart, TabTurnsTheSelectedPartAboutY) {
    resetAppState();
    app.spinMode = SPIN_PART;
    app.tabHeld = true;
    app.selectedPerson = 2;
    app.persons[2].selectedPart = 5;
    press(MOUSE_LEFT, 100, 100);
    const float before[3] = {app.persons[2].part[5].rotation[0], app.persons[2].part[5].rotation[1],
                             app.persons[2].part[5].rotation[2]};
    onMotion(91, 150);  // left 9: +3 about y; the vertical part is ignored
    const float* r = app.persons[2].part[5].rotation;
    EXPECT_FLOAT_EQ(r[0], before[0]);
    EXPECT_FLOAT_EQ(r[2], before[2]);
    EXPECT_NE(r[1], before[1]);
    EXPECT_FLOAT_EQ(rootAngle(1), 0);  // person 0 is not the selected one
}

TEST(MouseOrbit, LeftDragOrbitsTheEyeAboutTheTarget) {
    resetAppState();
    press(MOUSE_LEFT, 100, 100);
    onMotion(80, 100);  // left 20: ten degrees about y
    expectPoint(app.camera.target, 0, 0, 0, 0);
    EXPECT_NEAR(app.camera.eye[0], 20 * std::cos(-280 * degToRad), 1e-3f);
    EXPECT_NEAR(app.camera.eye[1], 5, 1e-3f);
    EXPECT_NEAR(eyeDistance(), std::sqrt(425.0f), 1e-3f);
    onMotion(80, 90);  // up 10: five degrees over the heading
    EXPECT_LT(app.camera.eye[1], 5);
    EXPECT_NEAR(eyeDistance(), std::sqrt(425.0f), 1e-3f);
}

// Dragging up through the bottom pole keeps going round, and dragging back
// the same way returns the eye to where it started, whichever way the view
// was turned first and however finely the pointer moved.
TEST(MouseOrbit, VerticalDragThroughThePoleAndBackReturns) {
    for (int heading : {0, 30, -30}) {
        for (int step : {1, 2, 10}) {
            resetAppState();
            int x = 300, y = 300;
            press(MOUSE_LEFT, x, y);
            dragBy(x, y, heading, 0, 1);
            const Camera start = app.camera;
            dragBy(x, y, 0, -step, 400 / step);  // 200 degrees: under and behind
            EXPECT_TRUE(app.orbitFlipped);
            EXPECT_LT(app.camera.eye[2] * start.eye[2], 0) << "heading " << heading << " step " << step;
            dragBy(x, y, 0, step, 400 / step);
            EXPECT_FALSE(app.orbitFlipped);
            // Back on the same side at the same height; the heading may
            // drift a few degrees, as any oblique vertical drag does.
            float gap = 0;
            for (int i = 0; i < 3; i++) {
                EXPECT_TRUE(std::isfinite(app.camera.eye[i]));
                gap += (app.camera.eye[i] - start.eye[i]) * (app.camera.eye[i] - start.eye[i]);
            }
            EXPECT_LT(std::sqrt(gap), 2.0f) << "heading " << heading << " step " << step;
            EXPECT_NEAR(app.camera.eye[1], start.eye[1], 0.1f);
            EXPECT_NEAR(eyeDistance(), std::sqrt(425.0f), 1e-2f);
        }
    }
}

TEST(MouseOrbit, HorizontalDragsAcrossTheFrontDoNotReverseTheVerticalDrag) {
    resetAppState();
    int x = 300, y = 300;
    press(MOUSE_LEFT, x, y);
    dragBy(x, y, -6, 0, 10);  // across the front and back
    dragBy(x, y, 6, 0, 20);
    EXPECT_FALSE(app.orbitFlipped);
    const float y0 = app.camera.eye[1];
    dragBy(x, y, 0, -4, 1);
    EXPECT_LT(app.camera.eye[1], y0);  // pointer up, eye down, as from the start
}

TEST(MouseOrbit, ExactlyAtThePoleDragsStayFiniteAndCarryThrough) {
    resetAppState();
    app.camera.computeAngles();
    app.camera.setEye(0, -20, 0);
    int x = 300, y = 300;
    press(MOUSE_LEFT, x, y);
    dragBy(x, y, 3, -4, 30);
    for (int i = 0; i < 3; i++) EXPECT_TRUE(std::isfinite(app.camera.eye[i]));
    EXPECT_NEAR(eyeDistance(), 20, 1e-2f);
    EXPECT_GT(app.camera.eye[1], -19);  // it moved off the pole
}

TEST(MouseFreeLook, LeftDragTurnsTheTargetAboutAStillEye) {
    resetAppState();
    app.cameraMode = CAM_FREE;
    press(MOUSE_LEFT, 100, 100);
    onMotion(80, 100);
    expectPoint(app.camera.eye, 0, 5, 20, 0);
    EXPECT_GT(std::fabs(app.camera.target[0]), 1);
    EXPECT_NEAR(eyeDistance(), std::sqrt(425.0f), 1e-2f);
    const float ty = app.camera.target[1];
    onMotion(80, 80);
    expectPoint(app.camera.eye, 0, 5, 20, 0);
    EXPECT_NE(app.camera.target[1], ty);
    EXPECT_NEAR(eyeDistance(), std::sqrt(425.0f), 1e-2f);
}

TEST(MouseMiddleDrag, PansTheEyeOrTheWholeViewByModeAndTab) {
    struct Case { int mode; bool tab; int toX, toY; float eye[3]; float target[3]; };
    // From the start camera, the pointer moves right 2 or up 3.
    const Case cases[] = {
        {CAM_FOCUS_ON_POINT, false, 102, 100, {-2, 5, 20}, {0, 0, 0}},
        {CAM_FOCUS_ON_POINT, false, 100, 97, {0, 5, 17}, {0, 0, 0}},
        {CAM_SHIFT_TOWARDS_PERSON, true, 102, 100, {-2, 5, 20}, {0, 0, 0}},
        {CAM_FOCUS_ON_PERSON, true, 100, 97, {0, 8, 20}, {0, 0, 0}},
        {CAM_FREE, false, 102, 100, {2, 5, 20}, {2, 0, 0}},
        {CAM_FREE, false, 100, 97, {0, 5, 17}, {0, 0, -3}},
        {CAM_FREE, true, 100, 97, {0, 8, 20}, {0, 3, 0}},
    };
    for (const Case& c : cases) {
        resetAppState();
        app.cameraMode = c.mode;
        app.tabHeld = c.tab;
        press(MOUSE_MIDDLE, 100, 100);
        onMotion(c.toX, c.toY);
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " tab " << c.tab << " to " << c.toX
                                        << "," << c.toY);
        expectPoint(app.camera.eye, c.eye[0], c.eye[1], c.eye[2]);
        expectPoint(app.camera.target, c.target[0], c.target[1], c.target[2]);
    }
}

TEST(MouseMiddleDrag, LeftButtonWinsWhenBothAreHeld) {
    resetAppState();
    press(MOUSE_MIDDLE, 100, 100);
    onMouse(MOUSE_LEFT, MOUSE_PRESSED, 100, 100);
    onMotion(80, 100);
    EXPECT_NEAR(eyeDistance(), std::sqrt(425.0f), 1e-3f);  // an orbit, not a pan
    EXPECT_GT(app.camera.eye[0], 1);
}
