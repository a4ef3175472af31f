// timeline.cpp - the timeline's geometry, hit tests, texts and mouse use.
#include "ui/timeline.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/app_state.h"
#include "edit/edit_commands.h"
#include "edit/keyframe_edit.h"

namespace {
bool gScrubbing = false;

Person& selected() { return app.persons[app.selectedPerson]; }
}  // namespace

TimelineLayout timelineLayout(float windowWidth, float windowHeight) {
    const float bottom = windowHeight - TIMELINE_BOTTOM_GAP;
    return {TIMELINE_MARGIN, std::max(TIMELINE_MARGIN + 1, windowWidth - TIMELINE_MARGIN),
            bottom - TIMELINE_HEIGHT, bottom};
}

float timelineX(const TimelineLayout& l, float t, float length) {
    if (length <= 0) return l.left;
    return l.left + (l.right - l.left) * std::clamp(t / length, 0.0f, 1.0f);
}

float timelineTime(const TimelineLayout& l, float x, float length) {
    const float f = (x - l.left) / (l.right - l.left);
    return length * std::clamp(f, 0.0f, 1.0f);
}

bool insideTimeline(const TimelineLayout& l, float x, float y) {
    return x >= l.left - TICK_GRAB && x <= l.right + TICK_GRAB && y >= l.top && y <= l.bottom;
}

// The nearest tick wins when two lie within reach (short keyframes).
int tickAt(const TimelineLayout& l, const Person& p, float x) {
    const int n = keyFrameCount(p);
    const float length = animationLength(p);
    int best = -1;
    float bestDistance = TICK_GRAB;
    for (int j = 0; j < n; j++) {
        const float d = std::fabs(timelineX(l, keyFrameStart(p, j), length) - x);
        if (d <= bestDistance) { best = j; bestDistance = d; }
    }
    return best;
}

// A hidden figure (shown by none of o's figures) has no strip to drag.
bool timelineShown() {
    return !app.helpVisible && !app.keyboardChartVisible && app.selectedPerson < app.numPersons &&
           keyFrameCount(selected()) > 0;
}

std::string keyFrameText(int current, int count) {
    return "keyframe " + std::to_string(current + 1) + " / " + std::to_string(count);
}

std::string timeText(float steps) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d steps  %.2f s", static_cast<int>(std::floor(steps + 0.001f)),
                  steps / STEPS_PER_SECOND);
    return buf;
}

const char* playText(bool playing) { return playing ? "playing" : "paused"; }

// ------------------------------------------------------------ mouse

bool timelinePress(int x, int y) {
    if (!timelineShown()) return false;
    const TimelineLayout l = timelineLayout(app.windowWidth, app.windowHeight);
    if (!insideTimeline(l, static_cast<float>(x), static_cast<float>(y))) return false;
    const int tick = tickAt(l, selected(), static_cast<float>(x));
    if (tick >= 0) goToKeyFrameIndexCommand(tick);
    else scrubCommand(timelineTime(l, static_cast<float>(x), animationLength(selected())));
    gScrubbing = true;
    return true;
}

bool timelineDrag(int x) {
    if (!gScrubbing) return false;
    const TimelineLayout l = timelineLayout(app.windowWidth, app.windowHeight);
    scrubCommand(timelineTime(l, static_cast<float>(x), animationLength(selected())));
    return true;
}

bool timelineRelease() {
    const bool was = gScrubbing;
    gScrubbing = false;
    return was;
}
