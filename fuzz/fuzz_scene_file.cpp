// fuzz_scene_file.cpp - arbitrary bytes through the scene reader.
//
// Each input is read onto a scene reset to its first state. Beyond "no
// crash, no sanitizer report", a text the reader takes must come back from
// the writer as text the reader takes again, and that second reading must
// write the same text: what is accepted survives a round trip unchanged.
//
// Speed: a scene holds nearly a thousand animators of 200 records each
// (5.4 MB). Making two fresh ones per input was nearly all of the work, so
// two are made once and reused: the first is reset from the field lists,
// its animators without their records (only records below numKeyFrames are
// ever read, and an animator the text names is replaced whole); the second
// needs no reset, as the writer states everything it will write again.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "io/scene_file.h"
#include "checks.h"

namespace {

void checkInvariants(const KeyFrameAnimation& a) {
    checkQueue(a);
    check(a.currentIndex >= 0 && a.currentIndex < (a.numKeyFrames > 0 ? a.numKeyFrames : 1));
}

// Everything of an animator but its records, from a fresh one.
constexpr std::size_t kRecordsAt = offsetof(KeyFrameAnimation, keyFrames);
constexpr std::size_t kAfterRecords = kRecordsAt + sizeof(KeyFrameAnimation::keyFrames);

void resetAnimator(KeyFrameAnimation& a, const KeyFrameAnimation& fresh) {
    auto* to = reinterpret_cast<unsigned char*>(&a);
    const auto* from = reinterpret_cast<const unsigned char*>(&fresh);
    std::memcpy(to, from, kRecordsAt);
    std::memcpy(to + kAfterRecords, from + kAfterRecords, sizeof(KeyFrameAnimation) - kAfterRecords);
}

// The settings from their one list, the figures' plain fields whole.
#define FUZZ_RESET_VALUE(m, ...) s.m = fresh.m;
#define FUZZ_RESET_TRIPLE(m, ...) std::memcpy(s.m, fresh.m, sizeof s.m);
#define FUZZ_RESET_ANIM(m, ...) resetAnimator(s.m, fresh.m);

void resetScene(Scene& s, const Scene& fresh) {
    SCENE_SETTINGS(FUZZ_RESET_VALUE, FUZZ_RESET_VALUE, FUZZ_RESET_VALUE, FUZZ_RESET_TRIPLE, FUZZ_RESET_ANIM)
    std::memcpy(s.lightEnabled, fresh.lightEnabled, sizeof s.lightEnabled);
    s.musicFile = fresh.musicFile;
    for (int i = 0; i < MAX_PERSONS; i++) {
        SceneFigure& f = s.persons[i];
        const SceneFigure& g = fresh.persons[i];
        static_cast<FigureFields&>(f) = g;
        for (int k = 0; k < BODY_PART_COUNT; k++) f.part[k] = g.part[k];
        resetAnimator(f.kfaPos, g.kfaPos);
        for (int k = 0; k < BODY_PART_COUNT; k++) resetAnimator(f.kfa[k], g.kfa[k]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto fresh = makeScene();
    static const auto scene = makeScene();
    static const auto again = makeScene();
    static std::vector<std::string> warnings;
    resetScene(*scene, *fresh);
    warnings.clear();

    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (!readSceneText(text, *scene, error, warnings)) return 0;
    check(warnings.size() <= 13);  // ten named, one count, version, camera
    check(scene->numPersons >= 0 && scene->numPersons <= MAX_PERSONS);
    check(scene->selectedPerson < (scene->numPersons > 0 ? scene->numPersons : 1));
    for (const SceneFigure& f : scene->persons) {
        checkInvariants(f.kfaPos);
        for (const KeyFrameAnimation& a : f.kfa) checkInvariants(a);
        check(f.skin >= 0 && f.skin < TEXTURE_SLOT_COUNT);
    }

    const std::string first = writeSceneText(*scene);
    check(readSceneText(first, *again, error, warnings));
    check(writeSceneText(*again) == first);
    return 0;
}
