// fuzz_scene_file.cpp - arbitrary bytes through the scene reader.
//
// Each input is read onto a scene reset to its first state. Beyond "no
// crash, no sanitizer report", a text the reader takes must come back from
// the writer as text the reader takes again, and that second reading must
// write the same text: what is accepted survives a round trip unchanged.
//
// Speed: a scene holds nearly a thousand animators of 200 records each
// (5.4 MB). Making two fresh ones per input was nearly all of the work, so
// two are made once and reused: the first is reset field by field, its
// animators without their records (only records below numKeyFrames are
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

// Byte ranges of plain fields: copied from the fresh scene as they are.
void copyBytes(void* to, const void* from, std::size_t begin, std::size_t end) {
    std::memcpy(static_cast<unsigned char*>(to) + begin, static_cast<const unsigned char*>(from) + begin,
                end - begin);
}

constexpr std::size_t kRecordsAt = offsetof(KeyFrameAnimation, keyFrames);
constexpr std::size_t kAfterRecords = kRecordsAt + sizeof(KeyFrameAnimation::keyFrames);

void resetAnimator(KeyFrameAnimation& a, const KeyFrameAnimation& fresh) {
    copyBytes(&a, &fresh, 0, kRecordsAt);
    copyBytes(&a, &fresh, kAfterRecords, sizeof(KeyFrameAnimation));
}

void resetScene(Scene& s, const Scene& fresh) {
    copyBytes(&s, &fresh, 0, offsetof(Scene, persons));
    for (int i = 0; i < MAX_PERSONS; i++) {
        SceneFigure& f = s.persons[i];
        copyBytes(&f, &fresh.persons[i], 0, offsetof(SceneFigure, kfaPos));
        resetAnimator(f.kfaPos, fresh.persons[i].kfaPos);
        for (int k = 0; k < BODY_PART_COUNT; k++) resetAnimator(f.kfa[k], fresh.persons[i].kfa[k]);
    }
    copyBytes(&s, &fresh, offsetof(Scene, eye), offsetof(Scene, eyeAnim));
    resetAnimator(s.eyeAnim, fresh.eyeAnim);
    resetAnimator(s.targetAnim, fresh.targetAnim);
    copyBytes(&s, &fresh, offsetof(Scene, playRate), offsetof(Scene, sceneLight));
    resetAnimator(s.sceneLight, fresh.sceneLight);
    s.musicFile = fresh.musicFile;
    s.musicOffset = fresh.musicOffset;
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
