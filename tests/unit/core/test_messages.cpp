// An on-screen message shows for its three seconds, and a newer one replaces it.
#include <gtest/gtest.h>

#include "base/platform.h"
#include "core/messages.h"

namespace {
int fakeNow = 0;
int fakeClock() { return fakeNow; }
}  // namespace

TEST(Messages, ShowForTheirDurationAndANewerOneReplacesTheOld) {
    platform::setClock(fakeClock);
    clearMessage();
    fakeNow = 1000;
    EXPECT_EQ(currentMessage(fakeNow), nullptr);
    postMessage("keyframe 1 / 1 recorded (20 steps)");
    ASSERT_NE(currentMessage(3999), nullptr);
    EXPECT_EQ(*currentMessage(3999), "keyframe 1 / 1 recorded (20 steps)");
    fakeNow = 2000;
    postMessage("keyframe 1 deleted");
    EXPECT_EQ(*currentMessage(4500), "keyframe 1 deleted");
    EXPECT_EQ(currentMessage(5000), nullptr);
    EXPECT_EQ(currentMessage(4500), nullptr) << "an ended message stays ended";
    platform::resetSeams();
}
