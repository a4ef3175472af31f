// Animation files: save and load round trips, the writer's slot rules, the
// reader's line rules and its tolerance of damaged files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <sstream>

#include "figure/person.h"
#include "io/animation_file.h"
#include "base/console.h"
#include "base/safe_file.h"
#include "io_test_support.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

const char* const kHeader = "!!!Marionetrix_v1.0\n!!type=animation\n!name=Moonwalk\n!numKeyFrames=1\n<bodykeyframe>\n";

// A value as it comes back from a file: rounded to 6 significant digits.
float roundTrip(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
    return static_cast<float>(std::strtod(text, nullptr));
}

// Every animator of the person: kfaPos, then the 20 parts.
const KeyFrameAnimation& animator(const Person& p, int i) { return i == 0 ? p.kfaPos : p.part[i - 1].kfa; }

// Reads text into a fresh person; returns its console output.
std::string readInto(Person& p, const std::string& text, bool* result = nullptr) {
    std::istringstream in(text);
    CaptureStdout();
    const bool ok = readAnimationText(p, in);
    if (result) *result = ok;
    return GetCapturedStdout();
}

// Lets the first `writeBudget` bytes reach the disk, then reports it full.
long writeBudget = 0;
long fullDiskAfterBudget(int fd, const void* data, std::size_t n) {
    if (writeBudget <= 0) {
        errno = ENOSPC;
        return -1;
    }
    const long put = static_cast<long>(n) < writeBudget ? static_cast<long>(n) : writeBudget;
    writeBudget -= put;
    return ::write(fd, data, static_cast<std::size_t>(put));
}

}  // namespace

using AnimationFile = InTempDir;

TEST_F(AnimationFile, RecordedAnimationComesBackAtSixDigitsAndCycling) {
    auto src = std::make_unique<Person>();
    src->pushPoseKeyFrame(20);
    src->selectPart(HEAD);
    src->rotateSelectedPart(17, 1);
    src->moveForward(1.3f, 1);
    src->turnFigure(33.3f, 1);
    src->pushPoseKeyFrame(20);
    src->selectPart(LLA);
    src->rotateSelectedPart(-71, 0);
    src->moveForward(-0.77f, 1);
    src->pushPoseKeyFrame(20);

    CaptureStdout();
    EXPECT_TRUE(src->saveAnimation(path("walk.txt").c_str()));
    EXPECT_EQ(GetCapturedStdout(), "Animation has been saved\n");

    auto dst = std::make_unique<Person>();
    dst->kfaPos.setCycle(false);
    CaptureStdout();
    EXPECT_TRUE(dst->loadAnimation(path("walk.txt").c_str()));
    const std::string out = GetCapturedStdout();
    EXPECT_EQ(countOf(out, "  Robot position set\n"), 3);
    EXPECT_EQ(countOf(out, "  partLabel=HEAD set\n"), 3);
    EXPECT_EQ(countOf(out, " set\n"), 63);
    EXPECT_EQ(out.substr(out.size() - 10), "EOF found\n");

    for (int a = 0; a < 21; a++) {
        const KeyFrameAnimation& want = animator(*src, a);
        const KeyFrameAnimation& got = animator(*dst, a);
        ASSERT_EQ(got.numKeyFrames, 3) << "animator " << a;
        EXPECT_TRUE(got.cycle) << "animator " << a;
        for (int k = 0; k < 3; k++) {
            EXPECT_EQ(got.keyFrames[k].x, roundTrip(want.keyFrames[k].x));
            EXPECT_EQ(got.keyFrames[k].y, roundTrip(want.keyFrames[k].y));
            EXPECT_EQ(got.keyFrames[k].z, roundTrip(want.keyFrames[k].z));
            EXPECT_EQ(got.keyFrames[k].steps, 20);
            EXPECT_EQ(got.keyFrames[k].mode, ABS);
        }
    }
    // The moves and turns really reached the file.
    EXPECT_NE(dst->kfaPos.keyFrames[2].x, 0);
    EXPECT_FLOAT_EQ(dst->part[HEAD].kfa.keyFrames[1].y, 17);
    EXPECT_NEAR(dst->part[ROOT].kfa.keyFrames[2].y, 33.3f, 1e-4);
}

