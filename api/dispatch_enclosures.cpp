// The dispatcher entries of the enclosures and their elements: the kind of
// the identifier is checked first, then the route sends families 6, 7 and
// 8 to the enclosure services (the port/slot mapping also family 4). Port
// and unit identify are built here from the slot operations.
#include "api/api.h"
#include "api/api_error.h"
#include "api/dispatch.h"
#include "api/rhosk/enclosure_services.h"

namespace Dispatch {
namespace {

// Route "from 6" after the kind check: an identifier of another kind than
// `kind` records `kindError` before any family lookup.
template <typename Op>
int32_t Enclosure(ObjectId id, uint8_t kind, uint32_t kindError, Op op) {
    if (id.kind() != kind)
        return ApiError::Fail(kindError);
    return CallNewer(Route::From6, id, op);
}

template <typename Op>
int32_t OfEnclosure(ObjectId id, Op op) {
    return Enclosure(id, kKindEnclosure, kApiInvalidEnclosureId, op);
}
template <typename Op>
int32_t OfFan(ObjectId id, Op op) {
    return Enclosure(id, kKindFan, kApiInvalidFanId, op);
}
template <typename Op>
int32_t OfDoor(ObjectId id, Op op) {
    return Enclosure(id, kKindDoorLock, kApiInvalidDoorId, op);
}
template <typename Op>
int32_t OfAlarm(ObjectId id, Op op) {
    return Enclosure(id, kKindAlarm, kApiInvalidAlarmId, op);
}
template <typename Op>
int32_t OfSlot(ObjectId id, Op op) {
    return Enclosure(id, kKindSlot, kApiInvalidSlotId, op);
}
template <typename Op>
int32_t OfTempSensor(ObjectId id, Op op) {
    return Enclosure(id, kKindTempSensor, kApiInvalidTempSensorId, op);
}
template <typename Op>
int32_t OfPowerSupply(ObjectId id, Op op) {
    return Enclosure(id, kKindPowerSupply, kApiInvalidPowerSupplyId, op);
}

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

// Port identify: kind 3, route "from 6", then the port's slot.
template <typename SlotOp>
int32_t ThroughPortSlot(ObjectId port, SlotOp slotOp) {
    return Enclosure(port, kKindDrive, kApiInvalidPortId, [&] {
        ObjectId slot = ObjectId::Blank();
        if (SlotOfPort(port, &slot) != 0)
            return -1;
        return slotOp(slot);
    });
}

// Unit identify: kind 2, route "from 6", then every member drive on a
// port in list order; the first failure ends it, and so does a member lit
// whose management lock stayed held (its result is the unit's).
template <typename MemberOp>
int32_t ForEachMemberPort(ObjectId unit, MemberOp memberOp) {
    return Enclosure(unit, kKindUnit, kApiInvalidUnitId, [&] {
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

int32_t GetEnclosureIdList(ObjectId id, ObjectIdList16* list) {
    return CallNewer(Route::From6, id, [&] { return ES::GetEnclosureIdList(id, list); });
}
int32_t GetEnclosureProtocol(ObjectId id, uint8_t* protocol) {
    return CallNewer(Route::From6, id, [&] { return ES::GetEnclosureProtocol(id, protocol); });
}
int32_t GetEnclosureVendor(ObjectId id, char* text) {
    return OfEnclosure(id, [&] { return ES::GetEnclosureVendor(id, text); });
}
int32_t GetEnclosureProductId(ObjectId id, char* text) {
    return OfEnclosure(id, [&] { return ES::GetEnclosureProductId(id, text); });
}
int32_t GetEnclosureProductRevision(ObjectId id, char* text) {
    return OfEnclosure(id, [&] { return ES::GetEnclosureProductRevision(id, text); });
}
int32_t GetEnclosureHelpText(ObjectId id, char* text, uint32_t* length) {
    return OfEnclosure(id, [&] { return ES::GetEnclosureHelpText(id, text, length); });
}
int32_t GetEnclosureStatus(ObjectId id, uint32_t* status) {
    return OfEnclosure(id, [&] { return ES::GetEnclosureStatus(id, status); });
}
int32_t IsIdentifySupported(ObjectId id, uint32_t* supported) {
    if (!IdentifiableKind(id.kind()))
        return ApiError::Fail(kApiInvalidElementId);
    return CallNewer(Route::From6, id, [&] { return ES::IsIdentifySupported(id, supported); });
}
int32_t ResolveElementId(ObjectId* element) {
    return CallNewer(Route::From6, *element, [&] { return ES::ResolveElementId(element); });
}

int32_t GetFanIdList(ObjectId id, ObjectIdList16* list) {
    return OfEnclosure(id, [&] { return ES::GetFanIdList(id, list); });
}
int32_t GetFanStatus(ObjectId id, uint8_t* status) {
    return OfFan(id, [&] { return ES::GetFanStatus(id, status); });
}
int32_t GetFanSpeed(ObjectId id, uint8_t* code) {
    return OfFan(id, [&] { return ES::GetFanSpeed(id, code); });
}
int32_t GetFanRpm(ObjectId id, uint32_t* rpm) {
    return OfFan(id, [&] { return ES::GetFanRpm(id, rpm); });
}
int32_t SetFanSpeed(ObjectId id, uint8_t code) {
    return OfFan(id, [&] { return ES::SetFanSpeed(id, code); });
}
int32_t SetFanIdentify(ObjectId id, uint8_t on) {
    return OfFan(id, [&] { return ES::SetFanIdentify(id, on); });
}
int32_t GetFanIdentify(ObjectId id, uint8_t* on) {
    return OfFan(id, [&] { return ES::GetFanIdentify(id, on); });
}

int32_t GetDoorIdList(ObjectId id, ObjectIdList16* list) {
    return OfEnclosure(id, [&] { return ES::GetDoorIdList(id, list); });
}
int32_t GetDoorLockStatus(ObjectId id, uint32_t* status) {
    return OfDoor(id, [&] { return ES::GetDoorLockStatus(id, status); });
}

int32_t GetAlarmIdList(ObjectId id, ObjectIdList16* list) {
    return OfEnclosure(id, [&] { return ES::GetAlarmIdList(id, list); });
}
int32_t GetAlarmStatus(ObjectId id, uint32_t* status) {
    return OfAlarm(id, [&] { return ES::GetAlarmStatus(id, status); });
}
int32_t GetAlarmState(ObjectId id, uint8_t* sounding) {
    return OfAlarm(id, [&] { return ES::GetAlarmState(id, sounding); });
}
int32_t GetAlarmMute(ObjectId id, uint8_t* muted) {
    return OfAlarm(id, [&] { return ES::GetAlarmMute(id, muted); });
}
int32_t SetAlarmAudibility(ObjectId id, uint8_t audible) {
    return OfAlarm(id, [&] { return ES::SetAlarmAudibility(id, audible); });
}
int32_t SetAlarmTone(ObjectId id, uint8_t tone) {
    return OfAlarm(id, [&] { return ES::SetAlarmTone(id, tone); });
}
int32_t SetAlarmOff(ObjectId id) {
    return SetAlarmTone(id, 0);
}
int32_t SetAlarmIdentify(ObjectId id, uint8_t on) {
    return OfAlarm(id, [&] { return ES::SetAlarmIdentify(id, on); });
}
int32_t GetAlarmIdentify(ObjectId id, uint8_t* on) {
    return OfAlarm(id, [&] { return ES::GetAlarmIdentify(id, on); });
}

int32_t GetSlotIdList(ObjectId id, ObjectIdList128* list) {
    return OfEnclosure(id, [&] { return ES::GetSlotIdList(id, list); });
}
int32_t GetSlotStatus(ObjectId id, uint32_t* flags) {
    return OfSlot(id, [&] { return ES::GetSlotStatus(id, flags); });
}
int32_t GetSlotIdentify(ObjectId id, uint8_t* on) {
    return OfSlot(id, [&] { return ES::GetSlotIdentify(id, on); });
}
int32_t SetSlotIdentify(ObjectId id, uint8_t on) {
    return OfSlot(id, [&] { return ES::SetSlotIdentify(id, on); });
}

int32_t GetTempSensorIdList(ObjectId id, ObjectIdList32* list) {
    return OfEnclosure(id, [&] { return ES::GetTempSensorIdList(id, list); });
}
int32_t GetTempSensorStatus(ObjectId id, uint8_t* status) {
    return OfTempSensor(id, [&] { return ES::GetTempSensorStatus(id, status); });
}
int32_t GetTempSensorThresholdFlags(ObjectId id, uint8_t* flags) {
    return OfTempSensor(id, [&] { return ES::GetTempSensorThresholdFlags(id, flags); });
}
int32_t GetTemperature(ObjectId id, int32_t* celsius) {
    return OfTempSensor(id, [&] { return ES::GetTemperature(id, celsius); });
}
int32_t SetTempSensorIdentify(ObjectId id, uint8_t on) {
    return OfTempSensor(id, [&] { return ES::SetTempSensorIdentify(id, on); });
}
int32_t GetTempSensorIdentify(ObjectId id, uint8_t* on) {
    return OfTempSensor(id, [&] { return ES::GetTempSensorIdentify(id, on); });
}

int32_t GetPowerSupplyIdList(ObjectId id, ObjectIdList16* list) {
    return OfEnclosure(id, [&] { return ES::GetPowerSupplyIdList(id, list); });
}
int32_t GetPowerSupplyStatus(ObjectId id, uint8_t* status) {
    return OfPowerSupply(id, [&] { return ES::GetPowerSupplyStatus(id, status); });
}
int32_t GetPowerSupplyVoltageCurrent(ObjectId id, uint8_t* condition) {
    return OfPowerSupply(id, [&] { return ES::GetPowerSupplyVoltageCurrent(id, condition); });
}
int32_t SetPowerSupplyIdentify(ObjectId id, uint8_t on) {
    return OfPowerSupply(id, [&] { return ES::SetPowerSupplyIdentify(id, on); });
}
int32_t GetPowerSupplyIdentify(ObjectId id, uint8_t* on) {
    return OfPowerSupply(id, [&] { return ES::GetPowerSupplyIdentify(id, on); });
}

int32_t GetPortSlotId(ObjectId id, ObjectId* slot) {
    return CallNewer(Route::Newer, id, [&] { return ES::GetPortSlotId(id, slot); });
}
int32_t GetSlotPortId(ObjectId id, ObjectId* port) {
    return CallNewer(Route::Newer, id, [&] { return ES::GetSlotPortId(id, port); });
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
