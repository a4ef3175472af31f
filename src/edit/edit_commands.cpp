// edit_commands.cpp - editing commands: history, unsaved marks, messages.
//
// Sections (search "[SECTION]"):
//   State and helpers
//   Keyframe commands
//   Undo and redo
//   Change hooks and unsaved keyframes
#include "edit/edit_commands.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include "core/app_state.h"
#include "core/history.h"
#include "edit/beat_snap.h"
#include "edit/keyframe_edit.h"
#include "io/animation_file.h"
#include "io/file_chooser.h"
#include "core/messages.h"
#include "mocap/mocap_import.h"

// [SECTION] State and helpers

namespace {

Person& selected() { return app.persons[app.selectedPerson]; }

std::string numbered(const char* what, int j) { return std::string(what) + " " + std::to_string(j + 1); }

bool holdsKeyFrames(const Person& p) { return keyFrameCount(p) > 0; }

// Records the selected figure before a keyframe edit.
void recordEdit(const std::string& label) {
    app.history.record(label, app.selectedPerson, 1);
    markKeyFramesChanged(app.selectedPerson);
}

}  // namespace

History& editHistory() { return app.history; }

void resetEditing() {
    app.history.clear();
    for (bool& u : app.unsaved) u = false;
    app.dragKey = 0;
}

std::string figureName(int person) { return "figure " + std::to_string(person + 1); }

// [SECTION] Keyframe commands

void togglePlaySelected() {
    Person& p = selected();
    p.setAnimate(!p.animating);
    app.history.breakRun();
    postMessage(figureName(app.selectedPerson) + (p.animating ? " is playing" : " is paused"));
}

void goToKeyFrameCommand(KeyFrameTarget target) {
    Person& p = selected();
    const int n = keyFrameCount(p);
    const int j = currentKeyFrame(p);
    switch (target) {
    case KF_FIRST: goToKeyFrameIndexCommand(0); return;
    case KF_PREVIOUS: goToKeyFrameIndexCommand(j - 1); return;
    case KF_NEXT: goToKeyFrameIndexCommand(j + 1); return;
    case KF_LAST: goToKeyFrameIndexCommand(n - 1); return;
    }
}

void goToKeyFrameIndexCommand(int j) {
    Person& p = selected();
    if (!holdsKeyFrames(p)) {
        postMessage(figureName(app.selectedPerson) + " has no keyframes");
        return;
    }
    goToKeyFrame(p, j);
    postMessage("keyframe " + std::to_string(currentKeyFrame(p) + 1) + " / " +
                std::to_string(keyFrameCount(p)));
}

void recordKeyFrameCommand() {
    Person& p = selected();
    const int before = keyFrameCount(p);
    app.history.record(numbered("record keyframe", before), app.selectedPerson, 1);
    const int steps = keyFrameStepsFrom(animationLength(p), RECORDED_KEYFRAME_STEPS);
    p.pushPoseKeyFrame(static_cast<float>(steps));
    markKeyFramesChanged(app.selectedPerson);
    const int n = keyFrameCount(p);
    if (n == before) {
        app.history.dropLast();
        postMessage("keyframe not recorded: the queue is full");
        return;
    }
    postMessage("keyframe " + std::to_string(n) + " / " + std::to_string(n) + " recorded (" +
                std::to_string(steps) + " steps)");
}

void replaceKeyFrameCommand() {
    Person& p = selected();
    const int j = currentKeyFrame(p);
    if (j < 0) { postMessage(figureName(app.selectedPerson) + " has no keyframes"); return; }
    recordEdit(numbered("replace keyframe", j));
    replaceKeyFrame(p);
    postMessage(numbered("keyframe", j) + " replaced");
}

void insertKeyFrameCommand() {
    Person& p = selected();
    const int j = currentKeyFrame(p);
    recordEdit(numbered("insert keyframe", j + 1));
    const int steps = keyFrameStepsFrom(keyFrameStart(p, j + 1), RECORDED_KEYFRAME_STEPS);
    if (!insertKeyFrame(p, steps)) {
        app.history.dropLast();
        postMessage("keyframe not inserted: the queue is full");
        return;
    }
    postMessage(numbered("keyframe", j + 1) + " / " + std::to_string(keyFrameCount(p)) + " inserted (" +
                std::to_string(steps) + " steps)");
}

void deleteKeyFrameCommand() {
    Person& p = selected();
    const int j = currentKeyFrame(p);
    if (j < 0) { postMessage(figureName(app.selectedPerson) + " has no keyframes"); return; }
    recordEdit(numbered("delete keyframe", j));
    deleteKeyFrame(p);
    postMessage(numbered("keyframe", j) + " deleted");
}

void changeKeyFrameLengthCommand(int delta) {
    Person& p = selected();
    const int j = currentKeyFrame(p);
    if (j < 0) { postMessage(figureName(app.selectedPerson) + " has no keyframes"); return; }
    // Snapping to beats: a beat longer or shorter instead.
    if (snappingToBeats() && (delta = beatLengthChange(p, j, delta)) == 0) {
        postMessage(numbered("keyframe", j) + ": no beat to move its end to");
        return;
    }
    recordEdit(numbered(delta > 0 ? "lengthen keyframe" : "shorten keyframe", j));
    changeKeyFrameLength(p, delta);
    postMessage(numbered("keyframe", j) + " now " +
                std::to_string(static_cast<int>(referenceAnimator(p).keyFrames[j].steps)) + " steps");
}

