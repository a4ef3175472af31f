// music_follow.cpp - the music following the selected figure's timeline.
#include "audio/music_follow.h"

#include <cmath>
#include <string>

#include "core/app_state.h"
#include "audio/music_player.h"
#include "base/data_folder.h"

namespace {

struct Follower {
    bool inCharge = false;     // the player holds the scene's music, as we left it
    bool playing = false;
    double anchorSeconds = 0;  // music position at anchorMs
    int anchorMs = 0;
    std::string lastCommand;   // the player's command text when we last spoke
    std::string missingFile;   // a scene music file that could not be opened
    int taken = 0;             // app.sceneMusicTaken when we last started afresh
};

Follower follower;

// Where the music should be for the selected figure's time; false when it
// should be silent (not playing forwards at rate 1, or before the music).
bool wantedPosition(double& seconds) {
    if (app.selectedPerson < 0 || app.selectedPerson >= MAX_PERSONS) return false;
    const Person& p = app.persons[app.selectedPerson];
    const KeyFrameAnimation& a = p.part[TORSO].kfa;
    if (app.helpVisible || !p.animating || a.numKeyFrames == 0 || app.playRate != 1.0f) return false;
    seconds = app.sceneMusicOffset + a.currentTime / kStepsPerSecond;
    return seconds >= 0;
}

void playFrom(MusicPlayer& player, double seconds, int nowMs) {
    player.playFrom(seconds);
    follower.playing = true;
    follower.anchorSeconds = seconds;
    follower.anchorMs = nowMs;
}

// Opens the scene's music in place of whatever plays; false when it is missing.
bool takeCharge(MusicPlayer& player) {
    if (follower.missingFile == app.sceneMusicFile) return false;
    // The shipped scenes name "media/01.mp3": found in the data folder from
    // wherever the program runs.
    const std::string file = dataFileNamed(app.sceneMusicFile);
    player.openFile(file.c_str());
    if (player.shortPath != file) {
        follower.missingFile = app.sceneMusicFile;
        return false;
    }
    follower.inCharge = true;
    follower.playing = false;
    return true;
}

}  // namespace

double sceneMusicPosition() {
    if (app.selectedPerson < 0 || app.selectedPerson >= MAX_PERSONS) return app.sceneMusicOffset;
    return app.sceneMusicOffset + app.persons[app.selectedPerson].part[TORSO].kfa.currentTime / kStepsPerSecond;
}

bool musicFollowing() {
    return app.musicFollowOn && app.musicOn && app.musicPlayer && !app.sceneMusicFile.empty();
}

void followMusic(int nowMs) {
    // A scene opened or music chosen since the last frame: start afresh.
    if (follower.taken != app.sceneMusicTaken) {
        follower = Follower();
        follower.taken = app.sceneMusicTaken;
    }
    if (!musicFollowing()) {
        follower.inCharge = false;
        return;
    }
    MusicPlayer& player = *app.musicPlayer;
    // Someone else spoke to the player since we did: it is no longer ours.
    if (follower.inCharge && player.command != follower.lastCommand) follower.inCharge = false;
    if (!follower.inCharge && !takeCharge(player)) return;

    double wanted = 0;
    if (!wantedPosition(wanted)) {
        if (follower.playing) {
            player.stop();
            follower.playing = false;
        }
    } else if (!follower.playing) {
        playFrom(player, wanted, nowMs);
    } else {
        const double heard = follower.anchorSeconds + (nowMs - follower.anchorMs) / 1000.0;
        if (std::fabs(heard - wanted) > kMusicDriftSeconds) playFrom(player, wanted, nowMs);
    }
    if (player.command != follower.lastCommand) follower.lastCommand = player.command;
}

void resyncMusicFollower() {
    // Not playing, as far as the follower knows: it starts the music afresh at the wanted place.
    if (follower.playing) follower.playing = false;
}

void resetMusicFollower() {
    follower = Follower();
}
