// keyframe_reduction.cpp - greedy insertion at the worst step.
#include "mocap/keyframe_reduction.h"

#include <algorithm>
#include <cmath>

#include "figure/person.h"

namespace {

constexpr int kValues = 63;
constexpr int kMinGap = 2;  // the animators refuse shorter segments
constexpr int kGuard = 2;   // steps between a guard keyframe and the clip

// The animators' segment value (KeyFrameAnimation::seek, tension 0).
double splineValue(double p0, double p1, double p2, double p3, double f) {
    const double s = 0.5, f2 = f * f, f3 = f2 * f;
    const double m1 = s * (p2 - p0), m2 = s * (p3 - p1);
    return (2 * f3 - 3 * f2 + 1) * p1 + (3 * f2 - 2 * f3) * p2 + (f3 - 2 * f2 + f) * m1 + (f3 - f2) * m2;
}

// Degrees between two unit vectors, cheaply and monotonically: the chord.
double chordDegrees(Vec3 a, Vec3 b) {
    const double chord = length(a - b);
    return 2 * std::asin(std::min(1.0, 0.5 * chord)) * kDegrees;
}

class Reducer {
public:
    // Only steps first..last are the clip; the others are never measured.
    Reducer(const std::vector<float>& samples, const FigureShape& figure, double tolerance, int first, int last)
        : s_(samples), figure_(figure), tolerance_(tolerance),
          steps_(static_cast<int>(samples.size() / kValues)), first_(first), last_(last), error_(steps_, 0.0) {}

    int steps() const { return steps_; }
    std::vector<int> keys;

    // Played against recorded at step t, in degrees (position errors scaled
    // so the position tolerance counts as the angle tolerance).
    double errorAt(int t, const float* played) const {
        FigureFrames a, b;
        const float* want = s_.data() + static_cast<std::size_t>(t) * kValues;
        figureFrames(figure_, played, played + 3, a);
        figureFrames(figure_, want, want + 3, b);
        double worst = 0;
        for (int i = 0; i < 18; i++)  // the hand items follow the hands
            worst = std::max({worst, chordDegrees(a.turn[i].c[1], b.turn[i].c[1]),
                              chordDegrees(a.turn[i].c[0], b.turn[i].c[0])});
        const double moved = length(a.at[ROOT] - b.at[ROOT]);
        return std::max(worst, moved / kReductionPositionTolerance * tolerance_);
    }

    // Recomputes the errors of the steps inside segment c (keys c-1 to c).
    void measureSegment(int c) {
        const int n = static_cast<int>(keys.size());
        if (c < 1 || c >= n) return;
        const int p = c - 1, p0 = p - 1 < 0 ? n - 1 : p - 1, p3 = c + 1 >= n ? 0 : c + 1;
        const float* k0 = at(keys[p0]);
        const float* k1 = at(keys[p]);
        const float* k2 = at(keys[c]);
        const float* k3 = at(keys[p3]);
        const int from = keys[p], to = keys[c];
        float played[kValues];
        for (int t = std::max(from + 1, first_); t < to && t <= last_; t++) {
            const double f = static_cast<double>(t - from) / (to - from);
            for (int v = 0; v < kValues; v++) played[v] = static_cast<float>(splineValue(k0[v], k1[v], k2[v], k3[v], f));
            error_[t] = errorAt(t, played);
        }
        error_[from] = error_[to] = 0;
    }

    void measureAll() {
        for (int c = 1; c < static_cast<int>(keys.size()); c++) measureSegment(c);
    }

    // Where the next keyframe goes: at the worst step, or as near it as the
    // shortest segment allows; -1 when no step that can be helped strays too far.
    int worstStep() const {
        int best = -1;
        double bestError = tolerance_;
        std::size_t k = 1;
        for (int t = 1; t < steps_ - 1; t++) {
            while (k < keys.size() && keys[k] <= t) k++;
            const int lo = keys[k - 1] + kMinGap, hi = keys[k] - kMinGap;
            if (lo > hi || !(error_[t] > bestError)) continue;
            bestError = error_[t];
            best = std::clamp(t, lo, hi);
        }
        return best;
    }

    // Inserts a keyframe at t; the segments whose shape it changes are measured again.
    void insert(int t) {
        const auto it = std::lower_bound(keys.begin(), keys.end(), t);
        const int c = static_cast<int>(it - keys.begin());
        keys.insert(it, t);
        const int n = static_cast<int>(keys.size());
        for (int d = -1; d <= 2; d++) measureSegment(c + d);
        // The ends lean on each other through the wrap.
        for (int e : {1, 2, n - 2, n - 1}) measureSegment(e);
    }

