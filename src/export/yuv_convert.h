// yuv_convert.h - RGBA pictures to the planar 4:2:0 YUV video codecs take.
//
// BT.601 coefficients, limited range (Y 16 to 235, U and V 16 to 240), in
// 8.8 fixed point; each U and V sample is taken from the mean of a 2 x 2
// block. A plain loop the compiler vectorises: several times faster than a
// general-purpose scaler doing the same work, which matters at 25 frames a
// second of 1280 x 720. Width and height must be even.
#pragma once

#include <cstdint>

struct YuvPlanes {
    std::uint8_t* y;
    std::uint8_t* u;
    std::uint8_t* v;
    int yStride, uStride, vStride;
};

void rgbaToYuv420(const std::uint8_t* rgba, int width, int height, const YuvPlanes& out);
