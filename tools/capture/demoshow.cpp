#include "captureshow.h"

#include "demo/basescene.h"
#include "demo/democontroller.h"
#include "demo/scenesmanager.h"

namespace {

class DemoShow : public CaptureShow {
public:
    ~DemoShow() override { Stop(); }

    bool Start(int width, int height, const std::string& dataDir, std::string* error) override {
        // The controller logs to standard error and log.txt, as in the show.
        m_controller = GetInstance();
        if (!m_controller->Initialize(nullptr, "Pindle :: by Korvane", width, height, 32, 0, false,
                                      true)) {
            *error = "the show could not make its GL surface";
            return false;
        }
        if (!m_controller->LoadContent(dataDir)) {
            *error = "the show's content did not load";
            return false;
        }
        if (!m_controller->InitDrawingRoutines()) {
            *error = "the show's drawing routines did not start";
            return false;
        }
        return true;
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
        m_controller->Release();
        DestroyInstance();
        m_controller = nullptr;
    }

private:
    DemoController* m_controller = nullptr;
};

}  // namespace

std::unique_ptr<CaptureShow> MakeDemoShow() { return std::make_unique<DemoShow>(); }
