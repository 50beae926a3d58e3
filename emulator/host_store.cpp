#include "emulator/host_store.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <utility>

#include "emulator/host_paths.h"
#include "platform/host_system.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace emulator {

namespace fs = std::filesystem;

namespace {

// What stands in place of the system's reason for a path that names no
// regular file: a folder, a FIFO, a device.
const char kNotRegularFile[] = "not a regular file";

// One line for the user: the file the system refused, what the store was
// doing and the system's reason.
[[noreturn]] void refuse(const std::string& file, const char* what, const std::string& why) {
    throw platform::HostUnusable(file + ": cannot " + what + " the emulated host file: " + why);
}

[[noreturn]] void cannotLock(const std::string& path, const std::string& why) {
    refuse(path, "lock", why);
}

[[noreturn]] void cannotRead(const std::string& path, const std::string& why) {
    refuse(path, "read", why);
}

// The temporary file beside `path` that a new version of it is written to.
// Every write runs under the lock, so the name is the writer's alone; a
// file a killed writer left there is replaced by the next write.
std::string temporaryName(const std::string& path) {
    return path + ".tmp";
}

#ifdef _WIN32
// The system's text of a Windows error and its number:
// "Access is denied. (Windows error 5)".
std::string systemErrorText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = length > 0 ? utf8Text(std::wstring(text, length)) : std::string();
    if (text != nullptr)
        LocalFree(text);
    // The message table's texts end with a line end.
    while (!message.empty() && std::strchr(" \t\r\n", message.back()) != nullptr)
        message.pop_back();
    const std::string number = "Windows error " + std::to_string(code);
    return message.empty() ? number : message + " (" + number + ")";
}

std::string lastSystemError() {
    return systemErrorText(GetLastError());
}

