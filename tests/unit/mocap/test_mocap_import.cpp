// Recordings made here, imported, played back and compared with the motion
// they were made from, limb by limb.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>

#include "base/platform.h"
#include "core/app_state.h"
#include "core/messages.h"
#include "export/bvh_writer.h"
#include "edit/edit_commands.h"
#include "export/render_command.h"
#include "mocap/mocap_import.h"
#include "mocap_test_rig.h"
#include "walk_recording.h"
#include "../io/io_test_support.h"

using namespace mocap_test;

namespace {

constexpr int kLimbs[] = {PELVIS, STOMK, TORSO, NECK, HEAD, RUA, LUA, RLA, LLA, RH, LH, RUL, LUL, RLL, LLL, RF, LF};

double degreesBetween(Vec3 a, Vec3 b) {
    const double c = dot(a, b) / (length(a) * length(b));
    return std::acos(std::max(-1.0, std::min(1.0, c))) * kDegrees;
}

// The imported figure as its animators play it at time t (steps).
FigureFrames played(Person& p, float t) {
    p.poseAtTime(t);
    FigureFrames out;
    framesOf(p, out);
    return out;
}

struct LimbErrors {
    double mean = 0, worst = 0;
    std::vector<double> all;
    double percentile(double q) {
        std::sort(all.begin(), all.end());
        return all.empty() ? 0 : all[static_cast<std::size_t>(q * (all.size() - 1))];
    }
};

// Compares every limb's direction, as the figure plays from clip start
// `start`, with the known motion at each recorded frame.
LimbErrors compare(Person& figure, float start, const KnownMotion& motion, double frameTime) {
    LimbErrors e;
    for (int f = 0; f < motion.frames; f++) {
        const float t = static_cast<float>(start + f * frameTime * kAnimatorStepsPerSecond);
        const FigureFrames got = played(figure, t);
        const FigureFrames want = framesAt(motion, f);
        for (int i : kLimbs) {
            const double d = degreesBetween(got.turn[i].c[1], want.turn[i].c[1]);
            e.all.push_back(d);
            e.mean += d;
            e.worst = std::max(e.worst, d);
        }
    }
    e.mean /= std::max<std::size_t>(1, e.all.size());
    return e;
}

// Imports `text` into a fresh figure and compares.
LimbErrors importAndCompare(const std::string& text, const KnownMotion& motion, double frameTime,
                            MocapImport* keep = nullptr) {
    auto figure = std::make_unique<Person>();
    MocapImport m;
    std::string error;
    EXPECT_TRUE(prepareMocap(text, *figure, m, error)) << error;
    applyMocap(*figure, m);
    if (keep) *keep = m;
    return compare(*figure, m.clipStart(), motion, frameTime);
}

}  // namespace

// The program's own export, read back: the limbs within a degree at every frame.
TEST(MocapImport, OwnExportComesBackWithinADegree) {
    auto source = std::make_unique<Person>();
    const KnownMotion motion = swingingMotion(*source, 101, 4.0);
    BvhRecorder rec;
    rec.begin(*source);
    for (int f = 0; f < motion.frames; f++) {
        for (int k = 0; k < 3; k++) source->position[k] = motion.position[3 * f + k];
        for (int i = 0; i < 20; i++)
            for (int k = 0; k < 3; k++) source->part[i].rotation[k] = motion.pose(f)[3 * i + k];
        rec.addFrame(*source);
    }
    MocapImport m;
    LimbErrors e = importAndCompare(rec.text(0.04), motion, 0.04, &m);
    EXPECT_LT(e.worst, 1.0);
    std::fprintf(stderr, "[ limbs    ] own export                 mean %.2f deg, 90th %.2f deg, worst %.2f deg, %zu keyframes\n",
                e.mean, e.percentile(0.9), e.worst, m.keys.times.size());
    EXPECT_FALSE(m.keys.thinned);
    EXPECT_LT(m.keys.times.size(), 101u);  // the reduction drops frames it does not need
    EXPECT_TRUE(m.map.leftOut.empty());
}

