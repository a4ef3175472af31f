// The terminal progress bar: the bar fills with the frames, the rate and
// time left appear once a frame has been timed.
#include <gtest/gtest.h>

#include "export/progress.h"

TEST(ProgressLine, FillsTheBarAndWorksOutTheTimeLeft) {
    EXPECT_EQ(progressLine(0, 100, 0), "[--------------------]   0/100 frames");
    EXPECT_EQ(progressLine(50, 100, 2.0),
              "[##########----------]  50/100 frames    25.0 fps  0:02 left");
    EXPECT_EQ(progressLine(100, 100, 4.0),
              "[####################] 100/100 frames    25.0 fps  0:00 left");
    EXPECT_EQ(progressLine(10, 3000, 1.0),
              "[--------------------]   10/3000 frames    10.0 fps  4:59 left");
}
