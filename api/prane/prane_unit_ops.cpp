// The older family's unit operations: create, delete and export units,
// import and rescan drives, add and remove drives, rebuild a degraded
// unit, pause and resume a rebuild, and start and stop a verify. The host
// builds the whole descriptor of a new unit and computes its capacity.
#include <cstring>
#include <vector>

#include "api/api.h"
#include "api/bytes.h"
#include "api/device_io.h"
#include "api/prane/prane_internal.h"

using namespace prane;
namespace uc = prane::unit_config;

namespace {

constexpr uint8_t kModeDelete = 0x80;
constexpr uint8_t kModeExport = 0;
constexpr uint8_t kActionPause = 2;
constexpr uint8_t kActionStart = 4;
constexpr uint8_t kVerifyStart = 1;
constexpr uint8_t kVerifyStop = 0x80;
constexpr size_t kArrayArea = 204;
constexpr size_t kRaid10Area = 312;
constexpr size_t kSingleArea = 512;
constexpr uint64_t kMaxCapacity = 0xFFFFFFFFu;
constexpr size_t kMaxMembers = 16;

bool IsNoUnit(const ObjectId& unit) {
    return unit[ObjectId::kController] == ObjectId::kNone;
}

bool IsSingleOrSpare(uint32_t type) {
    return type == kTypeSingle || type == kTypeSpare;
}

// A unit the operating system takes part in creating and deleting.
bool IsOsVisible(uint32_t type, uint8_t flags) {
    return !IsSingleOrSpare(type) && (flags & 1) != 0;
}

int32_t Notify(ObjectId unit, uint8_t notification) {
    const ObjectId controller = unit.controllerId();
    return DeviceIo::NotifyOs(&controller, &unit, notification);
}

// A call whose failure the operation does not report: its error leaves
// the record as it was before.
using ApiError::Quietly;

bool HasStripeTest(uint32_t type) {
    return type == kTypeRaid0 || type == kTypeRaid5 || type == kTypeRaid10;
}

bool StripeOk(uint32_t type, uint32_t stripe) {
    if (type == kTypeRaid5)
        return stripe == kStripe64K;
    return stripe >= kStripe8K && stripe <= kStripe1024K;
}

bool CountOk(uint32_t type, uint32_t n) {
    switch (type) {
        case kTypeRaid0:
            return n >= 2 && n <= kMaxMembers;
        case kTypeRaid1Mirror:
            return n == 2;
        case kTypeRaid5:
            return n >= 3 && n <= kMaxMembers;
        case kTypeRaid10:
            return n >= 4 && n % 2 == 0 && n <= kMaxMembers;
        default:
            return n == 1;
    }
}

uint64_t Cap(uint64_t value) {
    return value > kMaxCapacity ? kMaxCapacity : value;
}

void PutMember(std::vector<uint8_t>& area, size_t at, uint8_t port, uint8_t index,
               uint64_t capacity) {
    bytes::PutU8(area.data(), area.size(), at + uc::kMemberType, kTypeSingle);
    bytes::PutU8(area.data(), area.size(), at + uc::kMemberPort, port);
    bytes::PutU8(area.data(), area.size(), at + uc::kMemberIndex, index);
    bytes::PutU32(area.data(), area.size(), at + uc::kMemberCapacity,
                  static_cast<uint32_t>(capacity));
}

// The descriptor of a new unit, the length the packet announces and the
// unit's capacity in blocks.
struct NewDescriptor {
    std::vector<uint8_t> area;
    uint16_t length = 0;
    uint64_t capacity = 0;
};

NewDescriptor BuildDescriptor(uint32_t type, uint32_t stripe, const std::vector<uint8_t>& ports,
                              const std::vector<uint64_t>& capacities) {
    NewDescriptor d;
    const size_t n = ports.size();
    uint64_t smallest = capacities[0];
    for (uint64_t c : capacities)
        smallest = c < smallest ? c : smallest;
    const uint64_t u = smallest > kReservedBlocks ? smallest - kReservedBlocks : 0;
    auto put8 = [&](size_t at, uint8_t v) { bytes::PutU8(d.area.data(), d.area.size(), at, v); };
    auto put32 = [&](size_t at, uint64_t v) {
        bytes::PutU32(d.area.data(), d.area.size(), at, static_cast<uint32_t>(v));
    };
    // The total rounded down to whole stripes across the data drives.
    auto total = [&](uint64_t dataDrives) {
        const uint64_t t = Cap(dataDrives * u);
        const uint64_t unit = dataDrives << stripe;
        return unit == 0 ? t : t - t % unit;
    };

    if (type == kTypeSingle || type == kTypeSpare || type == kTypeJbod) {
        d.area.assign(kSingleArea, 0);
        put8(uc::kType, static_cast<uint8_t>(type));
        put8(uc::kStripeOrPort, ports[0]);
        d.capacity = Cap(capacities[0]);
        put32(uc::kCapacity, d.capacity);
        d.length = 12;
        return d;
    }
    if (type == kTypeRaid10) {
        const size_t h = n / 2;
        const uint64_t t = total(h);
        d.capacity = t;
        d.area.assign(kRaid10Area, 0);
        put8(uc::kCount, static_cast<uint8_t>(h));
        put8(uc::kType, static_cast<uint8_t>(type));
        put8(uc::kStripeOrPort, static_cast<uint8_t>(stripe));
        put32(uc::kCapacity, t);
        put8(12, 0xFF);
        for (size_t at = uc::kSubunitStatus; at < uc::kSubunits; ++at)
            put8(at, 0xFF);
        for (size_t i = 0; i < h; ++i) {
            const size_t sub = uc::kSubunits + uc::kSubunitSize * i;
            put8(sub + uc::kCount, 2);
            put8(sub + uc::kType, static_cast<uint8_t>(kTypeRaid1Mirror));
            put32(sub + uc::kCapacity, u);
            for (size_t j = 0; j < 2; ++j) {
                PutMember(d.area, sub + uc::kMembers + uc::kMemberSize * j, ports[2 * i + j],
                          static_cast<uint8_t>(j), t / h);
            }
        }
        d.length = static_cast<uint16_t>(uc::kSubunits + uc::kSubunitSize * h);
        return d;
    }
    uint64_t capacity = u;
    uint64_t memberCapacity = u;
    if (type == kTypeRaid0) {
        capacity = total(n);
        memberCapacity = capacity / n;
    } else if (type == kTypeRaid5) {
        capacity = total(n - 1);
        memberCapacity = capacity / (n - 1);
    } else {
        capacity = Cap(u);
        memberCapacity = capacity;
    }
    d.area.assign(kArrayArea, 0);
    put8(uc::kCount, static_cast<uint8_t>(n));
    put8(uc::kType, static_cast<uint8_t>(type));
    put8(uc::kStripeOrPort, HasStripeTest(type) ? static_cast<uint8_t>(stripe) : 0);
    put32(uc::kCapacity, capacity);
    d.capacity = capacity;
    for (size_t i = 0; i < n; ++i) {
        PutMember(d.area, uc::kMembers + uc::kMemberSize * i, ports[i], static_cast<uint8_t>(i),
                  memberCapacity);
    }
    d.length = static_cast<uint16_t>(uc::kMembers + uc::kMemberSize * n);
    return d;
}

}  // namespace

