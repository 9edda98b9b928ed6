// Animation, a playing instance of an AnimationData tree: one instance node per data node, in
// the same order. Users bind nodes to targets (a bone matrix, a world matrix) once and call
// Update on the root every frame with the time and a parent matrix; every bound target is then
// current. Several instances may share one AnimationData, which they never change or own.
#pragma once

#include <memory>
#include <vector>

#include "content/animationdata.h"
#include "math/mat4.h"

class Animation {
public:
    // Mirrors data and its subtree; both targets of every node start null.
    explicit Animation(const AnimationData* data);
    Animation(const Animation&) = delete;
    Animation& operator=(const Animation&) = delete;

    // The instance node whose data has that id, first in pre-order, or null.
    Animation* FindNode(int id);

    // Either may be null. The pointers must outlive every later Update.
    void SetTarget(sm::Mat4* boneTarget, sm::Mat4* worldTarget);

    // Evaluates the subtree at time: M = parent · Translation(p) · Rotation(r) · Scale(s) from
    // the node's tracks (r normalised first), stores it as the node's matrix, writes M to the
    // world target and M · base matrix to the bone target, then updates each child with M.
    // timeStep is handed down and not used otherwise. Allocates nothing.
    void Update(float time, const sm::Mat4& parent, float timeStep);

    // The world matrix of the last Update (identity before the first).
    const sm::Mat4& GetMatrix() const { return m_matrix; }
    const AnimationData* GetData() const { return m_data; }
    int GetChildrenCount() const { return static_cast<int>(m_children.size()); }
    // Child 0 … count − 1; any other index is fatal.
    Animation* GetChild(int index) const;

    // Forwarded to the data.
    float GetDuration() const { return m_data->GetDuration(); }
    float GetStartTime(int id) const { return m_data->GetStartTime(id); }
    float GetEndTime(int id) const { return m_data->GetEndTime(id); }

private:
    sm::Mat4 m_matrix;
    sm::Mat4* m_boneTarget = nullptr;
    sm::Mat4* m_worldTarget = nullptr;
    const AnimationData* m_data;
    std::vector<std::unique_ptr<Animation>> m_children;
};
