// What the fuzz targets share: a quiet process in a folder of its own, the
// library's process-wide state reset between inputs, emulated hosts held
// in memory, and input bytes served as a file without touching the disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace emulator {
class EmulatedHost;
}

namespace fuzz {

// Once per process: standard input from /dev/null, standard output and
// error streams of the program silenced (the sanitizers still report on
// file descriptor 2), a fresh temporary folder made, and KV_CLI_*
// settings cleared. Returns that folder.
const std::string& Prepare();

// Makes the temporary folder the working folder while alive (files the
// program writes beside it, such as an event capture, land there), and
// restores the one before, so that libFuzzer's own relative paths hold
// between inputs. A crash ends the process inside the folder: give
// -artifact_prefix as an absolute path (scripts/fuzz.sh does).
class InFolder {
  public:
    InFolder();
    ~InFolder();
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

  private:
    int saved_ = -1;
};

// The library's process-wide state back to its start: the driver's
// controller table, the OS layer's lists, the error record and the message
// ring.
void ResetLibrary();

// A host file of the fixtures, parsed once (its request log dropped, so no
// input makes the host write beside the host file).
const nlohmann::json& FixtureHost(const std::string& relativePath);
// The built-in default host.
const nlohmann::json& DefaultHost();

// Installs a fresh in-memory emulated host of `state` as the process-wide
// host (the library reset first); returns it.
emulator::EmulatedHost& InstallHost(const nlohmann::json& state);

// Bytes held in an anonymous memory file, named by a path that every file
// call can open ("/proc/self/fd/N"). Set() replaces the whole content.
class MemoryFile {
  public:
    MemoryFile();
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    void Set(const uint8_t* data, std::size_t size);
    const std::string& path() const { return path_; }

  private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace fuzz
