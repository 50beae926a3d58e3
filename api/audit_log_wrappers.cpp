// The audit log wrappers of the library operations that change a
// controller's or a unit's settings, or read its logs. They are made from
// the operation lists (api/operations/*.def), where each wrapper's line
// stands with its operation; the rescan's, which writes a line more per
// unit and drive found, is written out here.
#include "api/api.h"
#include "api/api_error.h"
#include "api/audit_log.h"

namespace {

using ApiUtil::FormatText;

int Ctl(const ObjectId& id) {
    return id[ObjectId::kController];
}

// "<name>(controller=%d, <label>=%d): %s" of a controller setting.
std::string ValueMessage(const char* name, const char* label, const ObjectId& controller,
                         long long value, int result) {
    return FormatText("%s(controller=%d, %s=%d): %s", name, Ctl(controller), label,
                      static_cast<int>(value), AuditLog::ResultWord(result));
}

// "<name>(controller=%d, unit=%d, make os aware=%s): %s" of a unit that
// leaves the controller.
std::string UnitRemovalMessage(const char* name, const ObjectId& unit, uint8_t makeOsAware,
                               int result) {
    return FormatText("%s(controller=%d, unit=%d, make os aware=%s): %s", name, Ctl(unit),
                      unit[ObjectId::kUnit], AuditLog::YesNo(makeOsAware),
                      AuditLog::ResultWord(result));
}

// The value a setting passes by address; a missing one reads as 0.
template <typename T>
T Pointee(const T* value) {
    return value != nullptr ? *value : T{};
}

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

#define KV_DEFINE_AUDIT(NAME, PARAMS, CALL, MESSAGE)              \
    int AuditLog::NAME PARAMS {                                   \
        return record(Api::CALL, [&](int r) { return MESSAGE; }); \
    }
#include "api/operations.def"

int AuditLog::RescanController(ObjectId controller, uint8_t makeOsAware, ObjectIdList128* units,
                               ObjectIdList128* drives) {
    const int result =
        record(Api::RescanController(controller, makeOsAware, units, drives), [&](int r) {
            return RescanMessage(controller, makeOsAware, ListOf(units), ListOf(drives), r);
        });
    if (result == 0 && enabled()) {
        // The type lookups must not leave their errors behind.
        const ApiError::RecordKeeper keeper;
        for (std::size_t i = 0; units != nullptr && i < units->size(); ++i) {
            uint32_t type = 0xFFFFFFFFu;
            (void)Api::GetUnitType(units->ids[i], &type);
            Write(RescanUnitLine(units->ids[i], type).c_str());
        }
        for (std::size_t i = 0; drives != nullptr && i < drives->size(); ++i)
            Write(RescanDriveLine(drives->ids[i]).c_str());
    }
    return result;
}
