// person_pose.cpp - part matrices, the per-frame animation step, posing at a
// keyframe or time, and the hand-posing operations.
//
// A part's matrix relative to its parent is T x Rx x Ry x Rz, in float
// arithmetic, column-major as glMultMatrixf takes it; a GL-tier test holds it
// against glTranslatef and glRotatef. No GL is needed here.
#include <cmath>

#include "base/angles.h"
#include "base/platform.h"
#include "figure/person.h"

namespace {

// Sine and cosine of an angle in degrees; exact for the common 0.
inline void sinCos(float degrees, float& s, float& c) {
    if (degrees == 0) { s = 0; c = 1; return; }
    const float rad = degrees * static_cast<float>(M_PI / 180.0);
    s = std::sin(rad);
    c = std::cos(rad);
}

}  // namespace

// ------------------------------------------------------------ matrices

// Closed form of T x Rx x Ry x Rz: the same products glRotatef would form,
// without 4x4 multiplications (this runs 900 times a frame with 45 persons).
void Person::computePartTransform(int i) {
    const float* t = (i == 0) ? position : part[i].jointOffset;
    const float* r = part[i].rotation;
    float sx, cx, sy, cy, sz, cz;
    sinCos(r[0], sx, cx);
    sinCos(r[1], sy, cy);
    sinCos(r[2], sz, cz);
    float* m = part[i].transform;
    m[0] = cy * cz;
    m[1] = sx * sy * cz + cx * sz;
    m[2] = -cx * sy * cz + sx * sz;
    m[3] = 0;
    m[4] = -cy * sz;
    m[5] = -sx * sy * sz + cx * cz;
    m[6] = cx * sy * sz + sx * cz;
    m[7] = 0;
    m[8] = sy;
    m[9] = -sx * cy;
    m[10] = cx * cy;
    m[11] = 0;
    m[12] = t[0];
    m[13] = t[1];
    m[14] = t[2];
    m[15] = 1;
}

void Person::updateTransform(int i) {
    computePartTransform(i);
    platform::requestRedisplay();
}

// ------------------------------------------------------------ animators

void BodyPart::applyAnimator() {
    if (kfa.numKeyFrames == 0) return;
    rotation[0] = kfa.value[0];
    rotation[1] = kfa.value[1];
    rotation[2] = kfa.value[2];
}

void Person::applyPositionAnimator() {
    if (kfaPos.numKeyFrames == 0) return;
    position[0] = kfaPos.value[0];
    position[1] = kfaPos.value[1];
    position[2] = kfaPos.value[2];
}

namespace {

// Moves the position animator and the 20 part animators with `op`, then
// hands their values to the pose and refreshes the part matrices.
template <typename Op>
void driveAnimators(Person& p, Op op) {
    op(p.kfaPos);
    p.applyPositionAnimator();
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        op(p.part[i].kfa);
        p.part[i].applyAnimator();
        p.updateTransform(i);
    }
}

}  // namespace


void Person::stepAnimationBy(float dt) {
    if (!animating) return;
    driveAnimators(*this, [dt](KeyFrameAnimation& a) { a.advance(dt); });
}

void Person::poseAtKeyFrame(int j) {
    driveAnimators(*this, [j](KeyFrameAnimation& a) { a.jumpToKeyFrame(j); });
}

void Person::poseAtTime(float t) {
    driveAnimators(*this, [t](KeyFrameAnimation& a) { a.seek(t); });
}

// ------------------------------------------------------------ posing

// Wraps beyond +-360 first, then clamps to the joint limits. Does not re-seed
// the animator: an animated part takes its animated angle back next frame.
void BodyPart::addRotation(float delta, int axis) {
    float& r = rotation[axis];
    r += delta;
    if (r > 360 || r < -360) r -= 360.0f * static_cast<float>(static_cast<int>(r / 360.0f));
    if (limitsOn) {
        if (r < minRotation[axis]) r = minRotation[axis];
        if (r > maxRotation[axis]) r = maxRotation[axis];
    }
}

void Person::rotateSelectedPart(int degrees, int axis) {
    part[selectedPart].addRotation(static_cast<float>(degrees), axis);
    updateTransform(selectedPart);
}

void Person::turnFigure(float degrees, int axis) {
    part[0].addRotation(degrees, axis);
    updateTransform(0);
}

void Person::moveForward(float distance, int axis) { moveAlongHeading(distance, 0, axis); }

// Heading h is the root's angle about the axis; a figure at h = 0 faces +z.
void Person::moveAlongHeading(float distance, float angleOffset, int axis) {
    const float h = part[0].rotation[axis];
    const float a = (angleOffset - h + 90) * degToRad;
    const float c = distance * std::cos(a);
    const float s = distance * std::sin(a);
    switch (axis) {
        case 0: movePosition(c, 2); movePosition(s, 1); break;
        case 1: movePosition(c, 0); movePosition(s, 2); break;
        default: movePosition(c, 0); movePosition(s, 1); break;
    }
}

void Person::movePosition(float delta, int axis) {
    position[axis] += delta;
    updateTransform(0);
}
