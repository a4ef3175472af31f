// The animation generator (tools/make_animations.py) checks its dances with
// its own copy of the skeleton, sizes, joint layout, limits and spline.
// Here its copy is held to the program's: a drift would let it pass dances
// the program plays differently.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "anim/keyframe_animation.h"
#include "figure/person.h"
#include "figure/skeleton.h"

namespace {

// The tool's lines, split into words.
std::vector<std::vector<std::string>> toolTables() {
    const std::string command = std::string("python3 ") + PUPPETORIUM_SOURCE_DIR + "/tools/make_animations.py --tables";
    std::vector<std::vector<std::string>> lines;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return lines;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        std::istringstream in(buffer);
        std::vector<std::string> words;
        for (std::string w; in >> w;) words.push_back(w);
        if (!words.empty()) lines.push_back(words);
    }
    pclose(pipe);
    return lines;
}

int partNamed(const std::string& label) {
    for (int i = 0; i < BODY_PART_COUNT; i++)
        if (label == kBodyPartLabels[i]) return i;
    return -1;
}

float number(const std::vector<std::string>& w, size_t i) { return std::stof(w.at(i)); }

class ToolTables : public testing::Test {
protected:
    static void SetUpTestSuite() { lines = new std::vector<std::vector<std::string>>(toolTables()); }
    static void TearDownTestSuite() { delete lines; }

    // The lines whose first word is `kind`.
    static std::vector<std::vector<std::string>> of(const std::string& kind) {
        std::vector<std::vector<std::string>> out;
        for (const auto& w : *lines)
            if (w[0] == kind) out.push_back(w);
        return out;
    }

    static std::vector<std::vector<std::string>>* lines;
};
std::vector<std::vector<std::string>>* ToolTables::lines = nullptr;

}  // namespace

TEST_F(ToolTables, SkeletonIsTheProgramsInTheSameDepthFirstOrder) {
    const auto order = of("order");
    ASSERT_EQ(order.size(), static_cast<size_t>(BODY_PART_COUNT)) << "did the tool run?";
    for (int k = 0; k < BODY_PART_COUNT; k++) {
        const int part = partNamed(order[k].at(1));
        ASSERT_GE(part, 0) << order[k].at(1);
        EXPECT_EQ(part, skeleton::kOrder[k]) << "place " << k;
        EXPECT_EQ(order[k].at(2) == "-" ? -1 : partNamed(order[k].at(2)), skeleton::kParent[part])
            << "parent of " << order[k].at(1);
    }
}

TEST_F(ToolTables, SizesJointsLimitsAndStandingPoseAreThePrograms) {
    int checked = 0;
    for (bool male : {true, false}) {
        Person p;
        p.setGender(male, 1.0f);
        const std::string gender = male ? "male" : "female";
        for (const auto& w : of("size")) {
            if (w.at(1) != gender) continue;
            const BodyPart& b = p.part[partNamed(w.at(2))];
            EXPECT_FLOAT_EQ(b.length, number(w, 3)) << gender << " " << w[2] << " length";
            EXPECT_FLOAT_EQ(b.radius, number(w, 4)) << gender << " " << w[2] << " radius";
            checked++;
        }
        for (const auto& w : of("offset")) {
            if (w.at(1) != gender) continue;
            const BodyPart& b = p.part[partNamed(w.at(2))];
            for (int k = 0; k < 3; k++) EXPECT_NEAR(b.jointOffset[k], number(w, 3 + k), 1e-5) << gender << " " << w[2];
            checked++;
        }
    }
    Person p;
    for (const auto& w : of("limit")) {
        const BodyPart& b = p.part[partNamed(w.at(1))];
        for (int k = 0; k < 3; k++) {
            EXPECT_EQ(b.minRotation[k], number(w, 2 + 2 * k)) << w[1] << " axis " << k;
            EXPECT_EQ(b.maxRotation[k], number(w, 3 + 2 * k)) << w[1] << " axis " << k;
        }
        checked++;
    }
    for (const auto& w : of("standing")) {
        const BodyPart& b = p.part[partNamed(w.at(1))];
        for (int k = 0; k < 3; k++) EXPECT_EQ(b.rotation[k], number(w, 2 + k)) << w[1];
        checked++;
    }
    EXPECT_EQ(checked, 2 * 2 * BODY_PART_COUNT + 2 * BODY_PART_COUNT);
}

// The first pass glides from the origin into keyframe 0; later passes come
// round the closed spline.
TEST_F(ToolTables, SplineSamplesAreTheAnimatorsOnBothPasses) {
    const auto origin = of("spline");
    KeyFrameAnimation a;
    int keys = 0;
    for (const auto& w : origin) {
        if (w.at(1) == "origin") {
            a.setValue(number(w, 2), number(w, 3), number(w, 4));
            a.setOrigin();
        } else {
            a.pushKeyFrame(number(w, 3), number(w, 4), number(w, 5), ABS, std::stoi(w.at(2)));
            keys++;
        }
    }
    ASSERT_EQ(keys, 4);
    a.setCycle(true);
    const auto samples = of("sample");
    ASSERT_EQ(samples.size(), 2u * (7 + 12 + 10 + 9));
    for (const auto& w : samples) {
        a.loopCount = w.at(1) == "1" ? 0 : 1;
        ASSERT_TRUE(a.seek(number(w, 2)));
        for (int k = 0; k < 3; k++)
            EXPECT_NEAR(a.value[k], number(w, 3 + k), 1e-4) << "pass " << w[1] << " step " << w[2];
    }
}
