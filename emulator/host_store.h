// The host file on disk: the only file operations of the emulated host that
// differ between operating systems (an exclusive lock beside the file and
// an atomic replace) live behind these few functions.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

namespace emulator {

// The file a host path names: a symbolic link is followed to its target (a
// dangling one to the file it would name), so that a write replaces the
// target and not the link, and every run on one file, through a link or
// not, shares one lock file. A path that is no link stays as it is.
std::string hostFileTarget(const std::string& path);

// The lock file "<host file>.lock": every change of the host file runs
// under its exclusive lock, and it holds the file's write count. Two
// processes (or two hosts in one process) that work on the same host file
// take turns: each loads, changes and saves under the lock.
//
// On POSIX the file stays open from the first use to the object's end, so
// a lock costs a lock call and no open. The count is mapped into memory:
// a process sees that another wrote the file without a system call. A lock
// file removed or replaced meanwhile would be no lock against the
// processes that open the new one: each lock checks that the path still
// names the file locked, and opens the new one otherwise; the first such
// lock counts one write in the old file too, so that the processes still
// following it look again. A lock file shortened meanwhile (": >
// host.json.lock") leaves the mapped count without a page to read: the
// read gives 0 and the count is no longer trusted. Either way the process
// opens and maps the lock file again when it next looks at the host
// file's stamp (follow) or locks. On Windows the file is opened for each
// lock and nothing is counted.
class LockFile {
  public:
    LockFile() = default;
    ~LockFile();
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // The lock file of `hostFile`, opened (and its count mapped) now when
    // it can be; lock() tries again when not.
    void open(const std::string& hostFile);
    // Takes the exclusive lock. A lock file that cannot be opened or locked
    // throws platform::HostUnusable: a change never runs unlocked.
    void lock();
    void unlock();

    // Whether the write count is mapped (and still there), and the count
    // now (0 when not). Each write counts under the lock, after its rename.
    [[nodiscard]] bool counting() const;
    [[nodiscard]] uint64_t writes() const;
    // Counts one write; the caller holds the lock.
    void countWrite();
    // Opens the lock file again when the path names another file now (or
    // none), or the count was lost with a shortened file; not while locked.
    void follow();

  private:
    // Opens the lock file and maps its count; false with the reason in *why.
    bool reopen(std::string* why);
    void close();
    [[nodiscard]] bool stillNamed() const;

    std::string path_;
    std::intptr_t handle_ = -1;
    uint64_t device_ = 0;  // the identity of the file open (POSIX)
    uint64_t inode_ = 0;
    uint64_t* count_ = nullptr;
    int countSlot_ = -1;  // where the mapped count is known to the fault handler
    bool locked_ = false;
};

// The exclusive lock of a lock file, held for the object's lifetime.
class HostFileLock {
  public:
    explicit HostFileLock(LockFile& file);
    // Through a lock file of its own, opened for this lock.
    explicit HostFileLock(const std::string& hostFile);
    ~HostFileLock();
    HostFileLock(const HostFileLock&) = delete;
    HostFileLock& operator=(const HostFileLock&) = delete;

  private:
    std::unique_ptr<LockFile> own_;
    LockFile& file_;
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
    uint32_t mode = 0;     // permission bits (POSIX only)

    bool operator==(const FileStamp& other) const;
    bool operator!=(const FileStamp& other) const { return !(*this == other); }
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

    // Follows the write count of the host file at `path` from now on, and
    // locks through its lock file.
    void countWrites(const std::string& path);
    // The exclusive lock of the host file (see LockFile::lock).
    [[nodiscard]] HostFileLock lock() { return HostFileLock(lockFile_); }
    // Reads the file: true, or false (the copy unchanged) when there is no
    // file. A file that is there but cannot be read, or is no regular file
    // (a folder, a FIFO, a device), throws platform::HostUnusable
    // ("<path>: cannot read the emulated host file: <reason>"); nothing is
    // opened in a way that could wait, for a FIFO's writer say.
    [[nodiscard]] bool read(const std::string& path);
    // Writes `text` to the temporary file "<path>.tmp" and renames it over
    // `path`, so a reader sees the old file or the new one, never a part,
    // and keeps it as the copy, the new version held open (POSIX) by the
    // descriptor that wrote it; the caller holds the lock, so the temporary
    // file is this writer's alone, and one that a killed writer left is
    // replaced. A failure throws platform::HostUnusable ("<file>: cannot
    // write the emulated host file: <reason>", or "cannot replace" for the
    // rename) and leaves the copy stale: the next call reads the file again
    // instead of trusting a change that was never written.
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
    // Keeps a version read or written open through `file` (POSIX), with
    // its stamp.
    void pin(std::intptr_t file, const FileStamp& stamp);
    void unpin();

    std::string text_;
    FileStamp stamp_;
    bool stale_ = false;  // a write failed: the file is read again
    std::intptr_t pinned_ = -1;
    LockFile lockFile_;
    uint64_t writesSeen_ = 0;
    std::chrono::steady_clock::time_point stamped_;
};

// The name of the machine the emulator runs on, without its domain.
std::string localHostName();

// Opens `path` for appending, creating it when missing, as the C runtime's
// fopen(path, "a") does ("ab" when `binary`); null when it cannot. A FIFO
// without a reader fails at once instead of holding the run.
std::FILE* openForAppend(const std::string& path, bool binary);

// Appends one line to a file (the request log); failures are ignored.
void appendLine(const std::string& path, const std::string& line);

}  // namespace emulator