TEST_F(AnimationFile, WriterTakesTheTorsoCountAndEverySlotEvenStaleOnes) {
    auto p = std::make_unique<Person>();
    p->position[0] = 7;
    p->part[HEAD].rotation[0] = 11;
    p->pushPoseKeyFrame(20);
    p->position[0] = 8;
    p->part[HEAD].rotation[0] = 12;
    p->pushPoseKeyFrame(20);
    p->clearAllKeyFrames();  // lowers the counts; slots 0 and 1 keep their records
    p->part[TORSO].kfa.pushKeyFrame(1, 2, 3, ABS, 30);
    p->part[TORSO].kfa.pushKeyFrame(4, 5, 6, ABS, 40);
    p->part[HEAD].kfa.pushKeyFrame(-0.5f, 0, 0, ABS, 99);

    std::ostringstream out;
    writeAnimationText(*p, out);
    const std::string text = out.str();
    EXPECT_EQ(text.rfind("!!!Marionetrix_v1.0\n!!type=animation\n!name=Moonwalk\n!numKeyFrames=2\n<bodykeyframe>\n", 0), 0u);
    EXPECT_NE(text.find("steps=30\npos=(7,0,0)REL\nROOT=(0,0,0)\nTORSO=(1,2,3)\n"), std::string::npos);
    EXPECT_NE(text.find("steps=40\npos=(8,0,0)REL\n"), std::string::npos);
    EXPECT_NE(text.find("HEAD=(-0.5,0,0)\n"), std::string::npos);
    EXPECT_NE(text.find("HEAD=(12,0,0)\n"), std::string::npos);  // stale slot 1
    EXPECT_EQ(countOf(text, "<bodykeyframe>\n"), 2);
    EXPECT_EQ(text.substr(text.size() - 4), "EOF\n");

    auto q = std::make_unique<Person>();
    readInto(*q, text);
    for (int a = 0; a < 21; a++) {
        ASSERT_EQ(animator(*q, a).numKeyFrames, 2);
        EXPECT_EQ(animator(*q, a).keyFrames[1].steps, 40);
    }
}

TEST_F(AnimationFile, EmptyAnimationSavesTheHeaderOnlyAndLoadsToAClearedCyclingPerson) {
    auto p = std::make_unique<Person>();
    CaptureStdout();
    p->saveAnimation(path("empty.txt").c_str());
    GetCapturedStdout();
    EXPECT_EQ(readFile(path("empty.txt")),
              "!!!Marionetrix_v1.0\n!!type=animation\n!name=Moonwalk\n!numKeyFrames=0\nEOF\n");

    p->pushPoseKeyFrame(20);
    CaptureStdout();
    EXPECT_TRUE(p->loadAnimation(path("empty.txt").c_str()));
    EXPECT_EQ(GetCapturedStdout(), "EOF found\n");
    for (int a = 0; a < 21; a++) {
        EXPECT_EQ(animator(*p, a).numKeyFrames, 0);
        EXPECT_TRUE(animator(*p, a).cycle);
    }
}

TEST_F(AnimationFile, RejectedFilesStillLeaveThePersonClearedAndCycling) {
    auto p = std::make_unique<Person>();
    writeFile(path("blank.txt"), "!!!Marionetrix_v1.0  \n!!type=animation\n!n\n!n\n<bodykeyframe>\nsteps=20\nHEAD=(1,2,3)\nEOF\n");
    p->pushPoseKeyFrame(20);
    CaptureStdout();
    EXPECT_FALSE(p->loadAnimation(path("blank.txt").c_str()));
    EXPECT_EQ(GetCapturedStdout(), "ERROR: text file wrong format\n");
    EXPECT_EQ(p->part[HEAD].kfa.numKeyFrames, 0);
    EXPECT_TRUE(p->part[HEAD].kfa.cycle);

    p->pushPoseKeyFrame(20);
    CaptureStdout();
    EXPECT_FALSE(p->loadAnimation(path("missing.txt").c_str()));
    EXPECT_EQ(GetCapturedStdout(), "ERROR: text file not found\n");
    EXPECT_EQ(p->kfaPos.numKeyFrames, 0);
    EXPECT_TRUE(p->kfaPos.cycle);

    // The program's own loads name the file; quiet or not, errors show.
    setConsoleQuiet(true);
    CaptureStdout();
    EXPECT_FALSE(p->loadAnimation(path("missing.txt").c_str(), true));
    EXPECT_EQ(GetCapturedStdout(), "ERROR: text file not found: '" + path("missing.txt") + "'\n");
    setConsoleQuiet(false);
}

