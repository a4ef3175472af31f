// progress.h - the one-line progress bar a render shows on the terminal.
#pragma once

#include <string>

// "[##########----------]  50/100 frames   24.8 fps   0:02 left" for `done`
// of `total` frames after `elapsedSeconds`; the rate and the time left are
// left out until a frame has been timed.
std::string progressLine(int done, int total, double elapsedSeconds);
