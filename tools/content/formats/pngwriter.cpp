#include "formats/pngwriter.h"

#include <csetjmp>
#include <cstddef>
#include <utility>

#include <png.h>
#include <zlib.h>

#include "base/assert.h"

namespace {

bool ValidBitDepth(PngColor color, int depth) {
    switch (color) {
        case PngColor::Grey:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        case PngColor::Palette:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8;
        default:
            return depth == 8 || depth == 16;
    }
}

int PngColorType(PngColor color) {
    switch (color) {
        case PngColor::Grey:
            return PNG_COLOR_TYPE_GRAY;
        case PngColor::GreyAlpha:
            return PNG_COLOR_TYPE_GRAY_ALPHA;
        case PngColor::Rgb:
            return PNG_COLOR_TYPE_RGB;
        case PngColor::Rgba:
            return PNG_COLOR_TYPE_RGB_ALPHA;
        case PngColor::Palette:
            return PNG_COLOR_TYPE_PALETTE;
    }
    return PNG_COLOR_TYPE_RGB_ALPHA;
}

[[noreturn]] void Fail(const std::string& why) { ReportFatal("PNG writer: " + why); }

void Validate(const PngImage& image) {
    if (image.width <= 0 || image.height <= 0) Fail("width and height must be positive");
    if (!ValidBitDepth(image.color, image.bitDepth)) {
        Fail("bit depth " + std::to_string(image.bitDepth) + " is not allowed for this colour");
    }
    const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) *
                         static_cast<size_t>(PngChannels(image.color));
    if (image.samples.size() != count) {
        Fail("expected " + std::to_string(count) + " samples, got " +
             std::to_string(image.samples.size()));
    }
    uint32_t limit = 1u << image.bitDepth;
    if (image.color == PngColor::Palette) {
        const size_t entries = image.palette.size() / 3;
        if (image.palette.size() % 3 != 0 || entries == 0 || entries > 256) {
            Fail("the palette must hold 1 to 256 RGB triples");
        }
        if (entries < limit) limit = static_cast<uint32_t>(entries);
    } else if (!image.palette.empty()) {
        Fail("only palette images take a palette");
    }
    for (size_t i = 0; i < count; ++i) {
        if (image.samples[i] >= limit) {
            Fail("sample " + std::to_string(i) +
                 " is out of range: " + std::to_string(image.samples[i]));
        }
    }
}

// The image's rows as the file stores them: 16-bit samples big-endian, samples below 8 bits
// packed from the most significant bit.
std::vector<png_byte> PackRows(const PngImage& image, size_t rowBytes) {
    const size_t perRow = static_cast<size_t>(image.width) * PngChannels(image.color);
    std::vector<png_byte> packed(rowBytes * image.height, 0);
    for (int y = 0; y < image.height; ++y) {
        const uint16_t* in = image.samples.data() + y * perRow;
        png_byte* out = packed.data() + y * rowBytes;
        for (size_t i = 0; i < perRow; ++i) {
            if (image.bitDepth == 16) {
                out[2 * i] = static_cast<png_byte>(in[i] >> 8);
                out[2 * i + 1] = static_cast<png_byte>(in[i]);
            } else if (image.bitDepth == 8) {
                out[i] = static_cast<png_byte>(in[i]);
            } else {
                const size_t bit = i * image.bitDepth;
                const int shift = 8 - image.bitDepth - static_cast<int>(bit % 8);
                out[bit / 8] = static_cast<png_byte>(out[bit / 8] | (in[i] << shift));
            }
        }
    }
    return packed;
}

struct PngEncode {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::string bytes;
    std::vector<png_byte> packed;
    std::vector<png_bytep> rows;
    std::vector<png_color> palette;
};

void WriteToString(png_structp png, png_bytep data, png_size_t size) {
    static_cast<PngEncode*>(png_get_io_ptr(png))->bytes.append(reinterpret_cast<char*>(data), size);
}

void NoFlush(png_structp) {}

// Holds no objects with destructors: libpng's error jump comes back here.
bool Encode(const PngImage& image, PngEncode& e) {
    if (setjmp(png_jmpbuf(e.png))) return false;
    png_set_write_fn(e.png, &e, WriteToString, NoFlush);
    png_set_compression_level(e.png, Z_BEST_COMPRESSION);
    png_set_IHDR(e.png, e.info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), image.bitDepth, PngColorType(image.color),
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!e.palette.empty()) {
        png_set_PLTE(e.png, e.info, e.palette.data(), static_cast<int>(e.palette.size()));
    }
    png_write_info(e.png, e.info);
    png_write_image(e.png, e.rows.data());
    png_write_end(e.png, e.info);
    return true;
}

}  // namespace

int PngChannels(PngColor color) {
    switch (color) {
        case PngColor::GreyAlpha:
            return 2;
        case PngColor::Rgb:
            return 3;
        case PngColor::Rgba:
            return 4;
        default:
            return 1;
    }
}

std::string WritePng(const PngImage& image) {
    Validate(image);

    PngEncode e;
    const size_t bits = static_cast<size_t>(image.width) * PngChannels(image.color) *
                        static_cast<size_t>(image.bitDepth);
    const size_t rowBytes = (bits + 7) / 8;
    e.packed = PackRows(image, rowBytes);
    for (int y = 0; y < image.height; ++y) e.rows.push_back(e.packed.data() + y * rowBytes);
    for (size_t i = 0; i + 2 < image.palette.size(); i += 3) {
        e.palette.push_back({image.palette[i], image.palette[i + 1], image.palette[i + 2]});
    }

    e.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (e.png) e.info = png_create_info_struct(e.png);
    const bool ok = e.info && Encode(image, e);
    png_destroy_write_struct(&e.png, &e.info);
    if (!ok) Fail("libpng could not encode the image");
    return std::move(e.bytes);
}
