// The debugger output: here, standard error. Text is written as given, without a newline added.
#pragma once

void PlatformDebugOutput(const char* text);
