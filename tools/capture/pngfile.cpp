#include "pngfile.h"

#include <png.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

struct PngState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngState() { png_destroy_write_struct(&png, &info); }
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* error = static_cast<std::string*>(png_get_error_ptr(png));
    *error = message;
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

}  // namespace

bool WriteRgbPng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb,
                 std::string* error) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        *error = "can't write " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string pngError;
    bool ok = false;
    {
        PngState state;
        state.png =
            png_create_write_struct(PNG_LIBPNG_VER_STRING, &pngError, OnPngError, OnPngWarning);
        if (state.png) state.info = png_create_info_struct(state.png);
        if (state.png && state.info && setjmp(png_jmpbuf(state.png)) == 0) {
            png_init_io(state.png, file);
            png_set_compression_level(state.png, Z_BEST_SPEED);
            png_set_IHDR(state.png, state.info, static_cast<png_uint_32>(width),
                         static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                         PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
            png_write_info(state.png, state.info);
            for (int y = 0; y < height; ++y)
                png_write_row(state.png, rgb.data() + static_cast<size_t>(y) * width * 3);
            png_write_end(state.png, nullptr);
            ok = true;
        }
    }
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        pngError = std::strerror(errno);
    }
    if (!ok) {
        *error = "can't write " + path + ": " + (pngError.empty() ? "out of memory" : pngError);
        std::remove(path.c_str());
    }
    return ok;
}