// The figure, stepped frame by frame as the program steps it, plays the
// retargeted clip within the reduction's tolerance: the keyframes are
// `smooth`, and what the reduction measured is what the figure plays.
TEST(MocapImport, TheFigurePlaysTheClipWithinTheTolerance) {
    auto figure = std::make_unique<Person>();
    figure->part[RUA].rotation[2] = 30;  // a pose to glide in from
    const KnownMotion motion = swingingMotion(*figure, 241, 6.0);
    RecordingStyle style;
    style.names = Names::Cmu;
    MocapImport m;
    std::string error;
    ASSERT_TRUE(prepareMocap(recording(motion, style, 0.025), *figure, m, error)) << error;
    ASSERT_FALSE(m.keys.thinned);
    ASSERT_LE(m.keys.worstDegrees, kReductionToleranceDegrees);
    const FigureShape shape = shapeOf(*figure);
    applyMocap(*figure, m);
    for (int i = 0; i < 20; i++)
        for (int k = 0; k < figure->part[i].kfa.numKeyFrames; k++)
            ASSERT_EQ(figure->part[i].kfa.keyFrames[k].kind, KIND_SMOOTH) << "part " << i << " keyframe " << k;
    ASSERT_EQ(figure->kfaPos.keyFrames[0].kind, KIND_SMOOTH);

    const std::vector<float> want = sampleAtSteps(m.motion);
    const int steps = static_cast<int>(want.size() / 63);
    const int start = static_cast<int>(m.clipStart());
    ASSERT_EQ(static_cast<float>(start), m.clipStart());
    PosedFigure recorded(shape);
    double worstAngle = 0, worstMove = 0;
    for (int frame = 1; frame < start + steps; frame++) {
        figure->stepAnimationBy(1);
        const int s = frame - start;
        if (s < 0) continue;
        FigureFrames got, expect;
        framesOf(*figure, got);
        recorded.frames(want.data() + 63 * s, want.data() + 63 * s + 3, expect);
        for (int i = 0; i < 18; i++)
            for (int axis : {0, 1})
                worstAngle = std::max(worstAngle, degreesBetween(got.turn[i].c[axis], expect.turn[i].c[axis]));
        worstMove = std::max(worstMove, length(got.at[ROOT] - expect.at[ROOT]));
    }
    EXPECT_LE(worstAngle, kReductionToleranceDegrees + 1e-3);
    EXPECT_LE(worstMove, kReductionPositionTolerance + 1e-4);
    // The reduction's own worst is the worst the figure plays, not a guess at it.
    EXPECT_NEAR(std::max(worstAngle, worstMove / kReductionPositionTolerance * kReductionToleranceDegrees),
                m.keys.worstDegrees, 0.01);
    EXPECT_LT(m.keys.times.size(), static_cast<std::size_t>(steps / 2));
}

