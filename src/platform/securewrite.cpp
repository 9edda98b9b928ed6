#include "platform/securewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/filesystem.h"

namespace {

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { Reset(-1); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    void Reset(int fd) {
        if (m_fd >= 0) close(m_fd);
        m_fd = fd;
    }
    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

BelowRootResult Result(BelowRootStatus status, const std::string& where, int error = 0) {
    BelowRootResult result;
    result.status = status;
    result.where = where;
    result.error = error;
    return result;
}

std::string Join(const std::string& where, const std::string& name) {
    return where.empty() ? name : where + "/" + name;
}

// The name under which `name` exists in the folder: itself, its case-insensitive match, or
// itself again when neither exists (so that it can be created).
std::string NameOnDisk(int folderFd, const std::string& name) {
    struct stat st;
    if (fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT)
        return name;
    const std::string found = PlatformFindNameNoCase(folderFd, name);
    return found.empty() ? name : found;
}

bool IsSymbolicLink(int folderFd, const std::string& name) {
    struct stat st;
    return fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
}

// Replaces `folder` with the folder `name` inside it, which must be a real folder of this user.
BelowRootResult StepInto(Fd& folder, const std::string& name, std::string& where) {
    const std::string actual = NameOnDisk(folder.Get(), name);
    where = Join(where, actual);
    const int fd =
        openat(folder.Get(), actual.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (IsSymbolicLink(folder.Get(), actual))
            return Result(BelowRootStatus::kSymbolicLink, where);
        return Result(BelowRootStatus::kNotCreated, where, error);
    }
    Fd next(fd);
    struct stat st;
    if (fstat(next.Get(), &st) != 0) return Result(BelowRootStatus::kNotCreated, where, errno);
    if (st.st_uid != geteuid()) return Result(BelowRootStatus::kForeignOwner, where);
    folder.Reset(next.Release());
    return Result(BelowRootStatus::kOk, where);
}

// Opens the root and walks to the folder that holds the last component. On success `folder`
// is that folder and `last` the last component ("" when the path names the root itself).
BelowRootResult OpenParent(const std::string& root, const std::string& relative, Fd& folder,
                           std::string& last, std::string& where) {
    if (!relative.empty() && (relative.front() == '/' || relative.front() == '\\'))
        return Result(BelowRootStatus::kEscapesRoot, relative);
    const std::vector<std::string> parts = PlatformSplitPath(relative);
    for (const std::string& part : parts)
        if (part == "..") return Result(BelowRootStatus::kEscapesRoot, relative);

    folder.Reset(open(root.empty() ? "." : root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.IsOpen()) return Result(BelowRootStatus::kNotCreated, "", errno);

    last.clear();
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i] == ".") continue;
        if (!last.empty()) {
            BelowRootResult step = StepInto(folder, last, where);
            if (step.status != BelowRootStatus::kOk) return step;
        }
        last = parts[i];
    }
    return Result(BelowRootStatus::kOk, where);
}

}  // namespace

BelowRootResult PlatformCreateFolderBelow(const std::string& root, const std::string& relative) {
    Fd folder;
    std::string last, where;
    BelowRootResult result = OpenParent(root, relative, folder, last, where);
    if (result.status != BelowRootStatus::kOk || last.empty()) return result;

    const std::string actual = NameOnDisk(folder.Get(), last);
    if (mkdirat(folder.Get(), actual.c_str(), 0700) != 0 && errno != EEXIST)
        return Result(BelowRootStatus::kNotCreated, Join(where, actual), errno);
    // Whether new or old, it must now be a real folder of ours.
    return StepInto(folder, actual, where);
}

BelowRootResult PlatformWriteFileBelow(const std::string& root, const std::string& relative,
                                       const void* data, size_t size) {
    Fd folder;
    std::string last, where;
    BelowRootResult result = OpenParent(root, relative, folder, last, where);
    if (result.status != BelowRootStatus::kOk) return result;
    if (last.empty()) return Result(BelowRootStatus::kNotCreated, where, EISDIR);

    const std::string actual = NameOnDisk(folder.Get(), last);
    where = Join(where, actual);
    // O_NONBLOCK keeps a FIFO in the way from blocking the open; it means nothing for a file.
    Fd file(openat(folder.Get(), actual.c_str(),
                   O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600));
    if (!file.IsOpen()) {
        const int error = errno;
        if (IsSymbolicLink(folder.Get(), actual))
            return Result(BelowRootStatus::kSymbolicLink, where);
        return Result(BelowRootStatus::kNotCreated, where, error);
    }
    struct stat st;
    if (fstat(file.Get(), &st) != 0) return Result(BelowRootStatus::kNotCreated, where, errno);
    if (!S_ISREG(st.st_mode)) return Result(BelowRootStatus::kNotCreated, where, EINVAL);
    if (st.st_uid != geteuid()) return Result(BelowRootStatus::kForeignOwner, where);
    if (st.st_nlink > 1) return Result(BelowRootStatus::kHardLink, where);

    // Truncate only now that the file is known to be ours alone.
    if (ftruncate(file.Get(), 0) != 0) return Result(BelowRootStatus::kWriteFailed, where, errno);
    const char* bytes = static_cast<const char*>(data);
    size_t written = 0;
    while (written < size) {
        const ssize_t n = write(file.Get(), bytes + written, size - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Result(BelowRootStatus::kWriteFailed, where, n < 0 ? errno : EIO);
        written += static_cast<size_t>(n);
    }
    if (close(file.Release()) != 0) return Result(BelowRootStatus::kWriteFailed, where, errno);
    return Result(BelowRootStatus::kOk, where);
}
