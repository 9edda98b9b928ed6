#include "capture.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include <unistd.h>

#include "base/assert.h"
#include "contactsheet.h"
#include "content/showdata.h"
#include "frameplan.h"
#include "framequeue.h"
#include "framestats.h"
#include "mp4writer.h"
#include "options.h"
#include "platform/filesystem.h"
#include "platform/mp3decoder.h"
#include "pngfile.h"
#include "progress.h"
#include "render/framereadback.h"
#include "render/passtimer.h"
#include "shell/startup.h"
#include "window/openglwindow.h"

namespace fs = std::filesystem;

namespace {

// Frames read and not yet written: one being written, the rest waiting. Two let the writer
// start on the next frame at once; more only help a writer that is slow now and then.
const int kQueueBuffers = 3;

struct CaptureError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string Absolute(const std::string& path) {
    std::error_code ignored;
    fs::path p = fs::absolute(path, ignored);
    return p.empty() ? path : p.lexically_normal().string();
}

// Fails early, before the content loads, when an output can't be written.
void CheckWritableFile(const std::string& path, const char* what) {
    bool existed = fs::exists(path);
    FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        throw CaptureError(std::string("can't write the ") + what + " " + path + ": " +
                           std::strerror(errno));
    std::fclose(file);
    if (!existed) std::remove(path.c_str());
}

void PrepareFramesFolder(const std::string& dir) {
    std::error_code error;
    fs::create_directories(dir, error);
    if (error || !fs::is_directory(dir))
        throw CaptureError("can't make the frames folder " + dir + ": " +
                           (error ? error.message() : "not a folder"));
    if (access(dir.c_str(), W_OK | X_OK) != 0)
        throw CaptureError("can't write into the frames folder " + dir + ": " +
                           std::strerror(errno));
}

// Everything the outputs need of one capture, and what the loop hands them.
class Outputs {
public:
    Outputs(const CaptureOptions& o, int64_t frameCount) : m_options(o), m_frameCount(frameCount) {
        if (!o.contactSheet.empty())
            m_sheet =
                std::make_unique<ContactSheet>(o.sheetColumns, o.sheetRows, o.width, o.height);
    }

    void OpenVideo(const std::string& musicPath) {
        if (m_options.out.empty()) return;
        Mp4Settings settings;
        settings.width = m_options.width;
        settings.height = m_options.height;
        settings.fps = m_options.fps;
        settings.musicPath = musicPath;
        settings.musicFrom = m_options.from;
        m_video = std::make_unique<Mp4Writer>();
        std::string error;
        if (!m_video->Open(m_options.out, settings, &error)) {
            m_video.reset();
            std::remove(m_options.out.c_str());
            throw CaptureError(error);
        }
    }

    // Writes a frame to every output that keeps it. frame: width × height RGBA pixels, rows
    // bottom first (as ReadBackBufferRgba reads them). Runs on the frame queue's thread.
    void Take(const PlannedFrame& f, const uint8_t* frame) {
        std::string error;
        if (f.every && m_video && !m_video->WriteFrame(frame, &error)) throw CaptureError(error);
        if (m_options.framesDir.empty() && !m_sheet) return;
        ToRgb(frame);
        if (!m_options.framesDir.empty()) {
            if (f.every) WriteFrame(EveryFrameName(f.index, m_frameCount), m_rgb);
            for (int i = f.at; i < f.at + f.atCount; ++i)
                WriteFrame(SingleFrameName(m_options.at[static_cast<size_t>(i)]), m_rgb);
        }
        if (m_sheet)
            for (int t = f.tile; t < f.tile + f.tileCount; ++t) m_sheet->Place(t, m_rgb, f.time);
    }

    // Closes every output; the first error wins but every output is still closed.
    void Close(std::string* firstError) {
        std::string error;
        if (m_video) {
            if (!m_video->Finish(&error) && firstError->empty()) *firstError = error;
            m_video.reset();
        }
        if (m_sheet) {
            if (!WriteRgbPng(m_options.contactSheet, m_sheet->Width(), m_sheet->Height(),
                             m_sheet->Pixels(), &error) &&
                firstError->empty())
                *firstError = error;
            m_sheet.reset();
        }
    }

    int64_t VideoFrames() const { return m_video ? m_video->FramesWritten() : 0; }

private:
    // The image outputs' form: RGB, rows top first.
    void ToRgb(const uint8_t* rgba) {
        const size_t width = static_cast<size_t>(m_options.width);
        const size_t height = static_cast<size_t>(m_options.height);
        m_rgb.resize(width * height * 3);
        for (size_t y = 0; y < height; ++y) {
            const uint8_t* in = rgba + (height - 1 - y) * width * 4;
            uint8_t* out = &m_rgb[y * width * 3];
            for (size_t x = 0; x < width; ++x, in += 4, out += 3) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            }
        }
    }

