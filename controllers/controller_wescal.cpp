#include "controllers/controller_wescal.h"

#include <cstdio>
#include <iostream>

#include "api/api.h"
#include "api/rhosk/rhosk_codes.h"
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
void ControllerWescal::showAlarms() {
    throwNotSupported();
}

void ControllerWescal::showAlarmsReverse() {
    throwNotSupported();
}

// The operations below belong to the task schedules, the controller
// policies, the firmware update and unit creation; until those are in
// place they end as unsupported.

int ControllerWescal::schedRebuildCommand(std::istream&) {
    throwNotSupported();
}

int ControllerWescal::schedVerifyCommand(std::istream&) {
    throwNotSupported();
}

int ControllerWescal::schedSelftestCommand(std::istream&) {
    throwNotSupported();
}

// --- The three weekly timetables of background tasks ---

namespace {

constexpr uint16_t kMinutesPerDay = 1440;
// A slot whose start is this or later is free.
constexpr uint16_t kFirstFreeStart = 10065;
constexpr int kSlots = 7;

const char* const kDayAbbreviations[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};

// The day of a start; a start beyond the week (only a free slot or a value
// the controller made up) has no day.
const char* dayOf(uint16_t start, const char* const (&names)[kSlots]) {
    const unsigned day = start / kMinutesPerDay;
    return day < kSlots ? names[day] : "-";
}

unsigned hourOf(uint16_t start) {
    return (start % kMinutesPerDay) / 60;
}

// The hour of a timetable row: "3:00pm" and two tabs.
std::string rowHour(uint16_t start) {
    const unsigned hour = hourOf(start);
    char text[32];
    std::snprintf(text, sizeof text, "%u:00%s\t\t", hour % 12 != 0 ? hour % 12 : 12,
                  hour < 12 ? "am" : "pm");
    return text;
}

// The title and header of a timetable.
void printTimetableHead(const char* task, uint32_t number, const char* columns) {
    std::cout << "\n"
              << task << " Schedule for Controller /c" << number << "\n"
              << std::string(56, '=') << "\n"
              << columns << std::string(56, '-') << "\n";
}

// The rebuild or verify rows: start and duration of each slot.
template <class Start, class Duration>
void printTaskRows(const WeeklySchedule& schedule, Start start, Duration duration,
                   const std::string& status) {
    for (int n = 1; n <= kSlots; ++n) {
        const ScheduleSlot& slot = schedule.slots[n - 1];
        const uint16_t first = start(slot);
        std::cout << n << "\t";
        if (first >= kFirstFreeStart) {
            std::cout << "-  \t-   \t\t-          \t" << status << "\n";
            continue;
        }
        char hours[16];
        std::snprintf(hours, sizeof hours, "%2u", static_cast<unsigned>(duration(slot) / 60));
        std::cout << dayOf(first, kDayAbbreviations) << "\t" << rowHour(first) << hours
                  << " hr(s)\t" << status << "\n";
    }
}

}  // namespace

void ControllerWescal::readSchedule(WeeklySchedule* schedule) {
    *schedule = WeeklySchedule{};
    if (Api::GetTaskSchedule(objectId, schedule) != 0)
        throwApiError();
}

void ControllerWescal::showRebuildSchedule() {
    uint8_t mode = 0;
    if (Api::GetRebuildScheduleState(objectId, &mode) != 0)
        throwApiError();
    WeeklySchedule schedule;
    readSchedule(&schedule);
    const std::string status = (mode == 0 || mode == 2) ? "disabled" : "enabled";
    printTimetableHead("Rebuild", number, "Slot\tDay\tHour\t\tDuration\tStatus\n");
    printTaskRows(
        schedule, [](const ScheduleSlot& slot) { return slot.rebuildStart; },
        [](const ScheduleSlot& slot) { return slot.rebuildDuration; }, status);
}

void ControllerWescal::showVerifySchedule() {
    uint8_t mode = 0;
    if (Api::GetVerifyScheduleState(objectId, &mode) != 0)
        throwApiError();
    WeeklySchedule schedule;
    readSchedule(&schedule);
    const bool basicVerify = basicVerifySupported == 1;
    std::string status;
    if (!basicVerify) {
        status = mode == 1 ? "enabled" : "disabled";
    } else if (mode == 2) {
        // Basic verify runs from one weekly preferred start instead of the
        // timetable.
        uint16_t start = 0;
        (void)Api::GetBasicVerifyPreferredStart(objectId, &start);
        const unsigned hour = hourOf(start);
        std::cout << "/c" << number
                  << " basic verify weekly preferred start: " << dayOf(start, kDayNames) << ", "
                  << (hour % 12 != 0 ? hour % 12 : 12) << ":00" << (hour < 12 ? "AM\n" : "PM\n");
        return;
    } else if (mode == 1) {
        status = "on";
    }
    printTimetableHead("Verify", number,
                       basicVerify ? "Slot\tDay\tHour\t\tDuration\tAdvVerify\n"
                                   : "Slot\tDay\tHour\t\tDuration\tStatus\n");
    printTaskRows(
        schedule, [](const ScheduleSlot& slot) { return slot.verifyStart; },
        [](const ScheduleSlot& slot) { return slot.verifyDuration; }, status);
    std::cout << "\n";
}

void ControllerWescal::showSelftestSchedule() {
    uint16_t flags = 0;
    if (Api::GetSelftestFlags(objectId, &flags) != 0)
        throwApiError();
    WeeklySchedule schedule;
    readSchedule(&schedule);
    const char* udma = (flags & 1) != 0 ? "enabled" : "disabled";
    const char* smart = (flags & 2) != 0 ? "enabled" : "disabled";
    printTimetableHead("Selftest", number, "Slot\tDay\tHour\t\tUDMA\t\tSMART\n");
    for (int n = 1; n <= kSlots; ++n) {
        const uint16_t start = schedule.slots[n - 1].selftestStart;
        std::cout << n << "\t";
        if (start >= kFirstFreeStart)
            std::cout << "-  \t-   \t\t";
        else
            std::cout << dayOf(start, kDayAbbreviations) << "\t" << rowHour(start);
        std::cout << udma << "   \t" << smart << "\n";
    }
}

int ControllerWescal::addScheduleSlot(const std::string&, const std::string&) {
    throwNotSupported();
}

int ControllerWescal::deleteScheduleSlot(int, const std::string&) {
    throwNotSupported();
}

int ControllerWescal::setRebuild(std::istream&, const std::string&) {
    throwNotSupported();
}

int ControllerWescal::setVerify(std::istream&, const std::string&) {
    throwNotSupported();
}

int ControllerWescal::setSelftest(std::istream&, const std::string&) {
    throwNotSupported();
}

int ControllerWescal::setForceDriveCacheOn(std::istream&, const std::string&) {
    throwNotSupported();
}

int ControllerWescal::setAvMode(const std::string&) {
    throwNotSupported();
}

int ControllerWescal::updateFirmware(const std::string&, uint8_t, uint8_t) {
    throwNotSupported();
}

int ControllerWescal::setLbaReorder(std::istream&, const std::string&) {
    throwNotSupported();
}

int ControllerWescal::setAutoRebuild(const std::string&) {
    throwNotSupported();
}

int ControllerWescal::setCarveSize(const std::string&) {
    throwNotSupported();
}

int ControllerWescal::setModePageControl(std::istream&, const std::string&) {
    throwNotSupported();
}

int ControllerWescal::setRebuildBackgroundTask(std::istream&, const std::string&, int) {
    throwNotSupported();
}

int ControllerWescal::setVerifyBackgroundTask(std::istream&, const std::string&, int) {
    throwNotSupported();
}
