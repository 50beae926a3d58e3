// The public operations of a controller's events, its advanced event
// capture, the rescan and the controller logs. The event walk's first and
// next steps and the rescan and error log serve both families; the older
// family's back end is not part of this build, so they record API error 2
// there, as every operation of this group the older family lacks does.
#include "api/api.h"
#include "api/dispatch.h"
#include "api/rhosk/rhosk_family.h"

namespace Api {
namespace {

// Both families: the older family's part records "Feature not supported".
template <typename NewerOp>
int Both(ObjectId id, NewerOp newer) {
    return Dispatch::Call(
        Dispatch::Route::Both, id, [] { return Dispatch::NotSupported(); }, newer);
}

template <typename NewerOp>
int Newer(ObjectId id, NewerOp newer) {
    return Dispatch::CallNewer(Dispatch::Route::Newer, id, newer);
}

}  // namespace

int GetFirstAen(ObjectId controller, AenRecord* record) {
    return Both(controller, [&] { return RhoskFamily::GetFirstAen(controller, record); });
}
int GetLastAen(ObjectId controller, AenRecord* record) {
    return Newer(controller, [&] { return RhoskFamily::GetLastAen(controller, record); });
}
int GetNextAen(ObjectId controller, uint32_t eventId, AenRecord* record) {
    return Both(controller, [&] { return RhoskFamily::GetNextAen(controller, eventId, record); });
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
    return Both(controller, [&] {
        ObjectIdList128 newUnits;
        ObjectIdList128 newDrives;
        if (RhoskFamily::RescanController(controller, makeOsAware, &newUnits, &newDrives) != 0)
            return -1;
        if (units != nullptr)
            *units = newUnits;
        if (drives != nullptr)
            *drives = newDrives;
        return 0;
    });
}

int GetControllerErrorLog(ObjectId controller, uint8_t* log) {
    return Both(controller, [&] { return RhoskFamily::GetControllerErrorLog(controller, log); });
}
int GetControllerLog(ObjectId controller, uint8_t* log) {
    return Newer(controller, [&] { return RhoskFamily::GetControllerLog(controller, log); });
}

}  // namespace Api
