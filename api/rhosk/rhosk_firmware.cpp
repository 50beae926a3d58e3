// The newer family's firmware images: the examination of an image file
// against the controller, its driver and this library, and the chunked
// download under the controller's management lock.
#include "api/rhosk/rhosk_firmware.h"

#include <cstdio>
#include <cstring>

#include "api/api.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/device_io.h"
#include "api/driver.h"
#include "api/rhosk/management_lock.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_family.h"
#include "api/rhosk/rhosk_params.h"
#include "platform/host_files.h"

using namespace rhosk_firmware;

namespace {

// The library's own errors of the examination.
constexpr uint32_t kApiInvalidImageSize = 102;
constexpr uint32_t kApiInvalidMagic = 103;
constexpr uint32_t kApiIncompatibleArchitecture = 104;
constexpr uint32_t kApiIncompatibleSrl = 113;

// ControllerInfoTable parameters of the examination.
constexpr uint16_t kArchitectureParam = 14;
constexpr uint16_t kControllerSrlParam = 20;

// The SRL test applies from this firmware compatibility level on; images
// from this SRL on need a host bus of the Tevrin class.
constexpr uint32_t kSrlTestLevel = 31;
constexpr uint16_t kBusCheckSrl = 36;
constexpr uint32_t kTevrinBusBits = 0x300;

// DriverInfoBlock fields.
constexpr std::size_t kDriverInfoSize = 128;
constexpr std::size_t kDriverVersion = 96;  // four u16 parts
constexpr std::size_t kDriverLowestSrl = 104;
constexpr std::size_t kDriverHighestSrl = 106;

// The firmware image chunk command.
constexpr uint8_t kImageChunkOpcode = 0x56;
constexpr uint8_t kImageChunkSize = 2;
constexpr uint16_t kImageChunkField = 8;

uint16_t HeaderU16(const uint8_t* header, std::size_t offset) {
    return bytes::GetU16(header, kHeaderSize, offset);
}
uint32_t HeaderU32(const uint8_t* header, std::size_t offset) {
    return bytes::GetU32(header, kHeaderSize, offset);
}

bool InRange(uint32_t value, uint32_t low, uint32_t high) {
    return value >= low && value <= high;
}

// Copies a text into a fixed record field, always terminated.
template <std::size_t N>
void PutText(char (&field)[N], const char* text) {
    bytes::CopyText(field, N, text);
}

// A controller error of the newer family with `code` in the record.
bool RecordHasControllerCode(uint32_t code) {
    ApiErrorRecord record;
    (void)Api::GetLastErrorRecord(&record);
    return (record.flags & kApiErrorRhoskController) == kApiErrorRhoskController &&
           record.controllerCode == code;
}

}  // namespace

int32_t rhosk_firmware::RecordFileError(uint32_t systemError) {
    ApiError::Clear();
    ApiError::Set(kApiErrorOs, 0, systemError, 0, 0, nullptr, nullptr);
    return -1;
}

int32_t RhoskFamily::ReadImageHeader(const char* fileName, uint8_t* header) {
    platform::FileReader file(fileName);
    if (file.openError() != platform::kErrorSuccess)
        return RecordFileError(file.openError());
    std::memset(header, 0, kHeaderSize);
    std::size_t got = 0;
    const uint32_t error = file.read(header, kHeaderSize, &got);
    if (error != platform::kErrorSuccess)
        return RecordFileError(error);
    // A file shorter than the header holds no image of any valid size.
    if (got < kHeaderSize)
        return ApiError::Fail(kApiInvalidImageSize);
    return 0;
}

int32_t RhoskFamily::CheckImageSize(const char* fileName, const uint8_t* header) {
    int64_t size = 0;
    const uint32_t error = platform::GetFileSize(fileName, &size);
    if (error != platform::kErrorSuccess)
        return RecordFileError(error);
    if (size < 0 || static_cast<uint64_t>(size) != HeaderU32(header, kImageSize))
        return ApiError::Fail(kApiInvalidImageSize);
    return 0;
}

int32_t RhoskFamily::CheckImageArchitecture(ObjectId controller, const uint8_t* header) {
    uint32_t architecture = 0;
    if (rhosk::ReadInto(controller, rhosk_tables::kControllerInfoTable, kArchitectureParam, 4,
                        &architecture) != 0) {
        return -1;
    }
    if (architecture != HeaderU32(header, kArchitecture))
        return ApiError::Fail(kApiIncompatibleArchitecture);
    if (HeaderU16(header, kImageSrl) >= kBusCheckSrl) {
        uint32_t bus = 0;
        if (Api::GetControllerBusInfo(controller, &bus) != 0)
            return -1;
        if ((bus & kTevrinBusBits) == 0)
            return ApiError::Fail(kApiIncompatibleArchitecture);
    }
    return 0;
}

int32_t RhoskFamily::CheckImageMagic(const uint8_t* header) {
    if (HeaderU32(header, kMagic) != kMagicValue)
        return ApiError::Fail(kApiInvalidMagic);
    return 0;
}

int32_t RhoskFamily::CheckImageSrl(ObjectId controller, const uint8_t* header) {
    uint32_t level = 0;
    if (GetFirmwareCompatLevel(controller, &level) != 0)
        return -1;
    if (level < kSrlTestLevel)
        return 0;
    uint32_t raw = 0;
    if (rhosk::ReadInto(controller, rhosk_tables::kControllerInfoTable, kControllerSrlParam, 4,
                        &raw) != 0) {
        return -1;
    }
    const auto controllerSrl = static_cast<int32_t>(raw);
    if (controllerSrl > static_cast<int32_t>(HeaderU16(header, kImageSrl)))
        return ApiError::Fail(kApiIncompatibleSrl);
    return 0;
}

