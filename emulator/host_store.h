// The host file on disk: the only file operations of the emulated host that
// differ between operating systems (an exclusive lock beside the file and
// an atomic replace) live behind these few functions.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>

namespace emulator {

// An exclusive lock on "<host file>.lock", held for the object's lifetime.
// Two processes (or two hosts in one process) that work on the same host
// file take turns: each loads, changes and saves under the lock. A lock
// file that cannot be opened or locked throws platform::HostUnusable: a
// change never runs unlocked.
class HostFileLock {
  public:
    explicit HostFileLock(const std::string& hostFile);
    ~HostFileLock();
    HostFileLock(const HostFileLock&) = delete;
    HostFileLock& operator=(const HostFileLock&) = delete;

  private:
    std::intptr_t handle_ = -1;
};

// What tells one version of the host file from another. Every write
// renames a new file over the host file, so each version has its own
// file identity (and, while a process keeps the version it read open, the
// system cannot give that identity to another file); size and times also
// catch an editor that rewrites the file in place.
struct FileStamp {
    bool exists = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modified = 0;  // nanoseconds
    int64_t changed = 0;   // nanoseconds (status change; POSIX only)

    bool operator==(const FileStamp& other) const;
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
};

// How many times the host file was written, kept in its lock file and
// mapped into every process that works on the file: a process sees that
// another wrote the file without a system call. Each write counts under
// the lock, after its rename. POSIX only; where the count cannot be mapped
// (on Windows, or a lock file that cannot be opened) nothing is counted.
class WriteCount {
  public:
    WriteCount() = default;
    ~WriteCount();
    WriteCount(const WriteCount&) = delete;
    WriteCount& operator=(const WriteCount&) = delete;

    // Maps the count of `hostFile`; false when it cannot.
    bool attach(const std::string& hostFile);
    [[nodiscard]] bool attached() const { return count_ != nullptr; }
    // The count now (0 when not attached).
    [[nodiscard]] uint64_t value() const;
    // Counts one write; the caller holds the lock.
    void add();

  private:
    uint64_t* count_ = nullptr;
};

// The host file as this process last read or wrote it: its text and its
// stamp. Asking whether the file still is that version costs one status
// call and no reading; with the file's write count it mostly costs none.
class HostFileCopy {
  public:
    HostFileCopy() = default;
    ~HostFileCopy();
    HostFileCopy(const HostFileCopy&) = delete;
    HostFileCopy& operator=(const HostFileCopy&) = delete;

    // Follows the write count of the host file at `path` from now on.
    void countWrites(const std::string& path);
    // Reads the file; false (the copy unchanged) when it cannot be read.
    [[nodiscard]] bool read(const std::string& path);
    // Writes `text` through a temporary file and a rename (see
    // replaceFileAtomically) and keeps it as the copy; the caller holds
    // the lock.
    void write(const std::string& path, std::string text);
    // True while the file at `path` is the version this copy holds: its
    // stamp says so.
    [[nodiscard]] bool current(const std::string& path) const;
    // The same, asked of the write count while it counts nothing new: a
    // write by another host is seen at once, a change made by other means
    // (an editor, a script) within kStampInterval, when the stamp is
    // checked again.
    [[nodiscard]] bool followed(const std::string& path);
    [[nodiscard]] const std::string& text() const { return text_; }
    // The text, given up (the copy is left without one): its storage can
    // hold the next.
    [[nodiscard]] std::string takeText() { return std::exchange(text_, std::string()); }

    static constexpr std::chrono::milliseconds kStampInterval{10};

  private:
    // Keeps the version just written open (POSIX) and stamps it.
    void pin(const std::string& path);
    void unpin();

    std::string text_;
    FileStamp stamp_;
    std::intptr_t pinned_ = -1;
    WriteCount writes_;
    uint64_t writesSeen_ = 0;
    std::chrono::steady_clock::time_point stamped_;
};

// The whole file as text; false when it cannot be read.
[[nodiscard]] bool readWholeFile(const std::string& path, std::string* text);

// Writes `text` to a temporary file beside `path` and renames it over
// `path`, so a reader sees the old file or the new one, never a part.
// Creates the folder when missing. Throws std::runtime_error on failure.
void replaceFileAtomically(const std::string& path, const std::string& text);

// The name of the machine the emulator runs on, without its domain.
std::string localHostName();

// Appends one line to a file (the request log); failures are ignored.
void appendLine(const std::string& path, const std::string& line);

}  // namespace emulator
