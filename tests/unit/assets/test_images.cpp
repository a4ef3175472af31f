// test_images.cpp - the committed texture bitmaps under images/.
//
// Every slot's file must be a bitmap the loader reads as it is: "BM", a
// 40-byte information header, 24 bits per pixel, no compression, pixels at
// offset 54, rows without padding (width a multiple of 4) and a file size
// that matches. Beyond the format, the pictures must sit where the geometry
// that wears them expects: flat colours where a colour is named, the face on
// the front of the head sphere (s = 0.5) with hair round the back (s = 0),
// the pupil on the eye sphere's forward pole (top rows), and cloth, skin and
// floor that repeat without a visible seam.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/texture_slots.h"

namespace {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

// A bitmap file as bytes, with the fields the checks read.
struct BitmapFile {
    std::vector<uint8_t> bytes;
    int width = 0;
    int height = 0;

    uint32_t u32(size_t at) const {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
    }
    uint16_t u16(size_t at) const { return uint16_t(bytes[at] | bytes[at + 1] << 8); }

    // Texel in file order: row 0 is the first stored row, texture t = 0.
    Rgb texel(int x, int y) const {
        size_t at = 54 + (size_t(y) * width + x) * 3;
        return {double(bytes[at + 2]), double(bytes[at + 1]), double(bytes[at])};
    }

    // Mean colour over texture coordinates [s0, s1) x [t0, t1); s may run
    // past 1 or below 0, wrapping as the sphere does.
    Rgb mean(double s0, double s1, double t0, double t1) const {
        Rgb sum;
        int n = 0;
        for (int y = int(t0 * height); y < int(t1 * height); ++y) {
            for (int xs = int(std::floor(s0 * width)); xs < int(std::floor(s1 * width)); ++xs) {
                int x = ((xs % width) + width) % width;
                Rgb c = texel(x, y);
                sum.r += c.r;
                sum.g += c.g;
                sum.b += c.b;
                ++n;
            }
        }
        return {sum.r / n, sum.g / n, sum.b / n};
    }
};

std::string pathOf(int slot) {
    return std::string(PUPPETORIUM_SOURCE_DIR) + "/" + kTextureFiles[slot];
}

BitmapFile readBitmap(int slot) {
    BitmapFile f;
    std::ifstream in(pathOf(slot), std::ios::binary);
    f.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (f.bytes.size() >= 54) {
        f.width = int(f.u32(18));
        f.height = int(f.u32(22));
    }
    return f;
}

double luminance(const Rgb& c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }

double maxChannelGap(const Rgb& a, const Rgb& b) {
    return std::max({std::fabs(a.r - b.r), std::fabs(a.g - b.g), std::fabs(a.b - b.b)});
}

// Mean absolute byte difference between two rows (or two columns).
double lineGap(const BitmapFile& f, int a, int b, bool rows) {
    double sum = 0;
    int n = rows ? f.width : f.height;
    for (int i = 0; i < n; ++i) {
        Rgb p = rows ? f.texel(i, a) : f.texel(a, i);
        Rgb q = rows ? f.texel(i, b) : f.texel(b, i);
        sum += std::fabs(p.r - q.r) + std::fabs(p.g - q.g) + std::fabs(p.b - q.b);
    }
    return sum / (3.0 * n);
}

// The step across the wrap-around edge, against the typical step between
// neighbouring lines inside the picture.
void expectSeamless(const BitmapFile& f, bool rows) {
    int n = rows ? f.height : f.width;
    double inside = 0;
    for (int i = 0; i + 1 < n; ++i) inside += lineGap(f, i, i + 1, rows);
    inside /= (n - 1);
    double seam = lineGap(f, n - 1, 0, rows);
    EXPECT_LE(seam, 2.5 * inside + 2.0) << (rows ? "top/bottom" : "left/right") << " edges do not meet";
}

}  // namespace

TEST(Images, EverySlotIsAnUncompressed24BitBitmapTheLoaderReadsAsItIs) {
    for (int slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot) {
        SCOPED_TRACE(kTextureFiles[slot]);
        BitmapFile f = readBitmap(slot);
        ASSERT_GE(f.bytes.size(), 54u) << "missing or truncated";
        EXPECT_EQ(f.bytes[0], 'B');
        EXPECT_EQ(f.bytes[1], 'M');
        EXPECT_EQ(f.u32(2), f.bytes.size()) << "file size field";
        EXPECT_EQ(f.u32(10), 54u) << "pixel data offset";
        EXPECT_EQ(f.u32(14), 40u) << "information header size";
        EXPECT_EQ(f.u16(26), 1) << "planes";
        EXPECT_EQ(f.u16(28), 24) << "bits per pixel";
        EXPECT_EQ(f.u32(30), 0u) << "compression";
        ASSERT_GT(f.width, 0);
        ASSERT_GT(f.height, 0) << "rows must be stored bottom-up";
        EXPECT_EQ(f.width % 4, 0) << "rows would need padding";
        EXPECT_EQ(f.bytes.size(), 54u + size_t(f.width) * f.height * 3) << "pixel data size";
        EXPECT_LE(f.width, 1024);
        EXPECT_LE(f.height, 1024);
    }
}

