#include "content/imageloader.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/log.h"
#include "content/fileutils.h"
#include "formats/jpegwriter.h"
#include "formats/pngwriter.h"
#include "support/fatalcapture.h"
#include "support/tempdir.h"

namespace {

using Loader = bool (*)(const std::string&, ImageLoader::Pixels&, int&, int&, int&, std::string*);

struct Decoded {
    bool ok = false;
    int width = -1;
    int height = -1;
    int bytesPerPixel = -1;
    std::vector<unsigned char> pixels;
    std::string reason;  // why it failed
};

Decoded Decode(const std::string& path, Loader loader = ImageLoader::Load) {
    Decoded d;
    ImageLoader::Pixels data;
    d.ok = loader(path, data, d.width, d.height, d.bytesPerPixel, &d.reason);
    if (d.ok) {
        EXPECT_NE(data, nullptr);
        const size_t size = static_cast<size_t>(d.width) * d.height * d.bytesPerPixel;
        d.pixels.assign(data.get(), data.get() + size);
    }
    return d;
}

PngImage Png(PngColor color, int bitDepth, int width, int height, std::vector<uint16_t> samples,
             std::vector<uint8_t> palette = {}) {
    PngImage image;
    image.color = color;
    image.bitDepth = bitDepth;
    image.width = width;
    image.height = height;
    image.samples = std::move(samples);
    image.palette = std::move(palette);
    return image;
}

std::vector<uint8_t> GreyRamp(int entries) {
    std::vector<uint8_t> palette;
    for (int i = 0; i < entries; ++i) palette.insert(palette.end(), 3, static_cast<uint8_t>(i));
    return palette;
}

// ---- PNG ------------------------------------------------------------------------------------

struct PngCase {
    const char* what;
    PngImage image;
    int bytesPerPixel;
    std::vector<unsigned char> pixels;
};

TEST(LoadPng, DecodesEveryKindToEightBitsPerChannel) {
    const PngCase cases[] = {
        {"RGB rows come top first",
         Png(PngColor::Rgb, 8, 2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
         3,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        // 0x12FF scales to 19 (rounded); taking the high byte would give 18
        {"16-bit RGBA is scaled to 8 bits",
         Png(PngColor::Rgba, 16, 2, 1, {0, 65535, 0x12FF, 25700, 257, 514, 0xFFFF, 0}),
         4,
         {0, 255, 19, 100, 1, 2, 255, 0}},
        {"grey becomes RGB",
         Png(PngColor::Grey, 8, 3, 1, {0, 77, 255}),
         3,
         {0, 0, 0, 77, 77, 77, 255, 255, 255}},
        {"4-bit grey is widened to 8 bits",
         Png(PngColor::Grey, 4, 3, 1, {0, 5, 15}),
         3,
         {0, 0, 0, 85, 85, 85, 255, 255, 255}},
        {"1-bit grey across a byte boundary",
         Png(PngColor::Grey, 1, 10, 1, {1, 0, 0, 0, 0, 0, 0, 0, 0, 1}),
         3,
         {255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,   0,   0,
          0,   0,   0,   0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255}},
        {"16-bit grey", Png(PngColor::Grey, 16, 1, 1, {0x12FF}), 3, {19, 19, 19}},
        {"grey with alpha becomes RGBA",
         Png(PngColor::GreyAlpha, 8, 2, 1, {10, 200, 0, 255}),
         4,
         {10, 10, 10, 200, 0, 0, 0, 255}},
        {"16-bit grey with alpha",
         Png(PngColor::GreyAlpha, 16, 1, 1, {0x12FF, 0xFFFF}),
         4,
         {19, 19, 19, 255}},
        {"palette keeps one index byte",
         Png(PngColor::Palette, 8, 3, 1, {0, 199, 7}, GreyRamp(200)),
         1,
         {0, 199, 7}},
        {"2-bit palette indices are unpacked",
         Png(PngColor::Palette, 2, 5, 2, {0, 1, 2, 3, 1, 3, 3, 0, 0, 2}, GreyRamp(4)),
         1,
         {0, 1, 2, 3, 1, 3, 3, 0, 0, 2}},
    };
    TempDir dir;
    for (const PngCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.File("image.png");
        WriteFileBytes(path, WritePng(c.image));
        for (Loader loader : {ImageLoader::Load, ImageLoader::LoadPng}) {
            Decoded d = Decode(path, loader);
            ASSERT_TRUE(d.ok);
            EXPECT_EQ(d.width, c.image.width);
            EXPECT_EQ(d.height, c.image.height);
            EXPECT_EQ(d.bytesPerPixel, c.bytesPerPixel);
            EXPECT_EQ(d.pixels, c.pixels);
        }
    }
}

PngImage Pattern(int width, int height) {
    PngImage image = Png(PngColor::Rgba, 8, width, height, {});
    for (int i = 0; i < width * height * 4; ++i) {
        image.samples.push_back(static_cast<uint16_t>((i * 37 + i / 7) & 0xFF));
    }
    return image;
}

TEST(LoadPng, InterlacedImageComesOutInRowOrder) {
    PngImage image = Pattern(7, 5);
    image.interlaced = true;
    TempDir dir;
    WriteFileBytes(dir.File("a.png"), WritePng(image));
    Decoded d = Decode(dir.File("a.png"));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.pixels, std::vector<unsigned char>(image.samples.begin(), image.samples.end()));
}

TEST(LoadPng, EveryTruncationOrSingleByteCorruptionFails) {
    PngImage image = Pattern(6, 5);
    image.interlaced = true;
    const std::string bytes = WritePng(image);
    TempDir dir;
    const std::string path = dir.File("cut.png");
    for (size_t length = 0; length < bytes.size(); ++length) {
        WriteFileBytes(path, bytes.substr(0, length));
        Decoded d = Decode(path);
        EXPECT_FALSE(d.ok) << "cut at " << length;
        EXPECT_EQ(d.reason, length == 0 ? "empty file" : "truncated") << "cut at " << length;
    }
    for (size_t at = 0; at < bytes.size(); ++at) {
        std::string corrupt = bytes;
        corrupt[at] = static_cast<char>(corrupt[at] ^ 0x5A);
        WriteFileBytes(path, corrupt);
        Decoded d = Decode(path);
        EXPECT_FALSE(d.ok) << "byte " << at << " changed";
        if (at < 8) {
            EXPECT_EQ(d.reason, "not a PNG file") << "byte " << at << " changed";
        }
    }
}

void AppendChunk(std::string& png, const char* type, const std::string& data) {
    const uint32_t length = static_cast<uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8) png += static_cast<char>(length >> shift);
    const std::string body = std::string(type, 4) + data;
    png += body;
    const uint32_t crc =
        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    for (int shift = 24; shift >= 0; shift -= 8) png += static_cast<char>(crc >> shift);
}

// A 1-bit palette PNG whose pixels are all index 0, made by hand so that a huge image stays
// cheap. Only the first rowsWithData rows are stored, so a smaller count gives a file that
// claims more rows than it holds.
std::string BlankPalettePng(uint32_t width, uint32_t height, uint32_t rowsWithData) {
    std::string header;
    for (uint32_t v : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) header += static_cast<char>(v >> shift);
    }
    header += std::string("\x01\x03\x00\x00\x00", 5);  // depth 1, palette, no interlace

