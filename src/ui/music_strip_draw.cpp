// music_strip_draw.cpp - the waveform, beat marks and bar numbers in GL.
//
// One vertical line per pixel column for the waveform (its loudest peak
// over the times that column covers), one line per beat. Beats closer than
// a few pixels show only the bars' marks, and bar numbers only where there
// is room for them, so a long dance on a narrow window stays readable.
#include <GL/glut.h>

#include <cstdio>
#include <string>

#include "core/app_state.h"
#include "audio/music_analysis.h"
#include "audio/music_follow.h"
#include "gfx/text.h"
#include "gfx/text_layout.h"
#include "ui/music_strip.h"

namespace {

constexpr float kMinBeatGap = 4;      // pixels between beat marks worth drawing
constexpr float kBarNumberRoom = 28;  // pixels a bar number needs

void drawWaveform(const MusicBeats& m, float x0, float x1, float y0, float y1, float t0, float t1,
                  float alpha) {
    const float mid = (y0 + y1) / 2, half = (y1 - y0) / 2 - 1;
    const double secondsPerPixel = (t1 - t0) / kStepsPerSecond / (x1 - x0);
    const double start = app.sceneMusicOffset + t0 / kStepsPerSecond;
    glColor4f(0.25f, 0.8f, 0.7f, alpha);
    glLineWidth(1);
    glBegin(GL_LINES);
    for (float x = x0; x < x1; x += 1) {
        const double s = start + (x - x0) * secondsPerPixel;
        const float a = peakBetween(m, s, s + secondsPerPixel) * half;
        if (a < 0.5f) continue;
        glVertex2f(x + 0.5f, mid - a);
        glVertex2f(x + 0.5f, mid + a);
    }
    glEnd();
}

void drawBeats(const MusicBeats& m, float x0, float x1, float y0, float y1, float t0, float t1) {
    const float advance = textMetricsFor(app.windowWidth, app.windowHeight).advance;
    const float pixelsPerStep = (x1 - x0) / (t1 - t0);
    const float beatGap = m.tempo > 0 ? static_cast<float>(60.0 / m.tempo * kStepsPerSecond) * pixelsPerStep : 0;
    const bool everyBeat = beatGap >= kMinBeatGap;
    const bool numbers = beatGap * kBeatsPerBar >= kBarNumberRoom;
    char number[24];
    for (std::size_t i = 0; i < m.beats.size(); i++) {
        const bool bar = i % kBeatsPerBar == 0;
        if (!bar && !everyBeat) continue;
        const float t = static_cast<float>((m.beats[i] - app.sceneMusicOffset) * kStepsPerSecond);
        if (t < t0 || t > t1) continue;
        const float x = x0 + (t - t0) * pixelsPerStep;
        if (bar) glColor4f(1, 0.6f, 0.2f, 0.95f);
        else glColor4f(0.85f, 0.85f, 0.9f, 0.6f);
        glBegin(GL_LINES);
        glVertex2f(x, bar ? y0 : y0 + (y1 - y0) * 0.6f);
        glVertex2f(x, y1);
        glEnd();
        if (bar && numbers) {
            std::snprintf(number, sizeof number, "%zu", i / kBeatsPerBar + 1);
            drawText(x + 2, y0 + 3, 0, advance, number);
        }
    }
}

}  // namespace

void drawMusicStrip(float x0, float x1, float y0, float y1, float t0, float t1, float waveAlpha) {
    const MusicBeats* m = sceneMusicBeats();
    if (!m || x1 <= x0 || t1 <= t0) return;
    drawWaveform(*m, x0, x1, y0, y1, t0, t1, waveAlpha);
    drawBeats(*m, x0, x1, y0, y1, t0, t1);
}

void drawMusicLabel(float xRight, float y, float advance) {
    const MusicBeats* m = sceneMusicBeats();
    // Music that cannot be read says so where its beats would be.
    const bool unread = !m && !musicAnalysisError().empty();
    if (!m && !unread) return;
    const std::string label = m ? musicLabel(*m, app.sceneMusicOffset) : std::string("music not readable");
    if (m) glColor4f(0.6f, 1, 0.9f, 1);
    else glColor4f(1, 0.55f, 0.45f, 1);
    drawText(xRight - advance * static_cast<float>(label.size()), y, 0, advance, label.c_str());
}