TEST(Images, ColourSlotsAreFlatInTheColourTheyAreNamedAfter) {
    struct Expect {
        int slot;
        const char* name;
        bool (*matches)(const Rgb&);
    };
    const Expect expects[] = {
        {TEX_COLOR_WHITE, "white", [](const Rgb& c) { return c.r == 255 && c.g == 255 && c.b == 255; }},
        {TEX_COLOR_BLACK, "black", [](const Rgb& c) { return c.r == 0 && c.g == 0 && c.b == 0; }},
        {TEX_COLOR_YELLOW, "yellow", [](const Rgb& c) { return c.r >= 220 && c.g >= 200 && c.b <= 60; }},
        {TEX_COLOR_SILVER, "silver",
         [](const Rgb& c) { return c.r == c.g && c.g == c.b && c.r >= 160 && c.r <= 215; }},
    };
    for (const Expect& e : expects) {
        SCOPED_TRACE(e.name);
        BitmapFile f = readBitmap(e.slot);
        ASSERT_GT(f.width * f.height, 0);
        Rgb first = f.texel(0, 0);
        EXPECT_TRUE(e.matches(first)) << first.r << "," << first.g << "," << first.b;
        int off = 0;
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x)
                if (maxChannelGap(f.texel(x, y), first) != 0) ++off;
        EXPECT_EQ(off, 0) << "pixels that differ from the first";
    }
}

TEST(Images, FacesLookForwardFromTheFrontOfTheHeadSphereWithHairRoundTheBack) {
    const int faces[] = {TEX_SKIN_LIGHT_FACE_MALE, TEX_SKIN_DARK_FACE_MALE, TEX_SKIN_LIGHT_FACE_FEMALE,
                         TEX_SKIN_DARK_FACE_FEMALE};
    for (int slot : faces) {
        SCOPED_TRACE(kTextureFiles[slot]);
        // The dark faces are the odd slots, as the person's face choice assumes.
        bool dark = (slot - TEX_SKIN_LIGHT_FACE_MALE) % 2 == 1;
        BitmapFile skin = readBitmap(dark ? TEX_SKIN_DARK : TEX_SKIN_LIGHT);
        BitmapFile face = readBitmap(slot);
        ASSERT_GT(face.width * face.height, 0);
        Rgb skinMean = skin.mean(0, 1, 0, 1);
        // Between the eyes, just above the head's middle: bare skin.
        Rgb front = face.mean(0.49, 0.51, 0.50, 0.53);
        EXPECT_LT(maxChannelGap(front, skinMean), 25) << "front of the head is not skin";
        // The back of the head at the same height: hair.
        Rgb back = face.mean(-0.03, 0.03, 0.55, 0.65);
        EXPECT_GT(maxChannelGap(back, skinMean), 40) << "back of the head is not hair";
        // The mouth sits below the middle at the front: darker or redder than skin.
        Rgb mouth = face.mean(0.495, 0.505, 0.32, 0.35);
        EXPECT_GT(maxChannelGap(mouth, skinMean), 15) << "no mouth below the nose";
    }
}

TEST(Images, EyeHasItsPupilOnTheForwardPoleAndWhiteBehind) {
    BitmapFile f = readBitmap(TEX_EYE);
    ASSERT_GT(f.width * f.height, 0);
    EXPECT_LT(luminance(f.mean(0, 1, 0.95, 1.0)), 40) << "pupil";
    Rgb iris = f.mean(0, 1, 0.80, 0.86);
    EXPECT_LT(luminance(iris), 200);
    EXPECT_GT(luminance(iris), 40);
    EXPECT_GT(luminance(f.mean(0, 1, 0.55, 0.75)), 200) << "white of the eye";
}

TEST(Images, FloorIsBrightWoodThatRepeatsWithoutASeam) {
    BitmapFile f = readBitmap(TEX_FLOOR_WOODEN);
    ASSERT_GT(f.width * f.height, 0);
    Rgb m = f.mean(0, 1, 0, 1);
    // Drawn under a 0.5 grey, so the picture itself must be light; wood is
    // warm: red over green over blue.
    EXPECT_GT(luminance(m), 140);
    EXPECT_GT(m.r, m.g);
    EXPECT_GT(m.g, m.b);
    expectSeamless(f, true);
}

TEST(Images, ClothAndSkinRepeatWithoutASeamAroundTheLimbs) {
    const int slots[] = {TEX_SKIN_LIGHT, TEX_SKIN_DARK, TEX_FABRIC_BLACK, TEX_FABRIC_RED, TEX_FABRIC_GREY,
                         TEX_LOGO_SIDES};
    for (int slot : slots) {
        SCOPED_TRACE(kTextureFiles[slot]);
        BitmapFile f = readBitmap(slot);
        ASSERT_GT(f.width * f.height, 0);
        expectSeamless(f, false);
        if (slot != TEX_LOGO_SIDES) expectSeamless(f, true);
    }
    // The sleeve wraps round the arm: its left and right edges meet too.
    BitmapFile cuff = readBitmap(TEX_FABRIC_BLACK_SUIT_CUFF);
    expectSeamless(cuff, false);
}

TEST(Images, SuitSleeveShowsAWhiteCuffOnlyAtTheElbowEnd) {
    BitmapFile f = readBitmap(TEX_FABRIC_BLACK_SUIT_CUFF);
    ASSERT_GT(f.width * f.height, 0);
    // t = 1 is the elbow end of the upper arm; the shoulder half stays dark,
    // because the shoulder ball shows that part of the picture.
    EXPECT_LT(luminance(f.mean(0, 1, 0.0, 0.66)), 70);
    EXPECT_GT(luminance(f.mean(0, 1, 0.72, 0.78)), 200);
}
