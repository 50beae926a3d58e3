// The public operations of firmware images and automatic drive detection.
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include "api/api.h"
#include "api/api_error.h"
#include "api/dispatch.h"
#include "api/driver.h"
#include "api/rhosk/rhosk_firmware.h"

namespace {

// "Invalid firmware image size."
constexpr uint32_t kApiInvalidImageSize = 102;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

namespace Api {

int GetFirmwareImageCompatibility(ObjectId controller, const char* fileName, uint64_t reserved,
                                  FirmwareCompatRecord* record) {
    if (fileName == nullptr || record == nullptr)
        return ApiError::Fail(kApiInvalidArgumentValue);
    return Dispatch::GetFirmwareImageCompatibility(controller, fileName, reserved, record);
}

int DownloadFirmwareImage(ObjectId controller, const uint8_t* image, uint32_t size) {
    // An image of no bytes is none: nothing would be sent, and the
    // download must not report success for it.
    if (size == 0)
        return ApiError::Fail(kApiInvalidImageSize);
    if (image == nullptr)
        return ApiError::Fail(kApiInvalidArgumentValue);
    return Dispatch::DownloadFirmwareImage(controller, image, size);
}

// Every way the file can fail to be read records why, so that the caller
// never reports an empty or an earlier error.
int DownloadFirmware(ObjectId controller, const char* fileName) {
    if (fileName == nullptr)
        return ApiError::Fail(kApiInvalidArgumentValue);
    struct stat status {};
    if (stat(fileName, &status) != 0)
        return rhosk_firmware::RecordFileError(errno);
    // The size travels as a signed 32-bit count: nothing, or more than
    // that, is no image.
    if (status.st_size <= 0 || status.st_size > INT32_MAX)
        return ApiError::Fail(kApiInvalidImageSize);
    const auto size = static_cast<std::size_t>(status.st_size);
    std::vector<uint8_t> image;
    try {
        image.resize(size);
    } catch (const std::bad_alloc&) {
        return ApiError::Fail(kApiNoMemory);
    }
    {
        std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName, "rb"));
        if (!file)
            return rhosk_firmware::RecordFileError(errno);
        // A file that changed its size since it was examined is no image
        // to send.
        if (std::fread(image.data(), 1, size, file.get()) != size)
            return ApiError::Fail(kApiInvalidImageSize);
    }
    const int sent = DownloadFirmwareImage(controller, image.data(), static_cast<uint32_t>(size));
    return sent < 0 ? -1 : sent;
}

int EnableAutoDetect(ObjectId controller, const ObjectIdList128* ports) {
    return Dispatch::SetAutoDetect(controller, ports, 0);
}

int DisableAutoDetect(ObjectId controller, const ObjectIdList128* ports) {
    return Dispatch::SetAutoDetect(controller, ports, 1);
}

}  // namespace Api
