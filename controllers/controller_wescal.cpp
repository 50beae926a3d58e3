#include "controllers/controller_wescal.h"

#include <iostream>

#include "api/api.h"
#include "controllers/bbu.h"
#include "shell/kv_exception.h"

ControllerWescal::ControllerWescal(const std::string& controllerName, uint32_t controllerNumber,
                                   ObjectId id)
    : Controller(controllerName, controllerNumber, id) {
    family = 4;
    bbu = adoptTreeObject<BBU>(std::make_unique<BBU>(this));
    autoCarveText = getAutoCarveText("nomessage");
}

ControllerWescal::~ControllerWescal() = default;

void ControllerWescal::refuse() {
    throwError(24);
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

// The event lists need the library's event walk, which it does not offer
// yet: they print nothing.
void ControllerWescal::showAlarms() {}

void ControllerWescal::showAlarmsReverse() {}

// The operations below belong to the task schedules, the controller
// policies, the firmware update, unit creation and the diagnostic report;
// until those are in place they do nothing.

int ControllerWescal::schedRebuildCommand(std::istream&) {
    return 0;
}

int ControllerWescal::schedVerifyCommand(std::istream&) {
    return 0;
}

int ControllerWescal::schedSelftestCommand(std::istream&) {
    return 0;
}

void ControllerWescal::showRebuildSchedule() {}

void ControllerWescal::showVerifySchedule() {}

void ControllerWescal::showSelftestSchedule() {}

int ControllerWescal::addScheduleSlot(const std::string&, const std::string&) {
    return 0;
}

int ControllerWescal::deleteScheduleSlot(int, const std::string&) {
    return 0;
}

int ControllerWescal::setRebuild(std::istream&, const std::string&) {
    return 0;
}

int ControllerWescal::setVerify(std::istream&, const std::string&) {
    return 0;
}

int ControllerWescal::setSelftest(std::istream&, const std::string&) {
    return 0;
}

int ControllerWescal::setForceDriveCacheOn(std::istream&, const std::string&) {
    return 0;
}

std::string ControllerWescal::getForceDriveCacheOn() {
    return "";
}

std::string ControllerWescal::getAvMode() {
    return "";
}

int ControllerWescal::setAvMode(const std::string&) {
    return 0;
}

int ControllerWescal::createUnitCommand(std::istream&) {
    return 0;
}

int ControllerWescal::createUnit(std::istream&, const std::string&, const std::string&) {
    return 0;
}

void ControllerWescal::showDiag() {}

int ControllerWescal::updateFirmware(const std::string&, uint8_t, uint8_t) {
    return 0;
}

std::string ControllerWescal::getLbaReorder() {
    return "";
}

int ControllerWescal::setLbaReorder(std::istream&, const std::string&) {
    return 0;
}

int ControllerWescal::setAutoRebuild(const std::string&) {
    return 0;
}

std::string ControllerWescal::getAutoRebuild(const std::string&) {
    return "";
}

void ControllerWescal::showControllerBus() {}

std::string ControllerWescal::getCarveSize(const std::string&) {
    return "";
}

int ControllerWescal::setCarveSize(const std::string&) {
    return 0;
}

void ControllerWescal::showModePageControl(std::istream&) {}

int ControllerWescal::setModePageControl(std::istream&, const std::string&) {
    return 0;
}

int ControllerWescal::setRebuildBackgroundTask(std::istream&, const std::string&, int) {
    return 0;
}

int ControllerWescal::setVerifyBackgroundTask(std::istream&, const std::string&, int) {
    return 0;
}

void ControllerWescal::showBackgroundTask(int, bool, bool) {}
