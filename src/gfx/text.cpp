// text.cpp - bitmap text on its backing panel, and the HUD's number formats.
#include "gfx/text.h"

#include <GL/glut.h>

#include <cmath>
#include <sstream>

#include "gfx/text_layout.h"

void drawText(float x, float y, float z, float spacing, const char* text) {
    drawText(x, y, z, spacing, text, static_cast<std::size_t>(-1));
}

namespace {

// Where a raster position lands in the window, or false when GL drops it.
bool rasterAt(float x, float y, float z, float window[2]) {
    glRasterPos3f(x, y, z);
    GLint valid = GL_FALSE;
    glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid) return false;
    float p[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, p);
    window[0] = p[0];
    window[1] = p[1];
    return true;
}

TextMetrics gMetrics = textMetricsFor(700, 500);

void* glutFont(TextFont font) { return font == TextFont::Large ? GLUT_BITMAP_9_BY_15 : GLUT_BITMAP_8_BY_13; }

bool allBlank(const char* text, std::size_t n) {
    for (std::size_t i = 0; i < n; i++)
        if (text[i] != ' ') return false;
    return true;
}

// The backing panel: black at this opacity leaves white letters at a
// contrast of 10:1 or more over the white sky, and more over the floor.
constexpr float kPanelAlpha = 0.7f;
constexpr float kPanelPad = 2;

// Darkens the window behind the string's characters (from the raster
// positions `first` and `last`, in window pixels). Drawn at the nearest
// depth under a less-than test, so where the panels of neighbouring strings
// meet they darken once, not twice; the frame's depth clear starts afresh.
void drawPanel(const float first[2], const float last[2], const TextMetrics& m) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    // The polygon mode too: a panel is filled even in wireframe, which must
    // then hold for the next frame's figures.
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const float x0 = std::floor(std::fmin(first[0], last[0])) - kPanelPad;
    const float x1 = std::floor(std::fmax(first[0], last[0])) + m.advance + kPanelPad;
    const float y0 = std::floor(std::fmin(first[1], last[1])) - m.descent - kPanelPad;
    const float y1 = std::floor(std::fmax(first[1], last[1])) + m.ascent + kPanelPad;
    glColor4f(0, 0, 0, kPanelAlpha);
    glBegin(GL_QUADS);  // z = 1 is the nearest depth of this box
    glVertex3f(x0, y0, 1); glVertex3f(x1, y0, 1); glVertex3f(x1, y1, 1); glVertex3f(x0, y1, 1);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

// The panel behind a whole string. A string that starts outside the view
// has no panel; one that runs out of it has its panel to the edge.
void panelBehind(float x, float y, float z, float spacing, std::size_t n, const TextMetrics& m) {
    float first[2], last[2];
    if (!rasterAt(x, y, z, first)) return;
    if (!rasterAt(x + static_cast<float>(n - 1) * spacing, y, z, last)) {
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        last[0] = spacing >= 0 ? static_cast<float>(viewport[0] + viewport[2]) : static_cast<float>(viewport[0]);
        last[1] = first[1];
    }
    drawPanel(first, last, m);
}

// Mesa's bitmap cache sends a line of text as a quad 512 by 32 pixels,
// nearly all of it discarded fragments; a scissor round the string keeps
// that work to the text itself, with the same pixels.
//
// Scissors a string whose characters sit at x, x + spacing, ... x + (n - 1)
// spacing to its own rectangle. A character of either font reaches at most 9
// pixels right of its raster position, 12 up and 3 down; a margin more.
// Without both ends in the window, the whole viewport. GL draws each bitmap
// as it comes, so putting the scissor back leaves the string as drawn (a
// bitmap cache sends what it holds first).
void scissorString(float x, float y, float z, float spacing, std::size_t n) {
    float first[2], last[2];
    int r[4];
    if (rasterAt(x, y, z, first) && rasterAt(x + static_cast<float>(n - 1) * spacing, y, z, last)) {
        r[0] = static_cast<int>(std::floor(std::fmin(first[0], last[0]))) - 4;
        r[1] = static_cast<int>(std::floor(std::fmin(first[1], last[1]))) - 6;
        r[2] = static_cast<int>(std::ceil(std::fmax(first[0], last[0]))) + 12;
        r[3] = static_cast<int>(std::ceil(std::fmax(first[1], last[1]))) + 17;
    } else {
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        r[0] = viewport[0];
        r[1] = viewport[1];
        r[2] = viewport[0] + viewport[2];
        r[3] = viewport[1] + viewport[3];
    }
    glScissor(r[0], r[1], r[2] - r[0], r[3] - r[1]);
    glEnable(GL_SCISSOR_TEST);
}

}  // namespace

void drawText(float x, float y, float z, float spacing, const char* text, std::size_t maxChars) {
    if (!text) return;
    std::size_t n = 0;
    while (n < maxChars && text[n] != '\0') n++;
    if (n == 0) return;
    // A scissor of the caller's own is left as it is.
    const bool scissored = !glIsEnabled(GL_SCISSOR_TEST);
    GLint box[4];
    const TextMetrics m = textMetrics();
    if (!allBlank(text, n)) panelBehind(x, y, z, spacing, n, m);
    if (scissored) {
        glGetIntegerv(GL_SCISSOR_BOX, box);
        scissorString(x, y, z, spacing, n);
    }
    // The letters in their own colour: neither lit, nor tinted by a bound
    // texture, nor hidden by the panel's depth.
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    void* font = glutFont(m.font);
    for (std::size_t i = 0; i < n; i++) {
        glRasterPos3f(x + static_cast<float>(i) * spacing, y, z);
        glutBitmapCharacter(font, static_cast<unsigned char>(text[i]));
    }
    glPopAttrib();
    if (scissored) {
        glDisable(GL_SCISSOR_TEST);
        glScissor(box[0], box[1], box[2], box[3]);
    }
}

void setTextMetrics(const TextMetrics& metrics) { gMetrics = metrics; }
const TextMetrics& textMetrics() { return gMetrics; }

std::string floatToText(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string truncatedText(float value, int decimals) {
    const float f = std::pow(10.0f, static_cast<float>(decimals));
    // std::trunc rather than an int cast: a huge or infinite value must not
    // overflow an int.
    return floatToText(std::trunc(value * f) / f);
}
