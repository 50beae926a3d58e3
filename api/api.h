// The controller access library's public operations: the one set of
// operations the command classes call. Every operation returns 0 on
// success and -1 on failure, having cleared and then filled the error
// record (api/api_error.h); a change made under a controller's management
// lock may also return kApiChangedLockHeld. Identifiers are passed by value; outputs go to
// storage the caller owns and are written only on success.
//
// The operations that reach the controllers are listed once, with their
// routes, in api/operations/*.def; their declarations below follow from
// those lists (api/operations.def tells how).
#pragma once

#include <cstddef>
#include <cstdint>

#include "api/api_codes.h"
#include "api/api_error.h"
#include "api/object_id.h"
#include "api/operation_records.h"

namespace Api {

// --- Identifier builders: the identifier is written only on success ---
[[nodiscard]] int MakeControllerId(uint8_t controller, ObjectId* id);
[[nodiscard]] int MakeUnitId(uint8_t controller, uint8_t level4, uint8_t unit, uint8_t level2,
                             uint8_t level3, ObjectId* id);
[[nodiscard]] int MakeDriveId(uint8_t controller, uint8_t port, ObjectId* id);
[[nodiscard]] int MakePortId(uint8_t controller, uint8_t port, ObjectId* id);
[[nodiscard]] int MakePhyId(uint8_t controller, uint8_t phy, ObjectId* id);
// Also reads the controller's enclosure protocol into byte 7; a failed read
// leaves 0xFF there (and its error in the record) and still returns 0.
[[nodiscard]] int MakeEnclosureId(uint8_t controller, uint8_t enclosure, ObjectId* id);
// Element builders: the enclosure identifier with the element's kind and
// number; on an SES enclosure the element's place is resolved.
[[nodiscard]] int MakeFanId(ObjectId enclosure, uint8_t number, ObjectId* id);
[[nodiscard]] int MakeDoorId(ObjectId enclosure, uint8_t number, ObjectId* id);
[[nodiscard]] int MakeAlarmId(ObjectId enclosure, uint8_t number, ObjectId* id);
[[nodiscard]] int MakeSlotId(ObjectId enclosure, uint8_t number, ObjectId* id);
[[nodiscard]] int MakeTempSensorId(ObjectId enclosure, uint8_t number, ObjectId* id);
[[nodiscard]] int MakePowerSupplyId(ObjectId enclosure, uint8_t number, ObjectId* id);

// --- Identifier parsers: they check byte 0 only; outputs written only on success ---
[[nodiscard]] int ParseControllerId(ObjectId id, uint8_t* controller);
[[nodiscard]] int ParseUnitId(ObjectId id, uint8_t* controller, uint8_t* level4, uint8_t* unit,
                              uint8_t* level2, uint8_t* level3);
[[nodiscard]] int ParseDriveId(ObjectId id, uint8_t* controller, uint8_t* port);
[[nodiscard]] int ParsePortId(ObjectId id, uint8_t* controller, uint8_t* port);
[[nodiscard]] int ParsePhyId(ObjectId id, uint8_t* controller, uint8_t* phy);
// Controller number × 16 + enclosure number, 255 when none.
[[nodiscard]] int ParseEnclosureIndex(ObjectId id, uint8_t* index);
// Controller and enclosure number; both 255 when the id names no enclosure.
[[nodiscard]] int ParseEnclosureId(ObjectId id, uint8_t* controller, uint8_t* enclosure);
[[nodiscard]] int ParseFanId(ObjectId id, uint8_t* enclosureIndex, uint8_t* number);
[[nodiscard]] int ParseDoorId(ObjectId id, uint8_t* enclosureIndex, uint8_t* number);
[[nodiscard]] int ParseAlarmId(ObjectId id, uint8_t* enclosureIndex, uint8_t* number);
// Both 255 when the id names no enclosure.
[[nodiscard]] int ParseSlotId(ObjectId id, uint8_t* enclosureIndex, uint8_t* number);

// --- Error record and version ---
// Copies the error record (built-in English texts). Always 0.
int GetLastErrorRecord(ApiErrorRecord* record);
// The library's version text.
const char* GetApiVersion();

}  // namespace Api

// --- The records and codes of the controller operations ---

// One controller event as the library hands it out. A code of 0 marks the
// end of the event list (no event there).
struct AenRecord {
    static constexpr std::size_t kParamTextSize = 99;  // at most 98 characters
    static constexpr std::size_t kMessageSize = 256;   // at most 255 characters
    uint32_t eventId;
    uint32_t time;  // seconds since 1970-01-01 00:00 UTC
    uint16_t code;
    uint8_t severity;  // AenSeverity
    uint8_t byte11;    // passed on unchanged from the controller's reply
    uint8_t byte12;
    uint8_t paramLength;
    char params[kParamTextSize];
    uint8_t messageLength;
    char message[kMessageSize];
};

// AenSeverity: the severity byte of an event.
enum AenSeverity : uint8_t {
    kAenError = 1,
    kAenWarning = 2,
    kAenInfo = 3,
    kAenDebug = 4,
};

// CaptureMode: what the event capture does when its buffer is full.
enum CaptureMode : uint32_t {
    kCaptureUndefined = 0,
    kCaptureUntilFull = 1,
    kCaptureUntilStopped = 2,
};

// Size of the controller log buffers.
constexpr std::size_t kControllerLogSize = 32768;

// A link speed code: supported speeds are bits (1 = 1.5 Gbps, 2 = 3.0 Gbps,
// 3 = both); the current speed is 0 (none), 1 or 2; a limit ("control") is
// 0 (auto), 1 or 2.
enum LinkSpeed : uint8_t {
    kLinkSpeedNone = 0,
    kLinkSpeedAuto = 0,
    kLinkSpeed1_5 = 1,
    kLinkSpeed3_0 = 2,
    kLinkSpeedBoth = 3,
};

// Bytes of a SAS address and of a world wide name.
constexpr std::size_t kWorldWideNameSize = 8;

// The answer of the firmware image examination: what the image fits. The
// record is zeroed before it is filled; its texts are always terminated.
struct FirmwareCompatRecord {
    static constexpr std::size_t kApiVersionSize = 32;
    static constexpr std::size_t kDriverVersionSize = 128;
    static constexpr std::size_t kFirmwareVersionSize = 32;
    static constexpr std::size_t kImageVersionSize = 16;  // the header's version bytes

    uint8_t apiCompatible;  // 1 when this library serves the image
    char apiVersion[kApiVersionSize];
    uint8_t driverCompatible;  // 1 when the installed driver serves the image
    char driverVersion[kDriverVersionSize];
    uint8_t controllerCompatible;  // nonzero when the image fits the controller
    char firmwareVersion[kFirmwareVersionSize];
    char newFirmwareVersion[kImageVersionSize + 1];
    uint8_t reserved[15];
};
static_assert(sizeof(FirmwareCompatRecord) == 227, "the compatibility record is 227 bytes");

// --- The controller operations (api/operations/*.def) ---
namespace Api {

#define KV_DECLARE_API(NAME, PARAMS) [[nodiscard]] int NAME PARAMS;
#include "api/operations.def"

}  // namespace Api
