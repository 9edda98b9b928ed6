// The object that owns the running show: the window with its GL context and, as the show
// grows, its content, scenes, renderer and overlays. The start-up sequence gets it through
// GetInstance, calls Initialize, LoadContent and InitDrawingRoutines once, then Update and Draw
// every frame with the music time, and finally Release and DestroyInstance. Release is safe to
// call any number of times. Constructing it restarts the log with the debugger output on.
#pragma once

#include <string>

#include "content/icontentobserver.h"
#include "content/igraphicsengine.h"
#include "demo/genericsingleton.h"
#include "window/ikeyboardcallback.h"

class ContentManager;
class LoadingScreen;
class OpenglWindow;

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

private:
    int m_width = 0;
    int m_height = 0;
    OpenglWindow* m_window = nullptr;
    ContentManager* m_contentManager = nullptr;
    std::string m_contentRoot;
    LoadingScreen* m_loadingScreen = nullptr;  // lives until the process ends
    Texture* m_blackTexture = nullptr;         // lives until the process ends
};

inline DemoController* GetInstance() { return DemoController::GetInstance(); }
inline void DestroyInstance() { DemoController::DestroyInstance(); }
