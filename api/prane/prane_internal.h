// What the older family's operation files share: the API codes they
// record, the unit descriptor's layout and small helpers over the packet
// and parameter layer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "api/api_codes.h"
#include "api/api_error.h"
#include "api/object_id.h"
#include "api/prane/prane_family.h"

namespace prane {

// API codes of the older family's operations (texts in the API table).
enum ApiCode : uint32_t {
    kApiInvalidUnit = 9,
    kApiRetrievingDescriptor = 13,
    kApiUnitStatusFailed = 16,
    kApiPercentFailed = 17,
    kApiDriveFromUnitFailed = 18,
    kApiDriveListFailed = 19,
    kApiPortInUse = 23,
    kApiScanInvalidPort = 24,
    kApiConfigNotSupported = 25,
    kApiInvalidDriveCount = 26,
    kApiInvalidStripe = 27,
    kApiCreateOtherController = 28,
    kApiCreateDuplicateDrive = 29,
    kApiCreatePortEmpty = 30,
    kApiDriveInOtherUnit = 31,
    kApiNoDrivesSpecified = 36,
    kApiImportOtherController = 38,
    kApiImportPortEmpty = 39,
    kApiImportDriveError = 40,
    kApiImportDriveInUse = 41,
    kApiWriteCacheNotSupported = 42,
    kApiNoUnit = 43,
    kApiNoSubunits = 44,
    kApiInvalidTaskRate = 45,
    kApiRemovePortEmpty = 46,
    kApiPortBusy = 47,
    kApiRemoveInvalid = 48,
    kApiUnitOk = 49,
    kApiUnitRebuilding = 50,
    kApiRebuildInvalidConfig = 52,
    kApiReplacementInvalid = 53,
    kApiReplacementTooSmall = 54,
    kApiNoSuchUnitToDelete = 59,
    kApiDriveListNoUnit = 61,
    kApiPortEmpty = 62,
    kApiNotRebuilding = 64,
    kApiImportDuplicateDrive = 65,
    kApiInvalidVerifyMode = 72,
    kApiVerifyInvalidConfig = 73,
};

// The unit descriptor (UnitTable parameter 6) and the records in it.
namespace unit_config {
constexpr size_t kSize = 512;
constexpr size_t kCount = 0;         // members, or subunits of a RAID-10
constexpr size_t kType = 1;          // UnitType
constexpr size_t kStripeOrPort = 2;  // stripe code, or the port of a single drive
constexpr size_t kDegraded = 3;      // u16 degraded-member bitmap
constexpr size_t kCapacity = 8;      // u32 blocks
constexpr size_t kMembers = 12;      // member records of types 0, 1, 2, 5
constexpr size_t kMemberSize = 12;
constexpr size_t kSubunitStatus = 14;  // RAID-10: one status byte per subunit
constexpr size_t kSubunits = 24;       // RAID-10: subunit records
constexpr size_t kSubunitSize = 36;
// A member record.
constexpr size_t kMemberType = 1;
constexpr size_t kMemberPort = 2;
constexpr size_t kMemberIndex = 3;
constexpr size_t kMemberCapacity = 8;
}  // namespace unit_config

// UnitType codes as the older family's descriptor holds them.
constexpr uint32_t kTypeRaid0 = 0;
constexpr uint32_t kTypeRaid1 = 1;
constexpr uint32_t kTypeRaid1Mirror = 2;
constexpr uint32_t kTypeRaid5 = 5;
constexpr uint32_t kTypeRaid10 = 6;
constexpr uint32_t kTypeSingle = 12;
constexpr uint32_t kTypeSpare = 13;
constexpr uint32_t kTypeSubunit = 14;
constexpr uint32_t kTypeJbod = 15;

// Blocks of every member drive that a unit does not use.
constexpr uint64_t kReservedBlocks = 2048;

// Unit ids: depth and the indices below the unit.
inline uint8_t DepthOf(ObjectId unit) {
    return unit[ObjectId::kDepth];
}
inline uint8_t UnitNumberOf(ObjectId unit) {
    return unit[ObjectId::kUnit];
}
inline uint8_t PortOf(ObjectId drive) {
    return drive[ObjectId::kNumber];
}

// The types whose members are drives directly.
inline bool IsFlatArray(uint32_t type) {
    return type == kTypeRaid0 || type == kTypeRaid1 || type == kTypeRaid1Mirror ||
           type == kTypeRaid5;
}

// A parameter read through a copy of `id` that names its controller.
[[nodiscard]] int32_t Read(ObjectId id, uint16_t table, uint8_t parameter, int32_t size,
                           void* buffer, uint8_t hostByte = 0);
[[nodiscard]] int32_t Write(ObjectId id, uint16_t table, uint8_t parameter, int32_t size,
                            const void* buffer);

// Sends a packet of `opcode` with byte 1 = `sizeWords`, byte 3 = `byte3`,
// byte 6 = `byte6` and byte 7 = `byte7` and no data area.
[[nodiscard]] int32_t SendSimple(ObjectId id, uint8_t opcode, uint8_t sizeWords, uint8_t byte3,
                                 uint8_t byte6, uint8_t byte7);

// The unit id (controller, 255, unit, level2, level3).
[[nodiscard]] int32_t MakeUnit(uint8_t controller, uint8_t unit, uint8_t level2, uint8_t level3,
                               ObjectId* id);

}  // namespace prane
