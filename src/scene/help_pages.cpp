// help_pages.cpp - loading and drawing the help pages.
#include "scene/help_pages.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "app/app_state.h"
#include "scene/text.h"

namespace {
const char* const kPageMarker = "<NEXTPAGE>";
}

void readHelpPages(std::istream& in) {
    for (auto& page : app.helpLines)
        for (auto& line : page) line.clear();

    // The end is noticed only by a read that finds nothing, so the line after
    // the last line end is stored as an empty line, as the help screen has
    // always shown it.
    for (int p = 0; p < HELP_PAGES && !in.eof(); p++) {
        for (int j = 0; j < HELP_LINES_PER_PAGE; j++) {
            if (in.eof()) return;
            std::string& line = app.helpLines[p][j];
            std::getline(in, line);
            // Files written on Windows end their lines with CR LF.
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line == kPageMarker) {
                line.clear();
                break;
            }
        }
    }
}

void loadHelpPages(const char* path) {
    std::ifstream in(path);
    if (!in) {
        std::printf("ERROR: text file not found\n");
        std::fflush(stdout);
        for (auto& page : app.helpLines)
            for (auto& line : page) line.clear();
        return;
    }
    readHelpPages(in);
}

void loadHelpPages() { loadHelpPages(kHelpFile); }

void drawHelpPage() {
    int page = app.helpPage;
    if (page < 0) page = 0;
    if (page >= HELP_PAGES) page = HELP_PAGES - 1;
    float y = 5.0f;
    for (int i = 0; i < HELP_LINES_PER_PAGE; i++) {
        drawText(-5.0f, y, 0.0f, 0.2f, app.helpLines[page][i].c_str());
        y -= 0.4f;
    }
}
