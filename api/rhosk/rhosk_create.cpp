// The newer family's unit creation and migration: the checks a create
// request must pass, the UnitDescriptor array of each RAID type, the create
// command (a new unit number), the in-place update of an existing unit
// (a migration) and the conversion of a single disk into a mirror.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "api/api.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/device_io.h"
#include "api/driver.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_family.h"

using namespace rhosk;

namespace {

// The API errors of a refused create or migration.
enum CreateCode : uint32_t {
    kApiInvalidDriveCount = 26,
    kApiInvalidStripe = 27,
    kApiDrivesOfOtherController = 28,
    kApiDuplicateDrive = 29,
    kApiCreatePortEmpty = 30,
    kApiDriveInOtherUnit = 31,
    kApiDriveError = 32,
    kApiInvalidConfiguration = 33,
    kApiInvalidGrouping = 35,
    kApiNoDrivesGiven = 36,
    kApiSameConfiguration = 91,
    kApiSourceDrivesMissing = 105,
    kApiJbodOnSas = 133,
};

// Firmware commands of a unit change.
constexpr uint8_t kCreateUnitOpcode = 0x74;  // opcode 0x14
constexpr uint8_t kUnitUpdateOpcode = 0x6F;  // opcode 0x0F
constexpr uint8_t kDeleteUnitOpcode = 0x15;
constexpr uint8_t kUpdateReconfigure = 0;
constexpr uint8_t kUpdateAddMirror = 8;
constexpr uint8_t kDeleteMode = 0x80;
constexpr std::size_t kUpdateModeByte = 10;
constexpr std::size_t kUpdatePartnerByte = 11;
constexpr std::size_t kAddMirrorDataSize = 1980;

// Descriptor entries of the create data.
constexpr std::size_t kEntrySize = 20;
constexpr std::size_t kMaxEntries = 107;  // the 2140-byte create buffer
constexpr uint8_t kEntryDrive = 12;
constexpr uint8_t kEntryExtension = 0x30;
constexpr uint8_t kEntryVolume = 0x80;

// Drive status bits and interfaces that the checks read.
constexpr uint8_t kDrivePresentBit = 0x80;
constexpr uint8_t kDriveOkBit = 0x01;
constexpr uint8_t kInterfaceSata = 1;
constexpr uint8_t kInterfaceSataBehindEnclosure = 5;

// RAID-6 needs feature flag bit 1 of the controller.
constexpr uint8_t kRaid6FeatureBit = 0x02;

constexpr uint32_t kMaxVolumes = 64;

bool IsSingleDriveType(uint32_t type) {
    return type == kUnitSingle || type == kUnitCbod || type == kUnitSpare || type == kUnitJbod;
}

bool IsStripedType(uint32_t type) {
    return type == kUnitRaid0 || type == kUnitRaid5 || type == kUnitRaid6 || type == kUnitRaid10 ||
           type == kUnitRaid50;
}

// The types a create request may name.
bool IsCreatableType(uint32_t type) {
    switch (type) {
        case kUnitRaid0:
        case kUnitRaid1Mirror:
        case kUnitRaid5:
        case kUnitRaid10:
        case kUnitRaid6:
        case kUnitRaid50:
        case kUnitSingle:
        case kUnitCbod:
        case kUnitSpare:
        case kUnitJbod:
            return true;
        default:
            return false;
    }
}

// The drive count each type takes.
bool DriveCountFits(uint32_t type, std::size_t n) {
    switch (type) {
        case kUnitRaid0:
            return n >= 2;
        case kUnitRaid1Mirror:
            return n == 2;
        case kUnitRaid5:
            return n >= 3;
        case kUnitRaid10:
            return n >= 4 && n % 2 == 0;
        case kUnitRaid6:
            return n >= 5;
        case kUnitRaid50:
            return n >= 6;
        default:
            return n == 1;
    }
}

// RAID-50 group sizes by drive count; the first four counts have one
// fixed size, the others take the caller's size when it is listed.
struct Raid50Grouping {
    uint32_t drives;
    std::array<uint32_t, 3> sizes;  // 0 ends the list
};
constexpr Raid50Grouping kRaid50Groupings[] = {
    {6, {3, 0, 0}},   {8, {4, 0, 0}},    {9, {3, 0, 0}},   {10, {5, 0, 0}},  {12, {3, 4, 6}},
    {14, {7, 0, 0}},  {15, {5, 0, 0}},   {16, {4, 8, 0}},  {18, {6, 9, 0}},  {20, {5, 10, 0}},
    {21, {7, 0, 0}},  {22, {11, 0, 0}},  {24, {6, 8, 12}}, {26, {13, 0, 0}}, {27, {9, 0, 0}},
    {28, {7, 14, 0}}, {30, {10, 15, 0}}, {32, {8, 16, 0}},
};

// The group size of a RAID-50 unit of `n` drives; 0 when the grouping is
// not allowed.
uint32_t Raid50GroupSize(std::size_t n, uint32_t asked) {
    for (const Raid50Grouping& row : kRaid50Groupings) {
        if (row.drives != n)
            continue;
        if (n <= 10)
            return row.sizes[0];
        for (uint32_t size : row.sizes) {
            if (size != 0 && size == asked)
                return size;
        }
        return 0;
    }
    return 0;
}

// The create data: UnitDescriptor entries in a zeroed 2140-byte buffer.
class CreateData {
  public:
    CreateData() { bytes_.fill(0); }

