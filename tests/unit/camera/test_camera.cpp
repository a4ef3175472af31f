// The camera's maths: working angles, orbit and free look, panning, the view
// frame, camera modes and the keyframed tours.
#include <gtest/gtest.h>

#include <cmath>

#include "core/app_state.h"
#include "camera/camera.h"

namespace {

constexpr float kTol = 1e-3f;

void expectPoint(const float p[3], float x, float y, float z, float tol = kTol) {
    EXPECT_NEAR(p[0], x, tol);
    EXPECT_NEAR(p[1], y, tol);
    EXPECT_NEAR(p[2], z, tol);
}

float dist(const float a[3], const float b[3]) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                     (a[2] - b[2]) * (a[2] - b[2]));
}

bool allFinite(const Camera& c) {
    for (int i = 0; i < 3; i++)
        if (!std::isfinite(c.eye[i]) || !std::isfinite(c.target[i]) || !std::isfinite(c.angle[i]) ||
            !std::isfinite(c.offset[i]) || !std::isfinite(c.planeDistance[i]))
            return false;
    return std::isfinite(c.distance);
}

}  // namespace

TEST(CameraAngles, WrapAngleFoldsIntoZeroToThreeSixtyKeepingBothEnds) {
    const float cases[][2] = {{370, 10}, {720, 0},   {-30, 330}, {-400, 320},
                              {-360, 360}, {360, 360}, {0, 0},    {123.5f, 123.5f}};
    for (const auto& c : cases) {
        float a = c[0];
        Camera::wrapAngle(a);
        EXPECT_FLOAT_EQ(a, c[1]) << "from " << c[0];
    }
}

TEST(CameraAngles, StartCameraLooksDownTheZAxis) {
    resetAppState();
    Camera& cam = app.camera;
    cam.computeAngles();
    cam.computeDistances();
    EXPECT_NEAR(cam.angle[1], 270, kTol);
    expectPoint(cam.offset, 0, 5, 20);
    EXPECT_NEAR(cam.planeDistance[1], 20, kTol);
    EXPECT_NEAR(cam.distance, std::sqrt(425.0f), kTol);
}

// Whatever the offset, each angle reproduces the offset in its plane.
TEST(CameraAngles, AnglesAndPlaneDistancesRebuildTheOffset) {
    const float offsets[][3] = {{3, 4, 5},  {-3, 4, 5},  {3, -4, 5},   {3, 4, -5},
                                {-7, -2, -9}, {0, 0, 6},  {6, 0, 0},    {0, -6, 0.5f}};
    for (const auto& o : offsets) {
        Camera cam;
        cam.setTarget(1, -2, 3);
        cam.setEye(1 + o[0], -2 + o[1], 3 + o[2]);
        cam.computeAngles();
        cam.computeDistances();
        const int pairs[3][2] = {{2, 1}, {0, 2}, {0, 1}};
        for (int axis = 0; axis < 3; axis++) {
            const float r = -cam.angle[axis] * degToRad;
            EXPECT_NEAR(cam.planeDistance[axis] * std::cos(r), o[pairs[axis][0]], kTol)
                << "axis " << axis << " offset " << o[0] << "," << o[1] << "," << o[2];
            EXPECT_NEAR(cam.planeDistance[axis] * std::sin(r), o[pairs[axis][1]], kTol)
                << "axis " << axis << " offset " << o[0] << "," << o[1] << "," << o[2];
            EXPECT_GE(cam.angle[axis], 0);
            EXPECT_LE(cam.angle[axis], 360);
        }
    }
}

TEST(CameraAngles, NegativeZeroInTheOffsetDoesNotPointTheAngleBackwards) {
    Camera cam;
    cam.setTarget(0, 0, 0);
    cam.setEye(5, 1, -0.0f);  // -0 - 0 leaves a -0 offset component
    cam.orbit(0, 1);
    expectPoint(cam.eye, 5, 1, 0);
}

TEST(CameraOrbit, FullTurnReturnsTheEyeAndEveryTurnKeepsThePlaneDistance) {
    resetAppState();
    Camera& cam = app.camera;
    cam.orbit(360, 1);
    expectPoint(cam.eye, 0, 5, 20);
    cam.orbit(90, 1);  // a quarter turn about y swings the eye to +x
    expectPoint(cam.eye, 20, 5, 0);
    for (int axis = 0; axis < 3; axis++) {
        cam.computeDistances();
        const float before = cam.planeDistance[axis];
        const float untouched = cam.eye[axis];
        cam.orbit(37, axis);
        cam.computeDistances();
        EXPECT_NEAR(cam.planeDistance[axis], before, kTol);
        EXPECT_FLOAT_EQ(cam.eye[axis], untouched);
    }
    expectPoint(cam.target, 0, 0, 0, 0);
}

