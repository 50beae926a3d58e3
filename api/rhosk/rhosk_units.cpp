// The newer family's unit state and lists: the unit descriptor table read
// from the controller and walked by UnitTree, the unit, drive and port
// lists, and the volume table of a unit.
#include <algorithm>
#include <cstring>

#include "api/api.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_codes.h"
#include "api/rhosk/rhosk_descriptors.h"
#include "api/rhosk/rhosk_family.h"
#include "api/rhosk/rhosk_params.h"

using namespace rhosk;
using namespace rhosk_tables;

namespace {

constexpr std::size_t kVolumeEntrySize = 20;
// The volume count is one byte: the table can hold 255 entries. The lists
// use at most 64 of them and a volume id names one of the first 65.
constexpr std::size_t kMaxVolumeEntries = 255;
constexpr uint32_t kListedVolumes = 64;
constexpr uint32_t kAddressableVolumes = 65;
constexpr uint8_t kVolumePresent = 0x80;

// Reads the descriptor table of the unit that `id` belongs to (a RAID-6
// subunit or volume id is taken as its unit) and runs `op` on its tree.
template <typename Op>
int32_t WithTree(ObjectId id, Op op) {
    ObjectId unit = id;
    unit[ObjectId::kKind] = kKindUnit;
    UnitDescriptorTable table;
    if (RhoskFamily::ReadUnitDescriptorTable(unit, table.data()) != 0)
        return -1;
    UnitTree tree(table, id.controller(), id[ObjectId::kUnit]);
    return op(tree);
}

// The volume table of a unit: its count and the entries.
struct VolumeTable {
    uint8_t count = 0;
    uint8_t entries[kMaxVolumeEntries * kVolumeEntrySize];

    const uint8_t* entry(std::size_t index) const { return entries + index * kVolumeEntrySize; }
};

int32_t ReadVolumeTable(ObjectId unit, VolumeTable* volumes) {
    std::memset(volumes->entries, 0xFF, sizeof volumes->entries);
    const uint16_t table = UnitTableOf(unit);
    uint16_t unused = 0;
    if (ReadInto(unit, table, 16, 1, &volumes->count) != 0 ||
        ReadInto(unit, table, 24, 2, &unused) != 0) {
        return -1;
    }
    if (volumes->count == 0)
        return 0;
    // The entries are read at exactly their size, so the buffer's tail
    // keeps its 0xFF.
    const uint32_t size = volumes->count * static_cast<uint32_t>(kVolumeEntrySize);
    return RhoskFamily::GetParam(ControllerOf(unit), volumes->entries, size, table, 25,
                                 static_cast<int32_t>(size));
}

// The port status list (PortSummaryTable parameter 3); false when it
// cannot be read.
bool ReadPortStatusList(ObjectId id, uint8_t (&list)[kPortSlots]) {
    return RhoskFamily::GetParam(ControllerOf(id), list, sizeof list, kPortSummaryTable, 3,
                                 kPortSlots) == 0;
}

bool ReadUnitSummary(ObjectId id, uint8_t (&list)[kUnitSlots]) {
    return RhoskFamily::GetParam(ControllerOf(id), list, sizeof list, kUnitSummaryTable, 3,
                                 kUnitSlots) == 0;
}

}  // namespace

// --- Presence tests ---

int32_t RhoskFamily::IsUnitPresent(ObjectId controller, uint8_t unit) {
    uint8_t list[kUnitSlots] = {};
    return unit < kUnitSlots && ReadUnitSummary(controller, list) && list[unit] != 0 ? 1 : 0;
}

int32_t RhoskFamily::RequireUnit(ObjectId controller, uint8_t unit, uint32_t missing) {
    uint8_t list[kUnitSlots] = {};
    if (!ReadUnitSummary(controller, list))
        return -1;
    return unit < kUnitSlots && list[unit] != 0 ? 0 : ApiError::Fail(missing);
}

int32_t RhoskFamily::IsDrivePresent(ObjectId controller, uint8_t port) {
    uint8_t list[kPortSlots] = {};
    return port < kPortSlots && ReadPortStatusList(controller, list) && ::IsDrivePresent(list[port])
               ? 1
               : 0;
}