    z_stream z{};
    EXPECT_EQ(deflateInit(&z, Z_BEST_COMPRESSION), Z_OK);
    std::vector<Bytef> row(1 + (width + 7) / 8, 0);  // filter byte "none", then zeros
    std::string compressed;
    std::vector<Bytef> out(1 << 16);
    for (uint32_t y = 0; y <= rowsWithData; ++y) {
        const bool last = y == rowsWithData;
        z.next_in = row.data();
        z.avail_in = last ? 0 : static_cast<uInt>(row.size());
        do {
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            compressed.append(reinterpret_cast<char*>(out.data()), out.size() - z.avail_out);
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);

    std::string png("\x89PNG\r\n\x1a\n", 8);
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "PLTE", std::string("\x00\x00\x00\xff\xff\xff", 6));
    AppendChunk(png, "IDAT", compressed);
    AppendChunk(png, "IEND", "");
    return png;
}

TEST(LoadPng, ImagesOverTheLimitAreRefused) {
    TempDir dir;
    const std::string path = dir.File("big.png");

    // 8000 × 8000 is exactly the limit and loads; one more column is refused although the
    // file is complete and valid.
    WriteFileBytes(path, BlankPalettePng(8000, 8000, 8000));
    Decoded atLimit = Decode(path);
    ASSERT_TRUE(atLimit.ok);
    EXPECT_EQ(atLimit.width * atLimit.height, static_cast<int>(ImageLoader::kMaxImagePixels));
    EXPECT_EQ(atLimit.bytesPerPixel, 1);
    EXPECT_EQ(atLimit.pixels.back(), 0);
    atLimit.pixels = {};

    WriteFileBytes(path, BlankPalettePng(8001, 8000, 8000));
    Decoded over = Decode(path);
    EXPECT_FALSE(over.ok);
    EXPECT_EQ(over.reason, "8001 x 8000 pixels, more than 64000000");

    // A header whose pixel count wraps around in 32 bits (65537 × 65536 = 2^32 + 65536) is
    // still far too large. The refusal comes before any pixel data is read, so libpng has no
    // error to print.
    WriteFileBytes(path, BlankPalettePng(65537, 65536, 1));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Decode(path).ok);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// ---- JPEG -----------------------------------------------------------------------------------

