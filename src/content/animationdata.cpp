#include "content/animationdata.h"

#include <algorithm>

#include "base/assert.h"
#include "base/log.h"
#include "content/binaryreader.h"
#include "content/propertyrecord.h"

AnimationData::AnimationData() : m_rotation(1.0f, 0.0f, 0.0f, 0.0f), m_scale(1.0f, 1.0f, 1.0f) {}

void AnimationData::SetPositionCurve(std::unique_ptr<AnimationCurve<sm::Vec3>> c) {
    m_positionCurve = std::move(c);
}
void AnimationData::SetRotationCurve(std::unique_ptr<AnimationCurve<sm::Quat>> c) {
    m_rotationCurve = std::move(c);
}
void AnimationData::SetScaleCurve(std::unique_ptr<AnimationCurve<sm::Vec3>> c) {
    m_scaleCurve = std::move(c);
}

sm::Vec3 AnimationData::EvaluatePosition(float time) const {
    return m_positionCurve ? m_positionCurve->Evaluate(time) : m_position;
}
sm::Quat AnimationData::EvaluateRotation(float time) const {
    return m_rotationCurve ? m_rotationCurve->Evaluate(time) : m_rotation;
}
sm::Vec3 AnimationData::EvaluateScale(float time) const {
    return m_scaleCurve ? m_scaleCurve->Evaluate(time) : m_scale;
}

void AnimationData::AddChild(std::unique_ptr<AnimationData> child) {
    m_children.push_back(std::move(child));
}

AnimationData* AnimationData::GetChild(int index) const {
    ASSERT(index >= 0 && index < GetChildrenCount());
    return m_children[index].get();
}

const AnimationData* AnimationData::FindNode(int id) const {
    if (m_id == id) return this;
    for (const auto& child : m_children) {
        if (const AnimationData* found = child->FindNode(id)) return found;
    }
    return nullptr;
}

AnimationData* AnimationData::FindNode(int id) {
    return const_cast<AnimationData*>(static_cast<const AnimationData*>(this)->FindNode(id));
}

namespace {

template <typename T>
bool HasKeys(const std::unique_ptr<AnimationCurve<T>>& curve) {
    return curve && curve->GetKeysCount() > 0;
}

}  // namespace

float AnimationData::OwnStartTime() const {
    float start = HasKeys(m_positionCurve) ? m_positionCurve->GetStartTime() : 0.0f;
    start = std::min(start, HasKeys(m_rotationCurve) ? m_rotationCurve->GetStartTime() : 0.0f);
    return std::min(start, HasKeys(m_scaleCurve) ? m_scaleCurve->GetStartTime() : 0.0f);
}

float AnimationData::OwnEndTime() const {
    float end = HasKeys(m_positionCurve) ? m_positionCurve->GetEndTime() : 0.0f;
    end = std::max(end, HasKeys(m_rotationCurve) ? m_rotationCurve->GetEndTime() : 0.0f);
    return std::max(end, HasKeys(m_scaleCurve) ? m_scaleCurve->GetEndTime() : 0.0f);
}

float AnimationData::GetDuration() const {
    if (m_duration != -1.0f) return m_duration;
    float duration = OwnEndTime();
    for (const auto& child : m_children) duration = std::max(duration, child->GetDuration());
    m_duration = duration;
    return duration;
}

float AnimationData::GetStartTime(int id) const {
    const AnimationData* anim = FindNode(id);
    ASSERT(anim != NULL);
    return anim->OwnStartTime();
}

float AnimationData::GetEndTime(int id) const {
    const AnimationData* anim = FindNode(id);
    ASSERT(anim != NULL);
    return anim->OwnEndTime();
}

// ---- the ".ani" file ----------------------------------------------------------------------

