// gl_probe.h - shared helpers of the GL-tier drawing tests: a fixed
// orthographic camera, pixel probes with a tolerance, a one-layer drawing
// pass for see-through surfaces, and solid-colour textures in every slot.
//
// The camera maps x -10.5..10.5 and y -6..9 onto the 700 x 500 window,
// looking along -z; lighting is off so probed colours are drawn colours.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "../support/bitmap_bytes.h"
#include "core/app_state.h"
#include "figure/person.h"
#include "gfx/texture_loader.h"

namespace glprobe {

struct Rgb {
    int r, g, b;
};

inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

enum View { FRONT, BACK, LEFT_SIDE };

constexpr float kLeft = -10.5f, kRight = 10.5f, kBottom = -6, kTop = 9;

inline void beginFrame(View view, float clear) {
    glViewport(0, 0, 700, 500);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(kLeft, kRight, kBottom, kTop, -50, 50);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (view == BACK) glRotatef(180, 0, 1, 0);
    if (view == LEFT_SIDE) glRotatef(-90, 0, 1, 0);  // the figure's left (+x) towards us
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glClearColor(clear, clear, clear, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// Colour at a point of the view plane, in scene units.
inline Rgb probe(float x, float y) {
    glFinish();
    const int px = static_cast<int>((x - kLeft) / (kRight - kLeft) * 700);
    const int py = static_cast<int>((y - kBottom) / (kTop - kBottom) * 500);
    unsigned char c[3];
    glReadBuffer(GL_BACK);
    glReadPixels(px, py, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, c);
    return {c[0], c[1], c[2]};
}

// The whole 700 x 500 back buffer, RGB rows from the bottom, once drawn.
inline std::vector<unsigned char> readWindow() {
    glFinish();
    std::vector<unsigned char> px(700 * 500 * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 700, 500, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    return px;
}

inline ::testing::AssertionResult near(const Rgb& got, const Rgb& want, int tolerance = 3) {
    if (std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
        std::abs(got.b - want.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << got << ", want " << want;
}

// Only the nearest surface of each pixel is coloured: a depth-only pass
// first, then the real pass on equal depth. Shows one translucent layer.
inline void drawNearestLayer(Person& p) {
    const FigureDrawSettings settings{app.texturesOn, app.wireframeOn, app.quadric};
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    p.drawCopy(nullptr, 0, settings);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    p.drawCopy(nullptr, 0, settings);
    glDepthFunc(GL_LESS);
}

// A distinct solid colour per texture slot; slot 2 is the highlight yellow.
inline Rgb slotColour(int slot) {
    if (slot == TEX_COLOR_YELLOW) return {255, 255, 0};
    return {40 + (slot * 53) % 180, 40 + (slot * 97) % 180, 40 + (slot * 31) % 180};
}

inline void loadSolidTextures() {
    app.nextTextureName = -1;
    for (int slot = 0; slot < TEXTURE_SLOT_COUNT; slot++) {
        const Rgb c = slotColour(slot);
        const std::string path =
            ::testing::TempDir() + "/puppetorium_slot_" + std::to_string(slot) + ".bmp";
        ASSERT_TRUE(testbmp::writeFile(path, testbmp::solid(4, 4, c.r, c.g, c.b)));
        testing::internal::CaptureStdout();
        app.textures[slot] = loadTexture(path.c_str());
        testing::internal::GetCapturedStdout();
        ASSERT_GE(app.textures[slot], 0);
    }
}

const Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0}, kBlue{0, 0, 255}, kRed{255, 0, 0};

}  // namespace glprobe