    double worstError() const { return *std::max_element(error_.begin(), error_.end()); }

private:
    const float* at(int t) const { return s_.data() + static_cast<std::size_t>(t) * kValues; }
    const std::vector<float>& s_;
    const FigureShape& figure_;
    double tolerance_;
    int steps_, first_, last_;
    std::vector<double> error_;
};

}  // namespace

std::vector<float> sampleAtSteps(const RetargetedMotion& m) {
    const double duration = (m.frames - 1) * m.frameTime;
    const int steps = std::max(1, static_cast<int>(std::lround(duration * kAnimatorStepsPerSecond)) + 1);
    std::vector<float> out(static_cast<std::size_t>(steps) * kValues);
    for (int t = 0; t < steps; t++) {
        const double u = std::min<double>(m.frames - 1, t / (kAnimatorStepsPerSecond * m.frameTime));
        const int f0 = static_cast<int>(u), f1 = std::min(f0 + 1, m.frames - 1);
        const double w = u - f0;
        float* o = out.data() + static_cast<std::size_t>(t) * kValues;
        for (int k = 0; k < 3; k++)
            o[k] = static_cast<float>((1 - w) * m.position[3 * f0 + k] + w * m.position[3 * f1 + k]);
        const float* a = m.pose(f0);
        const float* b = m.pose(f1);
        for (int k = 0; k < 60; k++) o[3 + k] = static_cast<float>((1 - w) * a[k] + w * b[k]);
    }
    return out;
}

ReducedClip reduceToKeyFrames(const std::vector<float>& samples, const FigureShape& figure, int maxKeys,
                              double tolerance) {
    // Guard keyframes two steps before and after the clip, continuing its
    // slope: the spline's tangents at the clip's ends then come from the clip
    // and not from the wrap between its last and first keyframes.
    const int n = static_cast<int>(samples.size() / kValues);
    std::vector<float> ext(static_cast<std::size_t>(n + 2 * kGuard) * kValues);
    const int a = std::min(kGuard, n - 1);
    for (int e = 0; e < n + 2 * kGuard; e++) {
        const int c = e - kGuard;
        const int from = c < 0 ? 0 : (c >= n ? n - 1 : c);
        const int back = c < 0 ? std::min(a, n - 1) : std::max(0, n - 1 - a);
        const double beyond = c < 0 ? -c : (c >= n ? c - (n - 1) : 0);
        for (int v = 0; v < kValues; v++) {
            const float p = samples[static_cast<std::size_t>(from) * kValues + v];
            const float q = samples[static_cast<std::size_t>(back) * kValues + v];
            const double slope = a > 0 ? (p - q) / a : 0.0;
            ext[static_cast<std::size_t>(e) * kValues + v] = static_cast<float>(p + slope * beyond);
        }
    }
    const int first = kGuard, last = n + kGuard - 1, end = n + 2 * kGuard - 1;
    Reducer r(ext, figure, tolerance, first, last);
    ReducedClip out;
    r.keys = {0, first};
    if (last - first >= kMinGap) r.keys.push_back(last);
    r.keys.push_back(end);
    r.measureAll();
    for (;;) {
        const int t = r.worstStep();
        if (t < 0) break;
        if (static_cast<int>(r.keys.size()) >= maxKeys) { out.thinned = true; break; }
        r.insert(t);
    }
    // The spline's tangents span two segments, so unequal segments bend fast
    // motion; where the greedy keys cannot meet the tolerance, keys at even
    // spacing (as close as the capacity allows) often can.
    Reducer even(ext, figure, tolerance, first, last);
    if (r.worstError() > tolerance && last - first >= kMinGap) {
        const int room = std::max(1, maxKeys - 3);
        const int spacing = std::max(kMinGap, (last - first + room - 1) / room);
        even.keys = {0};
        for (int t = first; t < last - kMinGap + 1; t += spacing) even.keys.push_back(t);
        even.keys.push_back(last);
        even.keys.push_back(end);
        even.measureAll();
        if (even.worstError() < r.worstError() && static_cast<int>(even.keys.size()) <= maxKeys) {
            r.keys = even.keys;
            r.measureAll();
        }
    }
    out.worstDegrees = r.worstError();
    for (int t : r.keys) {
        out.times.push_back(t - kGuard);
        out.values.insert(out.values.end(), ext.begin() + static_cast<std::ptrdiff_t>(t) * kValues,
                          ext.begin() + static_cast<std::ptrdiff_t>(t + 1) * kValues);
    }
    return out;
}
