// The camera's look-at and its own frame as GL composes them: the look-at
// puts the target straight ahead, and the frame's -z axis runs from the eye
// to the target.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "core/app_state.h"
#include "camera/camera.h"

namespace {

void modelview(float m[16]) { glGetFloatv(GL_MODELVIEW_MATRIX, m); }

struct Placement { float eye[3]; float target[3]; };

// Places the camera fresh, lets `how` load its matrix, and reads it back.
void placeAndRead(const Placement& p, void (*how)(Camera&), float m[16]) {
    resetAppState();
    Camera& cam = app.camera;
    cam.setEye(p.eye[0], p.eye[1], p.eye[2]);
    cam.setTarget(p.target);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    how(cam);
    modelview(m);
}

const Placement placements[] = {
    {{0, 5, 20}, {0, 0, 0}},    {{12, -3, 4}, {1, 2, 3}}, {{-8, 6, -15}, {0, 1, 0}},
    {{7, 0, -3}, {0, 0, 0}},    {{-2, 9, 30}, {4, 4, 4}},
};

}  // namespace

TEST(CameraGl, ViewFrameSitsAtTheEyeWithMinusZTowardsTheTarget) {
    for (const Placement& p : placements) {
        float m[16];
        placeAndRead(p, [](Camera& c) { c.applyViewFrame(); }, m);
        float d[3], len = 0;
        for (int i = 0; i < 3; i++) {
            d[i] = p.target[i] - p.eye[i];
            len += d[i] * d[i];
        }
        len = std::sqrt(len);
        for (int i = 0; i < 3; i++) {
            EXPECT_NEAR(m[12 + i], p.eye[i], 1e-4f);
            EXPECT_NEAR(-m[8 + i], d[i] / len, 1e-3f) << "eye " << p.eye[0] << "," << p.eye[1] << ","
                                                      << p.eye[2] << " component " << i;
        }
        EXPECT_NEAR(m[1], 0, 1e-4f);  // the frame's x axis stays level
    }
}

TEST(CameraGl, ViewFrameStraightAboveLooksDown) {
    resetAppState();
    app.camera.computeAngles();
    app.camera.setEye(0, 10, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    app.camera.applyViewFrame();
    float m[16];
    modelview(m);
    for (float v : m) EXPECT_TRUE(std::isfinite(v));
    EXPECT_NEAR(-m[9], -1, 1e-4f);
}

TEST(CameraGl, LookAtPutsTheTargetStraightAhead) {
    for (const Placement& p : placements) {
        float m[16];
        placeAndRead(p, [](Camera& c) { c.apply(app.playRate); }, m);
        float t[3], len = 0;
        for (int r = 0; r < 3; r++) {
            t[r] = m[12 + r];
            for (int c = 0; c < 3; c++) t[r] += m[c * 4 + r] * p.target[c];
            len += (p.target[r] - p.eye[r]) * (p.target[r] - p.eye[r]);
        }
        EXPECT_NEAR(t[0], 0, 1e-3f);
        EXPECT_NEAR(t[1], 0, 1e-3f);
        EXPECT_NEAR(t[2], -std::sqrt(len), 1e-3f);
    }
}

TEST(CameraGl, ApplyAdvancesARunningTourBeforeLooking) {
    resetAppState();
    Camera& cam = app.camera;
    cam.eyeAnim.setValue(0, 5, 20);
    cam.eyeAnim.setOrigin();
    cam.eyeAnim.pushKeyFrame(0, 5, 40, 0, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    cam.apply(app.playRate);  // tour off: the eye stays
    EXPECT_FLOAT_EQ(cam.eye[2], 20);
    cam.setAnimationOn(true);
    app.playRate = 2;
    glLoadIdentity();
    cam.apply(app.playRate);
    EXPECT_NEAR(cam.eye[2], 40, 1e-3f);
    float m[16];
    modelview(m);
    EXPECT_NEAR(m[14], -std::sqrt(25.0f + 1600.0f), 1e-2f);  // the look-at saw the new eye
}