    void WriteFrame(const std::string& name, const std::vector<uint8_t>& rgb) {
        std::string error;
        if (!WriteRgbPng((fs::path(m_options.framesDir) / name).string(), m_options.width,
                         m_options.height, rgb, &error))
            throw CaptureError(error);
    }

    const CaptureOptions& m_options;
    int64_t m_frameCount;
    std::unique_ptr<Mp4Writer> m_video;
    std::unique_ptr<ContactSheet> m_sheet;
    std::vector<uint8_t> m_rgb;
};

bool Kept(const PlannedFrame& f) { return f.every || f.atCount > 0 || f.tileCount > 0; }

void Report(std::ostream& err, const CaptureOptions& o, int64_t rendered, double seconds) {
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.1f", seconds > 0.0 ? rendered / seconds : 0.0);
    err << "pindle-capture: " << rendered << " frames in " << FormatDuration(seconds) << " ("
        << rate << " fps)\n";
    if (!o.out.empty()) err << "pindle-capture: video: " << Absolute(o.out) << "\n";
    if (!o.framesDir.empty()) err << "pindle-capture: frames: " << Absolute(o.framesDir) << "\n";
    if (!o.contactSheet.empty())
        err << "pindle-capture: contact sheet: " << Absolute(o.contactSheet) << "\n";
}

