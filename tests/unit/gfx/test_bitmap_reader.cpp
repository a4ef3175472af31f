// The bitmap reader: texel order and colour order, row padding, the
// pixel-data offset, top-down files, and a clean refusal of every file it
// cannot read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "../../support/bitmap_bytes.h"
#include "gfx/bitmap_reader.h"

namespace {

using Bytes = std::vector<unsigned char>;

BitmapImage decode(const Bytes& b) { return decodeBitmap(b.data(), b.size()); }

// 3 x 2: each row is 9 bytes of pixels plus 3 of padding.
const Bytes k3x2Pixels = {
    1, 2, 3, 4, 5, 6, 7, 8, 9,           // bottom row, blue-green-red
    10, 11, 12, 13, 14, 15, 16, 17, 18,  // top row
};
const Bytes k3x2Rgba = {
    3, 2, 1, 255, 6, 5, 4, 255, 9, 8, 7, 255,
    12, 11, 10, 255, 15, 14, 13, 255, 18, 17, 16, 255,
};

}  // namespace

TEST(BitmapReader, FourByOneGivesRgbaTexelsLeftToRight) {
    const Bytes file = testbmp::encode(4, 1, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
    ASSERT_EQ(file.size(), 54u + 12u);  // a 12-byte row needs no padding
    const BitmapImage img = decode(file);
    ASSERT_TRUE(img.ok()) << img.error;
    EXPECT_EQ(img.width, 4);
    EXPECT_EQ(img.height, 1);
    EXPECT_EQ(img.rgba, (Bytes{0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 255, 255}));
}

TEST(BitmapReader, PaddedRowsAndAGapBeforeThePixelsAreSkipped) {
    // Padding and gap hold junk that must never reach a texel.
    const Bytes padded = testbmp::encode(3, 2, k3x2Pixels, 0, 0xEE);
    ASSERT_EQ(padded.size(), 54u + 24u);
    BitmapImage img = decode(padded);
    ASSERT_TRUE(img.ok()) << img.error;
    EXPECT_EQ(img.width, 3);
    EXPECT_EQ(img.height, 2);
    EXPECT_EQ(img.rgba, k3x2Rgba);

    // A palette or a larger header before the pixels: the offset says where they are.
    img = decode(testbmp::encode(3, 2, k3x2Pixels, 20, 0xEE, 0xAB));
    ASSERT_TRUE(img.ok()) << img.error;
    EXPECT_EQ(img.rgba, k3x2Rgba);

    // Writers that leave off the last row's padding still give the whole picture.
    Bytes trimmed = padded;
    trimmed.resize(trimmed.size() - 3);
    img = decode(trimmed);
    ASSERT_TRUE(img.ok()) << img.error;
    EXPECT_EQ(img.rgba, k3x2Rgba);
}

TEST(BitmapReader, TopDownFileIsFlippedToBottomRowFirst) {
    const Bytes topDown = {
        10, 11, 12, 13, 14, 15, 16, 17, 18,  // top row stored first
        1, 2, 3, 4, 5, 6, 7, 8, 9,
    };
    const BitmapImage img = decode(testbmp::encode(3, -2, topDown));
    ASSERT_TRUE(img.ok()) << img.error;
    EXPECT_EQ(img.height, 2);
    EXPECT_EQ(img.rgba, k3x2Rgba);
}

TEST(BitmapReader, LargestAcceptedSideIsEightThousandOneHundredNinetyTwo) {
    const BitmapImage img = decode(testbmp::solid(kMaxBitmapSide, 1, 1, 2, 3));
    ASSERT_TRUE(img.ok()) << img.error;
    EXPECT_EQ(img.rgba.size(), static_cast<size_t>(kMaxBitmapSide) * 4);
    EXPECT_EQ(img.rgba[img.rgba.size() - 4], 1);
}

TEST(BitmapReader, RefusesWhatItCannotReadAndSaysWhy) {
    const Bytes good = testbmp::solid(4, 2, 10, 20, 30);
    struct Case {
        const char* name;
        Bytes bytes;
        const char* reason;  // part of the error text
    };
    auto with32 = [&](size_t at, uint32_t v) { Bytes b = good; testbmp::put32(b, at, v); return b; };
    auto with16 = [&](size_t at, uint16_t v) { Bytes b = good; testbmp::put16(b, at, v); return b; };
    auto cut = [&](size_t n) { return Bytes(good.begin(), good.begin() + n); };
    Bytes noSignature = good;
    noSignature[0] = 'P';
    noSignature[1] = 'K';

    const std::vector<Case> cases = {
        {"empty file", {}, "no BM signature"},
        {"one byte", {'B'}, "no BM signature"},
        {"other signature", noSignature, "no BM signature"},
        {"header cut short", cut(40), "too short for a bitmap header"},
        {"old core header", with32(14, 12), "unsupported bitmap header of 12 bytes"},
        {"info header past the end", with32(14, 0xFFFFFFFFu), "too short for its bitmap header"},
        {"32 bits per pixel", with16(28, 32), "not 24 bits per pixel (it has 32)"},
        {"8 bits per pixel", with16(28, 8), "not 24 bits per pixel (it has 8)"},
        {"run-length compressed", with32(30, 1), "compressed (compression type 1)"},
        {"bit fields", with32(30, 3), "compressed"},
        {"zero width", with32(18, 0), "no pixels (size 0 x 2)"},
        {"zero height", with32(22, 0), "no pixels (size 4 x 0)"},
        {"negative width", with32(18, static_cast<uint32_t>(-4)), "no pixels (size -4 x 2)"},
        {"too wide", with32(18, 8193), "too large (size 8193 x 2, at most 8192 on a side)"},
        {"too tall top-down", with32(22, static_cast<uint32_t>(-8193)), "too large"},
        {"most negative height", with32(22, 0x80000000u), "too large"},
        {"widest int", with32(18, 0x7FFFFFFFu), "too large"},
        {"pixels inside the header", with32(10, 40), "pixel data inside its header (offset 40)"},
        {"pixels far past the end", with32(10, 0xFFFFFFF0u), "too short for its pixels"},
        {"last pixel missing", cut(good.size() - 1), "too short for its pixels (78 bytes needed, 77 present)"},
        {"pixels missing", cut(54), "too short for its pixels"},
        {"taller than the file", with32(22, 3), "too short for its pixels"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const BitmapImage img = decode(c.bytes);
        EXPECT_FALSE(img.ok());
        EXPECT_NE(img.error.find(c.reason), std::string::npos) << img.error;
        EXPECT_TRUE(img.rgba.empty());
        EXPECT_EQ(img.width, 0);
        EXPECT_EQ(img.height, 0);
    }
    EXPECT_TRUE(decode(good).ok());  // the unspoilt original reads
}

TEST(BitmapReader, ReadsFilesAndNamesTheFailureToOpenOrRead) {
    const std::string dir = ::testing::TempDir();
    const std::string path = dir + "/puppetorium_reader_3x2.bmp";
    ASSERT_TRUE(testbmp::writeFile(path, testbmp::encode(3, 2, k3x2Pixels)));
    BitmapImage img = readBitmapFile(path.c_str());
    ASSERT_TRUE(img.ok()) << img.error;
    EXPECT_EQ(img.rgba, k3x2Rgba);
    std::remove(path.c_str());

    img = readBitmapFile((dir + "/puppetorium_no_such_file.bmp").c_str());
    EXPECT_EQ(img.error, "could not be opened");
    img = readBitmapFile(dir.c_str());  // a directory opens but cannot be read
    EXPECT_FALSE(img.ok());
}

// A bitmap that was a FIFO stalled start-up in open; one that linked to
// /dev/zero grew memory without limit. The file is refused before a byte is
// read, and only the header's own pixel bytes are read from a big file.
TEST(BitmapReader, FilesAreRefusedOrReadOnlyAsFarAsTheHeaderSays) {
    const std::string dir = ::testing::TempDir();
    const std::string fifo = dir + "/puppetorium_reader_fifo.bmp";
    const std::string link = dir + "/puppetorium_reader_zero.bmp";
    const std::string big = dir + "/puppetorium_reader_big.bmp";
    std::remove(fifo.c_str());
    std::remove(link.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", link.c_str()), 0);
    EXPECT_EQ(readBitmapFile(fifo.c_str()).error, "is not a regular file");
    EXPECT_EQ(readBitmapFile(link.c_str()).error, "is not a regular file");

    // A 3 x 2 picture with 200 MB of nothing after it (a sparse file).
    ASSERT_TRUE(testbmp::writeFile(big, testbmp::encode(3, 2, k3x2Pixels)));
    ASSERT_EQ(truncate(big.c_str(), 200 << 20), 0);
    BitmapImage img = readBitmapFile(big.c_str());
    ASSERT_TRUE(img.ok()) << img.error;
    EXPECT_EQ(img.rgba, k3x2Rgba);
    ASSERT_EQ(truncate(big.c_str(), (256 << 20) + 1), 0);
    EXPECT_EQ(readBitmapFile(big.c_str()).error, "is larger than 256 MB");

    for (const std::string& p : {fifo, link, big}) std::remove(p.c_str());
}
