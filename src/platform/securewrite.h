// Writing below a destination root without leaving it and without following a link. The root
// is the caller's choice and is taken as it is (it may be a link, and it may belong to another
// user, as /tmp does). Below it every folder on the way must be a real folder of this user, new
// folders get mode 0700, and files are opened with O_NOFOLLOW and must be plain files of this
// user with no other name. A component missing exactly is looked up without regard to case, as
// the path resolver does. Missing parent folders are not created. POSIX only.
#pragma once

#include <cstddef>
#include <string>

enum class BelowRootStatus {
    kOk,
    kNotCreated,    // a parent is missing or not a folder, or the file system refused (see error)
    kEscapesRoot,   // the relative path is absolute or has a ".." component
    kSymbolicLink,  // `where` is a symbolic link
    kForeignOwner,  // `where` belongs to another user
    kHardLink,      // the file `where` has other names as well
    kWriteFailed,   // the file was opened but its data could not be written whole (see error)
};

struct BelowRootResult {
    BelowRootStatus status = BelowRootStatus::kOk;
    std::string where;  // the relative path up to the component at fault, as named on disk
    int error = 0;      // errno for kNotCreated and kWriteFailed
};

// Creates root + relative as a folder (mode 0700); an existing folder of this user is fine.
// "\" and "/" both separate, and doubled separators collapse; an empty relative path is the
// root itself.
BelowRootResult PlatformCreateFolderBelow(const std::string& root, const std::string& relative);

// Creates or truncates the file root + relative and writes size bytes into it.
BelowRootResult PlatformWriteFileBelow(const std::string& root, const std::string& relative,
                                       const void* data, size_t size);
