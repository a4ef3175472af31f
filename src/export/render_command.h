// render_command.h - `puppetorium --render IN --out OUT ...`: the scene
// rendered to a file with no window and no X server.
#pragma once

// Runs the render the command line asks for and returns the process's exit
// status: 0 when the output is complete, 2 with an "ERROR: " line for a
// command line it cannot use, 1 with one for a bad input or output (the
// target is then left as it was). Quiet but for progress and errors unless
// --verbose.
int runRenderCommand(int argc, char** argv);
