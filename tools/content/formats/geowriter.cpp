#include "formats/geowriter.h"

#include "base/assert.h"
#include "content/modelloader.h"
#include "content/vertexinformation.h"

std::string WriteGeo(const GeoModelDesc& model) {
    if (!model.header && model.version != 0) ReportFatal("WriteGeo: a version needs the header");
    ByteWriter out;
    if (model.header) {
        out.Raw(kModelMagic, sizeof kModelMagic);
        out.U16(model.version);
    }
    out.I32(static_cast<int32_t>(model.meshes.size()));
    for (const GeoMeshDesc& mesh : model.meshes) {
        out.I32(mesh.id);
        out.String(mesh.name);
        if (model.version != 0) {
            for (int i = 0; i < 16; ++i) out.F32(mesh.transform[i]);
        }
        out.I32(static_cast<int32_t>(mesh.parts.size()));
        for (const GeoPartDesc& part : mesh.parts) {
            if (part.vertexType < 0 || part.vertexType > VertexInformation::kMaxVertexType)
                ReportFatal("WriteGeo: vertex type " + std::to_string(part.vertexType));
            const size_t floatsPerVertex = VertexInformation::GetVertexSize(part.vertexType) / 4;
            if (part.vertices.size() % floatsPerVertex != 0)
                ReportFatal("WriteGeo: vertex data of mesh \"" + mesh.name +
                            "\" is not a whole number of vertices");
            out.String(part.materialName);
            out.U8(static_cast<uint8_t>(part.vertexType));
            out.I32(static_cast<int32_t>(part.vertices.size() / floatsPerVertex));
            for (float f : part.vertices) out.F32(f);
        }
        WritePropertyRecords(out, mesh.properties);
    }
    return out.Bytes();
}
