#include "content/imageloader.h"

#include <cerrno>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <jerror.h>
#include <png.h>

#include "base/assert.h"
#include "base/log.h"
#include "content/fileutils.h"
#include "content/pathinfo.h"

// Both libraries report decoding errors by longjmp. Each decoder therefore keeps its state in a
// struct owned by the calling frame and does the library calls in a function that holds no
// objects with destructors, so the jump skips nothing that needs cleaning up; the caller then
// releases the library state, closes the file and turns what went wrong into a reason.

namespace ImageLoader {

namespace {

// What the decoders' own checks refuse; the libraries' faults come with their messages.
enum class Refusal { kNone, kLibrary, kTooLarge, kRowSize, kNotRgb, kNoMemory };

bool FitsPixelLimit(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width * height <= kMaxImagePixels;
}

std::string RefusalText(Refusal refusal, uint64_t width, uint64_t height) {
    switch (refusal) {
        case Refusal::kTooLarge:
            return std::to_string(width) + " x " + std::to_string(height) + " pixels, more than " +
                   std::to_string(kMaxImagePixels);
        case Refusal::kRowSize:
            return "rows of an unexpected size after the transforms";
        case Refusal::kNotRgb:
            return "can't be decoded to RGB";
        case Refusal::kNoMemory:
            return "no memory for the pixels";
        default:
            return "can't be decoded";
    }
}

// Logs the failed load and hands the reason out.
bool Fail(const std::string& path, const std::string& why, std::string* reason) {
    LogMessage("%s: %s", ContentFileName(path).c_str(), why.c_str());
    if (reason) *reason = why;
    return false;
}

struct PngDecode {
    png_structp png = nullptr;
    png_infop info = nullptr;
    FILE* file = nullptr;
    std::string name;     // the file as the log names it
    std::string message;  // the first error, from libpng or the reader
    Refusal refusal = Refusal::kNone;
    Pixels pixels;
    std::vector<png_bytep> rows;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int channels = 0;
};

PngDecode& PngState(png_structp png, bool io) {
    return *static_cast<PngDecode*>(io ? png_get_io_ptr(png) : png_get_error_ptr(png));
}

// libpng's error handler: keeps the first message and returns to DecodePng.
void PngError(png_structp png, png_const_charp message) {
    PngDecode& d = PngState(png, false);
    if (d.message.empty()) d.message = message ? message : "";
    png_longjmp(png, 1);
}

void PngWarning(png_structp png, png_const_charp message) {
    LogMessage("%s: warning: %s", PngState(png, false).name.c_str(), message ? message : "");
}

// libpng's stdio reader, except that a file that ends early says so.
void PngRead(png_structp png, png_bytep out, size_t length) {
    PngDecode& d = PngState(png, true);
    if (std::fread(out, 1, length, d.file) == length) return;
    if (d.message.empty()) d.message = std::ferror(d.file) ? "can't be read" : "truncated";
    png_error(png, d.message.c_str());
}

// What png_read_png does with PNG_TRANSFORM_SCALE_16 | PNG_TRANSFORM_GRAY_TO_RGB |
// PNG_TRANSFORM_PACKING, except that the size is checked before the pixels are allocated, the
// rows are decoded straight into the result, and palettes are not expanded (below). The
// signature has been read and checked already.
bool DecodePng(PngDecode& d) {
    d.refusal = Refusal::kLibrary;
    if (setjmp(png_jmpbuf(d.png))) return false;

    png_set_read_fn(d.png, &d, PngRead);
    png_set_sig_bytes(d.png, 8);
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
    d.refusal = Refusal::kTooLarge;
    if (!FitsPixelLimit(d.width, d.height)) return false;
    const size_t rowSize = static_cast<size_t>(d.width) * static_cast<size_t>(d.channels);
    // After the transforms every sample is one byte, so a row is exactly width × channels.
    d.refusal = Refusal::kRowSize;
    if (png_get_rowbytes(d.png, d.info) != rowSize) return false;

    d.refusal = Refusal::kNoMemory;
    d.pixels.reset(new (std::nothrow) unsigned char[rowSize * d.height]);
    if (!d.pixels) return false;
    d.rows.resize(d.height);
    for (png_uint_32 y = 0; y < d.height; ++y) d.rows[y] = d.pixels.get() + y * rowSize;

    d.refusal = Refusal::kLibrary;
    png_read_image(d.png, d.rows.data());
    png_read_end(d.png, d.info);
    d.refusal = Refusal::kNone;
    return true;
}

// The reason a file does not open as a PNG, from its first bytes; empty when they are a
// PNG signature.
std::string CheckPngSignature(FILE* file) {
    png_byte signature[8];
    const size_t got = std::fread(signature, 1, sizeof signature, file);
    if (std::ferror(file)) return "can't be read";
    if (got == 0) return "empty file";
    if (png_sig_cmp(signature, 0, got) != 0) return "not a PNG file";
    if (got < sizeof signature) return "truncated";
    return std::string();
}

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// The standard error manager's exit, except that it keeps the message instead of printing it
// and returns to the decoder instead of ending the process.
void JpegErrorExit(j_common_ptr cinfo) {
    JpegErrorManager* error = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, error->message);
    std::longjmp(error->jump, 1);
}

// libjpeg only warns about damaged data (a file cut short, stray bytes) and fills the missing
// rows with grey. A damaged picture is a failed load here: the warning ends the decode.
void JpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0) JpegErrorExit(cinfo);
}

