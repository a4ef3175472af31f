// help_pages.cpp - loading and drawing the help pages.
#include "scene/help_pages.h"

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "base/data_folder.h"
#include "core/app_state.h"
#include "base/console.h"
#include "base/safe_file.h"
#include "gfx/text.h"

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

// Half the view's height at the text plane is 10 tan 30 degrees; a character
// whose raster position falls outside the view is not drawn anyway. One more
// is drawn than fits, so rounding never loses the last visible one.
int helpVisibleChars(float aspectRatio) {
    if (!(aspectRatio > 0)) return 0;
    const double halfWidth = 10 * std::tan(30 * M_PI / 180) * aspectRatio;
    const double chars = std::ceil((halfWidth + 5) / 0.2) + 1;
    return chars > kMaxHelpLineChars ? kMaxHelpLineChars : static_cast<int>(chars);
}

void drawHelpPage() {
    int page = app.helpPage;
    if (page < 0) page = 0;
    if (page >= HELP_PAGES) page = HELP_PAGES - 1;
    const std::size_t visible = static_cast<std::size_t>(helpVisibleChars(app.aspectRatio));
    float y = 5.0f;
    for (int i = 0; i < HELP_LINES_PER_PAGE; i++) {
        drawText(-5.0f, y, 0.0f, 0.2f, app.helpLines[page][i].c_str(), visible);
        y -= 0.4f;
    }
}
