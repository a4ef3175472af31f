// bitmap_reader.h - reads a 24-bit uncompressed Windows bitmap into RGBA
// texels, without any GL.
//
// The texture loader (texture_loader.cpp) uploads what this returns. Rows
// come out bottom row first, which is the order GL texture coordinates take
// (t = 0 is the first row), so pictures appear upright. A top-down file
// (negative height) is flipped into the same order.
//
// Anything else is refused with a short reason, worded to follow the path in
// a console line: ">> ERROR: 'path' <reason>".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Largest width or height accepted; anything bigger is taken as a damaged
// header rather than a picture.
constexpr int kMaxBitmapSide = 8192;

struct BitmapImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;  // width x height x 4, bottom row first, alpha 255
    std::string error;                // empty when the image is good

    bool ok() const { return error.empty(); }
};

// Decodes a whole bitmap file held in memory.
BitmapImage decodeBitmap(const unsigned char* data, std::size_t size);

// Reads and decodes the file at `path`; an unopenable file gives the reason
// "could not be opened".
BitmapImage readBitmapFile(const char* path);
