#include "content/cnumeric.h"

#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <locale.h>

namespace {

// Switches the calling thread to the "C" locale for its lifetime; the process locale and
// other threads are untouched.
class ScopedCLocale {
public:
    ScopedCLocale() : m_previous(uselocale(CLocale())) {}
    ~ScopedCLocale() { uselocale(m_previous); }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    static locale_t CLocale() {
        static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        return locale;
    }
    locale_t m_previous;
};

}  // namespace

bool ScanFloatC(const char* text, float* value, const char** end) {
    ScopedCLocale c;
    char* stop = nullptr;
    const float scanned = std::strtof(text, &stop);
    if (stop == text) return false;
    *value = scanned;
    if (end) *end = stop;
    return true;
}

bool ScanIntC(const char* text, int* value, const char** end) {
    ScopedCLocale c;
    char* stop = nullptr;
    errno = 0;
    const long scanned = std::strtol(text, &stop, 10);
    if (stop == text) return false;
    if (errno == ERANGE || scanned < INT_MIN || scanned > INT_MAX) return false;
    *value = static_cast<int>(scanned);
    if (end) *end = stop;
    return true;
}

std::string FormatC(const char* format, ...) {
    ScopedCLocale c;
    char small[128];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string result;
    if (length < 0) {
        result.clear();
    } else if (static_cast<size_t>(length) < sizeof small) {
        result.assign(small, static_cast<size_t>(length));
    } else {
        std::vector<char> large(static_cast<size_t>(length) + 1);
        std::vsnprintf(large.data(), large.size(), format, again);
        result.assign(large.data(), static_cast<size_t>(length));
    }
    va_end(again);
    return result;
}
