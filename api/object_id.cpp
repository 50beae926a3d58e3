// Identifier builders and parsers of the public library (Api layer).
#include "api/object_id.h"

#include "api/api.h"
#include "api/api_error.h"
#include "api/object_id_internal.h"

namespace {

constexpr uint8_t kMaxUnits = 32;
constexpr uint8_t kMaxPorts = 128;
constexpr uint8_t kLevelEnd = 32;  // a level index of 32 or more ends a unit path

// Builds a controller-and-number identifier (drives, ports, phys).
int MakeNumbered(uint8_t controller, uint8_t number, uint8_t kind, uint32_t apiError,
                 ObjectId* id) {
    if (controller >= objectid::kMaxControllers || !objectid::InRangeOrNone(number, kMaxPorts)) {
        return ApiError::Fail(apiError);
    }
    ObjectId work = ObjectId::Blank();
    work[ObjectId::kKind] = kind;
    work[ObjectId::kController] = controller;
    work[ObjectId::kNumber] = number;
    *id = work;
    return 0;
}

// Controller and number of a drive, port or phy identifier.
int ParseNumbered(const ObjectId& id, uint8_t kind, uint32_t apiError, uint8_t* controller,
                  uint8_t* number) {
    if (id.kind() != kind)
        return ApiError::Fail(apiError);
    *controller = id[ObjectId::kController];
    *number = id[ObjectId::kNumber];
    return 0;
}

// Global enclosure index and element number of an element identifier.
int ParseElement(const ObjectId& id, uint8_t kind, uint32_t apiError, uint8_t* enclosureIndex,
                 uint8_t* number) {
    if (id.kind() != kind)
        return ApiError::Fail(apiError);
    *enclosureIndex = id.globalEnclosureIndex();
    *number = id[ObjectId::kNumber];
    return 0;
}

}  // namespace

namespace Api {

int MakeControllerId(uint8_t controller, ObjectId* id) {
    if (controller >= objectid::kMaxControllers)
        return ApiError::Fail(kApiInvalidControllerId);
    ObjectId work = ObjectId::Blank();
    work[ObjectId::kKind] = kKindController;
    work[ObjectId::kController] = controller;
    *id = work;
    return 0;
}

int MakeUnitId(uint8_t controller, uint8_t level4, uint8_t unit, uint8_t level2, uint8_t level3,
               ObjectId* id) {
    if (controller >= objectid::kMaxControllers || !objectid::InRangeOrNone(unit, kMaxUnits)) {
        return ApiError::Fail(kApiInvalidUnitId);
    }
    ObjectId work = ObjectId::Blank();
    work[ObjectId::kKind] = kKindUnit;
    work[ObjectId::kController] = controller;
    work[ObjectId::kUnit] = unit;
    // Each level below 32 deepens the path; the first of 32 or more ends it.
    const uint8_t levels[] = {level2, level3, level4};
    uint8_t depth = 1;
    for (uint8_t level : levels) {
        if (level >= kLevelEnd)
            break;
        work[ObjectId::kUnit + depth] = level;
        ++depth;
    }
    work[ObjectId::kDepth] = depth;
    *id = work;
    return 0;
}

int MakeDriveId(uint8_t controller, uint8_t port, ObjectId* id) {
    return MakeNumbered(controller, port, kKindDrive, kApiInvalidDriveId, id);
}

int MakePortId(uint8_t controller, uint8_t port, ObjectId* id) {
    return MakeNumbered(controller, port, kKindDrive, kApiInvalidPortId, id);
}

int MakePhyId(uint8_t controller, uint8_t phy, ObjectId* id) {
    return MakeNumbered(controller, phy, kKindPhy, kApiInvalidPortId, id);
}

int ParseControllerId(ObjectId id, uint8_t* controller) {
    if (id.kind() != kKindController)
        return ApiError::Fail(kApiInvalidControllerId);
    *controller = id[ObjectId::kController];
    return 0;
}

int ParseUnitId(ObjectId id, uint8_t* controller, uint8_t* level4, uint8_t* unit, uint8_t* level2,
                uint8_t* level3) {
    if (id.kind() != kKindUnit)
        return ApiError::Fail(kApiInvalidUnitId);
    *controller = id[ObjectId::kController];
    *level4 = id[ObjectId::kLevel4];
    *unit = id[ObjectId::kUnit];
    *level2 = id[ObjectId::kLevel2];
    *level3 = id[ObjectId::kLevel3];
    return 0;
}

int ParseDriveId(ObjectId id, uint8_t* controller, uint8_t* port) {
    return ParseNumbered(id, kKindDrive, kApiInvalidDriveId, controller, port);
}

int ParsePortId(ObjectId id, uint8_t* controller, uint8_t* port) {
    return ParseNumbered(id, kKindDrive, kApiInvalidPortId, controller, port);
}

int ParsePhyId(ObjectId id, uint8_t* controller, uint8_t* phy) {
    return ParseNumbered(id, kKindPhy, kApiInvalidPortId, controller, phy);
}

int ParseEnclosureIndex(ObjectId id, uint8_t* index) {
    if (id.kind() != kKindEnclosure)
        return ApiError::Fail(kApiInvalidEnclosureId);
    *index = id.globalEnclosureIndex();
    return 0;
}

int ParseEnclosureId(ObjectId id, uint8_t* controller, uint8_t* enclosure) {
    if (id.kind() != kKindEnclosure)
        return ApiError::Fail(kApiInvalidEnclosureId);
    if (id[ObjectId::kUnit] == ObjectId::kNone) {
        *controller = ObjectId::kNone;
        *enclosure = ObjectId::kNone;
    } else {
        *controller = id[ObjectId::kController];
        *enclosure = static_cast<uint8_t>(id[ObjectId::kUnit] - ObjectId::kEnclosureBase);
    }
    return 0;
}

int ParseFanId(ObjectId id, uint8_t* enclosureIndex, uint8_t* number) {
    return ParseElement(id, kKindFan, kApiInvalidFanId, enclosureIndex, number);
}

int ParseDoorId(ObjectId id, uint8_t* enclosureIndex, uint8_t* number) {
    return ParseElement(id, kKindDoorLock, kApiInvalidDoorId, enclosureIndex, number);
}

int ParseAlarmId(ObjectId id, uint8_t* enclosureIndex, uint8_t* number) {
    return ParseElement(id, kKindAlarm, kApiInvalidAlarmId, enclosureIndex, number);
}

int ParseSlotId(ObjectId id, uint8_t* enclosureIndex, uint8_t* number) {
    if (id.kind() != kKindSlot)
        return ApiError::Fail(kApiInvalidSlotId);
    if (id[ObjectId::kUnit] == ObjectId::kNone) {
        *enclosureIndex = ObjectId::kNone;
        *number = ObjectId::kNone;
        return 0;
    }
    *enclosureIndex = id.globalEnclosureIndex();
    *number = id[ObjectId::kNumber];
    return 0;
}

}  // namespace Api
