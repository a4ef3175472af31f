// app_state.h - the state the GLUT callbacks share, in one record.
//
// All callbacks run on the GLUT thread and talk to each other through `app`:
// the scene singletons, the settings and selections, the held keys and mouse
// buttons, the clocks. Field names are the program's own vocabulary
// (playRate, numPersons, persons, camera, ...). Nothing is locked: only the
// GLUT thread touches it. Tests start from a fresh record with
// resetAppState(), which rebuilds it in place (the editing session, undo
// history and unsaved marks included) and clears the message.
//
// What stays outside, at file scope beside the code that owns it, as no
// other module reads it: the drawing caches made once per run (display
// lists, meshes, the batch, the figure-drawing flags in figure/shape_*.cpp),
// seams tests replace (base/platform.cpp, the stage's marker drawer), the
// music follower (resetMusicFollower), the timeline's scrub flag and the
// render jobs' frame counters (export/). Each group below says who sets it.
// The scene's settings that scene files keep are listed in io/scene_file.h.
#pragma once

#include <string>

#include "anim/keyframe_animation.h"
#include "base/angles.h"
#include "camera/camera.h"
#include "camera/named_views.h"
#include "core/history.h"
#include "figure/figure_limits.h"
#include "figure/person.h"
#include "figure/textured_box.h"
#include "gfx/texture_slots.h"

class MusicPlayer;
struct GLUquadric;

constexpr int HELP_PAGES = 8;
constexpr int HELP_LINES_PER_PAGE = 37;
constexpr int FPS_RING_SIZE = 10;

// What a left drag turns.
enum SpinMode { SPIN_CAMERA = false, SPIN_PART = true };

extern const char* const cameraModeNames[CAMERA_MODE_COUNT];

struct AppState {
    // ---- scene singletons (made by scene start-up, scene/scene_init.cpp)
    Person persons[MAX_PERSONS];
    Camera camera;
    KeyFrameAnimation sceneLight;
    MusicPlayer* musicPlayer = nullptr;       // made at start-up, never freed
    int textures[TEXTURE_SLOT_COUNT] = {};    // GL texture name per slot, -1 when the load failed
    GLUquadric* quadric = nullptr;            // shared quadric for held items and the cone
    TexturedBox logoBlock;

    // ---- settings and selections (keys, menus, scene files; window size by reshape)
    float windowWidth = 700;
    float windowHeight = 500;
    float aspectRatio = 1.4f;
    int numPersons = 1;
    int selectedPerson = 0;
    float playRate = 1.0f;
    float sceneClock = 0;
    float walkStep = 0.5f;
    float turnStep = 3.0f;
    bool frameLimiterOn = false;
    int lastFrameTime = 0;
    bool helpVisible = false;
    int helpPage = 0;
    bool keyboardChartVisible = false;
    bool spinMode = SPIN_CAMERA;
    int cameraMode = CAM_FOCUS_ON_POINT;
    bool orthographicView = false;
    NamedViewState namedView;  // top, front or side view over the camera (Ctrl+7, 1, 3, 5)
    bool wireframeOn = false;
    bool lightingOn = true;
    bool texturesOn = true;
    bool animateOn = true;
    bool musicOn = true;
    bool showTargetMarker = true;
    bool lightEnabled[4] = {true, true, false, false};

    // ---- held keys and the mouse (input/keyboard.cpp, input/mouse.cpp)
    bool upHeld = false, downHeld = false, leftHeld = false, rightHeld = false;
    bool tabHeld = false;
    int mouseX = 0, mouseY = 0;
    float mouseDeltaX = 0, mouseDeltaY = 0;
    bool leftButtonDown = false, middleButtonDown = false;
    bool orbitFlipped = false;

    // ---- text layout (set by reshape)
    float textCharSpacing = 0.2f;
    float textLineSpacing = 200.0f / 500.5f;

    // ---- frame-rate measurement (scene/frame_rate.cpp)
    float fps = 0;
    int frameTimes[FPS_RING_SIZE] = {};
    int frameTimeIndex = -1;
    int lastFpsUpdate = 0;

    // ---- help pages (scene/help_pages.cpp, read at start-up)
    std::string helpLines[HELP_PAGES][HELP_LINES_PER_PAGE];

    // ---- the editing session (edit/edit_commands.cpp): undo, unsaved marks, drags
    History history;
    bool unsaved[MAX_PERSONS] = {};  // keyframes changed since the figure was saved or loaded
    long dragKey = 0;                // non-zero while a left drag lasts
    long dragCount = 0;
    // posing by hand (edit/pose_commands.cpp)
    PoseCopy poseClipboard = {};     // what Ctrl+C copied
    bool poseClipboardFull = false;
    bool poseDragOn = false;         // a Ctrl + left drag is posing a figure

    // ---- texture loader's name counter (the last name handed out)
    int nextTextureName = -1;

    // ---- the open scene's music (scene files, scene/scene_commands.cpp)
    std::string sceneMusicFile = "media/01.mp3";  // what a saved scene names
    float sceneMusicOffset = 0;                   // seconds into it at animation time 0
    bool musicFollowOn = false;                   // the music follows the selected figure's time

    // ---- the scene's time line (ui/dope_sheet.cpp)
    bool dopeSheetVisible = false;                // Ctrl+D shows the dope sheet
    int sceneMusicTaken = 0;                      // counts scenes opened and music chosen: the follower starts afresh
    bool snapToBeats = false;                     // keyframe commands land on the music's beats (Ctrl+B)
};

// The one instance.
extern AppState& app;

// Destroys and rebuilds `app` in place with every initial value (tests).
void resetAppState();
