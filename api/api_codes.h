// The codes the library hands the command classes: controller family, unit
// type and state, drive state, stripe code, unit policies, and the sizes of
// the fixed text buffers that text results are written into.
#pragma once

#include <cstddef>
#include <cstdint>

// The family code reported for each controller.
enum ControllerFamily : int32_t {
    kFamilyUnknown = -1,  // not classified: dispatcher operations fail without an error
    kFamilyPrane = 3,     // older family
    kFamilyRhosk = 4,
    kFamilySolvane = 6,
    kFamilyTevrin = 7,
    kFamilyVantor = 8,
};

// True for the newer family's generations (4, 6, 7, 8).
constexpr bool IsRhoskFamily(int32_t family) {
    return family == kFamilyRhosk || family == kFamilySolvane || family == kFamilyTevrin ||
           family == kFamilyVantor;
}

// The type of a unit (Api::GetUnitType).
enum UnitType : uint32_t {
    kUnitRaid0 = 0,
    kUnitRaid1 = 1,
    kUnitRaid1Mirror = 2,  // RAID-1 as the controller builds unit objects for it
    kUnitRaid5 = 5,
    kUnitRaid10 = 6,
    kUnitRaid6 = 7,
    kUnitRaid50 = 8,
    kUnitSingle = 11,
    kUnitCbod = 12,  // a disk outside any unit
    kUnitSpare = 13,
    kUnitSubunit = 14,  // member of a RAID-10 or RAID-50 unit
    kUnitJbod = 15,
    kUnitMigrating = 32,
    kUnitDead = 64,
};

// The state of a unit (Api::GetUnitStatus).
enum UnitStatus : uint8_t {
    kUnitStatusInoperable = 0,
    kUnitStatusOther = 17,
    kUnitStatusMigrating = 175,
    kUnitStatusRecovery = 191,
    kUnitStatusRebuilding = 223,
    kUnitStatusDegraded = 239,
    kUnitStatusInitializing = 247,
    kUnitStatusVerifying = 251,
    kUnitStatusOk = 255,
};

// The older family's raw unit state byte as a UnitStatus.
constexpr uint8_t PraneUnitStatus(uint8_t raw) {
    if (raw >= 252)
        return kUnitStatusOk;
    if (raw >= 248)
        return kUnitStatusVerifying;
    if (raw >= 244)
        return kUnitStatusInitializing;
    if (raw >= 236 && raw <= 239)
        return kUnitStatusDegraded;
    if (raw >= 220 && raw <= 223)
        return kUnitStatusRebuilding;
    if (raw == 0)
        return kUnitStatusInoperable;
    return kUnitStatusOther;
}

// The state of a drive port (Api::GetDriveStatus).
enum DriveStatus : uint8_t {
    kDriveNone = 0,
    kDriveOfflineJbod = 1,
    kDriveRemoved = 2,
    kDriveUnconvertedDcb = 217,
    kDriveUnsupportedDcb = 219,
    kDriveDcbDataCheck = 221,
    kDriveOrphan = 223,
    kDriveConfigFailed = 232,
    kDriveReadFailure = 236,
    kDriveReadTimeout = 238,
    kDriveDeviceError = 241,
    kDriveSmartFailure = 245,
    kDriveEccError = 249,
    kDriveNotSupported = 254,
    kDriveOk = 255,
};

// Bit 0x80 of a drive status: a drive is present on the port.
constexpr uint8_t kDrivePresentBit = 0x80;
constexpr bool IsDrivePresent(uint8_t status) {
    return (status & kDrivePresentBit) != 0;
}

// The stripe code of create, migrate and the unit descriptor.
enum StripeCode : uint32_t {
    kStripeNone = 0,
    kStripe8K = 4,
    kStripe16K = 5,
    kStripe32K = 6,
    kStripe64K = 7,
    kStripe128K = 8,
    kStripe256K = 9,
    kStripe512K = 10,
    kStripe1024K = 11,
};

// The stripe size in KB of a code of 1 or more (1 << (code - 1)); 0 for
// code 0 and for codes too large to be a size.
constexpr uint32_t StripeSizeKb(uint32_t code) {
    return (code == 0 || code > 32) ? 0 : (uint32_t{1} << (code - 1));
}

// Keepwell policy of a unit (Api::GetKeepwellMode).
enum KeepwellPolicy : uint8_t {
    kKeepwellProtect = 0,
    kKeepwellBalance = 1,
    kKeepwellPerform = 2,
    kKeepwellOther = 255,
};

// Rapid RAID recovery policy of a unit (no other value is a policy).
enum RapidRecoveryPolicy : uint8_t {
    kRapidRecoveryDisable = 0,
    kRapidRecoveryRebuild = 1,
    kRapidRecoveryAll = 3,
};

// Read cache mode of a unit.
enum ReadCacheMode : uint8_t {
    kReadCacheOff = 0,
    kReadCacheBasic = 1,
    kReadCacheIntelligent = 2,
};

// Sizes of the fixed text buffers that text results are written into.
constexpr std::size_t kModelTextSize = 64;    // controller and drive model
constexpr std::size_t kVersionTextSize = 32;  // serials, firmware and other versions
constexpr std::size_t kDriverVersionTextSize = 128;
constexpr std::size_t kUnitNameTextSize = 21;  // unit name and serial number
constexpr std::size_t kBbuDateTextSize = 16;
constexpr std::size_t kBbuInfoTextSize = 64;
constexpr std::size_t kEnclosureVendorTextSize = 9;
constexpr std::size_t kEnclosureProductTextSize = 17;
constexpr std::size_t kEnclosureRevisionTextSize = 5;

// A zero-filled text buffer of fixed size that a caller passes for a text
// result; the operation writes the text terminated within it.
template <std::size_t N>
struct FixedText {
    static constexpr std::size_t kSize = N;
    char text[N] = {};

    char* data() { return text; }
    const char* c_str() const { return text; }
    static constexpr std::size_t size() { return N; }
};