TEST(CameraOrbit, VerticalOrbitTipsTheEyeOverTheTargetAlongTheHeading) {
    resetAppState();
    Camera& cam = app.camera;
    cam.setEye(0, 0, 20);
    cam.orbitVertical(-90, 1);  // from the front straight up
    expectPoint(cam.eye, 0, 20, 0, 1e-2f);
    cam.setEye(20, 0, 0);
    cam.orbitVertical(45, 1);  // from the side, a positive step goes down
    EXPECT_NEAR(cam.eye[1], -20 * std::sin(45 * degToRad), 1e-2f);
    EXPECT_NEAR(dist(cam.eye, cam.target), 20, kTol);
}

TEST(CameraFreeLook, TurnAndTiltSwingTheTargetAboutAFixedEye) {
    resetAppState();
    Camera& cam = app.camera;
    const float d0 = dist(cam.eye, cam.target);
    cam.turn(180, 1);  // look the other way: the target goes behind the eye
    expectPoint(cam.eye, 0, 5, 20);
    expectPoint(cam.target, 0, 0, 40);
    cam.tilt(-20, 1);
    expectPoint(cam.eye, 0, 5, 20);
    EXPECT_NEAR(dist(cam.eye, cam.target), d0, 1e-2f);
    EXPECT_NE(cam.target[1], 0);
}

TEST(CameraPan, StartCameraPansAlongXAndTowardsTheTarget) {
    struct Case { float delta; bool moveTarget; int angleOffset; float eye[3]; float target[3]; };
    const Case cases[] = {
        {2, false, 0, {-2, 5, 20}, {0, 0, 0}},
        {2, false, 180, {2, 5, 20}, {0, 0, 0}},
        {3, false, -90, {0, 5, 17}, {0, 0, 0}},  // only the eye: it closes in
        {3, true, -90, {0, 5, 17}, {0, 0, -3}},
        {-3, true, 0, {3, 5, 20}, {3, 0, 0}},
    };
    for (const Case& c : cases) {
        resetAppState();
        app.camera.pan(c.delta, c.moveTarget, c.angleOffset, 1);
        expectPoint(app.camera.eye, c.eye[0], c.eye[1], c.eye[2]);
        expectPoint(app.camera.target, c.target[0], c.target[1], c.target[2]);
    }
}

TEST(CameraPan, ShiftMovesOneAxisOfTheEyeAndOptionallyTheTarget) {
    resetAppState();
    Camera& cam = app.camera;
    cam.shift(4, false, 1);
    cam.shift(1, true, 0);
    expectPoint(cam.eye, 1, 9, 20, 0);
    expectPoint(cam.target, 1, 0, 0, 0);
}

TEST(CameraViewFrame, StartCameraTurnsAFullCircleAndPitchesDown) {
    resetAppState();
    float turnY, pitchX;
    app.camera.viewFrameAngles(turnY, pitchX);
    EXPECT_NEAR(turnY, 360, kTol);
    EXPECT_NEAR(pitchX, -14.04f, 0.01f);
    app.camera.setEye(0, -5, 20);  // below: pitched up by the same amount
    app.camera.viewFrameAngles(turnY, pitchX);
    EXPECT_NEAR(pitchX, 14.04f, 0.01f);
}

TEST(CameraViewFrame, LevelEyeHasNoPitch) {
    resetAppState();
    app.camera.setEye(7, 0, -3);
    float turnY, pitchX;
    app.camera.viewFrameAngles(turnY, pitchX);
    EXPECT_NEAR(pitchX, 0, kTol);
}

// Straight above or below the target the heading about y is 0/0. Nothing may
// turn into NaN there, and the last heading carries drags through.
TEST(CameraPole, EyeStraightAboveOrOnTheTargetStaysFinite) {
    resetAppState();
    Camera& cam = app.camera;
    cam.computeAngles();  // heading 270: looking down -z
    cam.setEye(0, 10, 0);
    cam.computeAngles();
    EXPECT_TRUE(allFinite(cam));
    EXPECT_NEAR(cam.angle[1], 270, kTol);  // kept from before
    cam.orbit(30, 1);                       // turning about the vertical does nothing
    expectPoint(cam.eye, 0, 10, 0);
    float turnY, pitchX;
    cam.viewFrameAngles(turnY, pitchX);
    EXPECT_NEAR(pitchX, -90, kTol);
    EXPECT_TRUE(std::isfinite(turnY));
    cam.orbitVertical(10, 1);  // tips over along the kept heading
    cam.orbitVertical(-10, 1);
    EXPECT_TRUE(allFinite(cam));
    expectPoint(cam.eye, 0, 10, 0, 1e-2f);
    cam.pan(1, false, 0, 1);
    cam.turn(5, 1);
    cam.tilt(5, 1);
    EXPECT_TRUE(allFinite(cam));

    cam.setEye(2, 2, 2);
    cam.setTarget(2, 2, 2);  // eye on the target: no direction at all
    cam.orbit(10, 0);
    cam.orbitVertical(10, 1);
    cam.viewFrameAngles(turnY, pitchX);
    EXPECT_TRUE(allFinite(cam));
    EXPECT_TRUE(std::isfinite(turnY) && std::isfinite(pitchX));
}

