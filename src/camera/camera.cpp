// camera.cpp - the camera's GL-free maths: placement, animators, the working
// angles and distances, and the movements mouse drags are made of.
//
// Every movement first derives, from eye - target, one angle per world axis:
// the direction of the offset projected onto the plane normal to that axis.
// Plane pairs (first, second coordinate): x -> (z, y), y -> (x, z),
// z -> (x, y); the offset in that plane is
//   planeDistance * (cos(-angle), sin(-angle)).
// Where the offset has no extent in a plane (eye straight above the target,
// say) the plane has no direction; the angle for it keeps its last value so
// drags through that point continue smoothly instead of turning into NaN.
//
// The camera never holds a value that is not finite: every operation that
// moves it is undone when it would leave a point, an angle or the distance
// between eye and target infinite or NaN (a target sent to 3e38, say), so
// the camera keeps its last finite state and the view never turns blank.
//
// Sections (search "[SECTION]"):
//   Finite guard
//   Placement
//   Animators
//   Working values
//   Movements
//   Camera modes
#include "camera/camera.h"

#include <algorithm>
#include <cmath>

#include "base/angles.h"


namespace {

// The coordinate pair spanning the plane normal to each axis.
constexpr int planeAxes[3][2] = {{2, 1}, {0, 2}, {0, 1}};

// The pair of other axes a movement on each axis is shared out to: the
// vertical orbit/tilt turns about these, and pan moves along them.
constexpr int crossAxes[3][2] = {{1, 2}, {2, 0}, {1, 0}};

// Direction of (a, b) as atan(a / b) - 90 (+180 when b < 0), or false when
// both are zero and no direction exists.
bool planeAngle(float a, float b, float& out) {
    if (a == 0 && b == 0) return false;
    if (b == 0) b = 0.0f;  // a -0 denominator would point the angle backwards
    float deg = std::atan(a / b) * radToDeg - 90;
    if (b < 0) deg += 180;
    out = deg;
    return true;
}

// [SECTION] Finite guard

bool finite3(const float v[3]) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

// Finite points and angles, and an offset whose length squared fits a float
// (the working distances square its components).
bool isFiniteCamera(const Camera& c) {
    if (!finite3(c.eye) || !finite3(c.target) || !finite3(c.angle)) return false;
    float lengthSquared = 0;
    for (int i = 0; i < 3; i++) {
        const float o = c.eye[i] - c.target[i];
        lengthSquared += o * o;
    }
    return std::isfinite(lengthSquared);
}

// Restores eye, target and angles on leaving scope if the camera is no
// longer finite; the working values are rebuilt from them.
class KeepFinite {
public:
    explicit KeepFinite(Camera& c) : cam(c) {
        for (int i = 0; i < 3; i++) {
            eye[i] = c.eye[i];
            target[i] = c.target[i];
            angle[i] = c.angle[i];
        }
    }
    KeepFinite(const KeepFinite&) = delete;
    KeepFinite& operator=(const KeepFinite&) = delete;
    ~KeepFinite() {
        if (isFiniteCamera(cam)) return;
        for (int i = 0; i < 3; i++) {
            cam.eye[i] = eye[i];
            cam.target[i] = target[i];
            cam.angle[i] = angle[i];
        }
        cam.computeDistances();
    }

private:
    Camera& cam;
    float eye[3], target[3], angle[3];
};

}  // namespace

// [SECTION] Placement

void Camera::setEye(float x, float y, float z) {
    KeepFinite keep(*this);
    eye[0] = x; eye[1] = y; eye[2] = z;
}

void Camera::setTarget(float x, float y, float z) {
    KeepFinite keep(*this);
    target[0] = x; target[1] = y; target[2] = z;
}

void Camera::setTarget(const float point[3]) { setTarget(point[0], point[1], point[2]); }

void Camera::shiftTargetTowards(const float point[3], float fraction) {
    KeepFinite keep(*this);
    for (int i = 0; i < 3; i++) target[i] += (point[i] - target[i]) * fraction;
}

// [SECTION] Animators

void Camera::advanceAnimators(float playRate) {
    if (!animationOn) return;
    if (eyeAnim.numKeyFrames > 0) eyeAnim.advance(playRate);
    if (targetAnim.numKeyFrames > 0) targetAnim.advance(playRate);
    copyAnimatedValues();
}

// An empty animator leaves its point to the hand-set value.
void Camera::copyAnimatedValues() {
    KeepFinite keep(*this);
    if (eyeAnim.numKeyFrames > 0)
        for (int i = 0; i < 3; i++) eye[i] = eyeAnim.value[i];
    if (targetAnim.numKeyFrames > 0)
        for (int i = 0; i < 3; i++) target[i] = targetAnim.value[i];
}

// [SECTION] Working values

