#include "demo/democontroller.h"

#include <GL/glew.h>

#include "content/animationdata.h"
#include "content/contentmanager.h"
#include "content/materialloader.h"
#include "content/model.h"
#include "content/modelloader.h"
#include "content/shader.h"
#include "content/texture.h"
#include "render/billboard.h"
#include "render/glsetup.h"
#include "render/loadingscreen.h"
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

    m_loadingScreen = new LoadingScreen(m_window);
    const unsigned char black[2 * 2 * 4] = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    m_blackTexture =
        new Texture(2, 2, 32, black, GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);
    Billboard::CreateBuffer();
    return true;
}

bool DemoController::LoadContent(const std::string& dataDir) {
    m_contentManager = new ContentManager(this);
    m_contentRoot = dataDir;

    m_contentManager->LoadModels(dataDir + "models/");
    m_contentManager->LoadTextures(dataDir + "textures/");
    m_contentManager->LoadShaders(dataDir + "effects/");
    m_contentManager->LoadAnimations(dataDir + "animations/");
    m_contentManager->LoadMaterials(dataDir + "materials/");
    m_contentManager->LoadSkinnedMeshes(dataDir + "SkinnedMeshes/");
    m_contentManager->ResolveReferences();
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
    // Content holds GL objects: it goes while the context still exists.
    if (m_contentManager) {
        delete m_contentManager;
        m_contentManager = nullptr;
    }
    // The billboard buffer is a GL object too: it goes before the context.
    Billboard::ReleaseBuffer();
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

Texture* DemoController::LoadTexture(const std::string& path) {
    return Texture::LoadFromFile(path);
}

Shader* DemoController::LoadShader(const std::string& vertexPath, const std::string& fragmentPath) {
    return Shader::LoadShader(vertexPath, fragmentPath);
}

Model* DemoController::LoadModel(const std::string& path) { return ::LoadModel(path).release(); }

AnimationData* DemoController::LoadAnimation(const std::string& path) {
    return ::LoadAnimation(path).release();
}

Material* DemoController::LoadMaterial(const std::string& path) {
    return ::LoadMaterial(path).release();
}