// Level with the target on the z line, the angle about z is 0/0 too.
TEST(CameraPole, LevelEyeOnTheZLineSurvivesAFlatVerticalOrbit) {
    for (float z : {20.0f, -20.0f}) {
        resetAppState();
        Camera& cam = app.camera;
        cam.setEye(0, 0, z);
        cam.orbitVertical(0, 1);
        EXPECT_TRUE(allFinite(cam));
        expectPoint(cam.eye, 0, 0, z);
    }
}

namespace {
void followSelected() { followPerson(app.camera, app.cameraMode, app.persons[app.selectedPerson].position); }
}  // namespace

TEST(CameraModes, ShiftModeClosesATenthOfTheWayEachFrame) {
    resetAppState();
    app.cameraMode = CAM_SHIFT_TOWARDS_PERSON;
    app.selectedPerson = 1;
    app.persons[1].setPosition(10, 0, -20);
    followSelected();
    expectPoint(app.camera.target, 1, 0, -2);
    followSelected();
    expectPoint(app.camera.target, 1.9f, 0, -3.8f);
    for (int i = 0; i < 98; i++) followSelected();
    const float left = std::pow(0.9f, 100);
    expectPoint(app.camera.target, 10 * (1 - left), 0, -20 * (1 - left));
}

TEST(CameraModes, FocusModeLocksOnWhateverWasDragged) {
    resetAppState();
    app.cameraMode = CAM_FOCUS_ON_PERSON;
    app.persons[0].setPosition(3, 1, 4);
    app.camera.turn(45, 1);
    followSelected();
    expectPoint(app.camera.target, 3, 1, 4, 0);
}

TEST(CameraModes, PointAndFreeModesLeaveTheTarget) {
    for (int mode : {CAM_FOCUS_ON_POINT, CAM_FREE}) {
        resetAppState();
        app.cameraMode = mode;
        app.persons[0].setPosition(3, 1, 4);
        app.camera.setTarget(-1, 2, -3);
        followSelected();
        expectPoint(app.camera.target, -1, 2, -3, 0);
    }
}

TEST(CameraModes, ShiftingByAFractionOfOneArrivesAndZeroStays) {
    Camera cam;
    const float p[3] = {4, 5, 6};
    cam.shiftTargetTowards(p, 0);
    expectPoint(cam.target, 0, 0, 0, 0);
    cam.shiftTargetTowards(p, 1);
    expectPoint(cam.target, 4, 5, 6, 0);
}

TEST(CameraAnimation, AnimatorsDriveOnlyWhatTheyHoldAndOnlyWhileOn) {
    resetAppState();
    Camera& cam = app.camera;
    cam.eyeAnim.setValue(0, 5, 20);
    cam.eyeAnim.setOrigin();
    cam.eyeAnim.pushKeyFrame(10, 5, 20, 0, 10);

    cam.advanceAnimators(app.playRate);  // off: nothing moves
    expectPoint(cam.eye, 0, 5, 20, 0);

    cam.setAnimationOn(true);
    cam.setTarget(1, 2, 3);
    app.playRate = 5;
    cam.advanceAnimators(app.playRate);
    EXPECT_GT(cam.eye[0], 0.5f);  // half way along the first keyframe
    EXPECT_LT(cam.eye[0], 9.5f);
    expectPoint(cam.target, 1, 2, 3, 0);  // no target keyframes: hand-set wins
    cam.advanceAnimators(app.playRate);
    expectPoint(cam.eye, 10, 5, 20);

    cam.setEye(-4, -4, -4);  // a drag is overridden on the next frame
    cam.advanceAnimators(app.playRate);
    expectPoint(cam.eye, 10, 5, 20);
}

