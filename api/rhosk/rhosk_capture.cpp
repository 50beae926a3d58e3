// The newer family's advanced event capture: the settings and the captured
// segments are parameters of the EventCaptureTable (0x407), each one value
// of 4 bytes but the segment data.
#include <cstring>
#include <vector>

#include "api/api.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_family.h"

namespace {

using rhosk_tables::kEventCaptureTable;

constexpr uint16_t kSegmentSizeParam = 3;
constexpr uint16_t kSegmentCountParam = 4;
constexpr uint16_t kSegmentIndexParam = 5;
constexpr uint16_t kSegmentDataParam = 6;
constexpr uint16_t kCaptureSizeParam = 7;
constexpr uint16_t kCaptureModeParam = 8;
constexpr uint16_t kCaptureControlParam = 9;
constexpr uint16_t kHostMaskParam = 10;
constexpr uint16_t kInternalUnmaskParam = 11;
constexpr uint16_t kInternalMaskParam = 12;

constexpr int32_t kSegmentDataSize = 32832;
constexpr uint32_t kDefaultCaptureEvents = 1024;  // what a capture size of 1 stands for
constexpr uint32_t kApiInvalidCaptureSize = 129;  // "Invalid event capture size"

int32_t Write(ObjectId controller, uint16_t parameter, uint32_t value) {
    uint8_t data[4] = {};
    bytes::PutU32(data, sizeof data, 0, value);
    return RhoskFamily::SetParam(controller, data, sizeof data, kEventCaptureTable, parameter, 4);
}

// The value is copied to the caller only when the read succeeded.
int32_t Read(ObjectId controller, uint16_t parameter, uint32_t* value) {
    uint8_t data[4] = {};
    if (RhoskFamily::GetParam(controller, data, sizeof data, kEventCaptureTable, parameter, 4) != 0)
        return -1;
    if (value != nullptr)
        *value = bytes::GetU32(data, sizeof data, 0);
    return 0;
}

}  // namespace

int32_t RhoskFamily::EnableEventCapture(ObjectId controller, uint32_t events) {
    if (events == 0)
        return ApiError::Fail(kApiInvalidCaptureSize);
    return Write(controller, kCaptureSizeParam, events);
}

int32_t RhoskFamily::DisableEventCapture(ObjectId controller) {
    return Write(controller, kCaptureSizeParam, 0);
}

int32_t RhoskFamily::SetEventCaptureMode(ObjectId controller, uint32_t mode) {
    return Write(controller, kCaptureModeParam, mode);
}

int32_t RhoskFamily::StartEventCapture(ObjectId controller) {
    return Write(controller, kCaptureControlParam, 1);
}

int32_t RhoskFamily::StopEventCapture(ObjectId controller) {
    return Write(controller, kCaptureControlParam, 0);
}

int32_t RhoskFamily::SetEventCaptureHostMask(ObjectId controller, uint32_t mask) {
    return Write(controller, kHostMaskParam, mask);
}

int32_t RhoskFamily::SetEventCaptureInternalUnmask(ObjectId controller, uint32_t mask) {
    return Write(controller, kInternalUnmaskParam, mask);
}

int32_t RhoskFamily::SetEventCaptureInternalMask(ObjectId controller, uint32_t mask) {
    return Write(controller, kInternalMaskParam, mask);
}

int32_t RhoskFamily::GetEventCaptureSegmentInfo(ObjectId controller, uint32_t* size,
                                                uint32_t* count) {
    if (Read(controller, kSegmentCountParam, count) != 0)
        return -1;
    return Read(controller, kSegmentSizeParam, size);
}

// The segment parameter is read whole (its declared size); the caller's
// buffer takes as much of it as it holds.
int32_t RhoskFamily::GetEventCaptureSegment(ObjectId controller, uint32_t index, uint8_t* buffer,
                                            uint32_t length) {
    if (Write(controller, kSegmentIndexParam, index) != 0)
        return -1;
    std::vector<uint8_t> segment(static_cast<size_t>(kSegmentDataSize), 0);
    if (GetParam(controller, segment.data(), static_cast<uint32_t>(segment.size()),
                 kEventCaptureTable, kSegmentDataParam, kSegmentDataSize) != 0) {
        return -1;
    }
    if (buffer != nullptr && length != 0)
        std::memcpy(buffer, segment.data(), length < segment.size() ? length : segment.size());
    return 0;
}

int32_t RhoskFamily::GetEventCaptureState(ObjectId controller, uint32_t* enabled,
                                          uint32_t* events) {
    uint32_t size = 0;
    if (Read(controller, kCaptureSizeParam, &size) != 0)
        return -1;
    if (enabled != nullptr)
        *enabled = size == 0 ? 0 : 1;
    if (events != nullptr)
        *events = size == 1 ? kDefaultCaptureEvents : size;
    return 0;
}

int32_t RhoskFamily::GetEventCaptureMode(ObjectId controller, uint32_t* mode) {
    return Read(controller, kCaptureModeParam, mode);
}

int32_t RhoskFamily::GetEventCaptureControl(ObjectId controller, uint32_t* started) {
    return Read(controller, kCaptureControlParam, started);
}

int32_t RhoskFamily::GetEventCaptureHostMask(ObjectId controller, uint32_t* mask) {
    return Read(controller, kHostMaskParam, mask);
}

int32_t RhoskFamily::GetEventCaptureInternalMask(ObjectId controller, uint32_t* mask) {
    return Read(controller, kInternalMaskParam, mask);
}

int32_t RhoskFamily::GetEventCaptureInternalUnmask(ObjectId controller, uint32_t* mask) {
    return Read(controller, kInternalUnmaskParam, mask);
}
