#include "api/dispatch.h"

#include "api/api_error.h"
#include "api/driver.h"
#include "api/rhosk/rhosk_family.h"

namespace Dispatch {
namespace {

constexpr uint32_t kLevel36 = 36;
constexpr uint32_t kLevel37 = 37;

// The families of each route that need no further test; the level and SAS
// routes add theirs in Resolve.
bool Serves(Route route, int32_t family) {
    switch (route) {
        case Route::Both:
            return family == kFamilyPrane || IsRhoskFamily(family);
        case Route::Newer:
            return IsRhoskFamily(family);
        case Route::From6:
        case Route::Level36:
            return family == kFamilySolvane || family == kFamilyTevrin || family == kFamilyVantor;
        case Route::Only4:
            return family == kFamilyRhosk;
        case Route::Only8:
            return family == kFamilyVantor;
        case Route::Level37:
            return family == kFamilyTevrin || family == kFamilyVantor;
        case Route::SasPhys:
            return family == kFamilyTevrin || family == kFamilyVantor;
        case Route::OlderOnly:
            return family == kFamilyPrane;
    }
    return false;
}

// The level gate: Newer when the level reaches `threshold`.
Target LevelGate(ObjectId id, uint32_t threshold) {
    uint32_t level = 0;
    if (RhoskFamily::GetFirmwareCompatLevel(id.controllerId(), &level) != 0) {
        return Target::Refused;
    }
    if (level < threshold) {
        NotSupported();
        return Target::Refused;
    }
    return Target::Newer;
}

}  // namespace

int32_t NotSupported() {
    return ApiError::Fail(kApiNotSupported);
}

Target Resolve(Route route, ObjectId id) {
    const int32_t family = DeviceIo::GetControllerFamily(id);
    if (family == kFamilyUnknown && route != Route::OlderOnly)
        return Target::Refused;
    if (!Serves(route, family)) {
        NotSupported();
        return Target::Refused;
    }
    if (family == kFamilyPrane)
        return Target::Older;
    switch (route) {
        case Route::Level36:
            return LevelGate(id, kLevel36);
        case Route::Level37:
            return LevelGate(id, kLevel37);
        case Route::SasPhys: {
            if (family == kFamilyVantor)
                return Target::Newer;
            uint32_t answer = 0;
            if (HasSasPhys(id, &answer) != 0)
                return Target::Refused;
            if (answer == 0) {
                NotSupported();
                return Target::Refused;
            }
            return Target::Newer;
        }
        default:
            return Target::Newer;
    }
}

int32_t GetControllerFamily(ObjectId id, uint32_t* family) {
    const int32_t code = DeviceIo::GetControllerFamily(id);
    if (code != kFamilyPrane && !IsRhoskFamily(code))
        return -1;
    if (family != nullptr)
        *family = static_cast<uint32_t>(code);
    return 0;
}

int32_t GetFirmwareCompatLevel(ObjectId id, uint32_t* level) {
    return FollowNewer(Paths::Newer, id, [&] {
        return RhoskFamily::GetFirmwareCompatLevel(id.controllerId(), level);
    });
}

int32_t HasSasPhys(ObjectId id, uint32_t* answer) {
    uint32_t result = 0;
    int32_t status = 0;
    const int32_t family = DeviceIo::GetControllerFamily(id);
    if (family == kFamilyVantor) {
        result = 1;
    } else if (family == kFamilyTevrin) {
        uint32_t level = 0;
        if (RhoskFamily::GetFirmwareCompatLevel(id.controllerId(), &level) != 0) {
            status = -1;
        } else {
            result = level >= kLevel36 ? 1 : 0;
        }
    }
    if (answer != nullptr)
        *answer = result;
    return status;
}

int32_t IsBasicVerifySupported(ObjectId id, uint32_t* answer) {
    const int32_t family = DeviceIo::GetControllerFamily(id);
    if (!Serves(Route::From6, family)) {
        if (answer != nullptr)
            *answer = 0;
        return 0;
    }
    uint32_t level = 0;
    if (RhoskFamily::GetFirmwareCompatLevel(id.controllerId(), &level) != 0)
        return -1;
    if (answer != nullptr)
        *answer = level >= kLevel36 ? 1 : 0;
    return 0;
}

}  // namespace Dispatch
