// dope_sheet.h - the panel of every figure's keyframes (Ctrl+D).
//
// A row for every figure in use with its keyframe ticks, and under the
// selected figure a row for its position and for each part that holds
// keyframes. All rows share one time axis, from 0 to the longest figure's
// length; a tick stands where its keyframe is reached (the end of its
// segment) and its shape tells the keyframe's kind. A click on a tick goes
// there, a drag moves that keyframe in time (with Shift, the later ones
// move along), Delete removes the keyframe under the pointer.
//
// The time <-> x mapping and the rows live here, GL-free, and are the one
// place to extend (other rows, marks on the axis); drawing lives in
// dope_sheet_draw.cpp. Window pixels, y from the top as the mouse reports.
#pragma once

#include "core/app_state.h"
#include "figure/person.h"

constexpr float DOPE_SHEET_LABEL_WIDTH = 88;  // pixels of row labels at the left
constexpr float DOPE_SHEET_MARGIN = 16;
constexpr float DOPE_SHEET_HEADER = 18;       // the time line text above the rows
constexpr float DOPE_SHEET_ROW = 14;          // row height when all rows fit
constexpr float DOPE_SHEET_SHARE = 0.7f;      // most of the window height it covers
constexpr int DOPE_SHEET_MAX_ROWS = MAX_PERSONS + BODY_PART_COUNT + 1;

// What a row shows: a figure's keyframes (which == FIGURE_ROW), its
// position (-1) or one part (0..19).
struct DopeSheetRow {
    int person;
    int which;
};

struct DopeSheetLayout {
    float left, right;   // x of time 0 and of `length`
    float top, bottom;   // the panel
    float rowsTop;       // y of the first row's top
    float rowHeight;
    float length;        // steps across the axis
    int rowCount;
    DopeSheetRow rows[DOPE_SHEET_MAX_ROWS];
};

// The panel for a window of this size and the scene as it stands.
DopeSheetLayout dopeSheetLayout(float windowWidth, float windowHeight);
float dopeSheetX(const DopeSheetLayout& l, float t);
float dopeSheetTime(const DopeSheetLayout& l, float x);  // clamped to the axis

// The animator a row's ticks come from (a figure row: the longest queue).
const KeyFrameAnimation& rowAnimator(const DopeSheetRow& r);
// "figure 2", "pos", "HEAD".
const char* rowLabel(const DopeSheetRow& r, char* buffer, int size);

struct DopeSheetHit {
    int row = -1;       // -1: not on a row
    int keyFrame = -1;  // -1: on the row, not on a tick
};
DopeSheetHit dopeSheetHitAt(const DopeSheetLayout& l, float x, float y);

bool dopeSheetShown();
void toggleDopeSheet();

// ---- the mouse (mouse.cpp calls these; true when the panel takes it)
bool dopeSheetPress(int x, int y, bool shift);
bool dopeSheetDrag(int x);
bool dopeSheetRelease(int x);
// Delete over a tick removes that keyframe; false when the pointer is on none.
bool dopeSheetDeleteAtPointer();

// Draws the panel (GL, dope_sheet_draw.cpp).
void drawDopeSheet();
