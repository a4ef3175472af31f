// music_path.h - how a scene file names its music.
//
// A scene keeps its music file relative to the scene file's folder when the
// music lies in that folder or below it, so the two can be moved together;
// any other music keeps the path it was given. Reading, a relative name is
// looked for beside the scene first and then, as older scenes expect ("media/01.mp3"),
// in the working folder. GL-free; looks at names and at the file system
// only to see whether a file exists.
#pragma once

#include <string>

// The name to write into the scene file at `scenePath` for `music`.
std::string musicPathForScene(const std::string& music, const std::string& scenePath);
// The file a scene at `scenePath` means by `named`.
std::string musicPathFromScene(const std::string& named, const std::string& scenePath);
