#include "base/log.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <locale.h>
#include <sstream>
#include <string>

#include "platform/debugoutput.h"

namespace {

char g_messageBuffer[1024];
char g_timeBuffer[80];
bool g_toDebugger = false;
bool g_toFile = false;
bool g_marker = false;
std::ofstream g_file;
std::ostringstream g_line;
std::string g_assembled;

void FormatTime() {
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    if (strftime_l(g_timeBuffer, 70, "%X", &local, cLocale) == 0) g_timeBuffer[0] = '\0';
}

}  // namespace

void InitLog(bool toDebugger, bool toFile, bool marker, const char* fileName) {
    g_toDebugger = toDebugger;
    g_toFile = toFile;
    g_marker = marker;
    if (toFile) {
        if (g_file.is_open()) g_file.close();
        g_file.clear();
        g_file.open(fileName, std::ios::out | std::ios::trunc);
    }
}

const char* AssembleLogLine(const char* message) {
    FormatTime();
    g_line.str(std::string());
    g_line.clear();
    g_line << "[";
    if (g_marker) g_line << "-";
    g_line << g_timeBuffer << "-T    ] " << message << "\n";
    g_line.flush();
    g_assembled = g_line.str();
    return g_assembled.c_str();
}

int LogMessage(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(g_messageBuffer, sizeof g_messageBuffer, format, args);
    va_end(args);
    const char* line = AssembleLogLine(g_messageBuffer);
    if (g_toDebugger) PlatformDebugOutput(line);
    if (g_toFile && g_file.is_open()) {
        g_file << line;
        g_file.flush();
    }
    return length;
}

void LogToFileOnly(const char* message) {
    if (!g_toFile || !g_file.is_open()) return;
    g_file << AssembleLogLine(message);
    g_file.flush();
}
