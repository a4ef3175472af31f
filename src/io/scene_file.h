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
#include "camera/camera.h"
#include "figure/figure_fields.h"
#include "figure/figure_limits.h"

struct AppState;

constexpr int kSceneFormatVersion = 1;
extern const char* const kSceneDefaultMusic;  // "media/01.mp3"

// One figure: what a Person keeps besides its drawing resources. Its fields
// are the lists in figure_fields.h; only the named ones reach the file.
struct SceneFigure : FigureFields {
    PartFields part[BODY_PART_COUNT];
    KeyFrameAnimation kfaPos;
    KeyFrameAnimation kfa[BODY_PART_COUNT];
};

// The scene's settings, each stated once with where the application keeps
// it (a path in AppState). To add one: add a line here; capture, apply, the
// writer and the reader all follow. Written in list order, animators after
// the scalars, so keep the present lines in place and add at the end of a
// kind. FLAG(member, name, app path, default); WHOLE/NUMBER(member, name,
// app path, default, min, max); TRIPLE(member, name, app path, x, y, z);
// ANIM(member, owner name, app path).
#define SCENE_SETTINGS(FLAG, WHOLE, NUMBER, TRIPLE, ANIM)                                        \
    WHOLE(numPersons, "numPersons", numPersons, 1, 0, MAX_PERSONS)                             \
    WHOLE(selectedPerson, "selectedPerson", selectedPerson, 0, 0, MAX_PERSONS - 1)             \
    WHOLE(cameraMode, "cameraMode", cameraMode, CAM_FOCUS_ON_POINT, 0, CAMERA_MODE_COUNT - 1)  \
    NUMBER(playRate, "playRate", playRate, 1, -1000, 1000)                                     \
    NUMBER(sceneClock, "sceneClock", sceneClock, 0, 0, kFieldMagnitude)                        \
    /* seconds into the music at animation time 0 */                                          \
    NUMBER(musicOffset, "musicOffset", sceneMusicOffset, 0, -1e6f, 1e6f)                       \
    FLAG(wireframeOn, "wireframeOn", wireframeOn, false)                                       \
    FLAG(lightingOn, "lightingOn", lightingOn, true)                                           \
    FLAG(texturesOn, "texturesOn", texturesOn, true)                                           \
    FLAG(animateOn, "animateOn", animateOn, true)                                              \
    FLAG(showTargetMarker, "showTargetMarker", showTargetMarker, true)                         \
    FLAG(orthographicView, "orthographicView", orthographicView, false)                        \
    FLAG(cameraAnimationOn, "cameraAnimationOn", camera.animationOn, false)                    \
    TRIPLE(eye, "eye", camera.eye, 0, 5, 20)                                                   \
    TRIPLE(target, "target", camera.target, 0, 0, 0)                                           \
    ANIM(eyeAnim, "camera.eye", camera.eyeAnim)                                                \
    ANIM(targetAnim, "camera.target", camera.targetAnim)                                       \
    ANIM(sceneLight, "light", sceneLight)

#define PUPPET_SCENE_FLAG(m, name, path, def) bool m = def;
#define PUPPET_SCENE_WHOLE(m, name, path, def, lo, hi) int m = def;
#define PUPPET_SCENE_NUMBER(m, name, path, def, lo, hi) float m = def;
#define PUPPET_SCENE_TRIPLE(m, name, path, x, y, z) float m[3] = {x, y, z};
#define PUPPET_SCENE_ANIM(m, name, path) KeyFrameAnimation m;

struct Scene {
    SCENE_SETTINGS(PUPPET_SCENE_FLAG, PUPPET_SCENE_WHOLE, PUPPET_SCENE_NUMBER, PUPPET_SCENE_TRIPLE,
                   PUPPET_SCENE_ANIM)
    // Two settings with lines of their own: "lightEnabled 1 1 0 0" and
    // "music PATH" (the rest of the line, blanks and all).
    bool lightEnabled[4] = {true, true, false, false};
    std::string musicFile = kSceneDefaultMusic;
    SceneFigure persons[MAX_PERSONS];
};

#define PUPPET_SCENE_ENTRY_FLAG(m, name, path, def) flagField(name, &Scene::m),
#define PUPPET_SCENE_ENTRY_WHOLE(m, name, path, def, lo, hi) wholeField(name, &Scene::m, lo, hi),
#define PUPPET_SCENE_ENTRY_NUMBER(m, name, path, def, lo, hi) numberField(name, &Scene::m, lo, hi),
#define PUPPET_SCENE_ENTRY_TRIPLE(m, name, path, x, y, z) tripleField(name, &Scene::m),
#define PUPPET_SCENE_SKIP_ANIM(m, name, path)

// The settings of one line each, in the order they are written.
inline constexpr Field<Scene> kSceneFields[] = {
    SCENE_SETTINGS(PUPPET_SCENE_ENTRY_FLAG, PUPPET_SCENE_ENTRY_WHOLE, PUPPET_SCENE_ENTRY_NUMBER,
                   PUPPET_SCENE_ENTRY_TRIPLE, PUPPET_SCENE_SKIP_ANIM)};

// A scene is large (nearly a thousand animators): make it on the heap.
inline std::unique_ptr<Scene> makeScene() { return std::make_unique<Scene>(); }

// The application's present scene.
void captureScene(const AppState& state, Scene& scene);
// Copies the scene's settings (not its figures) into `state`; the caller
// makes them take effect (render switches, projection, music).
void applySceneSettings(const Scene& scene, AppState& state);

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