int32_t RhoskFamily::IsPortValid(ObjectId controller, uint8_t port) {
    uint32_t ports = 0;
    return GetNumPorts(controller, &ports) == 0 && port < ports ? 1 : 0;
}

// --- The descriptor table and unit state ---

int32_t RhoskFamily::ReadUnitDescriptorTable(ObjectId unit, uint8_t* table) {
    if (RequireUnit(ControllerOf(unit), unit[ObjectId::kUnit], kApiNoUnit) != 0)
        return -1;
    std::memset(table, 0xFF, kDescriptorTableSize);
    uint16_t count = 0;
    uint8_t size = 0;
    if (ReadInto(unit, UnitTableOf(unit), 9, 2, &count) != 0 ||
        ReadInto(unit, UnitTableOf(unit), 10, 1, &size) != 0) {
        return -1;
    }
    // A table that does not fit the buffer is refused, not overrun.
    if (!UnitDescriptorTable::Fits(count, size))
        return ApiError::Fail(kApiRetrievingDescriptor);
    const uint32_t bytes = uint32_t{count} * size;
    if (bytes > 0 && GetParam(ControllerOf(unit), table, bytes, UnitTableOf(unit), 11,
                              static_cast<int32_t>(bytes)) != 0) {
        return -1;
    }
    UnitDescriptorTable::MarkEnd(table, count);
    return 0;
}

int32_t RhoskFamily::GetUnitType(ObjectId unit, uint32_t* type) {
    return WithTree(unit, [&](const UnitTree& tree) { return tree.type(unit, type); });
}

int32_t RhoskFamily::GetUnitStatus(ObjectId unit, uint8_t* status) {
    return WithTree(unit, [&](const UnitTree& tree) { return tree.status(unit, status); });
}

int32_t RhoskFamily::GetUnitPercentComplete(ObjectId unit, uint32_t* percent) {
    return WithTree(unit,
                    [&](const UnitTree& tree) { return tree.percentComplete(unit, percent); });
}

int32_t RhoskFamily::GetUnitCapacity(ObjectId unit, uint64_t* sectors) {
    CapacitySource source{true, 12, 0};
    if (unit[ObjectId::kDepth] != 1 &&
        WithTree(unit, [&](const UnitTree& tree) { return tree.capacity(unit, &source); }) != 0) {
        return -1;
    }
    if (!source.fromParam) {
        *sectors = source.sectors;
        return 0;
    }
    return ReadValue(unit, UnitTableOf(unit), source.param, 8, sectors);
}

int32_t RhoskFamily::GetUnitStripeSize(ObjectId unit, uint32_t* kib) {
    return WithTree(unit, [&](const UnitTree& tree) { return tree.stripeSize(unit, kib); });
}

int32_t RhoskFamily::IsUnitInitialized(ObjectId unit, uint8_t* initialized) {
    return WithTree(unit,
                    [&](const UnitTree& tree) { return tree.initialized(unit, initialized); });
}

int32_t RhoskFamily::IsUnitTaskRunning(ObjectId unit, uint8_t* running) {
    return WithTree(unit, [&](const UnitTree& tree) { return tree.taskRunning(unit, running); });
}

int32_t RhoskFamily::GetRaid6UnitState(ObjectId unit, Raid6UnitState* state) {
    return WithTree(unit, [&](const UnitTree& tree) { return tree.raid6State(unit, state); });
}

int32_t RhoskFamily::GetSubunitIdList(ObjectId unit, ObjectIdList128* list) {
    list->clear();
    return WithTree(unit, [&](const UnitTree& tree) {
        tree.subunits(unit, list);
        return 0;
    });
}

// --- Lists ---

int32_t RhoskFamily::GetUnitIdList(ObjectId controller, ObjectIdList128* list) {
    list->clear();
    uint8_t units[kUnitSlots] = {};
    if (!ReadUnitSummary(controller, units))
        return -1;
    for (uint8_t u = 0; u < kUnitSlots; ++u) {
        ObjectId id;
        if (units[u] != 0 && Api::MakeUnitId(controller.controller(), ObjectId::kNone, u,
                                             ObjectId::kNone, ObjectId::kNone, &id) == 0) {
            (void)list->add(id);
        }
    }
    return 0;
}