    // A new entry; null when the buffer is full.
    uint8_t* add() {
        if (entries_ == kMaxEntries)
            return nullptr;
        return bytes_.data() + kEntrySize * entries_++;
    }
    std::size_t entries() const { return entries_; }
    uint8_t* data() { return bytes_.data(); }
    uint32_t length(std::size_t entries) const {
        return static_cast<uint32_t>(kEntrySize * entries);
    }

  private:
    std::array<uint8_t, kEntrySize * kMaxEntries> bytes_;
    std::size_t entries_ = 0;
};

// The port of a drive id.
uint8_t PortOf(const ObjectId& drive) {
    return drive[ObjectId::kNumber];
}

void PutEntry(uint8_t* entry, uint8_t children, uint8_t type, uint8_t byte2, uint8_t byte3) {
    entry[0] = children;
    entry[1] = type;
    entry[2] = byte2;
    entry[3] = byte3;
}

// Appends the drive entries of drives [first, first + count).
bool AddDrives(CreateData& out, const ObjectIdList128& drives, std::size_t first,
               std::size_t count) {
    for (std::size_t i = first; i < first + count; ++i) {
        uint8_t* entry = out.add();
        if (entry == nullptr)
            return false;
        PutEntry(entry, 0, kEntryDrive, 0, PortOf(drives.ids[i]));
    }
    return true;
}

// Appends one volume entry per size; each size (the caller's unit, twice
// over as 512-byte sectors) starts where the ones before it end. False when
// the buffer is full or the sizes run past the 64-bit sector range.
bool AddVolumes(CreateData& out, const uint64_t* sizes, uint32_t count) {
    uint64_t first = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (sizes[i] > (UINT64_MAX - first) / 2)
            return false;
        uint8_t* entry = out.add();
        if (entry == nullptr)
            return false;
        const uint64_t sectors = sizes[i] * 2;
        PutEntry(entry, 0, kEntryVolume, static_cast<uint8_t>(i), 0);
        bytes::PutU32(entry, kEntrySize, 4, static_cast<uint32_t>(first));
        bytes::PutU32(entry, kEntrySize, 8, static_cast<uint32_t>(first >> 32));
        bytes::PutU32(entry, kEntrySize, 12, static_cast<uint32_t>(sectors));
        bytes::PutU32(entry, kEntrySize, 16, static_cast<uint32_t>(sectors >> 32));
        first += sectors;
    }
    return true;
}

