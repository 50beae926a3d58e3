// The controller's lookups, error helpers, help and the bodies of the
// operations that a controller of the base class refuses.
#include "controllers/controller.h"

#include <cctype>
#include <iostream>

#include "base/help.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "controllers/bbu.h"

namespace {

// The object filed under `key`, or the CLI error `missingCode`.
template <class T>
T* lookUp(const TreeMap<T>& map, const std::string& key, int missingCode) {
    auto found = map.find(key);
    if (found == map.end() || !found->second)
        throwError(missingCode);
    return found->second.get();
}

}  // namespace

Controller::~Controller() {
    // The battery first, then units, ports, phys and enclosures.
    bbu.reset();
    units.clear();
    ports.clear();
    phys.clear();
    enclosures.clear();
}

LogicalDisk* Controller::getUnit(const std::string& unitName) {
    return lookUp(units, unitName, 6);
}

Port* Controller::getPort(const std::string& portName) {
    return lookUp(ports, portName, 9);
}

bool Controller::hasPort(int64_t number) const {
    return number >= 0 && ports.count("p" + std::to_string(number)) != 0;
}

bool Controller::isBatteryPresent(bool useCached) {
    return bbu != nullptr && bbu->isPresent(useCached);
}

std::string Controller::getBatteryOnlineState() {
    return bbu != nullptr ? bbu->getOnlineState() : "-";
}

std::string Controller::getBatteryReady() {
    return bbu != nullptr ? bbu->getReady() : "-";
}

Phy* Controller::getPhy(const std::string& phyName) {
    return lookUp(phys, phyName, 136);
}

Enclosure* Controller::getEnclosure(const std::string& enclosureName) {
    return lookUp(enclosures, enclosureName, 112);
}

void Controller::printErrorLine(KV_Exception& error) {
    std::cerr << error.getMessage() << "\n";
}

void Controller::showHelp(const std::string& topic) {
    theShell->getHelp()->showControllerHelp(topic);
}

void Controller::toLower(std::string& text) {
    for (char& each : text)
        each = static_cast<char>(std::tolower(static_cast<unsigned char>(each)));
}

// A controller of the base class has none of the settings below; the
// newer family overrides them, and its newest generation the counts.

int Controller::setAutoRebuild(const std::string&) {
    throwError(24);
}

std::string Controller::getAutoRebuild(const std::string&) {
    throwError(24);
}

void Controller::showControllerBus() {
    throwError(24);
}

std::string Controller::getCarveSize(const std::string&) {
    throwError(24);
}

int Controller::setCarveSize(const std::string&) {
    throwError(24);
}

uint32_t Controller::getMaxConnections() {
    throwError(24);
}

uint32_t Controller::getUnitLimit() {
    throwError(24);
}

uint32_t Controller::getMaxUnits() {
    throwError(24);
}

uint32_t Controller::getMaxDrives() {
    throwError(24);
}

uint32_t Controller::getMaxActiveUnits() {
    throwError(24);
}

uint32_t Controller::getMaxDrivesPerUnit() {
    throwError(24);
}

uint32_t Controller::getNumPhys() {
    throwError(24);
}

uint32_t Controller::getNumActiveDrives() {
    throwError(24);
}

std::string Controller::getSasEnclosureLimit() {
    throwError(24);
}

std::string Controller::getSataEnclosureLimit() {
    throwError(24);
}

uint32_t Controller::getNumActiveUnits() {
    throwError(24);
}

void Controller::showModePageControl(std::istream&) {
    throwError(24);
}

int Controller::setModePageControl(std::istream&, const std::string&) {
    throwError(24);
}

int Controller::setRebuildBackgroundTask(std::istream&, const std::string&, int) {
    throwError(24);
}

int Controller::setVerifyBackgroundTask(std::istream&, const std::string&, int) {
    throwError(24);
}

void Controller::showBackgroundTask(int, bool, bool) {
    throwError(24);
}
