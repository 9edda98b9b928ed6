// Unpacks the show's zip archive below a destination root before any content is loaded. Entries
// go in archive order: a name ending in "/" or "\" becomes a folder, any other name a file,
// decompressed whole into memory and written whole. Folders are created only for folder
// entries, so the archive lists each folder before what it holds; a file that cannot be created
// is skipped, and an earlier run's files are overwritten.
//
// The archive is not trusted to be well-formed. Every fault is fatal and the report names the
// archive and the entry: names that are empty, too long or hold a NUL; names that are absolute,
// start with a drive letter or have a ".." component; link entries, links or other users'
// folders in the way; methods other than stored and deflated; encrypted entries; sizes over the
// limits; short reads and CRC failures; a damaged central directory. Nothing is written outside
// the root, and no link below it is followed.
#pragma once

#include <cstdint>
#include <string>

struct UnpackLimits {
    uint64_t maxEntrySize = uint64_t(1) << 30;  // declared size of one file entry, in bytes
    uint64_t maxTotalSize = uint64_t(1) << 30;  // declared sizes of all file entries together
};

// destinationRoot is a folder path ending with a separator; it must exist. Returns when every
// entry is unpacked.
void UnpackArchive(const std::string& archivePath, const std::string& destinationRoot);
void UnpackArchive(const std::string& archivePath, const std::string& destinationRoot,
                   const UnpackLimits& limits);
