// text.h - bitmap text, and the number formats the HUD shows.
//
// Every character is placed at its own raster position in the current
// coordinates; the callers lay text out in window pixels (scene/overlay.h,
// scene/text_layout.h), one glyph advance apart. The font is GLUT's 8 x 13
// bitmap font, or its 9 x 15 one at large windows (textMetricsFor).
//
// Every string is drawn over a dark translucent panel, so it reads over the
// floor, the sky and the figures alike; the panels of neighbouring strings
// darken once where they meet.
#pragma once

#include <cstddef>
#include <string>

#include "gfx/text_layout.h"

// Draws `text` from (x, y, z), one character every `spacing` units along x, in
// the current colour (unlit, untextured, over everything), on its panel.
// Characters whose raster position falls outside the view are dropped by GL. Drawn under a scissor round the string, which leaves the
// pixels as they are and saves the renderer work; a scissor the caller has on
// is kept instead. Needs a GLUT window.
void drawText(float x, float y, float z, float spacing, const char* text);
// The same for at most the first maxChars characters.
void drawText(float x, float y, float z, float spacing, const char* text, std::size_t maxChars);

// The font and pitches text is drawn with: set by reshape for the window's
// size (textMetricsFor), read by drawText and by whoever lays text out.
void setTextMetrics(const TextMetrics& metrics);
const TextMetrics& textMetrics();

// A double as a default-formatted stream would print it: six significant
// digits, no trailing zeros ("1", "0.5", "-1").
std::string floatToText(double value);

// `value` cut (toward zero) to `decimals` places in single precision, then
// formatted by floatToText: 59.87 with one decimal gives "59.8".
std::string truncatedText(float value, int decimals);
