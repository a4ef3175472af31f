// bitmap_bytes.h - builds 24-bit bitmap files in memory for tests: correct
// headers and padded rows, with helpers to spoil single header fields.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace testbmp {

// `bgr` holds |height| rows of width x 3 bytes in file order (bottom row
// first when height > 0). Rows are padded to 4 bytes with `padByte`; `gap`
// bytes of `gapByte` sit between the headers and the pixels.
inline std::vector<unsigned char> encode(int32_t width, int32_t height,
                                         const std::vector<unsigned char>& bgr,
                                         uint32_t gap = 0, unsigned char padByte = 0,
                                         unsigned char gapByte = 0) {
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    const size_t stride = (rowBytes + 3) / 4 * 4;
    const size_t rows = static_cast<size_t>(height < 0 ? -height : height);
    const uint32_t offset = 54 + gap;
    std::vector<unsigned char> out(offset + stride * rows, padByte);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<uint32_t>(out.size()));
    put32(6, 0);
    put32(10, offset);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    out[26] = 1; out[27] = 0;   // planes
    out[28] = 24; out[29] = 0;  // bits per pixel
    for (size_t i = 30; i < 54; i++) out[i] = 0;
    for (size_t i = 54; i < offset; i++) out[i] = gapByte;
    for (size_t r = 0; r < rows; r++)
        for (size_t b = 0; b < rowBytes; b++) out[offset + r * stride + b] = bgr[r * rowBytes + b];
    return out;
}

inline void put32(std::vector<unsigned char>& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) bytes[at + i] = static_cast<unsigned char>(v >> (8 * i));
}
inline void put16(std::vector<unsigned char>& bytes, size_t at, uint16_t v) {
    bytes[at] = static_cast<unsigned char>(v);
    bytes[at + 1] = static_cast<unsigned char>(v >> 8);
}

// A w x h picture of one colour.
inline std::vector<unsigned char> solid(int32_t w, int32_t h, unsigned char r, unsigned char g,
                                        unsigned char b) {
    std::vector<unsigned char> bgr;
    for (int i = 0; i < w * (h < 0 ? -h : h); i++) {
        bgr.push_back(b);
        bgr.push_back(g);
        bgr.push_back(r);
    }
    return encode(w, h, bgr);
}

inline bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace testbmp
