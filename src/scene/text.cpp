// text.cpp - bitmap text and the HUD's number formats.
#include "scene/text.h"

#include <GL/glut.h>

#include <algorithm>
#include <cmath>
#include <sstream>

void drawText(float x, float y, float z, float spacing, const char* text) {
    drawText(x, y, z, spacing, text, static_cast<std::size_t>(-1));
}

namespace {

// The open text area: the scissor as it was, and the window rectangle
// (x0, y0, x1, y1) of the text drawn in it so far (empty: x0 > x1).
struct TextArea {
    bool open = false;
    GLboolean scissorWas = GL_FALSE;
    GLint boxWas[4] = {0, 0, 0, 0};
    int rect[4] = {0, 0, -1, -1};
};
TextArea area;

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

// Grows the area's scissor over a string whose characters sit at x, x +
// spacing, ... x + (n - 1) spacing. A character of the 8 x 13 font reaches
// 8 pixels right of its raster position, 13 up and 3 down; a margin more.
// Without both ends in the window, the scissor opens to the whole viewport.
void growArea(float x, float y, float z, float spacing, std::size_t n) {
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
    int* a = area.rect;
    if (a[0] > a[2]) {
        for (int k = 0; k < 4; k++) a[k] = r[k];
    } else {
        a[0] = std::min(a[0], r[0]);
        a[1] = std::min(a[1], r[1]);
        a[2] = std::max(a[2], r[2]);
        a[3] = std::max(a[3], r[3]);
    }
    // Only ever grows, so text already waiting in the cache stays inside.
    glScissor(a[0], a[1], a[2] - a[0], a[3] - a[1]);
    glEnable(GL_SCISSOR_TEST);
}

}  // namespace

void beginTextArea() {
    area.open = true;
    area.scissorWas = glIsEnabled(GL_SCISSOR_TEST);
    glGetIntegerv(GL_SCISSOR_BOX, area.boxWas);
    area.rect[0] = area.rect[1] = 0;
    area.rect[2] = area.rect[3] = -1;
}

void endTextArea() {
    if (!area.open) return;
    area.open = false;
    glScissor(area.boxWas[0], area.boxWas[1], area.boxWas[2], area.boxWas[3]);
    if (!area.scissorWas) glDisable(GL_SCISSOR_TEST);
}

void drawText(float x, float y, float z, float spacing, const char* text, std::size_t maxChars) {
    if (!text) return;
    if (area.open && !area.scissorWas) {
        std::size_t n = 0;
        while (n < maxChars && text[n] != '\0') n++;
        if (n > 0) growArea(x, y, z, spacing, n);
    }
    for (std::size_t i = 0; i < maxChars && text[i] != '\0'; i++) {
        glRasterPos3f(x + static_cast<float>(i) * spacing, y, z);
        glutBitmapCharacter(GLUT_BITMAP_8_BY_13, static_cast<unsigned char>(text[i]));
    }
}

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
