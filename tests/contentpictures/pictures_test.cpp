// The show's pictures, read back through the engine's own image loader: sizes, alpha where the
// engine blends with it, words where the layout puts them, and the same bytes on every run.
#include "pictures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/imageloader.h"
#include "support/tempdir.h"

namespace {

struct Decoded {
    int width = 0, height = 0, channels = 0;
    std::vector<unsigned char> pixels;

    int At(int x, int y, int c) const { return pixels[(static_cast<size_t>(y) * width + x) * channels + c]; }
    float Luma(int x, int y) const { return 0.3f * At(x, y, 0) + 0.55f * At(x, y, 1) + 0.15f * At(x, y, 2); }
    // Mean brightness, and the share of pixels brighter than `bright`, in a rectangle.
    float MeanLuma(PictureRect r) const {
        double sum = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) sum += Luma(x, y);
        return static_cast<float>(sum / ((r.right - r.left) * (r.bottom - r.top)));
    }
    float BrightShare(PictureRect r, float bright) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += Luma(x, y) > bright;
        return static_cast<float>(n) / ((r.right - r.left) * (r.bottom - r.top));
    }
    float MeanAlpha(PictureRect r) const {
        double sum = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) sum += At(x, y, 3);
        return static_cast<float>(sum / ((r.right - r.left) * (r.bottom - r.top)));
    }
};

// The file as the engine would load it.
Decoded Load(const std::string& bytes, const std::string& name) {
    TempDir dir;
    WriteFileBytes(dir.File(name), bytes);
    ImageLoader::Pixels data;
    Decoded d;
    EXPECT_TRUE(ImageLoader::Load(dir.File(name), data, d.width, d.height, d.channels)) << name;
    if (data) d.pixels.assign(data.get(), data.get() + static_cast<size_t>(d.width) * d.height * d.channels);
    return d;
}

// Each picture is drawn and encoded once per test program, when a test first needs it.
class Pictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(LoadPictureFonts(&Fonts(), &error)) << error;
    }
    static PictureFonts& Fonts() {
        static PictureFonts fonts;
        return fonts;
    }
    static const PngImage& LoaderImage() {
        static const PngImage image = MakeLoaderTexture(Fonts());
        return image;
    }
    static const PngImage& EndImage() {
        static const PngImage image = MakeEndTexture(Fonts());
        return image;
    }
    static const JpegImage& LoadingImage() {
        static const JpegImage image = MakeLoadingPicture(Fonts());
        return image;
    }
    // Encoded as the content builder writes them.
    static const std::string& LoaderFile() {
        static const std::string file = WritePng(LoaderImage());
        return file;
    }
    static const std::string& EndFile() {
        static const std::string file = WritePng(EndImage());
        return file;
    }
    static const std::string& MaskFile() {
        static const std::string file = WritePng(MakeMaskTexture());
        return file;
    }
    static const std::string& LoadingFile() {
        static const std::string file = WriteJpeg(LoadingImage(), 90);
        return file;
    }
    static const std::string& SetupFile() {
        static const std::string file = WriteJpeg(MakeSetupPicture(Fonts()), 92);
        return file;
    }
};

TEST_F(Pictures, SizesAndChannels) {
    const struct {
        const std::string* bytes;
        const char* name;
        int width, height, channels;
    } cases[] = {
        {&LoaderFile(), "loader.png", kScreenWidth, kScreenHeight, 4},
        {&EndFile(), "end.png", kScreenWidth, kScreenHeight, 4},
        {&MaskFile(), "maskovel.png", kMaskWidth, kMaskHeight, 4},
        {&LoadingFile(), "loader.jpg", kScreenWidth, kScreenHeight, 3},
        {&SetupFile(), "setup.jpg", 400, kSetupHeight, 3},
    };
    for (const auto& c : cases) {
        const Decoded d = Load(*c.bytes, c.name);
        EXPECT_EQ(d.width, c.width) << c.name;
        EXPECT_EQ(d.height, c.height) << c.name;
        EXPECT_EQ(d.channels, c.channels) << c.name;
    }
    // The screens are stretched over a 16:9 frame; the setup dialog needs 155 rows at least.
    EXPECT_EQ(kScreenWidth * 9, kScreenHeight * 16);
    EXPECT_EQ(kMaskWidth * 9, kMaskHeight * 16);
    EXPECT_GE(kSetupHeight, 155);
}

TEST_F(Pictures, ScreensAreOpaque) {
    for (const std::string* bytes : {&LoaderFile(), &EndFile()}) {
        const Decoded d = Load(*bytes, "screen.png");
        EXPECT_EQ(d.MeanAlpha({0, 0, d.width, d.height}), 255.0f);
    }
}

