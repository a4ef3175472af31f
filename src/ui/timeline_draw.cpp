// timeline_draw.cpp - drawing the timeline strip and the on-screen message.
//
// Both are drawn last, flat in window pixels (origin bottom-left, as GL
// counts), without lighting, texturing or depth, and leave the projection,
// the model-view matrix and the enables as they found them.
#include <GL/glut.h>

#include <cmath>
#include <string>

#include "core/app_state.h"
#include "base/platform.h"
#include "edit/keyframe_edit.h"
#include "scene/overlay.h"
#include "gfx/text.h"
#include "gfx/text_layout.h"
#include "core/messages.h"
#include "ui/timeline.h"

namespace {

// Mouse rows count from the top; GL rows from the bottom.
float up(float windowY) { return app.windowHeight - windowY; }

void rect(float x0, float y0, float x1, float y1) { overlayRect(x0, y0, x1, y1); }

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

    glLineWidth(2);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_LINES);
    for (int k = 0; k < keyFrameCount(p); k++) {
        const float x = timelineX(l, keyFrameStart(p, k), length);
        glVertex2f(x, y0); glVertex2f(x, y1);
    }
    glEnd();

    const float t = referenceAnimator(p).currentTime;
    const float xm = timelineX(l, t, length);
    glColor4f(1, 0.85f, 0.1f, 1);
    glBegin(GL_TRIANGLES);  // marker: a downward arrow over the strip
    glVertex2f(xm - 5, y1 + 7); glVertex2f(xm + 5, y1 + 7); glVertex2f(xm, y1);
    glEnd();
    glBegin(GL_LINES);
    glVertex2f(xm, y0); glVertex2f(xm, y1);
    glEnd();
}

void drawLabels(const Person& p, const TimelineLayout& l) {
    const std::string kf = keyFrameText(currentKeyFrame(p), keyFrameCount(p));
    const std::string tt = timeText(referenceAnimator(p).currentTime);
    const char* state = playText(p.animating);
    const float y = up(l.top) + 10;
    const float advance = charWidth();
    glColor4f(1, 1, 1, 1);
    drawText(l.left, y, 0, advance, kf.c_str());
    drawText(l.left + advance * (static_cast<float>(kf.size()) + 3), y, 0, advance, tt.c_str());
    drawText(l.right - advance * static_cast<float>(std::char_traits<char>::length(state)), y, 0,
             advance, state);
}

}  // namespace

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
    const float y = up(l.top) + 32;
    beginOverlay();
    // The text's own panel is the message's dark box.
    glColor4f(1, 1, 0.6f, 1);
    drawText(x, y, 0, advance, text->c_str());
    endOverlay();
}
