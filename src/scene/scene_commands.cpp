// scene_commands.cpp - save, open and apply whole scenes; their dialogs.
#include "scene/scene_commands.h"

#include <cstdio>
#include <cstring>

#include "core/app_state.h"
#include "scene/reshape.h"
#include "edit/edit_commands.h"
#include "base/console.h"
#include "io/file_chooser.h"
#include "io/music_path.h"
#include "base/safe_file.h"
#include "io/scene_file.h"
#include "scene/switches.h"
#include "core/messages.h"

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
    // From a clean standing figure, so nothing of the old one shows through;
    // sex, scale and skin first, as the part sizes and textures follow them.
    p.reset();
    p.setGender(f.isMale, f.scale);
    p.setSkin(f.skin);
    static_cast<FigureFields&>(p) = f;
    p.kfaPos = f.kfaPos;
    for (int i = 0; i < BODY_PART_COUNT; i++) {
        for (const Field<PartFields>& x : kPartFields)
            if (x.name) copySavedField<PartFields>(x, p.part[i], f.part[i]);
        p.part[i].kfa = f.kfa[i];
    }
    p.layoutJoints();
    for (int i = 0; i < BODY_PART_COUNT; i++) p.computePartTransform(i);
}

std::string fileName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string countOf(int n, const char* thing) {
    return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

bool endsWith(const std::string& s, const char* tail) {
    const std::size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

}  // namespace

const FileDialogRequest kOpenSceneRequest = {FileDialogKind::Open, "Open Scene", kSceneFilters, 1, nullptr};
const FileDialogRequest kSaveSceneRequest = {FileDialogKind::Save, "Save Scene", kSceneFilters, 1, kSceneExtension};

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
    report("Scene has been saved to '" + path + "'",
           "scene saved to " + fileName(path) + " (" + countOf(app.numPersons, "figure") + ")");
    return true;
}

std::unique_ptr<Scene> readSceneFile(const std::string& path, std::string& error, int* warningCount) {
    std::string text;
    std::vector<std::string> warnings;
    // Unstated facts keep their present values, so parse onto a copy of now.
    auto scene = makeScene();
    captureScene(app, *scene);
    bool ok = readFileSafely(path, kMaxSceneFileBytes, text, error);
    if (ok) ok = readSceneText(text, *scene, error, warnings);
    if (ok) scene->musicFile = musicPathFromScene(scene->musicFile, path);
    for (const std::string& w : warnings) consoleError("WARNING: scene file '" + path + "' " + w);
    if (warningCount) *warningCount = static_cast<int>(warnings.size());
    if (!ok) scene.reset();
    return scene;
}

bool isSceneFileName(const std::string& path) { return endsWith(path, kSceneExtension); }

bool openScene(const std::string& path) {
    std::string error;
    int warnings = 0;
    auto scene = readSceneFile(path, error, &warnings);
    if (!scene) {
        report("ERROR: scene file '" + path + "' not opened: " + error, "Scene not opened: " + error);
        return false;
    }
    // One undo step puts back every figure the scene replaces.
    noteFiguresChange("open scene", 0, scene->numPersons);
    applyScene(*scene);
    for (int i = 0; i < scene->numPersons; i++) markKeyFramesSaved(i);
    report("Scene opened from '" + path + "'",
           (warnings ? "scene opened from " + fileName(path) + " (" + countOf(scene->numPersons, "figure") + "), with warnings (see the console)"
                     : "scene opened from " + fileName(path) + " (" + countOf(scene->numPersons, "figure") + ")"));
    return true;
}

void applyScene(const Scene& s) {
    const bool wasOrthographic = app.orthographicView;
    applySceneSettings(s, app);
    for (int i = 0; i < s.numPersons; i++) applyFigure(s.persons[i], app.persons[i]);
    applyRenderSwitches();
    if (app.orthographicView != wasOrthographic)
        reshape(static_cast<int>(app.windowWidth), static_cast<int>(app.windowHeight));
    app.musicFollowOn = !s.musicFile.empty();
    app.sceneMusicTaken++;  // the follower opens the scene's music afresh
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
