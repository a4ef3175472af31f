// help_pages.h - the help screen's pages, read once from a text file.
//
// The file is plain text; a line that is exactly "<NEXTPAGE>" ends a page,
// and a page also ends when it holds HELP_LINES_PER_PAGE lines. At most
// HELP_PAGES pages are kept in app.helpLines; the rest is ignored. Lines are
// kept only as wide as the help view can ever show them, and drawn only as
// far as the view shows them now, so a huge line costs neither memory nor
// frame time.
#pragma once

#include <istream>

#include "gfx/text_layout.h"

// The help file, relative to the working directory.
constexpr const char* kHelpFile = "instructions.txt";

// Longest help line kept (gfx/text_layout.h).
constexpr int kMaxHelpLineChars = HELP_MAX_LINE_CHARS;

// Reads kHelpFile into app.helpLines. A missing file prints
// "ERROR: text file not found" and leaves the pages empty; a file that is
// not a regular file or is over 1 MB is refused with its reason.
void loadHelpPages();
// The same for any path (tests, tools).
void loadHelpPages(const char* path);
// Splits a stream into app.helpLines (the pages are cleared first).
void readHelpPages(std::istream& in);

// Draws the lines of page app.helpPage that a page shows (the first 27),
// centred in the window one glyph advance apart (scene/text_layout.h), as
// many characters as the window shows. The caller has set up window-pixel
// drawing (scene/overlay.h) and the colour.
void drawHelpPage();
