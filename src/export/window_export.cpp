// window_export.cpp - running an export job inside the GLUT window.
//
// The job draws into a frame buffer of its own size in the window's
// context, one frame at a time; between frames the window shows the scene
// with a progress line, and GLUT's events are pumped so Escape can stop it.
// The keyboard callback is swapped for the duration, so no other key acts
// on the scene while it is being filmed. The film starts from time 0 of the
// whole scene, and the scene advances as it would on screen: after the
// export it stands where the film ends.
#include "export/window_export.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <string>

#include "core/app_state.h"
#include "edit/scene_time.h"
#include "export/export_job.h"
#include "input/keyboard.h"
#include "scene/display.h"
#include "ui/overlay.h"
#include "gfx/text.h"
#include "gfx/text_layout.h"
#include "core/messages.h"

namespace {

const FileFilter kVideoFilters[] = {
    {"MP4 video (*.mp4)", "*.mp4"},
    {"WebM video (*.webm)", "*.webm"},
    {"GIF animation (*.gif)", "*.gif"},
    {"PNG picture (*.png)", "*.png"},
};
const FileFilter kBvhFilters[] = {
    {"BVH motion (*.bvh)", "*.bvh"},
};

constexpr int kExportWidth = 1280;
constexpr int kExportHeight = 720;
constexpr int kExportFps = 25;
constexpr unsigned char kEscape = 27;

bool gCancelled = false;
bool gRunning = false;

void exportKeyboard(unsigned char key, int, int) {
    if (key == kEscape) gCancelled = true;
}

// The export draws the window itself once a frame; GLUT's redisplays
// (every pose change asks for one) would only draw it twice.
void noDisplay() {}

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    postMessage(line);
}

// The window's own frame with one line of progress at its foot.
void showProgress(const ExportJob& job) {
    renderFrame();
    char text[96];
    std::snprintf(text, sizeof text, "exporting %d/%d frames - Escape cancels", job.framesDone(),
                  job.framesTotal());
    // Under the head-up text, in a warm orange that reads on its panel.
    const HudLayout l = hudLayout(app.windowWidth, app.windowHeight);
    beginOverlay();
    glColor4f(1, 0.7f, 0.3f, 1);
    drawText(l.x, l.firstBaseline - 14 * l.metrics.lineHeight, 0, l.metrics.advance, text);
    endOverlay();
    glutSwapBuffers();
}

// Steps the job to its end, or until Escape; true when it completed.
bool runInWindow(ExportJob& job, std::string& error) {
    gCancelled = false;
    glutKeyboardFunc(exportKeyboard);
    glutDisplayFunc(noDisplay);
    bool ok = true;
    while (ok && !job.done() && !gCancelled) {
        ok = job.step(error);
        showProgress(job);
        glutMainLoopEvent();
    }
    glutKeyboardFunc(onKeyboard);
    glutDisplayFunc(display);
    if (ok && gCancelled) {
        job.cancel();
        return false;
    }
    return ok && job.finish(error);
}

void runExport(int bvh) {
    std::string path;
    const FileDialogRequest& request = bvh ? kExportBvhRequest : kExportVideoRequest;
    if (!fileChooser().choose(request, path) || path.empty()) {
        say("No File Selected");
        gRunning = false;
        return;
    }
    RenderOptions o;
    o.output = withDefaultExtension(path, request.defaultExtension);
    o.kind = outputKindOf(o.output);
    o.width = kExportWidth;
    o.height = kExportHeight;
    o.fps = kExportFps;
    o.frames = o.kind == OutputKind::Png ? 1 : defaultFrameCount(kExportFps);
    std::string error;
    ExportJob job;
    const bool known = bvh ? o.kind == OutputKind::Bvh : isVideo(o.kind) || o.kind == OutputKind::Png;
    // A film is of the dance from its start, wherever the editor stands.
    if (known) startSceneFromZero();
    if (!known) {
        say("ERROR: cannot export '" + o.output + "': unknown output type");
    } else if (!job.start(o, error)) {
        say("ERROR: " + error);
    } else {
        if (!job.warning().empty()) say("WARNING: " + job.warning());
        if (runInWindow(job, error)) say("Exported " + std::to_string(o.frames) + " frames to '" + o.output + "'");
        else say(gCancelled ? "Export cancelled" : "ERROR: " + error);
    }
    gRunning = false;
    glutPostRedisplay();
}

}  // namespace

const FileDialogRequest kExportVideoRequest = {FileDialogKind::Save, "Export Video", kVideoFilters, 4, ".mp4"};
const FileDialogRequest kExportBvhRequest = {FileDialogKind::Save, "Export BVH", kBvhFilters, 1, ".bvh"};

void addExportMenuEntries() {
    glutAddMenuEntry("export video...", MENU_EXPORT_VIDEO);
    glutAddMenuEntry("export BVH...", MENU_EXPORT_BVH);
}

bool handleExportMenu(int value) {
    if (value != MENU_EXPORT_VIDEO && value != MENU_EXPORT_BVH) return false;
    // Out of the menu's callback first: the chooser and the frames run from
    // the main loop.
    if (!gRunning) {
        gRunning = true;
        glutTimerFunc(0, runExport, value == MENU_EXPORT_BVH ? 1 : 0);
    }
    return true;
}