// Other rigs, axes, units, orders and line ends: the motion within 2 degrees on average.
TEST(MocapImport, RecordingsOfOtherToolsComeBackWithinTwoDegrees) {
    auto source = std::make_unique<Person>();
    struct Case { const char* what; RecordingStyle style; double frameTime; int frames; };
    std::vector<Case> cases;
    auto add = [&](const char* what, double frameTime, int frames, auto tweak) {
        RecordingStyle s;
        tweak(s);
        cases.push_back({what, s, frameTime, frames});
    };
    add("game rig, Y-up", 0.04, 101, [](RecordingStyle&) {});
    add("Z-up", 0.04, 101, [](RecordingStyle& s) { s.zUp = true; });
    add("ZXY", 0.04, 101, [](RecordingStyle& s) { s.orders = {"ZXY"}; });
    add("YXZ", 0.04, 101, [](RecordingStyle& s) { s.orders = {"YXZ"}; });
    add("mixed orders", 0.04, 101, [](RecordingStyle& s) { s.orders = {"ZXY", "YXZ", "XZY", "ZYX", "XYZ"}; });
    add("centimetres", 0.04, 101, [](RecordingStyle& s) { s.unit = 30; });
    add("CRLF", 0.04, 101, [](RecordingStyle& s) { s.crlf = true; });
    add("root OFFSET", 0.04, 101, [](RecordingStyle& s) { s.rootOffset = {0.5, 9, -2}; });
    add("CMU names", 0.04, 101, [](RecordingStyle& s) { s.names = Names::Cmu; s.orders = {"ZYX"}; });
    add("game names with a prefix", 0.04, 101, [](RecordingStyle& s) { s.prefix = "mixamorig:"; });
    add("120 fps, Z-up, cm, CMU", 1.0 / 120, 481, [](RecordingStyle& s) {
        s.zUp = true; s.unit = 2.54; s.names = Names::Cmu; s.orders = {"ZXY"};
    });
    add("every frame of 100 fps", 0.01, 401, [](RecordingStyle& s) { s.orders = {"YXZ", "ZXY"}; });
    for (const Case& c : cases) {
        const KnownMotion motion = swingingMotion(*source, c.frames, 4.0);
        const std::string text = recording(motion, c.style, c.frameTime);
        MocapImport m;
        LimbErrors e = importAndCompare(text, motion, c.frameTime, &m);
        EXPECT_LT(e.mean, 2.0) << c.what;
        EXPECT_LT(e.percentile(0.9), 3.0) << c.what;
        std::fprintf(stderr, "[ limbs    ] %-26s mean %.2f deg, 90th %.2f deg, worst %.2f deg, %zu keyframes\n", c.what,
                    e.mean, e.percentile(0.9), e.worst, m.keys.times.size());
        EXPECT_NE(std::find(m.map.leftOut.begin(), m.map.leftOut.end(), "toes"), m.map.leftOut.end()) << c.what;
        EXPECT_NE(std::find(m.map.leftOut.begin(), m.map.leftOut.end(), "fingers"), m.map.leftOut.end()) << c.what;
    }
}

// The same word names different bones: the chain decides.
TEST(MocapImport, ShoulderMeansWhatTheChainSays) {
    auto figure = std::make_unique<Person>();
    const KnownMotion motion = swingingMotion(*figure, 5, 1.0);
    for (Names names : {Names::Game, Names::Cmu}) {
        RecordingStyle s;
        s.names = names;
        BvhClip clip;
        RigMap map;
        std::string error;
        ASSERT_TRUE(readBvhText(recording(motion, s, 0.04), clip, error)) << error;
        ASSERT_TRUE(mapRig(clip, map, error)) << error;
        const std::string upperArm = clip.joints[map.part[LUA].from].name;
        EXPECT_EQ(upperArm, names == Names::Cmu ? "LeftShoulder" : "LeftArm");
        EXPECT_EQ(clip.joints[map.part[RUL].from].name, names == Names::Cmu ? "RightHip" : "RightUpLeg");
        EXPECT_EQ(clip.joints[map.hips].name, "Hips");
    }
}

