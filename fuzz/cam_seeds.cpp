// Writes seed ".cam" files for the cam fuzzer into the folder given as the only argument:
// cameras on the fuzzer's animation nodes (ids 1 to 4) with keyed and constant channels, one
// camera on a node that does not exist, and a file without cameras.
#include <string>
#include <vector>

#include "seedsupport.h"

#include "formats/camerawriter.h"

namespace {

CameraRecord Camera(int id, const std::string& name, bool keyed) {
    CameraRecord c;
    c.id = id;
    c.name = name;
    c.worldMatrix = sm::Mat4::Translation(1.0f * id, -2, 3);
    if (keyed) {
        c.fovKeys = {{0.0f, 0.8f}, {2.5f, 1.1f}, {7.0f, 0.5f}};
        c.fov2Keys = {{1.0f, 10.0f}};
    } else {
        c.fov = 0.9f;
        c.fov2 = 12.0f;
    }
    c.nearPlane = 0.5f;
    c.farPlane = 5000.0f;
    return c;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    bool ok = Save(folder, "scene.cam",
                   WriteCameraFile({Camera(4, "Camera04", true), Camera(1, "Camera01", false),
                                    Camera(2, "Camera02", true), Camera(3, "Camera03", false)}));
    ok = Save(folder, "one.cam", WriteCameraFile({Camera(2, "only", false)})) && ok;
    ok = Save(folder, "no-node.cam",
              WriteCameraFile({Camera(1, "first", true), Camera(9, "nowhere", true)})) &&
         ok;
    ok = Save(folder, "empty.cam", WriteCameraFile({})) && ok;
    return ok ? 0 : 1;
}