namespace {

constexpr size_t kVectorKeyBytes = 16;    // time, x, y, z
constexpr size_t kRotationKeyBytes = 20;  // time, angle, three axis numbers
// Id, name length, base matrix, the three tracks as constants, child count.
constexpr size_t kMinNodeRecordBytes = 4 + 4 + 64 + 16 + 20 + 16 + 4;

// A count of 0 gives the constant; otherwise the keys (time, x, y, z) become a curve.
void ReadVectorTrack(BinaryReader& reader, sm::Vec3* constant,
                     std::unique_ptr<AnimationCurve<sm::Vec3>>* curve) {
    const int count = reader.ReadCount("key count", kVectorKeyBytes, "keys");
    if (count == 0) {
        constant->x = reader.ReadFloat("constant");
        constant->y = reader.ReadFloat("constant");
        constant->z = reader.ReadFloat("constant");
        return;
    }
    auto keys = std::make_unique<AnimationCurve<sm::Vec3>>();
    float previous = 0.0f;
    for (int i = 0; i < count; ++i) {
        const size_t keyOffset = reader.GetPosition();
        const float time = reader.ReadFloat("key time");
        CheckKeyTime(reader, keyOffset, time, i > 0 ? &previous : nullptr, "key time");
        previous = time;
        sm::Vec3 v;
        v.x = reader.ReadFloat("key value");
        v.y = reader.ReadFloat("key value");
        v.z = reader.ReadFloat("key value");
        keys->AddKey(time, v, sm::Vec3(), sm::Vec3());
    }
    keys->ComputeTangents();
    *curve = std::move(keys);
}

// Angle-axis values whose angle is negated. The constant's axis is taken as written; each key's
// axis (f1, f2, f3) means (f1, f3, −f2), and each key is relative to the one before it.
void ReadRotationTrack(BinaryReader& reader, sm::Quat* constant,
                       std::unique_ptr<AnimationCurve<sm::Quat>>* curve) {
    const int count = reader.ReadCount("key count", kRotationKeyBytes, "keys");
    if (count == 0) {
        const float angle = reader.ReadFloat("constant angle");
        const float x = reader.ReadFloat("constant axis");
        const float y = reader.ReadFloat("constant axis");
        const float z = reader.ReadFloat("constant axis");
        *constant = sm::Quat::FromAxisAngle(-angle, x, y, z);
        return;
    }
    auto keys = std::make_unique<AnimationCurve<sm::Quat>>();
    sm::Quat running;
    float previous = 0.0f;
    for (int i = 0; i < count; ++i) {
        const size_t keyOffset = reader.GetPosition();
        const float time = reader.ReadFloat("key time");
        CheckKeyTime(reader, keyOffset, time, i > 0 ? &previous : nullptr, "key time");
        previous = time;
        const float angle = reader.ReadFloat("key angle");
        const float f1 = reader.ReadFloat("key axis");
        const float f2 = reader.ReadFloat("key axis");
        const float f3 = reader.ReadFloat("key axis");
        const sm::Quat q = sm::Quat::FromAxisAngle(-angle, f1, f3, -f2);
        running = i == 0 ? q : running * q;
        running.Normalize();
        keys->AddKey(time, running, sm::Quat(), sm::Quat());
    }
    keys->ComputeTangents();
    *curve = std::move(keys);
}

std::unique_ptr<AnimationData> ReadNode(BinaryReader& reader, int index, int depth,
                                        const std::string& parent) {
    const std::string where = "node " + std::to_string(index) + " of " + parent;
    reader.SetContext(where);
    if (depth > AnimationData::kMaxDepth) {
        reader.Fail(reader.GetPosition(), "node tree deeper than 256 levels", "node record");
    }
    auto node = std::make_unique<AnimationData>();
    node->SetId(reader.ReadInt32("node id"));
    node->SetName(reader.ReadString("node name"));
    // Reports name the node by id and name, and its depth, rather than the whole ancestry.
    const std::string self = "node " + std::to_string(node->GetId()) + " " +
                             BinaryReader::Quote(node->GetName()) + " at level " +
                             std::to_string(depth);
    reader.SetContext(self);
    sm::Mat4 base;
    for (int i = 0; i < 16; ++i) base[i] = reader.ReadFloat("base matrix");
    node->SetBaseMatrix(base);

    sm::Vec3 position;
    std::unique_ptr<AnimationCurve<sm::Vec3>> positionCurve;
    reader.SetContext("position track of " + self);
    ReadVectorTrack(reader, &position, &positionCurve);
    node->SetPosition(position);
    node->SetPositionCurve(std::move(positionCurve));

    sm::Quat rotation(1.0f, 0.0f, 0.0f, 0.0f);
    std::unique_ptr<AnimationCurve<sm::Quat>> rotationCurve;
    reader.SetContext("rotation track of " + self);
    ReadRotationTrack(reader, &rotation, &rotationCurve);
    node->SetRotation(rotation);
    node->SetRotationCurve(std::move(rotationCurve));

    sm::Vec3 scale(1.0f, 1.0f, 1.0f);
    std::unique_ptr<AnimationCurve<sm::Vec3>> scaleCurve;
    reader.SetContext("scale track of " + self);
    ReadVectorTrack(reader, &scale, &scaleCurve);
    node->SetScale(scale);
    node->SetScaleCurve(std::move(scaleCurve));

    reader.SetContext(self);
    const int children = reader.ReadCount("child count", kMinNodeRecordBytes, "children");
    for (int i = 0; i < children; ++i) node->AddChild(ReadNode(reader, i, depth + 1, self));
    return node;
}

}  // namespace

std::unique_ptr<AnimationData> LoadAnimationFromMemory(const void* data, size_t size,
                                                       const std::string& fileName) {
    BinaryReader reader(data, size, fileName);
    auto root = std::make_unique<AnimationData>();
    const int count = reader.ReadCount("node count", kMinNodeRecordBytes, "nodes");
    for (int i = 0; i < count; ++i) root->AddChild(ReadNode(reader, i, 1, "the file"));
    return root;
}

std::unique_ptr<AnimationData> LoadAnimation(const std::string& path) {
    std::vector<unsigned char> bytes;
    if (!ReadBinaryFile(path, &bytes)) {
        LogMessage("%s: can't read the animation file", BinaryReader::DisplayName(path).c_str());
        return nullptr;
    }
    return LoadAnimationFromMemory(bytes.data(), bytes.size(), BinaryReader::DisplayName(path));
}