// Sends one unit command with `data`; `packetUnit` receives packet byte 3
// of the answer when given.
template <typename Prepare>
int32_t SendUnitCommand(ObjectId controller, Prepare prepare, void* data, uint32_t length,
                        uint8_t* packetUnit) {
    DeviceIo::ControllerHandle device(controller.controllerId());
    if (!device.ok())
        return -1;
    FirmwareCommandBuffer command{};
    prepare(command.packet());
    RhoskRequest request{};
    request.kind = kRequestFirmwareCommand;
    if (DeviceIo::SendRhoskRequest(device.handle(), &request, &command, data, length, 0, 0xFF) !=
        0) {
        return -1;
    }
    if (packetUnit != nullptr)
        *packetUnit = command.packet()[FirmwareCommandBuffer::kUnit];
    return 0;
}

// Deletes a unit with the delete command (mode 0x80) and no word to the
// operating system; used for a CBOD unit on a drive a new unit takes and
// for a new unit the operating system could not be told about.
int32_t DeleteUnitQuietly(ObjectId controller, uint8_t unitNumber) {
    return SendUnitCommand(
        controller,
        [&](uint8_t* packet) {
            packet[FirmwareCommandBuffer::kOpcode] = kDeleteUnitOpcode;
            packet[FirmwareCommandBuffer::kCommandSize] = 2;
            packet[FirmwareCommandBuffer::kUnit] = unitNumber;
            packet[7] = kDeleteMode;
        },
        nullptr, 0, nullptr);
}

// Checks every drive of the list: same controller, no duplicate port, a
// present and healthy drive, and in no unit other than the one changed in
// place (a top-level CBOD unit on it is deleted).
int32_t CheckDrives(const ObjectIdList128& drives, uint8_t inPlace, const ObjectId& unit) {
    const std::size_t n = drives.size();
    const uint8_t controller = drives.ids[0].controller();
    for (std::size_t i = 0; i < n; ++i) {
        const ObjectId& drive = drives.ids[i];
        if (drive.controller() != controller)
            return ApiError::Fail(kApiDrivesOfOtherController);
        for (std::size_t j = 0; j < n; ++j) {
            if (j != i && PortOf(drives.ids[j]) == PortOf(drive))
                return ApiError::Fail(kApiDuplicateDrive);
        }
        uint8_t status = 0;
        if (RhoskFamily::GetDriveStatus(drive, &status) != 0)
            return -1;
        if ((status & kDrivePresentBit) == 0)
            return ApiError::Fail(kApiCreatePortEmpty);
        if ((status & kDriveOkBit) == 0)
            return ApiError::Fail(kApiDriveError);
        ObjectId owner = ObjectId::Blank();
        if (RhoskFamily::GetDriveUnitId(drive, &owner) != 0)
            return -1;
        if (owner[ObjectId::kKind] != kKindUnit)
            continue;  // a free drive
        uint32_t type = 0;
        if (RhoskFamily::GetUnitType(owner, &type) != 0)
            return -1;
        if (owner[ObjectId::kDepth] == 1 && type == kUnitCbod) {
            // A drive outside any array: the new unit takes it.
            ApiError::Quietly(
                [&] { return DeleteUnitQuietly(drive.controllerId(), owner[ObjectId::kUnit]); });
            continue;
        }
        if (inPlace == 0 || owner[ObjectId::kUnit] != unit[ObjectId::kUnit])
            return ApiError::Fail(kApiDriveInOtherUnit);
    }
    return 0;
}