int32_t PraneFamily::CreateUnit(const ObjectIdList128* drives, uint32_t type, uint32_t stripe,
                                uint8_t notify, ObjectId* unit) {
    if (type != kTypeRaid0 && type != kTypeRaid1Mirror && type != kTypeRaid5 &&
        type != kTypeRaid10 && type != kTypeSingle && type != kTypeSpare && type != kTypeJbod) {
        return ApiError::Fail(kApiConfigNotSupported);
    }
    const uint32_t n = static_cast<uint32_t>(drives->size());
    if (!CountOk(type, n))
        return ApiError::Fail(kApiInvalidDriveCount);
    if (HasStripeTest(type) && !StripeOk(type, stripe))
        return ApiError::Fail(kApiInvalidStripe);

    // Every drive is checked before anything changes: the single-drive
    // units that give up their drives are deleted only once the whole
    // list has passed.
    const ObjectId first = drives->ids[0];
    std::vector<uint8_t> ports;
    std::vector<ObjectId> singles;
    for (uint32_t i = 0; i < n; ++i) {
        const ObjectId drive = drives->ids[i];
        if (drive.controller() != first.controller())
            return ApiError::Fail(kApiCreateOtherController);
        for (uint8_t port : ports) {
            if (port == PortOf(drive))
                return ApiError::Fail(kApiCreateDuplicateDrive);
        }
        ports.push_back(PortOf(drive));
        uint8_t status = kDriveNone;
        if (GetDriveStatus(drive, &status) != 0)
            return -1;
        if (status != kDriveOk)
            return ApiError::Fail(kApiCreatePortEmpty);
        ObjectId holder;
        if (GetDriveUnitId(drive, &holder) != 0)
            return -1;
        if (IsNoUnit(holder))
            continue;
        uint32_t holderType = 0;
        if (DepthOf(holder) != 1 || GetUnitType(holder, &holderType) != 0 ||
            holderType != kTypeSingle) {
            return ApiError::Fail(kApiDriveInOtherUnit);
        }
        singles.push_back(holder);
    }
    std::vector<uint64_t> capacities;
    for (uint32_t i = 0; i < n; ++i) {
        uint64_t capacity = 0;
        if (GetDriveCapacity(drives->ids[i], &capacity) != 0)
            return -1;
        capacities.push_back(capacity);
    }
    // Drives that hold no more than the reserved blocks leave a unit of no
    // blocks at all: such a drive is too small, and nothing changes.
    NewDescriptor d = BuildDescriptor(type, stripe, ports, capacities);
    if (d.capacity == 0)
        return ApiError::Fail(kApiReplacementTooSmall);
    for (const ObjectId& single : singles)
        Quietly([&] { return DeleteUnit(single, 0, kModeDelete); });

    PraneCommand packet = MakeCommand(prane_opcode::kCreateUnit, 2);
    bytes::PutU16(packet.bytes, sizeof packet.bytes, PraneCommand::kField6, d.length);
    if (SendCommand(first, &packet, d.area.data(), static_cast<int32_t>(d.area.size())) != 0)
        return -1;
    ObjectId created;
    if (MakeUnit(first.controller(), packet.bytes[PraneCommand::kUnit], ObjectId::kNone,
                 ObjectId::kNone, &created) != 0) {
        return -1;
    }
    Quietly([&] { return EnableWriteCache(created); });
    uint8_t flags = 0;
    if (GetUnitFlags(created, &flags) != 0)
        return -1;
    if (notify != 0 && IsOsVisible(type, flags) && Notify(created, kNotifyUnitAdded) != 0) {
        Quietly([&] { return DeleteUnit(created, 0, kModeDelete); });
        return -1;
    }
    *unit = created;
    return 0;
}

