#include "controllers/controller_prane.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

#include "api/api.h"
#include "base/help.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "controllers/bbu.h"

namespace {

constexpr const char* kNotSupported = "Not Supported";

// The RAID types an older-family controller creates.
const char* const kCreatableTypes[] = {"raid0", "raid1", "raid10", "raid5", "jbod", "spare"};

bool isCreatable(const std::string& type) {
    for (const char* each : kCreatableTypes) {
        if (type == each)
            return true;
    }
    return false;
}

}  // namespace

ControllerPrane::ControllerPrane(const std::string& controllerName, uint32_t controllerNumber,
                                 ObjectId id)
    : Controller(controllerName, controllerNumber, id) {
    family = kFamilyPrane;
    bbu = adoptTreeObject<BBU>(std::make_unique<BBU>(this));
    autoCarveText = "notsupported";
}

ControllerPrane::~ControllerPrane() = default;

std::string ControllerPrane::getSeverityText(uint8_t severity) {
    switch (severity) {
        case 1:
            return "ERROR";
        case 2:
            return "WARNING";
        case 3:
            return "INFO";
        case 4:
            return "DEBUG";
        default:
            return "UNKNOWN";
    }
}

// --- Event lists ---

// The older family keeps no event positions: every read takes the
// controller's next queued event.
ControllerPrane::QueuedEvent ControllerPrane::readNextEvent() {
    AenRecord record;
    std::memset(&record, 0, sizeof record);
    if (Api::GetFirstAen(objectId, &record) != 0)
        throwApiError();
    QueuedEvent event;
    event.code = record.code;
    event.severity = record.severity;
    const size_t length = std::min<size_t>(record.messageLength, sizeof record.message - 1);
    event.text.assign(record.message, strnlen(record.message, length));
    return event;
}

void ControllerPrane::printEventLine(const QueuedEvent& event) const {
    std::cout << ShellServices::padText(name, 5) << ShellServices::padText("-", 28)
              << ShellServices::padText(getSeverityText(event.severity), 10) << event.text << "\n";
}

// The whole queue is read before anything is printed, so a failed read
// prints no line; the last event read is printed first.
void ControllerPrane::showAlarms() {
    std::vector<QueuedEvent> events;
    for (int n = 0; n < kMaxListedEvents; ++n) {
        QueuedEvent event = readNextEvent();
        if (event.code == 0)
            break;
        events.push_back(std::move(event));
    }
    for (auto each = events.rbegin(); each != events.rend(); ++each)
        printEventLine(*each);
}

// Each event is printed as soon as it is read.
void ControllerPrane::showAlarmsReverse() {
    for (int n = 0; n < kMaxListedEvents; ++n) {
        const QueuedEvent event = readNextEvent();
        if (event.code == 0)
            return;
        printEventLine(event);
    }
}

// --- What the older family does not have ---

int ControllerPrane::schedRebuildCommand(std::istream&) {
    throwError(kInvalidControllerOperation);
}

int ControllerPrane::schedVerifyCommand(std::istream&) {
    throwError(kInvalidControllerOperation);
}

int ControllerPrane::schedSelftestCommand(std::istream&) {
    throwError(kInvalidControllerOperation);
}

void ControllerPrane::showRebuildSchedule() {
    throwError(kInvalidControllerOperation);
}

void ControllerPrane::showVerifySchedule() {
    throwError(kInvalidControllerOperation);
}

void ControllerPrane::showSelftestSchedule() {
    throwError(kInvalidControllerOperation);
}

int ControllerPrane::addScheduleSlot(const std::string&, const std::string&) {
    throwError(kInvalidAddArgument);
}

int ControllerPrane::deleteScheduleSlot(int, const std::string&) {
    throwError(kInvalidAddArgument);
}

int ControllerPrane::setRebuild(std::istream&, const std::string&) {
    throwError(kInvalidControllerOperation);
}

int ControllerPrane::setVerify(std::istream&, const std::string&) {
    throwError(kInvalidControllerOperation);
}

int ControllerPrane::setSelftest(std::istream&, const std::string&) {
    throwError(kInvalidControllerOperation);
}

int ControllerPrane::setIgnoreFuaWrite(std::istream&, const std::string&) {
    throwError(kInvalidControllerOperation);
}

std::string ControllerPrane::getIgnoreFuaWrite() {
    return kNotSupported;
}

int ControllerPrane::setForceDriveCacheOn(std::istream&, const std::string&) {
    throwError(kInvalidControllerOperation);
}

std::string ControllerPrane::getForceDriveCacheOn() {
    return kNotSupported;
}

int ControllerPrane::setOnDegrade(const std::string&) {
    throwError(kInvalidControllerOperation);
}

std::string ControllerPrane::getOnDegrade() {
    return kNotSupported;
}

std::string ControllerPrane::getAvMode() {
    return kNotSupported;
}

int ControllerPrane::setAvMode(const std::string&) {
    throwError(kInvalidControllerOperation);
}

// The controller list's VRate column: one task rate serves rebuild and
// verify on the older family, shown under RRate.
std::string ControllerPrane::getVerifyRate() {
    return "-";
}

int ControllerPrane::updateFirmware(const std::string&, uint8_t, uint8_t) {
    throwError(kInvalidControllerOperation);
}

std::string ControllerPrane::getLbaReorder() {
    return kNotSupported;
}

int ControllerPrane::setLbaReorder(std::istream&, const std::string&) {
    throwError(kInvalidControllerOperation);
}

// --- Diagnostic report ---

void ControllerPrane::showDiag() {
    showDiagReport();
}

// --- Unit creation ---

int ControllerPrane::createUnitCommand(std::istream& words) {
    return createUnitFromWords(words);
}

// The older family creates only the types it lists.
int ControllerPrane::createUnit(std::istream& options, const std::string& type,
                                const std::string& style) {
    if (!isCreatable(type))
        throwError(kInvalidRaidType);
    return createUnitOfType(type, options, style);
}