// Builds the descriptor array of a unit of `type` over `drives`. With
// volumes, the volume entries follow; `entriesSent` excludes them for an
// in-place update.
int32_t BuildUnit(CreateData& out, const ObjectIdList128& drives, uint32_t type, uint32_t stripe,
                  uint32_t groupSize, const uint64_t* volumes, uint32_t volumeCount) {
    const std::size_t n = drives.size();
    bool fits = true;
    if (IsSingleDriveType(type)) {
        uint8_t* entry = out.add();
        PutEntry(entry, 0, static_cast<uint8_t>(type), 0, PortOf(drives.ids[0]));
        return 0;
    }
    if (type == kUnitRaid10 || type == kUnitRaid50) {
        const uint32_t group = type == kUnitRaid10 ? 2 : groupSize;
        const std::size_t groups = n / group;
        uint8_t* top = out.add();
        PutEntry(top, static_cast<uint8_t>(groups), kUnitRaid0,
                 type == kUnitRaid10 ? static_cast<uint8_t>(stripe) : 0, 0);
        for (std::size_t g = 0; g < groups && fits; ++g) {
            uint8_t* entry = out.add();
            if (entry == nullptr) {
                fits = false;
                break;
            }
            PutEntry(entry, static_cast<uint8_t>(group),
                     type == kUnitRaid10 ? kUnitRaid1Mirror : kUnitRaid5,
                     type == kUnitRaid50 ? static_cast<uint8_t>(stripe) : 0, 0);
            fits = AddDrives(out, drives, g * group, group);
        }
    } else {
        uint8_t* top = out.add();
        PutEntry(top, static_cast<uint8_t>(n), static_cast<uint8_t>(type),
                 type == kUnitRaid1Mirror ? 0 : static_cast<uint8_t>(stripe), 0);
        if (type == kUnitRaid6) {
            top[18] = 1;
            uint8_t* extension = out.add();
            PutEntry(extension, 0, kEntryExtension, 0, 0);
        }
        fits = AddDrives(out, drives, 0, n);
    }
    if (fits && volumeCount != 0)
        fits = AddVolumes(out, volumes, volumeCount);
    // More entries than the create buffer holds, or volumes larger than
    // any unit: no such unit fits in one request.
    return fits ? 0 : ApiError::Fail(kApiInvalidConfiguration);
}

}  // namespace

int32_t RhoskFamily::SendCreateUnit(ObjectId controller, uint8_t* data, uint32_t length,
                                    uint8_t* unitNumber) {
    return SendUnitCommand(
        controller,
        [&](uint8_t* packet) {
            packet[FirmwareCommandBuffer::kOpcode] = kCreateUnitOpcode;
            packet[FirmwareCommandBuffer::kCommandSize] = 3;
            bytes::PutU16(packet, FirmwareCommandBuffer::packetSize(),
                          FirmwareCommandBuffer::kField6, static_cast<uint16_t>(length));
            packet[8] = 1;
        },
        data, length, unitNumber);
}

int32_t RhoskFamily::SendUnitUpdate(ObjectId controller, uint8_t unitNumber, uint8_t* data,
                                    uint32_t length) {
    return SendUnitCommand(
        controller,
        [&](uint8_t* packet) {
            packet[FirmwareCommandBuffer::kOpcode] = kUnitUpdateOpcode;
            packet[FirmwareCommandBuffer::kCommandSize] = 3;
            packet[FirmwareCommandBuffer::kUnit] = unitNumber;
            bytes::PutU16(packet, FirmwareCommandBuffer::packetSize(),
                          FirmwareCommandBuffer::kField6, static_cast<uint16_t>(length));
            packet[8] = 1;
            packet[kUpdateModeByte] = kUpdateReconfigure;
        },
        data, length, nullptr);
}

int32_t RhoskFamily::AddMirrorUnit(ObjectId controller, uint8_t singleUnit, uint8_t mirrorUnit) {
    std::array<uint8_t, kAddMirrorDataSize> data{};
    return SendUnitCommand(
        controller,
        [&](uint8_t* packet) {
            packet[FirmwareCommandBuffer::kOpcode] = kUnitUpdateOpcode;
            packet[FirmwareCommandBuffer::kCommandSize] = 3;
            packet[FirmwareCommandBuffer::kUnit] = singleUnit;
            packet[8] = 1;
            packet[kUpdateModeByte] = kUpdateAddMirror;
            packet[kUpdatePartnerByte] = mirrorUnit;
        },
        data.data(), static_cast<uint32_t>(data.size()), nullptr);
}

