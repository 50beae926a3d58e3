// The dispatcher entries of the enclosures that do more than follow their
// route: the identify support, the element identifiers, the alarm's off
// switch, and port and unit identify, built here from the slot operations.
#include "api/api.h"
#include "api/api_error.h"
#include "api/dispatch.h"
#include "api/rhosk/enclosure_services.h"

namespace Dispatch {
namespace {

// Port and unit identify: route "from 6" after the kind of a port (API
// error 11) or a unit (API error 9).
constexpr Path kOfPort{Route::From6, kKindDrive, kApiInvalidPortId};
constexpr Path kOfUnit{Route::From6, kKindUnit, kApiInvalidUnitId};

// The kinds whose identify support can be asked.
bool IdentifiableKind(uint8_t kind) {
    switch (kind) {
        case kKindUnit:
        case kKindDrive:
        case kKindEnclosure:
        case kKindFan:
        case kKindPowerSupply:
        case kKindDoorLock:
        case kKindAlarm:
        case kKindSlot:
        case kKindTempSensor:
            return true;
        default:
            return false;
    }
}

// The slot of a port's drive for the identify operations: the mapping's
// failure, or API error 101 when the port sits in no slot.
int32_t SlotOfPort(ObjectId port, ObjectId* slot) {
    if (GetPortSlotId(port, slot) != 0)
        return -1;
    if ((*slot)[ObjectId::kNumber] == ObjectId::kNone)
        return ApiError::Fail(kApiNoDriveSlot);
    return 0;
}

// Port identify: the port's path, then its slot.
template <typename SlotOp>
int32_t ThroughPortSlot(ObjectId port, SlotOp slotOp) {
    return FollowNewer(kOfPort, port, [&] {
        ObjectId slot = ObjectId::Blank();
        if (SlotOfPort(port, &slot) != 0)
            return -1;
        return slotOp(slot);
    });
}

// Unit identify: the unit's path, then every member drive on a
// port in list order; the first failure ends it, and so does a member lit
// whose management lock stayed held (its result is the unit's).
template <typename MemberOp>
int32_t ForEachMemberPort(ObjectId unit, MemberOp memberOp) {
    return FollowNewer(kOfUnit, unit, [&] {
        ObjectIdList128 members;
        if (GetUnitDriveList(unit, &members) != 0)
            return -1;
        for (std::size_t i = 0; i < members.size(); ++i) {
            uint8_t controller = 0;
            uint8_t port = 0;
            if (Api::ParsePortId(members.ids[i], &controller, &port) != 0)
                return -1;
            if (port == ObjectId::kNone)
                continue;
            const int32_t result = memberOp(members.ids[i]);
            if (result != 0)
                return result;
        }
        return 0;
    });
}

}  // namespace

using ES = EnclosureServices;

int32_t IsIdentifySupported(ObjectId id, uint32_t* supported) {
    if (!IdentifiableKind(id.kind()))
        return ApiError::Fail(kApiInvalidElementId);
    return FollowNewer(Paths::From6, id, [&] { return ES::IsIdentifySupported(id, supported); });
}

int32_t ResolveElementId(ObjectId* element) {
    return FollowNewer(Paths::From6, *element, [&] { return ES::ResolveElementId(element); });
}

int32_t SetAlarmOff(ObjectId id) {
    return SetAlarmTone(id, 0);
}

int32_t GetPortIdentify(ObjectId id, uint8_t* on) {
    return ThroughPortSlot(id, [&](ObjectId slot) { return ES::GetSlotIdentify(slot, on); });
}
int32_t IdentifyPort(ObjectId id, uint8_t on) {
    return ThroughPortSlot(id, [&](ObjectId slot) { return ES::SetSlotIdentify(slot, on); });
}

int32_t SetUnitIdentify(ObjectId id, uint8_t on) {
    return ForEachMemberPort(id, [&](ObjectId member) { return IdentifyPort(member, on); });
}
int32_t GetUnitIdentify(ObjectId id, uint8_t* on) {
    uint8_t all = 1;
    const int32_t result = ForEachMemberPort(id, [&](ObjectId member) {
        uint8_t state = 0;
        if (GetPortIdentify(member, &state) != 0)
            return -1;
        if (state == 0)
            all = 0;
        return 0;
    });
    if (result == 0)
        *on = all;
    return result;
}

}  // namespace Dispatch
