// overlay.h - flat drawing in window pixels over the scene, shared by the
// timeline strip, the message line and the dope sheet (GL).
#pragma once

constexpr float kCharWidth = 8;  // the 8 x 13 bitmap font

// Window pixels with y up, no lighting or depth, blending on, until
// endOverlay() puts matrices and enables back as they were.
void beginOverlay();
void endOverlay();
// Mouse rows count from the top; GL rows from the bottom.
float up(float windowY);
// A filled rectangle in overlay pixels.
void rect(float x0, float y0, float x1, float y1);
