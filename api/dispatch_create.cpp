// The dispatcher entries of unit creation. A create request
// names no controller: the family is the one of the first drive's
// controller.
#include "api/api_error.h"
#include "api/dispatch.h"
#include "api/prane/prane_family.h"
#include "api/rhosk/rhosk_family.h"

namespace Dispatch {
namespace {

constexpr uint32_t kApiNoDrivesSpecified = 36;

// The controller id of a drive list's first drive; false (API error 36
// recorded) for an empty list.
bool ControllerOfList(const ObjectIdList128* drives, ObjectId* controller) {
    if (drives == nullptr || drives->size() == 0) {
        ApiError::Fail(kApiNoDrivesSpecified);
        return false;
    }
    *controller = drives->ids[0].controllerId();
    return true;
}

}  // namespace

int32_t CreateUnit(const ObjectIdList128* drives, uint32_t type, uint32_t stripe,
                   uint8_t makeOsAware, ObjectId* unit, uint32_t group) {
    ObjectId controller;
    if (!ControllerOfList(drives, &controller))
        return -1;
    // The older family has no drive groups: its creation takes the same
    // arguments without the group.
    return Follow(
        Paths::Both, controller,
        [&] { return PraneFamily::CreateUnit(drives, type, stripe, makeOsAware, unit); },
        [&] {
            return RhoskFamily::CreateUnit(drives, type, stripe, makeOsAware, unit, group, 0,
                                           nullptr, 0);
        });
}

int32_t CreateUnitWithVolumes(const ObjectIdList128* drives, uint32_t type, uint32_t stripe,
                              uint8_t makeOsAware, ObjectId* unit, uint32_t group,
                              const uint64_t* volumeSizes, uint32_t volumeCount) {
    ObjectId controller;
    if (!ControllerOfList(drives, &controller))
        return -1;
    return FollowNewer(Paths::From6, controller, [&] {
        return RhoskFamily::CreateUnit(drives, type, stripe, makeOsAware, unit, group, 0,
                                       volumeSizes, volumeCount);
    });
}

}  // namespace Dispatch
