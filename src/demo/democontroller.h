// The object that owns the running show: the window with its GL context, the content, the
// scene timeline, the renderer, the loading screen and the overlays (mask, cut fade, start and
// end screens). The start-up sequence gets it through GetInstance, calls Initialize,
// LoadContent and InitDrawingRoutines once, then Update and Draw every frame with the music
// time, and finally Release and DestroyInstance. Release is safe to call any number of times.
// Constructing it restarts the log with the debugger output on. It is also the content
// manager's factory and the window's input sink (authoring dumps to the log).
#pragma once

#include <string>

#include "demo/cutfade.h"
#include "demo/genericsingleton.h"
#include "demo/mancam.h"
#include "gpu/icontentobserver.h"
#include "gpu/igraphicsengine.h"
#include "math/animationcurve.h"
#include "math/mat4.h"
#include "window/ikeyboardcallback.h"

class ContentManager;
class GraphicsEngine;
class ICamera;
class LoadingScreen;
class OpenglWindow;
class ScenesManager;
class SpriteBatch;

class DemoController : public IContentObserver,
                       public IKeyboardCallback,
                       public IGraphicsEngine,
                       public GenericSingleton<DemoController> {
public:
    DemoController();
    ~DemoController() override;

    bool Initialize(void* parent, const char* title, int width, int height, int bits,
                    int refreshRate, bool fullscreen, bool ownWindow);
    bool LoadContent(const std::string& dataDir);
    bool InitDrawingRoutines();
    bool Update(float time, float dt);
    bool Draw(float time, float dt);
    void Release();

    // IContentObserver
    void OnError(const std::string& message) override;
    void OnLoadBegin(int itemCount) override;
    void OnItemLoaded() override;
    void OnLoadEnd() override;

    // IKeyboardCallback
    void OnClick() override;
    void OnKeyDown(int virtualKey) override;

    // IGraphicsEngine: the content loaders
    Texture* LoadTexture(const std::string& path) override;
    Shader* LoadShader(const std::string& vertexPath, const std::string& fragmentPath) override;
    Model* LoadModel(const std::string& path) override;
    AnimationData* LoadAnimation(const std::string& path) override;
    Material* LoadMaterial(const std::string& path) override;

    OpenglWindow* GetWindow() const { return m_window; }
    ContentManager* GetContentManager() const { return m_contentManager; }
    ScenesManager* GetScenesManager() const { return m_scenesManager; }
    GraphicsEngine* GetEngine() const { return m_engine; }
    const sm::Mat4& GetView() const { return m_view; }
    const sm::Mat4& GetProjection() const { return m_projection; }
    const sm::Mat4& GetViewProj() const { return m_viewProj; }
    float GetCutFade() const { return m_cutFade.GetValue(); }
    ManCam& GetManCam() { return m_manCam; }
    // The start screen fades out over 0 to 1.5 s, the end screen in over 356 to 358 s.
    void BuildFadeCurves();
    // Opacity of the overlays at a time, as Draw lays them (negative: not drawn).
    float StartScreenOpacity(float time) const;
    float EndScreenOpacity(float time) const;

private:
    void LogMatrixDump(const char* title, const char* name);

    int m_width = 0;
    int m_height = 0;
    OpenglWindow* m_window = nullptr;
    ContentManager* m_contentManager = nullptr;
    std::string m_contentRoot;
    LoadingScreen* m_loadingScreen = nullptr;  // lives until the process ends
    ScenesManager* m_scenesManager = nullptr;  // lives until the process ends
    GraphicsEngine* m_engine = nullptr;        // lives until the process ends
    ICamera* m_camera = nullptr;               // the active scene's, not owned
    ManCam m_manCam;
    sm::Mat4 m_view;
    sm::Mat4 m_projection;
    sm::Mat4 m_viewProj;
    Texture* m_blackTexture = nullptr;     // lives until the process ends
    Shader* m_spriteShader = nullptr;      // content's
    SpriteBatch* m_spriteBatch = nullptr;  // lives until the process ends
    Texture* m_endScreen = nullptr;        // content's
    Texture* m_startScreen = nullptr;      // content's
    Texture* m_mask = nullptr;             // content's
    AnimationCurve<float> m_endFadeCurve;
    AnimationCurve<float> m_startFadeCurve;
    CutFade m_cutFade;
    float m_lastTime = 0.0f;  // the music time of the last update, for the authoring dumps
};

inline DemoController* GetInstance() { return DemoController::GetInstance(); }
inline void DestroyInstance() { DemoController::DestroyInstance(); }
