// bitmap_reader.cpp - 24-bit uncompressed Windows bitmaps to RGBA texels.
//
// Layout read (little-endian): "BM" at 0, the pixel-data offset at 10, the
// information header from 14 (its size at 14, width at 18, height at 22,
// bits per pixel at 28, compression at 30). Rows are padded to a multiple of
// 4 bytes; each pixel is blue, green, red. Every count is checked before it
// is trusted, in 64-bit arithmetic, so no header can make us read past the
// end or allocate more than the file can fill.
#include "scene/bitmap_reader.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kMinInfoHeaderSize = 40;

std::uint32_t u32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::int32_t s32(const unsigned char* p) { return static_cast<std::int32_t>(u32(p)); }
std::uint16_t u16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

BitmapImage refuse(std::string reason) {
    BitmapImage img;
    img.error = std::move(reason);
    return img;
}

}  // namespace

BitmapImage decodeBitmap(const unsigned char* data, std::size_t size) {
    if (size < 2 || data[0] != 'B' || data[1] != 'M')
        return refuse("is not a bitmap (no BM signature)");
    if (size < kFileHeaderSize + kMinInfoHeaderSize)
        return refuse("is too short for a bitmap header (" + std::to_string(size) + " bytes)");

    const std::uint32_t pixelOffset = u32(data + 10);
    const std::uint32_t infoSize = u32(data + 14);
    const std::int32_t width = s32(data + 18);
    const std::int32_t height = s32(data + 22);
    const unsigned bitsPerPixel = u16(data + 28);
    const std::uint32_t compression = u32(data + 30);

    // The 12-byte core header of old bitmaps has 16-bit sizes and another layout.
    if (infoSize < kMinInfoHeaderSize)
        return refuse("has an unsupported bitmap header of " + std::to_string(infoSize) + " bytes");
    if (bitsPerPixel != 24)
        return refuse("is not 24 bits per pixel (it has " + std::to_string(bitsPerPixel) + ")");
    if (compression != 0)
        return refuse("is compressed (compression type " + std::to_string(compression) + ")");

    const std::string sizeText = std::to_string(width) + " x " + std::to_string(height);
    if (width <= 0 || height == 0) return refuse("has no pixels (size " + sizeText + ")");
    const std::int64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    if (width > kMaxBitmapSide || rows > kMaxBitmapSide)
        return refuse("is too large (size " + sizeText + ", at most " +
                      std::to_string(kMaxBitmapSide) + " on a side)");

    const std::uint64_t headersEnd = kFileHeaderSize + static_cast<std::uint64_t>(infoSize);
    if (headersEnd > size)
        return refuse("is too short for its bitmap header (" + std::to_string(size) + " bytes)");
    if (pixelOffset < headersEnd)
        return refuse("has its pixel data inside its header (offset " +
                      std::to_string(pixelOffset) + ")");

    // The last row's padding is not needed: some writers leave it off.
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(width) * 3;
    const std::uint64_t stride = (rowBytes + 3) / 4 * 4;
    const std::uint64_t needed = pixelOffset + stride * (rows - 1) + rowBytes;
    if (needed > size)
        return refuse("is too short for its pixels (" + std::to_string(needed) + " bytes needed, " +
                      std::to_string(size) + " present)");

    BitmapImage img;
    img.width = width;
    img.height = static_cast<int>(rows);
    img.rgba.resize(static_cast<std::size_t>(width) * rows * 4);
    unsigned char* out = img.rgba.data();
    for (std::int64_t r = 0; r < rows; r++) {
        // Output is bottom row first; a top-down file stores the top row first.
        const std::int64_t fileRow = height > 0 ? r : rows - 1 - r;
        const unsigned char* in = data + pixelOffset + stride * fileRow;
        for (std::int32_t x = 0; x < width; x++, in += 3, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = 255;
        }
    }
    return img;
}

BitmapImage readBitmapFile(const char* path) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return refuse("could not be opened");
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return refuse("could not be read");
    return decodeBitmap(bytes.data(), bytes.size());
}
