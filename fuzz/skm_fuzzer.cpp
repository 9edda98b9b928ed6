// Feeds arbitrary bytes to the ".skm" loader and checks what loads: every vertex's bone indices
// name a bone. A fatal report is an accepted outcome.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "content/skinnedmeshdata.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallFuzzFatalHandler();
    try {
        std::unique_ptr<SkinnedMeshData> mesh =
            LoadSkinnedMeshFromMemory(data, size, "SkinnedMeshes/fuzz.skm");
        long sum = 0;
        for (int v = 0; v < mesh->GetVerticesCount(); ++v) {
            for (uint8_t bone : mesh->GetVertices()[v].bones) {
                if (bone >= mesh->GetBonesCount()) std::abort();
                sum += mesh->GetBoneId(bone);
            }
        }
        volatile long sink = sum;
        (void)sink;
    } catch (const FatalError&) {
    }
    return 0;
}
