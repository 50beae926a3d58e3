// The public controller operations that do more than pass their arguments
// on to the dispatcher: the controller list, the firmware level checks,
// the coercion factor's range, the limits' other names and the battery
// set-up.
#include "api/api.h"
#include "api/api_error.h"
#include "api/device_io.h"
#include "api/dispatch.h"
#include "api/rhosk/rhosk_codes.h"

namespace Api {
namespace {

int HasFirmwareCompatLevel(ObjectId controller, uint32_t threshold, uint32_t* answer) {
    uint32_t level = 0;
    if (Dispatch::GetFirmwareCompatLevel(controller, &level) != 0)
        return -1;
    if (answer != nullptr)
        *answer = level >= threshold ? 1 : 0;
    return 0;
}

}  // namespace

int GetControllerIdList(ObjectIdList16* list) {
    return DeviceIo::GetControllerIdList(list);
}

int HasFirmwareCompatLevel36(ObjectId controller, uint32_t* answer) {
    return HasFirmwareCompatLevel(controller, 36, answer);
}

int HasFirmwareCompatLevel37(ObjectId controller, uint32_t* answer) {
    return HasFirmwareCompatLevel(controller, 37, answer);
}

int SetDriveCoercionFactor(ObjectId id, uint32_t factor) {
    if (factor == 0 || factor > 100)
        return ApiError::Fail(rhosk::kApiInvalidArgument);
    return Dispatch::SetDriveCoercionFactor(id, factor);
}

int GetMaxUnits(ObjectId id, uint32_t* count) {
    return GetMaxUnitCount(id, count);
}
int GetMaxDrives(ObjectId id, uint32_t* count) {
    return GetNumPorts(id, count);
}

int InitializeBbu(ObjectId) {
    return 0;
}

}  // namespace Api
