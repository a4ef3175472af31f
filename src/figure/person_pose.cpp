// person_pose.cpp - part matrices, the per-frame animation step, posing at a
// keyframe or time, and the hand-posing operations.
//
// A part's matrix relative to its parent is T x Rx x Ry x Rz, composed in
// float arithmetic exactly as glTranslatef and glRotatef would compose it,
// column-major as glMultMatrixf takes it. No GL is needed.
#include <cmath>

#include "app/app_state.h"
#include "app/platform.h"
#include "figure/person.h"

namespace {

// out = a x b for column-major 4x4 matrices.
void multiply(const float a[16], const float b[16], float out[16]) {
    float r[16];
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 4; row++) {
            float sum = 0;
            for (int k = 0; k < 4; k++) sum += a[k * 4 + row] * b[col * 4 + k];
            r[col * 4 + row] = sum;
        }
    for (int i = 0; i < 16; i++) out[i] = r[i];
}

// Right-handed rotation by `degrees` about a unit axis, as glRotatef builds it.
void rotationMatrix(float degrees, int axis, float m[16]) {
    const double rad = degrees * M_PI / 180.0;
    const float s = static_cast<float>(std::sin(rad));
    const float c = static_cast<float>(std::cos(rad));
    for (int i = 0; i < 16; i++) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    const int a = (axis + 1) % 3, b = (axis + 2) % 3;  // the two turning axes
    m[a * 4 + a] = c;
    m[b * 4 + b] = c;
    m[a * 4 + b] = s;   // column a, row b
    m[b * 4 + a] = -s;  // column b, row a
}

}  // namespace

// ------------------------------------------------------------ matrices

void Person::computePartTransform(int i) {
    const float* t = (i == 0) ? position : part[i].jointOffset;
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, t[0], t[1], t[2], 1};
    float r[16];
    for (int axis = 0; axis < 3; axis++) {
        rotationMatrix(part[i].rotation[axis], axis, r);
        multiply(m, r, m);
    }
    for (int k = 0; k < 16; k++) part[i].transform[k] = m[k];
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

void Person::stepAnimation() {
    if (!animating) return;
    kfaPos.advance(app.playRate);
    applyPositionAnimator();
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        part[i].kfa.advance(app.playRate);
        part[i].applyAnimator();
        updateTransform(i);
    }
}

void Person::poseAtKeyFrame(int j) {
    kfaPos.jumpToKeyFrame(j);
    applyPositionAnimator();
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        part[i].kfa.jumpToKeyFrame(j);
        part[i].applyAnimator();
        updateTransform(i);
    }
}

void Person::poseAtTime(float t) {
    kfaPos.seek(t);
    applyPositionAnimator();
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        part[i].kfa.seek(t);
        part[i].applyAnimator();
        updateTransform(i);
    }
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
