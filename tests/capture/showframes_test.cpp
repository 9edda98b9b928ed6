// What the show's frames hold, checked on frames that the built pindle-capture makes from the
// built show: the start screen over the first frame, the end screen fading in, and the fade to
// black around a camera cut. The screens are 1024 × 576 pictures, so frames of that size show
// them texel for texel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "capture.h"
#include "capturefixture.h"
#include "content/imageloader.h"
#include "programfixture.h"

namespace fs = std::filesystem;

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 576;

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* At(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    int Lum(int x, int y) const {
        const uint8_t* p = At(x, y);
        return (p[0] * 3 + p[1] * 6 + p[2]) / 10;
    }
    int Max() const { return rgb.empty() ? 0 : *std::max_element(rgb.begin(), rgb.end()); }
};

Image LoadFrame(const std::string& path) {
    Image image;
    image.rgb = ReadRgbPng(path, &image.width, &image.height);
    return image;
}

// A texture of the unpacked data as RGB, dropping alpha (the screens are opaque).
Image LoadTexture(const std::string& path) {
    Image image;
    ImageLoader::Pixels data;
    int bpp = 0;
    if (!ImageLoader::Load(path, data, image.width, image.height, bpp) || bpp < 3) return image;
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    for (size_t i = 0; i < image.rgb.size() / 3; ++i)
        for (int c = 0; c < 3; ++c) image.rgb[i * 3 + c] = data[i * bpp + c];
    return image;
}

Image CaptureAt(const ProgramSandbox& box, const std::vector<std::string>& extra, double time) {
    std::string dir = box.File("frames");
    std::vector<std::string> args = {"--size", "1024x576", "--frames",
                                     dir,      "--at",     std::to_string(time)};
    args.insert(args.end(), extra.begin(), extra.end());
    std::string err;
    EXPECT_EQ(box.Run(args, &err), 0) << err;
    return LoadFrame(dir + "/" + SingleFrameName(time));
}

TEST(ShowFrames, FirstFrameIsTheStartScreenAtFullOpacity) {
    ProgramSandbox box;
    Image frame = CaptureAt(box, {}, 0.0);
    Image start = LoadTexture(box.DataFolder() + "textures/loader.png");
    ASSERT_EQ(frame.width, kScreenWidth);
    ASSERT_EQ(start.width, kScreenWidth);
    ASSERT_EQ(start.height, kScreenHeight);
    int off = 0;
    double sum = 0.0;
    for (size_t i = 0; i < frame.rgb.size(); ++i) {
        int d = std::abs(frame.rgb[i] - start.rgb[i]);
        sum += d;
        off += d > 4;
    }
    EXPECT_LT(sum / frame.rgb.size(), 1.0);
    EXPECT_LT(off, static_cast<int>(frame.rgb.size() / 200)) << "channels off by more than 4";
}

// At 357 s the end screen E is half way in: frame = E / 2 + scene / 2. The scene is unknown, but
// it is smooth next to the screen's lettering: between a bright texel p and a dark one q close
// by, frame(p) − frame(q) ≈ α (E(p) − E(q)) with α the screen's opacity.
TEST(ShowFrames, AtThreeFiftySevenTheEndScreenIsHalfOverTheScene) {
    ProgramSandbox box;
    // The end screen depends on the time alone; starting at 350 s keeps the capture short, and
    // the cut fade that the jump sets off has cleared by 357 s.
    Image frame = CaptureAt(box, {"--from", "350", "--fps", "30"}, 357.0);
    Image end = LoadTexture(box.DataFolder() + "textures/end.png");
    ASSERT_EQ(frame.width, kScreenWidth);
    ASSERT_EQ(end.width, kScreenWidth);

    double rise = 0.0, step = 0.0;
    int belowHalf = 0, sceneShows = 0, darkTexels = 0;
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            for (int c = 0; c < 3; ++c) belowHalf += frame.At(x, y)[c] + 3 < end.At(x, y)[c] / 2;
            if (end.Lum(x, y) <= 6) {
                ++darkTexels;
                sceneShows += frame.Lum(x, y) >= 12;
            }
            if (end.Lum(x, y) < 150) continue;
            int bestX = -1, bestY = -1, best = 256;
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    int qx = x + dx, qy = y + dy;
                    if (qx < 0 || qy < 0 || qx >= kScreenWidth || qy >= kScreenHeight) continue;
                    if (end.Lum(qx, qy) < best) best = end.Lum(qx, qy), bestX = qx, bestY = qy;
                }
            if (best > 30) continue;
            rise += frame.Lum(x, y) - frame.Lum(bestX, bestY);
            step += end.Lum(x, y) - end.Lum(bestX, bestY);
        }
    }
    ASSERT_GT(step, 0.0) << "the end screen has lettering";
    EXPECT_NEAR(rise / step, 0.5, 0.08) << "the end screen's opacity";
    EXPECT_EQ(belowHalf, 0) << "nothing is darker than half the end screen";
    EXPECT_GT(sceneShows, darkTexels / 100) << "the scene shows through";
}

// The picture goes black within 0.3 s before a cut, stays black while the old camera is still
// the scene's, and clears over 2.5 s once the next one has taken over: m frames after the last
// black frame the fade's opacity is 1 − 0.4 m / fps, so nothing is brighter than that fraction
// of white.
TEST(ShowFrames, ACameraCutFadesToBlackAndBack) {
    ProgramSandbox box;
    const int fps = 10;
    std::string dir = box.File("frames"), err;
    ASSERT_EQ(box.Run({"--size", "160x90", "--fps", std::to_string(fps), "--from", "0", "--to",
                       "120", "--frames", dir},
                      &err),
              0)
        << err;
    const int64_t count = 120 * fps;
    auto frameAt = [&](int64_t k) { return LoadFrame(dir + "/" + EveryFrameName(k, count)); };

    int64_t black = -1;
    for (int64_t k = 2 * fps; k + 3 * fps < count && black < 0; ++k)
        if (frameAt(k).Max() <= 2 && frameAt(k - 4).Max() > 40) black = k;
    ASSERT_GE(black, 0) << "no fade to black in the first two minutes";
    while (black + 3 * fps < count && frameAt(black + 1).Max() <= 2) ++black;

    for (int m = 1; m <= 2 * fps; ++m) {
        double clear = 0.4 * m / fps;
        EXPECT_LE(frameAt(black + m).Max(), std::ceil(clear * 255) + 3)
            << m << " frames after the last black one, at " << black / double(fps) << " s";
    }
    EXPECT_GT(frameAt(black + 3 * fps).Max(), 40) << "the picture comes back";
}

}  // namespace
