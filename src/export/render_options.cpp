// render_options.cpp - parsing the render command line.
//
// Every number is bounded: a frame count or size far beyond anything sane is
// a typing mistake, and refusing it early beats an encoder failing late.
#include "export/render_options.h"

#include "input/keyboard.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMaxFrames = 1000000;
constexpr int kMaxSide = 8192;
constexpr int kMaxFps = 240;
constexpr int kMaxFigure = 44;

struct Extension { const char* text; OutputKind kind; };
constexpr Extension kExtensions[] = {
    {".mp4", OutputKind::Mp4}, {".webm", OutputKind::Webm}, {".gif", OutputKind::Gif},
    {".png", OutputKind::Png}, {".bvh", OutputKind::Bvh}, {".txt", OutputKind::Animation},
    {".scene", OutputKind::Scene},
};

// A whole decimal integer within [lo, hi].
bool readInt(const char* text, int lo, int hi, int& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (*end != '\0' || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

bool readSeconds(const char* text, double& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (*end != '\0' || !(v > 0) || v > 86400) return false;
    out = v;
    return true;
}

// "WxH", both sides even (the video encoders halve the colour planes).
bool readSize(const char* text, int& w, int& h) {
    if (!text) return false;
    const char* x = std::strchr(text, 'x');
    if (!x) return false;
    const std::string left(text, x);
    return readInt(left.c_str(), 2, kMaxSide, w) && readInt(x + 1, 2, kMaxSide, h) &&
           w % 2 == 0 && h % 2 == 0;
}

bool fail(std::string& error, const std::string& what) {
    error = what;
    return false;
}

}  // namespace

bool isRenderOption(const std::string& option) {
    for (const char* known : {"--render", "--out", "--frames", "--seconds", "--size", "--fps",
                              "--figure", "--keys", "--from-saved", "--music", "--no-music"})
        if (option == known) return true;
    return false;
}

bool wantsRender(int argc, char** argv) {
    for (int i = 1; i < argc; i++)
        if (std::strcmp(argv[i], "--render") == 0) return true;
    return false;
}

OutputKind outputKindOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return OutputKind::None;
    std::string ext = path.substr(dot);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const Extension& e : kExtensions)
        if (ext == e.text) return e.kind;
    return OutputKind::None;
}

bool parseRenderOptions(int argc, char** argv, RenderOptions& o, std::string& error) {
    bool haveInput = false, haveFrames = false;
    for (int i = 1; i < argc; i++) {
        const std::string opt = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (opt.rfind("--", 0) != 0) return fail(error, "unexpected argument '" + opt + "'");
        if (opt == "--from-saved") {
            o.fromSaved = true;
            continue;
        }
        if (opt == "--verbose") {
            o.verbose = true;
            continue;
        }
        if (opt == "--no-music") {
            o.noMusic = true;
            continue;
        }
        if (!isRenderOption(opt)) return fail(error, "unknown option '" + opt + "'");
        if (!value) return fail(error, opt + " needs a value");
        i++;
        if (opt == "--render") {
            o.input = value;
            haveInput = true;
        } else if (opt == "--out") {
            o.output = value;
        } else if (opt == "--frames") {
            if (!readInt(value, 1, kMaxFrames, o.frames))
                return fail(error, "--frames takes a whole number from 1 to 1000000");
            haveFrames = true;
        } else if (opt == "--seconds") {
            if (!readSeconds(value, o.seconds))
                return fail(error, "--seconds takes a positive number of seconds");
        } else if (opt == "--size") {
            if (!readSize(value, o.width, o.height))
                return fail(error, "--size takes WxH with even sides from 2 to 8192");
        } else if (opt == "--fps") {
            if (!readInt(value, 1, kMaxFps, o.fps))
                return fail(error, "--fps takes a whole number from 1 to 240");
        } else if (opt == "--figure") {
            if (!readInt(value, 0, kMaxFigure, o.figure))
                return fail(error, "--figure takes a figure number from 0 to 44");
        } else if (opt == "--keys") {
            o.keys = value;
            for (unsigned char key : o.keys)
                if (keyOpensDialog(key))
                    return fail(error, "--keys cannot press Ctrl+S or Ctrl+O: they open a dialog, "
                                       "and a render has nobody to answer it");
        } else if (opt == "--music") {
            o.music = value;
        } else {
            return fail(error, "unknown option '" + opt + "'");
        }
    }
    if (!haveInput || o.input.empty()) return fail(error, "--render needs an input file");
    if (o.output.empty()) return fail(error, "--out needs an output file");
    if (haveFrames && o.seconds > 0) return fail(error, "give --frames or --seconds, not both");
    if (o.noMusic && !o.music.empty()) return fail(error, "give --music or --no-music, not both");
    o.kind = outputKindOf(o.output);
    if (o.kind == OutputKind::None)
        return fail(error, "unknown output type '" + o.output +
                               "' (use .mp4, .webm, .gif, .png, .bvh, .txt or .scene)");
    // The GIF's frame delays count hundredths of a second: faster frames
    // would share a time stamp, and the muxer refuses that at the end.
    if (o.kind == OutputKind::Gif && o.fps > 100)
        return fail(error, "a .gif counts time in hundredths of a second: --fps at most 100");
    if (o.seconds > 0) o.frames = static_cast<int>(o.seconds * o.fps + 0.5);
    if (o.seconds > 0 && o.frames < 1) o.frames = 1;
    return true;
}
