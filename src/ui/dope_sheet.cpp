// dope_sheet.cpp - the dope sheet's rows, axis, hit tests and mouse use.
#include "ui/dope_sheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "edit/beat_snap.h"
#include "edit/edit_commands.h"
#include "edit/keyframe_edit.h"
#include "core/messages.h"
#include "ui/timeline.h"

namespace {

// A press on a tick, until release.
struct TickDrag {
    bool active = false;
    bool moved = false;
    bool shift = false;
    int pressX = 0;
    DopeSheetRow row{0, FIGURE_ROW};
    int keyFrame = -1;
};
TickDrag gDrag;

constexpr int kDragThreshold = 3;  // pixels before a press becomes a drag

void addRow(DopeSheetLayout& l, int person, int which) {
    if (l.rowCount < DOPE_SHEET_MAX_ROWS) l.rows[l.rowCount++] = {person, which};
}

void selectRow(const DopeSheetRow& r) {
    app.selectedPerson = r.person;
    if (r.which >= 0) app.persons[r.person].selectPart(r.which);
}

// Shows where keyframe j of the row is reached, the figure paused there.
void goToTick(const DopeSheetRow& r, int j) {
    selectRow(r);
    Person& p = app.persons[r.person];
    if (r.which == FIGURE_ROW) goToKeyFrame(p, j);
    else scrubTo(p, keyFrameEnd(rowAnimator(r), j));
}

std::string tickName(const DopeSheetRow& r, int j) {
    char label[32];
    return std::string(rowLabel(r, label, sizeof label)) + " keyframe " + std::to_string(j + 1);
}

}  // namespace

// ---------------------------------------------------------------- layout

DopeSheetLayout dopeSheetLayout(float w, float h) {
    DopeSheetLayout l{};
    for (int i = 0; i < app.numPersons; i++) {
        addRow(l, i, FIGURE_ROW);
        if (i != app.selectedPerson) continue;
        const Person& p = app.persons[i];
        if (p.kfaPos.numKeyFrames > 0) addRow(l, i, -1);
        for (int k = 0; k < BODY_PART_COUNT; k++)
            if (p.part[k].kfa.numKeyFrames > 0) addRow(l, i, k);
    }
    l.length = 1;
    for (int i = 0; i < app.numPersons; i++) l.length = std::max(l.length, animationLength(app.persons[i]));

    l.left = DOPE_SHEET_MARGIN + DOPE_SHEET_LABEL_WIDTH;
    l.right = std::max(l.left + 1, w - DOPE_SHEET_MARGIN);
    l.bottom = h - 8;
    // All rows at full height when they fit in the panel's share, else squeezed.
    const float room = std::max(1.0f, h * DOPE_SHEET_SHARE - DOPE_SHEET_HEADER);
    const float rows = static_cast<float>(std::max(1, l.rowCount));
    l.rowHeight = std::min(DOPE_SHEET_ROW, room / rows);
    l.rowsTop = l.bottom - rows * l.rowHeight;
    l.top = l.rowsTop - DOPE_SHEET_HEADER;
    return l;
}

float dopeSheetX(const DopeSheetLayout& l, float t) {
    return l.left + (l.right - l.left) * std::clamp(t / l.length, 0.0f, 1.0f);
}

float dopeSheetTime(const DopeSheetLayout& l, float x) {
    return l.length * std::clamp((x - l.left) / (l.right - l.left), 0.0f, 1.0f);
}

const KeyFrameAnimation& rowAnimator(const DopeSheetRow& r) {
    Person& p = app.persons[r.person];
    return r.which == FIGURE_ROW ? referenceAnimator(p) : figureAnimator(p, r.which);
}

const char* rowLabel(const DopeSheetRow& r, char* buffer, int size) {
    if (r.which == FIGURE_ROW) std::snprintf(buffer, static_cast<std::size_t>(size), "figure %d", r.person + 1);
    else std::snprintf(buffer, static_cast<std::size_t>(size), "  %s", r.which < 0 ? "pos" : kBodyPartLabels[r.which]);
    return buffer;
}

