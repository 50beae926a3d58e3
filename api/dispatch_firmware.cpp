// The dispatcher entries of the firmware images and of automatic drive
// detection.
#include "api/api.h"
#include "api/dispatch.h"
#include "api/prane/prane_family.h"
#include "api/rhosk/rhosk_family.h"

namespace Dispatch {

int32_t GetFirmwareImageCompatibility(ObjectId id, const char* fileName, uint64_t reserved,
                                      FirmwareCompatRecord* record) {
    return CallNewer(Route::Newer, id, [&] {
        return RhoskFamily::GetFirmwareImageCompatibility(id, fileName, reserved, record);
    });
}

int32_t DownloadFirmwareImage(ObjectId id, const uint8_t* image, uint32_t size) {
    return Call(
        Route::Both, id, [&] { return PraneFamily::DownloadFirmwareImage(id, image, size); },
        [&] { return RhoskFamily::DownloadFirmwareImage(id, image, size); });
}

int32_t SetAutoDetect(ObjectId id, const ObjectIdList128* ports, uint32_t off) {
    return CallNewer(Route::Newer, id, [&] { return RhoskFamily::SetAutoDetect(ports, off); });
}

}  // namespace Dispatch