int32_t PraneFamily::DeleteUnit(ObjectId unit, uint8_t notify, uint8_t mode) {
    if (!IsUnitPresent(unit, UnitNumberOf(unit)))
        return ApiError::Fail(kApiNoSuchUnitToDelete);
    ObjectId top;
    if (MakeUnit(unit.controller(), UnitNumberOf(unit), ObjectId::kNone, ObjectId::kNone, &top) !=
        0) {
        return -1;
    }
    uint32_t type = 0;
    uint8_t flags = 0;
    if (GetUnitType(top, &type) != 0 || GetUnitFlags(top, &flags) != 0)
        return -1;
    const bool tell = notify != 0 && IsOsVisible(type, flags);
    if (tell && Notify(top, kNotifyUnitRemoving) != 0) {
        Quietly([&] { return Notify(top, kNotifyRemovalAbandoned); });
        return -1;
    }
    if (SendSimple(top, prane_opcode::kDeleteUnit, 2, UnitNumberOf(top), 0, mode) != 0) {
        if (tell)
            Quietly([&] { return Notify(top, kNotifyRemovalAbandoned); });
        return -1;
    }
    if (tell)
        Quietly([&] { return Notify(top, kNotifyUnitDeleted); });
    return 0;
}

int32_t PraneFamily::ImportUnit(const ObjectIdList128* drives, uint8_t notify,
                                ObjectIdList128* units) {
    std::memset(units->ids, 0xFF, sizeof units->ids);
    units->count = 0;
    if (drives->size() == 0)
        return ApiError::Fail(kApiNoDrivesSpecified);
    const ObjectId first = drives->ids[0];
    ObjectIdList128 before;
    if (GetUnitIdList(first.controllerId(), &before) != 0)
        return -1;
    std::vector<uint8_t> ports;
    for (size_t i = 0; i < drives->size(); ++i) {
        const ObjectId drive = drives->ids[i];
        if (drive.controller() != first.controller())
            return ApiError::Fail(kApiImportOtherController);
        for (uint8_t port : ports) {
            if (port == PortOf(drive))
                return ApiError::Fail(kApiImportDuplicateDrive);
        }
        ports.push_back(PortOf(drive));
        uint8_t status = kDriveNone;
        if (GetDriveStatus(drive, &status) != 0)
            return -1;
        if ((status & 0x80) == 0)
            return ApiError::Fail(kApiImportPortEmpty);
        if ((status & 0x01) == 0)
            return ApiError::Fail(kApiImportDriveError);
        ObjectId holder;
        if (GetDriveUnitId(drive, &holder) != 0)
            return -1;
        if (!IsNoUnit(holder))
            return ApiError::Fail(kApiImportDriveInUse);
        PraneCommand packet = MakeCommand(prane_opcode::kImportScan, 3);
        bytes::PutU32(packet.bytes, sizeof packet.bytes, 8, uint32_t{1} << (PortOf(drive) & 31));
        if (SendCommand(drive, &packet, nullptr, 0) != 0)
            return -1;
    }
    ObjectIdList128 after;
    if (GetUnitIdList(first.controllerId(), &after) != 0)
        return -1;
    for (size_t i = 0; i < after.size(); ++i) {
        bool known = false;
        for (size_t j = 0; j < before.size(); ++j)
            known = known || UnitNumberOf(before.ids[j]) == UnitNumberOf(after.ids[i]);
        if (!known)
            units->ids[units->count++] = after.ids[i];
    }
    if (notify != 0) {
        const ObjectId controller = first.controllerId();
        Quietly([&] { return DeviceIo::NotifyOs(&controller, &controller, kNotifyUnitAdded); });
    }
    return 0;
}

