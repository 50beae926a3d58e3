// The older family's unit configuration and unit queries: every unit
// question is answered from the unit descriptor (UnitTable parameter 6),
// of which a unit, subunit or member id selects one part, and from the
// raw status bytes of UnitSummaryTable.
#include <cstring>

#include "api/api.h"
#include "api/bytes.h"
#include "api/device_io.h"
#include "api/prane/prane_internal.h"

using namespace prane;
namespace uc = prane::unit_config;

namespace {

uint16_t UnitTable(uint8_t unit) {
    return static_cast<uint16_t>(prane_param::kUnitTableBase + unit);
}

// The depth-1 descriptor of the unit, into a zeroed 512-byte buffer.
int32_t ReadDescriptor(ObjectId unit, uint8_t* config) {
    std::memset(config, 0, uc::kSize);
    if (!PraneFamily::IsUnitPresent(unit, UnitNumberOf(unit)))
        return ApiError::Fail(kApiInvalidUnit);
    uint16_t length = 0;
    if (Read(unit, UnitTable(UnitNumberOf(unit)), 5, 2, &length) != 0)
        return -1;
    const int32_t n = static_cast<int32_t>(length) - 3;
    if (n > static_cast<int32_t>(uc::kSize))
        return ApiError::Fail(kApiRetrievingDescriptor);
    if (n <= 0)
        return 0;
    return Read(unit, UnitTable(UnitNumberOf(unit)), 6, n, config);
}

uint8_t At(const uint8_t* config, size_t offset) {
    return bytes::GetU8(config, uc::kSize, offset);
}
uint16_t Bitmap(const uint8_t* config, size_t offset) {
    return bytes::GetU16(config, uc::kSize, offset + uc::kDegraded);
}

// The offset of the part of the descriptor that the id selects, or -1
// (with API 13 recorded) when the id selects none.
int32_t PartOffset(ObjectId unit, const uint8_t* config) {
    const uint32_t type = At(config, uc::kType);
    const size_t level2 = unit[ObjectId::kLevel2];
    const size_t level3 = unit[ObjectId::kLevel3];
    switch (DepthOf(unit)) {
        case 1:
            return 0;
        case 2:
            if (IsFlatArray(type) && level2 < (uc::kSize - uc::kMembers) / uc::kMemberSize)
                return static_cast<int32_t>(uc::kMembers + uc::kMemberSize * level2);
            if (type == kTypeRaid10 && level2 < (uc::kSize - uc::kSubunits) / uc::kSubunitSize)
                return static_cast<int32_t>(uc::kSubunits + uc::kSubunitSize * level2);
            break;
        case 3:
            if (type == kTypeRaid10 && level2 < (uc::kSize - uc::kSubunits) / uc::kSubunitSize &&
                level3 < 2) {
                return static_cast<int32_t>(uc::kSubunits + uc::kSubunitSize * level2 +
                                            uc::kMembers + uc::kMemberSize * level3);
            }
            break;
        default:
            break;
    }
    return ApiError::Fail(kApiRetrievingDescriptor);
}

// The selected part, copied to the front of `part` (512 bytes, zeroed
// behind it), and the whole descriptor in `whole`.
int32_t ReadPart(ObjectId unit, uint8_t* part, uint8_t* whole) {
    if (ReadDescriptor(unit, whole) != 0)
        return -1;
    const int32_t offset = PartOffset(unit, whole);
    if (offset < 0)
        return -1;
    std::memset(part, 0, uc::kSize);
    std::memcpy(part, whole + offset, uc::kSize - static_cast<size_t>(offset));
    return 0;
}

bool IsWriteCacheless(uint32_t type) {
    return type == kTypeSingle || type == kTypeSpare;
}

// The type check of the write cache operations: single drives and spares
// have none.
int32_t RequireWriteCache(ObjectId unit) {
    uint32_t type = 0;
    if (PraneFamily::GetUnitType(unit, &type) != 0)
        return -1;
    if (IsWriteCacheless(type))
        return ApiError::Fail(kApiWriteCacheNotSupported);
    return 0;
}

int32_t SetWriteCache(ObjectId unit, uint8_t on) {
    if (RequireWriteCache(unit) != 0)
        return -1;
    if (PraneFamily::SetParam(unit.controllerId(), UnitTable(UnitNumberOf(unit)), 7, 1, &on, 0) !=
        0) {
        return -1;
    }
    const ObjectId controller = unit.controllerId();
    (void)DeviceIo::NotifyOs(&controller, &unit, on ? kNotifyWriteCacheOn : kNotifyWriteCacheOff);
    return 0;
}

int32_t PercentOf(ObjectId unit, uint32_t* percent);

}  // namespace

