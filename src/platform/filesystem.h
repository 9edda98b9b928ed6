// Folders, names and searches as the program expects them: the per-user temporary folder, the
// working folder, folder creation, one path resolver that accepts "\" and "/" and falls back to
// a case-insensitive match for a name that is missing exactly, and a folder search by a
// case-insensitive "*"/"?" mask. POSIX only. Nothing here guards against links or other users;
// writing below the data folder goes through privatetree.h.
#pragma once

#include <string>
#include <vector>

// $TMPDIR, or "/tmp" when it is unset or empty, always ending with "/".
std::string PlatformTempFolder();

// The working folder without a trailing "/" ("/" itself excepted); empty when it can't be read.
std::string PlatformCurrentFolder();

// Creates a folder (mode 0777 less the umask). True when it was created or a folder is already
// there, also under another case. The parent must exist. The path goes through the resolver.
bool PlatformCreateFolder(const std::string& path);

// Turns a path with "\" or "/" separators into one the file system opens. Doubled separators
// collapse into one; a leading separator keeps the path absolute, a trailing one is kept. Each
// component is looked up in the folder reached so far: an exact name is used as it is; when it
// is missing, the folder's case-insensitive match is used (the byte-wise smallest when several
// match); when neither exists the component, and everything after it, stays as given.
std::string PlatformResolvePath(const std::string& path);

// True when a name matches a mask in which "*" stands for any run of characters (also none)
// and "?" for exactly one. Letters compare without regard to ASCII case.
bool PlatformMaskMatches(const std::string& mask, const std::string& name);

// The names (without folder) of the entries of one folder that match a mask, files and folders
// alike, "." and ".." left out. The folder goes through the resolver. Names are sorted without
// regard to case (byte order breaks ties), so a listing does not depend on the file system's
// order. A folder that can't be opened gives an empty list.
std::vector<std::string> PlatformFindFiles(const std::string& folder, const std::string& mask);

// The non-empty components of a path split at "\" and "/": "a\b//c/" gives a, b and c.
std::vector<std::string> PlatformSplitPath(const std::string& path);

// True when two names are equal without regard to ASCII case.
bool PlatformEqualNoCase(const std::string& a, const std::string& b);

// The name of the entry of the folder open as folderFd that equals name without regard to case
// (the byte-wise smallest when several do), or "" when none does. folderFd stays open.
std::string PlatformFindNameNoCase(int folderFd, const std::string& name);
