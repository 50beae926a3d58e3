// The host file on disk: the only file operations of the emulated host that
// differ between operating systems (an exclusive lock beside the file and
// an atomic replace) live behind these few functions.
#pragma once

#include <cstdint>
#include <string>

namespace emulator {

// An exclusive lock on "<host file>.lock", held for the object's lifetime.
// Two processes (or two hosts in one process) that work on the same host
// file take turns: each loads, changes and saves under the lock.
class HostFileLock {
  public:
    explicit HostFileLock(const std::string& hostFile);
    ~HostFileLock();
    HostFileLock(const HostFileLock&) = delete;
    HostFileLock& operator=(const HostFileLock&) = delete;

    [[nodiscard]] bool held() const { return held_; }

  private:
    std::intptr_t handle_ = -1;
    bool held_ = false;
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