void Camera::computeAngles() {
    KeepFinite keep(*this);
    for (int i = 0; i < 3; i++) offset[i] = eye[i] - target[i];
    for (int axis = 0; axis < 3; axis++) {
        planeAngle(offset[planeAxes[axis][0]], offset[planeAxes[axis][1]], angle[axis]);
        wrapAngle(angle[axis]);
    }
}

// Into 0..360; both ends stay as they are.
void Camera::wrapAngle(float& a) {
    const float n = std::trunc(a / 360.0f);
    if (a > 360)
        a -= 360 * n;
    else if (a < 0)
        a = a - 360 * n + 360;
}

void Camera::computeDistances() {
    for (int i = 0; i < 3; i++) offset[i] = eye[i] - target[i];
    for (int axis = 0; axis < 3; axis++) {
        const float a = offset[planeAxes[axis][0]], b = offset[planeAxes[axis][1]];
        planeDistance[axis] = std::sqrt(a * a + b * b);
    }
    distance = std::sqrt(planeDistance[0] * planeDistance[0] + offset[0] * offset[0]);
}

void Camera::viewFrameAngles(float& turnY, float& pitchX) {
    computeAngles();
    computeDistances();
    const float h = planeDistance[1];
    float v = eye[1] - target[1];
    if (v == 0) v = 1e-19f;
    pitchX = std::atan(h / v) * radToDeg - 90;
    if (v < 0) pitchX += 180;
    turnY = angle[1] + 90;
}

// [SECTION] Movements

// Moves the eye about the target; the distance in the axis's plane stays.
void Camera::orbit(float delta, int axis) {
    KeepFinite keep(*this);
    computeAngles();
    computeDistances();
    angle[axis] += delta;
    wrapAngle(angle[axis]);
    const float r = -angle[axis] * degToRad;
    const int a = planeAxes[axis][0], b = planeAxes[axis][1];
    eye[a] = target[a] + std::cos(r) * planeDistance[axis];
    eye[b] = target[b] + std::sin(r) * planeDistance[axis];
}

// Tips the eye towards or away from the axis, sharing the turn between the
// two other axes by the current angle about this one.
void Camera::orbitVertical(float delta, int axis) {
    KeepFinite keep(*this);
    computeAngles();
    const float r = -angle[axis] * degToRad;
    const float c = std::cos(r), s = std::sin(r);
    orbit(delta * c, crossAxes[axis][0]);
    orbit(delta * s, crossAxes[axis][1]);
}

// Moves the target about the eye (free look).
void Camera::turn(float delta, int axis) {
    KeepFinite keep(*this);
    computeAngles();
    computeDistances();
    angle[axis] += delta;
    const float r = -angle[axis] * degToRad;
    const int a = planeAxes[axis][0], b = planeAxes[axis][1];
    target[a] = eye[a] - std::cos(r) * planeDistance[axis];
    target[b] = eye[b] - std::sin(r) * planeDistance[axis];
}

void Camera::tilt(float delta, int axis) {
    KeepFinite keep(*this);
    computeAngles();
    const float r = -angle[axis] * degToRad;
    const float c = std::cos(r), s = std::sin(r);
    turn(delta * c, crossAxes[axis][0]);
    turn(delta * s, crossAxes[axis][1]);
}

void Camera::shift(float delta, bool moveTarget, int axis) {
    KeepFinite keep(*this);
    eye[axis] += delta;
    if (moveTarget) target[axis] += delta;
}

// Moves along the heading angle[axis] + angleOffset in the axis's plane.
void Camera::pan(float delta, bool moveTarget, int angleOffset, int axis) {
    KeepFinite keep(*this);
    computeAngles();
    const float r = (angleOffset + angle[axis]) * degToRad;
    const float c = std::cos(r) * delta, s = std::sin(r) * delta;
    const int a = crossAxes[axis][0], b = crossAxes[axis][1];
    eye[a] += c;
    eye[b] += s;
    if (moveTarget) {
        target[a] += c;
        target[b] += s;
    }
}

// Scales the eye's offset from the target; an eye on the target has no line
// to move along and stays.
void Camera::zoom(int notches) {
    computeDistances();
    if (distance == 0 || notches == 0) return;
    float wanted = distance * std::pow(1 - ZOOM_STEP, static_cast<float>(notches));
    if (wanted < ZOOM_MIN_DISTANCE) wanted = std::min(distance, ZOOM_MIN_DISTANCE);
    if (wanted > ZOOM_MAX_DISTANCE) wanted = std::max(distance, ZOOM_MAX_DISTANCE);
    const float k = wanted / distance;
    for (int i = 0; i < 3; i++) eye[i] = target[i] + offset[i] * k;
}

// [SECTION] Camera modes

void followPerson(Camera& camera, int mode, const float position[3]) {
    switch (mode) {
        case CAM_SHIFT_TOWARDS_PERSON: camera.shiftTargetTowards(position, 0.1f); break;
        case CAM_FOCUS_ON_PERSON: camera.setTarget(position); break;
        default: break;  // the point stays, or free look owns the target
    }
}