int32_t PraneFamily::RescanController(ObjectId id, uint8_t notify, ObjectIdList128* units,
                                      ObjectIdList128* drives) {
    std::memset(units->ids, 0xFF, sizeof units->ids);
    units->count = 0;
    std::memset(drives->ids, 0xFF, sizeof drives->ids);
    drives->count = 0;
    ObjectIdList128 present;
    ObjectIdList128 ports;
    if (GetUnitIdList(id, &present) != 0 || GetPortIdList(id, &ports) != 0)
        return -1;
    std::vector<ObjectId> found;
    for (size_t i = 0; i < ports.size(); ++i) {
        uint8_t status = kDriveOk;
        if (GetDriveStatus(ports.ids[i], &status) != 0 || status != kDriveNone)
            continue;
        ObjectId drive;
        if (AddDrive(ports.ids[i], &drive) != 0)
            continue;
        if (GetDriveStatus(drive, &status) == 0 && status == kDriveOk)
            found.push_back(drive);
    }
    ApiError::Clear();
    if (found.empty())
        return 0;
    for (const ObjectId& drive : found) {
        ObjectIdList128 one;
        one.clear();
        (void)one.add(drive);
        ObjectIdList128 imported;
        if (ImportUnit(&one, notify, &imported) != 0)
            continue;
        for (size_t i = 0; i < imported.size() && units->count < ObjectIdList128::kCapacity; ++i)
            units->ids[units->count++] = imported.ids[i];
    }
    ApiError::Clear();
    std::vector<uint8_t> taken;
    for (size_t i = 0; i < units->size(); ++i) {
        ObjectIdList128 members;
        if (GetUnitDriveList(units->ids[i], &members) != 0)
            continue;
        for (size_t j = 0; j < members.size(); ++j) {
            if (PortOf(members.ids[j]) != ObjectId::kNone)
                taken.push_back(PortOf(members.ids[j]));
        }
    }
    ApiError::Clear();
    for (const ObjectId& drive : found) {
        bool inUnit = false;
        for (uint8_t port : taken)
            inUnit = inUnit || port == PortOf(drive);
        if (!inUnit && drives->count < ObjectIdList128::kCapacity)
            drives->ids[drives->count++] = drive;
    }
    return 0;
}