// A file handle, closed on every path.
class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid())
            CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

  private:
    HANDLE handle_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens an existing file or folder (a folder, so that it can be told from
// a file); a FIFO or device opens too and is told by its type.
HANDLE openExisting(const std::string& path, DWORD access) {
    return CreateFileW(wideText(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Whether an open handle is a regular file: on a disk, and no folder.
bool isRegularFile(HANDLE file, BY_HANDLE_FILE_INFORMATION* info) {
    return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, info) &&
           (info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The path a handle's file has, without the "\\?\" that the system puts in
// front: links and junctions followed.
std::wstring finalPathOf(HANDLE file) {
    constexpr DWORD kFlags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    const DWORD size = GetFinalPathNameByHandleW(file, nullptr, 0, kFlags);
    if (size == 0)
        return std::wstring();
    std::wstring path(size, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(file, &path[0], size, kFlags);
    if (length == 0 || length >= size)
        return std::wstring();
    path.resize(length);
    const std::wstring unc = L"\\\\?\\UNC\\";
    const std::wstring local = L"\\\\?\\";
    if (path.compare(0, unc.size(), unc) == 0)
        return L"\\\\" + path.substr(unc.size());
    if (path.compare(0, local.size(), local) == 0)
        return path.substr(local.size());
    return path;
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

// The write counts this process has mapped, each on a page of its own.
// Another process can shorten a lock file while it is mapped here (": >
// host.json.lock"): its page then has no file behind it, and reading the
// count raises SIGBUS. The handler puts a page of zeros in its place, so
// that the read goes on (and sees 0), and marks the count lost; the lock
// file is mapped again with the next lock. A fault anywhere else goes to
// the handler that was there before.
class MappedCounts {
  public:
    // Registers a mapped count; its slot, or -1 when every slot is taken
    // (the count then stays unmapped).
    static int enter(void* page) {
        static std::once_flag installed;
        std::call_once(installed, install);
        for (int slot = 0; slot < kSlots; ++slot) {
            void* empty = nullptr;
            if (pages_[slot].compare_exchange_strong(empty, page)) {
                lost_[slot].store(false);
                return slot;
            }
        }
        return -1;
    }
    static void leave(int slot) { pages_[slot].store(nullptr); }
    static bool lost(int slot) { return lost_[slot].load(std::memory_order_acquire); }

  private:
    static constexpr int kSlots = 64;

    static void install() {
        pageSize_ = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        (void)::sigaction(SIGBUS, &action, &previous_);
    }

    static void onBusError(int signal, siginfo_t* info, void* context) {
        const auto address = reinterpret_cast<uintptr_t>(info->si_addr);
        for (int slot = 0; slot < kSlots; ++slot) {
            const auto page = reinterpret_cast<uintptr_t>(pages_[slot].load());
            if (page == 0 || address < page || address - page >= pageSize_)
                continue;
            void* zeros = ::mmap(reinterpret_cast<void*>(page), pageSize_, PROT_READ | PROT_WRITE,
                                 MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
            if (zeros != MAP_FAILED) {
                lost_[slot].store(true, std::memory_order_release);
                return;
            }
            break;
        }
        passOn(signal, info, context);
    }

    // The fault is not a shortened lock file's: the handler before ours
    // takes it, or the system's default action when there was none (the
    // faulting access runs again and meets it).
    static void passOn(int signal, siginfo_t* info, void* context) {
        if ((previous_.sa_flags & SA_SIGINFO) != 0 && previous_.sa_sigaction != nullptr) {
            previous_.sa_sigaction(signal, info, context);
        } else if (previous_.sa_handler != SIG_DFL && previous_.sa_handler != SIG_IGN) {
            previous_.sa_handler(signal);
        } else {
            struct sigaction fallback {};
            fallback.sa_handler = SIG_DFL;
            sigemptyset(&fallback.sa_mask);
            (void)::sigaction(signal, &fallback, nullptr);
        }
    }

    static inline std::atomic<void*> pages_[kSlots] = {};
    static inline std::atomic<bool> lost_[kSlots] = {};
    static inline uintptr_t pageSize_ = 4096;
    static inline struct sigaction previous_ {};
};

// Maps the write count a lock file holds; a new one grows to hold it. Null
// when it cannot.
uint64_t* mapCount(int fd, const struct stat& st, int* slot) {
    if (st.st_size < static_cast<off_t>(sizeof(uint64_t)) && ::ftruncate(fd, sizeof(uint64_t)) != 0)
        return nullptr;
    void* mapped = ::mmap(nullptr, sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    *slot = MappedCounts::enter(mapped);
    if (*slot < 0) {
        ::munmap(mapped, sizeof(uint64_t));
        return nullptr;
    }
    return static_cast<uint64_t*>(mapped);
}
#endif

}  // namespace

#ifdef _WIN32
std::string hostFileTarget(const std::string& path) {
    // The system follows the links to the file, and names the file it
    // found. A path that names nothing yet is read (or made) as it is.
    FileHandle file(openExisting(path, 0));
    const std::wstring target = file.valid() ? finalPathOf(file.get()) : std::wstring();
    return target.empty() ? path : utf8Text(target);
}
#else
std::string hostFileTarget(const std::string& path) {
    // As many links as the system itself follows in one path.
    constexpr int kMaxLinks = 40;
    fs::path current = pathOf(path);
    for (int links = 0; links < kMaxLinks; ++links) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error)))
            return textOf(current);
        const fs::path target = fs::read_symlink(current, error);
        if (error)
            return textOf(current);  // reading the file tells why
        const fs::path next = target.is_absolute() ? target : current.parent_path() / target;
        // The folders on the way are resolved as the system resolves them
        // (a ".." after a linked folder included); the last name may be a
        // link again, or name no file yet.
        current = fs::weakly_canonical(next, error);
        if (error)
            current = next.lexically_normal();
    }
    cannotRead(path, std::strerror(ELOOP));
}
#endif

LockFile::~LockFile() {
    close();
}

void LockFile::open(const std::string& hostFile) {
    path_ = hostFile + ".lock";
#ifndef _WIN32
    std::string ignored;
    (void)reopen(&ignored);
#endif
}

#ifdef _WIN32
void LockFile::lock() {
    FileHandle file(CreateFileW(wideText(path_).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        cannotLock(path_, lastSystemError());
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        cannotLock(path_, kNotRegularFile);
    OVERLAPPED at = {};
    if (!LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at))
        cannotLock(path_, lastSystemError());
    handle_ = reinterpret_cast<std::intptr_t>(file.release());
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

bool LockFile::counting() const {
    return false;
}

void LockFile::follow() {}
#else
void LockFile::lock() {
    while (true) {
        std::string why;
        if (handle_ < 0 && !reopen(&why))
            cannotLock(path_, why);
        if (!lockExclusively(static_cast<int>(handle_))) {
            why = lastSystemError();
            close();
            cannotLock(path_, why);
        }
        const bool named = stillNamed();
        if (named && (count_ == nullptr || counting())) {
            locked_ = true;
            return;
        }
        // The path names another file now, or none, or the file was
        // shortened under the mapped count: that file is opened again. The
        // processes still following the old file's count are told to look.
        if (!named)
            countWrite();
        close();
    }
}

void LockFile::follow() {
    if (!locked_ && handle_ >= 0 && (!stillNamed() || (count_ != nullptr && !counting()))) {
        std::string ignored;
        (void)reopen(&ignored);
    }
}

void LockFile::unlock() {
    if (handle_ >= 0)
        ::flock(static_cast<int>(handle_), LOCK_UN);
    locked_ = false;
}

bool LockFile::reopen(std::string* why) {
    close();
    // Not waiting for a FIFO's other end: a FIFO is refused below.
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) {
        *why = lastSystemError();
        return false;
    }
    struct stat st;
    const bool known = ::fstat(fd, &st) == 0;
    if (!known || !S_ISREG(st.st_mode)) {
        *why = known ? kNotRegularFile : lastSystemError();
        ::close(fd);
        return false;
    }
    handle_ = fd;
    device_ = static_cast<uint64_t>(st.st_dev);
    inode_ = static_cast<uint64_t>(st.st_ino);
    count_ = mapCount(fd, st, &countSlot_);
    return true;
}

bool LockFile::stillNamed() const {
    struct stat st;
    return ::stat(path_.c_str(), &st) == 0 && static_cast<uint64_t>(st.st_dev) == device_ &&
           static_cast<uint64_t>(st.st_ino) == inode_;
}

void LockFile::close() {
    if (count_ != nullptr) {
        MappedCounts::leave(countSlot_);
        ::munmap(count_, sizeof *count_);
    }
    count_ = nullptr;
    countSlot_ = -1;
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
    handle_ = -1;
}

bool LockFile::counting() const {
    return count_ != nullptr && !MappedCounts::lost(countSlot_);
}
#endif

uint64_t LockFile::writes() const {
    return counting() ? __atomic_load_n(count_, __ATOMIC_ACQUIRE) : 0;
}

void LockFile::countWrite() {
    if (counting())
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
           modified == o.modified && changed == o.changed && mode == o.mode;
}

namespace {

#ifdef _WIN32
FileStamp stampOf(uint64_t size, const FILETIME& lastWrite) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = size;
    const uint64_t ticks = (uint64_t{lastWrite.dwHighDateTime} << 32) | lastWrite.dwLowDateTime;
    stamp.modified = static_cast<int64_t>(ticks) * 100;
    return stamp;
}

FileStamp stampOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wideText(path).c_str(), GetFileExInfoStandard, &data))
        return FileStamp{};
    return stampOf((uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow, data.ftLastWriteTime);
}

// The most one read or write call is asked for.
constexpr DWORD kMaxChunk = 1u << 20;

// Reads a regular file's text from its start; "" or the reason it failed.
std::string readAll(HANDLE file, std::string* text) {
    char chunk[65536];
    while (true) {
        DWORD got = 0;
        if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr))
            return lastSystemError();
        if (got == 0)
            return std::string();
        text->append(chunk, got);
    }
}

bool writeAll(HANDLE file, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, kMaxChunk));
        DWORD written = 0;
        if (!WriteFile(file, text.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// Writes `text` to the temporary file and renames it over `path` (see
// HostFileCopy::write).
void writeNewVersion(const std::string& path, const std::string& text) {
    const std::string temporary = temporaryName(path);
    const std::wstring wideTemporary = wideText(temporary);
    FileHandle file(CreateFileW(wideTemporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        refuse(temporary, "write", lastSystemError());
    const bool written = writeAll(file.get(), text);
    const std::string why = written ? std::string() : lastSystemError();
    CloseHandle(file.release());
    if (!written) {
        DeleteFileW(wideTemporary.c_str());
        refuse(temporary, "write", why);
    }
    if (!MoveFileExW(wideTemporary.c_str(), wideText(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const std::string failure = lastSystemError();
        DeleteFileW(wideTemporary.c_str());
        refuse(path, "replace", failure);
    }
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
    stamp.mode = static_cast<uint32_t>(st.st_mode & 07777);
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
        if (n == 0)
            errno = EIO;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The process's file-mode creation mask, which the system takes from the
// mode a new file asks for.
mode_t creationMask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

// Makes the temporary file afresh, with `mode`: whatever a killed writer
// left at its name goes first, so no FIFO or link left there can take the
// text.
int createTemporary(const std::string& temporary, mode_t mode) {
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    int fd = ::open(temporary.c_str(), flags, mode);
    if (fd < 0 && errno == EEXIST && ::unlink(temporary.c_str()) == 0)
        fd = ::open(temporary.c_str(), flags, mode);
    if (fd < 0)
        refuse(temporary, "write", lastSystemError());
    return fd;
}

// Writes `text` to the temporary file and renames it over `path` (see
// HostFileCopy::write); answers the descriptor that wrote the new version,
// still open. The new version keeps the permissions of the one it replaces
// (`replaced`, the latest as the caller holds it): a host file its owner
// made private stays private, whatever the mask.
int writeNewVersion(const std::string& path, const std::string& text, const FileStamp& replaced) {
    const mode_t mode = replaced.exists ? static_cast<mode_t>(replaced.mode) : 0666;
    const std::string temporary = temporaryName(path);
    const int fd = createTemporary(temporary, mode);
    const auto fail = [&](const std::string& file, const char* what) {
        const std::string why = lastSystemError();
        ::close(fd);
        ::unlink(temporary.c_str());
        refuse(file, what, why);
    };
    // The mask (or a bit beyond the permissions) changed what the file
    // was made with.
    const bool maskCut = (mode & (creationMask() | ~mode_t{0777})) != 0;
    if (replaced.exists && maskCut && ::fchmod(fd, mode) != 0)
        fail(temporary, "write");
    if (!writeAll(fd, text))
        fail(temporary, "write");
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        fail(path, "replace");
    return fd;
}

// Reads a regular file's text through its open descriptor; "" or the
// reason it failed.
std::string readRegularFile(int fd, struct stat* st, std::string* text) {
    if (::fstat(fd, st) != 0)
        return lastSystemError();
    if (!S_ISREG(st->st_mode))
        return kNotRegularFile;
    char chunk[65536];
    while (true) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n == 0)
            return std::string();
        if (n < 0 && errno != EINTR)
            return lastSystemError();
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

#ifdef _WIN32
bool HostFileCopy::read(const std::string& path) {
    FileHandle file(openExisting(path, GENERIC_READ));
    if (!file.valid()) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND)
            return false;
        cannotRead(path, lastSystemError());
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!isRegularFile(file.get(), &info))
        cannotRead(path, kNotRegularFile);
    std::string text;
    const std::string why = readAll(file.get(), &text);
    if (!why.empty())
        cannotRead(path, why);
    // Windows cannot rename over a file held open: the stamp alone.
    stamp_ =
        stampOf((uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow, info.ftLastWriteTime);
    text_ = std::move(text);
    stale_ = false;
    return true;
}
#else
bool HostFileCopy::read(const std::string& path) {
    // Stamped and read through one descriptor, which then keeps the
    // version open. A FIFO opens without waiting for a writer, and is
    // refused.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return false;
        cannotRead(path, lastSystemError());
    }
    struct stat st;
    std::string text;
    const std::string why = readRegularFile(fd, &st, &text);
    if (!why.empty()) {
        ::close(fd);
        cannotRead(path, why);
    }
    pin(fd, stampOf(st));
    text_ = std::move(text);
    stale_ = false;
    return true;
}
#endif

void HostFileCopy::write(const std::string& path, std::string text) {
    // Until the new version is there, the copy does not vouch for the file.
    stale_ = true;
#ifdef _WIN32
    writeNewVersion(path, text);
    // Windows cannot rename over a file held open: the stamp alone.
    stamp_ = stampOf(path);
#else
    // The descriptor that wrote the new version keeps it open.
    const int fd = writeNewVersion(path, text, stamp_);
    pin(fd, stampOfOpenFile(fd));
#endif
    stale_ = false;
    text_ = std::move(text);
    // Under the lock this copy was the latest version, and now is again.
    lockFile_.countWrite();
    writesSeen_ = lockFile_.writes();
}

bool HostFileCopy::current(const std::string& path) const {
    return !stale_ && stampOf(path) == stamp_;
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
    uint64_t writes = lockFile_.writes();
    if (!stale_ && lockFile_.counting() && writes == writesSeen_ && now - stamped_ < kStampInterval)
        return true;
    // Whatever happened to the lock file meanwhile, its count is followed
    // again from here; the stamp tells what it did not count.
    lockFile_.follow();
    writes = lockFile_.writes();
    writesSeen_ = writes;
    stamped_ = now;
    return current(path);
}

void HostFileCopy::pin(std::intptr_t file, const FileStamp& stamp) {
    unpin();
    pinned_ = file;
    stamp_ = stamp;
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

#ifdef _WIN32
std::FILE* openForAppend(const std::string& path, bool binary) {
    return _wfopen(wideText(path).c_str(), binary ? L"ab" : L"a");
}
#else
std::FILE* openForAppend(const std::string& path, bool binary) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, binary ? "ab" : "a");
    if (file == nullptr)
        ::close(fd);
    return file;
}
#endif

void appendLine(const std::string& path, const std::string& line) {
    std::FILE* file = openForAppend(path, true);
    if (file == nullptr)
        return;
    (void)std::fwrite(line.data(), 1, line.size(), file);
    (void)std::fputc('\n', file);
    (void)std::fclose(file);
}

}  // namespace emulator
