// The power-of-two size a texture side is rescaled to before mipmapping.
#include <gtest/gtest.h>

#include "gfx/texture_loader.h"

TEST(MipmapSide, RoundsToTheNearerPowerOfTwoByItsTopTwoBits) {
    const int cases[][2] = {
        {1, 1}, {2, 2}, {3, 4}, {4, 4}, {5, 4}, {6, 8}, {7, 8}, {8, 8},
        {60, 64}, {100, 128}, {200, 256}, {300, 256}, {383, 256}, {384, 512},
        {4096, 4096}, {6143, 4096}, {6144, 8192}, {8192, 8192},
    };
    for (const auto& c : cases) EXPECT_EQ(mipmapSide(c[0]), c[1]) << c[0];
}
