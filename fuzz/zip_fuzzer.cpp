// The archive unpacker over whole zip files. Each input unpacks into a fresh root made with
// mkdtemp, which is removed afterwards; a fatal report is an accepted outcome. What the fuzzer
// looks for besides crashes: anything written outside the root, and any symbolic link (or
// anything else that is neither a plain file nor a folder) inside it. Those end the process
// with a trap, so the fuzzer keeps the input.
//
// Where things live: this process's scratch folder (fuzzsupport.h) holds the input as
// "input.zip" and the folder "unpack", and "unpack" holds the one root of the current input.
// After each input:
//  - "unpack" holds the root and nothing else, and the scratch folder holds "input.zip" and
//    "unpack" and nothing else: this catches names that climb one or two levels out;
//  - every place outside the root that an entry's name could reach is looked at before and
//    after: the name resolved lexically against the root (or taken as it is when absolute),
//    with "\" kept and with "\" read as "/", and each folder on the way there. None of them
//    may have appeared. The unpacker only ever writes at root + name, so this covers every
//    place it could write to, however far out (/tmp itself included), at a few lstat calls per
//    entry. Listing all of /tmp before and after instead would be neither cheap nor sound:
//    other programs create files there all the time.
#include <minizip/unzip.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "content/unpackarchive.h"
#include "fuzzsupport.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "fuzz-zip: %s\n", what.c_str());
    __builtin_trap();
}

bool Exists(const fs::path& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    if (error) Fail("cannot list " + folder + ": " + error.message());
    std::sort(names.begin(), names.end());
    return names;
}

// Every entry name as the central directory holds it, whole (the unpacker refuses long names,
// but they are still looked at here).
std::vector<std::string> EntryNames(const std::string& archivePath) {
    std::vector<std::string> names;
    unzFile archive = unzOpen(archivePath.c_str());
    if (!archive) return names;
    std::vector<char> buffer(1 << 16);
    for (int res = unzGoToFirstFile(archive); res == UNZ_OK; res = unzGoToNextFile(archive)) {
        unz_file_info info;
        if (unzGetCurrentFileInfo(archive, &info, buffer.data(), buffer.size(), nullptr, 0, nullptr,
                                  0) != UNZ_OK)
            break;
        names.emplace_back(buffer.data(), std::min<size_t>(info.size_filename, buffer.size()));
    }
    unzClose(archive);
    return names;
}

bool IsInside(const fs::path& path, const fs::path& root) {
    const fs::path relative = path.lexically_relative(root);
    return !relative.empty() && *relative.begin() != "..";
}

// The places outside root that a name could reach, each folder on the way included.
std::vector<fs::path> PlacesOutside(const std::string& name, const fs::path& root) {
    std::vector<fs::path> places;
    std::string slashes = name;
    std::replace(slashes.begin(), slashes.end(), '\\', '/');
    for (const std::string& variant : {name, slashes}) {
        if (variant.empty()) continue;
        const fs::path target =
            (variant.front() == '/' ? fs::path(variant) : root / variant).lexically_normal();
        fs::path step;
        for (const fs::path& part : target) {
            step /= part;
            if (!IsInside(step, root) && step != root) places.push_back(step);
        }
    }
    return places;
}

void CheckOnlyFilesAndFolders(const std::string& root) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
        const fs::file_type type = it->symlink_status().type();
        if (type == fs::file_type::symlink) Fail("symbolic link unpacked: " + it->path().string());
        if (type != fs::file_type::regular && type != fs::file_type::directory)
            Fail("neither a file nor a folder: " + it->path().string());
    }
    if (error) Fail("cannot walk " + root + ": " + error.message());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallFuzzFatalHandler();
    // Small limits keep each input cheap; what is tested is that they hold.
    UnpackLimits limits;
    limits.maxEntrySize = 64 << 10;
    limits.maxTotalSize = 256 << 10;

    const std::string scratch = FuzzScratchFolder();
    const std::string parent = scratch + "/unpack";
    static const bool made = fs::create_directory(parent);
    (void)made;
    const std::string archive = WriteFuzzInput(data, size, "zip");
    std::string rootTemplate = parent + "/root-XXXXXX";
    if (!mkdtemp(rootTemplate.data())) Fail("cannot make a root below " + parent);
    const std::string root = rootTemplate;
    const std::string rootName = fs::path(root).filename().string();

    std::vector<fs::path> outside;
    for (const std::string& name : EntryNames(archive))
        for (const fs::path& place : PlacesOutside(name, root))
            if (!Exists(place)) outside.push_back(place);

    try {
        UnpackArchive(archive, root + "/", limits);
    } catch (const FatalError&) {
    }

    for (const fs::path& place : outside)
        if (Exists(place)) Fail("written outside the root: " + place.string());
    if (Listing(parent) != std::vector<std::string>{rootName})
        Fail("something besides the root appeared in " + parent);
    if (Listing(scratch) != std::vector<std::string>{"input.zip", "unpack"})
        Fail("something appeared in " + scratch);
    CheckOnlyFilesAndFolders(root);

    std::error_code error;
    fs::remove_all(root, error);
    if (error) Fail("cannot remove " + root + ": " + error.message());
    return 0;
}
