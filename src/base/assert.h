// The fatal-error facility. ASSERT checks a condition; when it fails, the condition text, the
// source file (without folders) and the line go to the installed fatal handler, which ends the
// program. ReportFatal carries any other fatal message (content errors that name a file and an
// offset). The default handler writes the report to standard error and the log, hands it to the
// installed presenter (the show's message box), and exits with a non-zero code. Tools and tests may
// install their own handler; a handler must not return (it may throw), and if it does the process
// aborts.
#pragma once

#include <stdexcept>
#include <string>

using FatalHandler = void (*)(const std::string& message);

// Installs a handler and returns the previous one. Passing nullptr restores the default.
FatalHandler SetFatalHandler(FatalHandler handler);

// Shows a fatal report to a person; the default handler calls it before it exits. None is
// installed at first, since this layer opens no window: the show installs the platform's
// message box. Passing nullptr removes it.
using FatalPresenter = void (*)(const char* title, const char* text);
void SetFatalPresenter(FatalPresenter presenter);

// The exit code the default handler ends the process with.
constexpr int kFatalExitCode = 3;

[[noreturn]] void ReportFatal(const std::string& message);
[[noreturn]] void ReportAssertionFailure(const char* condition, const char* file, int line);

// A fatal report as an exception, thrown by ThrowFatalError.
struct FatalError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The handler for code that lives on after a fatal report: the inspector goes on to the next
// file, the capture closes its outputs, a fuzz target takes the next input, a test checks the
// text. Throws FatalError with the report.
[[noreturn]] void ThrowFatalError(const std::string& message);

// Installs ThrowFatalError for as long as it lives; the previous handler comes back after.
class FatalThrowScope {
public:
    FatalThrowScope();
    ~FatalThrowScope();
    FatalThrowScope(const FatalThrowScope&) = delete;
    FatalThrowScope& operator=(const FatalThrowScope&) = delete;

private:
    FatalHandler m_previous;
};

// "Assertion failed: <condition>, file <name>, line <n>"
std::string FormatAssertionFailure(const char* condition, const char* file, int line);

#define ASSERT(cond) \
    ((cond) ? static_cast<void>(0) : ::ReportAssertionFailure(#cond, __FILE__, __LINE__))
