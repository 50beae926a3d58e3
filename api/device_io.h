// The stateless facade of the driver transport that the dispatcher and the
// family back ends call; every operation forwards to the process-wide
// Driver (api/driver.h) one to one.
#pragma once

#include <cstdint>

#include "api/driver.h"
#include "api/object_id.h"

namespace DeviceIo {

[[nodiscard]] int32_t GetControllerIdList(ObjectIdList16* list);
[[nodiscard]] int32_t OpenController(const ObjectId* id, uint32_t* handle);
[[nodiscard]] int32_t CloseController(uint32_t handle);
int32_t GetControllerFamily(ObjectId id);
[[nodiscard]] int32_t ExecutePraneCommand(const uint32_t* handle, PraneCommand* packet, void* data,
                                          int32_t dataLength, uint8_t unused);
[[nodiscard]] int32_t SendRhoskRequest(const uint32_t* handle, const RhoskRequest* request,
                                       FirmwareCommandBuffer* command, void* data,
                                       uint32_t dataLength, uint8_t allowOtherOpcodes,
                                       uint8_t opcodeClass);
[[nodiscard]] int32_t NotifyOs(const ObjectId* controller, const ObjectId* unit,
                               uint8_t notification);

// Opens the id's controller for the lifetime of the object and closes it
// on every path; the back ends hold their device this way.
class ControllerHandle {
  public:
    explicit ControllerHandle(ObjectId id);
    ~ControllerHandle();
    ControllerHandle(const ControllerHandle&) = delete;
    ControllerHandle& operator=(const ControllerHandle&) = delete;

    // True when the open succeeded (its error is in the record otherwise).
    bool ok() const { return ok_; }
    const uint32_t* handle() const { return &handle_; }

  private:
    uint32_t handle_ = 0xFFFFFFFFu;
    bool ok_ = false;
};

}  // namespace DeviceIo
