// music_analysis.h - the beats and waveform of the scene's music, found on
// a thread of their own.
//
// Decoding a song and tracking its beats takes a second or more, far longer
// than a frame, so the GLUT thread only asks for it and looks each frame
// whether it is ready; a worker thread does the work once per music file.
// Asking for another file while one is being analysed lets the old one run
// out and drops its result.
#pragma once

#include <string>

#include "audio/beats.h"

// Starts analysing `path` unless it is what was last asked for.
void requestMusicAnalysis(const std::string& path);
// The analysis of the scene's music (app.sceneMusicFile) once it is done;
// nullptr while it runs, when it failed or when there is no music. Asks
// for it when the scene's music changed. GLUT thread only; the pointer is
// good until the next request.
const MusicBeats* sceneMusicBeats();
// Why the last analysis failed; empty when it did not.
std::string musicAnalysisError();
// Waits for the analysis in progress, if any (tests).
void waitForMusicAnalysis();
// Tests: `path` counts as analysed with `beats`, no thread started.
void setMusicBeatsForTests(const std::string& path, const MusicBeats& beats);
