// offscreen_gl.h - drawing without a window: an OpenGL context on Mesa's
// surfaceless EGL platform, and a framebuffer object to draw into.
//
// The context is a desktop compatibility profile, so the fixed-function
// drawing of the window runs unchanged. GL calls go through the same libGL
// (GLVND dispatch) the window uses; EGL makes the context current there.
// A FrameTarget also works inside the window's own context (the export
// from the menu draws into one while the window shows progress).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An EGL context with no surface at all: it needs no X server.
class HeadlessContext {
public:
    HeadlessContext() = default;
    HeadlessContext(const HeadlessContext&) = delete;
    HeadlessContext& operator=(const HeadlessContext&) = delete;
    ~HeadlessContext();

    // Creates the context and makes it current; false with `error` set.
    bool create(std::string& error);
    // The renderer's name, for the console ("llvmpipe ...").
    std::string renderer() const;

private:
    void* display_ = nullptr;
    void* context_ = nullptr;
};

// A colour and depth framebuffer of a fixed size in the current context.
class FrameTarget {
public:
    FrameTarget() = default;
    FrameTarget(const FrameTarget&) = delete;
    FrameTarget& operator=(const FrameTarget&) = delete;
    ~FrameTarget();

    // Makes the buffers; false with `error` when the GL lacks framebuffer
    // objects or refuses the size.
    bool create(int width, int height, std::string& error);
    // Draws go here until unbind().
    void bind() const;
    void unbind() const;
    // Reads the drawn frame as RGBA rows, bottom row first as GL keeps them
    // (`out` is resized); the encoder's conversion turns them upright.
    void readRgbaBottomUp(std::vector<std::uint8_t>& out) const;
    // The same into width x height x 4 bytes at `out`.
    void readRgbaBottomUp(std::uint8_t* out) const;
    int width() const { return width_; }
    int height() const { return height_; }

private:
    void release();
    unsigned fbo_ = 0, colour_ = 0, depth_ = 0;
    int width_ = 0, height_ = 0;
};
