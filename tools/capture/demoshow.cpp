#include "captureshow.h"

#include "demo/basescene.h"
#include "demo/democontroller.h"
#include "demo/scenesmanager.h"
#include "shell/startup.h"

namespace {

class DemoShow : public CaptureShow {
public:
    ~DemoShow() override { Stop(); }

    bool Start(int width, int height, const std::string& dataDir, std::string* error) override {
        // The controller logs to standard error and log.txt, as in the show.
        ShowSurface surface;
        surface.width = width;
        surface.height = height;
        m_controller = StartShow(surface, dataDir, error);
        return m_controller != nullptr;
    }

    OpenglWindow* Window() override { return m_controller->GetWindow(); }
    bool Update(float time, float dt) override { return m_controller->Update(time, dt); }
    bool Draw(float time, float dt) override { return m_controller->Draw(time, dt); }

    std::string SceneName() const override {
        const ScenesManager* scenes = m_controller ? m_controller->GetScenesManager() : nullptr;
        if (!scenes || scenes->GetScenesCount() == 0) return "";
        return scenes->GetActiveScene()->GetName();
    }

    void Stop() override {
        if (!m_controller) return;
        StopShow();
        m_controller = nullptr;
    }

private:
    DemoController* m_controller = nullptr;
};

}  // namespace

std::unique_ptr<CaptureShow> MakeDemoShow() { return std::make_unique<DemoShow>(); }
