// The audit log wrappers of unit creation and migration.
#include "api/api.h"
#include "api/audit_log.h"

namespace {

// The drive list a line names; a missing list reads as an empty one.
const ObjectIdList128& ListOf(const ObjectIdList128* drives) {
    static const ObjectIdList128 kNone = [] {
        ObjectIdList128 list;
        list.clear();
        return list;
    }();
    return drives != nullptr ? *drives : kNone;
}

// The unit a line names; a missing id reads as none.
ObjectId UnitOf(const ObjectId* unit) {
    return unit != nullptr ? *unit : ObjectId::Blank();
}

}  // namespace

int AuditLog::CreateUnit(const ObjectIdList128* drives, uint32_t type, uint32_t stripeCode,
                         uint8_t makeOsAware, ObjectId* unit) {
    return record(Api::CreateUnit(drives, type, stripeCode, makeOsAware, unit), [&](int r) {
        return CreateUnitMessage(ListOf(drives), type, stripeCode, makeOsAware, UnitOf(unit), r);
    });
}

int AuditLog::CreateUnitWithGroup(const ObjectIdList128* drives, uint32_t type, uint32_t stripeCode,
                                  uint8_t makeOsAware, ObjectId* unit, uint32_t drivesPerSubunit) {
    return record(
        Api::CreateUnitWithGroup(drives, type, stripeCode, makeOsAware, unit, drivesPerSubunit),
        [&](int r) {
            return CreateUnitWithGroupMessage(ListOf(drives), type, stripeCode, makeOsAware,
                                              UnitOf(unit), drivesPerSubunit, r);
        });
}

int AuditLog::StartMigrateUnit(ObjectId unit, const ObjectIdList128* drives, uint32_t type,
                               uint32_t stripeCode, uint8_t makeOsAware,
                               uint32_t drivesPerSubunit) {
    return record(
        Api::StartMigrateUnit(unit, drives, type, stripeCode, makeOsAware, drivesPerSubunit),
        [&](int r) {
            return StartMigrateMessage(unit, ListOf(drives), type, stripeCode, makeOsAware,
                                       drivesPerSubunit, r);
        });
}
