// Real typography for the show: text set in a TrueType font with FreeType, either as a closed,
// extruded 3D triangle mesh (the title and the group name that assemble from triangles, and the
// big letters of the overlay pictures) or as an anti-aliased coverage bitmap for smaller text.
//
// Meshes: glyph outlines are flattened into polygons, cleaned and triangulated with the GLU
// tessellator under the odd winding rule, so counters ("P", "D", "A", "O") stay open, and the
// front face, back face and side walls are joined into one closed surface: every edge belongs to
// exactly two triangles, and every triangle is counter-clockwise seen from outside.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "math/vec3.h"

// The fonts the pictures use, looked up by file name.
constexpr const char* kBoldFontFile = "DejaVuSans-Bold.ttf";
constexpr const char* kRegularFontFile = "DejaVuSans.ttf";

// The folders searched for a font file, in order: $PINDLE_FONT_DIR when it is set, then the usual
// places of the DejaVu fonts on Linux.
std::vector<std::string> FontSearchFolders();

// The full path of a font file from FontSearchFolders(). On failure returns "" and says which
// paths were tried in *error.
std::string FindFontFile(const std::string& fileName, std::string* error);

// One font face, opened from a file. Not copyable; cheap to pass by reference.
class Typeface {
public:
    Typeface();
    ~Typeface();
    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

    // Opens a font file; false with a message naming the path when it can't.
    bool Open(const std::string& path, std::string* error);
    // FindFontFile and Open in one.
    bool OpenNamed(const std::string& fileName, std::string* error);
    bool IsOpen() const;

    struct Impl;
    Impl* impl() const { return m_impl.get(); }

private:
    std::unique_ptr<Impl> m_impl;
};

struct TextTriangle {
    // Counter-clockwise seen from outside the solid.
    sm::Vec3 v[3];
};

struct TextBounds {
    sm::Vec3 min;
    sm::Vec3 max;
};

struct ExtrudeOptions {
    // Height of a capital letter (the font's "H"), in output units.
    float capHeight = 1.0f;
    // Thickness along z. The front face lies at z = +depth / 2 and faces +z.
    float depth = 0.25f;
    // Extra space between letters, as a fraction of capHeight.
    float tracking = 0.0f;
    // Largest distance between a curve and its flattened polygon, as a fraction of capHeight.
    // Smaller gives smoother letters and more triangles.
    float flatness = 0.004f;
};

enum class TextFace : uint8_t { Front, Back, Side };

struct TextMesh {
    std::vector<TextTriangle> triangles;
    // Which face each triangle belongs to, parallel to triangles.
    std::vector<TextFace> faces;
    // The extent of all vertices. The text is centred on x = 0 and z = 0 and its baseline is y = 0.
    TextBounds bounds;
};

// Sets a line of text (UTF-8; characters the font lacks are left out) as an extruded mesh.
// A text with nothing to draw, or outlines the tessellator rejects, give an empty mesh with zero
// bounds.
TextMesh ExtrudeText(const Typeface& face, const std::string& text, const ExtrudeOptions& options);

// Anti-aliased text for body copy: one byte of coverage per pixel (0 to 255), rows top first.
struct TextBitmap {
    int width = 0;
    int height = 0;
    // Row of the baseline, counted from the top.
    int baseline = 0;
    std::vector<uint8_t> coverage;
};

// Renders a line of text at a pixel size (the em height, as FreeType's pixel size), with extra
// tracking in pixels between letters. The bitmap is tight around the ink plus a margin of `pad`
// pixels on every side.
TextBitmap RenderText(const Typeface& face, const std::string& text, int pixelSize,
                      float tracking = 0.0f, int pad = 0);
