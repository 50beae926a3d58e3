// The few POSIX functions that the unit tests use and the Windows C runtime
// lacks, built on its own equivalents. Included ahead of every unit test
// source of the Windows build only.
#pragma once

#ifdef _WIN32

#include <direct.h>
#include <io.h>

#include <cstdlib>
#include <cstring>

// Sets an environment variable. The Windows C runtime cannot hold an empty
// value: setting one removes the variable, which every setting of this
// program reads the same way.
inline int setenv(const char* name, const char* value, int overwrite) {
    if (overwrite == 0 && std::getenv(name) != nullptr)
        return 0;
    return _putenv_s(name, value != nullptr ? value : "") == 0 ? 0 : -1;
}

inline int unsetenv(const char* name) {
    return _putenv_s(name, "") == 0 ? 0 : -1;
}

// Replaces the trailing "XXXXXX" of `pattern` and creates that folder.
inline char* mkdtemp(char* pattern) {
    if (_mktemp_s(pattern, std::strlen(pattern) + 1) != 0)
        return nullptr;
    return _mkdir(pattern) == 0 ? pattern : nullptr;
}

#endif  // _WIN32