int32_t PraneFamily::GetUnitConfig(ObjectId unit, uint8_t* config) {
    uint8_t whole[uc::kSize];
    return ReadPart(unit, config, whole);
}

int32_t PraneFamily::IsUnitPresent(ObjectId controller, uint8_t unit) {
    ObjectId id = ObjectId::Blank();
    if (MakeUnit(controller.controller(), unit, ObjectId::kNone, ObjectId::kNone, &id) != 0)
        return 0;
    uint8_t status = 0;
    if (GetUnitStatus(id, &status) != 0)
        return 0;
    return status != kUnitStatusInoperable ? 1 : 0;
}

int32_t PraneFamily::GetUnitRawStatus(ObjectId unit, uint8_t* raw) {
    if (DepthOf(unit) == 1) {
        uint8_t units[32] = {};
        if (Read(unit, prane_param::kUnitSummaryTable, 3, prane_param::kMaxUnits, units) != 0)
            return -1;
        *raw = UnitNumberOf(unit) < sizeof units ? units[UnitNumberOf(unit)] : 0;
        return 0;
    }
    uint8_t config[uc::kSize];
    if (ReadDescriptor(unit, config) != 0)
        return -1;
    const uint32_t type = At(config, uc::kType);
    const uint8_t level2 = unit[ObjectId::kLevel2];
    const uint8_t level3 = unit[ObjectId::kLevel3];
    if (IsFlatArray(type)) {
        if (DepthOf(unit) != 2)
            return ApiError::Fail(kApiNoUnit);
        *raw =
            level2 < 16 && (Bitmap(config, 0) >> level2 & 1) ? kUnitStatusDegraded : kUnitStatusOk;
        return 0;
    }
    if (type == kTypeRaid10) {
        if (DepthOf(unit) == 2 && level2 < uc::kSubunits - uc::kSubunitStatus) {
            *raw = At(config, uc::kSubunitStatus + level2);
            return 0;
        }
        const unsigned bit = 2u * level2 + level3;
        if (DepthOf(unit) == 3 && bit < 16) {
            *raw = (Bitmap(config, 0) >> bit & 1) ? kUnitStatusDegraded : kUnitStatusOk;
            return 0;
        }
    }
    return ApiError::Fail(kApiUnitStatusFailed);
}

int32_t PraneFamily::GetUnitFlags(ObjectId unit, uint8_t* flags) {
    uint8_t raw = 0;
    if (GetUnitRawStatus(unit, &raw) != 0)
        return -1;
    *flags = raw & 0x7F;
    return 0;
}

int32_t PraneFamily::GetUnitStatus(ObjectId unit, uint8_t* status) {
    uint8_t raw = 0;
    if (GetUnitRawStatus(unit, &raw) != 0)
        return -1;
    *status = PraneUnitStatus(raw);
    return 0;
}

int32_t PraneFamily::GetUnitType(ObjectId unit, uint32_t* type) {
    uint8_t part[uc::kSize];
    if (GetUnitConfig(unit, part) != 0)
        return -1;
    *type = part[uc::kType];
    return 0;
}

int32_t PraneFamily::GetUnitCapacity(ObjectId unit, uint64_t* sectors) {
    uint8_t part[uc::kSize];
    if (GetUnitConfig(unit, part) != 0)
        return -1;
    *sectors = bytes::GetU32(part, sizeof part, uc::kCapacity);
    return 0;
}

int32_t PraneFamily::GetUnitIdList(ObjectId id, ObjectIdList128* list) {
    std::memset(list->ids, 0xFF, sizeof list->ids);
    list->count = 0;
    uint8_t units[32] = {};
    if (Read(id, prane_param::kUnitSummaryTable, 3, prane_param::kMaxUnits, units) != 0)
        return -1;
    for (uint8_t n = 0; n < prane_param::kMaxUnits; ++n) {
        ObjectId unit;
        if (PraneUnitStatus(units[n]) != kUnitStatusInoperable &&
            MakeUnit(id.controller(), n, ObjectId::kNone, ObjectId::kNone, &unit) == 0) {
            list->ids[list->count++] = unit;
        }
    }
    return 0;
}

