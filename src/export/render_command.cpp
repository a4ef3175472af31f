// render_command.cpp - the headless render: options, scene, frames, file.
//
// The scene starts as the program's does (textures, persons, light, camera,
// fixed GL state; no music), the input is applied (a scene file whole, an
// animation file into figure 0 as F5 would), the keys given are pressed
// through the key map, and then every frame is one idle step and one drawing. The frame clock reads film time: frame k
// is k frame periods after the intro logo has gone, since a film of a dance
// has no start-up logo in it.
#include "export/render_command.h"

#include <GL/glu.h>

#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>

#include "core/app_state.h"
#include "base/console.h"
#include "base/platform.h"
#include "edit/scene_time.h"
#include "scene/scene_init.h"
#include "export/export_job.h"
#include "export/offscreen_gl.h"
#include "export/progress.h"
#include "export/render_options.h"
#include "input/keyboard.h"
#include "base/safe_file.h"
#include "io/animation_file.h"
#include "scene/scene_commands.h"
#include "io/scene_file.h"
#include "mocap/mocap_import.h"
#include "scene/stage.h"

namespace {

int gFilmFrame = 0;
int gFilmFps = 25;
bool gProgressOnLine = false;  // the progress bar's line is not yet ended

int filmClock() { return LOGO_SHOWN_MS + gFilmFrame * 1000 / gFilmFps; }

// GLUT's solid sphere as GLU draws it: smooth normals, no texture coordinates.
void gluMarkerSphere(double radius, int slices, int stacks) {
    static GLUquadric* q = [] {
        GLUquadric* made = gluNewQuadric();
        gluQuadricNormals(made, GLU_SMOOTH);
        return made;
    }();
    gluSphere(q, radius, slices, stacks);
}

int failWith(const std::string& error) {
    // Below the progress bar, not glued to its end.
    if (gProgressOnLine) std::fputc('\n', stderr);
    gProgressOnLine = false;
    std::fflush(stderr);
    consoleError("ERROR: " + error);
    return 1;
}

// Outputs that are the program's own files: nothing is filmed.
bool writesFile(OutputKind k) { return k == OutputKind::Animation || k == OutputKind::Scene; }

// The scene a render starts from. A .bvh, animation or scene output needs only the model.
bool prepareScene(const RenderOptions& o, HeadlessContext& gl, std::string& error) {
    if (o.kind == OutputKind::Bvh || writesFile(o.kind)) {
        placeAndDressPersons();
        setLightPath();
        placeCamera();
        return true;
    }
    if (!gl.create(error)) {
        error = "no offscreen OpenGL: " + error;
        return false;
    }
    setMarkerSphere(gluMarkerSphere);
    initSceneSilently();
    return true;
}

bool loadScene(const std::string& path, std::string& error) {
    auto scene = readSceneFile(path, error);
    if (!scene) {
        error = "cannot render '" + path + "': not a readable scene file: " + error;
        return false;
    }
    applyScene(*scene);
    return true;
}

bool loadInput(const RenderOptions& o, std::string& error) {
    // Only a scene names music; a film of anything else is silent unless --music says.
    if (!isSceneFileName(o.input)) app.sceneMusicFile.clear();
    if (o.input == "-") {
        // nothing to load: the scene the program starts with, and the keys
    } else if (isSceneFileName(o.input)) {
        if (!loadScene(o.input, error)) return false;
    } else if (isBvhFileName(o.input)) {
        std::string message;
        const bool ok = importMocapFile(app.persons[app.selectedPerson], o.input, message);
        if (!ok) {
            error = "cannot render '" + o.input + "': " + message;
            return false;
        }
        consoleReport(message);
    } else if (!app.persons[app.selectedPerson].loadAnimation(o.input.c_str(), true)) {
        error = "cannot render '" + o.input + "': not a readable animation file";
        return false;
    }
    // A film is of the dance, from its start, whatever moment it was saved at.
    if (!o.fromSaved) startSceneFromZero();
    for (char key : o.keys) onKeyboard(static_cast<unsigned char>(key), 0, 0);
    if (o.figure >= app.numPersons) {
        error = "--figure " + std::to_string(o.figure) + " is not in use (" +
                std::to_string(app.numPersons) + " figures)";
        return false;
    }
    return true;
}

void showProgress(const ExportJob& job, std::chrono::steady_clock::time_point start, bool last) {
    static auto lastShown = start;
    const auto now = std::chrono::steady_clock::now();
    if (!last && now - lastShown < std::chrono::milliseconds(100)) return;
    lastShown = now;
    const double elapsed = std::chrono::duration<double>(now - start).count();
    std::fprintf(stderr, "\r%s", progressLine(job.framesDone(), job.framesTotal(), elapsed).c_str());
    gProgressOnLine = !last;
    if (last) std::fprintf(stderr, "\n");
    std::fflush(stderr);
}

// The converter: the figure's animation file, or the whole scene, as they
// stand once the input is loaded and the keys pressed.
int writeOwnFile(const RenderOptions& o) {
    std::string error;
    if (o.kind == OutputKind::Scene) {
        if (!saveScene(o.output)) return 1;  // it has said why
    } else {
        const int figure = o.figure >= 0 ? o.figure : app.selectedPerson;
        std::ostringstream text;
        writeAnimationText(app.persons[figure], text);
        if (!writeFileAtomically(o.output, text.str(), error))
            return failWith("cannot write '" + o.output + "': " + error);
    }
    std::printf("Wrote '%s'\n", o.output.c_str());
    std::fflush(stdout);
    return 0;
}

}  // namespace

int runRenderCommand(int argc, char** argv) {
    RenderOptions o;
    std::string error;
    if (!parseRenderOptions(argc, argv, o, error)) {
        failWith(error);
        return kUsageExitStatus;
    }
    // Progress and errors only: the load's report lines would break up the bar.
    setConsoleQuiet(!o.verbose);
    gFilmFps = o.fps;
    platform::setClock(filmClock);

    HeadlessContext gl;
    if (!prepareScene(o, gl, error) || !loadInput(o, error)) return failWith(error);
    if (writesFile(o.kind)) return writeOwnFile(o);
    if (o.frames == 0) {
        bool capped = false;
        o.frames = o.kind == OutputKind::Png ? 1 : defaultFrameCount(o.fps, &capped);
        if (capped)
            std::printf("WARNING: the animation runs longer than %d frames; the film stops there "
                        "(--frames or --seconds set another length)\n", kMaxFilmFrames);
        std::fflush(stdout);
    }

    ExportJob job;
    if (!job.start(o, error)) return failWith(error);
    if (!job.warning().empty()) {
        std::printf("WARNING: %s\n", job.warning().c_str());
        std::fflush(stdout);
    }
    const auto start = std::chrono::steady_clock::now();
    while (!job.done()) {
        if (!job.step(error)) return failWith(error);
        gFilmFrame++;
        showProgress(job, start, false);
    }
    showProgress(job, start, true);
    if (!job.finish(error)) return failWith(error);
    consoleReport("Rendered " + std::to_string(o.frames) + " frames to '" + o.output + "'");
    return 0;
}
