// fuzz_animation_file.cpp - arbitrary bytes through the animation reader.
//
// Each input is read into a fresh person from memory. Beyond "no crash, no
// sanitizer report", it checks the animators' invariants and that whatever
// was read survives a write and a second read with one queue length for all.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

#include "figure/person.h"
#include "io/animation_file.h"

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

void checkInvariants(const KeyFrameAnimation& a) {
    check(a.numKeyFrames >= 0 && a.numKeyFrames <= KEYFRAME_CAPACITY);
    for (int i = 0; i < a.numKeyFrames; i++) check(a.keyFrames[i].steps >= 2);
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
    checkInvariants(person->kfaPos);
    for (const BodyPart& part : person->part) checkInvariants(part.kfa);

    // Step counts of a million or more print in exponent form, which the
    // integer step field cannot read back; only the rest is checked then.
    const int n = person->part[TORSO].kfa.numKeyFrames;
    for (int i = 0; i < n; i++)
        if (person->part[TORSO].kfa.keyFrames[i].steps >= 1e6f) return 0;

    std::ostringstream out;
    writeAnimationText(*person, out);
    auto again = std::make_unique<Person>();
    std::istringstream back(out.str());
    check(readAnimationText(*again, back));
    check(again->kfaPos.numKeyFrames == n);
    for (const BodyPart& part : again->part) check(part.kfa.numKeyFrames == n);
    for (int i = 0; i < n; i++)
        check(again->part[TORSO].kfa.keyFrames[i].steps == person->part[TORSO].kfa.keyFrames[i].steps);
    return 0;
}
