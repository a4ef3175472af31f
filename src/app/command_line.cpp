// command_line.cpp - reading the command line before the program starts.
#include "app/command_line.h"

#include <cstring>

#include "app/version.h"
#include "export/render_options.h"

namespace {

struct GlutOption { const char* name; bool takesValue; };
constexpr GlutOption kGlutOptions[] = {
    {"-display", true}, {"-geometry", true}, {"-iconic", false}, {"-direct", false},
    {"-indirect", false}, {"-gldebug", false}, {"-sync", false},
};

const GlutOption* glutOption(const std::string& arg) {
    for (const GlutOption& g : kGlutOptions)
        if (arg == g.name) return &g;
    return nullptr;
}

CommandLine refused(const std::string& error) {
    CommandLine c;
    c.action = CommandAction::Refused;
    c.error = error + " (puppetorium --help lists the options)";
    return c;
}

// The window's command line: scene files, GLUT's options, --recover and
// --verbose (which changes nothing there: the window shows every line anyway).
CommandLine readWindowLine(int argc, char** argv) {
    for (int i = 1; i < argc; i++) {
        const std::string arg = argv[i];
        if (arg.size() < 2 || arg[0] != '-') continue;  // a scene file, or "-"
        if (arg == "--verbose" || arg == "--recover") continue;
        if (const GlutOption* g = glutOption(arg)) {
            if (g->takesValue && ++i >= argc) return refused(arg + " needs a value");
            continue;
        }
        if (isRenderOption(arg)) return refused(arg + " belongs to --render");
        return refused("unknown option '" + arg + "'");
    }
    return CommandLine{};
}

}  // namespace

CommandLine readCommandLine(int argc, char** argv) {
    // Asking for help or the version wins over anything else on the line.
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return CommandLine{CommandAction::Help, ""};
        if (std::strcmp(argv[i], "--version") == 0) return CommandLine{CommandAction::Version, ""};
    }
    if (argc >= 2 && std::strcmp(argv[1], "--beats") == 0) {
        if (argc != 3) return refused("--beats takes one music file");
        return CommandLine{CommandAction::Beats, ""};
    }
    if (wantsRender(argc, argv)) {
        RenderOptions options;
        std::string error;
        if (!parseRenderOptions(argc, argv, options, error)) return refused(error);
        return CommandLine{CommandAction::Render, ""};
    }
    return readWindowLine(argc, argv);
}

std::string helpText() {
    return
        "Usage: puppetorium [FILE.scene]                    open the window, with a scene if given\n"
        "       puppetorium --render IN --out OUT [OPTION]  film without a window\n"
        "  --render IN     a .scene file, an animation file (into figure 0) or - for none\n"
        "  --out OUT       what to write: .mp4, .webm, .gif, .png (one picture) or .bvh\n"
        "  --frames N      N frames (default: one cycle of the longest animation; .png: 1)\n"
        "  --seconds S     S seconds instead of a frame count\n"
        "  --size WxH      picture size, even sides (default 1280x720)\n"
        "  --fps F         frames a second (default 25)\n"
        "  --figure K      the figure a .bvh records, from 0 (default: the selected one)\n"
        "  --keys KEYS     keys of the window's key map pressed first (6: the sword fight)\n"
        "  --recover       open the window with the autosaved scene of a session that ended unsaved\n"
        "  --from-saved    start the film at the moment the scene was saved, not at time 0\n"
        "  --verbose       also show what a render loads (it shows only progress and errors)\n"
        "  --music FILE    film with this music instead of the scene's (from its offset)\n"
        "  --no-music      film without sound\n"
        "       puppetorium --beats FILE                    print a music file's tempo and beats\n"
        "  --help          show this help and exit\n"
        "  --version       show the version and the commit it was built from, and exit\n"
        "  -display D, -geometry WxH+X+Y, -iconic, -direct, -indirect, -gldebug, -sync:\n"
        "                  GLUT's window options\n";
}

std::string versionText() {
    return std::string("Puppetorium ") + kProgramVersion + " (commit " + kProgramCommit + ")\n";
}
