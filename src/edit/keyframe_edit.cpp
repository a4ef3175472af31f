// keyframe_edit.cpp - keyframe edits applied across a figure's 21 animators.
//
// The animator keeps its records inline; an edit shifts records within the
// live part of the queue and marks the times for recomputation. Records past
// the live count are left as they are, as clearing leaves them.
#include "edit/keyframe_edit.h"

#include <algorithm>
#include <cmath>

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
    k.kind = KIND_SMOOTH;  // recorded in the window
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

// By time, not by the animator's segment index: at a keyframe's own time
// the animator has already moved on to the next segment, but what shows is
// this keyframe.
int currentKeyFrame(const Person& p) {
    const KeyFrameAnimation& a = referenceAnimator(p);
    return keyFrameAtTime(a, a.currentTime);
}

int keyFrameAtTime(const KeyFrameAnimation& a, float t) {
    if (a.numKeyFrames == 0) return -1;
    float end = 0;
    for (int j = 0; j < a.numKeyFrames; j++) {
        end += a.keyFrames[j].steps;
        if (t <= end) return j;
    }
    return a.numKeyFrames - 1;
}

float keyFrameEnd(const KeyFrameAnimation& a, int j) {
    float end = 0;
    for (int i = 0; i <= j && i < a.numKeyFrames; i++) end += a.keyFrames[i].steps;
    return end;
}

bool finishedPlaying(const Person& p) {
    const KeyFrameAnimation& a = referenceAnimator(p);
    return a.numKeyFrames > 0 && !a.cycle && a.currentTime >= keyFrameEnd(a, a.numKeyFrames - 1);
}

KeyFrameAnimation& figureAnimator(Person& p, int which) {
    return (which >= 0 && which < BODY_PART_COUNT) ? p.part[which].kfa : p.kfaPos;
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
        // A pose recorded in the window is smooth; a kind chosen with Ctrl+T stays.
        if (k.kind == KIND_SPLINE) k.kind = KIND_SMOOTH;
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
        a.insertRecord(j + 1, poseKeyFrame(v, steps));
    });
    goToKeyFrame(p, j + 1);
    return true;
}

bool deleteKeyFrame(Person& p) {
    const int j = currentKeyFrame(p);
    if (j < 0) return false;
    forEachAnimator(p, [j](KeyFrameAnimation& a, const float*) {
        if (a.numKeyFrames <= j) return;
        a.removeRecord(j);
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

// ------------------------------------------------------------ kinds

int currentKeyFrameKind(const Person& p) {
    const int j = currentKeyFrame(p);
    return j < 0 ? -1 : referenceAnimator(p).keyFrames[j].kind;
}

bool cycleKeyFrameKind(Person& p) {
    const int j = currentKeyFrame(p);
    if (j < 0) return false;
    p.setKeyFrameKind(j, (currentKeyFrameKind(p) + 1) % KIND_COUNT);
    goToKeyFrame(p, j);
    return true;
}

bool applyKindToAllKeyFrames(Person& p) {
    const int kind = currentKeyFrameKind(p);
    if (kind < 0) return false;
    const int j = currentKeyFrame(p);
    forEachAnimator(p, [kind](KeyFrameAnimation& a, const float*) {
        for (int i = 0; i < a.numKeyFrames; i++) a.keyFrames[i].kind = kind;
    });
    goToKeyFrame(p, j);
    return true;
}

// ------------------------------------------------------------ one part

namespace {

void removeKeepingIndex(KeyFrameAnimation& a, int at) {
    a.removeRecord(at);
    keepIndexInQueue(a);
}

}  // namespace

PartKeyResult recordPartKeyFrame(Person& p, int part) {
    KeyFrameAnimation& a = p.part[part].kfa;
    // Whole steps: the animator's lengths are whole numbers.
    const float t = std::round(referenceAnimator(p).currentTime);
    const float* v = p.part[part].rotation;
    const float shortest = SHORTEST_KEYFRAME_STEPS;
    float start = 0;
    for (int j = 0; j < a.numKeyFrames; j++) {
        const float end = start + a.keyFrames[j].steps;
        if (t == end) {
            KeyFrame& k = a.keyFrames[j];
            k.x = v[0]; k.y = v[1]; k.z = v[2];
            k.mode = ABS;
            return PartKeyResult::Replaced;
        }
        if (t < end) {
            if (t - start < shortest || end - t < shortest) return PartKeyResult::TooClose;
            if (a.numKeyFrames >= KEYFRAME_CAPACITY) return PartKeyResult::Full;
            a.keyFrames[j].steps = end - t;
            a.insertRecord(j, poseKeyFrame(v, t - start));
            return PartKeyResult::Split;
        }
        start = end;
    }
    if (t - start < shortest) return PartKeyResult::TooClose;
    if (a.numKeyFrames >= KEYFRAME_CAPACITY) return PartKeyResult::Full;
    a.insertRecord(a.numKeyFrames, poseKeyFrame(v, t - start));
    return PartKeyResult::Appended;
}

// ------------------------------------------------------------ retiming

bool moveKeyFrameTo(Person& p, int which, int j, float end, bool moveLater) {
    bool moved = false;
    auto move = [&](KeyFrameAnimation& a, const float*) {
        if (j < 0 || j >= a.numKeyFrames) return;
        const float shortest = SHORTEST_KEYFRAME_STEPS;
        const float start = keyFrameEnd(a, j - 1);
        float steps = std::max(shortest, std::round(end - start));
        const bool last = j + 1 >= a.numKeyFrames;
        if (!moveLater && !last) {
            // The next segment takes up the difference, down to its shortest.
            const float both = a.keyFrames[j].steps + a.keyFrames[j + 1].steps;
            steps = std::min(steps, both - shortest);
            if (steps < shortest) return;
            a.keyFrames[j + 1].steps = both - steps;
        }
        if (steps == a.keyFrames[j].steps) return;
        a.keyFrames[j].steps = steps;
        a.timesValid = false;
        moved = true;
    };
    if (which == FIGURE_ROW) forEachAnimator(p, move);
    else move(figureAnimator(p, which), nullptr);
    return moved;
}

bool removeKeyFrameKeepingTimes(Person& p, int which, int j) {
    bool removed = false;
    auto remove = [&](KeyFrameAnimation& a, const float*) {
        if (j < 0 || j >= a.numKeyFrames) return;
        if (j + 1 < a.numKeyFrames) a.keyFrames[j + 1].steps += a.keyFrames[j].steps;
        removeKeepingIndex(a, j);
        removed = true;
    };
    if (which == FIGURE_ROW) forEachAnimator(p, remove);
    else remove(figureAnimator(p, which), nullptr);
    return removed;
}
