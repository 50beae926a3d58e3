// The public enclosure, element, port-identify and unit-identify
// operations: each passes its arguments to the dispatcher entry of the same
// name; the alarm audibility and tone entries pass their fixed values.
#include "api/api.h"
#include "api/api_error.h"
#include "api/dispatch.h"

namespace Api {

int GetEnclosureIdList(ObjectId controller, ObjectIdList16* list) {
    return Dispatch::GetEnclosureIdList(controller, list);
}
int GetEnclosureProtocol(ObjectId id, uint8_t* protocol) {
    return Dispatch::GetEnclosureProtocol(id, protocol);
}
int GetEnclosureVendor(ObjectId enclosure, char* text) {
    return Dispatch::GetEnclosureVendor(enclosure, text);
}
int GetEnclosureProductId(ObjectId enclosure, char* text) {
    return Dispatch::GetEnclosureProductId(enclosure, text);
}
int GetEnclosureProductRevision(ObjectId enclosure, char* text) {
    return Dispatch::GetEnclosureProductRevision(enclosure, text);
}
int GetEnclosureHelpText(ObjectId enclosure, char* text, uint32_t* length) {
    return Dispatch::GetEnclosureHelpText(enclosure, text, length);
}
int GetEnclosureStatus(ObjectId enclosure, uint32_t* status) {
    return Dispatch::GetEnclosureStatus(enclosure, status);
}
int GetEnclosureIdOfElement(ObjectId element, ObjectId* enclosure) {
    element[ObjectId::kKind] = kKindEnclosure;
    *enclosure = element;
    return 0;
}
int IsIdentifySupported(ObjectId id, uint32_t* supported) {
    return Dispatch::IsIdentifySupported(id, supported);
}

int GetFanIdList(ObjectId enclosure, ObjectIdList16* list) {
    return Dispatch::GetFanIdList(enclosure, list);
}
int GetFanStatus(ObjectId fan, uint8_t* status) {
    return Dispatch::GetFanStatus(fan, status);
}
int GetFanSpeed(ObjectId fan, uint8_t* code) {
    return Dispatch::GetFanSpeed(fan, code);
}
int GetFanRpm(ObjectId fan, uint32_t* rpm) {
    return Dispatch::GetFanRpm(fan, rpm);
}
int SetFanSpeed(ObjectId fan, uint8_t code) {
    return Dispatch::SetFanSpeed(fan, code);
}
int SetFanIdentify(ObjectId fan, uint8_t on) {
    return Dispatch::SetFanIdentify(fan, on);
}
int GetFanIdentify(ObjectId fan, uint8_t* on) {
    return Dispatch::GetFanIdentify(fan, on);
}

int GetDoorIdList(ObjectId enclosure, ObjectIdList16* list) {
    return Dispatch::GetDoorIdList(enclosure, list);
}
int GetDoorLockStatus(ObjectId door, uint32_t* status) {
    return Dispatch::GetDoorLockStatus(door, status);
}
int LockDoor(ObjectId) {
    return ApiError::Fail(kApiNotSupported);
}

int GetAlarmIdList(ObjectId enclosure, ObjectIdList16* list) {
    return Dispatch::GetAlarmIdList(enclosure, list);
}
int GetAlarmStatus(ObjectId alarm, uint32_t* status) {
    return Dispatch::GetAlarmStatus(alarm, status);
}
int GetAlarmState(ObjectId alarm, uint8_t* sounding) {
    return Dispatch::GetAlarmState(alarm, sounding);
}
int GetAlarmMute(ObjectId alarm, uint8_t* muted) {
    return Dispatch::GetAlarmMute(alarm, muted);
}
int MuteAlarm(ObjectId alarm) {
    return Dispatch::SetAlarmAudibility(alarm, 0);
}
int UnmuteAlarm(ObjectId alarm) {
    return Dispatch::SetAlarmAudibility(alarm, 1);
}
int SetAlarmTone(ObjectId alarm, uint8_t tone) {
    return Dispatch::SetAlarmTone(alarm, tone);
}
int SetAlarmOff(ObjectId alarm) {
    return Dispatch::SetAlarmOff(alarm);
}
int SetAlarmIdentify(ObjectId alarm, uint8_t on) {
    return Dispatch::SetAlarmIdentify(alarm, on);
}
int GetAlarmIdentify(ObjectId alarm, uint8_t* on) {
    return Dispatch::GetAlarmIdentify(alarm, on);
}

int GetSlotIdList(ObjectId enclosure, ObjectIdList128* list) {
    return Dispatch::GetSlotIdList(enclosure, list);
}
int GetSlotStatus(ObjectId slot, uint32_t* flags) {
    return Dispatch::GetSlotStatus(slot, flags);
}
int GetSlotIdentify(ObjectId slot, uint8_t* on) {
    return Dispatch::GetSlotIdentify(slot, on);
}
int SetSlotIdentify(ObjectId slot, uint8_t on) {
    return Dispatch::SetSlotIdentify(slot, on);
}

int GetTempSensorIdList(ObjectId enclosure, ObjectIdList32* list) {
    return Dispatch::GetTempSensorIdList(enclosure, list);
}
int GetTempSensorStatus(ObjectId sensor, uint8_t* status) {
    return Dispatch::GetTempSensorStatus(sensor, status);
}
int GetTempSensorThresholdFlags(ObjectId sensor, uint8_t* flags) {
    return Dispatch::GetTempSensorThresholdFlags(sensor, flags);
}
int GetTemperature(ObjectId sensor, int32_t* celsius) {
    return Dispatch::GetTemperature(sensor, celsius);
}
int SetTempSensorIdentify(ObjectId sensor, uint8_t on) {
    return Dispatch::SetTempSensorIdentify(sensor, on);
}
int GetTempSensorIdentify(ObjectId sensor, uint8_t* on) {
    return Dispatch::GetTempSensorIdentify(sensor, on);
}

int GetPowerSupplyIdList(ObjectId enclosure, ObjectIdList16* list) {
    return Dispatch::GetPowerSupplyIdList(enclosure, list);
}
int GetPowerSupplyStatus(ObjectId supply, uint8_t* status) {
    return Dispatch::GetPowerSupplyStatus(supply, status);
}
int GetPowerSupplyVoltageCurrent(ObjectId supply, uint8_t* condition) {
    return Dispatch::GetPowerSupplyVoltageCurrent(supply, condition);
}
int SetPowerSupplyIdentify(ObjectId supply, uint8_t on) {
    return Dispatch::SetPowerSupplyIdentify(supply, on);
}
int GetPowerSupplyIdentify(ObjectId supply, uint8_t* on) {
    return Dispatch::GetPowerSupplyIdentify(supply, on);
}

int GetPortSlotId(ObjectId port, ObjectId* slot) {
    return Dispatch::GetPortSlotId(port, slot);
}
int GetSlotPortId(ObjectId slot, ObjectId* port) {
    return Dispatch::GetSlotPortId(slot, port);
}
int GetPortIdentify(ObjectId port, uint8_t* on) {
    return Dispatch::GetPortIdentify(port, on);
}
int IdentifyPort(ObjectId port, uint8_t on) {
    return Dispatch::IdentifyPort(port, on);
}
int SetUnitIdentify(ObjectId unit, uint8_t on) {
    return Dispatch::SetUnitIdentify(unit, on);
}
int GetUnitIdentify(ObjectId unit, uint8_t* on) {
    return Dispatch::GetUnitIdentify(unit, on);
}

}  // namespace Api
