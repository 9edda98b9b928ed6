#include "pack.h"

#include <set>

#include "content/showdata.h"
#include "formats/zipwriter.h"

bool WriteArchive(const std::string& archivePath, const FileTree& files, std::string* error) {
    ZipWriter zip;
    if (!zip.Open(archivePath)) {
        *error = "cannot create " + archivePath;
        return false;
    }
    const std::string top = std::string(kDataFolderName) + "/";
    std::set<std::string> written;
    bool ok = zip.AddFolder(top);
    for (const auto& [path, bytes] : files) {
        // Folders above the file, outermost first.
        for (size_t slash = path.find('/'); ok && slash != std::string::npos;
             slash = path.find('/', slash + 1)) {
            std::string folder = top + path.substr(0, slash + 1);
            if (written.insert(folder).second) ok = zip.AddFolder(folder);
        }
        if (ok) ok = zip.AddFile(top + path, bytes);
    }
    if (!zip.Close() || !ok) {
        *error = "writing " + archivePath + " failed";
        return false;
    }
    return true;
}
