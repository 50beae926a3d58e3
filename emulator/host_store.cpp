#include "emulator/host_store.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "platform/host_system.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
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

[[noreturn]] void cannotLock(const std::string& path, const std::string& why) {
    throw platform::HostUnusable(path + ": cannot lock the emulated host file: " + why);
}

#ifdef _WIN32
std::string lastSystemError() {
    return "Windows error " + std::to_string(GetLastError());
}
#else
std::string lastSystemError() {
    return std::strerror(errno);
}
#endif

}  // namespace

HostFileLock::HostFileLock(const std::string& hostFile) {
    std::string path = hostFile + ".lock";
#ifdef _WIN32
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        cannotLock(path, lastSystemError());
    OVERLAPPED at = {};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) {
        const std::string why = lastSystemError();
        CloseHandle(file);
        cannotLock(path, why);
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
#else
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        cannotLock(path, lastSystemError());
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const std::string why = lastSystemError();
            ::close(fd);
            cannotLock(path, why);
        }
    }
    handle_ = fd;
#endif
}

HostFileLock::~HostFileLock() {
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

bool FileStamp::operator==(const FileStamp& o) const {
    return exists == o.exists && device == o.device && inode == o.inode && size == o.size &&
           modified == o.modified && changed == o.changed;
}

namespace {

#ifdef _WIN32
FileStamp stampOf(const std::string& path) {
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return stamp;
    stamp.exists = true;
    stamp.size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    const uint64_t ticks =
        (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    stamp.modified = static_cast<int64_t>(ticks) * 100;
    return stamp;
}
#else
FileStamp stampOf(const struct stat& st) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.device = static_cast<uint64_t>(st.st_dev);
    stamp.inode = static_cast<uint64_t>(st.st_ino);
    stamp.size = static_cast<uint64_t>(st.st_size);
    stamp.modified = int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
    stamp.changed = int64_t{st.st_ctim.tv_sec} * 1000000000 + st.st_ctim.tv_nsec;
    return stamp;
}

FileStamp stampOf(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? stampOf(st) : FileStamp{};
}

bool readAll(int fd, std::string* text) {
    char chunk[65536];
    while (true) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n == 0)
            return true;
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0)
            text->append(chunk, static_cast<size_t>(n));
    }
}
#endif

}  // namespace

HostFileCopy::~HostFileCopy() {
    unpin();
}

void HostFileCopy::unpin() {
#ifndef _WIN32
    if (pinned_ >= 0)
        ::close(static_cast<int>(pinned_));
    pinned_ = -1;
#endif
}

bool HostFileCopy::read(const std::string& path) {
#ifdef _WIN32
    // Stamped first: a version that lands in between only costs a reread.
    const FileStamp stamp = stampOf(path);
    std::string text;
    if (!readWholeFile(path, &text))
        return false;
    stamp_ = stamp;
#else
    // Stamped and read through one descriptor, which then keeps the
    // version open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    std::string text;
    if (fd < 0)
        return false;
    if (::fstat(fd, &st) != 0 || !readAll(fd, &text)) {
        ::close(fd);
        return false;
    }
    unpin();
    pinned_ = fd;
    stamp_ = stampOf(st);
#endif
    text_ = std::move(text);
    return true;
}

void HostFileCopy::write(const std::string& path, std::string text) {
    replaceFileAtomically(path, text);
    text_ = std::move(text);
    pin(path);
    // Under the lock this copy was the latest version, and now is again.
    writes_.add();
    writesSeen_ = writes_.value();
}

bool HostFileCopy::current(const std::string& path) const {
    return stampOf(path) == stamp_;
}

void HostFileCopy::countWrites(const std::string& path) {
    if (writes_.attach(path))
        writesSeen_ = writes_.value();
    stamped_ = std::chrono::steady_clock::now();
}

bool HostFileCopy::followed(const std::string& path) {
    const auto now = std::chrono::steady_clock::now();
    // The count is read before the stamp: a write counted after it is
    // seen by the next call.
    const uint64_t writes = writes_.value();
    if (writes_.attached() && writes == writesSeen_ && now - stamped_ < kStampInterval)
        return true;
    writesSeen_ = writes;
    stamped_ = now;
    return current(path);
}

WriteCount::~WriteCount() {
#ifndef _WIN32
    if (count_ != nullptr)
        ::munmap(count_, sizeof *count_);
#endif
}

bool WriteCount::attach(const std::string& hostFile) {
#ifdef _WIN32
    (void)hostFile;
    return false;
#else
    const std::string path = hostFile + ".lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    // The lock file holds the count alone; a new one grows to hold it.
    struct stat st;
    void* mapped = MAP_FAILED;
    if (::fstat(fd, &st) == 0 &&
        (st.st_size >= static_cast<off_t>(sizeof *count_) ||
         ::ftruncate(fd, sizeof *count_) == 0)) {
        mapped = ::mmap(nullptr, sizeof *count_, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    }
    ::close(fd);
    if (mapped == MAP_FAILED)
        return false;
    count_ = static_cast<uint64_t*>(mapped);
    return true;
#endif
}

uint64_t WriteCount::value() const {
    return count_ != nullptr ? __atomic_load_n(count_, __ATOMIC_ACQUIRE) : 0;
}

void WriteCount::add() {
    if (count_ != nullptr)
        __atomic_add_fetch(count_, 1, __ATOMIC_RELEASE);
}

void HostFileCopy::pin(const std::string& path) {
#ifdef _WIN32
    // Windows cannot rename over a file held open: the stamp alone.
    stamp_ = stampOf(path);
#else
    unpin();
    pinned_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    stamp_ = pinned_ >= 0 && ::fstat(static_cast<int>(pinned_), &st) == 0 ? stampOf(st)
                                                                          : FileStamp{};
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
    std::error_code ec;
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
