#include "platform/HeadlessGl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

namespace sw {

namespace {

EGLDisplay openDisplay() {
    // Mesa's surfaceless platform needs neither a display server nor a GPU.
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    EGLDisplay display = EGL_NO_DISPLAY;
    if (getPlatformDisplay != nullptr)
        display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY)
        display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    return display;
}

} // namespace

std::unique_ptr<HeadlessGl> HeadlessGl::create(int width, int height) {
    if (width <= 0 || height <= 0)
        return nullptr;
    EGLDisplay display = openDisplay();
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr))
        return nullptr;
    auto gl = std::make_unique<HeadlessGl>(Key{});
    gl->display_ = display;
    gl->width_ = width;
    gl->height_ = height;
    if (!eglBindAPI(EGL_OPENGL_API))
        return nullptr;

    // 32-bit colour without alpha and a 16-bit depth buffer, as the editor's view has.
    const EGLint configAttribs[] = {EGL_SURFACE_TYPE,
                                    EGL_PBUFFER_BIT,
                                    EGL_RENDERABLE_TYPE,
                                    EGL_OPENGL_BIT,
                                    EGL_RED_SIZE,
                                    8,
                                    EGL_GREEN_SIZE,
                                    8,
                                    EGL_BLUE_SIZE,
                                    8,
                                    EGL_DEPTH_SIZE,
                                    16,
                                    EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, configAttribs, &config, 1, &count) || count < 1)
        return nullptr;
    const EGLint surfaceAttribs[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    gl->surface_ = eglCreatePbufferSurface(display, config, surfaceAttribs);
    if (gl->surface_ == EGL_NO_SURFACE)
        return nullptr;
    const EGLint contextAttribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                     EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    gl->context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttribs);
    if (gl->context_ == EGL_NO_CONTEXT)
        return nullptr;
    if (!gl->makeCurrent())
        return nullptr;
    glViewport(0, 0, width, height);
    return gl;
}

HeadlessGl::~HeadlessGl() {
    if (display_ == nullptr)
        return;
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_ != EGL_NO_CONTEXT)
        eglDestroyContext(display_, context_);
    if (surface_ != EGL_NO_SURFACE)
        eglDestroySurface(display_, surface_);
    // The display stays initialised: EGL shares it between every user in the process, and
    // terminating it would pull it away from another context that is still alive.
}

bool HeadlessGl::makeCurrent() {
    return eglMakeCurrent(display_, surface_, surface_, context_) == EGL_TRUE;
}

std::vector<std::uint8_t> HeadlessGl::readPixels() const {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width_) * height_ * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

} // namespace sw
