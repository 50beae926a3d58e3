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

// The temporary file beside `path` that this process writes a new version
// of it to. Every write runs under the lock; the process id tells whose a
// file left behind was.
std::string temporaryName(const std::string& path) {
    static const std::string suffix = ".tmp." + std::to_string(processId());
    return path + suffix;
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

bool lockExclusively(int fd) {
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

// Maps the write count a lock file holds; a new one grows to hold it. Null
// when it cannot.
uint64_t* mapCount(int fd, const struct stat& st) {
    if (st.st_size < static_cast<off_t>(sizeof(uint64_t)) && ::ftruncate(fd, sizeof(uint64_t)) != 0)
        return nullptr;
    void* mapped = ::mmap(nullptr, sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return mapped != MAP_FAILED ? static_cast<uint64_t*>(mapped) : nullptr;
}
#endif

}  // namespace

LockFile::~LockFile() {
    close();
}

void LockFile::open(const std::string& hostFile) {
    path_ = hostFile + ".lock";
#ifndef _WIN32
    (void)reopen();
#endif
}

#ifdef _WIN32
void LockFile::lock() {
    HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        cannotLock(path_, lastSystemError());
    OVERLAPPED at = {};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) {
        const std::string why = lastSystemError();
        CloseHandle(file);
        cannotLock(path_, why);
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
}

void LockFile::unlock() {
    HANDLE file = reinterpret_cast<HANDLE>(handle_);
    OVERLAPPED at = {};
    UnlockFileEx(file, 0, 1, 0, &at);
    close();
}

void LockFile::close() {
    if (handle_ != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = -1;
}
#else
void LockFile::lock() {
    while (true) {
        if (handle_ < 0 && !reopen())
            cannotLock(path_, lastSystemError());
        if (!lockExclusively(static_cast<int>(handle_))) {
            const std::string why = lastSystemError();
            close();
            cannotLock(path_, why);
        }
        if (stillNamed())
            return;
        // The path names another file now, or none: that one is the lock.
        close();
    }
}

void LockFile::unlock() {
    if (handle_ >= 0)
        ::flock(static_cast<int>(handle_), LOCK_UN);
}

bool LockFile::reopen() {
    close();
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int why = errno;
        ::close(fd);
        errno = why;
        return false;
    }
    handle_ = fd;
    device_ = static_cast<uint64_t>(st.st_dev);
    inode_ = static_cast<uint64_t>(st.st_ino);
    count_ = mapCount(fd, st);
    return true;
}

bool LockFile::stillNamed() const {
    struct stat st;
    return ::stat(path_.c_str(), &st) == 0 && static_cast<uint64_t>(st.st_dev) == device_ &&
           static_cast<uint64_t>(st.st_ino) == inode_;
}

void LockFile::close() {
    if (count_ != nullptr)
        ::munmap(count_, sizeof *count_);
    count_ = nullptr;
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
    handle_ = -1;
}
#endif

uint64_t LockFile::writes() const {
    return count_ != nullptr ? __atomic_load_n(count_, __ATOMIC_ACQUIRE) : 0;
}

void LockFile::countWrite() {
    if (count_ != nullptr)
        __atomic_add_fetch(count_, 1, __ATOMIC_RELEASE);
}

HostFileLock::HostFileLock(LockFile& file) : file_(file) {
    file_.lock();
}

HostFileLock::HostFileLock(const std::string& hostFile)
    : own_(std::make_unique<LockFile>()), file_(*own_) {
    own_->open(hostFile);
    file_.lock();
}

HostFileLock::~HostFileLock() {
    file_.unlock();
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

FileStamp stampOfOpenFile(int fd) {
    struct stat st;
    return ::fstat(fd, &st) == 0 ? stampOf(st) : FileStamp{};
}

bool writeAll(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Writes `text` to a new temporary file beside `path` and renames it over
// `path` (see replaceFileAtomically); answers the descriptor that wrote the
// new version, still open. Throws std::runtime_error on failure.
int writeNewVersion(const std::string& path, const std::string& text) {
    const std::string temporary = temporaryName(path);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    const auto fail = [&](const char* what) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.c_str());
        throw std::runtime_error(what + path);
    };
    if (fd < 0 || !writeAll(fd, text))
        fail("cannot write emulated host file ");
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        fail("cannot replace emulated host file ");
    return fd;
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
    pin(fd, stampOf(st));
#endif
    text_ = std::move(text);
    return true;
}

void HostFileCopy::write(const std::string& path, std::string text) {
#ifdef _WIN32
    replaceFileAtomically(path, text);
    // Windows cannot rename over a file held open: the stamp alone.
    stamp_ = stampOf(path);
#else
    // The descriptor that wrote the new version keeps it open.
    const int fd = writeNewVersion(path, text);
    pin(fd, stampOfOpenFile(fd));
#endif
    text_ = std::move(text);
    // Under the lock this copy was the latest version, and now is again.
    lockFile_.countWrite();
    writesSeen_ = lockFile_.writes();
}

bool HostFileCopy::current(const std::string& path) const {
    return stampOf(path) == stamp_;
}

void HostFileCopy::countWrites(const std::string& path) {
    lockFile_.open(path);
    writesSeen_ = lockFile_.writes();
    stamped_ = std::chrono::steady_clock::now();
}

bool HostFileCopy::followed(const std::string& path) {
    const auto now = std::chrono::steady_clock::now();
    // The count is read before the stamp: a write counted after it is
    // seen by the next call.
    const uint64_t writes = lockFile_.writes();
    if (lockFile_.counting() && writes == writesSeen_ && now - stamped_ < kStampInterval)
        return true;
    writesSeen_ = writes;
    stamped_ = now;
    return current(path);
}

void HostFileCopy::pin(std::intptr_t file, const FileStamp& stamp) {
    unpin();
    pinned_ = file;
    stamp_ = stamp;
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
#ifdef _WIN32
    std::error_code ec;
    const std::string temporary = temporaryName(path);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            fs::remove(temporary, ec);
            throw std::runtime_error("cannot write emulated host file " + path);
        }
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        fs::remove(temporary, ec);
        throw std::runtime_error("cannot replace emulated host file " + path);
    }
#else
    ::close(writeNewVersion(path, text));
#endif
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
