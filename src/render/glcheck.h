// GL error checks for long runs and for hunting a wrong call: with PINDLE_GL_CHECK=1 in the
// environment, the controller and the graphics engine ask GL for its errors after each part of
// the frame and say where they looked. Each distinct error goes to the log once per place, as
// "GL error GL_INVALID_OPERATION (0x0502) after the glow passes"; every one is counted, and the
// controller logs the count at shutdown as "GL check: N errors". Off by default, and then a
// check does nothing. Used from the GL thread only.
#pragma once

#include <string>

class GlCheck {
public:
    // On when PINDLE_GL_CHECK is set to anything but "" or "0", read once; Enable overrides it.
    static bool Enabled();
    static void Enable(bool on);
    // Drains GL's error flags; where names the work just done ("the scene pass", ...).
    static void After(const char* where);
    static void After(const std::string& where) { After(where.c_str()); }
    // The errors seen since the start, or since the last Reset, repeats included.
    static unsigned long Count();
    static void Reset();
};

// GL's name of an error code ("GL_INVALID_ENUM"), or "unknown GL error".
const char* GlErrorName(unsigned error);
