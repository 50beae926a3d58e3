// The emulated host's paths (the host file, its lock and temporary files,
// its folders, the request log and the audit log beside it) are UTF-8 texts
// on every system. On Windows they reach the system only through the
// wide-character calls, converted here and nowhere else, so that no path is
// folded through the ANSI code page: a folder named "hé" stays "hé"
// whatever that code page can spell.
#pragma once

#include <filesystem>
#include <string>

namespace emulator {

// The path a UTF-8 text names, and the UTF-8 text of a path.
std::filesystem::path pathOf(const std::string& text);
std::string textOf(const std::filesystem::path& path);

// The environment variable `name` in UTF-8; empty when it is unset.
std::string environmentText(const char* name);

#ifdef _WIN32
// A UTF-8 text in UTF-16, for the wide-character calls, and back.
std::wstring wideText(const std::string& text);
std::string utf8Text(const std::wstring& text);
#endif

}  // namespace emulator
