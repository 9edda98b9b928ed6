// The fatal-error facility. ASSERT checks a condition; when it fails, the condition text, the
// source file (without folders) and the line go to the installed fatal handler, which ends the
// program. ReportFatal carries any other fatal message (content errors that name a file and an
// offset). The default handler writes the report to standard error and the log, shows a message
// box when a display exists, and exits with a non-zero code. Tools and tests may install their
// own handler; a handler must not return (it may throw), and if it does the process aborts.
#pragma once

#include <string>

using FatalHandler = void (*)(const std::string& message);

// Installs a handler and returns the previous one. Passing nullptr restores the default.
FatalHandler SetFatalHandler(FatalHandler handler);

// The exit code the default handler ends the process with.
constexpr int kFatalExitCode = 3;

[[noreturn]] void ReportFatal(const std::string& message);
[[noreturn]] void ReportAssertionFailure(const char* condition, const char* file, int line);

// "Assertion failed: <condition>, file <name>, line <n>"
std::string FormatAssertionFailure(const char* condition, const char* file, int line);

#define ASSERT(cond) \
    ((cond) ? static_cast<void>(0) : ::ReportAssertionFailure(#cond, __FILE__, __LINE__))
