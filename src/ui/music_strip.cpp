// music_strip.cpp - what the strip shows of the music, as numbers and text.
#include "ui/music_strip.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/beats.h"
#include "edit/music_commands.h"

float peakBetween(const MusicBeats& m, double s0, double s1) {
    if (m.peaks.empty() || s1 < 0) return 0;
    const double last = static_cast<double>(m.peaks.size());
    const double from = std::max(0.0, std::floor(s0 / kWaveformBucketSeconds));
    const double to = std::min(last, std::ceil(s1 / kWaveformBucketSeconds));
    float peak = 0;
    for (double i = from; i < to; i += 1) peak = std::max(peak, m.peaks[static_cast<std::size_t>(i)]);
    return peak;
}

std::string tempoText(double bpm) {
    if (!(bpm > 0)) return std::string();
    char text[24];
    std::snprintf(text, sizeof text, "%.0f BPM", bpm);
    return text;
}

std::string musicLabel(const MusicBeats& m, double offset) {
    const std::string tempo = tempoText(m.tempo);
    return tempo.empty() ? musicOffsetText(offset) : tempo + "  " + musicOffsetText(offset);
}
