// The first picture after the setup dialog: data folder + "loader.jpg" stretched over the whole
// window and presented while the content loads. Construct it once the window exists, Init it with
// the data folder, then Draw. It counts loaded items for an observer but draws no progress bar.
#pragma once

#include <memory>
#include <string>

class OpenglWindow;
class Shader;
class SpriteBatch;
class Texture;

class LoadingScreen {
public:
    // The window is not owned; it must outlive the loading screen.
    explicit LoadingScreen(OpenglWindow* window);
    // Releases the picture's GL texture: destroy before the context.
    ~LoadingScreen();
    LoadingScreen(const LoadingScreen&) = delete;
    LoadingScreen& operator=(const LoadingScreen&) = delete;

    // dataDir ends with a separator. Loads dataDir + "loader.jpg" (fails "loadingTex != NULL"
    // when it can't be loaded) with clamped edges, reads the window's size, builds the program from
    // dataDir + "Effects/Sprite.vpr" and "Effects/Sprite.fpr" (through the path resolver, so
    // "effects/" is found too; a missing or broken source is fatal) and a batch over the
    // window in pixels with y up.
    void Init(const std::string& dataDir);
    // Clears colour and depth, draws the picture opaque over the whole window, and swaps the
    // window's buffers. Needs Init first.
    void Draw();

    // Loading progress: SetTotal also sets the loaded count back to 0.
    void SetTotal(int total);
    void AddLoaded() { ++m_loaded; }
    int GetTotal() const { return m_total; }
    int GetLoaded() const { return m_loaded; }

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

private:
    OpenglWindow* m_window;
    std::unique_ptr<Texture> m_picture;
    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<Shader> m_shader;
    std::unique_ptr<SpriteBatch> m_batch;  // after m_shader: it points at the program
    int m_total = 0;
    int m_loaded = 0;
};
