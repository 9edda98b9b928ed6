#include "content/animation.h"

#include "base/assert.h"

Animation::Animation(const AnimationData* data) : m_data(data) {
    ASSERT(data != NULL);
    m_children.reserve(data->GetChildrenCount());
    for (int i = 0; i < data->GetChildrenCount(); ++i) {
        m_children.push_back(std::make_unique<Animation>(data->GetChild(i)));
    }
}

Animation* Animation::FindNode(int id) {
    if (m_data->GetId() == id) return this;
    for (const auto& child : m_children) {
        if (Animation* found = child->FindNode(id)) return found;
    }
    return nullptr;
}

void Animation::SetTarget(sm::Mat4* boneTarget, sm::Mat4* worldTarget) {
    m_boneTarget = boneTarget;
    m_worldTarget = worldTarget;
}

Animation* Animation::GetChild(int index) const {
    ASSERT(index >= 0 && index < GetChildrenCount());
    return m_children[index].get();
}

void Animation::Update(float time, const sm::Mat4& parent, float timeStep) {
    const sm::Vec3 p = m_data->EvaluatePosition(time);
    sm::Quat r = m_data->EvaluateRotation(time);
    const sm::Vec3 s = m_data->EvaluateScale(time);

    r.Normalize();
    float angle = 0.0f;
    sm::Vec3 axis(1.0f, 0.0f, 0.0f);  // kept when the angle is 0
    r.ToAxisAngle(&angle, &axis);

    m_matrix =
        parent * sm::Mat4::Translation(p) * sm::Mat4::Rotation(angle, axis) * sm::Mat4::Scale(s);
    if (m_worldTarget) *m_worldTarget = m_matrix;
    if (m_boneTarget) *m_boneTarget = m_matrix * m_data->GetBaseMatrix();

    for (const auto& child : m_children) child->Update(time, m_matrix, timeStep);
}
