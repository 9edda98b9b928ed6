// Fixtures for the game-object tests: a data folder written with the content writers (the
// scene model "Scene", the figure "guy", its "walk" and "jump", and chosen programs of the
// repository's effects), loaded into a content manager that becomes g_contentManager; records
// as the scene loader makes them; and the camera and read-back for rendered frames. Needs a
// GlTestContext for the programs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gpu/contentmanager.h"
#include "gpu/igraphicsengine.h"
#include "math/mat4.h"
#include "math/vec3.h"
#include "scene/scenedata.h"
#include "support/tempdir.h"

// Meshes of "Scene", each one part:
//   "src"               a 4 × 4 grid of quads (32 triangles) in the plane z = 0, x −3 … −1,
//                       y 0.5 … 2.5, facing +z
//   "scene.morph.dst.1" a ball (72 triangles) of radius 0.8 around (2, 1.5, 0)
//   "stat"              a box (12 triangles) x −1 … 1, y 0 … 0.2, z −1 … 1
//   "pair"              two triangles facing +z around (0, 1, 0) and (1, 1, 0)
//   "pair2"             the same two moved up by 2
constexpr int kSrcTriangles = 32;
constexpr int kDstTriangles = 72;
constexpr int kFigureTriangles = 48;

// The four glow programs.
std::vector<std::string> GlowPrograms();
// They and the graphics engine's post-processing programs.
std::vector<std::string> FramePrograms();

struct ContentOptions {
    bool model = true;
    bool figure = true;
    bool walk = true;
    bool walkWithoutLength = false;  // every walk key at 0 s
    bool jump = true;
    std::vector<std::string> programs = GlowPrograms();
};

class ObjectContent : public IGraphicsEngine {
public:
    explicit ObjectContent(const ContentOptions& options = ContentOptions());
    ~ObjectContent() override;

    Texture* LoadTexture(const std::string&) override { return nullptr; }
    Shader* LoadShader(const std::string& vertexPath, const std::string& fragmentPath) override;
    Model* LoadModel(const std::string& path) override;
    AnimationData* LoadAnimation(const std::string& path) override;
    Material* LoadMaterial(const std::string&) override { return nullptr; }

    TempDir dir;
    std::unique_ptr<ContentManager> manager;
};

// Figure and walk: the figure stands 1.8 tall at scale 0.02 (modelled 90 units high, facing
// −z). Bone index 0 (node 1) moves the body and head and never turns: its bone matrix is the
// guy's world matrix. Bone indices 1 and 2 (nodes 2 and 3) swing the legs. The walk lasts 1 s.
constexpr float kWalkDuration = 1.0f;

// Records.
std::unique_ptr<MaterialData> Look(bool solid, bool wire);
std::unique_ptr<PathData> Path(const std::vector<std::pair<float, sm::Vec3>>& keys,
                               float delay = 1.0f);
// Keys at 1, 2, 4 and 5 s from (−2, 1.5, 0) over (−1, 3, 0) and (1, 3, 0) to (2, 1.5, 0);
// delay 1.
std::unique_ptr<PathData> Flight();

// The frame's camera, looking at (0, 1.5, 0) from z = 8, for a target of width × height.
sm::Mat4 FrameCamera(int width, int height);
