// timeline_draw.cpp - drawing the timeline strip and the on-screen message.
//
// Both are drawn last, flat in window pixels (origin bottom-left, as GL
// counts), without lighting, texturing or depth, and leave the projection,
// the model-view matrix and the enables as they found them.
#include <GL/glut.h>

#include <string>

#include "core/app_state.h"
#include "base/platform.h"
#include "edit/keyframe_edit.h"
#include "gfx/text.h"
#include "core/messages.h"
#include "ui/music_strip.h"
#include "ui/timeline.h"

namespace {

constexpr float kCharWidth = 8;  // the 8 x 13 bitmap font

struct SavedState { GLboolean lighting, texture, depth, blend; };
SavedState saved;

// Window pixels with y up, for everything until endOverlay().
void beginOverlay() {
    saved = {glIsEnabled(GL_LIGHTING), glIsEnabled(GL_TEXTURE_2D), glIsEnabled(GL_DEPTH_TEST),
             glIsEnabled(GL_BLEND)};
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    // Plain white texels: the colours come through unchanged.
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(app.textures[TEX_COLOR_WHITE]));
    glEnable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, app.windowWidth, 0, app.windowHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void endOverlay() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    auto restore = [](GLenum cap, GLboolean on) { if (on) glEnable(cap); else glDisable(cap); };
    restore(GL_LIGHTING, saved.lighting);
    restore(GL_TEXTURE_2D, saved.texture);
    restore(GL_DEPTH_TEST, saved.depth);
    restore(GL_BLEND, saved.blend);
    glLineWidth(1);
}

// Mouse rows count from the top; GL rows from the bottom.
float up(float windowY) { return app.windowHeight - windowY; }

void rect(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glVertex2f(x0, y0); glVertex2f(x1, y0); glVertex2f(x1, y1); glVertex2f(x0, y1);
    glEnd();
}

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
    glColor4f(1, 1, 1, 1);
    drawText(l.left, y, 0, kCharWidth, kf.c_str());
    drawText(l.left + kCharWidth * (static_cast<float>(kf.size()) + 3), y, 0, kCharWidth, tt.c_str());
    const float stateWidth = kCharWidth * static_cast<float>(std::char_traits<char>::length(state));
    drawText(l.right - stateWidth, y, 0, kCharWidth, state);
    drawMusicLabel(l.right - stateWidth - 3 * kCharWidth, y);
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
    const float width = kCharWidth * static_cast<float>(text->size());
    const float x = (app.windowWidth - width) / 2;
    const float y = up(l.top) + 32;
    beginOverlay();
    glColor4f(0, 0, 0, 0.6f);
    rect(x - 6, y - 5, x + width + 6, y + 15);
    glColor4f(1, 1, 0.6f, 1);
    drawText(x, y, 0, kCharWidth, text->c_str());
    endOverlay();
}
