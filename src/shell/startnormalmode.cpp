#include "shell/startnormalmode.h"

#include "base/assert.h"
#include "base/keptuntilexit.h"
#include "base/log.h"
#include "content/showdata.h"
#include "demo/democontroller.h"
#include "platform/filesystem.h"
#include "platform/video.h"
#include "shell/mainloop.h"
#include "shell/music.h"
#include "shell/setupdialog.h"
#include "shell/startup.h"
#include "window/keyboard.h"
#include "window/openglwindow.h"

std::string g_dataDir;

namespace {

constexpr int kEscapeKey = 0x1B;

class ShowLoop : public MainLoopHost {
public:
    ShowLoop(DemoController* controller, Music* music) : m_controller(controller), m_music(music) {}

    LoopMessage TakeMessage() override {
        PlatformEvent event;
        if (!PlatformPollEvent(&event)) return LoopMessage::None;
        if (event.type == PlatformEventType::Quit) return LoopMessage::Quit;
        OpenglWindow::DispatchEvent(event);
        return LoopMessage::Other;
    }
    bool IsEscapeDown() override { return PlatformIsKeyDown(kEscapeKey); }
    float GetTime() override { return m_music->GetPosition(); }
    void PollKeyboard() override { UpdateKeyboard(); }
    bool Update(float time, float dt) override { return m_controller->Update(time, dt); }
    bool Draw(float time, float dt) override { return m_controller->Draw(time, dt); }

private:
    DemoController* m_controller;
    Music* m_music;
};

}  // namespace

void StartNormalMode() {
    LogMessage("LODA %d", 110);

    ShowSurface surface;
    if (!ShowSetupDialog(&surface.width, &surface.height, &surface.bits, &surface.refreshRate))
        return;
    surface.fullscreen = true;

    g_dataDir = UnpackShowData(PlatformCurrentFolder() + "/" + kArchiveName);
    std::string error;
    DemoController* controller = StartShow(surface, g_dataDir, &error);
    if (!controller) {
        // The display mode is back already: StartShow released the window.
        LogMessage("%s", error.c_str());
        ASSERT(false);
    }

    LogMessage("LODA %d", 195);

    // Lives until the process ends, like the stream it plays.
    Music* music = KeptUntilExit(new Music);
    music->Load(g_dataDir + kMusicFile);
    music->SetPosition(0.0f);
    music->Play();

    ShowLoop loop(controller, music);
    RunMainLoop(loop);

    StopShow();
}
