// music_strip.h - the scene's music drawn along a time line: its waveform,
// a mark on every beat with the bar number every fourth beat, and a label
// with the tempo ("128 BPM") and the music's offset.
//
// Animation time t (steps) lines up with the music at offset + t / 25 s, as
// the music plays when it follows the timeline. Nothing is drawn until the
// music's analysis is ready (music_analysis.h). The timeline strip draws it
// under its keyframe ticks; any other view of time can call the same.
#pragma once

#include <string>

struct MusicBeats;

constexpr int kBeatsPerBar = 4;

// ---- GL-free
// The loudest peak of the music between s0 and s1 seconds (0 outside it).
float peakBetween(const MusicBeats& m, double s0, double s1);
// "128 BPM"; empty for an unknown tempo.
std::string tempoText(double bpm);
// The label right of the strip: "128 BPM  music +0.04 s".
std::string musicLabel(const MusicBeats& m, double offset);

// ---- drawing (GL, window pixels with y up, inside the overlay's state)
// Times t0 .. t1 (steps) run from x0 to x1, the strip from y0 to y1; a
// tall strip under other marks asks for a fainter waveform.
void drawMusicStrip(float x0, float x1, float y0, float y1, float t0, float t1, float waveAlpha = 0.55f);
// The label in letters `advance` wide, its right end at xRight, its baseline at y; "music not
// readable" when the scene's music could not be read, nothing without music.
void drawMusicLabel(float xRight, float y, float advance);
