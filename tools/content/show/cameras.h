// Scene cameras: a shot is a camera pose over a stretch of music time, and the builder turns it
// into a node of the scene's animation (position, rotation and scale all keyed, so the camera
// starts and ends where the shot does) and a record of the scene's camera file.
//
// The engine looks along a camera node's −Y axis with +Z up. To show a pose C (OpenGL: looking
// down −Z, +Y up), the node's world matrix is C · S(1, −1, 1) · Rx(π/2), which is the translation,
// the rotation C · Rx(−π/2) and the scale (1, −1, 1). Rotation keys come often enough that the
// engine's blend of quaternion components stays on the intended turn.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "formats/aniwriter.h"
#include "formats/camerawriter.h"
#include "math/mat4.h"
#include "math/vec3.h"

namespace show {

struct CameraPose {
    sm::Vec3 eye;
    sm::Vec3 target;
    float roll = 0.0f;  // radians, about the view direction
};

struct Shot {
    std::string name;
    float start = 0.0f;
    float end = 0.0f;
    std::function<CameraPose(float time)> pose;
    // Horizontal field of view in radians: keyed when zoom is set, otherwise constant.
    float fov = 1.15f;
    std::function<float(float time)> zoom;
    float nearPlane = 0.1f;
    float farPlane = 300.0f;
    // Seconds between the position and rotation keys: shorter for a shot that turns quickly,
    // so the engine's blend between keys stays on the intended view.
    float keyStep = 0.1f;
};

constexpr float kFovKeyStep = 0.5f;

// The pose's camera matrix C (world from camera), worked out in double precision, and its view
// matrix, the inverse.
sm::Mat4 CameraMatrix(const CameraPose& pose);
sm::Mat4 ViewMatrix(const CameraPose& pose);

// The times a shot is keyed at: from its start to its end inclusive, evenly spaced.
std::vector<float> KeyTimes(float start, float end, float step);

// The camera's node in the scene animation, with the given id.
AniNodeDesc CameraNode(const Shot& shot, int id);
// The camera's record in the camera file; its world matrix is the pose at the shot's start.
CameraRecord CameraRecordOf(const Shot& shot, int id);

// Camera poses the scenes use.
// Circles centre at the given radius and height, from angle a0 to a1 (radians, 0 on +z,
// increasing towards +x) between the times.
std::function<CameraPose(float)> Orbit(const sm::Vec3& centre, float radius, float height,
                                       float a0, float a1, float t0, float t1);
// Moves the eye from e0 to e1 and the target from g0 to g1, eased in and out.
std::function<CameraPose(float)> Glide(const sm::Vec3& e0, const sm::Vec3& e1,
                                       const sm::Vec3& g0, const sm::Vec3& g1, float t0,
                                       float t1);
// The same at an even pace: for following something that moves steadily.
std::function<CameraPose(float)> Dolly(const sm::Vec3& e0, const sm::Vec3& e1,
                                       const sm::Vec3& g0, const sm::Vec3& g1, float t0,
                                       float t1);
// Smooth 0 → 1 over [t0, t1] with zero speed at both ends (and clamped outside).
float Ease(float t, float t0, float t1);

}  // namespace show
