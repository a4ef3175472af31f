// gif_palette.h - 256 colours chosen for one picture, and the picture
// mapped onto them, for GIF output.
//
// Median cut over a 15-bit colour histogram: the box of colours holding the
// most pixels along its longest side is split at its median until there are
// 256 boxes; each box's pixel-weighted mean is one palette entry. Pixels are
// then mapped to the nearest entry, memoised per 15-bit colour. No FFmpeg,
// no GL: plain arrays, so it is tested bare.
#pragma once

#include <cstdint>
#include <vector>

class GifPalette {
public:
    static constexpr int kColours = 256;

    // Chooses the palette for an RGBA picture (alpha ignored).
    void build(const std::uint8_t* rgba, int pixelCount);
    // Writes one palette index per pixel of the same picture into `indices`.
    void map(const std::uint8_t* rgba, int pixelCount, std::uint8_t* indices);
    // Entry i as 0xAARRGGBB (alpha 255), the layout FFmpeg's PAL8 takes.
    std::uint32_t entry(int i) const { return entries_[i]; }
    int used() const { return used_; }

private:
    std::uint32_t entries_[kColours] = {};
    int used_ = 0;
    std::vector<std::uint32_t> histogram_ = std::vector<std::uint32_t>(1 << 15);
    std::vector<std::int16_t> nearest_ = std::vector<std::int16_t>(1 << 15, -1);
    std::vector<std::uint16_t> bins_;  // the colours present, cut into boxes in place
};
