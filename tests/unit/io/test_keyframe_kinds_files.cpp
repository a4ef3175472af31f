// Keyframe kinds in animation files and the code export: written as an
// "interp=" line after "steps=" only where a keyframe is not a spline,
// read back exactly, and harmless to a reader that does not know the line.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "figure/person.h"
#include "io/animation_file.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

// Three recorded poses (smooth), then the middle one made a hold.
void recordWithKinds(Person& p) {
    p.reset();
    for (int k = 0; k < 3; k++) {
        p.part[HEAD].rotation[1] = 10.0f * k;
        p.position[0] = 0.5f * k;
        p.pushPoseKeyFrame(20 + 5 * k);
    }
    p.setKeyFrameKind(1, KIND_HOLD);
}

std::string textOf(const Person& p) {
    std::ostringstream out;
    writeAnimationText(p, out);
    return out.str();
}

std::string readInto(Person& p, const std::string& text) {
    std::istringstream in(text);
    CaptureStdout();
    readAnimationText(p, in);
    return GetCapturedStdout();
}

// The same text without its "interp=" lines, as an older build writes it.
std::string withoutKindLines(const std::string& text) {
    std::istringstream in(text);
    std::string line, out;
    while (std::getline(in, line))
        if (line.rfind("interp=", 0) != 0) out += line + "\n";
    return out;
}

void expectSameQueues(const Person& a, const Person& b, bool sameKinds) {
    for (int i = -1; i < BODY_PART_COUNT; i++) {
        const KeyFrameAnimation& x = i < 0 ? a.kfaPos : a.part[i].kfa;
        const KeyFrameAnimation& y = i < 0 ? b.kfaPos : b.part[i].kfa;
        ASSERT_EQ(x.numKeyFrames, y.numKeyFrames) << "animator " << i;
        for (int k = 0; k < x.numKeyFrames; k++) {
            EXPECT_EQ(x.keyFrames[k].x, y.keyFrames[k].x);
            EXPECT_EQ(x.keyFrames[k].y, y.keyFrames[k].y);
            EXPECT_EQ(x.keyFrames[k].steps, y.keyFrames[k].steps);
            if (sameKinds) { EXPECT_EQ(x.keyFrames[k].kind, y.keyFrames[k].kind) << "animator " << i << " key " << k; }
        }
    }
}

}  // namespace

TEST(KeyFrameKindFiles, KindsRoundTripAndTheLineFollowsSteps) {
    auto recorded = std::make_unique<Person>();
    recordWithKinds(*recorded);
    const std::string text = textOf(*recorded);
    EXPECT_NE(text.find("steps=20\ninterp=smooth\npos=("), std::string::npos) << text;
    EXPECT_NE(text.find("steps=25\ninterp=hold\npos=("), std::string::npos);

    auto loaded = std::make_unique<Person>();
    const std::string console = readInto(*loaded, text);
    expectSameQueues(*recorded, *loaded, true);
    EXPECT_EQ(loaded->part[HEAD].kfa.keyFrames[1].kind, KIND_HOLD);
    // The line is not an entry: no "set" line is printed for it.
    EXPECT_EQ(console.find("interp"), std::string::npos);
    EXPECT_EQ(textOf(*loaded), text);
}

TEST(KeyFrameKindFiles, OlderReadersSeeTheSameKeyframesAndFilesWithoutKindsStaySplines) {
    auto recorded = std::make_unique<Person>();
    recordWithKinds(*recorded);
    const std::string text = textOf(*recorded);

    // What a reader that skips the lines gets: the same keyframes, all splines.
    auto plain = std::make_unique<Person>();
    readInto(*plain, withoutKindLines(text));
    auto full = std::make_unique<Person>();
    readInto(*full, text);
    expectSameQueues(*plain, *full, false);
    for (int k = 0; k < 3; k++) EXPECT_EQ(plain->part[TORSO].kfa.keyFrames[k].kind, KIND_SPLINE);

    // A spline-only person writes no kind lines at all: old files stay byte for byte.
    for (int k = 0; k < 3; k++) recorded->setKeyFrameKind(k, KIND_SPLINE);
    EXPECT_EQ(textOf(*recorded).find("interp="), std::string::npos);

    // An unknown kind word reads as the spline.
    auto odd = std::make_unique<Person>();
    readInto(*odd, "!!!Marionetrix_v1.0\n!!type=animation\n!name=x\n!numKeyFrames=1\n<bodykeyframe>\n"
                   "steps=20\ninterp=bouncy\nHEAD=(1,2,3)\nEOF\n");
    ASSERT_EQ(odd->part[HEAD].kfa.numKeyFrames, 1);
    EXPECT_EQ(odd->part[HEAD].kfa.keyFrames[0].kind, KIND_SPLINE);
}

TEST(KeyFrameKindFiles, CodeExportStatesEachNonSplineKeyframe) {
    auto p = std::make_unique<Person>();
    recordWithKinds(*p);
    p->setKeyFrameKind(2, KIND_SPLINE);
    std::ostringstream out;
    writeAnimationCode(*p, "p.", out);
    const std::string code = out.str();
    EXPECT_NE(code.find("p.setKeyFrameKind(0,KIND_SMOOTH);\n"), std::string::npos) << code;
    EXPECT_NE(code.find("p.setKeyFrameKind(1,KIND_HOLD);\n"), std::string::npos);
    EXPECT_EQ(code.find("setKeyFrameKind(2"), std::string::npos);
    // The statement closes its block, after the part pushes.
    EXPECT_LT(code.find("part[RHI].kfa.pushKeyFrame"), code.find("p.setKeyFrameKind(0,"));
}
