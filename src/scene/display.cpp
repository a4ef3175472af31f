// display.cpp - the display pass.
//
// One pass draws either the help screen or the scene. The scene is drawn in
// world space through the camera, then the camera's view frame is put on the
// matrix stack so the keyboard chart and the HUD stay fixed in front of the
// eye. All text is placed in world units with the spacings reshape computes.
//
//   display()       the pass itself
//   drawHelpScreen  help page or the window-too-small notice
//   drawScene       camera, stage, persons, cone, light, chart, HUD,
//                   timeline and message
//   drawHud         the head-up text, the selection lines below it
#include "scene/display.h"

#include <GL/glut.h>

#include <string>

#include "core/app_state.h"
#include "base/platform.h"
#include "scene/reshape.h"
#include "audio/music_follow.h"
#include "figure/shape_cache.h"
#include "scene/frame_rate.h"
#include "scene/help_pages.h"
#include "scene/stage.h"
#include "gfx/text.h"
#include "ui/timeline.h"

namespace {

void bindSlot(int slot) { glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(app.textures[slot])); }

// ------------------------------------------------------------- help screen
void drawHelpScreen() {
    gluLookAt(0, 0, 10, 0, 0, 0, 0, 1, 0);
    glColor4f(1, 1, 1, 1);
    if (app.windowWidth < 500 || app.windowHeight < 500) {
        const float s = app.textCharSpacing;
        const float x0 = -6 * s;
        drawText(x0, app.textLineSpacing, 0, s, "Window is   ");
        drawText(x0, 0, 0, s, "too small to");
        drawText(x0, -app.textLineSpacing, 0, s, "display help");
    } else {
        drawHelpPage();
    }
}

// ------------------------------------------------------------- scene
// Red axes, 4 units long, through the camera target.
void drawTargetMarker() {
    glPushMatrix();
    glColor3f(1, 0, 0);
    const float* t = app.camera.target;
    glTranslatef(t[0], t[1], t[2]);
    glBegin(GL_LINES);
    glVertex3f(-2, 0, 0); glVertex3f(2, 0, 0);
    glVertex3f(0, -2, 0); glVertex3f(0, 2, 0);
    glVertex3f(0, 0, -2); glVertex3f(0, 0, 2);
    glEnd();
    glPopMatrix();
}

// A translucent three-sided pyramid 9 to 11 units above the selected person,
// tip down.
void drawSelectionCone() {
    const float* p = app.persons[app.selectedPerson].position;
    glPushMatrix();
    glTranslatef(p[0], p[1] + 11, p[2]);
    glRotatef(90, 1, 0, 0);
    bindSlot(TEX_COLOR_YELLOW);
    glColor4f(1, 1, 0, 0.5f);
    gluCylinder(app.quadric, 1, 0, 2, 3, 1);
    glPopMatrix();
}

// The key map as a picture 5 units in front of the eye.
void drawKeyboardChart() {
    glPushMatrix();
    glTranslatef(0, 0, -5);
    glColor4f(1, 1, 1, 0.9f);
    bindSlot(TEX_KEYBOARD_CHART);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex3f(-4, -2.5f, 0);
    glTexCoord2f(1, 0); glVertex3f(4, -2.5f, 0);
    glTexCoord2f(1, 1); glVertex3f(4, 2.5f, 0);
    glTexCoord2f(0, 1); glVertex3f(-4, 2.5f, 0);
    glEnd();
    glPopMatrix();
}

// `withAids` adds what only an editor needs: target marker, selected part's
// yellow, selection cone, keyboard chart and HUD; a rendered film shows the
// stage and figures alone.
void drawScene(bool withAids) {
    if (!app.orthographicView) {
        followPerson(app.camera, app.cameraMode, app.persons[app.selectedPerson].position);
        app.camera.apply(app.playRate);
        if (withAids && app.showTargetMarker) drawTargetMarker();
    }
    drawStage();
    // The figures go out together once all are drawn: a few draws for all.
    shapes::beginFigures();
    FigureDrawSettings settings = figureDrawSettings();
    settings.selectionHighlight = withAids;
    for (int i = 0; i < app.numPersons; i++) app.persons[i].draw(settings);
    shapes::endFigures();
    if (withAids) drawSelectionCone();
    applyLightPosition();
    if (!withAids) return;

    app.camera.applyViewFrame();
    if (app.keyboardChartVisible) drawKeyboardChart();
    if (app.windowWidth > 400 && app.windowHeight > 400 && !app.keyboardChartVisible) drawHud();
    drawTimeline();
    drawMessage();
}

