// checks.h - what every fuzz target asserts: a failed check traps, so
// libFuzzer keeps the input; and the invariants of any animator a reader made.
#pragma once

#include "anim/keyframe_animation.h"

inline void check(bool ok) {
    if (!ok) __builtin_trap();
}

// A queue within capacity whose every keyframe has a usable length.
inline void checkQueue(const KeyFrameAnimation& a) {
    check(a.numKeyFrames >= 0 && a.numKeyFrames <= KEYFRAME_CAPACITY);
    for (int i = 0; i < a.numKeyFrames; i++) check(a.keyFrames[i].steps >= 2);
}
