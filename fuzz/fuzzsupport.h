// Shared by the fuzz targets: a fatal report is an expected outcome for hostile input, so it
// throws instead of ending the process, and the target catches it. Anything else that goes
// wrong (a crash, a read outside a buffer) is what the fuzzer is looking for.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "base/assert.h"

inline void InstallFuzzFatalHandler() {
    static const bool installed = [] {
        SetFatalHandler(ThrowFatalError);
        return true;
    }();
    (void)installed;
}

// This process's own scratch folder, made with mkdtemp under $TMPDIR (/tmp when unset) on
// first use and removed with everything in it when the process exits normally. Several fuzzers
// (or several runs of one) at the same time never share a file. Failing to make it ends the
// process: without it the target would test nothing.
inline const std::string& FuzzScratchFolder() {
    // Never destroyed, so that the exit handler below still has the name.
    static const std::string* const folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string name = std::string(tmp && *tmp ? tmp : "/tmp") + "/pindle-fuzz-XXXXXX";
        if (!mkdtemp(name.data())) {
            std::perror("fuzz: mkdtemp");
            std::abort();
        }
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(FuzzScratchFolder(), ignored);
        });
        return new std::string(name);
    }();
    return *folder;
}

// Writes the input to relativeName in the scratch folder (its folder must exist there), for
// loaders that read from a path, and returns that path.
inline std::string WriteFuzzFile(const std::string& relativeName, const uint8_t* data,
                                 size_t size) {
    const std::string path = FuzzScratchFolder() + "/" + relativeName;
    // A new file rather than the old one truncated: ext4 writes a truncated and rewritten file
    // out at once on close, which costs more than the whole input's run.
    std::remove(path.c_str());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0) {
        std::perror(("fuzz: " + path).c_str());
        std::abort();
    }
    return path;
}

// WriteFuzzFile to "input." + extension.
inline std::string WriteFuzzInput(const uint8_t* data, size_t size, const char* extension) {
    return WriteFuzzFile(std::string("input.") + extension, data, size);
}
