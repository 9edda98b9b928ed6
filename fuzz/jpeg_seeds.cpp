// Writes seed JPEG files for the jpeg fuzzer into the folder given as the only argument, with
// the JPEG writer: grey and colour at several sizes (whole and partial blocks) and qualities,
// and one whose frame declares a size past the loader's pixel cap. The writer makes baseline
// grey and RGB only, so a progressive and a CMYK file come from libjpeg directly.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "seedsupport.h"

#include "formats/jpegwriter.h"

namespace {

JpegImage Image(int width, int height, int components) {
    JpegImage image;
    image.width = width;
    image.height = height;
    image.components = components;
    for (int i = 0; i < width * height * components; ++i)
        image.pixels.push_back(static_cast<uint8_t>((i * 37 + i / 11) & 0xFF));
    return image;
}

// The frame's size overwritten; the data stays that of the real size.
std::string WithFrameSize(std::string jpeg, uint16_t width, uint16_t height) {
    const size_t sof = jpeg.find("\xFF\xC0");
    if (sof == std::string::npos) return jpeg;
    jpeg[sof + 5] = static_cast<char>(height >> 8);
    jpeg[sof + 6] = static_cast<char>(height);
    jpeg[sof + 7] = static_cast<char>(width >> 8);
    jpeg[sof + 8] = static_cast<char>(width);
    return jpeg;
}

// libjpeg's own encoder; its default error handling ends this program, which is right here.
std::string Encode(const JpegImage& image, J_COLOR_SPACE space, bool progressive) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width);
    cinfo.image_height = static_cast<JDIMENSION>(image.height);
    cinfo.input_components = image.components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t rowSize = static_cast<size_t>(image.width) * image.components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.pixels.data() + cinfo.next_scanline * rowSize);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    bool ok = Save(folder, "grey.jpg", WriteJpeg(Image(17, 9, 1), 75));
    ok = Save(folder, "grey-low.jpg", WriteJpeg(Image(8, 8, 1), 10)) && ok;
    ok = Save(folder, "colour.jpg", WriteJpeg(Image(17, 9, 3), 75)) && ok;
    ok = Save(folder, "colour-best.jpg", WriteJpeg(Image(1, 1, 3), 100)) && ok;
    ok = Save(folder, "colour-wide.jpg", WriteJpeg(Image(40, 3, 3), 30)) && ok;
    ok = Save(folder, "over-the-cap.jpg", WithFrameSize(WriteJpeg(Image(8, 8, 1), 75), 8001, 8000)) &&
         ok;
    ok = Save(folder, "progressive.jpg", Encode(Image(19, 11, 3), JCS_RGB, true)) && ok;
    ok = Save(folder, "cmyk.jpg", Encode(Image(9, 9, 4), JCS_CMYK, false)) && ok;
    return ok ? 0 : 1;
}
