// The display pass read back from the frame buffer: the help screen, the
// window-too-small notice, and when the head-up text shows.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "core/app_state.h"
#include "base/platform.h"
#include "scene/reshape.h"
#include "scene/scene_init.h"
#include "scene/display.h"
#include "scene/switches.h"

namespace {

int fakeNow = 0;
int fakeClock() { return fakeNow; }

struct Rgb { int r, g, b; };

class DisplayGL : public testing::Test {
protected:
    void SetUp() override {
        static GLUquadric* quadric = gluNewQuadric();  // GLU quadrics are never freed
        resetAppState();
        app.quadric = quadric;
        placeAndDressPersons();
        configureLogoBlock();
        setLightPath();
        placeCamera();
        setFixedGlState();
        fakeNow = 30000;  // past the start-up hint and the logo
        platform::setClock(fakeClock);
    }
    void TearDown() override {
        platform::resetSeams();
        resetAppState();
        glClearColor(1, 1, 1, 1);
    }

    // Renders one frame at a viewport of w x h and reads it back.
    void frame(int w, int h) {
        reshape(w, h);
        renderFrame();
        glFinish();
        width = w;
        height = h;
        pixels.assign(static_cast<size_t>(w) * h * 3, 0);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    }

    // x from the left, y from the top, as on the screen.
    Rgb at(int x, int y) const {
        const unsigned char* p = &pixels[(static_cast<size_t>(height - 1 - y) * width + x) * 3];
        return {p[0], p[1], p[2]};
    }

    // Pixels brighter than `level` in all channels within [x0, x1) x [y0, y1).
    int bright(int x0, int y0, int x1, int y1, int level = 150) const {
        int n = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++) {
                const Rgb c = at(x, y);
                if (c.r > level && c.g > level && c.b > level) n++;
            }
        return n;
    }

    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
};

}  // namespace

TEST_F(DisplayGL, TheHelpScreenIsWhiteTextOnBlack) {
    app.helpLines[0][0] = "HELP PAGE ONE, FIRST LINE";
    app.helpLines[0][26] = "THE LAST LINE IN VIEW";
    setHelpVisible(true);
    frame(700, 500);

    for (Rgb c : {at(2, 2), at(697, 2), at(2, 497), at(697, 497), at(600, 250)}) {
        EXPECT_EQ(c.r, 0);
        EXPECT_EQ(c.g, 0);
        EXPECT_EQ(c.b, 0);
    }
    // Line 0 near the top left, line 26 near the bottom.
    EXPECT_GT(bright(0, 0, 700, 60), 40);
    EXPECT_GT(bright(0, 440, 700, 500), 40);
    EXPECT_EQ(bright(0, 100, 700, 400), 0);
    // Nothing but grey levels: white text, no colour.
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const Rgb c = at(x, y);
            ASSERT_TRUE(c.r == c.g && c.g == c.b) << x << "," << y;
        }

    // Another page shows other lines.
    changeHelpPage(1);
    frame(700, 500);
    EXPECT_EQ(bright(0, 0, 700, 500), 0);
}

TEST_F(DisplayGL, ASmallWindowShowsTheNoticeInsteadOfThePage) {
    app.helpLines[0][0] = "HELP PAGE ONE, FIRST LINE";
    setHelpVisible(true);
    frame(499, 500);
    // Three short centred lines; the page's first line is not drawn.
    EXPECT_EQ(bright(0, 0, 499, 150), 0);
    const int centre = bright(150, 210, 350, 290);
    EXPECT_GT(centre, 60);
    EXPECT_EQ(bright(0, 0, 499, 500), centre);
    EXPECT_EQ(bright(0, 0, 140, 500), 0);
}

TEST_F(DisplayGL, TheHudShowsOnlyAboveFourHundredPixelsEachWay) {
    app.numPersons = 0;
    glClearColor(0, 0, 0, 1);  // dark, so the white text stands out
    frame(700, 500);
    EXPECT_GT(bright(0, 0, 300, 125), 200) << "HUD at 700 x 500";
    EXPECT_EQ(bright(400, 0, 700, 100), 0) << "only the top left";

    frame(500, 401);
    EXPECT_GT(bright(0, 0, 230, 100), 200) << "HUD at 500 x 401";
    frame(500, 400);
    EXPECT_EQ(bright(0, 0, 230, 100), 0) << "no HUD at 500 x 400";
    frame(400, 700);
    EXPECT_EQ(bright(0, 0, 200, 175), 0) << "no HUD at 400 x 700";

    // The chart's top edge lies on the HUD's first line: above it only the
    // HUD can draw.
    frame(700, 500);
    EXPECT_GT(bright(0, 0, 300, 31), 20);
    app.keyboardChartVisible = true;
    frame(700, 500);
    EXPECT_EQ(bright(0, 0, 300, 31), 0) << "the keyboard chart hides the HUD";
    EXPECT_GT(bright(0, 100, 700, 400), 100000) << "the chart covers the middle";
}

TEST_F(DisplayGL, TheHelpHintShowsForTheFirstTenSecondsOnly) {
    app.numPersons = 0;
    fakeNow = 25000;
    frame(700, 500);
    const std::vector<unsigned char> later = pixels;
    fakeNow = 5000;
    frame(700, 500);
    // Pixels of the hint's row that the hint changes.
    int changed = 0;
    for (int y = 235; y < 265; y++)
        for (int x = 0; x < 700; x++) {
            const size_t i = (static_cast<size_t>(height - 1 - y) * width + x) * 3;
            int d = 0;
            for (int c = 0; c < 3; c++) d += std::abs(pixels[i + c] - later[i + c]);
            if (d > 90) {
                changed++;
                EXPECT_TRUE(x >= 230 && x < 472) << "outside the centred hint: " << x << "," << y;
            }
        }
    EXPECT_GT(changed, 200);
}

// The timeline strip: drawn along the bottom for a figure with keyframes,
// a white tick at each keyframe's start and the yellow time marker; nothing
// of it under the keyboard chart.
TEST_F(DisplayGL, TheTimelineStripDrawsTicksAndMarkerAlongTheBottom) {
    app.numPersons = 1;
    glClearColor(0, 0, 0, 1);
    Person& p = app.persons[0];
    auto stripRows = [this] {
        return std::vector<unsigned char>(pixels.begin(), pixels.begin() + 40 * 3 * width);
    };
    frame(700, 500);
    const std::vector<unsigned char> without = stripRows();
    app.keyboardChartVisible = true;
    frame(700, 500);
    const std::vector<unsigned char> chartWithout = stripRows();
    app.keyboardChartVisible = false;

    for (int i = 0; i < 3; i++) p.pushPoseKeyFrame(20);  // ticks at 0, 20, 40 of 60
    p.setAnimate(false);
    frame(700, 500);
    // The strip spans rows 468 to 486 from the top and x from 16 to 684.
    const int rowY = 478;
    for (int x : {16 + 668 / 3, 16 + 2 * 668 / 3})
        EXPECT_GT(bright(x - 2, rowY - 3, x + 3, rowY + 3, 200), 3) << "tick at " << x;
    EXPECT_EQ(bright(100, rowY - 3, 140, rowY + 3, 200), 0) << "no tick between keyframes";
    const Rgb marker = at(16, rowY);
    EXPECT_GT(marker.r, 200) << "the marker at time 0 is yellow";
    EXPECT_LT(marker.b, 100);
    EXPECT_NE(stripRows(), without);

    app.keyboardChartVisible = true;
    frame(700, 500);
    EXPECT_EQ(stripRows(), chartWithout) << "the chart hides the strip";
}
