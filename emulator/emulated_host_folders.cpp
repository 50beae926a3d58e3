// The emulated host's folder and path calls: the host file's folder plays
// the system drive.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "emulator/emulated_host.h"
#include "emulator/emulated_host_calls.h"
#include "emulator/host_paths.h"
#include "emulator/host_store.h"

namespace emulator {

namespace fs = std::filesystem;

namespace {

// The separator the path calls join with: on Windows the emulated machine's
// folders are Windows folders, joined with a backslash as PathAppendA
// joins them (a slash is a separator there too); on Linux, Linux folders.
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

bool isPathSeparator(char c) {
    return c == '/' || c == kPathSeparator;
}

}  // namespace

bool EmulatedHost::getCommonAppDataFolder(char* path) {
    std::string folder = resolve(machine().value("common_app_data", "ProgramData"));
    std::error_code ec;
    fs::create_directories(pathOf(folder), ec);
    if (ec)
        return false;
    return copyOut(folder, path, platform::kMaxPath);
}

uint32_t EmulatedHost::getWindowsDirectory(char* path, uint32_t size) {
    std::string folder = resolve(machine().value("windows_directory", "Windows"));
    if (!copyOut(folder, path, size))
        return 0;
    return static_cast<uint32_t>(folder.size());
}

bool EmulatedHost::pathStripToRoot(char* path) {
    if (path == nullptr)
        return false;
    // A path inside the host's folder has that folder as its drive root.
    std::string text(path);
    std::string root = folder_;
    if (text.compare(0, root.size(), root) != 0 ||
        (text.size() > root.size() && !isPathSeparator(text[root.size()]))) {
        root = std::string(1, kPathSeparator);
    }
    return copyOut(root, path, platform::kMaxPath);
}

bool EmulatedHost::pathAppend(char* path, const char* more) {
    if (path == nullptr || more == nullptr)
        return false;
    std::string text(path);
    std::string tail(more);
    while (!tail.empty() && isPathSeparator(tail.front()))
        tail.erase(0, 1);
    if (!text.empty() && !isPathSeparator(text.back()) && !tail.empty())
        text += kPathSeparator;
    text += tail;
    return copyOut(text, path, platform::kMaxPath);
}

int EmulatedHost::createDirectory(const char* path) {
    if (path == nullptr)
        return static_cast<int>(platform::kErrorInvalidParameter);
    const fs::path folder = pathOf(path);
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return static_cast<int>(platform::kErrorAlreadyExists);
    if (fs::exists(folder, ec))
        return static_cast<int>(platform::kErrorFileExists);
    fs::create_directories(folder, ec);
    if (ec)
        return static_cast<int>(platform::kErrorAccessDenied);
    return 0;
}

std::FILE* EmulatedHost::openForAppend(const char* path) {
    return path != nullptr ? emulator::openForAppend(path, false) : nullptr;
}

}  // namespace emulator
