// The PNG and JPEG writers: what they produce is checked by decoding it in the loader tests;
// here, that output repeats exactly and that malformed images are refused.
#include <gtest/gtest.h>

#include "formats/jpegwriter.h"
#include "formats/pngwriter.h"
#include "support/fatalcapture.h"

namespace {

PngImage Rgba(int width, int height) {
    PngImage image;
    image.width = width;
    image.height = height;
    for (int i = 0; i < width * height * 4; ++i) {
        image.samples.push_back(static_cast<uint16_t>(i * 13 % 256));
    }
    return image;
}

JpegImage Grey(int width, int height) {
    JpegImage image;
    image.width = width;
    image.height = height;
    image.components = 1;
    for (int i = 0; i < width * height; ++i) image.pixels.push_back(static_cast<uint8_t>(i * 7));
    return image;
}

TEST(ImageWriters, OutputRepeatsExactly) {
    EXPECT_EQ(WritePng(Rgba(9, 7)), WritePng(Rgba(9, 7)));
    EXPECT_EQ(WriteJpeg(Grey(20, 10), 85), WriteJpeg(Grey(20, 10), 85));
    EXPECT_NE(WriteJpeg(Grey(20, 10), 85), WriteJpeg(Grey(20, 10), 30));
}

TEST(ImageWriters, MalformedPngIsFatal) {
    struct {
        const char* what;
        PngImage image;
        const char* message;
    } cases[] = {
        {"no pixels", Rgba(0, 3), "PNG writer: width and height must be positive"},
        {"too few samples", Rgba(2, 2), "PNG writer: expected 16 samples, got 15"},
        {"4-bit RGBA", Rgba(2, 2), "PNG writer: bit depth 4 is not allowed for this colour"},
        {"sample too large", Rgba(2, 2), "PNG writer: sample 3 is out of range: 256"},
        {"index past the palette", Rgba(1, 1), "PNG writer: sample 0 is out of range: 2"},
        {"palette on RGBA", Rgba(1, 1), "PNG writer: only palette images take a palette"},
    };
    cases[1].image.samples.pop_back();
    cases[2].image.bitDepth = 4;
    cases[3].image.samples[3] = 256;
    cases[4].image.color = PngColor::Palette;
    cases[4].image.samples = {2};
    cases[4].image.palette = {0, 0, 0, 9, 9, 9};
    cases[5].image.palette = {0, 0, 0};
    for (const auto& c : cases) {
        EXPECT_EQ(CaptureFatal([&] { WritePng(c.image); }), c.message) << c.what;
    }
}

TEST(ImageWriters, MalformedJpegIsFatal) {
    JpegImage twoChannels = Grey(2, 2);
    twoChannels.components = 2;
    twoChannels.pixels.resize(8);
    JpegImage short_ = Grey(2, 2);
    short_.pixels.pop_back();
    EXPECT_EQ(CaptureFatal([&] { WriteJpeg(twoChannels, 90); }),
              "JPEG writer: components must be 1 or 3");
    EXPECT_EQ(CaptureFatal([&] { WriteJpeg(short_, 90); }), "JPEG writer: expected 4 bytes, got 3");
    EXPECT_EQ(CaptureFatal([&] { WriteJpeg(Grey(2, 2), 0); }),
              "JPEG writer: quality must be 1 to 100");
    EXPECT_EQ(CaptureFatal([&] { WriteJpeg(Grey(70000, 1), 90); }),
              "JPEG writer: width and height must be 1 to 65500");
}

}  // namespace
