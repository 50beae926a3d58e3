// The controller's lookups, its battery's answers to its parts, the error
// line, help and the bodies of the operations that a controller of the
// base class refuses.
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
T* lookUp(const TreeMap<T>& map, const std::string& key, CliCode missingCode) {
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
    return lookUp(units, unitName, kNoSuchUnit);
}

Port* Controller::getPort(const std::string& portName) {
    return lookUp(ports, portName, kInvalidPort);
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
    return lookUp(phys, phyName, kInvalidPhy);
}

Enclosure* Controller::getEnclosure(const std::string& enclosureName) {
    return lookUp(enclosures, enclosureName, kNoSuchEnclosure);
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
    throwError(kInvalidControllerOperation);
}

std::string Controller::getAutoRebuild(const std::string&) {
    throwError(kInvalidControllerOperation);
}

void Controller::showControllerBus() {
    throwError(kInvalidControllerOperation);
}

std::string Controller::getCarveSize(const std::string&) {
    throwError(kInvalidControllerOperation);
}

int Controller::setCarveSize(const std::string&) {
    throwError(kInvalidControllerOperation);
}

uint32_t Controller::getMaxConnections() {
    throwError(kInvalidControllerOperation);
}

uint32_t Controller::getUnitLimit() {
    throwError(kInvalidControllerOperation);
}

uint32_t Controller::getMaxUnits() {
    throwError(kInvalidControllerOperation);
}

uint32_t Controller::getMaxDrives() {
    throwError(kInvalidControllerOperation);
}

uint32_t Controller::getMaxActiveUnits() {
    throwError(kInvalidControllerOperation);
}

uint32_t Controller::getMaxDrivesPerUnit() {
    throwError(kInvalidControllerOperation);
}

uint32_t Controller::getNumPhys() {
    throwError(kInvalidControllerOperation);
}

uint32_t Controller::getNumActiveDrives() {
    throwError(kInvalidControllerOperation);
}

std::string Controller::getSasEnclosureLimit() {
    throwError(kInvalidControllerOperation);
}

std::string Controller::getSataEnclosureLimit() {
    throwError(kInvalidControllerOperation);
}

uint32_t Controller::getNumActiveUnits() {
    throwError(kInvalidControllerOperation);
}

void Controller::showModePageControl(std::istream&) {
    throwError(kInvalidControllerOperation);
}

int Controller::setModePageControl(std::istream&, const std::string&) {
    throwError(kInvalidControllerOperation);
}

int Controller::setRebuildBackgroundTask(std::istream&, const std::string&, int) {
    throwError(kInvalidControllerOperation);
}

int Controller::setVerifyBackgroundTask(std::istream&, const std::string&, int) {
    throwError(kInvalidControllerOperation);
}

void Controller::showBackgroundTask(int, bool, bool) {
    throwError(kInvalidControllerOperation);
}
