// The nine scenes of the show, each loading its own scene file. Most add nothing to BaseScene;
// Scene01 starts at 0, Scene04 ("SceneDupa") lets its guy ride a ribbon, Scene05 and Scene07
// carry an animated train, and Scene07 moves its water with the "Water" program.
#pragma once

#include <memory>
#include <string>

#include "content/animation.h"
#include "demo/basescene.h"

class Shader;

// A scene that only loads its file.
class PlainScene : public BaseScene {
public:
    explicit PlainScene(std::string fileName) : m_fileName(std::move(fileName)) {}
    void Setup() override;
    // The scene file this scene loads.
    const std::string& GetFileName() const { return m_fileName; }

protected:
    std::string m_fileName;
};

class Scene01 : public PlainScene {
public:
    Scene01() : PlainScene("Scene01") {}
    float GetStartTime() override { return 0.0f; }
    // The first scene's end is never asked for.
    float GetEndTime() override;
};

class Scene02 : public PlainScene {
public:
    Scene02() : PlainScene("Scene02") {}
};

class Scene03 : public PlainScene {
public:
    Scene03() : PlainScene("Scene03") {}
};

class Scene04 : public PlainScene {
public:
    Scene04() : PlainScene("SceneDupa") {}
    void Setup() override;
};

// A scene with an animated train: a model and an animation of the train's name whose nodes
// carry the statics of the same names, solid and wireframe.
class TrainScene : public PlainScene {
public:
    TrainScene(std::string fileName, std::string train)
        : PlainScene(std::move(fileName)), m_train(std::move(train)) {}
    ~TrainScene() override;
    void Setup() override;
    bool Update(float time, float dt) override;

protected:
    std::string m_train;
    std::unique_ptr<Animation> m_trainAnim;
    std::unique_ptr<Animation> m_trainWireAnim;
};

class Scene05 : public TrainScene {
public:
    Scene05() : TrainScene("Scene05", "Train02") {}
};

class Scene06 : public PlainScene {
public:
    Scene06() : PlainScene("Scene06") {}
};

class Scene07 : public TrainScene {
public:
    Scene07() : TrainScene("Scene07", "Train01") {}
    void Setup() override;
    bool Update(float time, float dt) override;

private:
    Shader* m_waterShader = nullptr;
};

class Scene08 : public PlainScene {
public:
    Scene08() : PlainScene("Scene08") {}
};

class Scene09 : public PlainScene {
public:
    Scene09() : PlainScene("Scene09") {}
};