namespace {

// The checks of the request itself, before any drive is looked at: the
// controller's RAID-6 feature, a JBOD on SATA, the type, its drive count
// and stripe, and the RAID-50 grouping (the group size used in *group).
int32_t CheckCreateRequest(ObjectId controller, const ObjectIdList128& drives, uint32_t type,
                           uint32_t stripe, uint32_t groupSize, uint32_t* group) {
    const std::size_t n = drives.size();
    if (type == kUnitRaid6) {
        uint8_t flags[8] = {};
        if (RhoskFamily::GetFeatureFlags(controller, flags) != 0 ||
            (flags[0] & kRaid6FeatureBit) == 0) {
            return ApiError::Fail(kApiFeatureNotSupported);
        }
    }
    if (type == kUnitJbod && DeviceIo::GetControllerFamily(controller) >= kFamilyVantor) {
        uint8_t interface = 0;
        if (RhoskFamily::GetDriveInterface(drives.ids[0], &interface) != 0)
            return -1;
        if (interface != kInterfaceSata && interface != kInterfaceSataBehindEnclosure)
            return ApiError::Fail(kApiJbodOnSas);
    }
    if (!IsCreatableType(type))
        return ApiError::Fail(kApiInvalidConfiguration);
    if (!DriveCountFits(type, n))
        return ApiError::Fail(kApiInvalidDriveCount);
    if (IsStripedType(type)) {
        const bool allowed = stripe == kStripe16K || stripe == kStripe64K || stripe == kStripe256K;
        if (!allowed || (type == kUnitRaid6 && stripe == kStripe16K))
            return ApiError::Fail(kApiInvalidStripe);
    }
    *group = groupSize;
    if (type == kUnitRaid50) {
        *group = Raid50GroupSize(n, groupSize);
        if (*group == 0)
            return ApiError::Fail(kApiInvalidGrouping);
    }
    return 0;
}

// Tells the operating system of a new unit it sees; a unit it could not
// be told of is deleted again, and the error of the notice stays.
int32_t AnnounceNewUnit(ObjectId controller, ObjectId created, uint8_t number, uint32_t type,
                        uint8_t announce) {
    uint8_t flags = 0;
    if (RhoskFamily::GetUnitFlags(created, &flags) != 0)
        return -1;
    if (announce == 0 || type == kUnitCbod || type == kUnitSpare || (flags & 0x01) == 0)
        return 0;
    if (DeviceIo::NotifyOs(&controller, &created, kNotifyUnitAdded) == 0)
        return 0;
    ApiError::Quietly([&] { return DeleteUnitQuietly(controller, number); });
    return -1;
}

}  // namespace

int32_t RhoskFamily::CreateUnit(const ObjectIdList128* drives, uint32_t type, uint32_t stripe,
                                uint8_t announce, ObjectId* unit, uint32_t groupSize,
                                uint8_t inPlace, const uint64_t* volumeSizes,
                                uint32_t volumeCount) {
    if (drives == nullptr || unit == nullptr || drives->size() == 0)
        return ApiError::Fail(kApiNoDrivesGiven);
    if (volumeCount > kMaxVolumes || (volumeCount != 0 && volumeSizes == nullptr))
        return ApiError::Fail(kApiInvalidConfiguration);
    const ObjectId controller = drives->ids[0].controllerId();
    uint32_t group = 0;
    if (CheckCreateRequest(controller, *drives, type, stripe, groupSize, &group) != 0 ||
        CheckDrives(*drives, inPlace, *unit) != 0) {
        return -1;
    }
    const bool update = inPlace != 0 && !IsSingleDriveType(type);
    if (update && type == kUnitRaid1Mirror && drives->size() == 2) {
        uint32_t current = 0;
        if (GetUnitType(*unit, &current) != 0)
            return -1;
        if (current == kUnitSingle) {
            ObjectId single = *unit;
            ObjectIdList128 list = *drives;
            return ConvertSingleToMirror(&single, &list);
        }
    }
    // An update keeps the unit's volumes.
    CreateData data;
    if (BuildUnit(data, *drives, type, stripe, group, update ? nullptr : volumeSizes,
                  update ? 0 : volumeCount) != 0) {
        return -1;
    }
    if (update)
        return SendUnitUpdate(controller, (*unit)[ObjectId::kUnit], data.data(),
                              data.length(data.entries()));

    uint8_t number = ObjectId::kNone;
    if (SendCreateUnit(controller, data.data(), data.length(data.entries()), &number) != 0)
        return -1;
    ObjectId created;
    if (Api::MakeUnitId(controller.controller(), ObjectId::kNone, number, ObjectId::kNone,
                        ObjectId::kNone, &created) != 0) {
        return ApiError::Fail(kApiUnitIdFailed);
    }
    *unit = created;
    if (inPlace != 0)
        return 0;
    return AnnounceNewUnit(controller, created, number, type, announce);
}

