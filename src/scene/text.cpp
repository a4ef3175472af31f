// text.cpp - bitmap text and the HUD's number formats.
#include "scene/text.h"

#include <GL/glut.h>

#include <cmath>
#include <sstream>

void drawText(float x, float y, float z, float spacing, const char* text) {
    drawText(x, y, z, spacing, text, static_cast<std::size_t>(-1));
}

void drawText(float x, float y, float z, float spacing, const char* text, std::size_t maxChars) {
    if (!text) return;
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
