// A private temporary folder, removed with its content when the scope ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class TempFolder {
public:
    TempFolder() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/pindle-inspect-XXXXXX";
        if (mkdtemp(pattern.data())) m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
