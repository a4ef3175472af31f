// yuv_convert.cpp - the conversion loop, two rows at a time.
#include "export/yuv_convert.h"

namespace {

inline std::uint8_t luma(int r, int g, int b) {
    return static_cast<std::uint8_t>(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
}

}  // namespace

void rgbaToYuv420(const std::uint8_t* rgba, int width, int height, const YuvPlanes& out) {
    const int stride = width * 4;
    for (int y = 0; y < height; y += 2) {
        const std::uint8_t* top = rgba + static_cast<long>(y) * stride;
        const std::uint8_t* bottom = top + stride;
        std::uint8_t* y0 = out.y + static_cast<long>(y) * out.yStride;
        std::uint8_t* y1 = y0 + out.yStride;
        std::uint8_t* u = out.u + static_cast<long>(y / 2) * out.uStride;
        std::uint8_t* v = out.v + static_cast<long>(y / 2) * out.vStride;
        // One 2 x 2 block at a time: four lumas and one U, V from one read.
        for (int x = 0; x < width / 2; x++) {
            const std::uint8_t* a = top + 8 * x;
            const std::uint8_t* b = bottom + 8 * x;
            y0[2 * x] = luma(a[0], a[1], a[2]);
            y0[2 * x + 1] = luma(a[4], a[5], a[6]);
            y1[2 * x] = luma(b[0], b[1], b[2]);
            y1[2 * x + 1] = luma(b[4], b[5], b[6]);
            // Sums of four, so the coefficients carry two more bits.
            const int r = a[0] + a[4] + b[0] + b[4];
            const int g = a[1] + a[5] + b[1] + b[5];
            const int bl = a[2] + a[6] + b[2] + b[6];
            u[x] = static_cast<std::uint8_t>(((-38 * r - 74 * g + 112 * bl + 512) >> 10) + 128);
            v[x] = static_cast<std::uint8_t>(((112 * r - 94 * g - 18 * bl + 512) >> 10) + 128);
        }
    }
}
