// The main loop's pass rules, apart from the things it drives. Each pass takes at most one
// message: a quit message ends the loop, any other is dispatched. Only a pass that finds the
// queue empty looks at Escape or draws a frame: time from the clock, dt from the previous
// frame's time (0 before the first frame), one keyboard poll, Update, then Draw even when
// Update asked to stop.
#pragma once

enum class LoopMessage { None, Quit, Other };

class MainLoopHost {
public:
    virtual ~MainLoopHost() = default;
    // Takes one message from the queue; dispatches it unless it is the quit message.
    virtual LoopMessage TakeMessage() = 0;
    virtual bool IsEscapeDown() = 0;
    virtual float GetTime() = 0;
    virtual void PollKeyboard() = 0;
    virtual bool Update(float time, float dt) = 0;
    virtual bool Draw(float time, float dt) = 0;
};

void RunMainLoop(MainLoopHost& host);
