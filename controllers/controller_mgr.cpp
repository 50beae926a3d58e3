#include "controllers/controller_mgr.h"

#include <iostream>

#include "shell/kv_exception.h"

ControllerMgr::ControllerMgr() = default;

ControllerMgr::~ControllerMgr() = default;

Controller* ControllerMgr::getController(const std::string& name) {
    (void)name;
    throw KV_Exception(3);
}

Enclosure* ControllerMgr::getEnclosure(const std::string& name) {
    (void)name;
    throw KV_Exception(112);
}

void ControllerMgr::showControllers() {
    std::cout << "\n"
              << "No controller found.\n"
              << "Make sure appropriate Orvo/Kivra device driver(s) are loaded." << std::endl;
}

// The operations below act on every controller (or on controllers named in
// the words); they are filled in with the controller objects.

void ControllerMgr::showEnclosures() {}

void ControllerMgr::showAlarms() {}

void ControllerMgr::showAlarmsReverse(const std::string& word) {
    (void)word;
}

void ControllerMgr::showDiag() {}

void ControllerMgr::showRebuildSchedules() {}

void ControllerMgr::showVerifySchedules() {}

void ControllerMgr::showSelftestSchedules() {}

int ControllerMgr::flush() {
    return 0;
}

int ControllerMgr::commit() {
    return 0;
}

int ControllerMgr::rescan(bool makeOsAware) {
    (void)makeOsAware;
    return 0;
}

int ControllerMgr::updateFirmware(std::istream& words) {
    (void)words;
    return 0;
}

int ControllerMgr::rescanCommand(std::istream& words) {
    (void)words;
    return 0;
}

void ControllerMgr::alarmsCommand(std::istream& words) {
    (void)words;
}

int ControllerMgr::schedCommand(std::istream& words) {
    (void)words;
    return 0;
}

int ControllerMgr::setCommand(std::istream& words) {
    (void)words;
    return 0;
}
