// mouse.cpp - mouse buttons, drags, clicks and the wheel.
//
// A left press and release that stay within a few pixels is also a click,
// which selects the part under the pointer (edit/pick.h); the drag it may
// have made on the way still counts.
//
// Drags are measured per motion event as previous minus current pointer
// position, so moving right or down gives negative deltas. Sensitivities:
// half a degree per pixel for orbit and free look, one unit per pixel for
// panning, one degree per three pixels (per event) for turning a part.
#include "input/mouse.h"

#include "core/app_state.h"
#include "base/platform.h"
#include "edit/pick.h"
#include "edit/edit_commands.h"
#include "scene/switches.h"
#include "ui/timeline.h"

namespace {

void leftDrag(float dx, float dy) {
    Camera& cam = app.camera;
    if (app.spinMode == SPIN_PART) {
        notePartDrag();  // the first motion of a drag records its undo step
        Person& p = app.persons[app.selectedPerson];
        if (app.tabHeld) {
            p.rotateSelectedPart(static_cast<int>(-dx / 3), 1);
        } else {
            p.rotateSelectedPart(static_cast<int>(dy / 3), 0);
            p.rotateSelectedPart(static_cast<int>(-dx / 3), 2);
        }
        return;
    }
    if (app.cameraMode == CAM_FREE) {
        cam.turn(dx / 2, 1);
        cam.tilt(dy / 2, 1);
        return;
    }
    cam.orbit(dx / 2, 1);
    // Over the top or bottom of the target the heading swings round by half
    // a turn, which would send the next vertical step back the way it came;
    // from then on the vertical drag runs reversed. The heading is compared
    // before and after the vertical step only, so horizontal drags (which
    // turn the heading freely) never flip it.
    cam.computeAngles();
    const float headingBefore = cam.angle[1];
    cam.orbitVertical(app.orbitFlipped ? -dy / 2 : dy / 2, 1);
    cam.computeAngles();
    float swing = cam.angle[1] - headingBefore;
    Camera::wrapAngle(swing);
    if (swing > 90 && swing < 270) app.orbitFlipped = !app.orbitFlipped;
}

void middleDrag(float dx, float dy) {
    Camera& cam = app.camera;
    // Free look slides eye and target together; otherwise only the eye moves.
    const bool free = app.cameraMode == CAM_FREE;
    cam.pan(dx, free, free ? 0 : 180, 1);
    if (app.tabHeld)
        cam.shift(dy, free, 1);
    else
        cam.pan(dy, free, -90, 1);
}

// A left press and release without a drag selects the part clicked on.
void leftClick(bool pressed, int x, int y) {
    if (pressed)
        clickPressed(x, y);
    else if (clickReleased(x, y) && selectPartAtPixel(x, y))
        platform::requestRedisplay();
}

}  // namespace

void onMouse(int button, int state, int x, int y) {
    app.orbitFlipped = false;
    const bool pressed = state == MOUSE_PRESSED;
    // X reports the wheel as buttons 3 and 4 when GLUT does not map it to
    // the wheel callback itself.
    if (button == MOUSE_WHEEL_UP || button == MOUSE_WHEEL_DOWN) {
        if (pressed) onMouseWheel(0, button == MOUSE_WHEEL_UP ? +1 : -1, x, y);
        return;
    }
    if (app.helpVisible && pressed) {
        if (button == MOUSE_LEFT) changeHelpPage(+1);
        else if (button == MOUSE_MIDDLE) changeHelpPage(-1);
        return;
    }
    // Timeline and drag gestures: a left press on the strip is the strip's
    // until release; any other left drag is one undo step, and a left press
    // and release without a drag may select the part under the mouse.
    if (button == MOUSE_LEFT) {
        if (pressed && timelinePress(x, y)) return;
        if (!pressed && timelineRelease()) return;
        if (pressed) beginDragGesture(); else endDragGesture();
        app.leftButtonDown = pressed;
        leftClick(pressed, x, y);
    } else if (button == MOUSE_MIDDLE) {
        app.middleButtonDown = pressed;
    }
}

void onMotion(int x, int y) {
    clickMoved(x, y);
    app.mouseDeltaX = static_cast<float>(app.mouseX - x);
    app.mouseDeltaY = static_cast<float>(app.mouseY - y);
    app.mouseX = x;
    app.mouseY = y;
    if (timelineDrag(x)) {
        platform::requestRedisplay();
        return;
    }
    if (app.leftButtonDown)
        leftDrag(app.mouseDeltaX, app.mouseDeltaY);
    else if (app.middleButtonDown)
        middleDrag(app.mouseDeltaX, app.mouseDeltaY);
    platform::requestRedisplay();
}

void onPassiveMotion(int x, int y) {
    app.mouseX = x;
    app.mouseY = y;
}

void onMouseWheel(int, int direction, int, int) {
    if (app.helpVisible) return;
    app.camera.zoom(direction);
    platform::requestRedisplay();
}
