// Enclosure and enclosure element identifier builders (Api layer).
#include "api/api.h"
#include "api/api_error.h"
#include "api/dispatch.h"
#include "api/object_id_internal.h"

namespace {

constexpr uint8_t kMaxEnclosures = 16;
constexpr uint8_t kSesProtocol = 1;

// The two steps that need the controller's enclosure services: reading the
// enclosure protocol of a controller and resolving an SES element's place
// in its sub-enclosure (families 6, 7 and 8; the others answer "Feature not
// supported" and enclosure identifiers keep protocol 0xFF).
int ReadEnclosureProtocol(const ObjectId& controller, uint8_t* protocol) {
    return Api::GetEnclosureProtocol(controller, protocol);
}

int ResolveSesElement(ObjectId* element) {
    return Dispatch::ResolveElementId(element);
}

// The element builders' common path: check the enclosure and the number,
// copy the enclosure id with the element's kind and number, resolve an SES
// element, write the result.
int MakeElement(const ObjectId& enclosure, uint8_t number, unsigned limit, uint8_t kind,
                uint32_t apiError, ObjectId* id) {
    const uint8_t enclosureNumber =
        static_cast<uint8_t>(enclosure[ObjectId::kUnit] - ObjectId::kEnclosureBase);
    if (enclosure.controller() >= objectid::kMaxControllers || enclosureNumber >= kMaxEnclosures) {
        return ApiError::Fail(kApiInvalidEnclosureId);
    }
    if (!objectid::InRangeOrNone(number, limit))
        return ApiError::Fail(apiError);
    ObjectId work = enclosure;
    work[ObjectId::kKind] = kind;
    work[ObjectId::kNumber] = number;
    if (work[ObjectId::kProtocol] == kSesProtocol && ResolveSesElement(&work) != 0)
        return -1;
    *id = work;
    return 0;
}

}  // namespace

namespace Api {

int MakeEnclosureId(uint8_t controller, uint8_t enclosure, ObjectId* id) {
    if (controller >= objectid::kMaxControllers ||
        !objectid::InRangeOrNone(enclosure, kMaxEnclosures)) {
        return ApiError::Fail(kApiInvalidEnclosureId);
    }
    ObjectId work = ObjectId::Blank();
    work[ObjectId::kKind] = kKindEnclosure;
    work[ObjectId::kController] = controller;
    if (enclosure != ObjectId::kNone) {
        work[ObjectId::kUnit] = static_cast<uint8_t>(ObjectId::kEnclosureBase + enclosure);
        // The protocol is best effort: a failed read leaves 0xFF (and its
        // error in the record) and the identifier is still made.
        ObjectId controllerId{};
        uint8_t protocol = 0;
        if (MakeControllerId(controller, &controllerId) == 0 &&
            ReadEnclosureProtocol(controllerId, &protocol) == 0) {
            work[ObjectId::kProtocol] = protocol;
        }
    }
    *id = work;
    return 0;
}

int MakeFanId(ObjectId enclosure, uint8_t number, ObjectId* id) {
    return MakeElement(enclosure, number, 16, kKindFan, kApiInvalidFanId, id);
}

int MakeDoorId(ObjectId enclosure, uint8_t number, ObjectId* id) {
    return MakeElement(enclosure, number, 16, kKindDoorLock, kApiInvalidDoorId, id);
}

int MakeAlarmId(ObjectId enclosure, uint8_t number, ObjectId* id) {
    return MakeElement(enclosure, number, 16, kKindAlarm, kApiInvalidAlarmId, id);
}

int MakeSlotId(ObjectId enclosure, uint8_t number, ObjectId* id) {
    return MakeElement(enclosure, number, 128, kKindSlot, kApiInvalidSlotId, id);
}

int MakeTempSensorId(ObjectId enclosure, uint8_t number, ObjectId* id) {
    return MakeElement(enclosure, number, 32, kKindTempSensor, kApiInvalidTempSensorId, id);
}

int MakePowerSupplyId(ObjectId enclosure, uint8_t number, ObjectId* id) {
    return MakeElement(enclosure, number, 16, kKindPowerSupply, kApiInvalidPowerSupplyId, id);
}

}  // namespace Api
