// Texture loading into GL: texels as read back from the GL, the texture's
// parameters, the name counter across failed loads and the console lines.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/bitmap_bytes.h"
#include "core/app_state.h"
#include "gfx/texture_loader.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::string tempBitmap(const std::string& name, const Bytes& bytes) {
    const std::string path = ::testing::TempDir() + "/puppetorium_gl_" + name;
    EXPECT_TRUE(testbmp::writeFile(path, bytes));
    return path;
}

Bytes levelTexels(GLuint name, int level, int* w, int* h) {
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, h);
    Bytes texels(static_cast<size_t>(*w) * *h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

}  // namespace

TEST(TextureLoader, FourByOneUploadsItsTexelsWithRepeatAndMipmapFilters) {
    resetAppState();
    const std::string path = tempBitmap("4x1.bmp", testbmp::encode(4, 1, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    testing::internal::CaptureStdout();
    const int name = loadTexture(path.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), ">> Loaded texture '" + path + "'\n");
    ASSERT_EQ(name, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    int w = 0, h = 0;
    const Bytes texels = levelTexels(name, 0, &w, &h);
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(texels, (Bytes{0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 255, 255}));

    GLint v = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &v);
    EXPECT_EQ(v, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &v);
    EXPECT_EQ(v, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &v);
    EXPECT_EQ(v, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &v);
    EXPECT_EQ(v, GL_LINEAR_MIPMAP_NEAREST);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &v);
    EXPECT_EQ(v, GL_REPLACE);
    // The mipmap chain reaches 1 x 1.
    levelTexels(name, 2, &w, &h);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

TEST(TextureLoader, PaddedAndOddSizedPicturesBecomeWholePowerOfTwoTextures) {
    resetAppState();
    // 3 x 2 with junk in the row padding: every texel must still be the colour.
    Bytes bgr;
    for (int i = 0; i < 6; i++) bgr.insert(bgr.end(), {30, 20, 10});
    const std::string padded = tempBitmap("3x2.bmp", testbmp::encode(3, 2, bgr, 0, 0xEE));
    const std::string odd = tempBitmap("100x60.bmp", testbmp::solid(100, 60, 200, 100, 50));

    int w = 0, h = 0;
    testing::internal::CaptureStdout();
    const int first = loadTexture(padded.c_str());
    const int second = loadTexture(odd.c_str());
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(first, 0);
    Bytes texels = levelTexels(first, 0, &w, &h);
    ASSERT_FALSE(texels.empty());
    for (size_t i = 0; i < texels.size(); i += 4)
        EXPECT_EQ(Bytes(texels.begin() + i, texels.begin() + i + 4), (Bytes{10, 20, 30, 255})) << i;

    ASSERT_EQ(second, 1);
    texels = levelTexels(second, 0, &w, &h);
    EXPECT_EQ(w & (w - 1), 0) << w;  // rescaled to powers of two
    EXPECT_EQ(h & (h - 1), 0) << h;
    EXPECT_EQ(Bytes(texels.begin(), texels.begin() + 4), (Bytes{200, 100, 50, 255}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

TEST(TextureLoader, NamesFollowCallOrderAcrossMissingAndRefusedFiles) {
    resetAppState();
    const std::string a = tempBitmap("a.bmp", testbmp::solid(4, 4, 255, 0, 0));
    const std::string b = tempBitmap("b.bmp", testbmp::solid(4, 4, 0, 255, 0));
    const std::string missing = ::testing::TempDir() + "/puppetorium_gl_missing.bmp";
    Bytes notBitmap = testbmp::solid(4, 4, 0, 0, 255);
    notBitmap[0] = 'X';
    const std::string bad = tempBitmap("bad.bmp", notBitmap);
    Bytes deep = testbmp::solid(4, 4, 0, 0, 255);
    testbmp::put16(deep, 28, 32);
    const std::string deepPath = tempBitmap("deep.bmp", deep);
    const GLuint used[] = {0, 1, 2, 3, 4, 5};  // earlier tests may have filled them
    glDeleteTextures(6, used);

    testing::internal::CaptureStdout();
    const int r0 = loadTexture(a.c_str());
    const int r1 = loadTexture(missing.c_str());
    const int r2 = loadTexture(b.c_str());
    const int r3 = loadTexture(bad.c_str());
    const int r4 = loadTexture(deepPath.c_str());
    const int r5 = loadTexture(a.c_str());
    const std::string out = testing::internal::GetCapturedStdout();

    EXPECT_EQ(r0, 0);
    EXPECT_EQ(r1, -1);
    EXPECT_EQ(r2, 2);
    EXPECT_EQ(r3, -1);
    EXPECT_EQ(r4, -1);
    EXPECT_EQ(r5, 5);
    EXPECT_EQ(app.nextTextureName, 5);
    EXPECT_EQ(out, ">> Loaded texture '" + a + "'\n" +
                       ">> ERROR: '" + missing + "' could not be opened\n" +
                       ">> Loaded texture '" + b + "'\n" +
                       ">> ERROR: '" + bad + "' is not a bitmap (no BM signature)\n" +
                       ">> ERROR: '" + deepPath + "' is not 24 bits per pixel (it has 32)\n" +
                       ">> Loaded texture '" + a + "'\n");

    // The refused names hold no picture; the loaded ones do.
    int w = 0, h = 0;
    EXPECT_EQ(levelTexels(2, 0, &w, &h)[1], 255);
    levelTexels(3, 0, &w, &h);
    EXPECT_EQ(w, 0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}
