// Where text and the keyboard chart go at any window size, from the smallest
// window that shows the head-up text to a 4K screen, landscape and portrait.
#include <gtest/gtest.h>

#include "gfx/text_layout.h"

namespace {

struct Size { float w, h; };
const Size kSizes[] = {{401, 401}, {400, 300}, {500, 500}, {700, 500}, {600, 900}, {1280, 720},
                       {1280, 1024}, {1920, 1080}, {1080, 1920}, {3840, 2160}, {2160, 3840}};

}  // namespace

TEST(TextLayout, TheChartKeepsItsProportionsAndStaysInsideEveryWindow) {
    for (const Size& s : kSizes) {
        SCOPED_TRACE(testing::Message() << s.w << " x " << s.h);
        const PixelRect r = keyboardChartRect(s.w, s.h);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.bottom, 0);
        EXPECT_LE(r.right, s.w);
        EXPECT_LE(r.top, s.h);
        EXPECT_NEAR((r.right - r.left) / (r.top - r.bottom), 1.6f, 1e-4f);
        EXPECT_NEAR(r.left + r.right, s.w, 1e-3f) << "centred across";
        EXPECT_NEAR(r.bottom + r.top, s.h, 1e-3f) << "centred up and down";
        // As large as fits: it touches the margin of one side or the other.
        EXPECT_TRUE(r.right - r.left > 0.98f * s.w || r.top - r.bottom > 0.86f * s.h);
    }
    // At the start size it keeps the picture the program has always shown.
    const PixelRect start = keyboardChartRect(700, 500);
    EXPECT_NEAR(start.right - start.left, 693, 1);
    EXPECT_NEAR(start.top - start.bottom, 433, 1);
}

TEST(TextLayout, AHelpPageFitsEveryWindowThatShowsIt) {
    int large = 0;
    for (const Size& s : kSizes) {
        SCOPED_TRACE(testing::Message() << s.w << " x " << s.h);
        EXPECT_EQ(helpFitsWindow(s.w, s.h), s.w >= 500 && s.h >= 500);
        if (!helpFitsWindow(s.w, s.h)) continue;
        const HelpLayout l = helpLayout(s.w, s.h);
        const TextMetrics& m = l.metrics;
        const float lastBaseline = l.firstBaseline - (HELP_VISIBLE_LINES - 1) * m.lineHeight;
        EXPECT_LE(l.firstBaseline + m.ascent, s.h) << "the first line's tops";
        EXPECT_GE(lastBaseline - m.descent, 0) << "the 27th line's descenders";
        EXPECT_GE(l.x, 0);
        EXPECT_LE(l.x + HELP_PAGE_COLUMNS * m.advance, s.w) << "54 characters a line";
        EXPECT_GE(l.visibleChars, HELP_PAGE_COLUMNS);
        EXPECT_GT(m.lineHeight, m.ascent + m.descent) << "lines neither touch nor overlap";
        large += m.font == TextFont::Large;
    }
    EXPECT_EQ(textMetricsFor(700, 500).advance, 8);
    EXPECT_EQ(textMetricsFor(1920, 1080).advance, 9);
    EXPECT_GT(large, 0) << "large windows get the larger font";
}

TEST(TextLayout, TheHeadUpTextStaysInTheTopLeftOfEveryWindowThatShowsIt) {
    for (const Size& s : kSizes) {
        SCOPED_TRACE(testing::Message() << s.w << " x " << s.h);
        EXPECT_EQ(hudShown(s.w, s.h), s.w > 400 && s.h > 400);
        if (!hudShown(s.w, s.h)) continue;
        const HudLayout l = hudLayout(s.w, s.h);
        const TextMetrics& m = l.metrics;
        // Thirteen lines, the longest 36 characters ("view mode:" and the
        // longest camera mode name), clear of the timeline and the message
        // in the bottom quarter.
        EXPECT_LE(l.firstBaseline + m.ascent, s.h - 10);
        EXPECT_GE(l.firstBaseline - 12 * m.lineHeight - m.descent, s.h / 4);
        EXPECT_LE(l.x + 36 * m.advance, s.w);
        EXPECT_EQ(l.valueX - l.x, 12 * m.advance);
    }
}
