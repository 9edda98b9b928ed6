#include "demo/democontroller.h"

#include <GL/glew.h>
#include <sys/stat.h>

#include "base/assert.h"
#include "base/keptuntilexit.h"
#include "base/log.h"
#include "camera/animcamera.h"
#include "content/animationdata.h"
#include "content/fileutils.h"
#include "content/materialloader.h"
#include "content/model.h"
#include "content/modelloader.h"
#include "content/showdata.h"
#include "demo/basescene.h"
#include "demo/camerabookmark.h"
#include "demo/scenesmanager.h"
#include "gpu/contentmanager.h"
#include "gpu/shader.h"
#include "gpu/texture.h"
#include "platform/filesystem.h"
#include "render/billboard.h"
#include "render/drawingroutines.h"
#include "render/glcheck.h"
#include "render/glsetup.h"
#include "render/graphicsengine.h"
#include "render/graphicslog.h"
#include "render/loadingscreen.h"
#include "render/passtimer.h"
#include "render/spritebatch.h"
#include "scene/sceneloader.h"
#include "window/keyboard.h"
#include "window/openglwindow.h"

namespace {

// The authoring keys' toggles.
int g_fovKeyFlag = 0;
int g_greetzValue = 1;

constexpr int kKeyB = 'B';
constexpr int kKeyC = 'C';
constexpr int kKeyL = 'L';

}  // namespace

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
    GlCheck::After("the window's start-up");

    m_loadingScreen = KeptUntilExit(new LoadingScreen(m_window));
    const unsigned char black[2 * 2 * 4] = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    m_blackTexture = KeptUntilExit(
        new Texture(2, 2, 32, black, GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false));
    Billboard::CreateBuffer();
    return true;
}

namespace {

// A texture the controller needs did not load. A file that failed to decode has said why
// already; one that is not there at all is named here, before the fatal check.
void ReportMissingTexture(const std::string& dataDir, const std::string& name) {
    for (const char* extension : {".png", ".jpg"}) {
        struct stat st;
        if (stat(PlatformResolvePath(dataDir + "textures/" + name + extension).c_str(), &st) == 0)
            return;
    }
    LogMessage("textures/%s.png: required, but textures/ has no %s.png or %s.jpg", name.c_str(),
               name.c_str(), name.c_str());
}

}  // namespace

bool DemoController::LoadContent(const std::string& dataDir) {
    m_contentManager = new ContentManager(this);
    // Content reports name files below the data folder ("textures/end.png").
    SetContentRoot(dataDir);

    m_loadingScreen->Init(dataDir);
    m_loadingScreen->Draw();

    m_contentRoot = dataDir;
    SetSceneContentPath(dataDir);

    m_contentManager->LoadModels(dataDir + "models/");
    m_contentManager->LoadTextures(dataDir + "textures/");
    m_contentManager->LoadShaders(dataDir + "effects/");
    m_contentManager->LoadAnimations(dataDir + "animations/");
    m_contentManager->LoadMaterials(dataDir + "materials/");
    m_contentManager->LoadSkinnedMeshes(dataDir + "SkinnedMeshes/");
    m_contentManager->ResolveReferences();

    Shader* vgShader = m_contentManager->GetShader("VectorGraphics");
    ASSERT(vgShader != NULL);
    vgShader->BindAttribLocation(0, "a_position");
    vgShader->Link();
    GraphicsLog::SetShader(vgShader);

    m_spriteShader = m_contentManager->GetShader("Sprite");
    ASSERT(m_spriteShader != NULL);
    m_spriteShader->BindAttribLocation(0, "a_position");
    m_spriteShader->BindAttribLocation(1, "a_coords");
    m_spriteShader->Link();
    m_spriteBatch = KeptUntilExit(new SpriteBatch(
        m_spriteShader,
        sm::Mat4::Ortho(0.0f, static_cast<float>(m_width), 0.0f, static_cast<float>(m_height))));

    m_endScreen = m_contentManager->GetTexture("end");
    if (!m_endScreen) ReportMissingTexture(dataDir, "end");
    ASSERT(m_endScreen != NULL);
    m_startScreen = m_contentManager->GetTexture("loader");
    if (!m_startScreen) ReportMissingTexture(dataDir, "loader");
    ASSERT(m_startScreen != NULL);
    m_mask = m_contentManager->GetTexture("maskovel");
    if (!m_mask) ReportMissingTexture(dataDir, "maskovel");
    ASSERT(m_mask != NULL);

    BuildFadeCurves();

    m_scenesManager = KeptUntilExit(new ScenesManager);
    m_scenesManager->Init();

    m_engine = KeptUntilExit(new GraphicsEngine(m_width, m_height));
    m_engine->Initialize();
    m_engine->SetRenderables(m_scenesManager->GetActiveScene()->GetRenderables());
    GlCheck::After("loading the content");
    return true;
}

bool DemoController::InitDrawingRoutines() {
    DrawingRoutines::LoadShaders(m_contentManager);
    GlCheck::After("the drawing routines' start-up");
    return true;
}

