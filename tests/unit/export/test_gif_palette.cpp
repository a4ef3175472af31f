// Median-cut palettes: few colours are kept exactly, many are spread so the
// picture is still close, and the weight of a colour draws entries to it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "export/gif_palette.h"

namespace {

std::vector<std::uint8_t> picture(int n, std::uint32_t (*colourOf)(int)) {
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(n) * 4);
    for (int i = 0; i < n; i++) {
        const std::uint32_t c = colourOf(i);
        rgba[4 * i] = c >> 16 & 255;
        rgba[4 * i + 1] = c >> 8 & 255;
        rgba[4 * i + 2] = c & 255;
        rgba[4 * i + 3] = 255;
    }
    return rgba;
}

int worstChannelError(GifPalette& pal, const std::vector<std::uint8_t>& rgba) {
    const int n = static_cast<int>(rgba.size() / 4);
    std::vector<std::uint8_t> idx(static_cast<std::size_t>(n));
    pal.map(rgba.data(), n, idx.data());
    int worst = 0;
    for (int i = 0; i < n; i++)
        for (int c = 0; c < 3; c++) {
            const int got = static_cast<int>(pal.entry(idx[i]) >> (16 - 8 * c) & 255);
            worst = std::max(worst, std::abs(got - rgba[4 * i + c]));
        }
    return worst;
}

}  // namespace

TEST(GifPalette, AFewColoursGetAnEntryEachAndMapBackWithinTheQuantisation) {
    const auto rgba = picture(3000, [](int i) -> std::uint32_t {
        const std::uint32_t c[3] = {0xffffff, 0x806040, 0x202428};  // white, wood, suit
        return c[i % 3];
    });
    GifPalette pal;
    pal.build(rgba.data(), 3000);
    EXPECT_EQ(pal.used(), 3);
    EXPECT_LE(worstChannelError(pal, rgba), 4) << "15-bit bins are 8 wide";
}

TEST(GifPalette, AFullGradientUsesAll256EntriesAndStaysClose) {
    const int n = 256 * 256;
    const auto rgba = picture(n, [](int i) -> std::uint32_t {
        const std::uint32_t x = static_cast<std::uint32_t>(i % 256), y = static_cast<std::uint32_t>(i / 256);
        return x << 16 | y << 8 | ((x + y) / 2);
    });
    GifPalette pal;
    pal.build(rgba.data(), n);
    EXPECT_EQ(pal.used(), GifPalette::kColours);
    EXPECT_LE(worstChannelError(pal, rgba), 24);
}

TEST(GifPalette, ARebuildForgetsTheColoursOfThePictureBefore) {
    GifPalette pal;
    const auto red = picture(100, [](int) -> std::uint32_t { return 0xff0000; });
    const auto blue = picture(100, [](int) -> std::uint32_t { return 0x0000ff; });
    pal.build(red.data(), 100);
    pal.build(blue.data(), 100);
    EXPECT_EQ(pal.used(), 1);
    EXPECT_LE(worstChannelError(pal, blue), 4);
}
