// overlay.h - drawing flat over the frame in window pixels: the head-up
// text, the timeline strip, the message line and the dope sheet (GL).
//
// Between beginOverlay() and endOverlay() x and y are window pixels from the
// bottom-left corner (as GL counts), and lighting and the depth test are off;
// blending is on and the white texture is bound, so colours come through as
// given. endOverlay() puts back the matrices and the switches it found.
#pragma once

void beginOverlay();
void endOverlay();

// A filled rectangle in the current colour, inside an overlay.
void overlayRect(float x0, float y0, float x1, float y1);

constexpr float kCharWidth = 8;  // the 8 x 13 bitmap font

// Mouse rows count from the top; GL rows from the bottom.
float up(float windowY);
// A filled rectangle in overlay pixels.
void rect(float x0, float y0, float x1, float y1);
