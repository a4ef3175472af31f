// scene_commands.cpp - save, open and apply whole scenes; their dialogs.
#include "io/scene_commands.h"

#include <cstdio>
#include <cstring>

#include "app/app_state.h"
#include "app/reshape.h"
#include "audio/music_follow.h"
#include "edit/edit_commands.h"
#include "io/file_chooser.h"
#include "io/music_path.h"
#include "io/safe_file.h"
#include "io/scene_file.h"
#include "scene/switches.h"
#include "ui/messages.h"

namespace {

const FileFilter kSceneFilters[] = {
    {"Puppetorium scene (*.scene)", "*.scene"},
};

constexpr const char* kSceneExtension = ".scene";

// One line on the console, flushed at once, and the same on screen.
void report(const std::string& console, const std::string& screen) {
    std::printf("%s\n", console.c_str());
    std::fflush(stdout);
    postMessage(screen);
}

void applyFigure(const SceneFigure& f, Person& p) {
    // From a clean standing figure, so nothing of the old one shows through.
    p.reset();
    p.setGender(f.isMale, f.scale);
    p.setSkin(f.skin);
    p.setColour(f.colour[0], f.colour[1], f.colour[2]);
    p.alpha = f.alpha;
    p.leftHandItem = f.leftHandItem;
    p.rightHandItem = f.rightHandItem;
    p.showTrail = f.showTrail;
    p.trailAlpha = f.trailAlpha;
    p.trailFade = f.trailFade;
    p.setPosition(f.position[0], f.position[1], f.position[2]);
    p.selectedPart = f.selectedPart;
    p.animating = f.animating;
    p.kfaPos = f.kfaPos;
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        std::memcpy(p.part[i].rotation, f.rotation[i], sizeof f.rotation[i]);
        p.part[i].kfa = f.kfa[i];
    }
    p.layoutJoints();
    for (int i = 0; i < BODY_PART_COUNT; i++) p.computePartTransform(i);
}

bool endsWith(const std::string& s, const char* tail) {
    const std::size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

}  // namespace

const FileDialogRequest kOpenSceneRequest = {FileDialogKind::Open, kSceneFilters, 1, nullptr};
const FileDialogRequest kSaveSceneRequest = {FileDialogKind::Save, kSceneFilters, 1, kSceneExtension};

bool saveScene(const std::string& path) {
    auto scene = makeScene();
    captureScene(app, *scene);
    scene->musicFile = musicPathForScene(scene->musicFile, path);
    std::string error;
    if (!writeFileAtomically(path, writeSceneText(*scene), error)) {
        report("ERROR: scene not saved to '" + path + "': " + error, "Scene not saved: " + error);
        return false;
    }
    for (int i = 0; i < app.numPersons; i++) markKeyFramesSaved(i);
    report("Scene has been saved to '" + path + "'", "Scene saved");
    return true;
}

std::unique_ptr<Scene> readSceneFile(const std::string& path, std::string& error) {
    std::string text;
    std::vector<std::string> warnings;
    // Unstated facts keep their present values, so parse onto a copy of now.
    auto scene = makeScene();
    captureScene(app, *scene);
    bool ok = readFileSafely(path, kMaxSceneFileBytes, text, error);
    if (ok) ok = readSceneText(text, *scene, error, warnings);
    if (ok) scene->musicFile = musicPathFromScene(scene->musicFile, path);
    for (const std::string& w : warnings) std::printf("WARNING: scene file '%s' %s\n", path.c_str(), w.c_str());
    if (!ok) scene.reset();
    return scene;
}

bool isSceneFileName(const std::string& path) { return endsWith(path, kSceneExtension); }

bool openScene(const std::string& path) {
    std::string error;
    auto scene = readSceneFile(path, error);
    if (!scene) {
        report("ERROR: scene file '" + path + "' not opened: " + error, "Scene not opened: " + error);
        return false;
    }
    // One undo step puts back every figure the scene replaces.
    noteFiguresChange("open scene", 0, scene->numPersons);
    applyScene(*scene);
    for (int i = 0; i < scene->numPersons; i++) markKeyFramesSaved(i);
    report("Scene opened from '" + path + "'", "Scene opened");
    return true;
}

void applyScene(const Scene& s) {
    app.numPersons = s.numPersons;
    app.selectedPerson = s.selectedPerson;
    for (int i = 0; i < s.numPersons; i++) applyFigure(s.persons[i], app.persons[i]);
    app.camera.setEye(s.eye[0], s.eye[1], s.eye[2]);
    app.camera.setTarget(s.target[0], s.target[1], s.target[2]);
    app.cameraMode = s.cameraMode;
    app.camera.animationOn = s.cameraAnimationOn;
    app.camera.eyeAnim = s.eyeAnim;
    app.camera.targetAnim = s.targetAnim;
    app.playRate = s.playRate;
    app.sceneClock = s.sceneClock;
    app.wireframeOn = s.wireframeOn;
    app.lightingOn = s.lightingOn;
    app.texturesOn = s.texturesOn;
    app.animateOn = s.animateOn;
    app.showTargetMarker = s.showTargetMarker;
    std::memcpy(app.lightEnabled, s.lightEnabled, sizeof app.lightEnabled);
    app.sceneLight = s.sceneLight;
    applyRenderSwitches();
    if (app.orthographicView != s.orthographicView) {
        app.orthographicView = s.orthographicView;
        reshape(static_cast<int>(app.windowWidth), static_cast<int>(app.windowHeight));
    }
    app.sceneMusicFile = s.musicFile;
    app.sceneMusicOffset = s.musicOffset;
    app.musicFollowOn = !s.musicFile.empty();
    resetMusicFollower();
}

bool saveSceneDialog() {
    std::string path;
    if (!chooseFile(kSaveSceneRequest, path)) return false;
    return saveScene(withDefaultExtension(path, kSceneExtension));
}

bool openSceneDialog() {
    std::string path;
    if (!chooseFile(kOpenSceneRequest, path)) return false;
    return openScene(path);
}

void openSceneFromCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; i++) {
        if (argv[i] && isSceneFileName(argv[i])) {
            openScene(argv[i]);
            return;
        }
    }
}

void toggleMusicFollowing() {
    app.musicFollowOn = !app.musicFollowOn && !app.sceneMusicFile.empty();
    report(app.musicFollowOn ? "Music follows the timeline" : "Music no longer follows the timeline",
           app.musicFollowOn ? "Music follows the timeline" : "Music left alone");
}
