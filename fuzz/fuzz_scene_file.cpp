// fuzz_scene_file.cpp - arbitrary bytes through the scene reader.
//
// Each input is read onto a scene reset to its first state. Beyond "no
// crash, no sanitizer report", a text the reader takes must come back from
// the writer as text the reader takes again, and that second reading must
// write the same text: what is accepted survives a round trip unchanged.
//
// Speed: the scenes are made once and reused. The one read into is reset
// by assignment from a fresh one, which keeps the records' storage, so an
// input costs the reading and writing, not building scenes; the second
// needs no reset, as the writer states everything it will write again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "io/scene_file.h"
#include "checks.h"

namespace {

void checkInvariants(const KeyFrameAnimation& a) {
    checkQueue(a);
    check(a.currentIndex >= 0 && a.currentIndex < (a.numKeyFrames > 0 ? a.numKeyFrames : 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto fresh = makeScene();
    static const auto scene = makeScene();
    static const auto again = makeScene();
    static std::vector<std::string> warnings;
    *scene = *fresh;
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
