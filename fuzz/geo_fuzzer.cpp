// Feeds arbitrary bytes to the ".geo" loader and walks whatever loads: every vertex position of
// every part and the shadow flags. A fatal report is an accepted outcome.
#include <cstddef>
#include <cstdint>

#include "content/model.h"
#include "content/modelloader.h"
#include "content/vertexinformation.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallFuzzFatalHandler();
    try {
        std::unique_ptr<Model> model = LoadModelFromMemory(data, size, "models/fuzz.geo");
        float sum = 0.0f;
        for (const MeshPart* part : model->GetMeshParts()) {
            for (int i = 0; i < part->GetVerticesCount(); ++i) {
                sum += VertexInformation::GetPositionAt(part->GetVertexData(), i,
                                                        part->GetVertexType())
                           .x;
            }
            sum += part->GetBoundingSphere().radius;
            if (part->GetMesh()->GetCastShadows()) sum += 1.0f;
        }
        volatile float sink = sum;
        (void)sink;
    } catch (const FatalError&) {
    }
    return 0;
}