JpegImage Jpeg(int width, int height, int components) {
    JpegImage image;
    image.width = width;
    image.height = height;
    image.components = components;
    image.pixels.resize(static_cast<size_t>(width) * height * components);
    return image;
}

// Left half red, right half blue.
JpegImage RedBlue(int width, int height) {
    JpegImage image = Jpeg(width, height, 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &image.pixels[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = x < width / 2 ? 220 : 10;
            p[1] = 20;
            p[2] = x < width / 2 ? 10 : 230;
        }
    }
    return image;
}

TEST(LoadJpeg, DecodesRgbAtThreeBytesPerPixel) {
    TempDir dir;
    const std::string path = dir.File("photo.jpg");
    const JpegImage image = RedBlue(32, 16);
    WriteFileBytes(path, WriteJpeg(image, 95));
    for (Loader loader : {ImageLoader::Load, ImageLoader::LoadJpeg}) {
        Decoded d = Decode(path, loader);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.width, 32);
        EXPECT_EQ(d.height, 16);
        EXPECT_EQ(d.bytesPerPixel, 3);
        // Away from the colour edge a high quality file is close to its source.
        for (int y = 0; y < 16; ++y) {
            for (int x : {0, 5, 10, 21, 26, 31}) {
                const size_t i = (static_cast<size_t>(y) * 32 + x) * 3;
                for (int c = 0; c < 3; ++c) {
                    EXPECT_NEAR(d.pixels[i + c], image.pixels[i + c], 12)
                        << "x " << x << " y " << y << " channel " << c;
                }
            }
        }
    }
}

TEST(LoadJpeg, GreyFillsAllThreeBytes) {
    JpegImage image = Jpeg(16, 16, 1);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = static_cast<uint8_t>(40 + (i % 16) * 8);
    }
    TempDir dir;
    const std::string path = dir.File("grey.jpg");
    WriteFileBytes(path, WriteJpeg(image, 100));
    Decoded d = Decode(path);
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.bytesPerPixel, 3);
    ASSERT_EQ(d.pixels.size(), 16u * 16u * 3u);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        EXPECT_EQ(d.pixels[3 * i], d.pixels[3 * i + 1]) << i;
        EXPECT_EQ(d.pixels[3 * i], d.pixels[3 * i + 2]) << i;
        EXPECT_NEAR(d.pixels[3 * i], image.pixels[i], 3) << i;
    }
}

// Offset of the start-of-scan marker; the image data follows its segment.
size_t ScanOffset(const std::string& jpeg) {
    size_t at = 2;  // past the start-of-image marker
    while (at + 4 <= jpeg.size()) {
        EXPECT_EQ(static_cast<unsigned char>(jpeg[at]), 0xFF);
        if (static_cast<unsigned char>(jpeg[at + 1]) == 0xDA) return at;
        at += 2 + static_cast<unsigned char>(jpeg[at + 2]) * 256u +
              static_cast<unsigned char>(jpeg[at + 3]);
    }
    ADD_FAILURE() << "no start-of-scan segment";
    return jpeg.size();
}

