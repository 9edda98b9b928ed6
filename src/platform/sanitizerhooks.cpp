// Linked into every program and test only when the build runs under the sanitizers
// (PINDLE_SANITIZE). EGL and GLX load the GL driver as a module and unload it again when the
// display closes; whatever the driver leaked is then reported from a module that is gone, with
// no name that a suppression could match. Opening the driver once more with RTLD_NODELETE keeps
// it mapped until the process ends, so its own leaks carry its name and are suppressed as the
// system's (scripts/sanitize.supp).
#include <dlfcn.h>

#include <string>

namespace {

__attribute__((constructor)) void KeepGlDriversLoaded() {
    for (const char* name : {"swrast_dri.so", "kms_swrast_dri.so"}) {
        const std::string path = std::string(PINDLE_DRI_DRIVER_DIR) + "/" + name;
        dlopen(path.c_str(), RTLD_LAZY | RTLD_NODELETE);
    }
}

}  // namespace
