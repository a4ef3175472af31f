// timeline.h - the strip along the bottom of the window that shows the
// selected figure's keyframes: a tick where each keyframe is reached (the
// end of its segment), shaped by its kind, the current time as a marker,
// and a line of text ("keyframe 2 / 5", the time in steps and seconds,
// playing, paused or stopped at the end).
//
// GL-free mapping between time and window pixels (x from the left, y from
// the top, as the mouse reports them) and the label texts; drawing lives in
// timeline_draw.cpp. The strip shows whenever the selected figure holds
// keyframes, except over the help pages and the keyboard chart, and gives
// way to the dope sheet, which shows the same and more.
#pragma once

#include <string>

class Person;

constexpr float TIMELINE_MARGIN = 16;      // pixels left and right of the strip
constexpr float TIMELINE_BOTTOM_GAP = 14;  // pixels below the strip
constexpr float TIMELINE_HEIGHT = 18;      // pixels
constexpr float TICK_GRAB = 5;             // pixels either side of a tick that click it
constexpr float STEPS_PER_SECOND = 25;     // a step is one 40 ms frame

struct TimelineLayout {
    float left, right;  // x of time 0 and of the end
    float top, bottom;  // window y, top-down
};

TimelineLayout timelineLayout(float windowWidth, float windowHeight);

// x of time t on a queue `length` steps long, and back (clamped to the strip).
float timelineX(const TimelineLayout& l, float t, float length);
float timelineTime(const TimelineLayout& l, float x, float length);
bool insideTimeline(const TimelineLayout& l, float x, float y);
// Index of the keyframe whose tick lies within TICK_GRAB of x; -1 for none.
int tickAt(const TimelineLayout& l, const Person& p, float x);

// Whether the strip is drawn now (and so takes the mouse).
bool timelineShown();

// "keyframe 2 / 5"; "40 steps  1.60 s"; "playing" / "paused" / "stopped"
// (playing, but a non-cycling figure that has reached its end).
std::string keyFrameText(int current, int count);
std::string timeText(float steps);
const char* playText(bool playing, bool finished = false);

// A keyframe tick from window-GL y0 to y1 (bottom-up) at x, shaped by how
// the keyframe is reached: spline a bar, smooth a bar with a round dot,
// linear a ramp rising into the bar, hold a square (GL).
void drawKeyTick(float x, float y0, float y1, int kind);

// Draws the strip and the on-screen message over the scene (GL).
void drawTimeline();
void drawMessage();

// ---- the mouse on the strip (mouse.cpp calls these)
// A left press at (x, y): true when it lands on the strip and so is taken
// (a tick goes to its keyframe, elsewhere the figure is scrubbed there).
bool timelinePress(int x, int y);
// While a press taken by the strip lasts: scrub to x. False otherwise.
bool timelineDrag(int x);
// The left button went up: ends a scrub. True when one was going on.
bool timelineRelease();
