// text.cpp - bitmap text and the HUD's number formats.
#include "gfx/text.h"

#include <GL/glut.h>

#include <cmath>
#include <sstream>

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

// Mesa's bitmap cache sends a line of text as a quad 512 by 32 pixels,
// nearly all of it discarded fragments; a scissor round the string keeps
// that work to the text itself, with the same pixels.
//
// Scissors a string whose characters sit at x, x + spacing, ... x + (n - 1)
// spacing to its own rectangle. A character of the 8 x 13 font reaches 8
// pixels right of its raster position, 13 up and 3 down; a margin more.
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
    if (scissored) {
        glGetIntegerv(GL_SCISSOR_BOX, box);
        scissorString(x, y, z, spacing, n);
    }
    for (std::size_t i = 0; i < maxChars && text[i] != '\0'; i++) {
        glRasterPos3f(x + static_cast<float>(i) * spacing, y, z);
        glutBitmapCharacter(GLUT_BITMAP_8_BY_13, static_cast<unsigned char>(text[i]));
    }
    if (scissored) {
        glDisable(GL_SCISSOR_TEST);
        glScissor(box[0], box[1], box[2], box[3]);
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
