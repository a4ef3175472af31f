// timeline_draw.cpp - drawing the timeline strip and the on-screen message.
//
// Both are drawn last, flat in window pixels (origin bottom-left, as GL
// counts), without lighting, texturing or depth, and leave the projection,
// the model-view matrix and the enables as they found them.
#include <GL/glut.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "core/app_state.h"
#include "base/platform.h"
#include "edit/keyframe_edit.h"
#include "ui/overlay.h"
#include "gfx/text.h"
#include "gfx/text_layout.h"
#include "core/messages.h"
#include "ui/dope_sheet.h"
#include "ui/music_strip.h"
#include "ui/timeline.h"

// Mouse rows count from the top; GL rows from the bottom.
float up(float windowY) { return app.windowHeight - windowY; }

void rect(float x0, float y0, float x1, float y1) { overlayRect(x0, y0, x1, y1); }

namespace {

// The advance of the font text is drawn in at this window size.
float charWidth() { return textMetricsFor(app.windowWidth, app.windowHeight).advance; }

void drawStrip(const Person& p, const TimelineLayout& l) {
    const float length = animationLength(p);
    const float y0 = up(l.bottom), y1 = up(l.top);
    glColor4f(0.1f, 0.1f, 0.15f, 0.75f);
    rect(l.left, y0, l.right, y1);

    // The current keyframe's segment: where the pose glides to it.
    const int j = currentKeyFrame(p);
    glColor4f(0.3f, 0.45f, 0.8f, 0.8f);
    rect(timelineX(l, keyFrameStart(p, j), length), y0 + 3, timelineX(l, keyFrameStart(p, j + 1), length),
         y1 - 3);
    // The music under the ticks, so keyframes can be seen against its beats.
    drawMusicStrip(l.left, l.right, y0, y1, 0, length);

    glColor4f(1, 1, 1, 1);
    const KeyFrameAnimation& a = referenceAnimator(p);
    for (int k = 0; k < keyFrameCount(p); k++)
        drawKeyTick(timelineX(l, keyFrameStart(p, k + 1), length), y0, y1, a.keyFrames[k].kind);

    const float t = referenceAnimator(p).currentTime;
    const float xm = timelineX(l, t, length);
    glColor4f(1, 0.85f, 0.1f, 1);
    glBegin(GL_TRIANGLES);  // marker: a downward arrow over the strip
    glVertex2f(xm - 5, y1 + 7); glVertex2f(xm + 5, y1 + 7); glVertex2f(xm, y1);
    glEnd();
    glLineWidth(2);
    glBegin(GL_LINES);
    glVertex2f(xm, y0); glVertex2f(xm, y1);
    glEnd();
}

void drawLabels(const Person& p, const TimelineLayout& l) {
    const std::string kf = keyFrameText(currentKeyFrame(p), keyFrameCount(p));
    const std::string tt = timeText(referenceAnimator(p).currentTime);
    const char* state = playText(p.animating, finishedPlaying(p));
    const float y = up(l.top) + 10;
    const float advance = charWidth();
    glColor4f(1, 1, 1, 1);
    drawText(l.left, y, 0, advance, kf.c_str());
    drawText(l.left + advance * (static_cast<float>(kf.size()) + 3), y, 0, advance, tt.c_str());
    const float stateWidth = advance * static_cast<float>(std::char_traits<char>::length(state));
    drawText(l.right - stateWidth, y, 0, advance, state);
    drawMusicLabel(l.right - stateWidth - 3 * advance, y, advance);
}

}  // namespace

void drawKeyTick(float x, float y0, float y1, int kind) {
    const float mid = (y0 + y1) / 2, r = std::min(4.0f, (y1 - y0) / 2);
    glLineWidth(2);
    glBegin(GL_LINES);
    glVertex2f(x, y0); glVertex2f(x, y1);
    glEnd();
    glLineWidth(1);
    switch (kind) {
    case KIND_SMOOTH:
        glBegin(GL_TRIANGLE_FAN);
        for (int i = 0; i < 16; i++) {
            const float a = static_cast<float>(i) * 6.2831853f / 16;
            glVertex2f(x + r * std::cos(a), mid + r * std::sin(a));
        }
        glEnd();
        break;
    case KIND_LINEAR:  // a ramp: an even rise into the keyframe
        glBegin(GL_TRIANGLES);
        glVertex2f(x - 2 * r, mid - r); glVertex2f(x, mid - r); glVertex2f(x, mid + r);
        glEnd();
        break;
    case KIND_HOLD:
        rect(x - r, mid - r, x + r, mid + r);
        break;
    default: break;  // the spline: the bar alone
    }
}

void drawTimeline() {
    if (!timelineShown()) return;
    const Person& p = app.persons[app.selectedPerson];
    const TimelineLayout l = timelineLayout(app.windowWidth, app.windowHeight);
    beginOverlay();
    drawStrip(p, l);
    drawLabels(p, l);
    endOverlay();
}

void drawMessage() {
    if (app.helpVisible || app.keyboardChartVisible) return;
    const std::string* text = currentMessage(platform::elapsedMs());
    if (!text) return;
    const TimelineLayout l = timelineLayout(app.windowWidth, app.windowHeight);
    const float advance = charWidth();
    const float width = advance * static_cast<float>(text->size());
    const float x = std::floor((app.windowWidth - width) / 2);
    // Above the dope sheet when it is shown, else above the strip's text.
    const float y = dopeSheetShown() ? up(dopeSheetLayout(app.windowWidth, app.windowHeight).top) + 8
                                     : up(l.top) + 32;
    beginOverlay();
    // The text's own panel is the message's dark box.
    glColor4f(1, 1, 0.6f, 1);
    drawText(x, y, 0, advance, text->c_str());
    endOverlay();
}
