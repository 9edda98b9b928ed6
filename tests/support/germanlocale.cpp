#include "support/germanlocale.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "support/tempdir.h"

namespace {
const char* const kNames[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE"};
}

ScopedGermanLocale::ScopedGermanLocale() {
    m_previousLocale = std::setlocale(LC_ALL, nullptr);
    if (const char* path = std::getenv("LOCPATH")) {
        m_hadLocPath = true;
        m_previousLocPath = path;
    }
    if (TrySet()) return;
    m_localeFolder = std::make_unique<TempDir>();
    const std::string target = m_localeFolder->File("de_DE.UTF-8");
    const std::string command = "localedef -i de_DE -f UTF-8 '" + target + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return;
    setenv("LOCPATH", m_localeFolder->Path().c_str(), 1);
    TrySet();
}

ScopedGermanLocale::~ScopedGermanLocale() {
    std::setlocale(LC_ALL, m_previousLocale.c_str());
    if (m_hadLocPath) {
        setenv("LOCPATH", m_previousLocPath.c_str(), 1);
    } else {
        unsetenv("LOCPATH");
    }
}

bool ScopedGermanLocale::TrySet() {
    for (const char* name : kNames) {
        if (!std::setlocale(LC_ALL, name)) continue;
        // The locale must really use a decimal comma, or it proves nothing.
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 2.5);
        if (std::strcmp(text, "2,5") == 0) {
            m_active = true;
            return true;
        }
    }
    std::setlocale(LC_ALL, m_previousLocale.c_str());
    return false;
}