int Run(const CaptureOptions& o, const CaptureEnvironment& env) {
    std::ostream& err = *env.err;
    const std::string archive =
        o.archive[0] == '/' ? o.archive : PlatformCurrentFolder() + "/" + o.archive;
    if (!fs::is_regular_file(archive))
        throw CaptureError("no archive at " + archive +
                           " (run it in the build folder, where demodat is, or give --archive)");
    if (!o.out.empty()) CheckWritableFile(o.out, "video");
    if (!o.contactSheet.empty()) CheckWritableFile(o.contactSheet, "contact sheet");
    if (!o.framesDir.empty()) PrepareFramesFolder(o.framesDir);

    const std::string dataDir = UnpackShowData(archive);

    const std::string musicPath = dataDir + kMusicFile;
    double to = o.to;
    if (to < 0.0 || !o.out.empty()) {
        PlatformMp3Decoder music;
        std::string reason;
        if (!music.Open(musicPath, &reason))
            throw CaptureError("can't read the music " + musicPath + ": " + reason);
        if (to < 0.0) to = static_cast<double>(music.LengthFrames()) / music.Rate();
    }
    if (to <= o.from) throw CaptureError("--from is at or after the end of the music");
    for (double t : o.at)
        if (t >= to) throw CaptureError("--at: a time at or after the end of the music");

    FramePlanRequest request;
    request.from = o.from;
    request.to = to;
    request.fps = o.fps;
    request.everyFrame = !o.out.empty() || (!o.framesDir.empty() && o.at.empty());
    request.at = o.at;
    request.tiles = o.contactSheet.empty() ? 0 : o.sheetColumns * o.sheetRows;
    const bool measureOnly = o.out.empty() && o.framesDir.empty() && o.contactSheet.empty();
    request.everyFrame = request.everyFrame || measureOnly;
    std::vector<PlannedFrame> plan = PlanFrames(request);
    if (measureOnly)
        for (PlannedFrame& f : plan) f.every = false;  // rendered and timed, not read back
    const int64_t frameCount = GridFrameCount(o.from, to, o.fps);

    Outputs outputs(o, frameCount);
    outputs.OpenVideo(musicPath);

    OpenglWindow::UseOffscreenSurfaces(true);
    std::unique_ptr<CaptureShow> show = env.makeShow();
    std::string error;
    bool started = false, fatal = false;
    try {
        started = show->Start(o.width, o.height, dataDir, &error);
    } catch (const FatalError& e) {
        error = e.what();
        fatal = true;
    }
    if (!started) {
        show->Stop();
        std::string ignored;
        outputs.Close(&ignored);
        if (!o.out.empty()) std::remove(o.out.c_str());  // it holds no frame
        // A fatal report (bad content, mostly) ends the capture with the show's exit code.
        if (fatal) throw FatalError("the show did not start: " + error);
        throw CaptureError("the show did not start: " + error);
    }

    // Kept frames are read in the present hook into a buffer of the frame queue, whose thread
    // writes them to the outputs while the show draws on.
    FrameQueue queue(static_cast<size_t>(o.width) * o.height * 4, kQueueBuffers,
                     [&outputs](const PlannedFrame& f, const uint8_t* frame, std::string* error) {
                         try {
                             outputs.Take(f, frame);
                         } catch (const CaptureError& e) {
                             *error = e.what();
                             return false;
                         }
                         return true;
                     });
    const PlannedFrame* keep = nullptr;  // the frame the next present reads, if any
    bool read = false, refused = false;
    OpenglWindow* window = show->Window();
    window->SetPresentHook([&] {
        if (!keep) return;
        // A failed writer refuses the frame; the loop reports it once Draw is back.
        if (uint8_t* buffer = queue.Acquire()) {
            ReadBackBufferRgba(o.width, o.height, buffer);
            queue.Submit(*keep);
        } else {
            refused = true;
        }
        keep = nullptr;
        read = true;
    });

    CaptureProgress progress(err, env.errIsTerminal, static_cast<int64_t>(plan.size()));
    const auto begin = std::chrono::steady_clock::now();
    auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    };
    FrameStats stats;
    PassTimer::Enable(o.stats);
    int64_t rendered = 0;
    bool stopped = false, ended = false;
    std::string failure;
    int code = 0;
    try {
        for (const PlannedFrame& f : plan) {
            if (env.stop && *env.stop) {
                stopped = true;
                break;
            }
            const auto frameBegin = std::chrono::steady_clock::now();
            bool go = show->Update(f.time, f.dt);
            keep = Kept(f) ? &f : nullptr;
            read = false;
            go = show->Draw(f.time, f.dt) && go;
            keep = nullptr;
            if (refused) throw CaptureError(queue.Error());
            if (Kept(f) && !read) {
                char time[32];
                std::snprintf(time, sizeof time, "%.3f", f.time);
                throw CaptureError(std::string("the show presented no frame at ") + time + " s");
            }
            if (o.stats)
                stats.Add(
                    show->SceneName(),
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - frameBegin)
                        .count(),
                    PassTimer::Take());
            ++rendered;
            progress.Update(rendered, elapsed());
            if (!go) {
                ended = true;
                break;
            }
        }
    } catch (const CaptureError& e) {
        failure = e.what();
        code = 1;
    } catch (const FatalError& e) {
        failure = e.what();
        code = kFatalExitCode;
    }
    window->SetPresentHook(nullptr);
    PassTimer::Enable(false);
    progress.Finish(rendered, elapsed());

    std::string closeError;
    queue.Close(&closeError);
    {
        std::string error;
        outputs.Close(&error);
        if (closeError.empty()) closeError = error;
    }
    show->Stop();
    if (code == 0 && !closeError.empty()) {
        failure = closeError;
        code = 1;
    }
    if (code != 0) {
        err << "pindle-capture: " << failure << "\n";
        if (!closeError.empty() && closeError != failure)
            err << "pindle-capture: " << closeError << "\n";
        return code;
    }
    Report(err, o, rendered, elapsed());
    if (o.stats) *env.out << stats.Table();
    if (ended) err << "pindle-capture: the show asked to stop at frame " << rendered << "\n";
    if (stopped) {
        err << "pindle-capture: stopped; the outputs hold the " << rendered
            << " frames made so far\n";
        return 130;
    }
    return 0;
}

}  // namespace

std::string EveryFrameName(int64_t index, int64_t frameCount) {
    int digits = static_cast<int>(std::to_string(std::max<int64_t>(frameCount - 1, 0)).size());
    char text[48];
    std::snprintf(text, sizeof text, "frame_%0*lld.png", std::max(6, digits),
                  static_cast<long long>(index));
    return text;
}

std::string SingleFrameName(double seconds) {
    char text[48];
    std::snprintf(text, sizeof text, "at_%08.3f.png", seconds);
    return text;
}

int RunCapture(const std::vector<std::string>& args, const CaptureEnvironment& env) {
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureOptions(args, &options, &error)) {
        *env.err << "pindle-capture: " << error << "\n(pindle-capture --help lists the options)\n";
        return 2;
    }
    if (options.help) {
        *env.out << kCaptureUsage;
        return 0;
    }
    // A fatal report from the show or the unpacker is thrown, so the outputs can still be closed.
    FatalThrowScope fatal;
    try {
        return Run(options, env);
    } catch (const CaptureError& e) {
        *env.err << "pindle-capture: " << e.what() << "\n";
        return 1;
    } catch (const FatalError& e) {
        *env.err << "pindle-capture: " << e.what() << "\n";
        return kFatalExitCode;
    }
}