// Feet on the floor, angles unwrapped through whole turns, the clip thinned
// to the animators' capacity with one set of times for all.
TEST(MocapImport, FloorTurnsAndCapacity) {
    auto figure = std::make_unique<Person>();
    KnownMotion spin = swingingMotion(*figure, 301, 12.0);
    for (int f = 0; f < spin.frames; f++) {
        spin.angles[60 * f + 1] = static_cast<float>(3 * 360.0 * f / (spin.frames - 1));  // three turns round
        spin.position[3 * f + 1] += 40;  // recorded far above the floor
    }
    MocapImport m;
    const LimbErrors e = importAndCompare(recording(spin, RecordingStyle(), 0.04), spin, 0.04, &m);
    EXPECT_LT(e.mean, 2.0);
    double lowest = 1e9;
    PosedFigure posed(shapeOf(*figure));
    for (int f = 0; f < m.motion.frames; f++) {
        FigureFrames fr;
        posed.frames(m.motion.position.data() + 3 * f, m.motion.pose(f), fr);
        for (int foot : {RF, LF})
            lowest = std::min({lowest, fr.at[foot].y, (fr.at[foot] + fr.turn[foot] * Vec3{0, 1, 0}).y});
        const float* a = m.motion.pose(f);
        if (f > 0) {
            EXPECT_LT(std::fabs(a[1] - m.motion.pose(f - 1)[1]), 90) << "root turn jumps at frame " << f;
        }
    }
    EXPECT_NEAR(lowest, kFloorHeight, 1e-3);  // ankle or toe, whichever is lower

    // A minute of busy motion does not fit 200 keyframes.
    const KnownMotion longClip = swingingMotion(*figure, 60 * 25 + 1, 60.0, 30);
    auto person = std::make_unique<Person>();
    MocapImport big;
    std::string error;
    ASSERT_TRUE(prepareMocap(recording(longClip, RecordingStyle(), 0.04), *person, big, error)) << error;
    EXPECT_TRUE(big.keys.thinned);
    std::fprintf(stderr, "[ thinned  ] 60 s busy clip: %zu keyframes, up to %.1f deg off\n", big.keys.times.size(),
                big.keys.worstDegrees);
    EXPECT_LE(big.keys.times.size(), static_cast<std::size_t>(KEYFRAME_CAPACITY));
    EXPECT_GT(big.keys.times.size(), 150u);
    applyMocap(*person, big);
    const int n = person->kfaPos.numKeyFrames;
    EXPECT_EQ(n, static_cast<int>(big.keys.times.size()));
    for (int i = 0; i < 20; i++) {
        ASSERT_EQ(person->part[i].kfa.numKeyFrames, n);
        for (int k = 1; k < n; k++)
            ASSERT_EQ(person->part[i].kfa.keyFrames[k].steps, person->kfaPos.keyFrames[k].steps);
    }
}

// Damaged recordings are refused with the line named, and the figure keeps what it had.
class MocapRefusal : public InTempDir {};

TEST_F(MocapRefusal, DamagedFilesNameTheLineAndChangeNothing) {
    auto figure = std::make_unique<Person>();
    const KnownMotion motion = swingingMotion(*figure, 4, 1.0);
    const std::string good = recording(motion, RecordingStyle(), 0.04);
    const std::size_t motionAt = good.find("MOTION");
    const std::size_t lastLine = good.rfind('\n', good.size() - 2);
    const std::string header = good.substr(0, motionAt);
    struct Case { const char* what; std::string text; const char* says; };
    const std::size_t lastValue = good.rfind(' ') + 1;
    const std::string nan = good.substr(0, lastValue) + "nan\n";
    const std::string inf = good.substr(0, lastValue) + "-inf\n";
    std::string shortLine = good.substr(0, good.size() - 1);
    shortLine = shortLine.substr(0, shortLine.rfind(' ')) + "\n";
    const Case cases[] = {
        {"truncated", good.substr(0, lastLine + 1), "the MOTION ends after 3 of 4 frames"},
        {"extra frame", good + good.substr(lastLine + 1), "more frames than"},
        {"channel count", shortLine, "channels"},
        {"NaN", nan, "line"},
        {"infinite", inf, "line"},
        {"huge header", header + "MOTION\nFrames: 1000000000\nFrame Time: 0.04\n0 0 0\n", "line"},
        {"not BVH", "just some text\n", "line 1: not a BVH file"},
        {"open joint", header.substr(0, header.size() - 4) + "MOTION\n", "line"},
        {"no time", header + "MOTION\nFrames: 1\nFrame Time: 0\n", "Frame Time"},
    };
    for (const Case& c : cases) {
        BvhClip clip;
        std::string error;
        EXPECT_FALSE(readBvhText(c.text, clip, error)) << c.what;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(error.rfind("line ", 0), 0u) << c.what << ": " << error;
    }
    // Through the file: the figure standing as before, no keyframes.
    std::ofstream("bad.bvh") << cases[0].text;
    std::string message;
    figure->setPosition(1, 2, 3);
    EXPECT_FALSE(importMocapFile(*figure, "bad.bvh", message));
    EXPECT_EQ(message.rfind("could not import bad.bvh: line ", 0), 0u) << message;
    EXPECT_EQ(figure->part[TORSO].kfa.numKeyFrames, 0);
    EXPECT_EQ(figure->position[0], 1);
    std::ofstream("good.bvh") << good;
    EXPECT_TRUE(importMocapFile(*figure, "good.bvh", message)) << message;
    EXPECT_EQ(message.rfind("imported good.bvh: 26 joints, 0.1 s, ", 0), 0u) << message;
    EXPECT_NE(message.find("; left out: toes, fingers"), std::string::npos) << message;
}

