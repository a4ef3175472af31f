// Where the program's own data is read from: the working folder when it
// holds the data, else the installed copy, else the source tree; a name a
// file gives (a scene's music) only when the working folder lacks it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

#include "base/data_folder.h"

namespace {

class DataFolder : public testing::Test {
protected:
    std::string root, oldCwd;

    void SetUp() override {
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        oldCwd = cwd;
        std::string tmpl = testing::TempDir() + "puppetorium_data_XXXXXX";
        ASSERT_NE(mkdtemp(&tmpl[0]), nullptr);
        root = tmpl;
        for (const char* d : {"/empty", "/installed", "/installed/images", "/source", "/source/images",
                              "/half", "/half/images"})
            mkdir((root + d).c_str(), 0755);
        for (const char* f : {"/installed/instructions.txt", "/installed/images/floor_wooden.bmp",
                              "/source/instructions.txt", "/source/images/floor_wooden.bmp",
                              "/half/images/floor_wooden.bmp", "/empty/song.mp3"})
            std::ofstream(root + f) << "x";
        ASSERT_EQ(chdir((root + "/empty").c_str()), 0);
    }
    void TearDown() override {
        overrideDataFolder(nullptr);
        ASSERT_EQ(chdir(oldCwd.c_str()), 0);
        std::system(("rm -rf '" + root + "'").c_str());
    }
};

}  // namespace

TEST_F(DataFolder, TheFirstFolderThatHoldsTheDataWins) {
    const std::string installed = root + "/installed", source = root + "/source";
    EXPECT_EQ(chooseDataFolder(installed, source), installed + "/");
    EXPECT_EQ(chooseDataFolder("", source), source + "/") << "nothing installed";
    EXPECT_EQ(chooseDataFolder(root + "/half", source), source + "/") << "images alone are not the data";
    EXPECT_EQ(chooseDataFolder(root + "/none", root + "/half"), "") << "none: the working folder";
    // "bin/../share/puppetorium" is named by its real path.
    EXPECT_EQ(chooseDataFolder(root + "/empty/../installed", ""), installed + "/");

    ASSERT_EQ(chdir(source.c_str()), 0);
    EXPECT_EQ(chooseDataFolder(installed, source), "") << "the working folder holds it";
}

TEST_F(DataFolder, FixedPathsGoToTheDataFolderNamedOnesOnlyWhenMissingHere) {
    overrideDataFolder((root + "/installed").c_str());
    EXPECT_EQ(dataFile("images/eye.bmp"), root + "/installed/images/eye.bmp");
    EXPECT_EQ(dataFileNamed("media/01.mp3"), root + "/installed/media/01.mp3");
    EXPECT_EQ(dataFileNamed("song.mp3"), "song.mp3") << "found in the working folder";
    EXPECT_EQ(dataFileNamed("/abs/song.mp3"), "/abs/song.mp3");
    overrideDataFolder("");
    EXPECT_EQ(dataFile("images/eye.bmp"), "images/eye.bmp");
}

TEST_F(DataFolder, TheChoiceFollowsTheWorkingFolder) {
    const std::string first = dataFolder();
    EXPECT_NE(first, "") << "the empty folder holds nothing; the source tree is the fallback";
    ASSERT_EQ(chdir(PUPPETORIUM_SOURCE_DIR), 0);
    EXPECT_EQ(dataFolder(), "") << "the repository root holds the data";
}
