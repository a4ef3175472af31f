// display.cpp - the display pass.
//
// One pass draws either the help screen or the scene. The scene is drawn in
// world space through the camera; the keyboard chart, the HUD, the timeline
// and the help pages are drawn over it in window pixels (scene/overlay.h),
// laid out for the window's size by scene/text_layout.h.
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
#include "edit/scene_time.h"
#include "camera/named_views.h"
#include "edit/pick.h"
#include "edit/pose_edit.h"
#include "figure/shape_cache.h"
#include "scene/frame_rate.h"
#include "scene/help_pages.h"
#include "ui/overlay.h"
#include "scene/stage.h"
#include "gfx/text.h"
#include "ui/dope_sheet.h"
#include "gfx/text_layout.h"
#include "ui/timeline.h"

namespace {

void bindSlot(int slot) { glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(app.textures[slot])); }

// ------------------------------------------------------------- help screen
// The three-line notice, centred, for windows too small for a page.
void drawTooSmallNotice() {
    const TextMetrics m = textMetricsFor(app.windowWidth, app.windowHeight);
    const float x = centredTextX(app.windowWidth, m, 12);
    drawText(x, centredBaseline(app.windowHeight, m, 1), 0, m.advance, "Window is   ");
    drawText(x, centredBaseline(app.windowHeight, m, 0), 0, m.advance, "too small to");
    drawText(x, centredBaseline(app.windowHeight, m, -1), 0, m.advance, "display help");
}

void drawHelpScreen() {
    beginOverlay();
    glColor4f(1, 1, 1, 1);
    if (!helpFitsWindow(app.windowWidth, app.windowHeight)) drawTooSmallNotice();
    else drawHelpPage();
    endOverlay();
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

// The key map as a picture over the middle of the window, as large as fits.
void drawKeyboardChart() {
    const PixelRect r = keyboardChartRect(app.windowWidth, app.windowHeight);
    beginOverlay();
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 0.9f);
    bindSlot(TEX_KEYBOARD_CHART);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex2f(r.left, r.bottom);
    glTexCoord2f(1, 0); glVertex2f(r.right, r.bottom);
    glTexCoord2f(1, 1); glVertex2f(r.right, r.top);
    glTexCoord2f(0, 1); glVertex2f(r.left, r.top);
    glEnd();
    endOverlay();
}

constexpr float kFloorY = -5;  // the stage floor (stage.cpp)

// A flat arrow on the floor under each figure in use, pointing the way it
// faces, so the top view shows headings.
void drawFacingArrows() {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 0.85f, 0.1f);
    for (int i = 0; i < app.numPersons; i++) {
        const Person& p = app.persons[i];
        glPushMatrix();
        glTranslatef(p.position[0], kFloorY + 0.05f, p.position[2]);
        glRotatef(p.part[ROOT].rotation[1], 0, 1, 0);
        glBegin(GL_TRIANGLES);  // shaft as two triangles, then the head, towards +z
        glVertex3f(-0.25f, 0, 0.5f); glVertex3f(0.25f, 0, 0.5f); glVertex3f(0.25f, 0, 2.2f);
        glVertex3f(-0.25f, 0, 0.5f); glVertex3f(0.25f, 0, 2.2f); glVertex3f(-0.25f, 0, 2.2f);
        glVertex3f(-0.7f, 0, 2.2f); glVertex3f(0.7f, 0, 2.2f); glVertex3f(0, 0, 3.2f);
        glEnd();
        glPopMatrix();
    }
    // Seen edge-on from the front or the side, the floor is a line to stand on.
    if (app.namedView.view != VIEW_TOP) {
        const ViewBox& b = shownViewBox();
        glColor3f(0.45f, 0.3f, 0.15f);
        glLineWidth(3);
        glBegin(GL_LINES);
        const float reach = static_cast<float>(b.right - b.left);
        float f[3], r[3], u[3];
        namedViewAxes(app.namedView.view, f, r, u);
        glVertex3f(b.target[0] - r[0] * reach, kFloorY, b.target[2] - r[2] * reach);
        glVertex3f(b.target[0] + r[0] * reach, kFloorY, b.target[2] + r[2] * reach);
        glEnd();
        glLineWidth(1);
    }
    glPopAttrib();
}

