#include "emulator/host_paths.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace emulator {

#ifdef _WIN32
std::wstring wideText(const std::string& text) {
    if (text.empty())
        return std::wstring();
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        (void)MultiByteToWideChar(CP_UTF8, 0, text.data(), length, &wide[0], size);
    return wide;
}

std::string utf8Text(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        (void)WideCharToMultiByte(CP_UTF8, 0, text.data(), length, &narrow[0], size, nullptr,
                                  nullptr);
    return narrow;
}

std::filesystem::path pathOf(const std::string& text) {
    return std::filesystem::path(wideText(text));
}

std::string textOf(const std::filesystem::path& path) {
    return utf8Text(path.native());
}

std::string environmentText(const char* name) {
    const wchar_t* value = _wgetenv(wideText(name).c_str());
    return value != nullptr ? utf8Text(value) : std::string();
}
#else
std::filesystem::path pathOf(const std::string& text) {
    return std::filesystem::path(text);
}

std::string textOf(const std::filesystem::path& path) {
    return path.string();
}

std::string environmentText(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}
#endif

}  // namespace emulator