int32_t PraneFamily::AddDrive(ObjectId port, ObjectId* drive) {
    if (IsDrivePresent(port, PortOf(port)))
        return ApiError::Fail(kApiPortInUse);
    uint32_t count = 0;
    if (GetNumPorts(port, &count) != 0)
        return -1;
    if (PortOf(port) >= count)
        return ApiError::Fail(kApiScanInvalidPort);
    PraneCommand packet = MakeCommand(prane_opcode::kPortDetect, 3);
    bytes::PutU32(packet.bytes, sizeof packet.bytes, 8, uint32_t{1} << (PortOf(port) & 31));
    if (SendCommand(port, &packet, nullptr, 0) != 0)
        return -1;
    return Api::MakeDriveId(port.controller(), PortOf(port), drive);
}

int32_t PraneFamily::RemoveDrive(ObjectId drive) {
    if (!IsDrivePresent(drive, PortOf(drive)))
        return ApiError::Fail(kApiRemovePortEmpty);
    ObjectId holder;
    if (GetDriveUnitId(drive, &holder) != 0)
        return -1;
    auto detach = [&] {
        return SendSimple(drive, prane_opcode::kRemoveDrive, 2, 0, 0, PortOf(drive));
    };
    if (IsNoUnit(holder))
        return detach();
    uint32_t type = 0;
    if (GetUnitType(holder, &type) != 0)
        return -1;
    if (DepthOf(holder) == 1) {
        if (type != kTypeSingle && type != kTypeSpare && type != kTypeSubunit)
            return ApiError::Fail(kApiPortBusy);
        if (DeleteUnit(holder, 0, kModeExport) != 0)
            return -1;
        return detach();
    }
    if (type != kTypeSingle && type != kTypeSubunit)
        return ApiError::Fail(kApiPortBusy);
    ObjectId parent = holder;
    const uint8_t depth = static_cast<uint8_t>(DepthOf(holder) - 1);
    parent[ObjectId::kDepth] = depth;
    for (size_t at = ObjectId::kUnit + depth; at <= ObjectId::kLevel3; ++at)
        parent[at] = ObjectId::kNone;
    uint32_t parentType = 0;
    if (GetUnitType(parent, &parentType) != 0)
        return -1;
    if (parentType != kTypeRaid1 && parentType != kTypeRaid1Mirror && parentType != kTypeRaid5)
        return ApiError::Fail(kApiRemoveInvalid);
    uint8_t parentStatus = 0;
    uint8_t ownStatus = 0;
    if (GetUnitStatus(parent, &parentStatus) != 0 || GetUnitStatus(holder, &ownStatus) != 0)
        return -1;
    if (parentStatus == kUnitStatusOk || parentStatus == kUnitStatusVerifying ||
        parentStatus == kUnitStatusInitializing || ownStatus < kUnitStatusOk) {
        return detach();
    }
    return ApiError::Fail(kApiRemoveInvalid);
}

namespace {

// The lowest set bit of `bitmap` below `limit`, or -1.
int LowestBit(uint16_t bitmap, unsigned limit) {
    for (unsigned bit = 0; bit < limit && bit < 16; ++bit) {
        if ((bitmap >> bit & 1) != 0)
            return static_cast<int>(bit);
    }
    return -1;
}

}  // namespace

