// Shared by the seed programs: writes one seed file into the corpus folder.
#pragma once

#include <cstdio>
#include <string>

inline bool Save(const std::string& folder, const std::string& name, const std::string& bytes) {
    FILE* f = std::fopen((folder + "/" + name).c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
