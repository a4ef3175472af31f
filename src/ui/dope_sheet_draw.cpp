// dope_sheet_draw.cpp - drawing the dope sheet over the lower part of the
// window: a dark panel, a row per figure (and the selected figure's
// animators under it), keyframe ticks by kind, each figure's own time as a
// short mark on its row and the selected figure's time as a line across.
// The scene's music runs under the rows on the same axis, so ticks can be
// laid on its beats by eye as well as by snapping.
#include <GL/glut.h>

#include <string>

#include "edit/keyframe_edit.h"
#include "gfx/text.h"
#include "ui/dope_sheet.h"
#include "ui/music_strip.h"
#include "ui/overlay.h"
#include "ui/timeline.h"

namespace {

void drawRow(const DopeSheetLayout& l, int i) {
    const DopeSheetRow& r = l.rows[i];
    const float top = l.rowsTop + l.rowHeight * static_cast<float>(i);
    const float y1 = up(top), y0 = up(top + l.rowHeight);
    const bool figureRow = r.which == FIGURE_ROW;
    const bool selected = r.person == app.selectedPerson &&
                          (figureRow || r.which == app.persons[r.person].selectedPart);
    if (selected) glColor4f(0.3f, 0.45f, 0.8f, 0.45f);
    else if (figureRow) glColor4f(1, 1, 1, 0.08f);
    else glColor4f(0, 0, 0, 0);
    rect(DOPE_SHEET_MARGIN, y0 + 1, l.right, y1 - 1);

    if (l.rowHeight >= 11) {
        char label[32];
        glColor4f(figureRow ? 1.0f : 0.8f, figureRow ? 1.0f : 0.85f, figureRow ? 1.0f : 0.6f, 1);
        drawText(DOPE_SHEET_MARGIN + 2, y0 + (l.rowHeight - 10) / 2, 0, kCharWidth, rowLabel(r, label, sizeof label));
    }

    const KeyFrameAnimation& a = rowAnimator(r);
    glColor4f(1, 1, 1, 1);
    const float pad = l.rowHeight > 6 ? 2 : 0;
    float end = 0;
    for (int j = 0; j < a.numKeyFrames; j++) {
        end += a.keyFrames[j].steps;
        drawKeyTick(dopeSheetX(l, end), y0 + pad, y1 - pad, a.keyFrames[j].kind);
    }
    if (figureRow) {
        // The figure's own time: figures can run apart.
        const float x = dopeSheetX(l, a.currentTime);
        glColor4f(1, 0.85f, 0.1f, 1);
        rect(x - 1.5f, y0 + 1, x + 1.5f, y1 - 1);
    }
}

}  // namespace

void drawDopeSheet() {
    if (!dopeSheetShown()) return;
    const DopeSheetLayout l = dopeSheetLayout(app.windowWidth, app.windowHeight);
    beginOverlay();
    glColor4f(0.08f, 0.08f, 0.12f, 0.92f);
    rect(DOPE_SHEET_MARGIN - 4, up(l.bottom + 4), l.right + 8, up(l.top));
    drawMusicStrip(l.left, l.right, up(l.bottom), up(l.rowsTop), 0, l.length, 0.16f);
    for (int i = 0; i < l.rowCount; i++) drawRow(l, i);

    // The selected figure's time, as a line through every row and in words.
    const Person& p = app.persons[app.selectedPerson];
    const float t = keyFrameCount(p) > 0 ? referenceAnimator(p).currentTime : 0;
    const float x = dopeSheetX(l, t);
    glColor4f(1, 0.85f, 0.1f, 1);
    glBegin(GL_LINES);
    glVertex2f(x, up(l.bottom)); glVertex2f(x, up(l.rowsTop) + 4);
    glEnd();
    const std::string text = "time: " + timeText(t) + "    length: " + timeText(l.length);
    glColor4f(1, 1, 1, 1);
    drawText(l.left, up(l.rowsTop) + 4, 0, kCharWidth, text.c_str());
    drawMusicLabel(l.right, up(l.rowsTop) + 4, kCharWidth);
    endOverlay();
}
