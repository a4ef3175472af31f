// bitmap_reader.cpp - 24-bit uncompressed Windows bitmaps to RGBA texels.
//
// Layout read (little-endian): "BM" at 0, the pixel-data offset at 10, the
// information header from 14 (its size at 14, width at 18, height at 22,
// bits per pixel at 28, compression at 30). Rows are padded to a multiple of
// 4 bytes; each pixel is blue, green, red. Every count is checked before it
// is trusted, in 64-bit arithmetic, so no header can make us read past the
// end or allocate more than the file can fill. Files are read through
// safe_file: a FIFO or a device is refused before a byte is read.
#include "gfx/bitmap_reader.h"

#include <cstdint>

#include "base/safe_file.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kMinInfoHeaderSize = 40;
// Every field checked lies in the first 54 bytes.
constexpr std::size_t kMinHeaderBytes = kFileHeaderSize + kMinInfoHeaderSize;

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

// Where the pixels lie, from a header that has passed every check.
struct PixelLayout {
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: top row first
    std::int64_t rows = 0;
    std::uint64_t offset = 0;    // of the first stored row
    std::uint64_t rowBytes = 0;  // width x 3
    std::uint64_t stride = 0;    // rowBytes padded to 4
    std::uint64_t end = 0;       // one past the last pixel byte needed
};

// Checks the headers, of which `head` holds the first headSize bytes (all
// of them, or kMinHeaderBytes), against a file of fileSize bytes. Empty when
// the pixels can be read as `layout` says, else the reason for refusing.
std::string checkHeader(const unsigned char* head, std::size_t headSize, std::uint64_t fileSize,
                        PixelLayout& layout) {
    if (headSize < 2 || head[0] != 'B' || head[1] != 'M') return "is not a bitmap (no BM signature)";
    if (fileSize < kMinHeaderBytes || headSize < kMinHeaderBytes)
        return "is too short for a bitmap header (" + std::to_string(fileSize) + " bytes)";

    const std::uint32_t pixelOffset = u32(head + 10);
    const std::uint32_t infoSize = u32(head + 14);
    const std::int32_t width = s32(head + 18);
    const std::int32_t height = s32(head + 22);
    const unsigned bitsPerPixel = u16(head + 28);
    const std::uint32_t compression = u32(head + 30);

    // The 12-byte core header of old bitmaps has 16-bit sizes and another layout.
    if (infoSize < kMinInfoHeaderSize)
        return "has an unsupported bitmap header of " + std::to_string(infoSize) + " bytes";
    if (bitsPerPixel != 24) return "is not 24 bits per pixel (it has " + std::to_string(bitsPerPixel) + ")";
    if (compression != 0) return "is compressed (compression type " + std::to_string(compression) + ")";

    const std::string sizeText = std::to_string(width) + " x " + std::to_string(height);
    if (width <= 0 || height == 0) return "has no pixels (size " + sizeText + ")";
    const std::int64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    if (width > kMaxBitmapSide || rows > kMaxBitmapSide)
        return "is too large (size " + sizeText + ", at most " + std::to_string(kMaxBitmapSide) +
               " on a side)";

    const std::uint64_t headersEnd = kFileHeaderSize + static_cast<std::uint64_t>(infoSize);
    if (headersEnd > fileSize)
        return "is too short for its bitmap header (" + std::to_string(fileSize) + " bytes)";
    if (pixelOffset < headersEnd)
        return "has its pixel data inside its header (offset " + std::to_string(pixelOffset) + ")";

    // The last row's padding is not needed: some writers leave it off.
    layout.width = width;
    layout.height = height;
    layout.rows = rows;
    layout.offset = pixelOffset;
    layout.rowBytes = static_cast<std::uint64_t>(width) * 3;
    layout.stride = (layout.rowBytes + 3) / 4 * 4;
    layout.end = pixelOffset + layout.stride * (rows - 1) + layout.rowBytes;
    if (layout.end > fileSize)
        return "is too short for its pixels (" + std::to_string(layout.end) + " bytes needed, " +
               std::to_string(fileSize) + " present)";
    return "";
}

// Turns the stored rows (`pixels` starts at the first) into RGBA texels,
// bottom row first.
BitmapImage convertPixels(const PixelLayout& layout, const unsigned char* pixels) {
    BitmapImage img;
    img.width = layout.width;
    img.height = static_cast<int>(layout.rows);
    img.rgba.resize(static_cast<std::size_t>(layout.width) * layout.rows * 4);
    unsigned char* out = img.rgba.data();
    for (std::int64_t r = 0; r < layout.rows; r++) {
        // A top-down file stores the top row first.
        const std::int64_t fileRow = layout.height > 0 ? r : layout.rows - 1 - r;
        const unsigned char* in = pixels + layout.stride * fileRow;
        for (std::int32_t x = 0; x < layout.width; x++, in += 3, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = 255;
        }
    }
    return img;
}

}  // namespace

BitmapImage decodeBitmap(const unsigned char* data, std::size_t size) {
    PixelLayout layout;
    const std::string why = checkHeader(data, size, size, layout);
    if (!why.empty()) return refuse(why);
    return convertPixels(layout, data + layout.offset);
}

// The header is read and checked first, so the pixel bytes read (and the
// memory taken) are never more than the header says and the file holds.
BitmapImage readBitmapFile(const char* path) {
    SafeReadFile file;
    std::string error;
    if (!file.open(path, kMaxBitmapFileBytes, error))
        return refuse(file.refused() ? error : "could not be opened");

    unsigned char head[kMinHeaderBytes];
    const std::size_t headSize = file.size() < kMinHeaderBytes ? static_cast<std::size_t>(file.size())
                                                                : kMinHeaderBytes;
    if (!file.readAt(0, head, headSize)) return refuse("could not be read");
    PixelLayout layout;
    const std::string why = checkHeader(head, headSize, file.size(), layout);
    if (!why.empty()) return refuse(why);

    std::vector<unsigned char> pixels(static_cast<std::size_t>(layout.end - layout.offset));
    if (!file.readAt(layout.offset, pixels.data(), pixels.size())) return refuse("could not be read");
    return convertPixels(layout, pixels.data());
}
