#include "demo/democontroller.h"

#include "render/glsetup.h"
#include "shell/assert.h"
#include "shell/log.h"
#include "window/openglwindow.h"

DemoController::DemoController() { InitLog(true, true, false, "log.txt"); }

DemoController::~DemoController() { Release(); }

bool DemoController::Initialize(void* parent, const char* title, int width, int height, int bits,
                                int refreshRate, bool fullscreen, bool ownWindow) {
    m_width = width;
    m_height = height;

    m_window = new OpenglWindow;
    if (!m_window->Create(parent, title, width, height, bits, refreshRate, fullscreen, ownWindow,
                          this)) {
        LogMessage("couldn't initialize opengl window");
        if (!m_window->LastError().empty()) LogMessage("window: %s", m_window->LastError().c_str());
        Release();
        return false;
    }

    std::string error;
    if (!LoadGlEntryPoints(&error)) {
        LogMessage("GL: %s", error.c_str());
        ASSERT(false);
    }
    PlatformSetSwapInterval(0);

    LogMessage("OpenGl Vendor: %s", GlVendor());
    LogMessage("OpenGl Version: %s", GlVersion());

    SetDefaultGlState(m_width, m_height);
    InstallGlDebugOutput();
    return true;
}

bool DemoController::LoadContent(const std::string& dataDir) {
    m_contentRoot = dataDir;
    return true;
}

bool DemoController::InitDrawingRoutines() { return true; }

bool DemoController::Update(float time, float dt) {
    (void)time;
    (void)dt;
    return true;
}

bool DemoController::Draw(float time, float dt) {
    (void)time;
    (void)dt;
    ClearFrame(m_width, m_height);
    m_window->SwapBuffers();
    return true;
}

void DemoController::Release() {
    if (m_window) {
        m_window->Destroy();
        delete m_window;
        m_window = nullptr;
    }
}

void DemoController::OnError(const std::string& message) {
    LogMessage("error: %s", message.c_str());
}
void DemoController::OnLoadBegin(int itemCount) { (void)itemCount; }
void DemoController::OnItemLoaded() {}
void DemoController::OnLoadEnd() {}
void DemoController::OnClick() {}
void DemoController::OnKeyDown(int virtualKey) { (void)virtualKey; }
