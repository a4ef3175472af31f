// Text and the keyboard chart read back at the window sizes people use,
// landscape and portrait: the head-up text stands out from the floor and the
// sky, the chart lies whole inside the window, and a help page's letters
// stand one glyph advance apart with all 27 lines in the window.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "base/platform.h"
#include "scene/reshape.h"
#include "scene/scene_init.h"
#include "export/offscreen_gl.h"
#include "scene/display.h"
#include "scene/switches.h"
#include "gfx/text_layout.h"
#include "gfx/texture_loader.h"

namespace {

int fakeNow = 0;
int fakeClock() { return fakeNow; }

struct Size { int w, h; };
const Size kSizes[] = {{700, 500}, {1280, 720}, {1920, 1080}, {600, 900}};

struct Rgb { int r, g, b; };

// WCAG relative luminance of an sRGB colour.
double luminance(const Rgb& c) {
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
}

double contrast(const Rgb& a, const Rgb& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A frame of w x h read back with y counted from the top, as on the screen.
struct Frame {
    int w = 0, h = 0;
    std::vector<std::uint8_t> rgba;
    Rgb at(int x, int y) const {
        const std::uint8_t* p = &rgba[(static_cast<size_t>(h - 1 - y) * w + x) * 4];
        return {p[0], p[1], p[2]};
    }
    bool differs(const Frame& o, int x, int y) const {
        const Rgb a = at(x, y), b = o.at(x, y);
        return a.r != b.r || a.g != b.g || a.b != b.b;
    }
};

class TextScreenGL : public testing::Test {
protected:
    void SetUp() override {
        static GLUquadric* quadric = gluNewQuadric();
        resetAppState();
        app.quadric = quadric;
        placeAndDressPersons();
        configureLogoBlock();
        setLightPath();
        placeCamera();
        // The real wood, and the chart's picture.
        const std::string images = std::string(PUPPETORIUM_SOURCE_DIR) + "/images/";
        for (auto [slot, file] : {std::pair<int, const char*>{TEX_COLOR_WHITE, "color_white.bmp"},
                                  {TEX_FLOOR_WOODEN, "floor_wooden.bmp"},
                                  {TEX_KEYBOARD_CHART, "keyboard_chart.bmp"}})
            app.textures[slot] = loadTexture((images + file).c_str());
        setFixedGlState();
        glEnable(GL_TEXTURE_2D);
        app.numPersons = 0;
        app.persons[0].setPosition(1000, 0, 0);  // its cone out of sight
        app.showTargetMarker = false;
        app.sceneClock = 10000;  // the logo sunk through the floor
        fakeNow = 30000;
        platform::setClock(fakeClock);
    }
    void TearDown() override {
        platform::resetSeams();
        resetAppState();
        glClearColor(1, 1, 1, 1);
    }

    // The editor's frame (with chart, HUD and help as set), or the film's
    // frame of the same scene without any of them.
    // The light takes its place from the frame before, as in the running
    // program, so one frame is drawn first to set it.
    Frame render(Size s, bool film = false) {
        renderOnce(s, film);
        return renderOnce(s, film);
    }
    Frame renderOnce(Size s, bool film) {
        FrameTarget target;
        std::string error;
        EXPECT_TRUE(target.create(s.w, s.h, error)) << error;
        target.bind();
        reshape(s.w, s.h);
        const CameraPlace keep = app.camera.place();
        if (film) renderFilmFrame(); else renderFrame();
        app.camera.setEye(keep.eye[0], keep.eye[1], keep.eye[2]);  // following may not move it between frames
        app.camera.setTarget(keep.target);
        Frame f;
        f.w = s.w;
        f.h = s.h;
        target.readRgbaBottomUp(f.rgba);
        target.unbind();
        return f;
    }
};

}  // namespace

// Every white letter pixel of the head-up text stands against every pixel
// next to it that the text drew (its panel) at a contrast ratio of 4.5:1 or
// more, the figure WCAG asks of body text: over the wooden floor and over
// the white sky.
TEST_F(TextScreenGL, TheHeadUpTextReadsOverTheFloorAndTheSkyAtEverySize) {
    struct View { const char* name; float eye[3], target[3]; };
    const View views[] = {{"floor", {0, 40, 2}, {0, -5, 0}}, {"sky", {0, -3, 30}, {0, 60, 0}}};
    for (const Size& s : kSizes) {
        for (const View& v : views) {
            SCOPED_TRACE(testing::Message() << s.w << " x " << s.h << " over the " << v.name);
            app.camera.setEye(v.eye[0], v.eye[1], v.eye[2]);
            app.camera.setTarget(v.target);
            const Frame shown = render(s);
            const Frame bare = render(s, true);
            const HudLayout l = hudLayout(static_cast<float>(s.w), static_cast<float>(s.h));
            const int x0 = static_cast<int>(l.x) - 14, x1 = static_cast<int>(l.x + 36 * l.metrics.advance) + 14;
            const int y0 = s.h - static_cast<int>(l.firstBaseline + l.metrics.ascent) - 14;
            const int y1 = s.h - static_cast<int>(l.firstBaseline - 12 * l.metrics.lineHeight) + 16;

            // What lies under the text is what this case is about.
            double under = 0;
            for (int y = y0; y < y1; y++)
                for (int x = x0; x < x1; x++) under += luminance(bare.at(x, y));
            under /= (x1 - x0) * (y1 - y0);
            if (v.name[0] == 's') EXPECT_GT(under, 0.85) << "the sky is behind the text";
            else EXPECT_LT(under, 0.6) << "the wooden floor is behind the text";

            // Panel pixels: what the text darkened. A letter pixel is a white
            // one with panel on all four sides of it, near by (white over the
            // white sky is the same pixel with or without the text).
            auto white = [](const Rgb& c) { return c.r > 250 && c.g > 250 && c.b > 250; };
            auto panel = [&](int x, int y) { return !white(shown.at(x, y)) && shown.differs(bare, x, y); };
            auto panelWithin = [&](int x, int y, int dx, int dy) {
                for (int k = 1; k <= 12; k++)
                    if (panel(x + k * dx, y + k * dy)) return true;
                return false;
            };
            int glyphs = 0;
            double worst = 100;
            for (int y = y0 + 12; y < y1 - 12; y++)
                for (int x = x0 + 12; x < x1 - 12; x++) {
                    const Rgb c = shown.at(x, y);
                    if (!white(c) || !panelWithin(x, y, 1, 0) || !panelWithin(x, y, -1, 0) ||
                        !panelWithin(x, y, 0, 1) || !panelWithin(x, y, 0, -1))
                        continue;
                    glyphs++;
                    for (int dy = -1; dy <= 1; dy++)
                        for (int dx = -1; dx <= 1; dx++) {
                            const Rgb n = shown.at(x + dx, y + dy);
                            if (!white(n)) worst = std::min(worst, contrast(c, n));
                        }
                }
            EXPECT_GT(glyphs, 600) << "white letters drawn";
            EXPECT_GE(worst, 4.5);
        }
    }
}

// The chart is the only thing that differs from the bare scene (the head-up
// text hides under it): its picture keeps clear of all four window edges,
// fills the window one way or the other and keeps its 8 : 5 proportions.
TEST_F(TextScreenGL, TheKeyboardChartsFourCornersLieInsideTheWindowAtEverySize) {
    app.camera.setEye(0, 40, 2);  // floor all round, so the white chart stands out
    app.camera.setTarget(0, -5, 0);
    app.keyboardChartVisible = true;
    for (const Size& s : kSizes) {
        SCOPED_TRACE(testing::Message() << s.w << " x " << s.h);
        const Frame shown = render(s);
        const Frame bare = render(s, true);
        int left = s.w, right = -1, top = s.h, bottom = -1;
        for (int y = 0; y < s.h; y++)
            for (int x = 0; x < s.w; x++)
                if (shown.differs(bare, x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        ASSERT_GE(right, 0) << "a chart was drawn";
        EXPECT_GT(left, 0);
        EXPECT_GT(top, 0);
        EXPECT_LT(right, s.w - 1);
        EXPECT_LT(bottom, s.h - 1);
        const float w = static_cast<float>(right - left + 1), h = static_cast<float>(bottom - top + 1);
        EXPECT_NEAR(w / h, 1.6f, 0.02f);
        EXPECT_TRUE(w > 0.97f * s.w || h > 0.85f * s.h) << w << " x " << h << " is not as large as fits";
    }
}

// A line of bars shows each bar exactly one glyph advance after the last,
// at every size; the page's first and 27th lines are whole and inside the
// window, the 28th is not drawn.
TEST_F(TextScreenGL, HelpLettersStandOneAdvanceApartAndTwentySevenLinesFit) {
    const std::string bars(HELP_PAGE_COLUMNS, '|');
    app.helpLines[0][0] = bars;
    app.helpLines[0][HELP_VISIBLE_LINES - 1] = bars;
    app.helpLines[0][HELP_VISIBLE_LINES] = bars;
    setHelpVisible(true);
    for (const Size& s : kSizes) {
        SCOPED_TRACE(testing::Message() << s.w << " x " << s.h);
        const Frame f = render(s);
        const int advance = static_cast<int>(textMetricsFor(static_cast<float>(s.w), static_cast<float>(s.h)).advance);
        // Lit columns and rows in the upper and the lower half.
        for (int half = 0; half < 2; half++) {
            const int ya = half ? s.h / 2 : 0, yb = half ? s.h : s.h / 2;
            std::vector<bool> lit(s.w, false);
            int rowTop = s.h, rowBottom = -1;
            for (int y = ya; y < yb; y++)
                for (int x = 0; x < s.w; x++)
                    if (f.at(x, y).r > 128) {
                        lit[x] = true;
                        rowTop = std::min(rowTop, y);
                        rowBottom = std::max(rowBottom, y);
                    }
            std::vector<int> starts;
            for (int x = 0; x < s.w; x++)
                if (lit[x] && (x == 0 || !lit[x - 1])) starts.push_back(x);
            ASSERT_EQ(starts.size(), bars.size()) << (half ? "the 27th line" : "the first line") << " is whole";
            for (size_t i = 1; i < starts.size(); i++) ASSERT_EQ(starts[i] - starts[i - 1], advance) << "bar " << i;
            EXPECT_GT(rowTop, 0);
            EXPECT_LT(rowBottom, s.h - 1);
            EXPECT_LE(rowBottom - rowTop, 16) << "one line of bars in this half, not two";
        }
    }
}
