// camera.h - the one camera: an eye looking at a target, +y up.
//
// All movement works on angles of the eye-to-target offset about the three
// world axes (degrees; axes 0 = x, 1 = y, 2 = z). The maths is GL-free; only
// apply() and applyViewFrame() touch GL (camera_gl.cpp). Two keyframe
// animators can drive eye and target along tours while animationOn is set.
#pragma once

#include "anim/keyframe_animation.h"

enum CameraMode {
    CAM_FOCUS_ON_POINT = 0,
    CAM_SHIFT_TOWARDS_PERSON = 1,
    CAM_FOCUS_ON_PERSON = 2,
    CAM_FREE = 3,
    CAMERA_MODE_COUNT = 4
};

// Zoom: each wheel notch covers this fraction of the distance; the eye stays
// beyond the near plane's reach of the target and inside the far plane.
constexpr float ZOOM_STEP = 0.1f;
constexpr float ZOOM_MIN_DISTANCE = 2.0f;
constexpr float ZOOM_MAX_DISTANCE = 1000.0f;

class Camera {
public:
    float eye[3] = {0, 5, 20};
    float target[3] = {0, 0, 0};
    float angle[3] = {0, 0, 0};
    KeyFrameAnimation eyeAnim;
    KeyFrameAnimation targetAnim;
    float offset[3] = {0, 0, 0};
    float planeDistance[3] = {0, 0, 0};
    float distance = 0;
    bool animationOn = false;

    void setEye(float x, float y, float z);
    void setTarget(float x, float y, float z);
    void setTarget(const float point[3]);
    void shiftTargetTowards(const float point[3], float fraction);
    void setAnimationOn(bool on) { animationOn = on; }

    void advanceAnimators(float playRate);
    void copyAnimatedValues();

    void computeAngles();
    void computeDistances();
    static void wrapAngle(float& a);

    void orbit(float delta, int axis);
    void orbitVertical(float delta, int axis);
    void turn(float delta, int axis);
    void tilt(float delta, int axis);
    void shift(float delta, bool moveTarget, int axis);
    void pan(float delta, bool moveTarget, int angleOffset, int axis);
    // Moves the eye along its line to the target by `notches` wheel steps
    // (positive closer), keeping between the two zoom distances above.
    void zoom(int notches);

    // The turn about y and the pitch about x that applyViewFrame applies
    // after moving to the eye (GL-free, so it can be checked without a window).
    void viewFrameAngles(float& turnY, float& pitchX);

    // GL (camera_gl.cpp).
    void apply(float playRate);
    void applyViewFrame();
};

// The camera mode's per-frame target change: mode 1 closes 10% of the way to
// the person at `position`, mode 2 locks on to it, modes 0 and 3 leave the
// target. The display pass calls it for the selected person before apply()
// when the view is not orthographic.
void followPerson(Camera& camera, int mode, const float position[3]);