// The converter's animation file plays the recording's motion again.
TEST_F(MocapRefusal, ConvertedAnimationFilePlaysTheMotion) {
    resetAppState();
    auto figure = std::make_unique<Person>();
    const KnownMotion motion = swingingMotion(*figure, 101, 4.0);
    RecordingStyle style;
    style.names = Names::Cmu;
    std::ofstream("walk.bvh") << recording(motion, style, 0.04);
    // --verbose: a render is otherwise quiet but for progress and errors.
    const char* argv[] = {"puppetorium", "--render", "walk.bvh", "--out", "walk.txt", "--verbose"};
    testing::internal::CaptureStdout();
    ASSERT_EQ(runRenderCommand(6, const_cast<char**>(argv)), 0);
    const std::string said = testing::internal::GetCapturedStdout();
    platform::resetSeams();
    EXPECT_NE(said.find("imported walk.bvh: 30 joints, 4.0 s"), std::string::npos) << said;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(figure->loadAnimation("walk.txt"));
    testing::internal::GetCapturedStdout();
    const KeyFrameRecords& k = figure->kfaPos.keyFrames;
    const LimbErrors e = compare(*figure, k[0].steps + k[1].steps, motion, 0.04);
    EXPECT_LT(e.worst, 1.0);
}

// A walk laid out as the public conversions of the big CMU database are.
class MocapWalk : public InTempDir {
protected:
    // Every driven part against the performer's segment it follows, at
    // every recorded frame, as `figure` plays from clip start `start`.
    static LimbErrors againstPerformer(Person& figure, float start, const WalkRecording& w) {
        struct Limb { int part, from, to; bool toEnd; };
        const Limb limbs[] = {
            {PELVIS, W_HIPS, W_SPINE, false}, {STOMK, W_SPINE, W_SPINE1, false}, {TORSO, W_SPINE1, W_NECK, false},
            {NECK, W_NECK, W_HEAD, false}, {HEAD, W_HEAD, W_HEAD, true},
            {LUA, W_LARM, W_LFOREARM, false}, {LLA, W_LFOREARM, W_LHAND, false}, {LH, W_LHAND, W_LFINGERBASE, false},
            {RUA, W_RARM, W_RFOREARM, false}, {RLA, W_RFOREARM, W_RHAND, false}, {RH, W_RHAND, W_RFINGERBASE, false},
            {LUL, W_LUPLEG, W_LLEG, false}, {LLL, W_LLEG, W_LFOOT, false}, {LF, W_LFOOT, W_LTOE, false},
            {RUL, W_RUPLEG, W_RLEG, false}, {RLL, W_RLEG, W_RFOOT, false}, {RF, W_RFOOT, W_RTOE, false},
        };
        LimbErrors e;
        for (int f = 0; f < w.frames; f++) {
            const FigureFrames got = played(figure, static_cast<float>(start + f * w.frameTime * kAnimatorStepsPerSecond));
            for (const Limb& l : limbs) {
                const Vec3 to = l.toEnd ? w.endSite(f, l.to) : w.point(f, l.to);
                const double d = degreesBetween(got.turn[l.part].c[1], to - w.point(f, l.from));
                e.all.push_back(d);
                e.mean += d;
                e.worst = std::max(e.worst, d);
            }
        }
        e.mean /= std::max<std::size_t>(1, e.all.size());
        return e;
    }

