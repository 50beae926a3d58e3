#include "controllers/controller_wescal.h"

#include "api/api.h"
#include "base/kv_exception.h"
#include "controllers/bbu.h"
#include "controllers/controller_events.h"

ControllerWescal::ControllerWescal(const std::string& controllerName, uint32_t controllerNumber,
                                   ObjectId id)
    : Controller(controllerName, controllerNumber, id) {
    family = 4;
    bbu = adoptTreeObject<BBU>(std::make_unique<BBU>(this));
    autoCarveText = getAutoCarveText("nomessage");
}

ControllerWescal::~ControllerWescal() = default;

void ControllerWescal::refuse() {
    throwError(kInvalidControllerOperation);
}

std::string ControllerWescal::getSeverityText(uint8_t severity) {
    switch (severity) {
        case 1:
            return "ERROR   ";
        case 2:
            return "WARNING ";
        case 3:
            return "INFO    ";
        case 4:
            return "DEBUG   ";
        default:
            return "UNKNOWN ";
    }
}

std::string ControllerWescal::getVerifyRate() {
    int32_t rate = 0;
    if (Api::GetVerifyRate(objectId, &rate) != 0)
        throwApiError();
    return std::to_string(rate);
}

// The event list, oldest first or newest first.
void ControllerWescal::showAlarms() {
    controller_events::showEventList(name, objectId, false);
}

void ControllerWescal::showAlarmsReverse() {
    controller_events::showEventList(name, objectId, true);
}
