#include "camera/animcameramanager.h"

#include <algorithm>

#include "base/assert.h"
#include "base/log.h"
#include "content/animation.h"
#include "content/binaryreader.h"

namespace {

// A key list (count, then time and value pairs) or one constant, after its flag byte.
void ReadChannel(BinaryReader& reader, const char* keysWhat, const char* valueWhat,
                 std::unique_ptr<AnimationCurve<float>>* curve, float* constant) {
    if (reader.ReadUInt8(keysWhat) != 0) {
        int32_t count = reader.ReadCount(keysWhat, 8, keysWhat);
        auto keys = std::make_unique<AnimationCurve<float>>();
        for (int32_t i = 0; i < count; ++i) {
            float time = reader.ReadFloat(keysWhat);
            float value = reader.ReadFloat(keysWhat);
            keys->AddKey(time, value, 0.0f, 0.0f);
        }
        if (count > 0) keys->ComputeTangents();
        *curve = std::move(keys);
    } else {
        *constant = reader.ReadFloat(valueWhat);
    }
}

}  // namespace

void AnimCameraManager::Load(const std::string& path, Animation* animation) {
    std::vector<unsigned char> bytes;
    if (!ReadBinaryFile(path, &bytes)) {
        ReportFatal(BinaryReader::DisplayName(path) + ": camera file missing or unreadable");
    }
    LoadFromMemory(bytes.data(), bytes.size(), BinaryReader::DisplayName(path), animation);
}

void AnimCameraManager::LoadFromMemory(const void* data, size_t size, const std::string& fileName,
                                       Animation* animation) {
    BinaryReader reader(data, size, fileName);
    int32_t count = reader.ReadCount("camera count", 4 + 4 + 64 + 1 + 4 + 1 + 4 + 8, "cameras");
    for (int32_t i = 0; i < count; ++i) {
        reader.SetContext("camera " + std::to_string(i));
        auto camera = std::make_unique<AnimCamera>(reader.ReadInt32("camera id"));
        camera->SetName(reader.ReadString("camera name"));
        sm::Mat4 world;
        for (float& v : world.m) v = reader.ReadFloat("world matrix");
        camera->SetWorldMatrix(world);
        std::unique_ptr<AnimationCurve<float>> fovCurve, fov2Curve;
        float fov = camera->GetConstantFov(), fov2 = camera->GetConstantFov2();
        ReadChannel(reader, "fov keys", "fov", &fovCurve, &fov);
        ReadChannel(reader, "second channel keys", "second channel", &fov2Curve, &fov2);
        camera->SetFov(fov);
        camera->SetFov2(fov2);
        camera->SetFovCurve(std::move(fovCurve));
        camera->SetFov2Curve(std::move(fov2Curve));
        float nearZ = reader.ReadFloat("near plane");
        float farZ = reader.ReadFloat("far plane");
        camera->SetNearFar(nearZ, farZ);

        if (animation) {
            Animation* childAnim = animation->FindNode(camera->GetId());
            if (!childAnim) {
                LogMessage("%s: camera %d \"%s\" has no node of its id in the scene's animation",
                           fileName.c_str(), camera->GetId(), camera->GetName().c_str());
            }
            ASSERT(childAnim != NULL);
            camera->SetEndTime(animation->GetEndTime(camera->GetId()));
            camera->SetStartTime(animation->GetStartTime(camera->GetId()));
            childAnim->SetTarget(nullptr, camera->GetTransform());
        }
        cameras.push_back(std::move(camera));
    }
    std::stable_sort(
        cameras.begin(), cameras.end(),
        [](const std::unique_ptr<AnimCamera>& a, const std::unique_ptr<AnimCamera>& b) {
            return a->GetEndTime() < b->GetEndTime();
        });
}

AnimCamera* AnimCameraManager::GetCameraAt(float time) {
    const int count = GetCamerasCount();
    if (count == 0) return nullptr;  // a scene without cameras has nothing to show through
    while (m_cursor < count && time > cameras[m_cursor]->GetEndTime()) ++m_cursor;
    return cameras[std::min(m_cursor, count - 1)].get();
}

AnimCamera* AnimCameraManager::GetCamera(size_t index) const {
    ASSERT(index < cameras.size());
    return cameras[index].get();
}

AnimCamera* AnimCameraManager::GetCameraByName(const std::string& name) const {
    for (const auto& camera : cameras)
        if (camera->GetName() == name) return camera.get();
    return nullptr;
}
