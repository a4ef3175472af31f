// keyframe_reduction.cpp - greedy insertion at the worst step, measured on
// what the figure's animators play.
#include "mocap/keyframe_reduction.h"

#include <algorithm>
#include <cmath>

#include "figure/person.h"

namespace {

constexpr int kValues = 63;
constexpr int kMinGap = 2;  // the animators refuse shorter segments
constexpr int kGuard = 2;   // steps between a guard keyframe and the clip

// Degrees between two unit vectors, cheaply and monotonically: the chord.
double chordDegrees(Vec3 a, Vec3 b) {
    const double chord = length(a - b);
    return 2 * std::asin(std::min(1.0, 0.5 * chord)) * kDegrees;
}

// Played against recorded, in degrees (position errors scaled so the
// position tolerance counts as the angle tolerance).
double frameError(const FigureFrames& a, const FigureFrames& b, double tolerance) {
    double worst = 0;
    for (int i = 0; i < 18; i++)  // the hand items follow the hands
        worst = std::max({worst, chordDegrees(a.turn[i].c[1], b.turn[i].c[1]),
                          chordDegrees(a.turn[i].c[0], b.turn[i].c[0])});
    const double moved = length(a.at[ROOT] - b.at[ROOT]);
    return std::max(worst, moved / kReductionPositionTolerance * tolerance);
}

class Reducer {
public:
    // Only steps first..last are the clip; the others are never measured.
    Reducer(const std::vector<float>& samples, const FigureShape& figure, double tolerance, int first, int last)
        : s_(samples), tolerance_(tolerance), steps_(static_cast<int>(samples.size() / kValues)),
          first_(first), last_(last), error_(steps_, 0.0), playing_(figure), recorded_(figure) {}

    std::vector<int> keys;

    // Loads the keys into the figure's animators as the import will; step t
    // then plays at time kLeadInSteps + t.
    void load() {
        values_.clear();
        for (int t : keys) values_.insert(values_.end(), at(t), at(t) + kValues);
        playing_.restorePose();
        pushClipKeyFrames(playing_.person(), keys.data(), values_.data(), static_cast<int>(keys.size()), kLeadInSteps);
    }

    // Measures the steps inside segment c (keys c-1 to c) as loaded.
    void measureSegment(int c) {
        if (c < 1 || c >= static_cast<int>(keys.size())) return;
        const int from = keys[c - 1], to = keys[c];
        FigureFrames got, want;
        for (int t = std::max(from + 1, first_); t < to && t <= last_; t++) {
            playing_.played(static_cast<float>(kLeadInSteps + t), got);
            recorded_.frames(at(t) + 0, at(t) + 3, want);
            error_[t] = frameError(got, want, tolerance_);
        }
        error_[from] = error_[to] = 0;
    }

    void measureAll() {
        load();
        std::fill(error_.begin(), error_.end(), 0.0);
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

    // Inserts a keyframe at t; the segments whose shape it can change (a
    // smooth segment leans on one keyframe either side) are measured again.
    void insert(int t) {
        const auto it = std::lower_bound(keys.begin(), keys.end(), t);
        const int c = static_cast<int>(it - keys.begin());
        keys.insert(it, t);
        load();
        for (int d = -1; d <= 2; d++) measureSegment(c + d);
    }

    double worstError() const { return *std::max_element(error_.begin(), error_.end()); }

private:
    const float* at(int t) const { return s_.data() + static_cast<std::size_t>(t) * kValues; }
    const std::vector<float>& s_;
    double tolerance_;
    int steps_, first_, last_;
    std::vector<double> error_;
    std::vector<float> values_;
    PosedFigure playing_;   // the keys, as its animators play them
    PosedFigure recorded_;  // the samples, posed
};

// Greedy insertion until the tolerance holds or the keys run out. Each
// insertion re-measures only the segments it touches; a last measure of
// every step makes sure nothing stale hides an error.
bool addKeysAtWorstSteps(Reducer& r, int maxKeys) {
    for (;;) {
        for (int t = r.worstStep(); t >= 0; t = r.worstStep()) {
            if (static_cast<int>(r.keys.size()) >= maxKeys) return false;
            r.insert(t);
        }
        r.measureAll();
        if (r.worstStep() < 0) return true;
    }
}

}  // namespace

void pushClipKeyFrames(Person& person, const int* times, const float* values, int count, int leadInSteps) {
    person.clearAllKeyFrames();
    person.setCycle(true);
    for (int k = 0; k < count; k++) {
        const int steps = k == 0 ? leadInSteps : times[k] - times[k - 1];
        const float* v = values + static_cast<std::size_t>(k) * kValues;
        person.kfaPos.pushKeyFrame(v[0], v[1], v[2], ABS, steps, kImportedKeyFrameKind);
        for (int i = 0; i < BODY_PART_COUNT; i++)
            person.part[i].kfa.pushKeyFrame(v[3 + 3 * i], v[4 + 3 * i], v[5 + 3 * i], ABS, steps,
                                            kImportedKeyFrameKind);
    }
}

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
    // slope: the curve's slopes at the clip's ends then come from the clip.
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
    out.thinned = !addKeysAtWorstSteps(r, maxKeys);
    // Where the greedy keys cannot meet the tolerance within the capacity,
    // keys at even spacing (as close as the capacity allows) often do better.
    if (r.worstError() > tolerance && last - first >= kMinGap) {
        Reducer even(ext, figure, tolerance, first, last);
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
