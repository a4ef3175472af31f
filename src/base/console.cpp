// console.cpp - report and error lines on standard output.
#include "base/console.h"

#include <cstdio>

namespace {

bool gQuiet = false;

void write(const std::string& text, bool lineEnd) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (lineEnd) std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

void setConsoleQuiet(bool quiet) { gQuiet = quiet; }
bool consoleQuiet() { return gQuiet; }

void consoleReport(const std::string& line) {
    if (!gQuiet) write(line, true);
}

void consoleError(const std::string& line) { write(line, true); }

void consoleReportText(const std::string& text) {
    if (!gQuiet) write(text, false);
}
