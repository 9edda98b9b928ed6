// What a capture renders: something that sets itself up on an offscreen surface and then draws
// frames at given times, presenting each through its window's SwapBuffers. The show itself is
// MakeDemoShow(); tests hand in small shows of their own.
#pragma once

#include <memory>
#include <string>

class OpenglWindow;

class CaptureShow {
public:
    virtual ~CaptureShow() = default;
    // Creates the surface (offscreen surfaces must already be switched on) and loads what it
    // needs from the data folder. False with error set when a step fails.
    virtual bool Start(int width, int height, const std::string& dataDir, std::string* error) = 0;
    // The window that Draw presents through; valid after a successful Start.
    virtual OpenglWindow* Window() = 0;
    virtual bool Update(float time, float dt) = 0;
    virtual bool Draw(float time, float dt) = 0;
    // The scene the last Update was in, for --stats; empty before the first one.
    virtual std::string SceneName() const { return ""; }
    // Releases everything Start made. Safe to repeat.
    virtual void Stop() = 0;
};

// The show's controller, set up as the show sets it up (without the setup dialog and the music
// output): Initialize with a window of the size asked for (not fullscreen), LoadContent and
// InitDrawingRoutines.
std::unique_ptr<CaptureShow> MakeDemoShow();
