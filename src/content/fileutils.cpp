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

namespace {

std::string& ContentRoot() {
    static std::string root;
    return root;
}

}  // namespace

void SetContentRoot(const std::string& folder) { ContentRoot() = folder; }

std::string ContentFileName(const std::string& path) {
    if (!ContentRoot().empty()) {
        const std::string resolvedRoot = PlatformResolvePath(ContentRoot());
        const std::string resolved = PlatformResolvePath(path);
        const std::vector<std::string> root = PlatformSplitPath(resolvedRoot);
        const std::vector<std::string> parts = PlatformSplitPath(resolved);
        // An absolute path is never below a relative root, nor the other way round.
        const bool sameKind = (resolvedRoot[0] == '/') == (!resolved.empty() && resolved[0] == '/');
        if (sameKind && parts.size() > root.size() &&
            std::equal(root.begin(), root.end(), parts.begin())) {
            std::string relative;
            for (size_t i = root.size(); i < parts.size(); ++i)
                relative += (relative.empty() ? "" : "/") + parts[i];
            return relative;
        }
    }
    return BinaryReader::DisplayName(path);
}
