// Bitmap text: one raster position per character, in the current colour.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gl_probe.h"
#include "gfx/text.h"

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

namespace {

// Lines of every printable character, laid out as the head-up text lays
// its own (8.7 pixels a character, 17.3 a line), at fractional positions.
void drawSampleBlock() {
    std::string all;
    for (int c = 33; c < 127; c++) all += static_cast<char>(c);
    const float offsets[] = {0, 0.3f, 0.5f, 0.99f};
    for (int line = 0; line < 12; line++) {
        const float x = 3 + offsets[line % 4] + (line % 3) * 40.0f, y = 480 - line * 17.3f;
        const std::string text = line % 2 ? all.substr(line * 3, 40) : "gjpqy" + all.substr(line, 25) + "|";
        drawText(x, y, 0, 8.7f, text.c_str());
    }
    drawText(650.2f, 20, 0, 8.7f, "{right edge}");  // partly out of the window
}

}  // namespace

TEST(DrawText, EachStringsOwnScissorLeavesThePixelsAndIsPutBack) {
    // A scissor of the caller's over the whole window: the text drawn unclipped.
    pixelView();
    glColor3f(1, 0.5f, 0);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 700, 500);
    drawSampleBlock();
    const std::vector<unsigned char> plain = glprobe::readWindow();

    pixelView();
    glDisable(GL_SCISSOR_TEST);
    glScissor(10, 20, 30, 40);
    drawSampleBlock();
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[0], 10);
    EXPECT_EQ(box[3], 40);
    const std::vector<unsigned char> ownScissor = glprobe::readWindow();
    int lit = 0, differ = 0;
    for (size_t i = 0; i < plain.size(); i++) {
        lit += plain[i] != 0;
        differ += plain[i] != ownScissor[i];
    }
    EXPECT_GT(lit, 1000) << "the text was drawn";
    EXPECT_EQ(differ, 0);

    // A scissor the caller set stays as it was, and still clips.
    pixelView();
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 350, 500);
    drawSampleBlock();
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(box[2], 350);
    const std::vector<unsigned char> clipped = glprobe::readWindow();
    glDisable(GL_SCISSOR_TEST);
    int rightHalf = 0;
    for (int y = 0; y < 500; y++)
        for (int x = 350; x < 700; x++) rightHalf += clipped[(y * 700 + x) * 3] != 0;
    EXPECT_EQ(rightHalf, 0);
}
