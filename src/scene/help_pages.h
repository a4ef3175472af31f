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

// The help file, relative to the working directory.
constexpr const char* kHelpFile = "instructions.txt";

// Longest help line kept: the help view at its widest (an X window is at
// most 32767 pixels wide and help shows from 500 high, about 1900 characters).
constexpr int kMaxHelpLineChars = 2000;

// Reads kHelpFile into app.helpLines. A missing file prints
// "ERROR: text file not found" and leaves the pages empty; a file that is
// not a regular file or is over 1 MB is refused with its reason.
void loadHelpPages();
// The same for any path (tests, tools).
void loadHelpPages(const char* path);
// Splits a stream into app.helpLines (the pages are cleared first).
void readHelpPages(std::istream& in);

// How many characters of a line, from x = -5 at 0.2 apart, lie inside the
// help view (eye 10 units in front, 60 degrees high) at this aspect ratio.
int helpVisibleChars(float aspectRatio);

// Draws page app.helpPage: line i at (-5, 5 - 0.4 i, 0), characters 0.2 apart,
// as many as the view shows. The caller has set up the help view and the colour.
void drawHelpPage();
