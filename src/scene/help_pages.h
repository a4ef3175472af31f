// help_pages.h - the help screen's pages, read once from a text file.
//
// The file is plain text; a line that is exactly "<NEXTPAGE>" ends a page,
// and a page also ends when it holds HELP_LINES_PER_PAGE lines. At most
// HELP_PAGES pages are kept in app.helpLines; the rest is ignored.
#pragma once

#include <istream>

// The help file, relative to the working directory.
constexpr const char* kHelpFile = "instructions.txt";

// Reads kHelpFile into app.helpLines. A missing file prints
// "ERROR: text file not found" and leaves the pages empty.
void loadHelpPages();
// The same for any path (tests, tools).
void loadHelpPages(const char* path);
// Splits a stream into app.helpLines (the pages are cleared first).
void readHelpPages(std::istream& in);

// Draws page app.helpPage: line i at (-5, 5 - 0.4 i, 0), characters 0.2 apart.
// The caller has set up the help view (eye 10 units in front) and the colour.
void drawHelpPage();
