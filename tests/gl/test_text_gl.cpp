// Bitmap text: one raster position per character, in the current colour.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "scene/text.h"

namespace {

// A 700 x 500 pixel-exact orthographic view: world units are pixels.
void pixelView() {
    glViewport(0, 0, 700, 500);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 700, 0, 500, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

// Columns 0..699 that hold any red pixel between rows y0 and y1.
std::vector<bool> redColumns(int y0, int y1) {
    std::vector<unsigned char> px(700 * (y1 - y0) * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, y0, 700, y1 - y0, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    std::vector<bool> cols(700, false);
    for (int y = 0; y < y1 - y0; y++)
        for (int x = 0; x < 700; x++) {
            const unsigned char* p = &px[(y * 700 + x) * 3];
            if (p[0] > 200 && p[1] < 50 && p[2] < 50) cols[x] = true;
        }
    return cols;
}

}  // namespace

TEST(DrawText, EachCharacterStandsAtItsOwnRasterPosition) {
    pixelView();
    glColor3f(1, 0, 0);
    // Three bars far apart: characters at 100, 300 and 500.
    drawText(100, 200, 0, 200, "|||");
    glFinish();
    const std::vector<bool> cols = redColumns(195, 220);
    auto anyIn = [&](int from, int to) {
        for (int x = from; x < to; x++)
            if (cols[x]) return true;
        return false;
    };
    EXPECT_TRUE(anyIn(100, 108));
    EXPECT_TRUE(anyIn(300, 308));
    EXPECT_TRUE(anyIn(500, 508));  // the last of n at x + (n - 1) * spacing
    EXPECT_FALSE(anyIn(110, 298));
    EXPECT_FALSE(anyIn(310, 498));
    EXPECT_FALSE(anyIn(510, 700));
}

TEST(DrawText, BlanksAndAnEmptyTextDrawNothing) {
    pixelView();
    glColor3f(1, 0, 0);
    drawText(100, 200, 0, 8, "    ");
    drawText(100, 200, 0, 8, "");
    drawText(100, 200, 0, 8, nullptr);
    glFinish();
    const std::vector<bool> cols = redColumns(190, 220);
    for (int x = 0; x < 700; x++) ASSERT_FALSE(cols[x]) << "column " << x;
}
