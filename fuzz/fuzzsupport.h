// Shared by the fuzz targets: a fatal report is an expected outcome for hostile input, so it
// throws instead of ending the process, and the target catches it. Anything else that goes
// wrong (a crash, a read outside a buffer) is what the fuzzer is looking for.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "shell/assert.h"

struct FuzzFatal {};

inline void InstallFuzzFatalHandler() {
    static const bool installed = [] {
        SetFatalHandler([](const std::string&) { throw FuzzFatal{}; });
        return true;
    }();
    (void)installed;
}

// Writes the input to a temporary file, for loaders that read from a path.
inline std::string WriteFuzzInput(const uint8_t* data, size_t size, const char* extension) {
    std::string path = std::string("/tmp/pindle-fuzz-input.") + extension;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}
