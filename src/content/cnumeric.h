// Number text in the "C" locale, whatever locale the process runs under: content files always
// write "2.5", never "2,5". The scanners read like scanf's "%f" and "%d" (leading white space
// skipped, the longest number prefix taken, the rest left to the caller); the formatter is
// snprintf. None of them changes the process locale, and they are not for user-facing text.
#pragma once

#include <string>

// Scans a float at text. On success stores it, sets *end (when end is not null) to the first
// character after the number and returns true; without a number returns false and leaves
// both alone. Values beyond float range scan as ±infinity, as "%f" gives them.
bool ScanFloatC(const char* text, float* value, const char** end = nullptr);

// Scans a decimal int the same way. A number outside the int range is no int: false.
bool ScanIntC(const char* text, int* value, const char** end = nullptr);

// printf-style formatting into a string of any length.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));
