#include "platform/filesystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Case-insensitive order with byte order as the tie-break, so the result is a total order.
bool LessNoCase(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char la = static_cast<unsigned char>(LowerAscii(a[i]));
        const unsigned char lb = static_cast<unsigned char>(LowerAscii(b[i]));
        if (la != lb) return la < lb;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::vector<std::string> SplitComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (IsSeparator(c)) {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

}  // namespace

bool PlatformEqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

std::vector<std::string> PlatformSplitPath(const std::string& path) {
    return SplitComponents(path);
}

std::string PlatformFindNameNoCase(int folderFd, const std::string& name) {
    const int fd = dup(folderFd);
    if (fd < 0) return std::string();
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return std::string();
    }
    rewinddir(dir);
    std::string best;
    while (const dirent* entry = readdir(dir)) {
        const std::string candidate = entry->d_name;
        if (candidate == "." || candidate == "..") continue;
        if (PlatformEqualNoCase(candidate, name) && (best.empty() || candidate < best))
            best = candidate;
    }
    closedir(dir);
    return best;
}

std::string PlatformTempFolder() {
    const char* value = std::getenv("TMPDIR");
    std::string folder = (value && *value) ? value : "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::string PlatformCurrentFolder() {
    std::string buffer(256, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size())) {
            buffer.resize(buffer.find('\0'));
            return buffer;
        }
        if (errno != ERANGE) return std::string();
        buffer.assign(buffer.size() * 2, '\0');
    }
}

bool PlatformCreateFolder(const std::string& path) {
    std::string resolved = PlatformResolvePath(path);
    while (resolved.size() > 1 && resolved.back() == '/') resolved.pop_back();
    if (resolved.empty()) return false;
    if (mkdir(resolved.c_str(), 0777) == 0) return true;
    if (errno != EEXIST) return false;
    struct stat st;
    return stat(resolved.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string PlatformResolvePath(const std::string& path) {
    const std::vector<std::string> parts = SplitComponents(path);
    const bool absolute = !path.empty() && IsSeparator(path.front());
    const bool trailing = !path.empty() && IsSeparator(path.back());

    std::string result = absolute ? "/" : "";
    bool missing = false;  // once a component is missing, nothing below it can exist
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string name = parts[i];
        if (!missing) {
            struct stat st;
            if (lstat((result + name).c_str(), &st) != 0) {
                missing = true;
                if (errno == ENOENT) {
                    const int fd = open(result.empty() ? "." : result.c_str(),
                                        O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                    if (fd >= 0) {
                        const std::string found = PlatformFindNameNoCase(fd, name);
                        close(fd);
                        if (!found.empty()) {
                            name = found;
                            missing = false;
                        }
                    }
                }
            }
        }
        result += name;
        if (i + 1 < parts.size() || trailing) result += '/';
    }
    return result;
}

bool PlatformMaskMatches(const std::string& mask, const std::string& name) {
    // Greedy scan that falls back to the last "*": linear in practice, never exponential.
    size_t m = 0, n = 0;
    size_t star = std::string::npos, resume = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            star = m++;
            resume = n;
        } else if (m < mask.size() &&
                   (mask[m] == '?' || LowerAscii(mask[m]) == LowerAscii(name[n]))) {
            ++m;
            ++n;
        } else if (star != std::string::npos) {
            m = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

std::vector<std::string> PlatformFindFiles(const std::string& folder, const std::string& mask) {
    std::vector<std::string> names;
    const std::string resolved = PlatformResolvePath(folder);
    DIR* dir = opendir(resolved.empty() ? "." : resolved.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (PlatformMaskMatches(mask, name)) names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end(), LessNoCase);
    return names;
}
