// The controller's work on its units as a whole: flushing write caches,
// removing, exporting and deleting units, migrating a unit, the media scan
// and committing pending transactions.
#include <istream>
#include <string>

#include "controllers/controller.h"

// These operations are not in place yet: they end as unsupported.

int Controller::removeCommand(std::istream&) {
    throwNotSupported();
}

int Controller::deleteUnitCommand(std::istream&) {
    throwNotSupported();
}

int Controller::flush(std::istream&) {
    throwNotSupported();
}

bool Controller::parseUnitList(const std::string&) {
    throwNotSupported();
}

int Controller::removeUnit(const std::string&, bool, bool, bool) {
    throwNotSupported();
}

int Controller::deleteUnit(const std::string&, bool, bool) {
    throwNotSupported();
}

int Controller::eraseUnit(const std::string&) {
    throwNotSupported();
}

int Controller::commit() {
    throwNotSupported();
}

int Controller::mediaScan(const std::string&) {
    throwNotSupported();
}

int Controller::mediascanCommand(std::istream&) {
    throwNotSupported();
}
