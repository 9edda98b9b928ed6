#include "content/imageloader.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <new>
#include <utility>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <png.h>

#include "content/pathinfo.h"
#include "shell/assert.h"

// Both libraries report decoding errors by longjmp. Each decoder therefore keeps its state in a
// struct owned by the calling frame and does the library calls in a function that holds no
// objects with destructors, so the jump skips nothing that needs cleaning up; the caller then
// releases the library state and closes the file on every path.

namespace ImageLoader {

namespace {

bool FitsPixelLimit(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width * height <= kMaxImagePixels;
}

struct PngDecode {
    png_structp png = nullptr;
    png_infop info = nullptr;
    Pixels pixels;
    std::vector<png_bytep> rows;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int channels = 0;
};

// What png_read_png does with PNG_TRANSFORM_SCALE_16 | PNG_TRANSFORM_GRAY_TO_RGB |
// PNG_TRANSFORM_PACKING, except that the size is checked before the pixels are allocated, the
// rows are decoded straight into the result, and palettes are not expanded (below).
bool DecodePng(PngDecode& d) {
    if (setjmp(png_jmpbuf(d.png))) return false;

    png_read_info(d.png, d.info);
    png_set_scale_16(d.png);
    // libpng 1.6's grey-to-RGB transform also expands palettes to RGB; palette images must
    // keep their index bytes, so it is asked for on grey images only.
    if ((png_get_color_type(d.png, d.info) & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_gray_to_rgb(d.png);
    }
    png_set_packing(d.png);
    png_set_interlace_handling(d.png);
    png_read_update_info(d.png, d.info);

    d.width = png_get_image_width(d.png, d.info);
    d.height = png_get_image_height(d.png, d.info);
    d.channels = png_get_channels(d.png, d.info);
    if (!FitsPixelLimit(d.width, d.height)) return false;
    const size_t rowSize = static_cast<size_t>(d.width) * static_cast<size_t>(d.channels);
    // After the transforms every sample is one byte, so a row is exactly width × channels.
    if (png_get_rowbytes(d.png, d.info) != rowSize) return false;

    d.pixels.reset(new (std::nothrow) unsigned char[rowSize * d.height]);
    if (!d.pixels) return false;
    d.rows.resize(d.height);
    for (png_uint_32 y = 0; y < d.height; ++y) d.rows[y] = d.pixels.get() + y * rowSize;

    png_read_image(d.png, d.rows.data());
    png_read_end(d.png, d.info);
    return true;
}

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

// The standard error manager's exit, except that it returns to the decoder instead of ending
// the process.
void JpegErrorExit(j_common_ptr cinfo) {
    (*cinfo->err->output_message)(cinfo);
    std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

// libjpeg only warns about damaged data (a file cut short, stray bytes) and fills the missing
// rows with grey. A damaged picture is a failed load here: print the warning and give up.
void JpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0) JpegErrorExit(cinfo);
}

struct JpegDecode {
    // Zeroed, so that jpeg_destroy_decompress is safe even when creation failed.
    jpeg_decompress_struct cinfo{};
    JpegErrorManager error{};
    FILE* file = nullptr;
    Pixels pixels;
    JDIMENSION width = 0;
    JDIMENSION height = 0;
};

bool DecodeJpeg(JpegDecode& d) {
    d.cinfo.err = jpeg_std_error(&d.error.pub);
    d.error.pub.error_exit = JpegErrorExit;
    d.error.pub.emit_message = JpegEmitMessage;
    if (setjmp(d.error.jump)) return false;

    jpeg_create_decompress(&d.cinfo);
    jpeg_stdio_src(&d.cinfo, d.file);
    jpeg_read_header(&d.cinfo, TRUE);
    d.cinfo.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&d.cinfo);
    if (d.cinfo.output_components != 3) return false;
    if (!FitsPixelLimit(d.cinfo.output_width, d.cinfo.output_height)) return false;

    const size_t rowSize = static_cast<size_t>(d.cinfo.output_width) * 3;
    d.pixels.reset(new (std::nothrow) unsigned char[rowSize * d.cinfo.output_height]);
    if (!d.pixels) return false;

    jpeg_start_decompress(&d.cinfo);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = d.pixels.get() + d.cinfo.output_scanline * rowSize;
        if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1) return false;
    }
    jpeg_finish_decompress(&d.cinfo);
    d.width = d.cinfo.output_width;
    d.height = d.cinfo.output_height;
    return true;
}

}  // namespace

bool Load(const std::string& path, Pixels& data, int& width, int& height, int& bytesPerPixel) {
    ASSERT(!path.empty());
    std::string extension = PathInfo(path).GetExtension();
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (extension == "png") return LoadPng(path, data, width, height, bytesPerPixel);
    if (extension == "jpg") return LoadJpeg(path, data, width, height, bytesPerPixel);
    return false;
}

bool LoadPng(const std::string& path, Pixels& data, int& width, int& height, int& bytesPerPixel) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;

    PngDecode d;
    bool ok = false;
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (d.png) d.info = png_create_info_struct(d.png);
    if (d.info) {
        png_init_io(d.png, file);
        ok = DecodePng(d);
    }
    png_destroy_read_struct(&d.png, &d.info, nullptr);
    std::fclose(file);
    if (!ok) return false;

    data = std::move(d.pixels);
    width = static_cast<int>(d.width);
    height = static_cast<int>(d.height);
    bytesPerPixel = d.channels;
    return true;
}

bool LoadJpeg(const std::string& path, Pixels& data, int& width, int& height, int& bytesPerPixel) {
    JpegDecode d;
    d.file = std::fopen(path.c_str(), "rb");
    if (!d.file) {
        std::fprintf(stderr, "can't open %s\n", path.c_str());
        return false;
    }

    const bool ok = DecodeJpeg(d);
    jpeg_destroy_decompress(&d.cinfo);
    std::fclose(d.file);
    if (!ok) return false;

    data = std::move(d.pixels);
    width = static_cast<int>(d.width);
    height = static_cast<int>(d.height);
    bytesPerPixel = 3;
    return true;
}

}  // namespace ImageLoader
