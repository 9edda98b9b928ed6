#include "base/assert.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/log.h"

namespace {

FatalPresenter g_presenter = nullptr;

void DefaultFatalHandler(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    LogToFileOnly(message.c_str());
    if (g_presenter) g_presenter("Pindle", message.c_str());
    std::_Exit(kFatalExitCode);
}

FatalHandler g_fatalHandler = DefaultFatalHandler;

}  // namespace

void SetFatalPresenter(FatalPresenter presenter) { g_presenter = presenter; }

FatalHandler SetFatalHandler(FatalHandler handler) {
    FatalHandler previous = g_fatalHandler;
    g_fatalHandler = handler ? handler : DefaultFatalHandler;
    return previous;
}

void ThrowFatalError(const std::string& message) { throw FatalError(message); }

FatalThrowScope::FatalThrowScope() : m_previous(SetFatalHandler(ThrowFatalError)) {}
FatalThrowScope::~FatalThrowScope() { SetFatalHandler(m_previous); }

void ReportFatal(const std::string& message) {
    g_fatalHandler(message);
    // A handler that returns would let the program run past a failed check.
    std::abort();
}

std::string FormatAssertionFailure(const char* condition, const char* file, int line) {
    const char* slash = std::strrchr(file, '/');
    const char* name = slash ? slash + 1 : file;
    return std::string("Assertion failed: ") + condition + ", file " + name + ", line " +
           std::to_string(line);
}

void ReportAssertionFailure(const char* condition, const char* file, int line) {
    ReportFatal(FormatAssertionFailure(condition, file, line));
}
