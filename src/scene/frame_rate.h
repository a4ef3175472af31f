// frame_rate.h - the frame-rate figure the HUD shows.
//
// A ring of the last FPS_RING_SIZE frame stamps (app.frameTimes); at most once
// a second app.fps becomes nine frame intervals over the time they took.
#pragma once

// One measurement step; the display pass calls it once per frame.
void updateFps();
