// keyframe_reduction.h - a retargeted clip as few keyframes as it needs.
//
// The clip is sampled at the animators' time steps (25 a second). Keyframes
// start at the first and last step, with a guard keyframe two steps beyond
// each end that continues the motion (so the spline's wrap from the last
// keyframe to the first does not bend the clip's ends); the step where the played figure strays
// furthest from the recording gets the next one, until no part's axes are
// more than the tolerance off (and the figure no more than a twentieth of
// a unit) or the animators are full. Every animator gets its keyframes at the
// same steps, so the figure's timeline and keyframe commands work. The error
// is measured on what the animators play: their closed cardinal spline, with
// its wrap from the last keyframe to the first. GL-free.
#pragma once

#include <vector>

#include "mocap/retarget.h"

// Degrees a part's axes may stray between keyframes: below the degree that
// a re-imported export must hold, above what the eye sees.
constexpr double kReductionToleranceDegrees = 0.8;
constexpr double kReductionPositionTolerance = 0.05;
constexpr int kAnimatorStepsPerSecond = 25;

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
