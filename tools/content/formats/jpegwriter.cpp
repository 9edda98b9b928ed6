#include "formats/jpegwriter.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "base/assert.h"

namespace {

[[noreturn]] void Fail(const std::string& why) { ReportFatal("JPEG writer: " + why); }

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo) {
    auto* error = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, error->message);
    std::longjmp(error->jump, 1);
}

struct JpegEncode {
    jpeg_compress_struct cinfo{};
    JpegErrorManager error{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

// Holds no objects with destructors: the error exit jumps back here.
bool Encode(const JpegImage& image, int quality, JpegEncode& e) {
    e.cinfo.err = jpeg_std_error(&e.error.pub);
    e.error.pub.error_exit = ErrorExit;
    if (setjmp(e.error.jump)) return false;

    jpeg_create_compress(&e.cinfo);
    jpeg_mem_dest(&e.cinfo, &e.buffer, &e.size);
    e.cinfo.image_width = static_cast<JDIMENSION>(image.width);
    e.cinfo.image_height = static_cast<JDIMENSION>(image.height);
    e.cinfo.input_components = image.components;
    e.cinfo.in_color_space = image.components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&e.cinfo);
    jpeg_set_quality(&e.cinfo, quality, TRUE);
    jpeg_start_compress(&e.cinfo, TRUE);
    const size_t rowSize = static_cast<size_t>(image.width) * image.components;
    while (e.cinfo.next_scanline < e.cinfo.image_height) {
        // libjpeg's row type is not const, but compression only reads the rows.
        JSAMPROW row = const_cast<JSAMPROW>(image.pixels.data() + e.cinfo.next_scanline * rowSize);
        jpeg_write_scanlines(&e.cinfo, &row, 1);
    }
    jpeg_finish_compress(&e.cinfo);
    return true;
}

}  // namespace

std::string WriteJpeg(const JpegImage& image, int quality) {
    if (image.width <= 0 || image.height <= 0 || image.width > JPEG_MAX_DIMENSION ||
        image.height > JPEG_MAX_DIMENSION) {
        Fail("width and height must be 1 to " + std::to_string(JPEG_MAX_DIMENSION));
    }
    if (image.components != 1 && image.components != 3) Fail("components must be 1 or 3");
    if (quality < 1 || quality > 100) Fail("quality must be 1 to 100");
    const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height) *
                         static_cast<size_t>(image.components);
    if (image.pixels.size() != count) {
        Fail("expected " + std::to_string(count) + " bytes, got " +
             std::to_string(image.pixels.size()));
    }

    JpegEncode e;
    const bool ok = Encode(image, quality, e);
    std::string bytes;
    if (ok) bytes.assign(reinterpret_cast<const char*>(e.buffer), e.size);
    jpeg_destroy_compress(&e.cinfo);
    std::free(e.buffer);
    if (!ok) Fail(e.error.message);
    return bytes;
}
