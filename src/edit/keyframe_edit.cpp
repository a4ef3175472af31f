// keyframe_edit.cpp - keyframe edits applied across a figure's 21 animators.
//
// The animator keeps its records inline; an edit shifts records within the
// live part of the queue and marks the times for recomputation. Records past
// the live count are left as they are, as clearing leaves them.
#include "edit/keyframe_edit.h"

#include <algorithm>

#include "figure/person.h"

namespace {

// Calls fn(animator, current value of what it drives) for all 21 animators.
template <typename Fn>
void forEachAnimator(Person& p, Fn fn) {
    fn(p.kfaPos, p.position);
    for (int i = 0; i < BODY_PART_COUNT; i++) fn(p.part[i].kfa, p.part[i].rotation);
}

KeyFrame poseKeyFrame(const float* v, float steps) {
    KeyFrame k;
    k.x = v[0]; k.y = v[1]; k.z = v[2];
    k.mode = ABS;
    k.steps = steps;
    return k;
}

// After the queue shrank, the index must stay inside it for the next seek.
void keepIndexInQueue(KeyFrameAnimation& a) {
    if (a.currentIndex >= a.numKeyFrames) a.currentIndex = std::max(0, a.numKeyFrames - 1);
}

}  // namespace

// ------------------------------------------------------------ where it stands

const KeyFrameAnimation& referenceAnimator(const Person& p) {
    const KeyFrameAnimation* best = &p.kfaPos;
    for (int i = 0; i < BODY_PART_COUNT; i++)
        if (p.part[i].kfa.numKeyFrames > best->numKeyFrames) best = &p.part[i].kfa;
    return *best;
}

int keyFrameCount(const Person& p) { return referenceAnimator(p).numKeyFrames; }

int currentKeyFrame(const Person& p) {
    const KeyFrameAnimation& a = referenceAnimator(p);
    if (a.numKeyFrames == 0) return -1;
    return std::clamp(a.currentIndex, 0, a.numKeyFrames - 1);
}

float keyFrameStart(const Person& p, int j) {
    const KeyFrameAnimation& a = referenceAnimator(p);
    float t = 0;
    for (int i = 0; i < j && i < a.numKeyFrames; i++) t += a.keyFrames[i].steps;
    return t;
}

float animationLength(const Person& p) { return keyFrameStart(p, keyFrameCount(p)); }

// ------------------------------------------------------------ edits

void goToKeyFrame(Person& p, int j) {
    p.setAnimate(false);
    const int n = keyFrameCount(p);
    if (n == 0) return;
    p.poseAtKeyFrame(std::clamp(j, 0, n - 1));
}

bool replaceKeyFrame(Person& p) {
    const int j = currentKeyFrame(p);
    if (j < 0) return false;
    // Targets only: the length and the times stay as they are.
    forEachAnimator(p, [j](KeyFrameAnimation& a, const float* v) {
        if (a.numKeyFrames <= j) return;
        KeyFrame& k = a.keyFrames[j];
        k.x = v[0]; k.y = v[1]; k.z = v[2];
        k.mode = ABS;
    });
    goToKeyFrame(p, j);
    return true;
}

bool insertKeyFrame(Person& p, int steps) {
    const int j = currentKeyFrame(p);
    if (j < 0) {
        p.pushPoseKeyFrame(static_cast<float>(steps));
        goToKeyFrame(p, 0);
        return true;
    }
    bool full = false;
    forEachAnimator(p, [&](KeyFrameAnimation& a, const float*) {
        if (a.numKeyFrames > j && a.numKeyFrames >= KEYFRAME_CAPACITY) full = true;
    });
    if (full) return false;
    forEachAnimator(p, [j, steps](KeyFrameAnimation& a, const float* v) {
        if (a.numKeyFrames <= j) return;
        std::copy_backward(a.keyFrames + j + 1, a.keyFrames + a.numKeyFrames,
                           a.keyFrames + a.numKeyFrames + 1);
        a.keyFrames[j + 1] = poseKeyFrame(v, steps);
        a.numKeyFrames++;
        a.timesValid = false;
    });
    goToKeyFrame(p, j + 1);
    return true;
}

bool deleteKeyFrame(Person& p) {
    const int j = currentKeyFrame(p);
    if (j < 0) return false;
    forEachAnimator(p, [j](KeyFrameAnimation& a, const float*) {
        if (a.numKeyFrames <= j) return;
        std::copy(a.keyFrames + j + 1, a.keyFrames + a.numKeyFrames, a.keyFrames + j);
        a.numKeyFrames--;
        a.timesValid = false;
        keepIndexInQueue(a);
    });
    goToKeyFrame(p, j - 1);
    return true;
}

bool changeKeyFrameLength(Person& p, int delta) {
    const int j = currentKeyFrame(p);
    if (j < 0) return false;
    forEachAnimator(p, [j, delta](KeyFrameAnimation& a, const float*) {
        if (a.numKeyFrames <= j) return;
        float& steps = a.keyFrames[j].steps;
        steps = std::max(static_cast<float>(SHORTEST_KEYFRAME_STEPS), steps + static_cast<float>(delta));
        a.timesValid = false;
    });
    goToKeyFrame(p, j);
    return true;
}

void scrubTo(Person& p, float t) {
    p.setAnimate(false);
    if (keyFrameCount(p) == 0) return;
    p.poseAtTime(std::clamp(t, 0.0f, animationLength(p)));
}