// The nearest tick within reach on the row under the pointer.
DopeSheetHit dopeSheetHitAt(const DopeSheetLayout& l, float x, float y) {
    DopeSheetHit hit;
    if (y < l.rowsTop || y >= l.bottom || x < DOPE_SHEET_MARGIN || x > l.right + TICK_GRAB) return hit;
    hit.row = std::min(l.rowCount - 1, static_cast<int>((y - l.rowsTop) / l.rowHeight));
    if (hit.row < 0) return DopeSheetHit{};
    const KeyFrameAnimation& a = rowAnimator(l.rows[hit.row]);
    float best = TICK_GRAB, end = 0;
    for (int j = 0; j < a.numKeyFrames; j++) {
        end += a.keyFrames[j].steps;
        const float d = std::fabs(dopeSheetX(l, end) - x);
        if (d <= best) { best = d; hit.keyFrame = j; }
    }
    return hit;
}

bool dopeSheetShown() { return app.dopeSheetVisible && !app.helpVisible && !app.keyboardChartVisible; }

void toggleDopeSheet() {
    app.dopeSheetVisible = !app.dopeSheetVisible;
    gDrag = TickDrag{};
}

// ---------------------------------------------------------------- mouse

bool dopeSheetPress(int x, int y, bool shift) {
    if (!dopeSheetShown()) return false;
    const DopeSheetLayout l = dopeSheetLayout(app.windowWidth, app.windowHeight);
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    if (fy < l.top || fy > l.bottom || fx < DOPE_SHEET_MARGIN - TICK_GRAB || fx > l.right + TICK_GRAB) return false;
    const DopeSheetHit hit = dopeSheetHitAt(l, fx, fy);
    if (hit.row < 0) return true;  // the header: taken, nothing to do
    const DopeSheetRow& r = l.rows[hit.row];
    if (hit.keyFrame < 0) {
        // Empty row space: that figure (and part), shown at that time.
        selectRow(r);
        scrubTo(app.persons[r.person], dopeSheetTime(l, fx));
        return true;
    }
    gDrag = TickDrag{true, false, shift, x, r, hit.keyFrame};
    return true;
}

bool dopeSheetDrag(int x) {
    if (!gDrag.active) return false;
    if (!gDrag.moved && std::abs(x - gDrag.pressX) < kDragThreshold) return true;
    const DopeSheetLayout l = dopeSheetLayout(app.windowWidth, app.windowHeight);
    Person& p = app.persons[gDrag.row.person];
    if (!gDrag.moved) {
        gDrag.moved = true;
        // One undo step for the whole drag.
        noteFigureChange("move " + tickName(gDrag.row, gDrag.keyFrame), gDrag.row.person);
        markKeyFramesChanged(gDrag.row.person);
    }
    // With snapping on, the tick settles on the nearest beat as it moves.
    const float t = snapTimeToBeat(dopeSheetTime(l, static_cast<float>(x)));
    moveKeyFrameTo(p, gDrag.row.which, gDrag.keyFrame, t, gDrag.shift);
    goToTick(gDrag.row, gDrag.keyFrame);
    return true;
}

bool dopeSheetRelease(int) {
    if (!gDrag.active) return false;
    const TickDrag d = gDrag;
    gDrag = TickDrag{};
    if (d.moved) {
        const float end = keyFrameEnd(rowAnimator(d.row), d.keyFrame);
        postMessage(tickName(d.row, d.keyFrame) + " at " + timeText(end));
    } else {
        goToTick(d.row, d.keyFrame);
        postMessage(tickName(d.row, d.keyFrame));
    }
    return true;
}

bool dopeSheetDeleteAtPointer() {
    if (!dopeSheetShown()) return false;
    const DopeSheetLayout l = dopeSheetLayout(app.windowWidth, app.windowHeight);
    const DopeSheetHit hit = dopeSheetHitAt(l, static_cast<float>(app.mouseX), static_cast<float>(app.mouseY));
    if (hit.keyFrame < 0) return false;
    const DopeSheetRow r = l.rows[hit.row];
    Person& p = app.persons[r.person];
    const float t = referenceAnimator(p).currentTime;
    noteFigureChange("delete " + tickName(r, hit.keyFrame), r.person);
    markKeyFramesChanged(r.person);
    removeKeyFrameKeepingTimes(p, r.which, hit.keyFrame);
    if (keyFrameCount(p) > 0) scrubTo(p, t);
    postMessage(tickName(r, hit.keyFrame) + " deleted");
    return true;
}