    // How far the lower foot of the played figure is above the floor, at worst and at best.
    static void feetAboveFloor(Person& figure, float start, const WalkRecording& w, double& highest, double& lowest) {
        highest = -1e9;
        lowest = 1e9;
        for (int f = 0; f < w.frames; f++) {
            const FigureFrames got = played(figure, static_cast<float>(start + f * w.frameTime * kAnimatorStepsPerSecond));
            double foot = 1e9;
            for (int part : {LF, RF})
                foot = std::min({foot, got.at[part].y,
                                 (got.at[part] + got.turn[part] * Vec3{0, figure.part[part].length, 0}).y});
            highest = std::max(highest, foot - kFloorHeight);
            lowest = std::min(lowest, foot - kFloorHeight);
        }
    }
};

TEST_F(MocapWalk, ComesInWithFeetOnTheFloorAndThroughTheConverter) {
    const WalkRecording walk = walkRecording(7.0);
    std::ofstream("walk.bvh") << walk.text;
    auto figure = std::make_unique<Person>();
    MocapImport m;
    std::string error, message;
    ASSERT_TRUE(prepareMocap(walk.text, *figure, m, error)) << error;
    EXPECT_EQ(m.clip.frames, 841);
    EXPECT_NEAR(walk.point(0, W_HIPS).y, 17, 0.6);  // the recording's units: hips some 17 above its floor
    ASSERT_TRUE(importMocapFile(*figure, "walk.bvh", message)) << message;
    const int keys = figure->kfaPos.numKeyFrames;
    EXPECT_LE(keys, KEYFRAME_CAPACITY);
    EXPECT_EQ(message.rfind("imported walk.bvh: 31 joints, 7.0 s, " + std::to_string(keys) + " keyframes", 0), 0u)
        << message;
    EXPECT_EQ(message.find("thinned to fit") != std::string::npos, m.keys.thinned) << message;
    EXPECT_NE(message.find("; left out: toes, fingers"), std::string::npos) << message;

    // The root holds the heading alone, the pelvis the tilts: facing along x
    // after the turn, no angle whirls through the root's Rx Ry Rz lock.
    const KeyFrameAnimation& root = figure->part[ROOT].kfa;
    for (int k = 0; k < keys; k++) {
        ASSERT_NEAR(root.keyFrames[k].x, 0, 1e-3) << k;
        ASSERT_NEAR(root.keyFrames[k].z, 0, 1e-3) << k;
        if (k > 0) {
            ASSERT_LT(std::fabs(root.keyFrames[k].y - root.keyFrames[k - 1].y), 20) << k;
        }
        const KeyFrame& pelvis = figure->part[PELVIS].kfa.keyFrames[k];
        ASSERT_LT(std::max({std::fabs(pelvis.x), std::fabs(pelvis.y), std::fabs(pelvis.z)}), 15) << k;
    }
    EXPECT_NEAR(root.keyFrames[keys - 1].y, 90, 8);  // a quarter turn to the left

    LimbErrors e = againstPerformer(*figure, m.clipStart(), walk);
    EXPECT_LT(e.mean, 2.0);
    EXPECT_LT(e.percentile(0.9), 3.0);
    std::fprintf(stderr, "[ walk     ] 7 s at 120 fps, 31 joints: mean %.2f deg, 90th %.2f deg, worst %.2f deg, "
                 "%d keyframes%s\n", e.mean, e.percentile(0.9), e.worst, keys, m.keys.thinned ? " (thinned)" : "");

    // Feet on the floor: never through it, and the lower foot never far above it.
    double highest, lowest;
    feetAboveFloor(*figure, m.clipStart(), walk, highest, lowest);
    EXPECT_GT(lowest, -0.1);
    EXPECT_LT(highest, 0.3);
    std::fprintf(stderr, "[ walk     ] lower foot %.3f to %.3f above the floor\n", lowest, highest);

    // The converter's animation file plays the same walk.
    resetAppState();
    const char* argv[] = {"puppetorium", "--render", "walk.bvh", "--out", "walk.txt"};
    testing::internal::CaptureStdout();
    ASSERT_EQ(runRenderCommand(5, const_cast<char**>(argv)), 0);
    testing::internal::GetCapturedStdout();
    platform::resetSeams();
    auto loaded = std::make_unique<Person>();
    testing::internal::CaptureStdout();
    ASSERT_TRUE(loaded->loadAnimation("walk.txt"));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(loaded->part[TORSO].kfa.numKeyFrames, keys);
    EXPECT_EQ(loaded->part[TORSO].kfa.keyFrames[1].kind, KIND_SMOOTH);
    const KeyFrameRecords& k = loaded->kfaPos.keyFrames;
    LimbErrors again = againstPerformer(*loaded, k[0].steps + k[1].steps, walk);
    EXPECT_NEAR(again.mean, e.mean, 0.05);
}

