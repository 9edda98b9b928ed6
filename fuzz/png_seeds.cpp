// Writes seed PNG files for the png fuzzer into the folder given as the only argument, with the
// PNG writer: every colour type at every bit depth it allows, some of them interlaced. The
// writer has no transparency chunk, so the "tRNS" seeds get one put in by hand before the image
// data; and one seed declares a size past the loader's pixel cap.
#include <cstdint>
#include <string>
#include <vector>

#include "seedsupport.h"

#include "formats/pngwriter.h"
#include "formats/zipwriter.h"

namespace {

constexpr int kWidth = 7;
constexpr int kHeight = 5;

PngImage Image(PngColor color, int bitDepth, bool interlaced = false) {
    PngImage image;
    image.width = kWidth;
    image.height = kHeight;
    image.color = color;
    image.bitDepth = bitDepth;
    image.interlaced = interlaced;
    const int samples = kWidth * kHeight * PngChannels(color);
    const uint32_t range = color == PngColor::Palette ? (1u << (bitDepth < 8 ? bitDepth : 5))
                                                      : (1u << bitDepth);
    for (int i = 0; i < samples; ++i)
        image.samples.push_back(static_cast<uint16_t>((i * 2654435761u >> 7) % range));
    if (color == PngColor::Palette) {
        for (uint32_t i = 0; i < range; ++i) {
            image.palette.push_back(static_cast<uint8_t>(i * 40));
            image.palette.push_back(static_cast<uint8_t>(255 - i * 7));
            image.palette.push_back(static_cast<uint8_t>(i * 3));
        }
    }
    return image;
}

std::string BigEndian32(uint32_t v) {
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(v >> shift);
    return out;
}

// A whole chunk: length, type, data, CRC-32 of type and data (the zip checksum is the same).
std::string Chunk(const std::string& type, const std::string& data) {
    const std::string body = type + data;
    return BigEndian32(static_cast<uint32_t>(data.size())) + body +
           BigEndian32(ZipWriter::Crc32(body));
}

// The writer's file with a "tRNS" chunk put in before the first "IDAT".
std::string WithTransparency(const PngImage& image, const std::string& trns) {
    std::string png = WritePng(image);
    const size_t idat = png.find("IDAT");
    if (idat == std::string::npos || idat < 4) return png;
    return png.insert(idat - 4, Chunk("tRNS", trns));
}

// The writer's file with the header's size replaced; the data stays that of the real size.
std::string WithSize(const PngImage& image, uint32_t width, uint32_t height) {
    std::string png = WritePng(image);
    std::string header = png.substr(16, 13);
    header.replace(0, 8, BigEndian32(width) + BigEndian32(height));
    return png.replace(8, 25, Chunk("IHDR", header));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    bool ok = true;
    auto save = [&](const std::string& name, const std::string& bytes) {
        ok = Save(folder, name, bytes) && ok;
    };
    const struct {
        const char* name;
        PngColor color;
        std::vector<int> depths;
    } kinds[] = {
        {"grey", PngColor::Grey, {1, 2, 4, 8, 16}},
        {"grey-alpha", PngColor::GreyAlpha, {8, 16}},
        {"rgb", PngColor::Rgb, {8, 16}},
        {"rgba", PngColor::Rgba, {8, 16}},
        {"palette", PngColor::Palette, {1, 2, 4, 8}},
    };
    for (const auto& kind : kinds) {
        for (int depth : kind.depths) {
            const std::string name = std::string(kind.name) + std::to_string(depth);
            save(name + ".png", WritePng(Image(kind.color, depth)));
            save(name + "-interlaced.png", WritePng(Image(kind.color, depth, true)));
        }
    }
    save("palette8-trns.png", WithTransparency(Image(PngColor::Palette, 8),
                                               std::string("\x00\x80\xff\x10", 4)));
    save("palette2-trns-interlaced.png",
         WithTransparency(Image(PngColor::Palette, 2, true), std::string("\x40", 1)));
    save("grey8-trns.png", WithTransparency(Image(PngColor::Grey, 8), std::string("\x00\x07", 2)));
    save("rgb16-trns.png",
         WithTransparency(Image(PngColor::Rgb, 16), std::string("\x00\x01\x00\x02\x00\x03", 6)));
    // 65 million pixels, within libpng's own limits, so that the loader's cap is what refuses.
    save("over-the-cap.png", WithSize(Image(PngColor::Palette, 1), 1000000, 65));
    return ok ? 0 : 1;
}
