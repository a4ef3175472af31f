// keyframe_reduction.h - a retargeted clip as few keyframes as it needs.
//
// The clip is sampled at the animators' time steps (25 a second). Keyframes
// start at the first and last step, with a guard keyframe two steps beyond
// each end that continues the motion (so the clip's ends are shaped by the
// clip and not by the glide in from the present pose or the loop back); the
// step where the played figure strays furthest from the recording gets the
// next one, until no part's axes are more than the tolerance off (and the
// figure no more than a twentieth of a unit) or the animators are full.
// Every animator gets its keyframes at the same steps, so the figure's
// timeline and keyframe commands work.
//
// The keyframes are `smooth` (a monotone cubic: no overshoot past a held
// pose or a turning point). The error is not estimated from a model of that
// curve: the candidate keyframes are loaded into a figure's own animators,
// exactly as the import loads them, and measured on what those play through
// the figure's own matrices. GL-free.
#pragma once

#include <vector>

#include "anim/keyframe_animation.h"
#include "mocap/retarget.h"

// Degrees a part's axes may stray between keyframes: below the degree that
// a re-imported export must hold, above what the eye sees.
constexpr double kReductionToleranceDegrees = 0.8;
constexpr double kReductionPositionTolerance = 0.05;
constexpr int kAnimatorStepsPerSecond = 25;
// A fifth of a second from the pose the figure stands in to the clip's
// first keyframe, and from its last back round when it cycles.
constexpr int kLeadInSteps = 5;
// How imported keyframes are reached from the one before.
constexpr int kImportedKeyFrameKind = KIND_SMOOTH;

struct ReducedClip {
    std::vector<int> times;     // keyframe times in steps: the clip starts at 0, the guard before it at -2
    std::vector<float> values;  // per keyframe: position (3) then 20 angle triples (60)
    double worstDegrees = 0;    // the furthest any part strays, played against recorded
    bool thinned = false;       // the animators filled up before the tolerance was met
};

// Samples the motion at whole steps (linear between recorded frames).
std::vector<float> sampleAtSteps(const RetargetedMotion& motion);

// Picks the keyframes for `samples` (63 values per step).
ReducedClip reduceToKeyFrames(const std::vector<float>& samples, const FigureShape& figure, int maxKeys,
                              double toleranceDegrees = kReductionToleranceDegrees);

// Replaces `person`'s keyframes with `count` keyframes at `times` (steps,
// rising), `values` holding 63 per keyframe: cycling, every animator at the
// same times, each keyframe kImportedKeyFrameKind, the first reached from
// the present pose in `leadInSteps`. The one way an import's keyframes get
// into animators, so the reduction measures what the figure will play.
void pushClipKeyFrames(Person& person, const int* times, const float* values, int count, int leadInSteps);
