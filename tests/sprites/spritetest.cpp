#include "spritetest.h"

#include <GL/glew.h>

#include <cstdlib>
#include <sstream>

#include "formats/pngwriter.h"
#include "gpu/shader.h"
#include "support/tempdir.h"

std::string EffectSource(const std::string& name, const char* extension) {
    return std::string(PINDLE_CONTENT_SOURCE_DIR) + "/effects/" + name + extension;
}

std::unique_ptr<Shader> LoadEffect(const std::string& name) {
    return std::unique_ptr<Shader>(
        Shader::LoadShader(EffectSource(name, ".vpr"), EffectSource(name, ".fpr")));
}

Rgba Frame::At(int x, int y) const {
    const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    return Rgba{p[0], p[1], p[2], p[3]};
}

Frame ReadFrame(int width, int height) {
    Frame frame;
    frame.width = width;
    frame.height = height;
    frame.rgba.resize(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, frame.rgba.data());
    return frame;
}

void SaveFrame(const Frame& frame, const std::string& name) {
    PngImage image;
    image.width = frame.width;
    image.height = frame.height;
    image.color = PngColor::Rgb;
    image.samples.reserve(static_cast<size_t>(frame.width) * frame.height * 3);
    for (int y = frame.height - 1; y >= 0; --y) {
        for (int x = 0; x < frame.width; ++x) {
            Rgba c = frame.At(x, y);
            image.samples.push_back(static_cast<uint16_t>(c.r));
            image.samples.push_back(static_cast<uint16_t>(c.g));
            image.samples.push_back(static_cast<uint16_t>(c.b));
        }
    }
    WriteFileBytes(std::string(PINDLE_TEST_OUTPUT_DIR) + "/" + name, WritePng(image));
}

bool Near(const Rgba& a, const Rgba& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

std::string Describe(const Rgba& c) {
    std::ostringstream out;
    out << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
    return out.str();
}
