// music_follow.h - music that follows the selected figure's timeline.
//
// While a scene with music is open and following is on, the music stands
// for the selected figure's time: animation time t (in steps, 25 a second)
// is the position offset + t / 25 seconds of the scene's music file. The
// music plays while the figure plays forwards at rate 1, pauses otherwise,
// and is moved whenever the figure's time jumps away from where the music
// has got to (a scrub, a keyframe jump, a loop back to the start).
//
// GL-free; runs once a frame on the GLUT thread. What the player is told is
// decided from the player's own last command, so the music key and the
// start-up music keep their behaviour: when they drive the player, the
// follower notices and takes it back at the next frame, if following is on.
#pragma once

// Steps of animation time per second of music.
constexpr double kStepsPerSecond = 25;
// How far music and timeline may drift apart before the music is moved.
constexpr double kMusicDriftSeconds = 0.25;

// True while following is on, a scene names music and the music is wanted:
// the frame clock then counts wall-clock time (see frame_clock.h).
bool musicFollowing();

// Where the scene's music stands for the selected figure's present time:
// the offset plus its time at 25 steps a second (films start there).
double sceneMusicPosition();

// One frame's look at the timeline; `nowMs` is the frame clock.
void followMusic(int nowMs);

// The music's offset changed: the next frame plays it from where it now belongs.
void resyncMusicFollower();

// Forgets what the follower believed of the player (a new scene was opened,
// or tests): the next frame opens the scene's music afresh.
void resetMusicFollower();
