// AnimationData, one node of an animation's hierarchy (id, name, base matrix, and position,
// rotation and scale tracks, each a constant or a keyed curve), and LoadAnimation for ".ani"
// files. Shared and read-only once loaded; Animation instances evaluate it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "math/animationcurve.h"
#include "math/mat4.h"
#include "math/quat.h"
#include "math/vec3.h"

class AnimationData {
public:
    // Node trees deeper than this (the root counting as level 0) are refused by the loader;
    // every walk over a tree is recursive.
    static constexpr int kMaxDepth = 256;

    // Id 0, empty name, identity base matrix, constant tracks at (0, 0, 0), the identity
    // rotation and (1, 1, 1), no children.
    AnimationData();
    AnimationData(const AnimationData&) = delete;
    AnimationData& operator=(const AnimationData&) = delete;

    int GetId() const { return m_id; }
    void SetId(int id) { m_id = id; }
    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    // Applied last when a bone target is written.
    const sm::Mat4& GetBaseMatrix() const { return m_baseMatrix; }
    void SetBaseMatrix(const sm::Mat4& m) { m_baseMatrix = m; }

    // The constants are used where the matching curve is null.
    const sm::Vec3& GetPosition() const { return m_position; }
    const sm::Quat& GetRotation() const { return m_rotation; }
    const sm::Vec3& GetScale() const { return m_scale; }
    void SetPosition(const sm::Vec3& p) { m_position = p; }
    void SetRotation(const sm::Quat& r) { m_rotation = r; }
    void SetScale(const sm::Vec3& s) { m_scale = s; }

    const AnimationCurve<sm::Vec3>* GetPositionCurve() const { return m_positionCurve.get(); }
    const AnimationCurve<sm::Quat>* GetRotationCurve() const { return m_rotationCurve.get(); }
    const AnimationCurve<sm::Vec3>* GetScaleCurve() const { return m_scaleCurve.get(); }
    void SetPositionCurve(std::unique_ptr<AnimationCurve<sm::Vec3>> c);
    void SetRotationCurve(std::unique_ptr<AnimationCurve<sm::Quat>> c);
    void SetScaleCurve(std::unique_ptr<AnimationCurve<sm::Vec3>> c);

    // The track values at time: the curve's, or the constant.
    sm::Vec3 EvaluatePosition(float time) const;
    sm::Quat EvaluateRotation(float time) const;
    sm::Vec3 EvaluateScale(float time) const;

    void AddChild(std::unique_ptr<AnimationData> child);
    int GetChildrenCount() const { return static_cast<int>(m_children.size()); }
    // Child 0 … count − 1; any other index is fatal.
    AnimationData* GetChild(int index) const;

    // The first node with that id in pre-order (this node, then each child's subtree in order),
    // or null. The root of a loaded file has id 0, so FindNode(0) there is the root itself.
    AnimationData* FindNode(int id);
    const AnimationData* FindNode(int id) const;

    // The latest key time of the whole subtree, 0 without keys. Computed on the first call
    // and cached; add no tracks or children afterwards.
    float GetDuration() const;

    // The earliest and latest key time over the three tracks of the node with that id; a
    // constant track counts as 0. A missing id fails the assertion anim != NULL.
    float GetStartTime(int id) const;
    float GetEndTime(int id) const;

private:
    // The start or end time of this node's own tracks (0 for a constant track).
    float OwnStartTime() const;
    float OwnEndTime() const;

    int m_id = 0;
    std::string m_name;
    sm::Mat4 m_baseMatrix;
    sm::Vec3 m_position;
    sm::Quat m_rotation;
    sm::Vec3 m_scale;
    std::unique_ptr<AnimationCurve<sm::Vec3>> m_positionCurve;
    std::unique_ptr<AnimationCurve<sm::Quat>> m_rotationCurve;
    std::unique_ptr<AnimationCurve<sm::Vec3>> m_scaleCurve;
    std::vector<std::unique_ptr<AnimationData>> m_children;
    mutable float m_duration = -1.0f;  // −1: not computed yet
};

// Reads an ".ani" file into a root node (id 0, no tracks) whose children are the file's top-level
// nodes: null when it can't be read. Input is untrusted: damaged content is fatal through the
// reader (see binaryreader.h), as are key times that are not finite and strictly increasing and
// trees deeper than kMaxDepth.
std::unique_ptr<AnimationData> LoadAnimation(const std::string& path);

// Parses a file held in memory; fileName appears in reports.
std::unique_ptr<AnimationData> LoadAnimationFromMemory(const void* data, size_t size,
                                                       const std::string& fileName);