int32_t RhoskFamily::ReadDriverInfo(ObjectId controller, uint8_t* info) {
    DeviceIo::ControllerHandle device(controller.controllerId());
    if (!device.ok())
        return -1;
    RhoskRequest request{};
    request.kind = kRequestDriverInfo;
    FirmwareCommandBuffer command{};
    std::memset(info, 0, kDriverInfoSize);
    return DeviceIo::SendRhoskRequest(device.handle(), &request, &command, info,
                                      static_cast<uint32_t>(kDriverInfoSize), 0, 0xFF);
}

int32_t RhoskFamily::CheckFirmwareImage(ObjectId controller, const uint8_t* header,
                                        FirmwareCompatRecord* record) {
    if (CheckImageArchitecture(controller, header) != 0 || CheckImageMagic(header) != 0 ||
        CheckImageSrl(controller, header) != 0) {
        return -1;
    }
    char firmware[FirmwareCompatRecord::kFirmwareVersionSize] = {};
    if (GetControllerFirmwareVersion(controller, firmware) != 0)
        return -1;
    uint8_t info[kDriverInfoSize] = {};
    if (ReadDriverInfo(controller, info) != 0)
        return -1;

    const uint16_t imageSrl = HeaderU16(header, kImageSrl);
    const uint16_t lowestSrl = HeaderU16(header, kLowestSrl);
    const uint16_t driverLowest = bytes::GetU16(info, sizeof info, kDriverLowestSrl);
    const uint16_t driverHighest = bytes::GetU16(info, sizeof info, kDriverHighestSrl);

    *record = FirmwareCompatRecord{};
    record->apiCompatible = InRange(lowestSrl, kApiLowestSrl, kApiHighestSrl) ||
                                    InRange(imageSrl, kApiLowestSrl, kApiHighestSrl)
                                ? 1
                                : 0;
    PutText(record->apiVersion, Api::GetApiVersion());
    record->driverCompatible = InRange(driverLowest, lowestSrl, imageSrl) ||
                                       InRange(lowestSrl, driverLowest, driverHighest)
                                   ? 1
                                   : 0;
    std::snprintf(record->driverVersion, sizeof record->driverVersion, "%d.%02d.%02d.%03d",
                  bytes::GetU16(info, sizeof info, kDriverVersion),
                  bytes::GetU16(info, sizeof info, kDriverVersion + 2),
                  bytes::GetU16(info, sizeof info, kDriverVersion + 4),
                  bytes::GetU16(info, sizeof info, kDriverVersion + 6));
    record->controllerCompatible = 1;
    PutText(record->firmwareVersion, firmware);
    std::memcpy(record->newFirmwareVersion, header + kVersion, kVersionSize);
    return 0;
}

int32_t RhoskFamily::GetFirmwareImageCompatibility(ObjectId controller, const char* fileName,
                                                   uint64_t /*reserved*/,
                                                   FirmwareCompatRecord* record) {
    uint8_t header[kHeaderSize] = {};
    if (ReadImageHeader(fileName, header) != 0 || CheckImageSize(fileName, header) != 0)
        return -1;
    FirmwareCompatRecord filled{};
    if (CheckFirmwareImage(controller, header, &filled) != 0)
        return -1;
    *record = filled;
    return 0;
}

int32_t RhoskFamily::SendFirmwareImage(ObjectId controller, const uint8_t* image, uint32_t size) {
    DeviceIo::ControllerHandle device(controller.controllerId());
    if (!device.ok())
        return -1;
    const uint32_t lockTime = (size / 1024) * kLockTimePerKib;
    // The transport hands each chunk's bytes back after the request, so
    // every chunk travels in a buffer of its own, never in the caller's.
    uint8_t chunk[kChunkSize];
    return rhosk::UnderManagementLock(controller, lockTime, [&]() -> int32_t {
        for (uint32_t offset = 0; offset < size; offset += kChunkSize) {
            const uint32_t length = size - offset < kChunkSize ? size - offset : kChunkSize;
            RhoskRequest request{};
            request.kind = kRequestFirmwareCommand;
            FirmwareCommandBuffer command{};
            uint8_t* packet = command.packet();
            packet[FirmwareCommandBuffer::kOpcode] = kImageChunkOpcode;
            packet[FirmwareCommandBuffer::kCommandSize] = kImageChunkSize;
            bytes::PutU16(packet, FirmwareCommandBuffer::packetSize(),
                          FirmwareCommandBuffer::kField6, kImageChunkField);
            std::memcpy(chunk, image + offset, length);
            if (DeviceIo::SendRhoskRequest(device.handle(), &request, &command, chunk, length, 0,
                                           0xFF) == 0) {
                continue;
            }
            // The controller takes a chunk and asks for the next one.
            if (RecordHasControllerCode(kNextImageBufferExpected)) {
                ApiError::Clear();
                continue;
            }
            return -1;
        }
        return 0;
    });
}

int32_t RhoskFamily::DownloadFirmwareImage(ObjectId controller, const uint8_t* image,
                                           uint32_t size) {
    const int32_t sent = SendFirmwareImage(controller, image, size);
    if (sent >= 0)
        return sent;
    // A checksum error is worth one more run; its result is final.
    if (RecordHasControllerCode(kImageChecksumError))
        return SendFirmwareImage(controller, image, size);
    return -1;
}
