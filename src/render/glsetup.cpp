#include "render/glsetup.h"

#include <GL/glew.h>

namespace {

void GLAPIENTRY IgnoreDebugMessage(GLenum, GLenum, GLuint, GLenum, GLsizei, const GLchar*,
                                   const void*) {}

}  // namespace

bool LoadGlEntryPoints(std::string* error) {
    glewExperimental = GL_TRUE;
    GLenum result = glewInit();
    // 4 is GLEW_ERROR_NO_GLX_DISPLAY: returned on EGL contexts after every entry point loaded.
    if (result != GLEW_OK && result != 4) {
        *error = reinterpret_cast<const char*>(glewGetErrorString(result));
        return false;
    }
    // Entry points beyond 1.1 that the show relies on.
    struct Needed {
        const void* fn;
        const char* name;
    };
    const Needed needed[] = {
        {reinterpret_cast<const void*>(glGenBuffers), "glGenBuffers"},
        {reinterpret_cast<const void*>(glCreateShader), "glCreateShader"},
        {reinterpret_cast<const void*>(glGenFramebuffers), "glGenFramebuffers"},
        {reinterpret_cast<const void*>(glDrawBuffers), "glDrawBuffers"},
        {reinterpret_cast<const void*>(glGenerateMipmap), "glGenerateMipmap"},
        {reinterpret_cast<const void*>(glVertexAttribIPointer), "glVertexAttribIPointer"},
    };
    for (const Needed& n : needed) {
        if (!n.fn) {
            *error = std::string("missing GL entry point ") + n.name;
            return false;
        }
    }
    return true;
}

const char* GlVendor() { return reinterpret_cast<const char*>(glGetString(GL_VENDOR)); }
const char* GlVersion() { return reinterpret_cast<const char*>(glGetString(GL_VERSION)); }

void SetDefaultGlState(int width, int height) {
    glViewport(0, 0, width, height);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
}

void InstallGlDebugOutput() {
    if (!glDebugMessageCallback) return;
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(IgnoreDebugMessage, nullptr);
}

void PrepareFrame(int width, int height) {
    glViewport(0, 0, width, height);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void ClearFrame(int width, int height) {
    PrepareFrame(width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
