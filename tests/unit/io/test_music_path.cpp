// How a scene names its music: relative to the scene file when the music
// lies beside or below it, as given otherwise; read back beside the scene
// first, then (as older scenes expect) from the working folder. Saving and
// opening a scene carries it so; music that cannot be read is refused
// with the scene left as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/app_state.h"
#include "edit/music_commands.h"
#include "io/music_path.h"
#include "scene/scene_commands.h"
#include "io_test_support.h"
#include "core/messages.h"
#include "base/platform.h"

TEST(MusicPath, BesideOrBelowTheSceneIsWrittenRelativeToIt) {
    EXPECT_EQ(musicPathForScene("/d/show/song.mp3", "/d/show/a.scene"), "song.mp3");
    EXPECT_EQ(musicPathForScene("/d/show/music/song.mp3", "/d/show/a.scene"), "music/song.mp3");
    EXPECT_EQ(musicPathForScene("/d/show/./x/../song.mp3", "/d/show/a.scene"), "song.mp3");
    EXPECT_EQ(musicPathForScene("/d/other/song.mp3", "/d/show/a.scene"), "/d/other/song.mp3");
    EXPECT_EQ(musicPathForScene("/d/showtime/song.mp3", "/d/show/a.scene"), "/d/showtime/song.mp3")
        << "a folder whose name only starts the same is not below";
    EXPECT_EQ(musicPathForScene("", "/d/show/a.scene"), "");
}

class MusicInScenes : public InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        resetAppState();
        std::filesystem::create_directories(path("show/music"));
        std::filesystem::create_directories(path("media"));
    }
    void TearDown() override {
        resetAppState();
        InTempDir::TearDown();
    }
};

TEST_F(MusicInScenes, ASceneBesideItsMusicFindsItFromAnyWorkingFolder) {
    writeFile(path("show/music/song.wav"), "x");
    app.sceneMusicFile = path("show/music/song.wav");
    ASSERT_TRUE(saveScene(path("show/a.scene")));
    EXPECT_EQ(countOf(readFile(path("show/a.scene")), "\nmusic music/song.wav\n"), 1);
    app.sceneMusicFile = "elsewhere.mp3";
    ASSERT_TRUE(openScene("show/a.scene")) << "opened by a relative name from the folder above";
    EXPECT_EQ(app.sceneMusicFile, "show/music/song.wav");
}

TEST_F(MusicInScenes, OlderScenesNamingMusicFromTheWorkingFolderStillFindIt) {
    writeFile(path("media/01.mp3"), "x");
    EXPECT_EQ(musicPathFromScene("media/01.mp3", "show/a.scene"), "media/01.mp3");
    std::filesystem::create_directories(path("show/media"));
    writeFile(path("show/media/01.mp3"), "x");
    EXPECT_EQ(musicPathFromScene("media/01.mp3", "show/a.scene"), "show/media/01.mp3")
        << "beside the scene comes first";
    EXPECT_EQ(musicPathFromScene("/abs/song.mp3", "show/a.scene"), "/abs/song.mp3");
}

TEST_F(MusicInScenes, MusicThatCannotBeReadIsRefusedAndTheSceneKeepsItsOwn) {
    writeFile(path("notes.mp3"), "these are words, not music");
    app.sceneMusicFile = "media/01.mp3";
    app.sceneMusicOffset = 1.5f;
    for (const std::string& bad : {path("notes.mp3"), path("show"), std::string("/dev/zero"), path("none.ogg")}) {
        EXPECT_FALSE(setSceneMusic(bad)) << bad;
        EXPECT_EQ(app.sceneMusicFile, "media/01.mp3");
        EXPECT_FLOAT_EQ(app.sceneMusicOffset, 1.5f);
    }
    const std::string* said = currentMessage(platform::elapsedMs());
    ASSERT_NE(said, nullptr);
    EXPECT_EQ(*said, "Music not taken: does not exist");
}

TEST_F(MusicInScenes, AltArrowsMoveTheMusicByOneStepAndSayWhere) {
    app.sceneMusicOffset = 0.37f;
    nudgeMusic(+1);
    nudgeMusic(+1);
    EXPECT_FLOAT_EQ(app.sceneMusicOffset, 0.29f) << "later music: less of it gone by at time 0";
    for (int i = 0; i < 10; i++) nudgeMusic(-1);
    EXPECT_FLOAT_EQ(app.sceneMusicOffset, 0.69f) << "ten steps do not wander in the last digits";
    EXPECT_EQ(*currentMessage(platform::elapsedMs()), "music +0.69 s");
    EXPECT_EQ(musicOffsetText(-0.04), "music -0.04 s");
}
