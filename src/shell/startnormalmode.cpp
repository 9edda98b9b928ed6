#include "shell/startnormalmode.h"

#include "base/assert.h"
#include "base/keptuntilexit.h"
#include "base/log.h"
#include "content/unpackarchive.h"
#include "demo/democontroller.h"
#include "platform/filesystem.h"
#include "platform/video.h"
#include "shell/mainloop.h"
#include "shell/music.h"
#include "shell/setupdialog.h"
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

void Teardown() {
    GetInstance()->Release();
    DestroyInstance();
}

}  // namespace

void StartNormalMode() {
    LogMessage("LODA %d", 110);

    int width = 0, height = 0, bits = 0, refreshRate = 0;
    if (!ShowSetupDialog(&width, &height, &bits, &refreshRate)) return;

    std::string archivePath = PlatformCurrentFolder() + "/" + "demodat";
    std::string tempDir = PlatformTempFolder();
    g_dataDir = tempDir + "korvane_data_orbendale/";

    UnpackArchive(archivePath, tempDir);
    LogMessage("LODA %d", 146);

    DemoController* controller = GetInstance();
    if (!controller->Initialize(nullptr, "Pindle :: by Korvane", width, height, bits, refreshRate,
                                true, true)) {
        Teardown();
        ASSERT(false);
    }
    LogMessage("LODA %d", 161);

    if (!controller->LoadContent(g_dataDir)) {
        Teardown();
        ASSERT(false);
    }
    LogMessage("LODA %d", 170);

    if (!controller->InitDrawingRoutines()) {
        Teardown();
        ASSERT(false);
    }
    LogMessage("LODA %d", 179);

    LogMessage("LODA %d", 195);

    // Lives until the process ends, like the stream it plays.
    Music* music = KeptUntilExit(new Music);
    music->Load(g_dataDir + "music/velmora.mp3");
    music->SetPosition(0.0f);
    music->Play();

    ShowLoop loop(controller, music);
    RunMainLoop(loop);

    Teardown();
}
