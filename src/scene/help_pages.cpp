// help_pages.cpp - loading and drawing the help pages.
#include "scene/help_pages.h"

#include <cstdio>
#include <sstream>
#include <string>

#include "base/data_folder.h"
#include "core/app_state.h"
#include "base/console.h"
#include "base/safe_file.h"
#include "gfx/text.h"
#include "gfx/text_layout.h"

namespace {

const char* const kPageMarker = "<NEXTPAGE>";

void clearPages() {
    for (auto& page : app.helpLines)
        for (auto& line : page) line.clear();
}

}  // namespace

void readHelpPages(std::istream& in) {
    clearPages();

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
            if (line.size() > static_cast<std::size_t>(kMaxHelpLineChars)) {
                line.resize(kMaxHelpLineChars);
                line.shrink_to_fit();
            }
        }
    }
}

void loadHelpPages(const char* path) {
    std::string text, error;
    bool refused = false;
    if (!readFileSafely(path, kMaxHelpFileBytes, text, error, &refused)) {
        if (refused) consoleError(std::string("ERROR: '") + path + "' " + error);
        else consoleError(std::string("ERROR: text file not found: '") + path + "'");
        clearPages();
        return;
    }
    std::istringstream in(std::move(text));
    readHelpPages(in);
}

void loadHelpPages() { loadHelpPages(dataFile(kHelpFile).c_str()); }

void drawHelpPage() {
    int page = app.helpPage;
    if (page < 0) page = 0;
    if (page >= HELP_PAGES) page = HELP_PAGES - 1;
    const HelpLayout l = helpLayout(app.windowWidth, app.windowHeight);
    const std::size_t visible = static_cast<std::size_t>(l.visibleChars);
    for (int i = 0; i < HELP_VISIBLE_LINES; i++) {
        const float y = l.firstBaseline - static_cast<float>(i) * l.metrics.lineHeight;
        drawText(l.x, y, 0.0f, l.metrics.advance, app.helpLines[page][i].c_str(), visible);
    }
}