// The editing lines under the HUD: which figure and part the keys act on,
// and the part's three angles.
void drawSelectionLines(float xLabel, float xValue, float y, float s, float t) {
    const Person& p = app.persons[app.selectedPerson];
    const int part = (p.selectedPart >= 0 && p.selectedPart < BODY_PART_COUNT) ? p.selectedPart : 0;
    const float* r = p.part[part].rotation;
    const std::string figure = std::to_string(app.selectedPerson + 1);
    const std::string angles = floatToText(r[0]) + " " + floatToText(r[1]) + " " + floatToText(r[2]);
    drawText(xLabel, y, -2, s, "figure:");
    drawText(xValue, y, -2, s, figure.c_str());
    drawText(xLabel, y - t, -2, s, "part:");
    drawText(xValue, y - t, -2, s, kBodyPartLabels[part]);
    drawText(xLabel, y - 2 * t, -2, s, "angles:");
    drawText(xValue, y - 2 * t, -2, s, angles.c_str());
}

}  // namespace

FigureDrawSettings figureDrawSettings() {
    FigureDrawSettings s;
    s.texturesOn = app.texturesOn;
    s.wireframeOn = app.wireframeOn;
    s.quadric = app.quadric;
    return s;
}

// ------------------------------------------------------------- HUD
void drawHud() {
    glPushMatrix();
    bindSlot(TEX_COLOR_SILVER);
    glColor4f(1, 1, 1, 0.9f);

    if (platform::elapsedMs() < HELP_HINT_SHOWN_MS) {
        glColor4f(1, 1, 1, 1);
        // 26 characters centred on the screen.
        drawText(-app.textCharSpacing * 13 / 5, 0, -2, app.textCharSpacing / 5,
                 "Press [H] or [F1] for help");
    }

    const float s = app.textCharSpacing / 5;
    const float t = app.textLineSpacing / 5;
    const float xLabel = app.aspectRatio * -1.1f;
    const float xValue = xLabel + 12 * s;
    const float yTop = 1.4f / app.aspectRatio;

    const char* animateText = app.animateOn ? "animate:    on" : "animate:    off";
    const char* spinText = app.spinMode ? "spin mode:  SPIN_PART" : "spin mode:  SPIN_CAMERA";
    const std::string fpsText = truncatedText(app.fps, 1);
    const std::string rateText = floatToText(app.playRate);
    int mode = app.cameraMode;
    if (mode < 0 || mode >= CAMERA_MODE_COUNT) mode = 0;

    glColor4f(1, 1, 1, 1);
    drawText(xLabel, yTop, -2, s, "view mode:");
    drawText(xValue, yTop, -2, s, cameraModeNames[mode]);
    drawText(xLabel, yTop - t, -2, s, spinText);
    drawText(xLabel, yTop - 2 * t, -2, s, animateText);
    drawText(xLabel, yTop - 4 * t, -2, s, "fps:");
    drawText(xValue, yTop - 4 * t, -2, s, fpsText.c_str());
    drawText(xLabel, yTop - 5 * t, -2, s, "play rate:");
    drawText(xValue, yTop - 5 * t, -2, s, rateText.c_str());
    // Which clock moves the figures: wall-clock time while music follows a scene.
    drawText(xLabel, yTop - 6 * t, -2, s, "clock:");
    drawText(xValue, yTop - 6 * t, -2, s, musicFollowing() ? "wall clock" : "frame clock");
    drawSelectionLines(xLabel, xValue, yTop - 7 * t, s, t);
    drawText(xLabel, yTop - 10 * t, -2, s, "snap:");
    drawText(xValue, yTop - 10 * t, -2, s, app.snapToBeats ? "to beats" : "off");
    glPopMatrix();
}

void renderFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    updateFps();
    if (app.helpVisible) drawHelpScreen();
    else drawScene(true);
}

void renderFilmFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    drawScene(false);
}

void display() {
    if (windowBeyondViewportLimit()) return;  // the renderer would crash on it
    renderFrame();
    glutSwapBuffers();
}
