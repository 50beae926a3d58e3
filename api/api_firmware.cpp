// The public firmware operations that check their arguments before the
// dispatcher, and the download of an image file.
#include <cstdint>
#include <new>
#include <vector>

#include "api/api.h"
#include "api/api_error.h"
#include "api/dispatch.h"
#include "api/driver.h"
#include "api/rhosk/rhosk_firmware.h"
#include "platform/host_files.h"

namespace {

// "Invalid firmware image size."
constexpr uint32_t kApiInvalidImageSize = 102;

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
    int64_t fileSize = 0;
    const uint32_t error = platform::GetFileSize(fileName, &fileSize);
    if (error != platform::kErrorSuccess)
        return rhosk_firmware::RecordFileError(error);
    // The size travels as a signed 32-bit count: nothing, or more than
    // that, is no image.
    if (fileSize <= 0 || fileSize > INT32_MAX)
        return ApiError::Fail(kApiInvalidImageSize);
    const auto size = static_cast<std::size_t>(fileSize);
    std::vector<uint8_t> image;
    try {
        image.resize(size);
    } catch (const std::bad_alloc&) {
        return ApiError::Fail(kApiNoMemory);
    }
    {
        platform::FileReader file(fileName);
        if (file.openError() != platform::kErrorSuccess)
            return rhosk_firmware::RecordFileError(file.openError());
        // A file that changed its size since it was examined, or that
        // cannot be read through, is no image to send.
        std::size_t got = 0;
        if (file.read(image.data(), size, &got) != platform::kErrorSuccess || got != size)
            return ApiError::Fail(kApiInvalidImageSize);
    }
    const int sent = DownloadFirmwareImage(controller, image.data(), static_cast<uint32_t>(size));
    return sent < 0 ? -1 : sent;
}

}  // namespace Api