int32_t RhoskFamily::StartMigrateUnit(ObjectId unit, const ObjectIdList128* drives, uint32_t type,
                                      uint32_t stripe, uint8_t announce, uint32_t groupSize) {
    if (drives == nullptr || drives->size() == 0)
        return ApiError::Fail(kApiNoDrivesGiven);
    ObjectId destination = unit;
    if (type == kUnitRaid6) {
        uint8_t flags[8] = {};
        if (GetFeatureFlags(unit.controllerId(), flags) != 0 || (flags[0] & kRaid6FeatureBit) == 0)
            return ApiError::Fail(kApiFeatureNotSupported);
    }
    uint32_t sourceType = 0;
    if (GetUnitType(unit, &sourceType) != 0)
        return -1;
    bool changed = sourceType != type;
    if (IsStripedType(sourceType)) {
        uint32_t kib = 0;
        if (GetUnitStripeSize(unit, &kib) != 0)
            return -1;
        if (stripe == 0 || stripe > 31 || kib != (1u << (stripe - 1)))
            changed = true;
    }
    ObjectIdList128 current;
    current.clear();
    if (GetUnitDriveList(unit, &current) != 0)
        return -1;
    const std::size_t have = current.size();
    const std::size_t want = drives->size();
    if (have > want)
        return ApiError::Fail(kApiSourceDrivesMissing);
    if (have == want) {
        for (std::size_t i = 0; i < want; ++i) {
            bool found = false;
            for (std::size_t j = 0; j < have; ++j) {
                if (PortOf(current.ids[j]) == PortOf(drives->ids[i]))
                    found = true;
            }
            if (!found)
                changed = true;
        }
    } else {
        changed = true;
    }
    if (!changed)
        return ApiError::Fail(kApiSameConfiguration);
    return CreateUnit(drives, type, stripe, announce, &destination, groupSize, 1, nullptr, 0);
}

int32_t RhoskFamily::ConvertSingleToMirror(ObjectId* unit, ObjectIdList128* drives) {
    const ObjectIdList128& list = *drives;
    std::size_t chosen = list.size();
    for (std::size_t i = 0; i < list.size() && chosen == list.size(); ++i) {
        ObjectId owner = ObjectId::Blank();
        if (GetDriveUnitId(list.ids[i], &owner) != 0)
            return -1;
        if (owner[ObjectId::kUnit] == ObjectId::kNone)
            chosen = i;
    }
    if (chosen == list.size())
        return ApiError::Fail(kApiDriveInOtherUnit);
    ObjectIdList128 one;
    one.clear();
    (void)one.add(list.ids[chosen]);
    ObjectId mirror = ObjectId::Blank();
    if (CreateUnit(&one, kUnitCbod, 0, 0, &mirror, 0, 0, nullptr, 0) != 0)
        return -1;
    return AddMirrorUnit(unit->controllerId(), (*unit)[ObjectId::kUnit], mirror[ObjectId::kUnit]);
}
