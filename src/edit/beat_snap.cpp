// beat_snap.cpp - beat times as whole steps, and the commands' use of them.
#include "edit/beat_snap.h"

#include <algorithm>
#include <cmath>

#include "core/app_state.h"
#include "audio/music_analysis.h"
#include "audio/music_follow.h"
#include "edit/keyframe_edit.h"
#include "core/messages.h"

// ---------------------------------------------------------------- pure

int beatStep(double seconds, double offset) {
    return static_cast<int>(std::lround((seconds - offset) * kStepsPerSecond));
}

int nextBeatStep(const std::vector<double>& beats, double offset, float from, int minSteps) {
    const double earliest = static_cast<double>(from) + minSteps;
    // Steps grow with the beats, so the first beat far enough on is the answer.
    auto it = std::lower_bound(beats.begin(), beats.end(), earliest, [offset](double b, double steps) {
        return beatStep(b, offset) < steps;
    });
    return it == beats.end() ? -1 : beatStep(*it, offset);
}

int previousBeatStep(const std::vector<double>& beats, double offset, float from, int minSteps, float floor) {
    const double latest = static_cast<double>(from) - minSteps;
    auto it = std::upper_bound(beats.begin(), beats.end(), latest, [offset](double steps, double b) {
        return steps < beatStep(b, offset);
    });
    if (it == beats.begin()) return -1;
    const int step = beatStep(*(it - 1), offset);
    return step >= floor ? step : -1;
}

int nearestBeatStep(const std::vector<double>& beats, double offset, float t) {
    int best = -1;
    double bestGap = 0;
    const int after = nextBeatStep(beats, offset, t, 0);
    const int before = previousBeatStep(beats, offset, t, 0, 0);
    for (int step : {before, after}) {
        if (step < 0) continue;
        const double gap = std::fabs(step - static_cast<double>(t));
        if (best < 0 || gap < bestGap) { best = step; bestGap = gap; }
    }
    return best;
}

// ---------------------------------------------------------------- the application

namespace {

const std::vector<double>* sceneBeats() {
    const MusicBeats* b = sceneMusicBeats();
    return b && !b->beats.empty() ? &b->beats : nullptr;
}

}  // namespace

void toggleBeatSnapping() {
    app.snapToBeats = !app.snapToBeats;
    if (!app.snapToBeats) postMessage("snap to beats off");
    else if (sceneBeats()) postMessage("snap to beats on");
    else postMessage("snap to beats on (no beats found yet in the scene's music)");
}

bool snappingToBeats() { return app.snapToBeats && sceneBeats(); }

int keyFrameStepsFrom(float start, int unsnapped) {
    if (!snappingToBeats()) return unsnapped;
    const int end = nextBeatStep(*sceneBeats(), app.sceneMusicOffset, start, SHORTEST_KEYFRAME_STEPS);
    return end < 0 ? unsnapped : end - static_cast<int>(std::lround(start));
}

int beatLengthChange(const Person& p, int j, int direction) {
    if (!snappingToBeats() || j < 0) return 0;
    const float start = keyFrameStart(p, j), end = keyFrameStart(p, j + 1);
    const std::vector<double>& beats = *sceneBeats();
    const int to = direction > 0
                       ? nextBeatStep(beats, app.sceneMusicOffset, end, 1)
                       : previousBeatStep(beats, app.sceneMusicOffset, end, 1, start + SHORTEST_KEYFRAME_STEPS);
    return to < 0 ? 0 : to - static_cast<int>(std::lround(end));
}

float snapTimeToBeat(float t) {
    if (!snappingToBeats()) return t;
    const int step = nearestBeatStep(*sceneBeats(), app.sceneMusicOffset, t);
    return step < 0 ? t : static_cast<float>(step);
}
