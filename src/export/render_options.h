// render_options.h - the command line of a render without a window.
//
//   puppetorium --render IN --out OUT [--frames N | --seconds S]
//               [--size WxH] [--fps F] [--figure K] [--keys KEYS] [--verbose]
//               [--from-saved]
//               [--music FILE | --no-music]
//
// IN is a ".scene" file (applied whole), a ".bvh" recording or an animation
// file (loaded into figure 0, as F5 would) or "-" for none; KEYS are key-map keys pressed first ("6" sets up the sword fight).
// A film starts from time 0 of every animator, wherever the scene was saved;
// --from-saved starts it at the saved moment instead.
// OUT's extension picks what is written. GL-free, so it is tested bare.
#pragma once

#include <string>

// The exit status of a command line that was refused, the window's or a
// render's.
constexpr int kUsageExitStatus = 2;

// Animation and Scene are written as files of the program's own, without
// filming: the converter from a recording (or any input) to them.
enum class OutputKind { None, Mp4, Webm, Gif, Png, Bvh, Animation, Scene };

struct RenderOptions {
    std::string input;
    std::string output;
    OutputKind kind = OutputKind::None;
    int frames = 0;          // 0: one full cycle of the longest animation
    double seconds = 0;      // when given, frames = seconds x fps
    int width = 1280;
    int height = 720;
    int fps = 25;
    int figure = -1;         // -1: the selected figure
    std::string keys;
    bool verbose = false;    // show the load's report lines too
    bool fromSaved = false;  // start at the saved moment, not at time 0
    std::string music;       // --music FILE: the film's sound instead of the scene's music
    bool noMusic = false;    // --no-music: a silent film
};

// True for the options a render takes a value for ("--out", ...).
bool isRenderOption(const std::string& option);

// True when the command line asks for a render (holds "--render").
bool wantsRender(int argc, char** argv);

// Reads the options after the program name; false with `error` set on an
// unknown or malformed option, a missing IN or OUT, or an unknown extension.
bool parseRenderOptions(int argc, char** argv, RenderOptions& options, std::string& error);

// The kind the file name's extension names (case-insensitive), or None.
OutputKind outputKindOf(const std::string& path);

// True for the kinds that are moving pictures.
inline bool isVideo(OutputKind k) {
    return k == OutputKind::Mp4 || k == OutputKind::Webm || k == OutputKind::Gif;
}
