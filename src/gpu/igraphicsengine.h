// The factory through which the content manager creates content objects from files. The demo
// controller implements it with the real loaders; tests give the manager a fake that records
// its calls. Every slot takes full paths and returns a new object, owned by the caller from
// then on, or null when the file could not be loaded.
#pragma once

#include <string>

class Texture;
class Shader;
class Model;
class AnimationData;
class Material;

class IGraphicsEngine {
public:
    virtual ~IGraphicsEngine() = default;
    virtual Texture* LoadTexture(const std::string& path) = 0;
    virtual Shader* LoadShader(const std::string& vertexPath, const std::string& fragmentPath) = 0;
    virtual Model* LoadModel(const std::string& path) = 0;
    virtual AnimationData* LoadAnimation(const std::string& path) = 0;
    virtual Material* LoadMaterial(const std::string& path) = 0;
};
