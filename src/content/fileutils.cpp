#include "content/fileutils.h"

#include <algorithm>

#include "content/binaryreader.h"

#include "platform/filesystem.h"

void ListFiles(std::vector<std::string>& files, const std::string& directory,
               const std::string& mask) {
    for (std::string& name : PlatformFindFiles(directory, mask)) files.push_back(std::move(name));
}

bool ReadWholeFile(const std::string& path, std::unique_ptr<unsigned char[]>& data, size_t& size) {
    data.reset();
    size = 0;
    std::vector<unsigned char> bytes;
    if (!ReadBinaryFile(path, &bytes)) return false;
    data.reset(new unsigned char[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), data.get());
    size = bytes.size();
    return true;
}
