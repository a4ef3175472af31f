// text.h - bitmap text in world units, and the number formats the HUD shows.
//
// Every character is placed at its own raster position, so text laid out with
// the two spacings reshape computes (textCharSpacing, textLineSpacing) keeps a
// fixed pixel size at any window size. The font is GLUT's 8 x 13 bitmap font.
#pragma once

#include <cstddef>
#include <string>

// Draws `text` from (x, y, z), one character every `spacing` units along x, in
// the current colour. Characters whose raster position falls outside the view
// are dropped by GL. Drawn under a scissor round the string, which leaves the
// pixels as they are and saves the renderer work; a scissor the caller has on
// is kept instead. Needs a GLUT window.
void drawText(float x, float y, float z, float spacing, const char* text);
// The same for at most the first maxChars characters.
void drawText(float x, float y, float z, float spacing, const char* text, std::size_t maxChars);

// A double as a default-formatted stream would print it: six significant
// digits, no trailing zeros ("1", "0.5", "-1").
std::string floatToText(double value);

// `value` cut (toward zero) to `decimals` places in single precision, then
// formatted by floatToText: 59.87 with one decimal gives "59.8".
std::string truncatedText(float value, int decimals);
