// The controller drivers: they take the whole IOCTL_SCSI_MINIPORT buffer,
// check its SRB_IO_CONTROL envelope as the maker's drivers do, and answer
// the driver's own requests (information, event queue, management lock,
// commit) or hand the firmware command or older-family packet to the
// controller's firmware.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <utility>

#include "emulator/request_envelope.h"
#include "emulator/wire.h"

namespace emulator {

// IOCTL_SCSI_MINIPORT.
constexpr uint32_t kIoctlScsiMiniport = 0x4D008;

// Driver-information block (reply to ControlCode 1).
constexpr size_t kInfoSlotLevel = 108;
constexpr size_t kInfoSlot = 110;

// Windows errors the drivers fail a request with.
constexpr uint32_t kErrorInvalidFunction = 1;

// What happened to one request.
// Adds a field to a request's record, when there is one (an object; a null
// record stands for a request no log keeps). The value becomes JSON only
// then: most requests are kept by no log.
template <typename Value>
void noteInRecord(nlohmann::json& record, const char* key, Value&& value) {
    if (record.is_object())
        record[key] = std::forward<Value>(value);
}

struct DriverOutcome {
    bool ok = true;          // DeviceIoControl succeeded
    uint32_t osError = 0;    // its error when it did not
    bool delivered = false;  // a failed call that still returns its buffer
    uint32_t returned = 0;   // bytes returned
    bool changed = false;    // the machine's state changed
    // Only enclosure elements changed (an identify, a fan's speed): what
    // was gathered of the rest of the state still holds.
    bool elementsChanged = false;
    // The change may reach the units, which Windows sees as disks.
    bool unitsMayChange = false;
    // The request log's fields for this request; null when there is no
    // log to keep them.
    nlohmann::json record;

    template <typename Value>
    void note(const char* key, Value&& value) {
        noteInRecord(record, key, std::forward<Value>(value));
    }
};

class ControllerModel;

// What the host knows of a request before a driver takes it.
struct MiniportCall {
    bool logged = true;      // a request log keeps its record
    bool faultsLive = true;  // a fault rule could fire on it or count down
};

// One IOCTL_SCSI_MINIPORT request to controller `index` of the host
// `state` (whose fault rules apply), `ctl` in its list of controllers,
// answered in place in `buffer`; `outSize` is the size of the caller's
// output buffer, which the drivers take as the same buffer as the input.
// `model` is the controller's model, which reads answer from.
DriverOutcome handleMiniport(nlohmann::json& state, nlohmann::json& ctl,
                             const ControllerModel& model, size_t index, ByteSpan buffer,
                             size_t outSize, const MiniportCall& call = {});

// Whether the request (the whole IOCTL_SCSI_MINIPORT buffer, `size`
// bytes) may change the machine: false only for the pure reads (the
// driver's information and event requests and commit, a firmware probe,
// parameter get or reading pass-through, an older-family parameter get),
// whatever the fault rules make of them.
[[nodiscard]] bool requestMayChange(const uint8_t* request, size_t size);

// How many bytes of each request the request log shows ("request_log_data":
// true for 1024, or a number); 0 when it shows none.
size_t requestDataBound(const nlohmann::json& state);

// Adds to a request's log record, as hex of at most `bound` bytes each: the
// "packet" of a firmware command or an older-family packet, the "cdb" of a
// SCSI pass-through, the data area as it was "sent" and, when the caller
// got the buffer back (`answered` not empty), as it was "received".
void describeRequestBytes(const Bytes& sent, const Bytes& answered, size_t bound,
                          nlohmann::json& record);

}  // namespace emulator
