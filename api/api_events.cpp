// The public operations of a controller's events, its advanced event
// capture, the rescan and the controller logs. The event walk's first and
// next steps, the rescan and the error log serve both families; the older
// family keeps no event positions, so its first and next steps both take
// the controller's next queued event.
#include <algorithm>
#include <cstring>

#include "api/api.h"
#include "api/bytes.h"
#include "api/dispatch.h"
#include "api/prane/prane_family.h"
#include "api/rhosk/rhosk_family.h"

namespace Api {
namespace {

template <typename OlderOp, typename NewerOp>
int Both(ObjectId id, OlderOp older, NewerOp newer) {
    return Dispatch::Call(Dispatch::Route::Both, id, older, newer);
}

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

template <typename NewerOp>
int Newer(ObjectId id, NewerOp newer) {
    return Dispatch::CallNewer(Dispatch::Route::Newer, id, newer);
}

}  // namespace

int GetFirstAen(ObjectId controller, AenRecord* record) {
    return Both(
        controller, [&] { return OlderNextEvent(controller, record); },
        [&] { return RhoskFamily::GetFirstAen(controller, record); });
}
int GetLastAen(ObjectId controller, AenRecord* record) {
    return Newer(controller, [&] { return RhoskFamily::GetLastAen(controller, record); });
}
int GetNextAen(ObjectId controller, uint32_t eventId, AenRecord* record) {
    // The older family takes its next queued event; the id is not used.
    return Both(
        controller, [&] { return OlderNextEvent(controller, record); },
        [&] { return RhoskFamily::GetNextAen(controller, eventId, record); });
}
int GetPreviousAen(ObjectId controller, uint32_t eventId, AenRecord* record) {
    return Newer(controller,
                 [&] { return RhoskFamily::GetPreviousAen(controller, eventId, record); });
}

int EnableEventCapture(ObjectId controller, uint32_t events) {
    return Newer(controller, [&] { return RhoskFamily::EnableEventCapture(controller, events); });
}
int DisableEventCapture(ObjectId controller) {
    return Newer(controller, [&] { return RhoskFamily::DisableEventCapture(controller); });
}
int SetEventCaptureMode(ObjectId controller, uint32_t mode) {
    return Newer(controller, [&] { return RhoskFamily::SetEventCaptureMode(controller, mode); });
}
int StartEventCapture(ObjectId controller) {
    return Newer(controller, [&] { return RhoskFamily::StartEventCapture(controller); });
}
int StopEventCapture(ObjectId controller) {
    return Newer(controller, [&] { return RhoskFamily::StopEventCapture(controller); });
}
int GetEventCaptureSegmentInfo(ObjectId controller, uint32_t* segmentSize, uint32_t* segmentCount) {
    return Newer(controller, [&] {
        return RhoskFamily::GetEventCaptureSegmentInfo(controller, segmentSize, segmentCount);
    });
}
int GetEventCaptureSegment(ObjectId controller, uint32_t index, uint8_t* buffer,
                           uint32_t bufferSize) {
    return Newer(controller, [&] {
        return RhoskFamily::GetEventCaptureSegment(controller, index, buffer, bufferSize);
    });
}
int GetEventCaptureMode(ObjectId controller, uint32_t* mode) {
    return Newer(controller, [&] { return RhoskFamily::GetEventCaptureMode(controller, mode); });
}
int GetEventCaptureState(ObjectId controller, uint32_t* enabled, uint32_t* events) {
    return Newer(controller,
                 [&] { return RhoskFamily::GetEventCaptureState(controller, enabled, events); });
}
int GetEventCaptureControl(ObjectId controller, uint32_t* started) {
    return Newer(controller,
                 [&] { return RhoskFamily::GetEventCaptureControl(controller, started); });
}
int GetEventCaptureHostMask(ObjectId controller, uint32_t* mask) {
    return Newer(controller,
                 [&] { return RhoskFamily::GetEventCaptureHostMask(controller, mask); });
}
int SetEventCaptureHostMask(ObjectId controller, uint32_t mask) {
    return Newer(controller,
                 [&] { return RhoskFamily::SetEventCaptureHostMask(controller, mask); });
}
int GetEventCaptureInternalMask(ObjectId controller, uint32_t* mask) {
    return Newer(controller,
                 [&] { return RhoskFamily::GetEventCaptureInternalMask(controller, mask); });
}
int SetEventCaptureInternalMask(ObjectId controller, uint32_t mask) {
    return Newer(controller,
                 [&] { return RhoskFamily::SetEventCaptureInternalMask(controller, mask); });
}
int GetEventCaptureInternalUnmask(ObjectId controller, uint32_t* mask) {
    return Newer(controller,
                 [&] { return RhoskFamily::GetEventCaptureInternalUnmask(controller, mask); });
}
int SetEventCaptureInternalUnmask(ObjectId controller, uint32_t mask) {
    return Newer(controller,
                 [&] { return RhoskFamily::SetEventCaptureInternalUnmask(controller, mask); });
}

// The lists reach the caller only on success.
int RescanController(ObjectId controller, uint8_t makeOsAware, ObjectIdList128* units,
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
    return Both(
        controller,
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

int GetControllerErrorLog(ObjectId controller, uint8_t* log) {
    return Both(
        controller, [&] { return PraneFamily::GetControllerErrorLog(controller, log); },
        [&] { return RhoskFamily::GetControllerErrorLog(controller, log); });
}
int GetControllerLog(ObjectId controller, uint8_t* log) {
    return Newer(controller, [&] { return RhoskFamily::GetControllerLog(controller, log); });
}

}  // namespace Api
