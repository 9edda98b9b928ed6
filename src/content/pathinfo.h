// A path split into directory, name and extension, the way content files are named: the
// directory keeps its trailing separator ("\" or "/"), the name loses its last extension.
// Content items are stored under the name; GetFullPath rebuilds the path for the loaders.
#pragma once

#include <string>

class PathInfo {
public:
    PathInfo() = default;
    explicit PathInfo(const std::string& path);

    // Everything up to and including the last separator; empty when there is none.
    const std::string& GetDirectory() const { return m_directory; }
    // The file name without its last extension. A name whose only dot is its first character
    // (".profile") keeps the dot.
    const std::string& GetName() const { return m_name; }
    // The text after the last dot of the file name, without the dot; empty when there is none.
    const std::string& GetExtension() const { return m_extension; }

    // Name, a dot and extension, or name alone when the extension is empty.
    std::string GetFileName() const;
    // Directory followed by GetFileName.
    std::string GetFullPath() const;

private:
    std::string m_directory;
    std::string m_name;
    std::string m_extension;
};
