// offscreen_gl.cpp - the surfaceless EGL context and the framebuffer object.
//
// Framebuffer entry points are looked up at run time (they are not part of
// the GL 1.1 the rest of the program links against), through EGL when a
// headless context is current and through GLX otherwise; libGL resolves
// both to the same dispatch.
#include "export/offscreen_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>


namespace {

// ---------------------------------------------------------------- entry points
struct FboCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
};

template <typename Fn>
void lookUp(Fn& fn, const char* name) {
    fn = reinterpret_cast<Fn>(eglGetProcAddress(name));
}

const FboCalls& fboCalls() {
    static FboCalls calls = [] {
        FboCalls c;
        lookUp(c.genFramebuffers, "glGenFramebuffers");
        lookUp(c.deleteFramebuffers, "glDeleteFramebuffers");
        lookUp(c.bindFramebuffer, "glBindFramebuffer");
        lookUp(c.genRenderbuffers, "glGenRenderbuffers");
        lookUp(c.deleteRenderbuffers, "glDeleteRenderbuffers");
        lookUp(c.bindRenderbuffer, "glBindRenderbuffer");
        lookUp(c.renderbufferStorage, "glRenderbufferStorage");
        lookUp(c.framebufferRenderbuffer, "glFramebufferRenderbuffer");
        lookUp(c.checkFramebufferStatus, "glCheckFramebufferStatus");
        return c;
    }();
    return calls;
}

bool haveFboCalls(const FboCalls& c) {
    return c.genFramebuffers && c.deleteFramebuffers && c.bindFramebuffer && c.genRenderbuffers &&
           c.deleteRenderbuffers && c.bindRenderbuffer && c.renderbufferStorage &&
           c.framebufferRenderbuffer && c.checkFramebufferStatus;
}

std::string eglErrorText(const char* what) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04x", static_cast<unsigned>(eglGetError()));
    return std::string(what) + " failed (EGL error " + code + ")";
}

}  // namespace

// ---------------------------------------------------------------- context

HeadlessContext::~HeadlessContext() {
    if (!display_) return;
    EGLDisplay d = static_cast<EGLDisplay>(display_);
    eglMakeCurrent(d, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_) eglDestroyContext(d, static_cast<EGLContext>(context_));
    eglTerminate(d);
}

bool HeadlessContext::create(std::string& error) {
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) {
        error = "EGL offers no platform displays";
        return false;
    }
    EGLDisplay d = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0, minor = 0;
    if (d == EGL_NO_DISPLAY || !eglInitialize(d, &major, &minor)) {
        error = eglErrorText("opening Mesa's surfaceless EGL display");
        return false;
    }
    display_ = d;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error = eglErrorText("choosing desktop OpenGL");
        return false;
    }
    const EGLint want[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    eglChooseConfig(d, want, &config, 1, &count);
    EGLContext ctx = eglCreateContext(d, count > 0 ? config : EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT,
                                      nullptr);
    if (ctx == EGL_NO_CONTEXT) {
        error = eglErrorText("creating an OpenGL context");
        return false;
    }
    context_ = ctx;
    if (!eglMakeCurrent(d, EGL_NO_SURFACE, EGL_NO_SURFACE, ctx)) {
        error = eglErrorText("making the context current");
        return false;
    }
    return true;
}

std::string HeadlessContext::renderer() const {
    const GLubyte* name = glGetString(GL_RENDERER);
    return name ? reinterpret_cast<const char*>(name) : "unknown";
}

// ---------------------------------------------------------------- framebuffer

FrameTarget::~FrameTarget() { release(); }

void FrameTarget::release() {
    const FboCalls& c = fboCalls();
    if (fbo_) c.deleteFramebuffers(1, &fbo_);
    if (colour_) c.deleteRenderbuffers(1, &colour_);
    if (depth_) c.deleteRenderbuffers(1, &depth_);
    fbo_ = colour_ = depth_ = 0;
}

bool FrameTarget::create(int width, int height, std::string& error) {
    const FboCalls& c = fboCalls();
    if (!haveFboCalls(c)) {
        error = "this OpenGL has no framebuffer objects";
        return false;
    }
    release();
    width_ = width;
    height_ = height;
    c.genRenderbuffers(1, &colour_);
    c.bindRenderbuffer(GL_RENDERBUFFER, colour_);
    c.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    c.genRenderbuffers(1, &depth_);
    c.bindRenderbuffer(GL_RENDERBUFFER, depth_);
    c.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    c.genFramebuffers(1, &fbo_);
    c.bindFramebuffer(GL_FRAMEBUFFER, fbo_);
    c.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    c.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    const GLenum status = c.checkFramebufferStatus(GL_FRAMEBUFFER);
    c.bindFramebuffer(GL_FRAMEBUFFER, 0);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        error = "the GL refuses a " + std::to_string(width) + "x" + std::to_string(height) +
                " frame buffer";
        release();
        return false;
    }
    return true;
}

void FrameTarget::bind() const {
    fboCalls().bindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glViewport(0, 0, width_, height_);
}

void FrameTarget::unbind() const { fboCalls().bindFramebuffer(GL_FRAMEBUFFER, 0); }

void FrameTarget::readRgbaBottomUp(std::vector<std::uint8_t>& out) const {
    out.resize(static_cast<std::size_t>(width_) * 4 * static_cast<std::size_t>(height_));
    readRgbaBottomUp(out.data());
}

// RGBA: under llvmpipe GL_BGRA reads back no quicker, and RGBA is what the
// scaler and the GIF graph are told they get.
void FrameTarget::readRgbaBottomUp(std::uint8_t* out) const {
    fboCalls().bindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, out);
}