TEST(LoadJpeg, TruncatedOrCorruptFilesNeverYieldAShortBuffer) {
    const std::string bytes = WriteJpeg(RedBlue(24, 16), 80);
    const size_t scan = ScanOffset(bytes);
    TempDir dir;
    const std::string path = dir.File("cut.jpg");
    // libjpeg itself only warns about a file cut inside the image data and fills the rest with
    // grey; the loader refuses every cut, before the start of scan (at byte scan) or after it.
    ASSERT_GT(scan, 0u);
    for (size_t length = 0; length < bytes.size(); ++length) {
        WriteFileBytes(path, bytes.substr(0, length));
        Decoded d = Decode(path);
        EXPECT_FALSE(d.ok) << "cut at " << length;
        EXPECT_EQ(d.reason, length == 0 ? "empty file" : "truncated") << "cut at " << length;
    }
    // A changed byte may alter the declared size, but a result is always a full buffer, which
    // Decode reads to its end.
    for (size_t at = 0; at < bytes.size(); ++at) {
        std::string corrupt = bytes;
        corrupt[at] = static_cast<char>(corrupt[at] ^ 0x5A);
        WriteFileBytes(path, corrupt);
        Decoded d = Decode(path);
        if (d.ok) {
            EXPECT_GT(d.width, 0);
            EXPECT_GT(d.height, 0);
            EXPECT_EQ(d.bytesPerPixel, 3);
        }
    }
}

// Overwrites the frame size of a baseline JPEG.
std::string WithFrameSize(std::string jpeg, uint16_t width, uint16_t height) {
    const size_t sof = jpeg.find("\xFF\xC0");
    EXPECT_NE(sof, std::string::npos);
    jpeg[sof + 5] = static_cast<char>(height >> 8);
    jpeg[sof + 6] = static_cast<char>(height);
    jpeg[sof + 7] = static_cast<char>(width >> 8);
    jpeg[sof + 8] = static_cast<char>(width);
    return jpeg;
}

TEST(LoadJpeg, ImagesOverTheLimitAreRefused) {
    // The data is for 8 × 8 pixels only. libjpeg would decode the rest as grey and succeed,
    // so only the size check stops these.
    const std::string small = WriteJpeg(Jpeg(8, 8, 1), 75);
    TempDir dir;
    const std::string path = dir.File("big.jpg");
    for (uint16_t side : {8001, 65500}) {
        SCOPED_TRACE(side);
        WriteFileBytes(path, WithFrameSize(small, side, 8000));
        testing::internal::CaptureStderr();
        EXPECT_FALSE(Decode(path).ok);
        testing::internal::GetCapturedStderr();
    }
}

// ---- choosing the decoder, and files that can't be read --------------------------------------

TEST(LoadImage, ExtensionChoosesTheDecoderInAnyCase) {
    TempDir dir;
    const std::string png = WritePng(Png(PngColor::Rgb, 8, 1, 1, {1, 2, 3}));
    const std::string jpeg = WriteJpeg(RedBlue(8, 8), 90);
    struct {
        const char* name;
        const std::string& bytes;
        int bytesPerPixel;  // 0: not loaded
    } cases[] = {
        {"Sky.PNG", png, 3},     {"dir.jpg/sky.png", png, 3},
        {"Photo.JpG", jpeg, 3},  {"photo.jpeg", jpeg, 0},  // only "jpg" names a JPEG
        {"sky.bmp", png, 0},     {"sky", png, 0},
        {"sky.png.bak", png, 0}, {".png", png, 0},  // a leading dot alone is not an extension
        {"sky.png", jpeg, 0},  // the extension decides; the decoder then rejects the bytes
    };
    std::filesystem::create_directory(dir.File("dir.jpg"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(dir.File(c.name), c.bytes);
        testing::internal::CaptureStderr();
        Decoded d = Decode(dir.File(c.name));
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(d.ok, c.bytesPerPixel != 0);
        if (d.ok) {
            EXPECT_EQ(d.bytesPerPixel, c.bytesPerPixel);
        }
    }
}

TEST(LoadImage, UnreadableFilesFailAndLeaveTheOutputsAlone) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("folder.png"));
    std::filesystem::create_directory(dir.File("folder.jpg"));
    WriteFileBytes(dir.File("empty.png"), "");
    WriteFileBytes(dir.File("empty.jpg"), "");
    for (const char* name :
         {"missing.png", "missing.jpg", "folder.png", "folder.jpg", "empty.png", "empty.jpg"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.File(name);
        ImageLoader::Pixels data(new unsigned char[1]);
        unsigned char* const before = data.get();
        int width = 11, height = 12, bytesPerPixel = 13;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(ImageLoader::Load(path, data, width, height, bytesPerPixel));
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(data.get(), before);
        EXPECT_EQ(width, 11);
        EXPECT_EQ(height, 12);
        EXPECT_EQ(bytesPerPixel, 13);
    }
}

