// The code export: the exact statements a save writes to _CODE_OUTPUT.txt.
#include <gtest/gtest.h>

#include <memory>

#include "figure/person.h"
#include "io_test_support.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

const char* const kExportHeader = "int speed = 20;\n\np.clearAllKeyFrames();\np.setCycle(true);\n\n";

std::string saveAndReadExport(Person& p, const std::string& file) {
    CaptureStdout();
    p.saveAnimation(file.c_str());
    GetCapturedStdout();
    return readFile("_CODE_OUTPUT.txt");
}

}  // namespace

using CodeExport = InTempDir;

TEST_F(CodeExport, NoKeyframesGiveTheFiveHeaderLines) {
    auto p = std::make_unique<Person>();
    EXPECT_EQ(saveAndReadExport(*p, path("a.txt")), kExportHeader);
}

TEST_F(CodeExport, OneRecordedPoseGivesOneBlockOfPushes) {
    auto p = std::make_unique<Person>();  // standing pose
    p->setPosition(-0.5f, 1.0f / 3.0f, 1234567.0f);
    p->part[HEAD].rotation[2] = 0.0001f;
    p->pushPoseKeyFrame(20);
    const std::string expected = std::string(kExportHeader) +
        "\n"
        "speed=20;\n"
        "p.kfaPos.pushKeyFrame(-0.5,0.333333,1.23457e+06,REL,speed);\n"
        "p.part[ROOT].kfa.pushKeyFrame(0,0,0,ABS,speed);\n"
        "p.part[TORSO].kfa.pushKeyFrame(0,0,0,ABS,speed);\n"
        "p.part[STOMK].kfa.pushKeyFrame(0,0,0,ABS,speed);\n"
        "p.part[PELVIS].kfa.pushKeyFrame(0,0,0,ABS,speed);\n"
        "p.part[NECK].kfa.pushKeyFrame(0,0,0,ABS,speed);\n"
        "p.part[HEAD].kfa.pushKeyFrame(0,0,0.0001,ABS,speed);\n"
        "p.part[RUA].kfa.pushKeyFrame(170,0,0,ABS,speed);\n"
        "p.part[LUA].kfa.pushKeyFrame(170,0,0,ABS,speed);\n"
        "p.part[RLA].kfa.pushKeyFrame(0,0,0,ABS,speed);\n"
        "p.part[LLA].kfa.pushKeyFrame(0,0,0,ABS,speed);\n"
        "p.part[RH].kfa.pushKeyFrame(10,0,0,ABS,speed);\n"
        "p.part[LH].kfa.pushKeyFrame(10,0,0,ABS,speed);\n"
        "p.part[RUL].kfa.pushKeyFrame(180,0,0,ABS,speed);\n"
        "p.part[LUL].kfa.pushKeyFrame(180,0,0,ABS,speed);\n"
        "p.part[RLL].kfa.pushKeyFrame(0,0,0,ABS,speed);\n"
        "p.part[LLL].kfa.pushKeyFrame(0,0,0,ABS,speed);\n"
        "p.part[RF].kfa.pushKeyFrame(-90,0,0,ABS,speed);\n"
        "p.part[LF].kfa.pushKeyFrame(-90,0,0,ABS,speed);\n"
        "p.part[LHI].kfa.pushKeyFrame(0,0,0,ABS,speed);\n"
        "p.part[RHI].kfa.pushKeyFrame(0,0,0,ABS,speed);\n"
        "p.setKeyFrameKind(0,KIND_SMOOTH);\n";  // a pose recorded in the window is smooth
    EXPECT_EQ(saveAndReadExport(*p, path("a.txt")), expected);

    // A second save replaces the export.
    p->clearAllKeyFrames();
    EXPECT_EQ(saveAndReadExport(*p, path("b.txt")), kExportHeader);
}
