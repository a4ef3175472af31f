// text_layout.h - where the text drawn over the window goes, in window pixels.
//
// GL-free, so every window size can be checked without one. Pixels count
// from the bottom-left corner, as GL counts them; a baseline is the row a
// character's raster position sits on. Letters stand exactly one glyph
// advance apart at every size; only the font grows, at large windows.
//
//   textMetricsFor      the bitmap font and its advance, height and line pitch
//   hudLayout           the head-up text at the top left
//   helpLayout          the help page, centred; the "too small" rule
//   hintBaseline, ...   the start hint, centred
//   keyboardChartRect   the chart, as large as fits, in its own proportions
#pragma once

// The two fixed-pitch GLUT bitmap fonts: 8 x 13 and, at large windows, 9 x 15.
enum class TextFont { Small, Large };

struct TextMetrics {
    TextFont font;
    float advance;     // pixels from one character to the next
    float ascent;      // pixels a character reaches above its baseline
    float descent;     // ... and below it
    float lineHeight;  // pixels from one line's baseline to the next
};

// The font for a window of this size: the larger one once the window is at
// least 1200 x 900, where the small one reads as fine print.
TextMetrics textMetricsFor(float width, float height);

// The head-up text: labels from `x`, values from `valueX` (twelve characters
// on), line i's baseline at firstBaseline - i * lineHeight.
struct HudLayout {
    TextMetrics metrics;
    float x, valueX, firstBaseline;
};
HudLayout hudLayout(float width, float height);
// Whether the head-up text shows at all: not in windows of 400 pixels or
// less either way.
bool hudShown(float width, float height);

// A help page: line i's baseline at firstBaseline - i * lineHeight, from `x`.
// Only the lines a page shows (HELP_VISIBLE_LINES of them) are laid out; at
// most `visibleChars` characters of a line reach into the window.
constexpr int HELP_VISIBLE_LINES = 27;
constexpr int HELP_PAGE_COLUMNS = 54;  // the widest line the page is centred for
// Longest help line kept: about what the widest window shows from the
// page's left edge (an X window is at most 32767 pixels wide, the page is
// centred for 54 characters of 8 or 9 pixels).
constexpr int HELP_MAX_LINE_CHARS = 2000;
struct HelpLayout {
    TextMetrics metrics;
    float x, firstBaseline;
    int visibleChars;
};
HelpLayout helpLayout(float width, float height);
// Windows below 500 pixels either way show a notice instead of the page.
bool helpFitsWindow(float width, float height);

// The start hint and the "too small" notice: `chars` characters centred
// across the window, on a baseline `line` lines above the middle one.
float centredTextX(float width, const TextMetrics& m, int chars);
float centredBaseline(float height, const TextMetrics& m, int line);

// The keyboard chart's picture: 8 by 5, centred, as large as fits within
// seven eighths of the window's height and all but a margin of its width.
struct PixelRect {
    float left, bottom, right, top;
};
constexpr float KEYBOARD_CHART_ASPECT = 8.0f / 5.0f;
PixelRect keyboardChartRect(float width, float height);
