// main.cpp - the program's entry: opens the window, puts the scene into its
// first state, registers the GLUT callbacks and enters the main loop.
#include <GL/freeglut.h>

#include <cstdio>
#include <cstring>

#include "core/app_state.h"
#include "app/command_line.h"
#include "scene/frame_clock.h"
#include "app/menus.h"
#include "app/window_close.h"
#include "audio/beats.h"
#include "base/platform.h"
#include "scene/reshape.h"
#include "scene/scene_init.h"
#include "input/mouse.h"
#include "edit/edit_commands.h"
#include "export/render_command.h"
#include "input/keyboard.h"
#include "base/console.h"
#include "base/safe_file.h"
#include "scene/autosave.h"
#include "scene/scene_commands.h"
#include "scene/display.h"
#include "scene/help_pages.h"
#include "ui/quit_dialog.h"

namespace {
int glutClock() { return glutGet(GLUT_ELAPSED_TIME); }
void glutRedisplay() { glutPostRedisplay(); }
int glutModifiers() { return glutGetModifiers(); }

void autosaveTimer(int) {
    autosaveInBackground();
    glutTimerFunc(kAutosaveIntervalMs, autosaveTimer, 0);
}

bool wantsRecovery(int argc, char** argv) {
    for (int i = 1; i < argc; i++)
        if (std::strcmp(argv[i], "--recover") == 0) return true;
    return false;
}
}  // namespace

int main(int argc, char** argv) {
    removeTemporariesOnSignals();  // Ctrl+C mid-save or mid-render leaves no temporary
    const CommandLine line = readCommandLine(argc, argv);
    switch (line.action) {
        case CommandAction::Help: std::fputs(helpText().c_str(), stdout); return 0;
        case CommandAction::Version: std::fputs(versionText().c_str(), stdout); return 0;
        case CommandAction::Refused: consoleError("ERROR: " + line.error); return kUsageExitStatus;
        // A render to a file runs without any window (or X server) at all.
        case CommandAction::Render: return runRenderCommand(argc, argv);
        // So does finding a music file's beats.
        case CommandAction::Beats: return runBeatsCommand(argv[2]);
        case CommandAction::Window: break;
    }
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
    glutInitWindowSize(static_cast<int>(app.windowWidth), static_cast<int>(app.windowHeight));
    glutCreateWindow("Puppetorium v1.0");
    platform::setClock(glutClock);
    platform::setRedisplayHandler(glutRedisplay);
    platform::setModifiersSource(glutModifiers);

    initScene();
    loadHelpPages();
    createMenus();
    setUnsavedWorkQuery(anyUnsavedKeyFrames);  // quit asks only when keyframes are unsaved
    setSceneSaver(saveSceneDialog);
    setQuitHook(removeAutosave);
    installWindowCloseGuard();
    openSceneFromCommandLine(argc, argv);  // GLUT has taken its own options by now
    if (wantsRecovery(argc, argv)) recoverAutosave();
    else announceAutosave();
    glutTimerFunc(kAutosaveIntervalMs, autosaveTimer, 0);

    glutReshapeFunc(reshape);
    glutDisplayFunc(display);
    glutMouseFunc(onMouse);
    glutMotionFunc(onMotion);
    glutPassiveMotionFunc(onPassiveMotion);
    glutMouseWheelFunc(onMouseWheel);
    glutKeyboardFunc(onKeyboard);
    glutKeyboardUpFunc(onKeyboardUp);
    glutSpecialFunc(onSpecialKey);
    glutSpecialUpFunc(onSpecialKeyUp);
    glutIdleFunc(idle);
    glutMainLoop();
    return 0;
}
