// text_layout.cpp - window-pixel layout of the head-up text, help pages,
// hint and keyboard chart.
#include "gfx/text_layout.h"

#include <algorithm>
#include <cmath>


namespace {

// Line pitch a third over the font's height: the 8 x 13 font's 17.3 pixels
// are what the head-up text has always used.
constexpr TextMetrics kSmall = {TextFont::Small, 8, 11, 2, 13 * 4 / 3.0f};
constexpr TextMetrics kLarge = {TextFont::Large, 9, 12, 3, 20};

// The head-up text's corner: its first line's letters start 22 pixels below
// the top, 16 from the left.
constexpr float kHudLeft = 16, kHudTop = 22;

}  // namespace

TextMetrics textMetricsFor(float width, float height) {
    return width >= 1200 && height >= 900 ? kLarge : kSmall;
}

HudLayout hudLayout(float width, float height) {
    const TextMetrics m = textMetricsFor(width, height);
    return {m, kHudLeft, kHudLeft + 12 * m.advance, std::floor(height - kHudTop - m.ascent)};
}

bool hudShown(float width, float height) { return width > 400 && height > 400; }

bool helpFitsWindow(float width, float height) { return width >= 500 && height >= 500; }

// The page's widest line and its visible lines make one block in the middle
// of the window; whole pixels keep every line's letters on the same columns.
HelpLayout helpLayout(float width, float height) {
    const TextMetrics m = textMetricsFor(width, height);
    const float blockWidth = HELP_PAGE_COLUMNS * m.advance;
    const float blockHeight = (HELP_VISIBLE_LINES - 1) * m.lineHeight + m.ascent + m.descent;
    HelpLayout l;
    l.metrics = m;
    l.x = std::floor(std::max(0.0f, (width - blockWidth) / 2));
    l.firstBaseline = std::floor(height - std::max(0.0f, (height - blockHeight) / 2) - m.ascent);
    const float chars = std::ceil((width - l.x) / m.advance);
    l.visibleChars = chars > 0 ? static_cast<int>(std::min<float>(chars, HELP_MAX_LINE_CHARS)) : 0;
    return l;
}

float centredTextX(float width, const TextMetrics& m, int chars) {
    return std::floor((width - static_cast<float>(chars) * m.advance) / 2);
}

float centredBaseline(float height, const TextMetrics& m, int line) {
    return std::floor(height / 2 + static_cast<float>(line) * m.lineHeight);
}

PixelRect keyboardChartRect(float width, float height) {
    const float h = std::min(height * 7 / 8, width * 0.99f / KEYBOARD_CHART_ASPECT);
    const float w = h * KEYBOARD_CHART_ASPECT;
    const float left = (width - w) / 2, bottom = (height - h) / 2;
    return {left, bottom, left + w, bottom + h};
}
