// Splitting the help file into pages, and the shipped help file itself.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/app_state.h"
#include "scene/help_pages.h"

namespace {

void read(const std::string& text) {
    std::istringstream in(text);
    readHelpPages(in);
}

bool pageEmpty(int p) {
    for (const auto& line : app.helpLines[p])
        if (!line.empty()) return false;
    return true;
}

std::string numberedLines(int from, int to) {
    std::string s;
    for (int i = from; i <= to; i++) s += "line " + std::to_string(i) + "\n";
    return s;
}

}  // namespace

TEST(HelpPages, AMarkerEndsThePageAndBecomesAnEmptyLine) {
    resetAppState();
    read("alpha\n<NEXTPAGE>\nbeta\n");
    EXPECT_EQ(app.helpLines[0][0], "alpha");
    EXPECT_EQ(app.helpLines[0][1], "");
    EXPECT_TRUE(app.helpLines[0][2].empty());
    EXPECT_EQ(app.helpLines[1][0], "beta");
    EXPECT_EQ(app.helpLines[1][1], "");
    for (int p = 2; p < HELP_PAGES; p++) EXPECT_TRUE(pageEmpty(p)) << "page " << p;
}

TEST(HelpPages, AFullPageContinuesOnTheNext) {
    resetAppState();
    read(numberedLines(1, 40));
    EXPECT_EQ(app.helpLines[0][0], "line 1");
    EXPECT_EQ(app.helpLines[0][36], "line 37");
    EXPECT_EQ(app.helpLines[1][0], "line 38");
    EXPECT_EQ(app.helpLines[1][2], "line 40");
    EXPECT_EQ(app.helpLines[1][3], "");
    EXPECT_TRUE(pageEmpty(2));
}

TEST(HelpPages, OnlyEightPagesAreKept) {
    resetAppState();
    std::string text;
    for (int p = 0; p < 10; p++) text += "page " + std::to_string(p) + "\n<NEXTPAGE>\n";
    read(text);
    for (int p = 0; p < HELP_PAGES; p++) EXPECT_EQ(app.helpLines[p][0], "page " + std::to_string(p));
    // 8 full pages without markers: the 297th line and later are dropped.
    read(numberedLines(1, 8 * 37 + 5));
    EXPECT_EQ(app.helpLines[7][36], "line 296");
}

TEST(HelpPages, WindowsLineEndsAndMarkersAreRecognised) {
    resetAppState();
    read("one\r\n<NEXTPAGE>\r\ntwo\r\n");
    EXPECT_EQ(app.helpLines[0][0], "one");
    EXPECT_EQ(app.helpLines[0][1], "");
    EXPECT_EQ(app.helpLines[1][0], "two");
}

TEST(HelpPages, ReadingAgainReplacesTheOldPages) {
    resetAppState();
    read(numberedLines(1, 60));
    read("short\n");
    EXPECT_EQ(app.helpLines[0][0], "short");
    EXPECT_EQ(app.helpLines[0][1], "");
    EXPECT_TRUE(pageEmpty(1));
}

TEST(HelpPages, AMissingFileSaysSoAndLeavesThePagesEmpty) {
    resetAppState();
    app.helpLines[3][4] = "stale";
    testing::internal::CaptureStdout();
    loadHelpPages("/nonexistent/instructions.txt");
    // Named, as the program's own load rather than a file the user chose.
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR: text file not found: '/nonexistent/instructions.txt'\n");
    for (int p = 0; p < HELP_PAGES; p++) EXPECT_TRUE(pageEmpty(p));
}

TEST(HelpPages, ReadsAFileFromDisk) {
    resetAppState();
    const std::string path = testing::TempDir() + "help_pages_test.txt";
    { std::ofstream(path) << "first\n<NEXTPAGE>\nsecond\n"; }
    loadHelpPages(path.c_str());
    EXPECT_EQ(app.helpLines[0][0], "first");
    EXPECT_EQ(app.helpLines[1][0], "second");
    std::remove(path.c_str());
}

// The help view shows lines 0 to 26 of a page and 54 characters a line: the
// shipped help must fit in it, or a reader loses text.
TEST(ShippedHelpFile, EveryPageFitsTheHelpView) {
    std::ifstream in(std::string(PUPPETORIUM_SOURCE_DIR) + "/instructions.txt");
    ASSERT_TRUE(in) << "instructions.txt missing at the repository root";
    std::string line;
    int page = 0, lineOnPage = 0, lineNo = 0;
    while (std::getline(in, line)) {
        lineNo++;
        if (line == "<NEXTPAGE>") {
            page++;
            lineOnPage = 0;
            continue;
        }
        EXPECT_LE(line.size(), 54u) << "line " << lineNo << " is too wide: " << line;
        EXPECT_LT(lineOnPage, 27) << "line " << lineNo << " falls below the view";
        EXPECT_EQ(line.find('\t'), std::string::npos) << "tab on line " << lineNo;
        lineOnPage++;
    }
    EXPECT_LT(page, HELP_PAGES) << "more pages than the help screen keeps";

    resetAppState();
    loadHelpPages((std::string(PUPPETORIUM_SOURCE_DIR) + "/instructions.txt").c_str());
    std::string all;
    for (const auto& pg : app.helpLines)
        for (const auto& l : pg) all += l + "\n";
    for (char& c : all) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // Every function key and the mouse turn up somewhere in the help.
    for (const char* word : {"f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8", "f9", "f10",
                             "f11", "f12", "right button", "middle", "tab", "quit"})
        EXPECT_NE(all.find(word), std::string::npos) << word << " is not explained";
}

// A 200 MB help line once cost about 50 s a frame. Lines are kept only as
// wide as any help view can show, and drawn only as far as this one shows.
TEST(HelpPages, LinesAreKeptAndDrawnOnlyAsWideAsTheViewShows) {
    resetAppState();
    read(std::string(5000, 'w') + "\nshort\n");
    EXPECT_EQ(app.helpLines[0][0], std::string(kMaxHelpLineChars, 'w'));
    EXPECT_EQ(app.helpLines[0][1], "short");

    // A square window shows 54 characters; one more is drawn for rounding.
    EXPECT_EQ(helpVisibleChars(1.0f), 55);
    EXPECT_EQ(helpVisibleChars(1.4f), 67);
    EXPECT_EQ(helpVisibleChars(32767.0f / 500), 1918);  // the widest X window
    EXPECT_EQ(helpVisibleChars(1e9f), kMaxHelpLineChars);
    EXPECT_EQ(helpVisibleChars(0), 0);
    EXPECT_EQ(helpVisibleChars(std::nanf("")), 0);
}
