#include "formats/camerawriter.h"

#include "formats/bytewriter.h"

namespace {

void WriteChannel(ByteWriter& out, const std::vector<std::pair<float, float>>& keys,
                  float constant) {
    out.U8(keys.empty() ? 0 : 1);
    if (keys.empty()) {
        out.F32(constant);
        return;
    }
    out.I32(static_cast<int32_t>(keys.size()));
    for (const auto& [time, value] : keys) {
        out.F32(time);
        out.F32(value);
    }
}

}  // namespace

std::string WriteCameraFile(const std::vector<CameraRecord>& cameras) {
    ByteWriter out;
    out.I32(static_cast<int32_t>(cameras.size()));
    for (const CameraRecord& c : cameras) {
        out.I32(c.id);
        out.String(c.name);
        for (float v : c.worldMatrix.m) out.F32(v);
        WriteChannel(out, c.fovKeys, c.fov);
        WriteChannel(out, c.fov2Keys, c.fov2);
        out.F32(c.nearPlane);
        out.F32(c.farPlane);
    }
    return out.Bytes();
}
