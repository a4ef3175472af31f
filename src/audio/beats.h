// beats.h - what the timeline shows of a music file: where its beats fall,
// its tempo and the outline of its waveform.
//
// The beats come from aubio's tempo tracker fed the mono music at 44.1 kHz,
// a hop at a time, while the waveform's peaks are gathered from the same
// samples, so the file is decoded once and never held whole. A 4-minute
// song takes a second or two: the window runs this on a thread of its own
// (music_analysis.h); `--beats` runs it directly. GL-free.
#pragma once

#include <string>
#include <vector>

// The waveform keeps one peak per this many seconds (a quarter of a step).
constexpr double kWaveformBucketSeconds = 0.01;

struct MusicBeats {
    std::vector<double> beats;  // seconds into the music, ascending
    double tempo = 0;           // beats a minute; 0 when too few beats to tell
    std::vector<float> peaks;   // largest |sample| per bucket, 0 to 1
    double seconds = 0;         // the music's length as decoded
};

// Decodes `path` and finds its beats; false with `error` when it cannot be
// read as music.
bool analyseMusic(const std::string& path, MusicBeats& out, std::string& error);

// The tempo the beats keep: beats numbered by whole median gaps and a line
// fitted through them, so a missed beat does not move it and the gap is
// known far more finely than one hop. 0 with fewer than two beats.
double tempoOfBeats(const std::vector<double>& beats);

// `tempo T` and one beat a line, three decimals: what `--beats` prints.
std::string beatsText(const MusicBeats& b);

// The `--beats FILE` command: prints beatsText, or an ERROR line and returns 1.
int runBeatsCommand(const std::string& path);