// Half a minute of walking needs more keyframes than an animator holds:
// they thin out, and the message says so.
TEST_F(MocapWalk, ALongWalkThinsOutAndSaysSo) {
    std::ofstream("long walk.bvh") << walkRecording(30.0).text;
    auto figure = std::make_unique<Person>();
    std::string message;
    ASSERT_TRUE(importMocapFile(*figure, "long walk.bvh", message)) << message;
    std::fprintf(stderr, "[ walk     ] %s\n", message.c_str());
    EXPECT_EQ(message.rfind("imported long walk.bvh: 31 joints, 30.0 s, 200 keyframes (thinned to fit: up to ", 0),
              0u) << message;
    EXPECT_EQ(figure->part[LLL].kfa.numKeyFrames, KEYFRAME_CAPACITY);
}

// F5 with a recording: one undo step, the message; a refused one leaves none.
TEST_F(ChooserInTempDir, F5ImportsARecordingAsOneUndoStep) {
    const KnownMotion motion = swingingMotion(app.persons[0], 26, 1.0);
    std::ofstream("walk.bvh") << recording(motion, RecordingStyle(), 0.04);
    std::ofstream("cut.bvh") << "HIERARCHY\nROOT Hips\n{\n";
    app.numPersons = 2;
    app.selectedPerson = 1;
    chooser.answers = {"cut.bvh", "walk.bvh"};
    platform::setClock([] { return 0; });
    testing::internal::CaptureStdout();
    EXPECT_FALSE(openAnimationCommand());
    const std::string* said = currentMessage(0);
    ASSERT_NE(said, nullptr);
    EXPECT_EQ(said->rfind("could not import cut.bvh: line 4: ", 0), 0u) << *said;
    EXPECT_TRUE(openAnimationCommand());
    said = currentMessage(0);
    ASSERT_NE(said, nullptr);
    EXPECT_EQ(said->rfind("imported walk.bvh: 26 joints, 1.0 s, ", 0), 0u) << *said;
    EXPECT_GT(app.persons[1].part[TORSO].kfa.numKeyFrames, 2);
    EXPECT_EQ(app.persons[0].part[TORSO].kfa.numKeyFrames, 0);
    undoCommand();
    EXPECT_EQ(app.persons[1].part[TORSO].kfa.numKeyFrames, 0);
    undoCommand();  // the refused file left no step: nothing else to undo
    EXPECT_EQ(app.persons[1].part[TORSO].kfa.numKeyFrames, 0);
    testing::internal::GetCapturedStdout();
    platform::resetSeams();
}
