#include "capturefixture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "capture.h"
#include "content/imageloader.h"
#include "formats/mp3writer.h"
#include "formats/zipwriter.h"
#include "render/glsetup.h"
#include "render/passtimer.h"
#include "window/openglwindow.h"

namespace {

class TestShow : public CaptureShow {
public:
    explicit TestShow(ShowScript* script) : m_script(script) {}

    bool Start(int width, int height, const std::string&, std::string* error) override {
        m_window = std::make_unique<OpenglWindow>();
        if (!m_window->Create(nullptr, "test", width, height, 32, 0, false, true, nullptr)) {
            *error = m_window->LastError();
            return false;
        }
        return LoadGlEntryPoints(error);
    }
    OpenglWindow* Window() override { return m_window.get(); }
    bool Update(float time, float dt) override {
        m_script->updates.push_back({time, dt, PassTimer::Enabled()});
        m_time = time;
        return true;
    }
    bool Draw(float time, float dt) override {
        m_dtSum += dt;
        uint32_t c = m_script->colour(static_cast<int>(m_script->draws.size()), time, m_dtSum);
        m_script->draws.push_back({time, dt, PassTimer::Enabled()});
        if (double pass = m_script->scenePass ? m_script->scenePass(time) : 0.0; pass > 0.0) {
            PassTimer::Begin();
            std::this_thread::sleep_for(std::chrono::duration<double>(pass));
            PassTimer::End(&FramePassTimes::scene);
        }
        if (m_script->drawSeconds > 0.0)
            std::this_thread::sleep_for(std::chrono::duration<double>(m_script->drawSeconds));
        Clear(c);
        if (m_script->present) {
            m_window->SwapBuffers();
            Clear(kMagenta);
        }
        if (static_cast<int>(m_script->draws.size()) == m_script->stopAfterDraws)
            *m_script->stop = 1;
        if (m_script->afterDraw) m_script->afterDraw(static_cast<int>(m_script->draws.size()));
        return true;
    }
    std::string SceneName() const override {
        return m_script->scene ? m_script->scene(m_time) : "";
    }
    void Stop() override { m_window.reset(); }

private:
    static void Clear(uint32_t rgb) {
        glClearColor((rgb >> 16 & 255) / 255.0f, (rgb >> 8 & 255) / 255.0f, (rgb & 255) / 255.0f,
                     1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    ShowScript* m_script;
    std::unique_ptr<OpenglWindow> m_window;
    float m_dtSum = 0.0f;
    float m_time = 0.0f;  // of the last update
};

}  // namespace

std::unique_ptr<CaptureShow> MakeTestShow(ShowScript* script) {
    return std::make_unique<TestShow>(script);
}

uint32_t GreyByFrame(int drawn, float, float) {
    uint32_t g = static_cast<uint32_t>(drawn * 4) & 255;
    return g << 16 | g << 8 | g;
}

CaptureSandbox::CaptureSandbox(double musicSeconds) {
    const char* old = std::getenv("TMPDIR");
    m_hadTmp = old != nullptr;
    if (old) m_oldTmp = old;
    std::string tmp = m_dir.File("tmp");
    std::filesystem::create_directory(tmp);
    setenv("TMPDIR", tmp.c_str(), 1);

    const int rate = 44100;
    std::vector<int16_t> samples(static_cast<size_t>(musicSeconds * rate) * 2);
    for (size_t i = 0; i < samples.size() / 2; ++i) {
        auto s = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440.0 * i / rate));
        samples[2 * i] = samples[2 * i + 1] = s;
    }
    std::string mp3, error;
    if (!EncodeMp3(samples, Mp3Settings{}, &mp3, &error)) ADD_FAILURE() << error;
    ZipWriter zip;
    bool ok = zip.Open(Archive()) && zip.AddFolder("korvane_data_orbendale/") &&
              zip.AddFolder("korvane_data_orbendale/music/") &&
              zip.AddFile("korvane_data_orbendale/music/velmora.mp3", mp3) && zip.Close();
    if (!ok) ADD_FAILURE() << "can't write " << Archive();
}

CaptureSandbox::~CaptureSandbox() {
    if (m_hadTmp)
        setenv("TMPDIR", m_oldTmp.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

CaptureRun RunCaptureTool(const std::vector<std::string>& args, ShowScript* script,
                          volatile std::sig_atomic_t* stop) {
    std::ostringstream out, err;
    CaptureEnvironment env;
    env.out = &out;
    env.err = &err;
    env.stop = stop;
    if (script) env.makeShow = [script] { return MakeTestShow(script); };
    CaptureRun run;
    run.code = RunCapture(args, env);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string CommandOutput(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return "";
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
    return pclose(pipe) == 0 ? text : "";
}

ProbedStream Probe(const std::string& file, const char* kind) {
    std::string text =
        CommandOutput(std::string("ffprobe -v error -count_frames -select_streams ") + kind +
                      ":0 -show_entries stream=codec_name,pix_fmt,nb_read_frames,"
                      "duration -of default=noprint_wrappers=1 '" +
                      file + "'");
    ProbedStream s;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "codec_name") s.codec = value;
        if (key == "pix_fmt") s.pixelFormat = value;
        if (key == "nb_read_frames") s.frames = std::atoll(value.c_str());
        if (key == "duration") s.duration = std::atof(value.c_str());
    }
    return s;
}

std::vector<std::vector<uint8_t>> DecodeVideo(const std::string& file, int width, int height) {
    std::string raw =
        CommandOutput("ffmpeg -v error -i '" + file + "' -f rawvideo -pix_fmt rgb24 -");
    size_t size = static_cast<size_t>(width) * height * 3;
    std::vector<std::vector<uint8_t>> frames;
    for (size_t at = 0; at + size <= raw.size(); at += size)
        frames.emplace_back(raw.begin() + static_cast<ptrdiff_t>(at),
                            raw.begin() + static_cast<ptrdiff_t>(at + size));
    return frames;
}

std::vector<uint8_t> ReadRgbPng(const std::string& path, int* width, int* height) {
    ImageLoader::Pixels data;
    int bpp = 0;
    if (!ImageLoader::LoadPng(path, data, *width, *height, bpp) || bpp != 3) return {};
    return std::vector<uint8_t>(data.get(), data.get() + static_cast<size_t>(*width) * *height * 3);
}
