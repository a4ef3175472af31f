// fuzz_scene_file.cpp - arbitrary bytes through the scene reader.
//
// Each input is read onto a fresh scene from memory. Beyond "no crash, no
// sanitizer report", a text the reader takes must come back from the writer
// as text the reader takes again, and that second reading must write the
// same text: what is accepted survives a round trip unchanged.
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
    const std::string text(reinterpret_cast<const char*>(data), size);
    auto scene = makeScene();
    std::string error;
    std::vector<std::string> warnings;
    if (!readSceneText(text, *scene, error, warnings)) return 0;
    check(scene->numPersons >= 0 && scene->numPersons <= MAX_PERSONS);
    for (const SceneFigure& f : scene->persons) {
        checkInvariants(f.kfaPos);
        for (const KeyFrameAnimation& a : f.kfa) checkInvariants(a);
        check(f.skin >= 0 && f.skin < TEXTURE_SLOT_COUNT);
    }

    const std::string first = writeSceneText(*scene);
    auto again = makeScene();
    check(readSceneText(first, *again, error, warnings));
    check(writeSceneText(*again) == first);
    return 0;
}