bool DemoController::Update(float time, float dt) {
    m_lastTime = time;
    if (IsKeyPressed(kKey1)) {
        if (IsKeyDown(kKeyLeftShift))
            SaveCameraBookmark(m_manCam, 0);
        else
            LoadCameraBookmark(m_manCam, 0);
    }

    m_scenesManager->Update(time);
    m_camera = nullptr;
    BaseScene* scene = m_scenesManager->GetActiveScene();
    if (m_scenesManager->HasChanged()) m_engine->SetRenderables(scene->GetRenderables());
    scene->Update(time, dt);
    m_camera = scene->GetCamera();

    m_camera->GetViewMatrix(m_view);
    m_projection = sm::Mat4::Perspective(m_camera->GetFov(time),
                                         static_cast<float>(m_width) / static_cast<float>(m_height),
                                         m_camera->GetNear(), m_camera->GetFar());
    m_viewProj = m_projection * m_view;
    GlCheck::After("the update");
    return true;
}

void DemoController::BuildFadeCurves() {
    m_endFadeCurve = AnimationCurve<float>();
    m_endFadeCurve.AddKey(kEndFadeStart, 0.0f, 0.0f, 0.0f);
    m_endFadeCurve.AddKey(kEndFadeEnd, 1.0f, 0.0f, 0.0f);
    m_endFadeCurve.ComputeTangents();
    m_startFadeCurve = AnimationCurve<float>();
    m_startFadeCurve.AddKey(0.0f, 1.0f, 0.0f, 0.0f);
    m_startFadeCurve.AddKey(1.5f, 0.0f, 0.0f, 0.0f);
    m_startFadeCurve.ComputeTangents();
}

float DemoController::EndScreenOpacity(float time) const {
    return time >= m_endFadeCurve.GetStartTime() ? m_endFadeCurve.Evaluate(time) : -1.0f;
}

float DemoController::StartScreenOpacity(float time) const {
    return time <= m_startFadeCurve.GetEndTime() ? m_startFadeCurve.Evaluate(time) : -1.0f;
}

bool DemoController::Draw(float time, float dt) {
    PrepareFrame(m_width, m_height);
    DrawingRoutines::SetViewProjMatrix(m_viewProj);
    sm::Vec3 eye;
    m_camera->GetPosition(eye);
    DrawingRoutines::SetEyePosition(eye);
    DrawingRoutines::SetLightPosition(eye);

    m_engine->Render();

    PassTimer::Begin();
    m_engine->BlitOpacity(m_mask, 0.5f);
    const float cut = m_cutFade.Update(m_camera, time, dt);
    if (cut > 0.0f) m_engine->BlitOpacity(m_blackTexture, cut);
    const float end = EndScreenOpacity(time);
    if (end >= 0.0f) m_engine->BlitOpacity(m_endScreen, end);
    const float start = StartScreenOpacity(time);
    if (start >= 0.0f) m_engine->BlitOpacity(m_startScreen, start);
    PassTimer::End(&FramePassTimes::overlays);
    GlCheck::After("the overlays");

    GraphicsLog::SetMatrix(m_viewProj);
    GraphicsLog::Flush();

    m_window->SwapBuffers();
    GlCheck::After("the present");
    return true;
}

void DemoController::Release() {
    // Content holds GL objects: it goes while the context still exists.
    if (m_contentManager) {
        delete m_contentManager;
        m_contentManager = nullptr;
    }
    // The billboard buffer is a GL object too.
    Billboard::ReleaseBuffer();
    if (m_window) {
        if (GlCheck::Enabled()) {
            GlCheck::After("the shutdown");
            LogMessage("GL check: %lu errors", GlCheck::Count());
        }
        m_window->Destroy();
        delete m_window;
        m_window = nullptr;
    }
}

void DemoController::OnError(const std::string& message) {
    LogMessage("error: %s", message.c_str());
}

void DemoController::OnLoadBegin(int itemCount) {
    if (m_loadingScreen) m_loadingScreen->SetTotal(itemCount);
}

void DemoController::OnItemLoaded() {
    if (m_loadingScreen) m_loadingScreen->AddLoaded();
}

void DemoController::OnLoadEnd() {}

void DemoController::LogMatrixDump(const char* title, const char* name) {
    LogMessage("%s", title);
    for (int i = 0; i < 16; ++i) LogMessage("%s.a[%d] = %.4ff;", name, i, m_view.m[i]);
    LogMessage("%s", "");
}

void DemoController::OnKeyDown(int virtualKey) {
    if (virtualKey < 66 || virtualKey > 88) return;
    switch (virtualKey) {
        case kKeyB:
            g_fovKeyFlag = g_fovKeyFlag == 0 ? 1 : 0;
            LogMessage("m_fovAnim->SetValue(%d, %.4f);", g_fovKeyFlag, m_lastTime);
            break;
        case kKeyC:
            LogMatrixDump("Camera", "m_view");
            break;
        case kKeyL:
            LogMatrixDump("Light", "lightTransform");
            break;
        default:
            break;
    }
}

void DemoController::OnClick() {
    LogMessage("changeGreetzProp->SetValue(%d, %.4f);", g_greetzValue, m_lastTime);
    g_greetzValue = g_greetzValue == 0 ? 1 : 0;
}

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
