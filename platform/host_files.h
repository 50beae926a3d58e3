// The files of the machine the program runs on, read byte for byte as the
// C runtime reads them: both host bindings keep their files (firmware
// images, command files) on the real file system. A failure is the Windows
// error code the system reports for it, like every failure of the seam.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/host_system.h"  // the error codes

namespace platform {

// Whether a Ctrl-Z ends text input (standard input, a command file): on
// Windows it does, as the C runtime's text mode ends a file there, whatever
// mode a stream was opened in; elsewhere it is an ordinary character.
[[nodiscard]] bool CtrlZEndsText();

// The size of file `path` in *size, or a Windows error code.
[[nodiscard]] uint32_t GetFileSize(const char* path, int64_t* size);

// One file opened for reading; closed on every path.
class FileReader {
  public:
    explicit FileReader(const char* path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // kErrorSuccess, or why the file could not be opened.
    uint32_t openError() const { return openError_; }
    // Reads up to `size` bytes into `data`, fewer only at the end of the
    // file: the count in *got, or a Windows error code.
    [[nodiscard]] uint32_t read(void* data, std::size_t size, std::size_t* got);

  private:
    int fd_ = -1;
    uint32_t openError_ = 0;
};

}  // namespace platform
