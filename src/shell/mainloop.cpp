#include "shell/mainloop.h"

void RunMainLoop(MainLoopHost& host) {
    float frameTime = 0.0f;
    float previousFrameTime = 0.0f;
    bool quit = false;
    while (!quit) {
        LoopMessage message = host.TakeMessage();
        if (message != LoopMessage::None) {
            if (message == LoopMessage::Quit) quit = true;
            continue;
        }
        if (host.IsEscapeDown()) {
            quit = true;
            continue;
        }
        frameTime = host.GetTime();
        float dt = frameTime - previousFrameTime;
        previousFrameTime = frameTime;
        host.PollKeyboard();
        if (!host.Update(frameTime, dt)) quit = true;
        if (!host.Draw(frameTime, dt)) quit = true;
    }
}
