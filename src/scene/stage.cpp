// stage.cpp - floor, moving light and intro logo.
#include "scene/stage.h"

#include <GL/glut.h>

#include "core/app_state.h"
#include "base/platform.h"

namespace {

void glutSphere(double radius, int slices, int stacks) { glutSolidSphere(radius, slices, stacks); }
MarkerSphereFn gMarkerSphere = glutSphere;

void bindSlot(int slot) { glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(app.textures[slot])); }

// One quad at y = -5, 200 x 200 units, the wood repeated 20 x 10 times.
void drawFloor() {
    glPushMatrix();
    glColor3f(0.5f, 0.5f, 0.5f);
    // Textured from the very first frame: otherwise the floor waited for the
    // figures to switch texturing on, and a film's first frame (a one-frame
    // picture) showed it bare grey.
    if (app.texturesOn) glEnable(GL_TEXTURE_2D);
    bindSlot(TEX_FLOOR_WOODEN);
    // Opaque: blending would give the same pixels, at a cost on every one.
    const GLboolean blending = glIsEnabled(GL_BLEND);
    glDisable(GL_BLEND);
    glBegin(GL_QUADS);
    // Lit as the upward-facing surface it is, not with whatever normal the
    // last drawing left behind.
    glNormal3f(0, 1, 0);
    glTexCoord2f(0, 0);   glVertex3f(-100, -5, -100);
    glTexCoord2f(20, 0);  glVertex3f(100, -5, -100);
    glTexCoord2f(20, 10); glVertex3f(100, -5, 100);
    glTexCoord2f(0, 10);  glVertex3f(-100, -5, 100);
    glEnd();
    if (blending) glEnable(GL_BLEND);
    glPopMatrix();
}

void drawLightMarker() {
    glPushMatrix();
    glColor3f(1, 1, 0);
    bindSlot(TEX_COLOR_YELLOW);
    const float* v = app.sceneLight.value;
    glTranslatef(v[0], v[1], v[2]);
    gMarkerSphere(1, 10, 6);
    glPopMatrix();
}

// Sinks 0.06 units per scene-clock step from 25 above the floor.
void drawLogo() {
    if (platform::elapsedMs() >= LOGO_SHOWN_MS) return;
    glPushMatrix();
    glTranslated(0, 25 - 0.06 * static_cast<double>(app.sceneClock), 0);
    glColor4f(1, 1, 1, 0.9f);
    app.logoBlock.draw();
    glPopMatrix();
}

}  // namespace

void setMarkerSphere(MarkerSphereFn fn) { gMarkerSphere = fn ? fn : glutSphere; }

void drawStage() {
    drawFloor();
    app.sceneLight.advance(app.playRate);
    drawLightMarker();
    drawLogo();
}

void applyLightPosition() {
    const float* v = app.sceneLight.value;
    const GLfloat position[4] = {v[0], v[1], v[2], 0};
    glLightfv(GL_LIGHT1, GL_POSITION, position);
}