TEST_F(AnimationFile, AQuietConsoleDropsTheLoadLinesButNotItsErrors) {
    setConsoleQuiet(true);
    auto p = std::make_unique<Person>();
    EXPECT_EQ(readInto(*p, std::string(kHeader) + "steps=20\npos=(1,2,3)REL\nHEAD=(1,2,3)\nEOF\n"), "");
    EXPECT_EQ(p->part[HEAD].kfa.numKeyFrames, 1) << "quiet, not skipped";
    EXPECT_EQ(readInto(*p, "!!!Marionetrix_v2.0\n"), "ERROR: text file wrong format\n");
    setConsoleQuiet(false);
    EXPECT_EQ(readInto(*p, std::string(kHeader) + "steps=20\nHEAD=(1,2,3)\n"), "  partLabel=HEAD set\nEOF found\n");
}

TEST_F(AnimationFile, ReaderFollowsTheLineRules) {
    auto p = std::make_unique<Person>();
    // Skipped header lines may hold anything; a 1-step block prints but queues
    // nothing; a lower-case label is unknown; a block marker starts a new block.
    const std::string text = std::string(kHeader) +
        "steps=1\nHEAD=(1,2,3)\npos=(4,5,6)REL\n<bodykeyframe>\n"
        "steps=25\nhead=(9,9,9)\nHEAD=(1,2,3)\nHEAD=(7,8,9)\nLF=(5\nRF=(1,2\n"
        "EOF\nHEAD=(6,6,6)\nnot read\n";
    std::istringstream in(text);
    CaptureStdout();
    EXPECT_TRUE(readAnimationText(*p, in));
    EXPECT_EQ(GetCapturedStdout(),
              "  partLabel=HEAD set\n  Robot position set\n"
              "  partLabel=HEAD set\n  partLabel=HEAD set\n  partLabel=LF set\n  partLabel=RF set\n"
              "EOF found\n");
    std::string left((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(left, "HEAD=(6,6,6)\nnot read\n");  // nothing after "EOF" was consumed

    EXPECT_EQ(p->kfaPos.numKeyFrames, 0);
    ASSERT_EQ(p->part[HEAD].kfa.numKeyFrames, 2);
    EXPECT_EQ(p->part[HEAD].kfa.keyFrames[1].x, 7);
    EXPECT_EQ(p->part[HEAD].kfa.keyFrames[1].steps, 25);
    // Missing separators: the field runs on and the next one starts over.
    const KeyFrame& lf = p->part[LF].kfa.keyFrames[0];
    EXPECT_EQ(lf.x, 5); EXPECT_EQ(lf.y, 5); EXPECT_EQ(lf.z, 5);
    const KeyFrame& rf = p->part[RF].kfa.keyFrames[0];
    EXPECT_EQ(rf.x, 1); EXPECT_EQ(rf.y, 2); EXPECT_EQ(rf.z, 2);
}

TEST_F(AnimationFile, DamagedLinesAreSkippedAndCrlfFilesReadLikeLfFiles) {
    const std::string junk = std::string(kHeader) + "steps=20\n\n=\nHEAD=\nX\n" + "HEAD=(1,2,3)" + std::string(10000, ' ') + "\n" +
                             std::string("\xff\x00\x01=(\x80", 6) + "\n" + "NECK=(1e999,nan,abc)\n" +
                             "RH=(-inf,0x10,)\n" + "TORSO=(3,4,5)";  // no end of line, no "EOF"
    auto p = std::make_unique<Person>();
    bool ok = false;
    const std::string out = readInto(*p, junk, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(out, "  partLabel=NECK set\n  partLabel=RH set\n  partLabel=TORSO set\nEOF found\n");
    const KeyFrame& neck = p->part[NECK].kfa.keyFrames[0];
    EXPECT_EQ(neck.x, 0); EXPECT_EQ(neck.y, 0); EXPECT_EQ(neck.z, 0);
    EXPECT_EQ(p->part[RH].kfa.keyFrames[0].x, 0);
    EXPECT_EQ(p->part[TORSO].kfa.keyFrames[0].z, 5);

    std::string lf = std::string(kHeader) + "steps=20\npos=(1,2,3)REL\nLUA=(170,-0.5,0.333333)\nEOF\n";
    std::string crlf;
    for (char c : lf) crlf += (c == '\n') ? std::string("\r\n") : std::string(1, c);
    auto a = std::make_unique<Person>();
    auto b = std::make_unique<Person>();
    EXPECT_EQ(readInto(*a, lf), readInto(*b, crlf));
    EXPECT_EQ(b->kfaPos.keyFrames[0].z, 3);
    EXPECT_EQ(b->part[LUA].kfa.keyFrames[0].y, -0.5f);
    EXPECT_EQ(b->part[LUA].kfa.keyFrames[0].z, a->part[LUA].kfa.keyFrames[0].z);
}

TEST_F(AnimationFile, KeyframesBeyondCapacityAreRefusedAndTheLoadGoesOn) {
    std::string text = kHeader;
    for (int i = 0; i < KEYFRAME_CAPACITY + 5; i++)
        text += "steps=10\nHEAD=(" + std::to_string(i) + ",0,0)\n<bodykeyframe>\n";
    auto p = std::make_unique<Person>();
    bool ok = false;
    const std::string out = readInto(*p, text, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(countOf(out, "partLabel=HEAD set"), KEYFRAME_CAPACITY + 5);
    EXPECT_EQ(p->part[HEAD].kfa.numKeyFrames, KEYFRAME_CAPACITY);
    EXPECT_EQ(p->part[HEAD].kfa.keyFrames[KEYFRAME_CAPACITY - 1].x, KEYFRAME_CAPACITY - 1);
}

TEST_F(AnimationFile, AFailedWriteIsReportedNotCalledSaved) {
    auto p = std::make_unique<Person>();
    p->pushPoseKeyFrame(20);
    // A FIFO stands for any device: it must be refused, never replaced.
    ASSERT_EQ(mkfifo(path("pipe").c_str(), 0600), 0);
    for (const std::string& target : {path("no/such/folder/a.txt"), path("pipe")}) {
        CaptureStdout();
        EXPECT_FALSE(p->saveAnimation(target.c_str()));
        EXPECT_EQ(GetCapturedStdout(), "ERROR: could not write '" + target + "'\n");
    }
    struct stat st;
    ASSERT_EQ(stat(path("pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    // A code export that cannot be written only warns; the save goes on.
    std::remove("_CODE_OUTPUT.txt");
    ASSERT_EQ(mkdir("_CODE_OUTPUT.txt", 0755), 0);
    CaptureStdout();
    EXPECT_TRUE(p->saveAnimation(path("kept.txt").c_str()));
    EXPECT_EQ(GetCapturedStdout(), "WARNING: could not write '_CODE_OUTPUT.txt'\nAnimation has been saved\n");
    EXPECT_NE(readFile(path("kept.txt")).find("steps=20\n"), std::string::npos);
}

// A save that hits a full disk half-way used to leave the file it replaced
// cut short, and the code export with it.
TEST_F(AnimationFile, ASaveOnAFullDiskLeavesTheOldFileAndExportByteForByte) {
    auto old = std::make_unique<Person>();
    for (int i = 0; i < 3; i++) {
        old->turnFigure(10, 1);
        old->pushPoseKeyFrame(20);
    }
    CaptureStdout();
    ASSERT_TRUE(old->saveAnimation(path("dance.txt").c_str()));
    GetCapturedStdout();
    const std::string oldFile = readFile(path("dance.txt"));
    const std::string oldExport = readFile("_CODE_OUTPUT.txt");

    auto p = std::make_unique<Person>();
    p->moveForward(2, 1);
    p->pushPoseKeyFrame(30);
    for (long budget : {0L, 500L}) {
        writeBudget = budget;
        setSafeWriteFunctionForTests(fullDiskAfterBudget);
        CaptureStdout();
        const bool saved = p->saveAnimation(path("dance.txt").c_str());
        const std::string out = GetCapturedStdout();
        setSafeWriteFunctionForTests(nullptr);
        EXPECT_FALSE(saved);
        EXPECT_EQ(out, "WARNING: could not write '_CODE_OUTPUT.txt'\nERROR: could not write '" +
                           path("dance.txt") + "'\n");
        EXPECT_EQ(readFile(path("dance.txt")), oldFile) << "budget " << budget;
        EXPECT_EQ(readFile("_CODE_OUTPUT.txt"), oldExport) << "budget " << budget;
    }
    // No temporaries are left behind: the folder holds just the two files.
    EXPECT_EQ(std::system(("test $(ls -A '" + dir + "' | wc -l) -eq 2").c_str()), 0);
}

// F5 on a FIFO blocked in open for good, and /dev/zero read forever looking
// for a line end. Both, and a folder and a huge file, are refused at once.
TEST_F(AnimationFile, LoadingWhatIsNotARegularFileReturnsAtOnceWithTheReason) {
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    writeFile(path("huge.txt"), kAnimationMagicLine);
    ASSERT_EQ(truncate(path("huge.txt").c_str(), static_cast<off_t>(kMaxAnimationFileBytes + 1)), 0);
    const std::pair<std::string, std::string> cases[] = {
        {path("fifo"), "is not a regular file"},
        {"/dev/zero", "is not a regular file"},
        {dir, "is a folder, not a file"},
        {path("huge.txt"), "is larger than 64 MB"},
    };
    auto p = std::make_unique<Person>();
    for (const auto& c : cases) {
        p->pushPoseKeyFrame(20);
        CaptureStdout();
        EXPECT_FALSE(p->loadAnimation(c.first.c_str()));
        EXPECT_EQ(GetCapturedStdout(), "ERROR: '" + c.first + "' " + c.second + "\n");
        EXPECT_EQ(p->part[HEAD].kfa.numKeyFrames, 0);
        EXPECT_TRUE(p->part[HEAD].kfa.cycle);
    }
}

TEST_F(AnimationFile, AnglesAndPositionsBeyondAMillionReadAsZero) {
    const std::string text = std::string(kHeader) +
        "steps=20\npos=(1000000,-1000000,1000000.5)REL\nHEAD=(3e38,-1e39,-2e6)\nLUA=(1e6,-999999.9,0x1p30)\nEOF\n";
    auto p = std::make_unique<Person>();
    readInto(*p, text);
    const KeyFrame& pos = p->kfaPos.keyFrames[0];
    EXPECT_EQ(pos.x, 1e6f); EXPECT_EQ(pos.y, -1e6f); EXPECT_EQ(pos.z, 0);
    const KeyFrame& head = p->part[HEAD].kfa.keyFrames[0];
    EXPECT_EQ(head.x, 0); EXPECT_EQ(head.y, 0); EXPECT_EQ(head.z, 0);
    const KeyFrame& lua = p->part[LUA].kfa.keyFrames[0];
    EXPECT_EQ(lua.x, 1e6f); EXPECT_EQ(lua.y, -999999.9f); EXPECT_EQ(lua.z, 0);
}

TEST(BuiltInAnimations, EveryShippedFileLoadsToTheEnd) {
    for (const char* name : {"superman", "1_boy", "1_girl", "2_swordfight1", "2_swordfight2", "lawnmower"}) {
        auto p = std::make_unique<Person>();
        const std::string file = std::string(PUPPETORIUM_SOURCE_DIR) + "/animations/" + name + ".txt";
        CaptureStdout();
        EXPECT_TRUE(p->loadAnimation(file.c_str())) << name;
        const std::string out = GetCapturedStdout();
        EXPECT_EQ(out.substr(out.size() - 10), "EOF found\n") << name;
        EXPECT_GT(p->part[TORSO].kfa.numKeyFrames, 1) << name;
        for (const BodyPart& part : p->part) EXPECT_EQ(part.kfa.numKeyFrames, p->part[TORSO].kfa.numKeyFrames) << name;
    }
}