TEST(LoadImage, ReasonsSayWhatIsWrongWithTheFile) {
    TempDir dir;
    const std::string png = WritePng(Pattern(6, 5));
    const std::string jpeg = WriteJpeg(RedBlue(24, 16), 80);
    std::string badCrc = png;
    badCrc.back() = static_cast<char>(badCrc.back() ^ 1);  // IEND's CRC
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"text.png", "just some text\n", "not a PNG file"},
        {"text.jpg", "just some text\n", "not a JPEG file"},
        {"jpeg.png", jpeg, "not a PNG file"},
        {"png.jpg", png, "not a JPEG file"},
        {"cut.png", png.substr(0, png.size() / 2), "truncated"},
        {"cut.jpg", jpeg.substr(0, jpeg.size() / 2), "truncated"},
        {"empty.png", "", "empty file"},
        {"crc.png", badCrc, "IEND: CRC error"},  // libpng's own words for other faults
        {"sky.bmp", png, "not a .png or .jpg file"},
    };
    for (const auto& c : cases) {
        WriteFileBytes(dir.File(c.name), c.bytes);
        Decoded d = Decode(dir.File(c.name));
        EXPECT_FALSE(d.ok) << c.name;
        EXPECT_EQ(d.reason, c.reason) << c.name;
    }
    EXPECT_EQ(Decode(dir.File("missing.jpg")).reason, "can't be opened: No such file or directory");
}

// Failures and libpng's warnings go to the log, each naming the file below the content root;
// neither library prints on its own.
TEST(LoadImage, TheLogNamesTheFileOfEachFailureAndWarning) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("textures"));
    WriteFileBytes(dir.File("textures/end.png"), "not a picture");
    const std::string jpeg = WriteJpeg(RedBlue(24, 16), 80);
    WriteFileBytes(dir.File("loader.jpg"), jpeg.substr(0, jpeg.size() - 40));
    // A text chunk with a wrong CRC is ancillary: libpng warns and drops it.
    std::string png = WritePng(Pattern(2, 2));
    std::string text;
    AppendChunk(text, "tEXt", std::string("Comment\0hello", 13));
    text[text.size() - 1] = static_cast<char>(text[text.size() - 1] ^ 1);
    png.insert(png.size() - 12, text);  // before IEND
    WriteFileBytes(dir.File("textures/note.png"), png);

    SetContentRoot(dir.Path() + "/");
    InitLog(true, false, false, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Decode(dir.File("textures/end.png")).ok);
    EXPECT_FALSE(Decode(dir.File("loader.jpg")).ok);
    EXPECT_TRUE(Decode(dir.File("textures/note.png")).ok);
    const std::string log = testing::internal::GetCapturedStderr();
    InitLog(false, false, false, nullptr);
    SetContentRoot("");

    std::vector<std::string> messages;
    for (size_t at = 0; (at = log.find("] ", at)) != std::string::npos; at += 2)
        messages.push_back(log.substr(at + 2, log.find('\n', at) - at - 2));
    EXPECT_EQ(messages,
              (std::vector<std::string>{"textures/end.png: not a PNG file", "loader.jpg: truncated",
                                        "textures/note.png: warning: tEXt: CRC error"}))
        << log;
}

TEST(LoadImage, EmptyPathIsFatal) {
    const std::string message = CaptureFatal([] {
        ImageLoader::Pixels data;
        int width, height, bytesPerPixel;
        ImageLoader::Load("", data, width, height, bytesPerPixel);
    });
    EXPECT_NE(message.find("Assertion failed: !path.empty(), file imageloader.cpp, line "),
              std::string::npos)
        << message;
}

}  // namespace
