#include "content/fileutils.h"

#include <fstream>

#include "platform/filesystem.h"

void ListFiles(std::vector<std::string>& files, const std::string& directory,
               const std::string& mask) {
    for (std::string& name : PlatformFindFiles(directory, mask)) files.push_back(std::move(name));
}

bool ReadWholeFile(const std::string& path, std::unique_ptr<unsigned char[]>& data, size_t& size) {
    data.reset();
    size = 0;
    std::ifstream in(PlatformResolvePath(path), std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    std::streamoff length = in.tellg();
    if (length < 0) return false;
    in.seekg(0, std::ios::beg);
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[static_cast<size_t>(length)]);
    if (length > 0 && !in.read(reinterpret_cast<char*>(buffer.get()), length)) return false;
    data = std::move(buffer);
    size = static_cast<size_t>(length);
    return true;
}
