// The BVH of the couple's dance, read back by an independent reader
// (tests/bvh/bvh_fk.py) that works out every joint's world position by
// forward kinematics, against the program's own part matrices.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "core/app_state.h"
#include "scene/scene_init.h"
#include "export/export_job.h"
#include "figure/skeleton.h"
#include "input/keyboard.h"
#include "../io/io_test_support.h"

namespace {

// Every joint's world position, from the program's own part matrices.
void worldPositions(const Person& p, std::ostream& out, int frame) {
    Mat4 model[BODY_PART_COUNT];
    skeleton::modelMatrices(p, model);
    for (int k = 0; k < BODY_PART_COUNT; k++) {
        const int i = skeleton::kOrder[k];
        char line[160];
        std::snprintf(line, sizeof line, "%d,%s,%.6f,%.6f,%.6f\n", frame, p.part[i].label.c_str(), model[i].m[12],
                      model[i].m[13], model[i].m[14]);
        out << line;
    }
}

// Output in a private folder; the scene's files are read from the sources.
class BvhExport : public InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        ASSERT_EQ(chdir(PUPPETORIUM_SOURCE_DIR), 0);
        resetAppState();
        placeAndDressPersons();
        setLightPath();
        onKeyboard('5', 0, 0);  // the boy and the girl
    }

    // Exports `frames` frames of `figure` and the program's joint positions.
    std::string exportFigure(int figure, int frames, std::string& positionsPath) {
        RenderOptions o;
        o.output = dir + "/couple.bvh";
        o.kind = OutputKind::Bvh;
        o.frames = frames;
        o.figure = figure;
        positionsPath = dir + "/positions.csv";
        std::ofstream csv(positionsPath);
        ExportJob job;
        std::string error;
        EXPECT_TRUE(job.start(o, error)) << error;
        for (int f = 0; !job.done(); f++) {
            EXPECT_TRUE(job.step(error)) << error;
            const Person& p = app.persons[figure];
            worldPositions(p, csv, f);
        }
        EXPECT_TRUE(job.finish(error)) << error;
        return o.output;
    }
};

int runReader(const std::string& bvh, const std::string& csv) {
    const std::string cmd = std::string("python3 ") + PUPPETORIUM_SOURCE_DIR +
                            "/tests/bvh/bvh_fk.py '" + bvh + "' '" + csv + "'";
    return std::system(cmd.c_str());
}

}  // namespace

TEST_F(BvhExport, JointPositionsFromTheFileMatchThePartMatricesOfBothDancers) {
    for (int figure : {0, 1}) {
        std::string csv;
        const std::string bvh = exportFigure(figure, 80, csv);
        EXPECT_EQ(runReader(bvh, csv), 0) << "figure " << figure;
    }
}

TEST_F(BvhExport, TheReaderNoticesAPositionOffByTwoThousandths) {
    std::string csv;
    const std::string bvh = exportFigure(1, 10, csv);
    std::ifstream in(csv);
    std::stringstream all;
    all << in.rdbuf();
    std::string text = all.str();
    // Move one elbow in one frame: the comparison must fail.
    const std::size_t at = text.find("5,RLA,");
    ASSERT_NE(at, std::string::npos);
    const std::size_t comma = text.find(',', at + 6);
    const float x = std::stof(text.substr(at + 6, comma - at - 6));
    text.replace(at + 6, comma - at - 6, std::to_string(x + 0.002f));
    std::ofstream(csv) << text;
    EXPECT_NE(runReader(bvh, csv), 0);
}

TEST_F(BvhExport, HeaderNamesTwentyJointsFiveEndsAndTheFrameClock) {
    std::string csv;
    const std::string bvh = exportFigure(0, 12, csv);
    std::ifstream in(bvh);
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    auto count = [&](const std::string& word) {
        int n = 0;
        for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) n++;
        return n;
    };
    EXPECT_EQ(text.rfind("HIERARCHY\nROOT ROOT\n", 0), 0u);
    EXPECT_EQ(count("JOINT "), 19);
    EXPECT_EQ(count("End Site"), 5);
    EXPECT_EQ(count("CHANNELS 3 Xrotation Yrotation Zrotation"), 19);
    EXPECT_NE(text.find("\nMOTION\nFrames: 12\nFrame Time: 0.040000\n"), std::string::npos);
    // 6 + 19 x 3 values on each of the 12 motion lines.
    const std::string motion = text.substr(text.find("Frame Time"));
    std::istringstream lines(motion);
    std::string line;
    std::getline(lines, line);
    int frames = 0;
    while (std::getline(lines, line)) {
        std::istringstream values(line);
        int n = 0;
        for (double v; values >> v;) n++;
        EXPECT_EQ(n, 63);
        frames++;
    }
    EXPECT_EQ(frames, 12);
}

TEST_F(BvhExport, DefaultLengthIsOneCycleOfTheLongestAnimationAtThePlayRate) {
    float longest = 0;
    for (int i = 0; i < app.numPersons; i++)
        for (BodyPart& part : app.persons[i].part) {
            KeyFrameAnimation& a = part.kfa;
            a.ensureTimes();
            if (a.numKeyFrames) longest = std::max(longest, a.keyFrames[a.numKeyFrames - 1].endTime);
        }
    ASSERT_GT(longest, 25);
    EXPECT_EQ(defaultFrameCount(25), static_cast<int>(std::ceil(longest)));
    app.playRate = 0.5f;
    EXPECT_EQ(defaultFrameCount(25), static_cast<int>(std::ceil(longest / 0.5f)));
    app.playRate = -1;
    EXPECT_EQ(defaultFrameCount(25), static_cast<int>(std::ceil(longest))) << "backwards too";
    app.numPersons = 0;
    EXPECT_EQ(defaultFrameCount(25), 25) << "nothing animated: one second";
}