namespace {

// Where a rebuild goes: the unit or subunit that takes the replacement,
// the member index the replacement takes, and the subunit rebuilt.
struct RebuildSlot {
    ObjectId target;
    uint8_t memberIndex = 0;
    uint8_t subunitIndex = 0;
};

// RAID-1 and RAID-5: the lowest degraded member of the unit itself.
int32_t FindArrayMember(uint8_t status, const uint8_t* config, RebuildSlot* slot) {
    if (status == kUnitStatusRebuilding)
        return ApiError::Fail(kApiUnitRebuilding);
    const int bit = LowestBit(bytes::GetU16(config, uc::kSize, uc::kDegraded), 16);
    if (bit < 0)
        return ApiError::Fail(kApiUnitOk);
    slot->memberIndex = static_cast<uint8_t>(bit);
    return 0;
}

// RAID-10: the first degraded mirror (one of the first eight) and its
// lowest degraded member, counted over the whole unit.
int32_t FindRaid10Member(ObjectId unit, const uint8_t* config, RebuildSlot* slot) {
    int degraded = -1;
    bool rebuilding = false;
    const size_t count = config[uc::kCount];
    for (size_t i = 0; i < count && i < uc::kSubunits - uc::kSubunitStatus; ++i) {
        const uint8_t each = config[uc::kSubunitStatus + i] | 3;
        if (each == kUnitStatusDegraded && degraded < 0)
            degraded = static_cast<int>(i);
        rebuilding = rebuilding || each == kUnitStatusRebuilding;
    }
    if (degraded < 0 || static_cast<size_t>(degraded) >= 8)
        return ApiError::Fail(rebuilding ? kApiUnitRebuilding : kApiUnitOk);
    const size_t sub = uc::kSubunits + uc::kSubunitSize * static_cast<size_t>(degraded);
    const unsigned members = config[sub + uc::kCount];
    const int bit = LowestBit(bytes::GetU16(config, uc::kSize, sub + uc::kDegraded), members);
    if (bit < 0)
        return ApiError::Fail(kApiUnitOk);
    slot->subunitIndex = static_cast<uint8_t>(degraded);
    slot->memberIndex = static_cast<uint8_t>(bit + degraded * static_cast<int>(members));
    return MakeUnit(unit.controller(), UnitNumberOf(unit), slot->subunitIndex, ObjectId::kNone,
                    &slot->target);
}

// The replacement drive is free, or the one drive of a single or spare.
int32_t CheckReplacementHolder(ObjectId replacement, ObjectId* holder) {
    if (PraneFamily::GetDriveUnitId(replacement, holder) != 0)
        return -1;
    if (IsNoUnit(*holder))
        return 0;
    uint32_t holderType = 0;
    if (DepthOf(*holder) != 1 || PraneFamily::GetUnitType(*holder, &holderType) != 0 ||
        !IsSingleOrSpare(holderType)) {
        return ApiError::Fail(kApiReplacementInvalid);
    }
    return 0;
}

// The replacement, less the reserved blocks, holds at least as much as
// the smallest member of the target.
int32_t CheckReplacementSize(ObjectId replacement, ObjectId target) {
    uint64_t replacementCapacity = 0;
    if (PraneFamily::GetDriveCapacity(replacement, &replacementCapacity) != 0)
        return -1;
    ObjectIdList128 members;
    if (PraneFamily::GetUnitDriveList(target, &members) != 0)
        return -1;
    bool any = false;
    uint64_t smallest = 0;
    for (size_t i = 0; i < members.size(); ++i) {
        if (PortOf(members.ids[i]) == ObjectId::kNone)
            continue;
        ObjectId memberUnit;
        uint64_t capacity = 0;
        if (PraneFamily::GetDriveUnitId(members.ids[i], &memberUnit) != 0 ||
            PraneFamily::GetUnitCapacity(memberUnit, &capacity) != 0) {
            return -1;
        }
        smallest = !any || capacity < smallest ? capacity : smallest;
        any = true;
    }
    const uint64_t usable =
        replacementCapacity > kReservedBlocks ? replacementCapacity - kReservedBlocks : 0;
    if (any && smallest > usable)
        return ApiError::Fail(kApiReplacementTooSmall);
    return 0;
}

// A free replacement becomes a single-drive unit before it is attached.
int32_t MakeSingleDriveUnit(ObjectId replacement, ObjectId* holder) {
    ObjectIdList128 one;
    one.clear();
    (void)one.add(replacement);
    return PraneFamily::CreateUnit(&one, kTypeSingle, 0, 0, holder);
}

}  // namespace

