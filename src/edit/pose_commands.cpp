// pose_commands.cpp - copy, paste, standing, exact values and posing drags.
//
// Sections (search "[SECTION]"): state, pose commands, exact values,
// posing drag.
#include "edit/pose_commands.h"

#include "core/app_state.h"
#include "base/platform.h"
#include "edit/edit_commands.h"
#include "core/history.h"
#include "edit/pose_drag.h"
#include "edit/pose_edit.h"
#include "core/messages.h"
#include "edit/value_editor.h"

// [SECTION] State

namespace {

// The drag's details; app.poseDragOn says whether they are live, so a fresh
// record never inherits a drag.
PoseDrag drag;

Person& selected() { return app.persons[app.selectedPerson]; }

// An edit by hand would be undone next frame by a playing animation.
void pause(Person& p) { p.setAnimate(false); }

}  // namespace

// [SECTION] Pose commands

void copyPoseCommand() {
    app.poseClipboard = copyPose(selected());
    app.poseClipboardFull = true;
    postMessage("pose of " + figureName(app.selectedPerson) + " copied");
}

void pastePoseCommand(bool mirrored) {
    if (!app.poseClipboardFull) {
        postMessage("no pose to paste: Ctrl+C copies one");
        return;
    }
    const std::string what = mirrored ? "mirrored pose" : "pose";
    noteFigureChange("paste " + what, app.selectedPerson);
    Person& p = selected();
    pause(p);
    pastePose(p, mirrored ? mirroredPose(app.poseClipboard) : app.poseClipboard);
    postMessage(what + " pasted onto " + figureName(app.selectedPerson));
}

void resetPartCommand() {
    Person& p = selected();
    const char* label = kBodyPartLabels[p.selectedPart];
    noteFigureChange(std::string("standing ") + label, app.selectedPerson);
    pause(p);
    resetPartToStanding(p, p.selectedPart);
    postMessage(std::string(label) + " back to standing");
}

// [SECTION] Exact values

void exactValuesCommand() {
    Person& p = selected();
    const ExactValues shown = exactValuesOf(p, p.selectedPart);
    ExactValues typed = shown;
    if (!editExactValues(typed)) return;  // Escape: nothing changes, no step
    noteFigureChange(std::string("exact values ") + kBodyPartLabels[shown.part], app.selectedPerson);
    pause(p);
    applyExactValues(p, shown, typed);
    postMessage(std::string("exact values set on ") + kBodyPartLabels[shown.part]);
}

// [SECTION] Posing drag

namespace {

// The direction the window looks in now.
void viewDirection(float out[3]) {
    if (app.namedView.view != VIEW_CAMERA) {
        const ViewBox& b = shownViewBox();
        for (int k = 0; k < 3; k++) out[k] = b.target[k] - b.eye[k];
    } else if (app.orthographicView) {
        out[0] = 0; out[1] = 0; out[2] = -1;
    } else {
        for (int k = 0; k < 3; k++) out[k] = app.camera.target[k] - app.camera.eye[k];
    }
}

}  // namespace

bool beginPoseDragAt(int x, int y) {
    app.poseDragOn = false;
    if (app.helpVisible || app.keyboardChartVisible) return false;
    const PickRay ray = pointerRay(x, y);
    PickHit hit;
    if (!pickPart(app.persons, app.numPersons, ray, hit) || !isPoseDragPart(hit.part)) return false;
    Person& p = app.persons[hit.person];
    const bool body = movesBody(hit.part);
    const std::string label = body ? "move body" : std::string("drag ") + kBodyPartLabels[hit.part];
    noteFigureChange(label, hit.person);
    app.selectedPerson = hit.person;
    p.selectPart(hit.part);
    pause(p);
    float dir[3];
    viewDirection(dir);
    app.poseDragOn = beginPoseDrag(drag, p, hit.person, hit.part, ray, hit.distance, dir);
    platform::requestRedisplay();
    return true;
}

bool movePoseDragTo(int x, int y) {
    if (!app.poseDragOn) return false;
    movePoseDrag(drag, app.persons[drag.person], pointerRay(x, y));
    platform::requestRedisplay();
    return true;
}

bool endPoseDrag() {
    if (!app.poseDragOn) return false;
    app.poseDragOn = false;
    editHistory().breakRun();
    return true;
}

bool poseDragActive() { return app.poseDragOn; }
