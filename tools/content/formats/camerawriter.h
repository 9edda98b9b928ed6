// Writes camera files ("cameras/<scene>.cam"): one record per camera with its node id, name,
// world matrix, field of view (keyed or constant), second channel, and clip planes.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "math/mat4.h"

struct CameraRecord {
    int id = 0;
    std::string name;
    sm::Mat4 worldMatrix;
    // (time, value) keys; empty means the constant below is written instead.
    std::vector<std::pair<float, float>> fovKeys;
    float fov = 1.0f;  // horizontal, radians
    std::vector<std::pair<float, float>> fov2Keys;
    float fov2 = 10.0f;
    float nearPlane = 0.1f;
    float farPlane = 100.0f;
};

std::string WriteCameraFile(const std::vector<CameraRecord>& cameras);
