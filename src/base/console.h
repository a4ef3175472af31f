// console.h - the program's console lines, on standard output.
//
// The window shows every line the program words. A command run without a
// window (a render) is quiet: it shows its errors, and its progress bar on
// standard error, but not the report lines of what it loads ("  partLabel=
// HEAD set", ">> Loaded texture ..."), unless it is asked to be verbose.
// Each line is flushed at once, so a person at the terminal and a test
// reading a pipe see it as it happens.
#pragma once

#include <string>

// Quiet drops report lines; error lines always show. Off at start.
void setConsoleQuiet(bool quiet);
bool consoleQuiet();

// A line saying what was done. Dropped while quiet.
void consoleReport(const std::string& line);
// A line saying what went wrong ("ERROR: ...", "WARNING: ..."). Always shown.
void consoleError(const std::string& line);
// Text without a line end, continued by whatever is printed next. Dropped
// while quiet.
void consoleReportText(const std::string& text);
