// A fresh temporary folder for one test, removed with everything in it when the scope ends.
#pragma once

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's path, without a trailing slash.
    const std::string& Path() const { return m_path; }
    // Path() + "/" + relative
    std::string File(const std::string& relative) const;

private:
    std::string m_path;
};

// Whole-file helpers for fixtures.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
