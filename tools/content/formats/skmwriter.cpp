#include "formats/skmwriter.h"

#include "content/modelloader.h"

std::string WriteSkm(const SkmDesc& mesh) {
    ByteWriter out;
    if (mesh.header) {
        out.Raw(kModelMagic, sizeof kModelMagic);
        out.U16(mesh.version);
    }
    out.I32(mesh.meshCount);
    out.I32(mesh.id);
    out.String(mesh.name);
    out.String(mesh.secondName);
    for (int i = 0; i < 16; ++i) out.F32(mesh.transform[i]);
    out.I32(static_cast<int32_t>(mesh.boneIds.size()));
    for (int32_t id : mesh.boneIds) out.I32(id);
    out.I32(static_cast<int32_t>(mesh.vertices.size()));
    for (const SkinnedVertex& v : mesh.vertices) {
        out.F32(v.position.x);
        out.F32(v.position.y);
        out.F32(v.position.z);
        for (uint8_t bone : v.bones) out.U8(bone);
        for (float weight : v.weights) out.F32(weight);
    }
    WritePropertyRecords(out, mesh.properties);
    return out.Bytes();
}