int32_t PraneFamily::GetSubunitIdList(ObjectId unit, ObjectIdList128* list) {
    std::memset(list->ids, 0xFF, sizeof list->ids);
    list->count = 0;
    uint8_t part[uc::kSize];
    if (GetUnitConfig(unit, part) != 0)
        return -1;
    const uint8_t count = part[uc::kCount];
    if (count == 0)
        return 0;
    if (DepthOf(unit) != 1 && DepthOf(unit) != 2)
        return ApiError::Fail(kApiNoSubunits);
    for (uint8_t i = 0; i < count && list->count < ObjectIdList128::kCapacity; ++i) {
        ObjectId each;
        const int32_t made = DepthOf(unit) == 1 ? MakeUnit(unit.controller(), UnitNumberOf(unit), i,
                                                           ObjectId::kNone, &each)
                                                : MakeUnit(unit.controller(), UnitNumberOf(unit),
                                                           unit[ObjectId::kLevel2], i, &each);
        if (made != 0)
            return -1;
        list->ids[list->count++] = each;
    }
    return 0;
}

namespace {

int32_t PercentOf(ObjectId unit, uint32_t* percent) {
    uint8_t part[uc::kSize];
    if (PraneFamily::GetUnitConfig(unit, part) != 0)
        return -1;
    const uint32_t type = part[uc::kType];
    if (type == kTypeRaid1 || type == kTypeRaid1Mirror || type == kTypeRaid5) {
        size_t at = 0;
        if (DepthOf(unit) == 2)
            at = 2u * unit[ObjectId::kLevel2];
        else if (DepthOf(unit) != 1)
            return ApiError::Fail(kApiPercentFailed);
        uint8_t progress[16] = {};
        if (at + 2 > sizeof progress)
            return ApiError::Fail(kApiPercentFailed);
        if (Read(unit, prane_param::kProgressTable, 2, sizeof progress, progress,
                 UnitNumberOf(unit)) != 0) {
            return -1;
        }
        *percent = bytes::GetU16(progress, sizeof progress, at) / 10u;
        return 0;
    }
    if (type == kTypeRaid10) {
        // The mean over the subunits when one of them is busy: a busy
        // subunit gives its own figure, the others count as done.
        const uint8_t count = part[uc::kCount];
        uint32_t sum = 0;
        bool busy = false;
        for (uint8_t i = 0; i < count; ++i) {
            ObjectId subunit;
            if (MakeUnit(unit.controller(), UnitNumberOf(unit), i, ObjectId::kNone, &subunit) != 0)
                return -1;
            uint8_t status = 0;
            if (PraneFamily::GetUnitStatus(subunit, &status) != 0)
                return -1;
            if (status == kUnitStatusVerifying || status == kUnitStatusInitializing ||
                status == kUnitStatusRebuilding) {
                uint32_t each = 0;
                if (PercentOf(subunit, &each) != 0)
                    return -1;
                sum += each;
                busy = true;
            } else {
                sum += 100;
            }
        }
        *percent = busy && count != 0 ? sum / count : 0;
        return 0;
    }
    return ApiError::Fail(kApiPercentFailed);
}

}  // namespace

int32_t PraneFamily::GetUnitPercentComplete(ObjectId unit, uint32_t* percent) {
    return PercentOf(unit, percent);
}

int32_t PraneFamily::GetUnitStripeSize(ObjectId unit, uint32_t* kib) {
    uint8_t part[uc::kSize];
    if (GetUnitConfig(unit, part) != 0)
        return -1;
    const uint32_t type = part[uc::kType];
    const uint8_t code = part[uc::kStripeOrPort];
    if ((type == kTypeRaid0 || type == kTypeRaid5 || type == kTypeRaid10) && code >= 1 &&
        code <= 32) {
        *kib = uint32_t{1} << (code - 1);
    } else {
        *kib = 0xFFFFFFFFu;
    }
    return 0;
}

int32_t PraneFamily::GetUnitWriteCache(ObjectId unit, uint8_t* on) {
    if (RequireWriteCache(unit) != 0)
        return -1;
    return Read(unit, UnitTable(UnitNumberOf(unit)), 7, 1, on);
}

