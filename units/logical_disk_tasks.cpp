// A unit's background tasks (verify and rebuild) and its write-cache
// flush.
#include <istream>

#include "controllers/controller.h"
#include "units/logical_disk.h"

// These operations are not in place yet: they end as unsupported.

bool LogicalDisk::flush() {
    Controller::throwNotSupported();
}

int LogicalDisk::verifyCommand(std::istream&) {
    Controller::throwNotSupported();
}

int LogicalDisk::rebuildCommand(std::istream&) {
    Controller::throwNotSupported();
}

int LogicalDisk::startRebuild(bool) {
    Controller::throwNotSupported();
}

int LogicalDisk::resumeRebuild() {
    Controller::throwNotSupported();
}

int LogicalDisk::pauseRebuild() {
    Controller::throwNotSupported();
}

bool LogicalDisk::startVerify() {
    Controller::throwNotSupported();
}

bool LogicalDisk::stopVerify() {
    Controller::throwNotSupported();
}
