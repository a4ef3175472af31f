// RGBA to BT.601 limited-range 4:2:0: the standard values of pure colours,
// and every sample of a random picture within one step of the exact
// formula, in the vector part of a row and in its plain tail alike.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "export/yuv_convert.h"

namespace {

struct Yuv {
    std::vector<std::uint8_t> y, u, v;
};

Yuv convert(const std::vector<std::uint8_t>& rgba, int w, int h) {
    Yuv o{std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h),
          std::vector<std::uint8_t>(static_cast<std::size_t>(w / 2) * (h / 2)),
          std::vector<std::uint8_t>(static_cast<std::size_t>(w / 2) * (h / 2))};
    rgbaToYuv420(rgba.data(), w, h, {o.y.data(), o.u.data(), o.v.data(), w, w / 2, w / 2});
    return o;
}

}  // namespace

TEST(YuvConvert, PureColoursGiveTheStandardValues) {
    struct Case { std::uint8_t r, g, b; int y, u, v; };
    const Case cases[] = {
        {255, 255, 255, 235, 128, 128},
        {0, 0, 0, 16, 128, 128},
        {255, 0, 0, 82, 90, 240},
        {0, 0, 255, 41, 240, 110},
    };
    for (const Case& c : cases) {
        const int w = 20, h = 2;  // 16 pixels by vector, 4 by the tail
        std::vector<std::uint8_t> rgba;
        for (int i = 0; i < w * h; i++) rgba.insert(rgba.end(), {c.r, c.g, c.b, 255});
        const Yuv o = convert(rgba, w, h);
        for (int x = 0; x < w; x++) EXPECT_EQ(o.y[x], c.y) << int(c.r) << "," << int(c.g) << "," << int(c.b);
        for (int x = 0; x < w / 2; x++) {
            EXPECT_EQ(o.u[x], c.u) << x;
            EXPECT_EQ(o.v[x], c.v) << x;
        }
    }
}

TEST(YuvConvert, ARandomPictureIsWithinOneStepOfTheExactFormulaEverywhere) {
    const int w = 38, h = 6;  // rows of 16 + 16 by vector, 6 by the tail
    std::mt19937 rng(19);
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w) * h * 4);
    for (auto& b : rgba) b = static_cast<std::uint8_t>(rng());
    const Yuv o = convert(rgba, w, h);
    auto px = [&](int x, int y, int c) { return double(rgba[(static_cast<std::size_t>(y) * w + x) * 4 + c]); };
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const double exact = 16 + (65.738 * px(x, y, 0) + 129.057 * px(x, y, 1) + 25.064 * px(x, y, 2)) / 256;
            EXPECT_NEAR(o.y[y * w + x], exact, 1.0) << x << "," << y;
        }
    for (int y = 0; y < h / 2; y++)
        for (int x = 0; x < w / 2; x++) {
            double r = 0, g = 0, b = 0;
            for (int dy = 0; dy < 2; dy++)
                for (int dx = 0; dx < 2; dx++) {
                    r += px(2 * x + dx, 2 * y + dy, 0) / 4;
                    g += px(2 * x + dx, 2 * y + dy, 1) / 4;
                    b += px(2 * x + dx, 2 * y + dy, 2) / 4;
                }
            EXPECT_NEAR(o.u[y * (w / 2) + x], 128 + (-37.945 * r - 74.494 * g + 112.439 * b) / 256, 1.0);
            EXPECT_NEAR(o.v[y * (w / 2) + x], 128 + (112.439 * r - 94.154 * g - 18.285 * b) / 256, 1.0);
        }
}
