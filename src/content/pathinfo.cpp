#include "content/pathinfo.h"

PathInfo::PathInfo(const std::string& path) {
    if (path.empty()) return;

    const size_t backslash = path.rfind('\\');
    const size_t slash = path.rfind('/');
    size_t separator = std::string::npos;
    if (backslash != std::string::npos) separator = backslash;
    if (slash != std::string::npos && (separator == std::string::npos || slash > separator)) {
        separator = slash;
    }

    if (separator == std::string::npos) {
        m_name = path;
    } else {
        m_directory = path.substr(0, separator + 1);
        m_name = path.substr(separator + 1);
    }

    const size_t dot = m_name.rfind('.');
    if (dot != std::string::npos && dot != 0) {
        m_extension = m_name.substr(dot + 1);
        m_name.erase(dot);
    }
}

std::string PathInfo::GetFileName() const {
    return m_extension.empty() ? m_name : m_name + "." + m_extension;
}

std::string PathInfo::GetFullPath() const { return m_directory + GetFileName(); }
