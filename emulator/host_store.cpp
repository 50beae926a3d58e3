#include "emulator/host_store.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace emulator {

namespace fs = std::filesystem;

namespace {

unsigned long processId() {
#ifdef _WIN32
    return static_cast<unsigned long>(GetCurrentProcessId());
#else
    return static_cast<unsigned long>(getpid());
#endif
}

// Renames `from` over `to`, replacing an existing file in one step.
bool replaceFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

HostFileLock::HostFileLock(const std::string& hostFile) {
    std::string path = hostFile + ".lock";
    std::error_code ec;
    fs::path parent = fs::path(path).parent_path();
    if (!parent.empty())
        fs::create_directories(parent, ec);
#ifdef _WIN32
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    OVERLAPPED at = {};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) {
        CloseHandle(file);
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
#else
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            return;
        }
    }
    handle_ = fd;
#endif
    held_ = true;
}

HostFileLock::~HostFileLock() {
    if (!held_)
        return;
#ifdef _WIN32
    HANDLE file = reinterpret_cast<HANDLE>(handle_);
    OVERLAPPED at = {};
    UnlockFileEx(file, 0, 1, 0, &at);
    CloseHandle(file);
#else
    ::flock(static_cast<int>(handle_), LOCK_UN);
    ::close(static_cast<int>(handle_));
#endif
}

bool readWholeFile(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    if (in.bad())
        return false;
    *text = all.str();
    return true;
}

void replaceFileAtomically(const std::string& path, const std::string& text) {
    fs::path target(path);
    std::error_code ec;
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), ec);
    std::string temporary = path + ".tmp." + std::to_string(processId());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            fs::remove(temporary, ec);
            throw std::runtime_error("cannot write emulated host file " + path);
        }
    }
    if (!replaceFile(temporary, path)) {
        fs::remove(temporary, ec);
        throw std::runtime_error("cannot replace emulated host file " + path);
    }
}

std::string localHostName() {
    char name[256] = {};
#ifdef _WIN32
    DWORD size = sizeof name;
    // The DNS host name, as gethostname gives it, not the NetBIOS name.
    if (!GetComputerNameExA(ComputerNameDnsHostname, name, &size))
        name[0] = '\0';
#else
    if (gethostname(name, sizeof name - 1) != 0)
        name[0] = '\0';
#endif
    std::string text(name);
    if (text.empty())
        return "kivrahost";
    return text.substr(0, text.find('.'));
}

void appendLine(const std::string& path, const std::string& line) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << line << '\n';
}

}  // namespace emulator