struct JpegDecode {
    // Zeroed, so that jpeg_destroy_decompress is safe even when creation failed.
    jpeg_decompress_struct cinfo{};
    JpegErrorManager error{};
    FILE* file = nullptr;
    Refusal refusal = Refusal::kNone;
    Pixels pixels;
    JDIMENSION width = 0;
    JDIMENSION height = 0;
};

bool DecodeJpeg(JpegDecode& d) {
    d.cinfo.err = jpeg_std_error(&d.error.pub);
    d.error.pub.error_exit = JpegErrorExit;
    d.error.pub.emit_message = JpegEmitMessage;
    d.refusal = Refusal::kLibrary;
    if (setjmp(d.error.jump)) return false;

    jpeg_create_decompress(&d.cinfo);
    jpeg_stdio_src(&d.cinfo, d.file);
    jpeg_read_header(&d.cinfo, TRUE);
    d.cinfo.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&d.cinfo);
    d.refusal = Refusal::kNotRgb;
    if (d.cinfo.output_components != 3) return false;
    d.refusal = Refusal::kTooLarge;
    if (!FitsPixelLimit(d.cinfo.output_width, d.cinfo.output_height)) return false;

    const size_t rowSize = static_cast<size_t>(d.cinfo.output_width) * 3;
    d.refusal = Refusal::kNoMemory;
    d.pixels.reset(new (std::nothrow) unsigned char[rowSize * d.cinfo.output_height]);
    if (!d.pixels) return false;

    d.refusal = Refusal::kLibrary;
    jpeg_start_decompress(&d.cinfo);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = d.pixels.get() + d.cinfo.output_scanline * rowSize;
        if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1) return false;
    }
    jpeg_finish_decompress(&d.cinfo);
    d.width = d.cinfo.output_width;
    d.height = d.cinfo.output_height;
    d.refusal = Refusal::kNone;
    return true;
}

// The reason for a libjpeg fault: the common ones in the loader's words, the rest in libjpeg's.
std::string JpegLibraryReason(const JpegDecode& d) {
    if (std::ferror(d.file)) return "can't be read";
    switch (d.error.pub.msg_code) {
        case JERR_INPUT_EMPTY:
            return "empty file";
        case JERR_NO_SOI:
            return "not a JPEG file";
        case JERR_INPUT_EOF:
        case JWRN_JPEG_EOF:
            return "truncated";
        default:
            return d.error.message[0] ? d.error.message : "can't be decoded";
    }
}

}  // namespace

bool Load(const std::string& path, Pixels& data, int& width, int& height, int& bytesPerPixel,
          std::string* reason) {
    ASSERT(!path.empty());
    std::string extension = PathInfo(path).GetExtension();
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (extension == "png") return LoadPng(path, data, width, height, bytesPerPixel, reason);
    if (extension == "jpg") return LoadJpeg(path, data, width, height, bytesPerPixel, reason);
    return Fail(path, "not a .png or .jpg file", reason);
}

bool LoadPng(const std::string& path, Pixels& data, int& width, int& height, int& bytesPerPixel,
             std::string* reason) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return Fail(path, std::string("can't be opened: ") + std::strerror(errno), reason);
    const std::string signatureProblem = CheckPngSignature(file);
    if (!signatureProblem.empty()) {
        std::fclose(file);
        return Fail(path, signatureProblem, reason);
    }

    PngDecode d;
    d.file = file;
    d.name = ContentFileName(path);
    bool ok = false;
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &d, PngError, PngWarning);
    if (d.png) d.info = png_create_info_struct(d.png);
    if (d.info) {
        ok = DecodePng(d);
    } else {
        d.refusal = Refusal::kNoMemory;
    }
    png_destroy_read_struct(&d.png, &d.info, nullptr);
    std::fclose(file);
    if (!ok) {
        if (d.refusal == Refusal::kLibrary && !d.message.empty())
            return Fail(path, d.message, reason);
        return Fail(path, RefusalText(d.refusal, d.width, d.height), reason);
    }

    data = std::move(d.pixels);
    width = static_cast<int>(d.width);
    height = static_cast<int>(d.height);
    bytesPerPixel = d.channels;
    return true;
}

bool LoadJpeg(const std::string& path, Pixels& data, int& width, int& height, int& bytesPerPixel,
              std::string* reason) {
    JpegDecode d;
    d.file = std::fopen(path.c_str(), "rb");
    if (!d.file) return Fail(path, std::string("can't be opened: ") + std::strerror(errno), reason);

    const bool ok = DecodeJpeg(d);
    std::string why;
    if (!ok) {
        why = d.refusal == Refusal::kLibrary
                  ? JpegLibraryReason(d)
                  : RefusalText(d.refusal, d.cinfo.output_width, d.cinfo.output_height);
    }
    jpeg_destroy_decompress(&d.cinfo);
    std::fclose(d.file);
    if (!ok) return Fail(path, why, reason);

    data = std::move(d.pixels);
    width = static_cast<int>(d.width);
    height = static_cast<int>(d.height);
    bytesPerPixel = 3;
    return true;
}

}  // namespace ImageLoader
