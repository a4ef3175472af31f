// music_commands.h - choosing the scene's music and moving it against the
// animation: the "music..." entry of the "scene" submenu, Alt+Left and
// Alt+Right.
//
// Music is only taken once its file has been opened and found to hold
// sound; otherwise the scene stays as it was and the message says why.
// Taking it makes the music follow the timeline and starts finding its
// beats (off the GLUT thread).
#pragma once

#include <string>

struct FileDialogRequest;

extern const FileDialogRequest kOpenMusicRequest;
constexpr double kMusicNudgeSeconds = 0.04;  // one step

// Makes `path` the scene's music; false, saying why, when it cannot be read.
bool setSceneMusic(const std::string& path);
// "music...": the chooser, then setSceneMusic.
bool chooseMusicDialog();
// Alt+Right (+1) plays the music one step later against the animation,
// Alt+Left (-1) one step earlier.
void nudgeMusic(int direction);
// "music +0.12 s": the offset as the strip and the messages show it.
std::string musicOffsetText(double offset);
