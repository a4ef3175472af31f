// scene_file.h - the whole scene as plain values, and its text format.
//
// A scene file holds every figure in use (dress, place, pose and all 21
// animators in full), the selections, the camera with its tour animators,
// the play rate, the render switches and lights, and the music that follows
// the timeline. The text is line-oriented, one fact per line:
//
//   puppetorium-scene 1                      version line, always first
//   numPersons 2                             a setting: name, values
//   person 0 scale 1                         a figure's field
//   person 0 rotation HEAD 0 0 0             a part's joint angles
//   anim person.0.HEAD play 0 0 0 0 1 1      an animator (owner, what, values)
//   anim person.0.HEAD key 10 0 -5 1 20      one keyframe, in queue order
//   anim person.0.HEAD key 10 0 -5 1 20 hold ... one reached other than by the spline
//   end                                      last line; without it the file is truncated
//
// Floats are written in the shortest form that reads back to the same float,
// always with '.', whatever the locale. A reader meets facts it does not know
// (from a newer build) with one warning per line and skips them; a fact it
// knows but cannot take refuses the whole file.
//
// Everything here is GL-free and works on memory; scene_commands.h opens and
// saves files and puts a parsed scene into the application.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "anim/keyframe_animation.h"
#include "app/app_state.h"
#include "figure/person.h"

constexpr int kSceneFormatVersion = 1;
extern const char* const kSceneDefaultMusic;  // "media/01.mp3"

// One figure: what a Person holds besides its drawing resources.
struct SceneFigure {
    bool isMale = true;
    float scale = 1;
    int skin = TEX_SKIN_LIGHT;
    float colour[3] = {0, 0, 1};
    float alpha = 1;
    int leftHandItem = 0;
    int rightHandItem = 0;
    bool showTrail = false;
    float trailAlpha = 0.2f;
    float trailFade = 0.05f;
    float position[3] = {0, 0, 0};
    float rotation[BODY_PART_COUNT][3] = {};
    int selectedPart = 0;
    bool animating = true;
    KeyFrameAnimation kfaPos;
    KeyFrameAnimation kfa[BODY_PART_COUNT];
};

struct Scene {
    int numPersons = 1;
    int selectedPerson = 0;
    SceneFigure persons[MAX_PERSONS];

    float eye[3] = {0, 5, 20};
    float target[3] = {0, 0, 0};
    int cameraMode = CAM_FOCUS_ON_POINT;
    bool cameraAnimationOn = false;
    bool cameraTrackPaused = false;  // the camera's own track stands at a keyframe
    KeyFrameAnimation eyeAnim;
    KeyFrameAnimation targetAnim;

    float playRate = 1;
    float sceneClock = 0;
    bool wireframeOn = false;
    bool lightingOn = true;
    bool texturesOn = true;
    bool animateOn = true;
    bool showTargetMarker = true;
    bool orthographicView = false;
    bool lightEnabled[4] = {true, true, false, false};
    KeyFrameAnimation sceneLight;

    std::string musicFile = kSceneDefaultMusic;
    float musicOffset = 0;  // seconds into the music at animation time 0
};

// A scene is large (nearly a thousand animators): make it on the heap.
inline std::unique_ptr<Scene> makeScene() { return std::make_unique<Scene>(); }

// The application's present scene.
void captureScene(const AppState& state, Scene& scene);

// The scene as text, ending with "end" and a line end.
std::string writeSceneText(const Scene& scene);

// Reads scene text on top of `scene`: facts the text states replace the
// values there (an animator named in the text is replaced whole); others
// stay. False with `error` ("line 12: ...") when the text is not a scene of
// a known version, is cut short, or states a fact out of bounds; `scene` may
// then be half-written, so parse into a copy. Each unknown line adds one
// text to `warnings` naming its line.
bool readSceneText(const std::string& text, Scene& scene, std::string& error,
                   std::vector<std::string>& warnings);

// Shortest text of a float that reads back to the same float ("0.2", "-90").
std::string sceneFloatText(float v);