TEST_F(Pictures, MaskDarkensTheEdgesOnly) {
    const Decoded d = Load(MaskFile(), "maskovel.png");
    ASSERT_EQ(d.channels, 4);
    const int w = d.width, h = d.height;
    const PictureRect centre{w * 3 / 8, h * 3 / 8, w * 5 / 8, h * 5 / 8};
    EXPECT_LT(d.MeanAlpha(centre), 0.1f * 255);
    EXPECT_LT(d.MeanAlpha({w * 1 / 4, h * 1 / 4, w * 3 / 4, h * 3 / 4}), 0.15f * 255);
    for (const PictureRect corner : {PictureRect{0, 0, 8, 8}, PictureRect{w - 8, 0, w, 8},
                                     PictureRect{0, h - 8, 8, h}, PictureRect{w - 8, h - 8, w, h}})
        EXPECT_GT(d.MeanAlpha(corner), 0.8f * 255);
    // Along the diagonal, on the rows without a scanline, the mask only ever grows darker.
    int previous = -1;
    for (int y = h / 2; y < h; y += 2) {
        const int a = d.At(w / 2 + (y - h / 2) * w / h, y, 3);
        EXPECT_GE(a, previous) << "row " << y;
        previous = a;
    }
    // Faint scanlines: neighbouring rows in the middle differ, but only a little.
    const int even = d.At(w / 2, h / 2, 3), odd = d.At(w / 2, h / 2 + 1, 3);
    EXPECT_GT(odd, even);
    EXPECT_LT(odd - even, 0.2f * 255);
    // It is a mask, not a picture: one dark colour throughout.
    for (int y = 0; y < h; y += 7)
        for (int x = 0; x < w; x += 7)
            ASSERT_LT(d.At(x, y, 0) + d.At(x, y, 1) + d.At(x, y, 2), 3 * 16) << x << "," << y;
}

TEST_F(Pictures, WordsAreWhereTheLayoutPutsThem) {
    const struct {
        const std::string* bytes;
        const char* name;
        PictureRect title;
    } cases[] = {
        {&LoaderFile(), "loader.png", kLoaderTitle},
        {&EndFile(), "end.png", kEndTitle},
        {&SetupFile(), "setup.jpg", kSetupTitle},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = Load(*c.bytes, c.name);
        // Bright letters with dark gaps, over a dark background above them.
        const int band = std::min(c.title.top, 40);
        const PictureRect above{c.title.left, c.title.top - band, c.title.right, c.title.top - band / 2};
        EXPECT_GT(d.MeanLuma(c.title), 3 * d.MeanLuma(above) + 20);
        const float share = d.BrightShare(c.title, 110);
        EXPECT_GT(share, 0.2f);
        EXPECT_LT(share, 0.8f);
        // The word fills its rectangle's width: ink in its left and right tenth.
        const int tenth = (c.title.right - c.title.left) / 10;
        EXPECT_GT(d.BrightShare({c.title.left, c.title.top, c.title.left + tenth, c.title.bottom}, 110), 0.1f);
        EXPECT_GT(d.BrightShare({c.title.right - tenth, c.title.top, c.title.right, c.title.bottom}, 110), 0.1f);
    }
    // The setup dialog shows only its top rows: the title is within them.
    EXPECT_LE(kSetupTitle.bottom, kSetupVisibleRows);

    // The credits under the end screen's name, and the subtitle under the start screen's.
    const Decoded end = Load(EndFile(), "end.png");
    EXPECT_GT(end.BrightShare({300, 200, 724, 440}, 110), 0.02f);
    const Decoded loader = Load(LoaderFile(), "loader.png");
    EXPECT_GT(loader.BrightShare({300, 356, 724, 390}, 110), 0.05f);
}

TEST_F(Pictures, SameBytesEveryRun) {
    // The writers repeat their bytes for the same pixels (their own tests say so), so drawing
    // the same pixels again is what a second run must do.
    EXPECT_TRUE(MakeLoaderTexture(Fonts()).samples == LoaderImage().samples);
    EXPECT_TRUE(MakeEndTexture(Fonts()).samples == EndImage().samples);
    EXPECT_TRUE(MakeLoadingPicture(Fonts()).pixels == LoadingImage().pixels);
    EXPECT_EQ(WritePng(MakeMaskTexture()), MaskFile());
    EXPECT_EQ(WriteJpeg(MakeSetupPicture(Fonts()), 92), SetupFile());
}

}  // namespace
