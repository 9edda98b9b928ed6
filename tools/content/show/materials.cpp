#include "show/materials.h"

#include <cmath>
#include <string>

#include "formats/materialwriter.h"
#include "formats/pngwriter.h"
#include "show/mesh.h"
#include "show/scenekit.h"

namespace show {

namespace {

constexpr int kTextureSize = 64;

// A texture from a function of (u, v) in [0, 1) giving RGBA in [0, 1].
template <typename F>
std::string Texture(F colour) {
    PngImage image;
    image.width = image.height = kTextureSize;
    image.color = PngColor::Rgba;
    image.bitDepth = 8;
    for (int y = 0; y < kTextureSize; ++y) {
        for (int x = 0; x < kTextureSize; ++x) {
            float rgba[4];
            colour((x + 0.5f) / kTextureSize, (y + 0.5f) / kTextureSize, rgba);
            for (float c : rgba) {
                const float clamped = c < 0 ? 0 : (c > 1 ? 1 : c);
                image.samples.push_back(static_cast<uint16_t>(std::lround(clamped * 255)));
            }
        }
    }
    return WritePng(image);
}

// Distance to the nearest line of a grid of `cells` cells, in cells.
float GridDistance(float t, int cells) {
    const float f = t * cells;
    return std::fabs(f - std::round(f));
}

struct MaterialRecipe {
    const char* name;
    sm::Vec3 diffuse;
    float opacity;
    sm::Vec3 specular;
    float glossiness;
    const char* texture;  // file under textures/
};

const MaterialRecipe kMaterials[] = {
    {kMatGrid, {0.25f, 0.85f, 1.0f}, 0.6f, {0.6f, 0.9f, 1.0f}, 30, "gridlines.png"},
    {kMatGlass, {0.62f, 0.32f, 1.0f}, 0.45f, {0.8f, 0.7f, 1.0f}, 60, "glowstripes.png"},
    {kMatCrystal, {0.7f, 0.9f, 1.0f}, 0.35f, {1.0f, 1.0f, 1.0f}, 80, "facets.png"},
    {kMatHull, {1.0f, 0.62f, 0.18f}, 0.7f, {1.0f, 0.8f, 0.5f}, 40, "hullpanels.png"},
    {kMatWater, {0.1f, 0.45f, 0.9f}, 0.5f, {0.7f, 0.9f, 1.0f}, 90, "ripples.png"},
    {kMatLetters, {0.55f, 0.95f, 1.0f}, 0.8f, {1.0f, 1.0f, 1.0f}, 50, "glowstripes.png"},
};

const char* const kNames[] = {kMatGrid, kMatGlass, kMatCrystal, kMatHull, kMatWater, kMatLetters};

}  // namespace

const char* const* MaterialNames(int* count) {
    *count = static_cast<int>(std::size(kNames));
    return kNames;
}

void AddMaterials(FileTree* files) {
    (*files)["textures/gridlines.png"] = Texture([](float u, float v, float* c) {
        const float d = std::min(GridDistance(u, 4), GridDistance(v, 4));
        const float line = std::exp(-d * d * 400.0f);
        c[0] = 0.1f + 0.3f * line;
        c[1] = 0.3f + 0.7f * line;
        c[2] = 0.4f + 0.6f * line;
        c[3] = 0.25f + 0.75f * line;
    });
    (*files)["textures/glowstripes.png"] = Texture([](float u, float v, float* c) {
        const float s = 0.5f + 0.5f * std::cos(2 * kPi * (4 * v + u));
        c[0] = 0.45f + 0.4f * s;
        c[1] = 0.25f + 0.3f * s;
        c[2] = 0.9f + 0.1f * s;
        c[3] = 0.4f + 0.6f * s;
    });
    (*files)["textures/facets.png"] = Texture([](float u, float v, float* c) {
        // A few crossing facet edges over a cold gradient.
        const float e1 = std::fabs(std::sin(2 * kPi * (u * 3 + v * 2)));
        const float e2 = std::fabs(std::sin(2 * kPi * (u * 2 - v * 3)));
        const float edge = std::exp(-std::min(e1, e2) * 12.0f);
        c[0] = 0.5f + 0.5f * edge;
        c[1] = 0.7f + 0.3f * edge;
        c[2] = 0.9f + 0.1f * v;
        c[3] = 0.3f + 0.7f * edge;
    });
    (*files)["textures/hullpanels.png"] = Texture([](float u, float v, float* c) {
        const float seam = std::min(GridDistance(u, 2), GridDistance(v, 1));
        const float panel = seam < 0.04f ? 0.35f : 1.0f;
        Lcg rivet(static_cast<uint32_t>(u * 16) * 31 + static_cast<uint32_t>(v * 16));
        const float grain = 0.9f + 0.1f * rivet.Uniform();
        c[0] = 1.0f * panel * grain;
        c[1] = 0.62f * panel * grain;
        c[2] = 0.2f * panel * grain;
        c[3] = 1.0f;
    });
    (*files)["textures/ripples.png"] = Texture([](float u, float v, float* c) {
        const float w = 0.5f + 0.25f * (std::sin(2 * kPi * (3 * u + v)) +
                                        std::sin(2 * kPi * (2 * v - u)));
        c[0] = 0.05f + 0.2f * w;
        c[1] = 0.3f + 0.4f * w;
        c[2] = 0.7f + 0.3f * w;
        c[3] = 0.6f + 0.3f * w;
    });
    for (const MaterialRecipe& recipe : kMaterials) {
        MaterialDesc m;
        m.name = recipe.name;
        m.children.push_back(MaterialParamDesc{"Diffuse", MaterialColor(recipe.diffuse)});
        m.children.push_back(MaterialParamDesc{"Opacity", MaterialFloat(recipe.opacity)});
        m.children.push_back(MaterialParamDesc{"Specular", MaterialColor(recipe.specular)});
        m.children.push_back(MaterialParamDesc{"Glossiness", MaterialFloat(recipe.glossiness)});
        MaterialTexturesDesc textures;
        MaterialTextureDesc diffuse;
        diffuse.type = "Diffuse";
        diffuse.file = recipe.texture;
        textures.textures.push_back(diffuse);
        m.children.push_back(textures);
        (*files)[std::string("materials/") + recipe.name + ".mat"] = WriteMaterial(m);
    }
}

}  // namespace show
