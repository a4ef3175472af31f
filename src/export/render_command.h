// render_command.h - `puppetorium --render IN --out OUT ...`: the scene
// rendered to a file with no window and no X server.
#pragma once

// Runs the render the command line asks for and returns the process's exit
// status: 0 when the output is complete, 1 with an "ERROR: " line for a bad
// option, input or output (the target is then left as it was).
int runRenderCommand(int argc, char** argv);