int32_t PraneFamily::EnableWriteCache(ObjectId unit) {
    return SetWriteCache(unit, 1);
}

int32_t PraneFamily::DisableWriteCache(ObjectId unit) {
    return SetWriteCache(unit, 0);
}

int32_t PraneFamily::FlushWriteCache(ObjectId unit) {
    if (RequireWriteCache(unit) != 0)
        return -1;
    return SendSimple(unit, prane_opcode::kFlushCache, 2, UnitNumberOf(unit), 0, 0);
}

int32_t PraneFamily::GetDriveUnitId(ObjectId drive, ObjectId* unit) {
    if (!IsDrivePresent(drive, PortOf(drive)))
        return ApiError::Fail(kApiPortEmpty);
    uint8_t number = 0;
    if (Read(drive, static_cast<uint16_t>(prane_param::kDriveTableBase + PortOf(drive)), 11, 1,
             &number) != 0) {
        return -1;
    }
    if (number > 254) {
        ObjectId none = ObjectId::Blank();
        none[ObjectId::kKind] = kKindUnit;
        *unit = none;
        return 0;
    }
    ObjectId top;
    if (MakeUnit(drive.controller(), number, ObjectId::kNone, ObjectId::kNone, &top) != 0)
        return -1;
    uint8_t config[uc::kSize];
    if (ReadDescriptor(top, config) != 0)
        return -1;
    const uint32_t type = config[uc::kType];
    const uint8_t port = PortOf(drive);
    if (type == kTypeJbod || type == kTypeSingle || type == kTypeSpare) {
        *unit = top;
        return 0;
    }
    if (IsFlatArray(type)) {
        for (size_t i = 0; i < config[uc::kCount] && i < 16; ++i) {
            if (At(config, uc::kMembers + uc::kMemberSize * i + uc::kMemberPort) == port)
                return MakeUnit(drive.controller(), number, static_cast<uint8_t>(i),
                                ObjectId::kNone, unit);
        }
    } else if (type == kTypeRaid10) {
        for (size_t i = 0; i < config[uc::kCount] && i < 8; ++i) {
            const size_t sub = uc::kSubunits + uc::kSubunitSize * i;
            for (size_t j = 0; j < At(config, sub + uc::kCount) && j < 2; ++j) {
                if (At(config, sub + uc::kMembers + uc::kMemberSize * j + uc::kMemberPort) == port)
                    return MakeUnit(drive.controller(), number, static_cast<uint8_t>(i),
                                    static_cast<uint8_t>(j), unit);
            }
        }
    }
    return ApiError::Fail(kApiDriveFromUnitFailed);
}

int32_t PraneFamily::GetUnitDriveList(ObjectId unit, ObjectIdList128* list) {
    std::memset(list->ids, 0xFF, sizeof list->ids);
    list->count = 0;
    if (!IsUnitPresent(unit, UnitNumberOf(unit)))
        return ApiError::Fail(kApiDriveListNoUnit);
    uint8_t part[uc::kSize];
    if (GetUnitConfig(unit, part) != 0)
        return -1;
    const uint32_t type = part[uc::kType];
    auto add = [&](uint8_t port) {
        ObjectId drive;
        if (list->count < ObjectIdList128::kCapacity &&
            Api::MakeDriveId(unit.controller(), port, &drive) == 0) {
            list->ids[list->count++] = drive;
        }
    };
    if (type == kTypeJbod || type == kTypeSingle || type == kTypeSpare || type == kTypeSubunit) {
        add(part[uc::kStripeOrPort]);
    } else if (IsFlatArray(type)) {
        for (size_t i = 0; i < part[uc::kCount] && i < 16; ++i)
            add(part[uc::kMembers + uc::kMemberSize * i + uc::kMemberPort]);
    } else if (type == kTypeRaid10) {
        for (size_t i = 0; i < part[uc::kCount] && i < 8; ++i) {
            const size_t sub = uc::kSubunits + uc::kSubunitSize * i;
            for (size_t j = 0; j < part[sub + uc::kCount] && j < 2; ++j)
                add(part[sub + uc::kMembers + uc::kMemberSize * j + uc::kMemberPort]);
        }
    } else {
        return ApiError::Fail(kApiDriveListFailed);
    }
    return 0;
}
