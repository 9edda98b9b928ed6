// The process-wide log. Each LogMessage call writes one line, "[" time "-T    ] " message, to
// the debugger output (standard error), to the log file, or to both, as the flags of the last
// InitLog say. Before any InitLog every flag is off and lines go nowhere. The file is flushed
// after every line. Single-threaded: every call shares one set of buffers.
#pragma once

// Sets the three flags; with toFile set, (re)opens fileName truncated. An open failure is
// silent: later lines simply do not reach a file.
void InitLog(bool toDebugger, bool toFile, bool marker, const char* fileName);

// Formats a message into a 1024-character buffer (longer messages are cut), stamps it with
// the local time ("%X" in the C locale) and sends the line to the enabled sinks.
int LogMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Builds the line that LogMessage would write for a message, without sending it.
// Exposed for tests.
const char* AssembleLogLine(const char* message);

// Writes a message as a log line to the log file only, when the file sink is enabled.
// The fatal handler uses it so that a report reaches the file without printing twice.
void LogToFileOnly(const char* message);
