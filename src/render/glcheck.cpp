#include "render/glcheck.h"

#include <GL/glew.h>

#include <cstdlib>
#include <set>
#include <utility>

#include "base/log.h"

namespace {

int g_enabled = -1;  // -1: not decided yet
unsigned long g_count = 0;
std::set<std::pair<unsigned, std::string>> g_logged;

}  // namespace

bool GlCheck::Enabled() {
    if (g_enabled < 0) {
        const char* value = std::getenv("PINDLE_GL_CHECK");
        g_enabled = value && *value && std::string(value) != "0" ? 1 : 0;
    }
    return g_enabled == 1;
}

void GlCheck::Enable(bool on) { g_enabled = on ? 1 : 0; }

void GlCheck::After(const char* where) {
    if (!Enabled()) return;
    // A context may hold several flags; each call returns and clears one. The bound keeps a
    // lost context (which may report an error for good) from holding the frame.
    for (int i = 0; i < 16; ++i) {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR) break;
        ++g_count;
        if (g_logged.emplace(error, where).second)
            LogMessage("GL error %s (0x%04X) after %s", GlErrorName(error), error, where);
    }
}

unsigned long GlCheck::Count() { return g_count; }

void GlCheck::Reset() {
    g_count = 0;
    g_logged.clear();
}

const char* GlErrorName(unsigned error) {
    switch (error) {
        case GL_INVALID_ENUM:
            return "GL_INVALID_ENUM";
        case GL_INVALID_VALUE:
            return "GL_INVALID_VALUE";
        case GL_INVALID_OPERATION:
            return "GL_INVALID_OPERATION";
        case GL_STACK_OVERFLOW:
            return "GL_STACK_OVERFLOW";
        case GL_STACK_UNDERFLOW:
            return "GL_STACK_UNDERFLOW";
        case GL_OUT_OF_MEMORY:
            return "GL_OUT_OF_MEMORY";
        case GL_INVALID_FRAMEBUFFER_OPERATION:
            return "GL_INVALID_FRAMEBUFFER_OPERATION";
        default:
            return "unknown GL error";
    }
}
