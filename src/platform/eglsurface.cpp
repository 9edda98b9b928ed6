#include "platform/eglsurface.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <vector>

struct EglSurface {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLConfig config = nullptr;
    EGLSurface pbuffer = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
};

namespace {

std::string EglErrorText(const char* what) {
    char code[16];
    snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(eglGetError()));
    return std::string(what) + " failed (EGL error " + code + ")";
}

bool HasClientExtension(const char* name) {
    const char* list = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!list) return false;
    const std::string all = std::string(" ") + list + " ";
    return all.find(std::string(" ") + name + " ") != std::string::npos;
}

// Displays to try, in order: Mesa's surfaceless platform, then each EGL device.
std::vector<EGLDisplay> CandidateDisplays() {
    std::vector<EGLDisplay> displays;
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return displays;
    if (HasClientExtension("EGL_MESA_platform_surfaceless")) {
        EGLDisplay d =
            getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (d != EGL_NO_DISPLAY) displays.push_back(d);
    }
    auto queryDevices =
        reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    if (queryDevices && HasClientExtension("EGL_EXT_platform_device")) {
        EGLDeviceEXT devices[16];
        EGLint count = 0;
        if (queryDevices(16, devices, &count)) {
            for (EGLint i = 0; i < count; ++i) {
                EGLDisplay d = getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr);
                if (d != EGL_NO_DISPLAY) displays.push_back(d);
            }
        }
    }
    return displays;
}

// The configs come sorted deepest colour first, so a 10-bit config would win over the 8-bit
// one a window gets: take the first whose channels have exactly the sizes asked for, so the
// frames are rounded as the show's window rounds them.
bool ChooseConfig(EGLDisplay display, int colorBits, EGLConfig* config, int* depthBits) {
    const int red = colorBits >= 24 ? 8 : 5;
    const int green = colorBits >= 24 ? 8 : 6;
    for (int depth : {32, 24, 16}) {
        const EGLint attributes[] = {EGL_SURFACE_TYPE,
                                     EGL_PBUFFER_BIT,
                                     EGL_RENDERABLE_TYPE,
                                     EGL_OPENGL_BIT,
                                     EGL_RED_SIZE,
                                     red,
                                     EGL_GREEN_SIZE,
                                     green,
                                     EGL_BLUE_SIZE,
                                     red,
                                     EGL_DEPTH_SIZE,
                                     depth,
                                     EGL_NONE};
        EGLint count = 0;
        if (!eglChooseConfig(display, attributes, nullptr, 0, &count) || count <= 0) continue;
        std::vector<EGLConfig> configs(static_cast<size_t>(count));
        if (!eglChooseConfig(display, attributes, configs.data(), count, &count) || count <= 0)
            continue;
        *config = configs[0];
        for (EGLint i = 0; i < count; ++i) {
            EGLint r = 0, g = 0, b = 0;
            eglGetConfigAttrib(display, configs[i], EGL_RED_SIZE, &r);
            eglGetConfigAttrib(display, configs[i], EGL_GREEN_SIZE, &g);
            eglGetConfigAttrib(display, configs[i], EGL_BLUE_SIZE, &b);
            if (r == red && g == green && b == red) {
                *config = configs[i];
                break;
            }
        }
        EGLint actual = depth;
        eglGetConfigAttrib(display, *config, EGL_DEPTH_SIZE, &actual);
        *depthBits = actual;
        return true;
    }
    return false;
}

}  // namespace

EglSurface* EglCreateSurface(int width, int height, int colorBits, int* depthBits,
                             std::string* error) {
    std::vector<EGLDisplay> displays = CandidateDisplays();
    if (displays.empty()) {
        *error = "no EGL display: neither the surfaceless platform nor an EGL device is there";
        return nullptr;
    }
    std::string lastError;
    for (EGLDisplay display : displays) {
        EGLint major = 0, minor = 0;
        if (!eglInitialize(display, &major, &minor)) {
            lastError = EglErrorText("eglInitialize");
            continue;
        }
        auto* surface = new EglSurface;
        surface->display = display;
        if (!eglBindAPI(EGL_OPENGL_API)) {
            lastError = EglErrorText("eglBindAPI(OpenGL)");
        } else if (!ChooseConfig(display, colorBits, &surface->config, depthBits)) {
            lastError = "no EGL config with a pbuffer, OpenGL and a depth buffer";
        } else {
            const EGLint size[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
            surface->pbuffer = eglCreatePbufferSurface(display, surface->config, size);
            if (surface->pbuffer != EGL_NO_SURFACE) return surface;
            lastError = EglErrorText("eglCreatePbufferSurface");
        }
        EglDestroySurface(surface);
    }
    *error = "no offscreen GL surface: " + lastError;
    return nullptr;
}

bool EglCreateContext(EglSurface* surface, std::string* error) {
    const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                 EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    eglBindAPI(EGL_OPENGL_API);
    surface->context =
        eglCreateContext(surface->display, surface->config, EGL_NO_CONTEXT, attributes);
    if (surface->context == EGL_NO_CONTEXT) {
        *error = EglErrorText("eglCreateContext");
        return false;
    }
    if (!eglMakeCurrent(surface->display, surface->pbuffer, surface->pbuffer, surface->context)) {
        *error = EglErrorText("eglMakeCurrent");
        return false;
    }
    return true;
}

void EglSwap(EglSurface* surface) { eglSwapBuffers(surface->display, surface->pbuffer); }

void EglDestroySurface(EglSurface* surface) {
    if (!surface) return;
    if (surface->display != EGL_NO_DISPLAY) {
        eglMakeCurrent(surface->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (surface->context != EGL_NO_CONTEXT)
            eglDestroyContext(surface->display, surface->context);
        if (surface->pbuffer != EGL_NO_SURFACE)
            eglDestroySurface(surface->display, surface->pbuffer);
        eglTerminate(surface->display);
    }
    delete surface;
}

bool EglSetSwapInterval(int interval) {
    EGLDisplay display = eglGetCurrentDisplay();
    if (display == EGL_NO_DISPLAY || eglGetCurrentContext() == EGL_NO_CONTEXT) return false;
    return eglSwapInterval(display, interval) == EGL_TRUE;
}