int32_t RhoskFamily::GetRaid6SubunitIdList(ObjectId unit, ObjectIdList128* list) {
    return WithTree(unit, [&](const UnitTree& tree) { return tree.raid6Subunits(unit, list); });
}

int32_t RhoskFamily::GetUnitParityNumber(ObjectId unit, uint32_t* count) {
    ObjectIdList128 list;
    if (GetRaid6SubunitIdList(unit, &list) != 0)
        return -1;
    *count = static_cast<uint32_t>(list.size());
    return 0;
}

int32_t RhoskFamily::GetUnitVolumeList(ObjectId unit, ObjectIdList128* list) {
    if (RequireUnit(ControllerOf(unit), unit[ObjectId::kUnit], kApiNoUnit) != 0)
        return -1;
    VolumeTable volumes;
    if (ReadVolumeTable(unit, &volumes) != 0)
        return -1;
    if (volumes.count == 0)
        return ApiError::Fail(kApiUnitHasNoLuns);
    const uint32_t listed = std::min<uint32_t>(volumes.count, kListedVolumes);
    list->clear();
    for (uint32_t i = 0; i < listed; ++i) {
        if (volumes.entry(i)[1] == kVolumePresent) {
            (void)list->add(MakeVolumeId(unit, static_cast<uint8_t>(i)));
        }
    }
    return 0;
}

int32_t RhoskFamily::GetVolumeCapacity(ObjectId volume, uint64_t* sectors) {
    ObjectId unit = volume;
    unit[ObjectId::kKind] = kKindUnit;
    VolumeTable volumes;
    if (ReadVolumeTable(unit, &volumes) != 0)
        return -1;
    const uint32_t index = volume[ObjectId::kNumber];
    const uint32_t known = std::min<uint32_t>(volumes.count, kAddressableVolumes);
    if (index >= known || volumes.entry(index)[1] != kVolumePresent) {
        return ApiError::Fail(kApiInvalidLunId);
    }
    *sectors = bytes::GetU64(volumes.entry(index), kVolumeEntrySize, 12);
    return 0;
}

int32_t RhoskFamily::GetUnitDriveList(ObjectId unit, ObjectIdList128* list) {
    return WithTree(unit, [&](const UnitTree& tree) { return tree.driveList(unit, list); });
}

int32_t RhoskFamily::GetDriveUnitId(ObjectId drive, ObjectId* unit) {
    *unit = ObjectId::Blank();
    uint8_t status = kDriveNone;
    if (GetDriveStatus(drive, &status) != 0)
        return -1;
    if (!::IsDrivePresent(status))
        return ApiError::Fail(kApiPortEmpty);
    uint8_t number = 0;
    if (ReadInto(drive, DriveTableOf(drive), 11, 1, &number) != 0)
        return -1;
    if (number == ObjectId::kNone)
        return 0;  // a free drive
    ObjectId top;
    if (Api::MakeUnitId(drive.controller(), ObjectId::kNone, number, ObjectId::kNone,
                        ObjectId::kNone, &top) != 0) {
        return -1;
    }
    *unit = top;
    return WithTree(top, [&](const UnitTree& tree) {
        std::size_t index = 0;
        return tree.find(drive, &index, unit);
    });
}

int32_t RhoskFamily::GetDriveIdList(ObjectId controller, ObjectIdList128* list) {
    list->clear();
    uint8_t ports[kPortSlots] = {};
    if (!ReadPortStatusList(controller, ports))
        return -1;
    for (uint8_t p = 0; p < kPortSlots; ++p) {
        ObjectId id;
        if (::IsDrivePresent(ports[p]) && Api::MakeDriveId(controller.controller(), p, &id) == 0) {
            (void)list->add(id);
        }
    }
    return 0;
}

int32_t RhoskFamily::GetPortIdList(ObjectId controller, ObjectIdList128* list) {
    list->clear();
    uint32_t ports = 0;
    if (GetNumPorts(controller, &ports) != 0)
        return -1;
    // Ports 0 .. count - 1: a controller without ports lists none.
    const uint32_t listed = std::min<uint32_t>(ports, kPortSlots);
    for (uint32_t p = 0; p < listed; ++p) {
        ObjectId id;
        if (Api::MakePortId(controller.controller(), static_cast<uint8_t>(p), &id) == 0) {
            (void)list->add(id);
        }
    }
    return 0;
}
