// The public controller operations that the transport and the dispatcher
// serve directly.
#include "api/api.h"
#include "api/device_io.h"
#include "api/dispatch.h"

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

int GetControllerFamily(ObjectId controller, uint32_t* family) {
    return Dispatch::GetControllerFamily(controller, family);
}

int HasFirmwareCompatLevel36(ObjectId controller, uint32_t* answer) {
    return HasFirmwareCompatLevel(controller, 36, answer);
}

int HasFirmwareCompatLevel37(ObjectId controller, uint32_t* answer) {
    return HasFirmwareCompatLevel(controller, 37, answer);
}

int IsBasicVerifySupported(ObjectId controller, uint32_t* answer) {
    return Dispatch::IsBasicVerifySupported(controller, answer);
}

}  // namespace Api
