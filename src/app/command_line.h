// command_line.h - what the command line asks of the program, read before
// anything starts (so --help and --version work without a display).
//
//   puppetorium [FILE.scene]                      the window
//   puppetorium --render IN --out OUT [...]       a film without a window
//   puppetorium --beats FILE                      a music file's tempo and beats
//   puppetorium --help | --version
//
// The window also takes GLUT's own options (-display D, -geometry G,
// -iconic, -direct, -indirect, -gldebug, -sync), which glutInit consumes.
// The render's options are checked in full by parseRenderOptions.
#pragma once

#include <string>

#include "export/render_options.h"  // kUsageExitStatus

enum class CommandAction { Window, Render, Beats, Help, Version, Refused };

struct CommandLine {
    CommandAction action = CommandAction::Window;
    std::string error;  // for Refused: what is wrong, one line
};

CommandLine readCommandLine(int argc, char** argv);

// Every option, one line each.
std::string helpText();
// "Puppetorium 1.0 (commit ...)".
std::string versionText();