int32_t PraneFamily::RebuildUnit(ObjectId unit, const ObjectIdList128* drives, uint8_t ignoreEcc) {
    uint8_t status = 0;
    if (GetUnitStatus(unit, &status) != 0)
        return -1;
    if (status == kUnitStatusOk)
        return ApiError::Fail(kApiUnitOk);
    uint8_t config[uc::kSize];
    if (GetUnitConfig(unit, config) != 0)
        return -1;
    const uint32_t type = config[uc::kType];
    RebuildSlot slot{unit};
    int32_t found = 0;
    if (type == kTypeRaid1 || type == kTypeRaid1Mirror || type == kTypeRaid5)
        found = FindArrayMember(status, config, &slot);
    else if (type == kTypeRaid10)
        found = FindRaid10Member(unit, config, &slot);
    else
        found = ApiError::Fail(kApiRebuildInvalidConfig);
    if (found != 0)
        return -1;

    if (drives->size() == 0)
        return ApiError::Fail(kApiNoDrivesSpecified);
    const ObjectId replacement = drives->ids[0];
    ObjectId holder;
    // The size test comes before the replacement is made a single-drive
    // unit, so that a drive too small is left as it was.
    if (CheckReplacementHolder(replacement, &holder) != 0 ||
        CheckReplacementSize(replacement, slot.target) != 0) {
        return -1;
    }
    if (IsNoUnit(holder) && MakeSingleDriveUnit(replacement, &holder) != 0)
        return -1;
    if (SendSimple(unit, prane_opcode::kAttachReplacement, 2, UnitNumberOf(unit),
                   UnitNumberOf(holder), slot.memberIndex) != 0) {
        return -1;
    }
    const uint8_t action = static_cast<uint8_t>(kActionStart | ((2 | (ignoreEcc & 1)) << 6));
    return SendSimple(unit, prane_opcode::kUnitTask, 2, UnitNumberOf(unit), action,
                      type == kTypeRaid10 ? slot.subunitIndex : 0);
}

namespace {

int32_t RebuildTask(ObjectId unit, uint8_t action) {
    uint8_t status = 0;
    if (PraneFamily::GetUnitStatus(unit, &status) != 0)
        return -1;
    if (status != kUnitStatusRebuilding)
        return ApiError::Fail(kApiNotRebuilding);
    return SendSimple(unit, prane_opcode::kUnitTask, 2, UnitNumberOf(unit), action, 0);
}

}  // namespace

int32_t PraneFamily::PauseRebuild(ObjectId unit) {
    return RebuildTask(unit, kActionPause);
}

int32_t PraneFamily::ResumeRebuild(ObjectId unit) {
    return RebuildTask(unit, kActionStart);
}

int32_t PraneFamily::VerifyUnit(ObjectId unit, uint32_t mode) {
    uint32_t type = 0;
    if (GetUnitType(unit, &type) != 0)
        return -1;
    if (type != kTypeRaid1 && type != kTypeRaid1Mirror && type != kTypeRaid5 &&
        type != kTypeRaid10) {
        return ApiError::Fail(kApiVerifyInvalidConfig);
    }
    uint8_t status = 0;
    if (GetUnitStatus(unit, &status) != 0)
        return -1;
    uint8_t byte7 = 0;
    if (mode == 1 && status == kUnitStatusVerifying)
        byte7 = kVerifyStop;
    else if (mode == 0 && status == kUnitStatusOk)
        byte7 = kVerifyStart;
    else
        return ApiError::Fail(kApiInvalidVerifyMode);
    if (SendSimple(unit, prane_opcode::kVerify, 2, UnitNumberOf(unit), 0, byte7) != 0)
        return -1;
    if (byte7 != kVerifyStart)
        return 0;
    return SendSimple(unit, prane_opcode::kUnitTask, 2, UnitNumberOf(unit), kActionStart, 0);
}
