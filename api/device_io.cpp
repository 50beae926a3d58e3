#include "api/device_io.h"

namespace DeviceIo {

int32_t GetControllerIdList(ObjectIdList16* list) {
    return TheDriver().GetControllerIdList(list);
}

int32_t OpenController(const ObjectId* id, uint32_t* handle) {
    return TheDriver().OpenController(id, handle);
}

int32_t CloseController(uint32_t handle) {
    return TheDriver().CloseController(handle);
}

int32_t GetControllerFamily(ObjectId id) {
    return TheDriver().GetControllerFamily(id);
}

int32_t ExecutePraneCommand(const uint32_t* handle, PraneCommand* packet, void* data,
                            int32_t dataLength, uint8_t unused) {
    return TheDriver().ExecutePraneCommand(handle, packet, data, dataLength, unused);
}

int32_t SendRhoskRequest(const uint32_t* handle, const RhoskRequest* request,
                         FirmwareCommandBuffer* command, void* data, uint32_t dataLength,
                         uint8_t allowOtherOpcodes, uint8_t opcodeClass) {
    return TheDriver().SendRhoskRequest(handle, request, command, data, dataLength,
                                        allowOtherOpcodes, opcodeClass);
}

int32_t NotifyOs(const ObjectId* controller, const ObjectId* unit, uint8_t notification) {
    return TheDriver().NotifyOs(controller, unit, notification);
}

ControllerHandle::ControllerHandle(ObjectId id) {
    ok_ = OpenController(&id, &handle_) == 0;
}

ControllerHandle::~ControllerHandle() {
    // A failed close is recorded by the transport; the back ends go on.
    if (ok_)
        (void)CloseController(handle_);
}

}  // namespace DeviceIo
