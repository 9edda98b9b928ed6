// The animated cameras of one scene, read from its camera file ("cameras/<scene>.cam") and bound
// to the scene's animation. Cameras are kept sorted by end time; GetCameraAt picks the camera
// for a time with a cursor that only moves forward, as the show's time does.
//
// Camera file (little-endian): int32 count, then per camera: int32 id, string name (int32
// length and bytes), 16 floats world matrix, byte has-fov-keys, then either int32 count and
// count × (time, value) or one float fov; the same for the second channel; float near, far.
// The file is untrusted: anything it can't hold is fatal with a report naming the file and the
// byte offset.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "camera/animcamera.h"

class Animation;

class AnimCameraManager {
public:
    // Reads the file; with an animation, each camera takes its node's key times and becomes the
    // node's world target (a camera id that names no node fails "childAnim != NULL").
    void Load(const std::string& path, Animation* animation);
    // The same for a file already in memory; fileName appears in reports.
    void LoadFromMemory(const void* data, size_t size, const std::string& fileName,
                        Animation* animation);

    // Advances the cursor past every camera that ended before time (a camera's own end time
    // still belongs to it) and returns the camera there, the last one once all have ended;
    // null when there are no cameras.
    AnimCamera* GetCameraAt(float time);
    // Fails "index < cameras.size()" beyond the count.
    AnimCamera* GetCamera(size_t index) const;
    int GetCamerasCount() const { return static_cast<int>(cameras.size()); }
    AnimCamera* GetCameraByName(const std::string& name) const;
    int GetCursor() const { return m_cursor; }

private:
    std::vector<std::unique_ptr<AnimCamera>> cameras;
    int m_cursor = 0;
};
