// switches.cpp - render switches: a setting of `app`, then the GL state.
#include "scene/switches.h"

#include <GL/gl.h>

#include "core/app_state.h"

// ------------------------------------------------------------- GL side
namespace {

void setCapability(GLenum cap, bool on) {
    if (on) glEnable(cap);
    else glDisable(cap);
}

void applyPolygonMode() { glPolygonMode(GL_FRONT_AND_BACK, app.wireframeOn ? GL_LINE : GL_FILL); }

void applyLights() {
    for (int i = 0; i < 4; i++) setCapability(GL_LIGHT0 + i, app.lightEnabled[i]);
}

void applyClearColour() {
    if (app.helpVisible) glClearColor(0, 0, 0, 0);
    else glClearColor(1, 1, 1, 1);
}

}  // namespace

// ------------------------------------------------------------- switches
void toggleWireframe() {
    app.wireframeOn = !app.wireframeOn;
    applyPolygonMode();
}

void toggleLighting() {
    app.lightingOn = !app.lightingOn;
    setCapability(GL_LIGHTING, app.lightingOn);
}

void toggleLight(int n) {
    if (n < 0 || n > 3) return;
    app.lightEnabled[n] = !app.lightEnabled[n];
    applyLights();
}

void toggleTextures() {
    app.texturesOn = !app.texturesOn;
    setCapability(GL_TEXTURE_2D, app.texturesOn);
}

void setHelpVisible(bool show) {
    if (show == app.helpVisible) return;
    app.helpVisible = show;
    applyClearColour();
}

void toggleHelp() { setHelpVisible(!app.helpVisible); }

void changeHelpPage(int delta) {
    int page = app.helpPage + delta;
    if (page < 0) page = 0;
    if (page > HELP_PAGES - 1) page = HELP_PAGES - 1;
    app.helpPage = page;
}

void changeCameraMode(int delta) {
    int mode = (app.cameraMode + delta) % CAMERA_MODE_COUNT;  // sign follows the dividend
    if (mode < 0) mode = 0;
    app.cameraMode = mode;
}

void toggleAnimate() {
    app.animateOn = !app.animateOn;
    for (Person& p : app.persons) p.setAnimate(app.animateOn);
}

void applyRenderSwitches() {
    applyPolygonMode();
    setCapability(GL_LIGHTING, app.lightingOn);
    applyLights();
    setCapability(GL_TEXTURE_2D, app.texturesOn);
}
