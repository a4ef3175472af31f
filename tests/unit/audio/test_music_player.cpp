// The music player's operations and the two places that drive it (start-up
// and the music key), seen through a recording backend.
#include <gtest/gtest.h>

#include "core/app_state.h"
#include "audio/music_control.h"
#include "audio/music_player.h"
#include "base/data_folder.h"
#include "recording_music_backend.h"

namespace {

using Calls = std::vector<std::string>;

const char* const INTRO = "media/intro.mp3";
const char* const SONG = "media/01.mp3";

class Music : public ::testing::Test {
protected:
    RecordingMusicBackend backend;

    // The music files under the names the program gives them, wherever the
    // tests run.
    void SetUp() override {
        resetAppState();
        overrideDataFolder("");
    }
    void TearDown() override {
        overrideDataFolder(nullptr);
        delete app.musicPlayer;
        app.musicPlayer = nullptr;
        resetAppState();
    }
};

}  // namespace

TEST_F(Music, EachOperationComposesItsCommandTextAndReachesTheBackendByAlias) {
    backend.files = {"media/song one.mp3"};
    MusicPlayer player(backend);
    player.alias = "techno";

    player.openFile("media/song one.mp3");
    EXPECT_EQ(player.command, "open media/song one.mp3 type mpegvideo Alias techno");
    EXPECT_EQ(player.shortPath, "media/song one.mp3");
    player.playFromStart();
    EXPECT_EQ(player.command, "Play techno from 0");
    player.play();
    EXPECT_EQ(player.command, "play techno");
    player.stop();
    EXPECT_EQ(player.command, "Stop techno");
    player.close();
    EXPECT_EQ(player.command, "Close techno");

    // Opening closes first, so whatever was open under the alias goes.
    EXPECT_EQ(backend.take(), (Calls{"close techno", "open media/song one.mp3 techno",
                                     "playFromStart techno", "play techno", "stop techno",
                                     "close techno"}));
}

TEST_F(Music, OpeningAMissingFileSendsNothingAndKeepsTheOpenFile) {
    backend.files = {INTRO};
    MusicPlayer player(backend);
    player.alias = "techno";
    player.openFile(INTRO);
    backend.take();
    const std::string lastCommand = player.command;

    player.openFile("media/none.mp3");
    player.openFile("");
    player.openFile(nullptr);

    EXPECT_TRUE(backend.calls.empty());
    EXPECT_EQ(player.shortPath, INTRO);
    EXPECT_EQ(player.command, lastCommand);
    EXPECT_EQ(backend.existenceChecks, (Calls{INTRO, "media/none.mp3", ""}));
}

TEST_F(Music, StartUpOpensTheIntroUnderTechnoAndPlaysItFromTheStart) {
    backend.files = {INTRO, SONG};
    startIntroMusic(backend);

    ASSERT_NE(app.musicPlayer, nullptr);
    EXPECT_EQ(app.musicPlayer->alias, "techno");
    EXPECT_EQ(backend.take(), (Calls{"close techno", "open media/intro.mp3 techno",
                                     "playFromStart techno", "play techno"}));
    EXPECT_TRUE(app.musicOn);
}

TEST_F(Music, StartUpWithoutTheIntroOpensNothing) {
    backend.files = {SONG};
    startIntroMusic(backend);

    ASSERT_NE(app.musicPlayer, nullptr);
    // The play commands still go out; with nothing open under the alias the
    // backend ignores them, so the start is silent.
    EXPECT_EQ(backend.take(), (Calls{"playFromStart techno", "play techno"}));
}

TEST_F(Music, TheKeyStopsTheIntroThenSwitchesTheSongOffAndOnFromItsStart) {
    backend.files = {INTRO, SONG};
    startIntroMusic(backend);
    backend.take();

    musicKey();  // off: the intro stops where it is
    EXPECT_FALSE(app.musicOn);
    EXPECT_EQ(backend.take(), (Calls{"stop techno"}));

    musicKey();  // on: the song replaces the intro and starts at its beginning
    EXPECT_TRUE(app.musicOn);
    EXPECT_EQ(backend.take(), (Calls{"close techno", "open media/01.mp3 techno",
                                     "playFromStart techno"}));

    musicKey();
    EXPECT_FALSE(app.musicOn);
    EXPECT_EQ(backend.take(), (Calls{"stop techno"}));

    musicKey();  // on again: from the beginning, not from where it stopped
    EXPECT_TRUE(app.musicOn);
    EXPECT_EQ(backend.take(), (Calls{"close techno", "open media/01.mp3 techno",
                                     "playFromStart techno"}));
}

TEST_F(Music, WithoutTheSongTheKeyRestartsTheIntroFromItsBeginning) {
    backend.files = {INTRO};
    startIntroMusic(backend);
    backend.take();

    musicKey();
    musicKey();

    // The failed open leaves the intro open under the alias, so it is the
    // intro that plays from the start.
    EXPECT_EQ(backend.take(), (Calls{"stop techno", "playFromStart techno"}));
    EXPECT_EQ(app.musicPlayer->shortPath, INTRO);
    EXPECT_TRUE(app.musicOn);
}

TEST_F(Music, TheKeyBeforeStartUpOnlyFlipsTheSetting) {
    ASSERT_EQ(app.musicPlayer, nullptr);
    musicKey();
    EXPECT_FALSE(app.musicOn);
    musicKey();
    EXPECT_TRUE(app.musicOn);
    EXPECT_TRUE(backend.calls.empty());
}