void scrubCommand(float t) { scrubTo(selected(), t); }

namespace {
std::string fileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }
}  // namespace

// A load keeps the figure playing or paused as it was, so a paused figure
// waits at the start of what it loaded; the message says which, and how to
// start it.
std::string playStateAfterLoad(const Person& p) {
    if (!p.animating) return "paused at its start, Return plays it";
    if (app.playRate == 0) return "waiting at play rate 0, . plays it";
    return "playing in a loop";
}

// A load clears the figure even when it fails, so it is one step either way;
// a cancelled dialog changed nothing and leaves no step.
// A recording is retargeted onto the figure; a refused one changes nothing,
// so it leaves no undo step either.
static bool importMocapCommand(int person, const std::string& path) {
    std::string message;
    const bool ok = importMocapFile(app.persons[person], path, message);
    std::printf("%s\n", message.c_str());
    std::fflush(stdout);
    postMessage(message);
    if (!ok) { app.history.dropLast(); return false; }
    markKeyFramesChanged(person);  // nothing on disk holds these keyframes yet
    return true;
}

bool openAnimationCommand() {
    const int person = app.selectedPerson;
    app.history.record("load", person, 1);
    std::string path;
    if (!chooseFile(kOpenAnimationRequest, path)) { app.history.dropLast(); return false; }
    app.history.relabelLast("load " + fileName(path));
    if (isBvhFileName(path)) return importMocapCommand(person, path);
    const bool ok = app.persons[app.selectedPerson].loadAnimation(path.c_str());
    markKeyFramesSaved(person);
    std::error_code ec;
    if (!ok) {
        const bool exists = std::filesystem::exists(path, ec);
        postMessage("could not load " + fileName(path) + ": " +
                    (exists ? "not an animation file" : "no such file"));
    } else {
        const int dropped = lastLoadDroppedKeyFrames();
        postMessage("loaded " + fileName(path) + " (" + std::to_string(keyFrameCount(app.persons[person])) +
                    " keyframes" +
                    (dropped ? "; " + std::to_string(dropped) + " more dropped: a figure holds " +
                                   std::to_string(KEYFRAME_CAPACITY) : std::string()) +
                    "): " + playStateAfterLoad(app.persons[person]));
    }
    return ok;
}

bool saveAnimationCommand() {
    const int person = app.selectedPerson;
    const bool ok = saveAnimationDialog();
    const std::string& path = lastChosenPath();
    if (path.empty()) return false;
    if (!ok) {
        const std::string& why = lastAnimationSaveError();
        postMessage("could not save " + fileName(path) + (why.empty() ? "" : ": " + why));
        return false;
    }
    markKeyFramesSaved(person);
    // The file holds as many blocks as the TORSO queue has keyframes.
    postMessage("saved " + fileName(path) + " (" + std::to_string(app.persons[person].part[TORSO].kfa.numKeyFrames) +
                " keyframes)");
    return true;
}

// [SECTION] Undo and redo

// The figures a step swapped may differ from their files now.
void undoCommand() {
    std::string label;
    std::vector<int> figures;
    if (!app.history.undo(&label, &figures)) { postMessage("nothing to undo"); return; }
    for (int i : figures) markKeyFramesChanged(i);
    postMessage("undo: " + label);
}

void redoCommand() {
    std::string label;
    std::vector<int> figures;
    if (!app.history.redo(&label, &figures)) { postMessage("nothing to redo"); return; }
    for (int i : figures) markKeyFramesChanged(i);
    postMessage("redo: " + label);
}

// [SECTION] Change hooks and unsaved keyframes

void noteFigureChange(const std::string& label, int person, long runKey) {
    app.history.record(label, person, 1, runKey);
}

void noteFiguresChange(const std::string& label, int first, int count) {
    app.history.record(label, first, count);
}

void noteCountChange(const std::string& label, long runKey) { app.history.record(label, 0, 0, runKey); }

void forgetLastChange() { app.history.dropLast(); }

void warnIfPlaying(int person, int part) {
    const Person& p = app.persons[person];
    const KeyFrameAnimation& a = part < 0 ? p.kfaPos : p.part[part].kfa;
    if (p.animating && a.numKeyFrames > 0)
        postMessage(figureName(person) + " is playing: Return pauses it to pose");
}

void beginDragGesture() { app.dragKey = -(++app.dragCount); }
void endDragGesture() { app.dragKey = 0; }

void notePartDrag() {
    const int person = app.selectedPerson;
    // A drag without a press seen (the button went down outside the window)
    // is still one step of its own.
    if (app.dragKey == 0) beginDragGesture();
    app.history.record("turn " + std::string(kBodyPartLabels[app.persons[person].selectedPart]), person, 1,
                    app.dragKey);
    warnIfPlaying(person, app.persons[person].selectedPart);
}

void markKeyFramesChanged(int person) {
    if (person >= 0 && person < MAX_PERSONS) app.unsaved[person] = true;
}

void markKeyFramesSaved(int person) {
    if (person >= 0 && person < MAX_PERSONS) app.unsaved[person] = false;
}

bool anyUnsavedKeyFrames() {
    for (int i = 0; i < MAX_PERSONS; i++)
        if (app.unsaved[i] && holdsKeyFrames(app.persons[i])) return true;
    return false;
}
