// The progress line of a change: its text is printed and flushed before
// the library call, and "Done." or "Failed." ends it after.
#pragma once

#include <string>

void printProgress(const std::string& progress);
void printDone();
// Ends the line with "Failed.", then throws the library's error.
[[noreturn]] void throwFailedApiError();
