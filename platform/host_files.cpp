#include "platform/host_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

// The runtimes that translate line ends in files know this flag; the
// others read every file byte for byte anyway.
#ifndef O_BINARY
#define O_BINARY 0
#endif

namespace platform {

namespace {

// The Windows error that the runtime's errno stands for, so that a file
// that cannot be read is reported as the system reports it.
uint32_t SystemErrorOf(int error) {
    switch (error) {
        case ENOENT:
            return kErrorFileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
            return kErrorPathNotFound;
        case EACCES:
        case EPERM:
        case EISDIR:
            return kErrorAccessDenied;
        case EBADF:
            return kErrorInvalidHandle;
        case ENOMEM:
            return kErrorNotEnoughMemory;
        case EIO:
            return kErrorIoDevice;
        default:
            return kErrorGenFailure;
    }
}

// The most one read call is asked for; larger reads take several.
constexpr std::size_t kMaxReadChunk = 1u << 30;

}  // namespace

bool CtrlZEndsText() {
#ifdef _WIN32
    return true;
#else
    return false;
#endif
}

uint32_t GetFileSize(const char* path, int64_t* size) {
    struct stat status {};
    if (stat(path, &status) != 0)
        return SystemErrorOf(errno);
    *size = static_cast<int64_t>(status.st_size);
    return kErrorSuccess;
}

FileReader::FileReader(const char* path) : fd_(open(path, O_RDONLY | O_BINARY)) {
    if (fd_ < 0)
        openError_ = SystemErrorOf(errno);
}

FileReader::~FileReader() {
    if (fd_ >= 0)
        (void)close(fd_);
}

uint32_t FileReader::read(void* data, std::size_t size, std::size_t* got) {
    *got = 0;
    if (fd_ < 0)
        return kErrorInvalidHandle;
    auto* out = static_cast<unsigned char*>(data);
    while (*got < size) {
        const std::size_t chunk = std::min(size - *got, kMaxReadChunk);
        const auto n = ::read(fd_, out + *got, static_cast<unsigned>(chunk));
        if (n < 0)
            return SystemErrorOf(errno);
        if (n == 0)
            break;
        *got += static_cast<std::size_t>(n);
    }
    return kErrorSuccess;
}

}  // namespace platform
