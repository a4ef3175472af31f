// The command line read before anything starts: help and version win, the
// window takes scene files and GLUT's options, a render's line is checked
// whole, and whatever is unknown or lacks its value is refused.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

CommandLine read(std::initializer_list<const char*> args) {
    std::vector<char*> argv{const_cast<char*>("puppetorium")};
    for (const char* a : args) argv.push_back(const_cast<char*>(a));
    return readCommandLine(static_cast<int>(argv.size()), argv.data());
}

}  // namespace

TEST(CommandLine, TheWindowTakesSceneFilesGlutOptionsAndVerbose) {
    for (auto args : {std::initializer_list<const char*>{},
                      {"fight.scene"},
                      {"-display", ":3", "-geometry", "800x600+0+0", "-iconic", "fight.scene"},
                      {"--verbose", "-sync", "-"}}) {
        const CommandLine c = read(args);
        EXPECT_EQ(c.action, CommandAction::Window) << c.error;
    }
}

TEST(CommandLine, HelpAndVersionWinWhereverTheyStand) {
    EXPECT_EQ(read({"--help"}).action, CommandAction::Help);
    EXPECT_EQ(read({"--bogus", "-h"}).action, CommandAction::Help);
    EXPECT_EQ(read({"--render", "-", "--version"}).action, CommandAction::Version);
    // Every option of the help is one line, and each is there.
    const std::string help = helpText();
    for (const char* option : {"--render", "--out", "--frames", "--seconds", "--size", "--fps", "--figure",
                               "--keys", "--verbose", "--help", "--version", "-display"})
        EXPECT_NE(help.find(std::string("\n  ") + option), std::string::npos) << option;
    EXPECT_EQ(versionText().rfind("Puppetorium 1.0 (commit ", 0), 0u) << versionText();
}

TEST(CommandLine, UnknownOptionsAndMissingValuesAreRefusedInOneLine) {
    struct Case { std::initializer_list<const char*> args; const char* says; };
    const Case cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"fight.scene", "-x"}, "unknown option '-x'"},
        {{"-display"}, "-display needs a value"},
        {{"--out", "a.mp4"}, "--out belongs to --render"},
        {{"--render"}, "--render needs a value"},
        {{"--render", "-", "--out", "a.mp4", "--colour", "red"}, "unknown option '--colour'"},
        {{"--render", "-", "--out", "a.mp4", "--frames"}, "--frames needs a value"},
        {{"--render", "-", "--out", "a.avi"}, "unknown output type"},
    };
    for (const Case& c : cases) {
        const CommandLine line = read(c.args);
        EXPECT_EQ(line.action, CommandAction::Refused) << c.says;
        EXPECT_NE(line.error.find(c.says), std::string::npos) << line.error;
        EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
    }
    EXPECT_EQ(read({"--render", "-", "--out", "a.mp4", "--verbose"}).action, CommandAction::Render);
}