// A named view: its own orthographic box and look-at for the scene, then
// the window's own projection back with an identity model-view, which is
// the camera's view frame, for the head-up text.
void beginNamedView() {
    const ViewBox& b = shownViewBox();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(b.left, b.right, b.bottom, b.top, b.nearPlane, b.farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(b.eye[0], b.eye[1], b.eye[2], b.target[0], b.target[1], b.target[2], b.up[0], b.up[1], b.up[2]);
}

void endNamedView() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// `withAids` adds what only an editor needs: target marker, selected part's
// yellow, selection cone, keyboard chart and HUD; a rendered film shows the
// stage and figures alone.
void drawScene(bool withAids) {
    const bool named = withAids && app.namedView.view != VIEW_CAMERA;
    if (named) {
        beginNamedView();
    } else if (!app.orthographicView) {
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
    if (named) drawFacingArrows();
    applyLightPosition();
    if (!withAids) return;

    if (named) endNamedView();
    // The chart and the text stand still in front of the viewer, in window
    // pixels, whatever the camera does.
    if (app.keyboardChartVisible) drawKeyboardChart();
    if (hudShown(app.windowWidth, app.windowHeight) && !app.keyboardChartVisible) drawHud();
    drawTimeline();
    drawDopeSheet();
    drawMessage();
}

// The editing lines under the HUD: which figure and part the keys act on,
// and the part's three angles. Line i of them sits at y - i * t.
void drawSelectionLines(float xLabel, float xValue, float y, float s, float t) {
    const Person& p = app.persons[app.selectedPerson];
    const int part = (p.selectedPart >= 0 && p.selectedPart < BODY_PART_COUNT) ? p.selectedPart : 0;
    const float* r = p.part[part].rotation;
    const std::string figure = std::to_string(app.selectedPerson + 1);
    const std::string angles = floatToText(r[0]) + " " + floatToText(r[1]) + " " + floatToText(r[2]);
    drawText(xLabel, y, 0, s, "figure:");
    drawText(xValue, y, 0, s, figure.c_str());
    drawText(xLabel, y - t, 0, s, "part:");
    drawText(xValue, y - t, 0, s, kBodyPartLabels[part]);
    drawText(xLabel, y - 2 * t, 0, s, "angles:");
    drawText(xValue, y - 2 * t, 0, s, angles.c_str());
    drawText(xLabel, y - 3 * t, 0, s, "position:");
    drawText(xValue, y - 3 * t, 0, s, positionText(p).c_str());
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
// In window pixels from the top-left corner, white on the text's panels.
void drawHud() {
    beginOverlay();
    const HudLayout l = hudLayout(app.windowWidth, app.windowHeight);
    const float s = l.metrics.advance;
    const float t = l.metrics.lineHeight;
    glColor4f(1, 1, 1, 1);

    if (platform::elapsedMs() < HELP_HINT_SHOWN_MS) {
        // 26 characters centred on the screen.
        drawText(centredTextX(app.windowWidth, l.metrics, 26), centredBaseline(app.windowHeight, l.metrics, 0), 0,
                 s, "Press [H] or [F1] for help");
    }

    const float xLabel = l.x;
    const float xValue = l.valueX;
    const float yTop = l.firstBaseline;

    const char* animateText = app.animateOn ? "animate:    on" : "animate:    off";
    const char* spinText = app.spinMode ? "spin mode:  SPIN_PART" : "spin mode:  SPIN_CAMERA";
    const std::string fpsText = truncatedText(app.fps, 1);
    const std::string rateText = floatToText(app.playRate);
    int mode = app.cameraMode;
    if (mode < 0 || mode >= CAMERA_MODE_COUNT) mode = 0;

    drawText(xLabel, yTop, 0, s, "view mode:");
    drawText(xValue, yTop, 0, s, cameraModeNames[mode]);
    drawText(xLabel, yTop - t, 0, s, spinText);
    drawText(xLabel, yTop - 2 * t, 0, s, animateText);
    drawText(xLabel, yTop - 4 * t, 0, s, "fps:");
    drawText(xValue, yTop - 4 * t, 0, s, fpsText.c_str());
    drawText(xLabel, yTop - 5 * t, 0, s, "play rate:");
    drawText(xValue, yTop - 5 * t, 0, s, rateText.c_str());
    // Which clock moves the figures: wall-clock time while music follows a scene.
    drawText(xLabel, yTop - 6 * t, 0, s, "clock:");
    drawText(xValue, yTop - 6 * t, 0, s, musicFollowing() ? "wall clock" : "frame clock");
    drawSelectionLines(xLabel, xValue, yTop - 7 * t, s, t);
    const std::string sceneTimeText = timeText(sceneTime());
    drawText(xLabel, yTop - 11 * t, 0, s, "scene time:");
    drawText(xValue, yTop - 11 * t, 0, s, sceneTimeText.c_str());
    drawText(xLabel, yTop - 12 * t, 0, s, "snap:");
    drawText(xValue, yTop - 12 * t, 0, s, app.snapToBeats ? "to beats" : "off");
    endOverlay();
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
