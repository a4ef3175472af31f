// scene_commands.h - saving and opening whole scenes: Ctrl+S, Ctrl+O, the
// "scene" submenu and a scene named on the command line.
//
// A save captures the application and writes it through the atomic writer,
// so a failed save leaves the old file whole. An open reads through the safe
// reader, parses into a copy of the present scene and applies it only when
// the whole file was taken; a refused file leaves everything as it was.
// Each result is said on the console and on screen.
#pragma once

#include <memory>
#include <string>

struct Scene;
struct FileDialogRequest;

extern const FileDialogRequest kOpenSceneRequest;
extern const FileDialogRequest kSaveSceneRequest;

// Writes the present scene to `path`. False, with a console line and an
// on-screen message, when the file could not be written.
bool saveScene(const std::string& path);
// Reads `path` and makes it the present scene. False, saying why, when the
// file is missing, not a scene, cut short or damaged.
bool openScene(const std::string& path);

// Reads `path` onto a copy of the present scene, without applying it. Null,
// with `error` set, when the file is missing, not a scene, cut short or
// damaged; unknown lines are warned about on the console.
std::unique_ptr<Scene> readSceneFile(const std::string& path, std::string& error);
// True when the name ends in ".scene".
bool isSceneFileName(const std::string& path);

// Makes `scene` the application's scene: figures, selections, camera,
// switches (and their GL state), lights and music.
void applyScene(const Scene& scene);

// The chooser dialogs behind Ctrl+S / Ctrl+O and the submenu.
bool saveSceneDialog();
bool openSceneDialog();

// Opens the first argument that names a ".scene" file (after GLUT has taken
// its own options). Nothing when there is none.
void openSceneFromCommandLine(int argc, char** argv);

// The submenu's switch: the music follows the timeline or is left alone.
void toggleMusicFollowing();