TEST(CameraAnimation, EmptyAnimatorsChangeNothing) {
    resetAppState();
    Camera& cam = app.camera;
    cam.setAnimationOn(true);
    cam.setTarget(1, 2, 3);
    cam.advanceAnimators(app.playRate);
    cam.copyAnimatedValues();
    expectPoint(cam.eye, 0, 5, 20, 0);
    expectPoint(cam.target, 1, 2, 3, 0);
}

// A figure on keyframes near the float limits once sent the following
// camera's target and angles to NaN for good. The camera now refuses any
// step that would leave it non-finite, and follows again once the figure
// comes back.
TEST(CameraFinite, FollowingAFigureOnHugeKeyframesKeepsTheLastFiniteState) {
    for (int mode : {CAM_SHIFT_TOWARDS_PERSON, CAM_FOCUS_ON_PERSON}) {
        resetAppState();
        app.cameraMode = mode;
        Person& p = app.persons[0];
        p.clearAllKeyFrames();
        for (int i = 0; i < 4; i++) {
            const float big = i % 2 ? -3e38f : 3e38f;
            p.kfaPos.pushKeyFrame(big, big, -big, ABS, 3);
        }
        p.setCycle(true);
        Camera& cam = app.camera;
        for (int frame = 0; frame < 300; frame++) {
            p.stepAnimationBy(app.playRate);
            followSelected();
            cam.orbit(1, 1);
            cam.computeAngles();
            cam.computeDistances();
            ASSERT_TRUE(allFinite(cam)) << "frame " << frame;
        }
        float turnY, pitchX;
        cam.viewFrameAngles(turnY, pitchX);
        EXPECT_TRUE(std::isfinite(turnY) && std::isfinite(pitchX));

        p.clearAllKeyFrames();
        p.setPosition(1, 2, 3);
        for (int frame = 0; frame < 200; frame++) followSelected();
        expectPoint(cam.target, 1, 2, 3, 1e-2f);
    }
}

TEST(CameraFinite, EveryMovementThatWouldOverflowIsUndone) {
    resetAppState();
    Camera& cam = app.camera;
    cam.setTarget(1, 2, 3);
    const Camera before = cam;
    const float nan = std::nanf(""), far[3] = {3e38f, 3e38f, 3e38f};
    cam.setEye(nan, 0, 0);
    cam.setTarget(-3e38f, 0, 3e38f);  // finite, but its distance to the eye is not
    cam.shiftTargetTowards(far, 1);
    cam.orbit(INFINITY, 0);
    cam.turn(nan, 1);
    cam.orbitVertical(nan, 1);
    cam.tilt(INFINITY, 2);
    cam.shift(3e38f, false, 0);
    cam.pan(nan, true, 0, 2);
    cam.eyeAnim.pushKeyFrame(3e38f, 3e38f, 3e38f, 0, 10);
    cam.eyeAnim.jumpToKeyFrame(0);
    cam.copyAnimatedValues();
    expectPoint(cam.eye, before.eye[0], before.eye[1], before.eye[2], 0);
    expectPoint(cam.target, 1, 2, 3, 0);
    EXPECT_TRUE(allFinite(cam));
}

TEST(CameraZoom, WheelMovesTheEyeAlongItsLineAndNeverPastTheLimits) {
    Camera c;
    c.setEye(3, 7, 12);
    c.setTarget(1, 1, 0);
    const float start = dist(c.eye, c.target);
    c.zoom(+1);
    EXPECT_NEAR(dist(c.eye, c.target), start * 0.9f, kTol);
    // Still on the line from the target through the first eye, same side.
    const float k = dist(c.eye, c.target) / start;
    expectPoint(c.eye, 1 + 2 * k, 1 + 6 * k, 0 + 12 * k);
    c.zoom(-1);
    EXPECT_NEAR(dist(c.eye, c.target), start, kTol);

    // However far it is wheeled in, the eye stops short of the target.
    c.zoom(500);
    EXPECT_NEAR(dist(c.eye, c.target), ZOOM_MIN_DISTANCE, kTol);
    EXPECT_GT(c.eye[2], c.target[2]);
    c.zoom(-5000);
    EXPECT_NEAR(dist(c.eye, c.target), ZOOM_MAX_DISTANCE, 0.5f);

    // An eye already closer than the limit is not pushed out by zooming in,
    // and an eye on the target has no line to move along.
    c.setEye(1, 1, 1);
    c.zoom(+3);
    expectPoint(c.eye, 1, 1, 1);
    c.setEye(1, 1, 0);
    c.zoom(+1);
    c.zoom(-1);
    EXPECT_TRUE(allFinite(c));
    expectPoint(c.eye, 1, 1, 0);
}
