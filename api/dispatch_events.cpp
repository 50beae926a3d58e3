// The dispatcher entries of the controller events and the rescan that do
// more than follow their route (both): the older family keeps no event
// positions, so its first and next steps both take the controller's next
// queued event, turned into the library's record; the rescan hands its
// lists over only on success.
#include <algorithm>
#include <cstring>

#include "api/api.h"
#include "api/bytes.h"
#include "api/dispatch.h"
#include "api/prane/prane_family.h"
#include "api/rhosk/rhosk_family.h"

namespace Dispatch {
namespace {

// The older family's next queued event, turned from its 369-byte record
// into the library's AenRecord field by field. Every text is cut to its
// field and its stored length is the length of what was kept; the caller's
// record is written only on success.
int32_t OlderNextEvent(ObjectId controller, AenRecord* out) {
    uint8_t raw[prane_event::kRecordSize] = {};
    if (PraneFamily::GetFirstAen(controller, raw) != 0)
        return -1;
    const size_t n = sizeof raw;
    AenRecord record;
    std::memset(&record, 0, sizeof record);
    record.eventId = bytes::GetU32(raw, n, 0);
    record.time = bytes::GetU32(raw, n, 4);
    record.code = bytes::GetU16(raw, n, prane_event::kCode);
    record.severity = raw[prane_event::kSeverity];
    record.byte11 = raw[11];
    record.byte12 = raw[12];
    const char* params = reinterpret_cast<const char*>(raw + prane_event::kParamText);
    const size_t paramRoom = std::min<size_t>(
        raw[prane_event::kParamLength], prane_event::kMessageLength - prane_event::kParamText);
    record.paramLength = static_cast<uint8_t>(
        bytes::CopyText(record.params, sizeof record.params, params, paramRoom));
    const char* message = reinterpret_cast<const char*>(raw + prane_event::kMessageText);
    const size_t messageRoom =
        std::min<size_t>(raw[prane_event::kMessageLength], prane_event::kMessageTextSize);
    record.messageLength = static_cast<uint8_t>(
        bytes::CopyText(record.message, sizeof record.message, message, messageRoom));
    *out = record;
    return 0;
}

}  // namespace

int32_t GetFirstAen(ObjectId controller, AenRecord* record) {
    return Follow(
        Paths::Both, controller, [&] { return OlderNextEvent(controller, record); },
        [&] { return RhoskFamily::GetFirstAen(controller, record); });
}

int32_t GetNextAen(ObjectId controller, uint32_t eventId, AenRecord* record) {
    // The older family takes its next queued event; the id is not used.
    return Follow(
        Paths::Both, controller, [&] { return OlderNextEvent(controller, record); },
        [&] { return RhoskFamily::GetNextAen(controller, eventId, record); });
}

// The lists reach the caller only on success.
int32_t RescanController(ObjectId controller, uint8_t makeOsAware, ObjectIdList128* units,
                         ObjectIdList128* drives) {
    auto rescan = [&](auto family) {
        ObjectIdList128 newUnits;
        ObjectIdList128 newDrives;
        newUnits.clear();
        newDrives.clear();
        if (family(&newUnits, &newDrives) != 0)
            return -1;
        if (units != nullptr)
            *units = newUnits;
        if (drives != nullptr)
            *drives = newDrives;
        return 0;
    };
    return Follow(
        Paths::Both, controller,
        [&] {
            return rescan([&](ObjectIdList128* u, ObjectIdList128* d) {
                return PraneFamily::RescanController(controller, makeOsAware, u, d);
            });
        },
        [&] {
            return rescan([&](ObjectIdList128* u, ObjectIdList128* d) {
                return RhoskFamily::RescanController(controller, makeOsAware, u, d);
            });
        });
}

}  // namespace Dispatch
