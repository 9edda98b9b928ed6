// Puts the process under a German locale (decimal comma) for one test, so number reading and
// writing can be shown not to depend on it. When the system has no German locale, one is
// built with localedef into a temporary folder and found through LOCPATH. Active() is false
// when neither works; the test should then skip. The previous locale and LOCPATH come back
// when the scope ends.
#pragma once

#include <memory>
#include <string>

class TempDir;

class ScopedGermanLocale {
public:
    ScopedGermanLocale();
    ~ScopedGermanLocale();
    ScopedGermanLocale(const ScopedGermanLocale&) = delete;
    ScopedGermanLocale& operator=(const ScopedGermanLocale&) = delete;

    bool Active() const { return m_active; }

private:
    bool TrySet();

    bool m_active = false;
    std::string m_previousLocale;
    bool m_hadLocPath = false;
    std::string m_previousLocPath;
    std::unique_ptr<TempDir> m_localeFolder;
};
