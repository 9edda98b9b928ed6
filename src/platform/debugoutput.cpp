#include "platform/debugoutput.h"

#include <cstdio>

void PlatformDebugOutput(const char* text) {
    std::fputs(text, stderr);
    std::fflush(stderr);
}
