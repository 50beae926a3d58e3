// The weekly timetables of a newer-family controller's background tasks
// (rebuild, verify and drive selftest): the views, adding and removing
// slots, switching scheduled rebuilds and verifies, basic verify with its
// preferred start and the selftest kinds, in the new-style commands ("add",
// "del", "set") and the old-style "sched" command.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "api/api.h"
#include "api/audit_log.h"
#include "api/rhosk/rhosk_codes.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "controllers/controller_wescal.h"

namespace {

constexpr uint16_t kMinutesPerDay = 1440;
// A slot whose start is this or later is shown as free.
constexpr uint16_t kFirstFreeStart = 10065;
// Removing a task writes this start.
constexpr uint16_t kDeletedStart = 65535;
constexpr int kSlots = 7;
constexpr int kMaxHour = 23;
constexpr int kMaxHours = 24;

// Basic verify's preferred start when none is given: Saturday, one minute
// past midnight.
constexpr int kDefaultBasicVerifyDay = 6;
constexpr int kDefaultBasicVerifyHour = 12;
constexpr uint16_t kDefaultBasicVerifyStart = 8641;

// TaskScheduleMode: 1 scheduled (advanced verify), 2 unscheduled (basic
// verify where the controller has it).
constexpr uint8_t kModeBasicVerify = 2;

constexpr uint16_t kSelftestUdma = 1;
constexpr uint16_t kSelftestSmart = 2;
constexpr uint16_t kSelftestAll = kSelftestUdma | kSelftestSmart;

const char* const kDayAbbreviations[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const kDayWords[] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};

const char kAdvancedVerifyAddWarning[] =
    "WARNING: A background verify task will be added to the schedule,\nhowever, this "
    "operation is associated with Advanced Verify only,\nand not Basic Verify.\n\n";
const char kAdvancedVerifyDeleteWarning[] =
    "WARNING: A background verify task may be deleted from the schedule,\nhowever, this "
    "operation is associated with Advanced Verify only,\nand not Basic Verify.\n\n";

// The day of a start; a start beyond the week (only a free slot or a value
// the controller made up) has no day.
const char* dayOf(uint16_t start, const char* const (&names)[kSlots]) {
    const unsigned day = start / kMinutesPerDay;
    return day < kSlots ? names[day] : "-";
}

unsigned hourOf(uint16_t start) {
    return (start % kMinutesPerDay) / 60;
}

uint16_t startOf(int day, int hour) {
    return static_cast<uint16_t>(day * kMinutesPerDay + hour * 60);
}

// The hour of a timetable row: "3:00pm" and two tabs.
std::string rowHour(uint16_t start) {
    const unsigned hour = hourOf(start);
    char text[32];
    std::snprintf(text, sizeof text, "%u:00%s\t\t", hour % 12 != 0 ? hour % 12 : 12,
                  hour < 12 ? "am" : "pm");
    return text;
}

// The hour of a progress line: "3:00PM", "12:00AM" for hour 0.
std::string progressHour(int hour) {
    const int shown = hour >= 13 ? hour - 12 : hour == 0 ? 12 : hour;
    char text[32];
    std::snprintf(text, sizeof text, "%d:00%s", shown, hour < 12 ? "AM" : "PM");
    return text;
}

// The title and header of a timetable.
void printTimetableHead(const char* task, uint32_t number, const char* columns) {
    std::cout << "\n"
              << task << " Schedule for Controller /c" << number << "\n"
              << std::string(56, '=') << "\n"
              << columns << std::string(56, '-') << "\n";
}

// A task with a start and a duration in every slot (rebuild, verify): its
// fields, its words and its audited writer.
struct TimedTask {
    uint16_t ScheduleSlot::*start;
    uint16_t ScheduleSlot::*duration;
    const char* word;
    const char* title;
    int (AuditLog::*write)(ObjectId, uint32_t, int32_t, uint32_t);
};

const TimedTask kRebuildTask = {&ScheduleSlot::rebuildStart, &ScheduleSlot::rebuildDuration,
                                "rebuild", "Rebuild", &AuditLog::SetRebuildTask};
const TimedTask kVerifyTask = {&ScheduleSlot::verifyStart, &ScheduleSlot::verifyDuration, "verify",
                               "Verify", &AuditLog::SetVerifyTask};

// The rebuild or verify rows: start and duration of each slot.
void printTaskRows(const WeeklySchedule& schedule, const TimedTask& task,
                   const std::string& status) {
    for (int n = 1; n <= kSlots; ++n) {
        const ScheduleSlot& slot = schedule.slots[n - 1];
        const uint16_t first = slot.*task.start;
        std::cout << n << "\t";
        if (first >= kFirstFreeStart) {
            std::cout << "-  \t-   \t\t-          \t" << status << "\n";
            continue;
        }
        char hours[16];
        std::snprintf(hours, sizeof hours, "%2u",
                      static_cast<unsigned>((slot.*task.duration) / 60));
        std::cout << dayOf(first, kDayAbbreviations) << "\t" << rowHour(first) << hours
                  << " hr(s)\t" << status << "\n";
    }
}

// True when every character of `text` is a decimal digit.
bool allDigits(const std::string& text) {
    return text.find_first_not_of("0123456789") == std::string::npos;
}

// One old-style time word: `letter` followed by a number in [low, high]
// ("d6", "h23", "t4"); CLI error 49 otherwise.
int readLetterNumber(std::istream& words, char letter, int low, int high) {
    std::string word;
    if (!(words >> word) || word.size() < 2 || word[0] != letter ||
        !std::isdigit(static_cast<unsigned char>(word[1])))
        throw KV_Exception(kInvalidTaskTime);
    const long long value = shell_words::leadingNumber(word.substr(1));
    if (value < low || value > high)
        throw KV_Exception(kInvalidTaskTime);
    return static_cast<int>(value);
}

// The slot number 1-7 of an old-style remove, with nothing after it.
int readRemoveSlot(std::istream& words) {
    int slot = 0;
    if (!shell_words::readNumberIn(words, 1, kSlots, &slot))
        throw KV_Exception(kInvalidTaskSlot);
    if (shell_words::hasMoreWords(words))
        throw KV_Exception(kInvalidSchedArgument);
    return slot;
}

// The first slot, 0-6, whose start for the task lies above the free mark;
// -1 when the timetable is full. A start of exactly 10065 shows as free but
// is kept.
int firstFreeSlot(const WeeklySchedule& schedule, uint16_t ScheduleSlot::*start) {
    for (int index = 0; index < kSlots; ++index) {
        if (schedule.slots[index].*start > kFirstFreeStart)
            return index;
    }
    return -1;
}

// Puts a rebuild or verify task into the first free slot of `schedule`.
int addTimedTask(const TimedTask& task, const WeeklySchedule& schedule, ObjectId controller,
                 AuditLog& log, int day, int hour, int hours) {
    const int index = firstFreeSlot(schedule, task.start);
    if (index < 0) {
        std::cout << task.title << " schedule full - delete one or more slots before adding.\n\n";
        return 0;
    }
    std::cout << "Adding scheduled " << task.word << " to slot " << index + 1 << " for "
              << std::flush;
    if ((log.*task.write)(controller, static_cast<uint32_t>(index), startOf(day, hour),
                          static_cast<uint32_t>(hours * 60)) != 0)
        throwApiError();
    std::cout << "[" << kDayAbbreviations[day] << ", " << progressHour(hour) << ", " << hours
              << "hr(s)] ... Done.\n";
    return 0;
}

// The old-style time words of an add: "d" day, "h" hour and, for a timed
// task, "t" hours, with nothing after them.
void readSchedWords(std::istream& words, bool timed, int* day, int* hour, int* hours) {
    *day = readLetterNumber(words, 'd', 0, kSlots - 1);
    *hour = readLetterNumber(words, 'h', 0, kMaxHour);
    if (timed)
        *hours = readLetterNumber(words, 't', 1, kMaxHours);
    if (shell_words::hasMoreWords(words))
        throw KV_Exception(kInvalidSchedArgument);
}

}  // namespace

// --- The three weekly timetables ---

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
    printTaskRows(schedule, kRebuildTask, status);
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
    } else if (mode == kModeBasicVerify) {
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
    printTaskRows(schedule, kVerifyTask, status);
    std::cout << "\n";
}

void ControllerWescal::showSelftestSchedule() {
    uint16_t flags = 0;
    if (Api::GetSelftestFlags(objectId, &flags) != 0)
        throwApiError();
    WeeklySchedule schedule;
    readSchedule(&schedule);
    const char* udma = (flags & kSelftestUdma) != 0 ? "enabled" : "disabled";
    const char* smart = (flags & kSelftestSmart) != 0 ? "enabled" : "disabled";
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

// --- Adding and removing slots ---

int ControllerWescal::parseDayName(std::string word) {
    toLower(word);
    for (int day = 0; day < kSlots; ++day) {
        if (word == kDayWords[day])
            return day;
    }
    throwError(kInvalidTaskDay);
}

int ControllerWescal::addRebuildTask(int day, int hour, int hours) {
    WeeklySchedule schedule;
    readSchedule(&schedule);
    return addTimedTask(kRebuildTask, schedule, objectId, auditLog(), day, hour, hours);
}

int ControllerWescal::addVerifyTask(int day, int hour, int hours) {
    WeeklySchedule schedule;
    readSchedule(&schedule);
    return addTimedTask(kVerifyTask, schedule, objectId, auditLog(), day, hour, hours);
}

int ControllerWescal::addSelftestTask(int day, int hour) {
    WeeklySchedule schedule;
    readSchedule(&schedule);
    const int index = firstFreeSlot(schedule, &ScheduleSlot::selftestStart);
    if (index < 0) {
        std::cout << "Selftest schedule full - delete one or more slots before adding.\n\n";
        return 0;
    }
    if (auditLog().SetSelftestTask(objectId, static_cast<uint32_t>(index), startOf(day, hour)) != 0)
        throwApiError();
    std::cout << "[" << kDayAbbreviations[day] << ", " << progressHour(hour) << "] ... Done.\n";
    return 0;
}

int ControllerWescal::removeRebuildTask(int slot) {
    printProgress("Removing scheduled rebuild slot [" + std::to_string(slot) + "] ... ");
    if (auditLog().SetRebuildTask(objectId, static_cast<uint32_t>(slot - 1), kDeletedStart, 0) != 0)
        throwApiError();
    printDone();
    return 0;
}

int ControllerWescal::removeVerifyTask(int slot) {
    if (basicVerifySupported == 1) {
        // With basic verify at hand the timetable keeps at least one
        // advanced verify task.
        WeeklySchedule schedule;
        readSchedule(&schedule);
        int used = 0;
        for (const ScheduleSlot& each : schedule.slots) {
            if (each.verifyStart < kFirstFreeStart)
                ++used;
        }
        if (schedule.slots[slot - 1].verifyStart >= kDeletedStart) {
            std::cout << "Task has already been deleted.\n";
            return 0;
        }
        if (used == 1) {
            std::cout << "Cannot delete last scheduled task. At least one task must remain.\n";
            return 0;
        }
        printProgress("Removing scheduled verify slot [" + std::to_string(slot) + "]... ");
    } else {
        printProgress("Removing scheduled verify slot " + std::to_string(slot) + " ... ");
    }
    if (auditLog().SetVerifyTask(objectId, static_cast<uint32_t>(slot - 1), kDeletedStart, 0) != 0)
        throwApiError();
    printDone();
    return 0;
}

int ControllerWescal::removeSelftestTask(int slot) {
    printProgress("Removing scheduled selftest slot [" + std::to_string(slot) + "] ... ");
    if (auditLog().SetSelftestTask(objectId, static_cast<uint32_t>(slot - 1), kDeletedStart) != 0)
        throwApiError();
    printDone();
    return 0;
}

int ControllerWescal::addScheduleSlot(const std::string& slot, const std::string& task) {
    if (slot.empty())
        throwError(kInvalidTaskSlot);
    std::string spaced = slot;
    ShellServices::replaceWithSpace(spaced, ':');
    std::istringstream words(spaced);
    std::string dayWord;
    int hour = 0;
    words >> dayWord;
    if (!shell_words::readNumberIn(words, 0, kMaxHour, &hour))
        throwError(kInvalidTaskTime);
    int hours = 0;
    const bool timed = task != "selftest";
    if (timed && !shell_words::readNumberIn(words, 1, kMaxHours, &hours))
        throwError(kInvalidTaskTime);
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidSchedArgument);

    if (task == "rebuild")
        return addRebuildTask(parseDayName(dayWord), hour, hours);
    if (task == "verify") {
        uint8_t mode = 0;
        if (basicVerifySupported == 1 && Api::GetVerifyScheduleState(objectId, &mode) == 0 &&
            mode == kModeBasicVerify)
            std::cout << kAdvancedVerifyAddWarning;
        return addVerifyTask(parseDayName(dayWord), hour, hours);
    }
    return addSelftestTask(parseDayName(dayWord), hour);
}

int ControllerWescal::deleteScheduleSlot(int slot, const std::string& task) {
    if (slot < 1 || slot > kSlots)
        throwError(kInvalidTaskSlot);
    if (task == "rebuild")
        return removeRebuildTask(slot);
    if (task == "verify") {
        uint8_t mode = 0;
        if (basicVerifySupported == 1 && Api::GetVerifyScheduleState(objectId, &mode) == 0 &&
            mode == kModeBasicVerify)
            std::cout << kAdvancedVerifyDeleteWarning;
        return removeVerifyTask(slot);
    }
    return removeSelftestTask(slot);
}

// --- Scheduled rebuilds and verifies on and off ---

namespace {

// The schedule switches: the progress text, the wrapper and whether a
// failure prints "Failed." first (only the rebuild switches do).
struct ScheduleSwitch {
    const char* progress;
    int (AuditLog::*write)(ObjectId);
    bool printsFailed;
    CliCode extraWordCode;
};

const ScheduleSwitch kEnableRebuilds = {"Enabling scheduled rebuilds on controller /c",
                                        &AuditLog::EnableRebuildSchedule, true, kInvalidSetRebuild};
const ScheduleSwitch kDisableRebuilds = {"Disabling scheduled rebuilds on controller /c",
                                         &AuditLog::DisableRebuildSchedule, true,
                                         kInvalidSetRebuild};
const ScheduleSwitch kEnableVerifies = {"Enabling scheduled verifies on controller /c",
                                        &AuditLog::EnableVerifySchedule, false, kInvalidSetVerify};
const ScheduleSwitch kDisableVerifies = {"Disabling scheduled verifies on controller /c",
                                         &AuditLog::DisableVerifySchedule, false,
                                         kInvalidSetVerify};

}  // namespace

// One switch of the scheduled rebuilds or verifies.
static int switchSchedule(const ScheduleSwitch& each, std::istream& words, uint32_t number,
                          ObjectId controller, AuditLog& log) {
    if (shell_words::hasMoreWords(words))
        throw KV_Exception(each.extraWordCode);
    std::cout << each.progress << number << (each.printsFailed ? " ..." : " ... ") << std::flush;
    if ((log.*each.write)(controller) != 0) {
        if (each.printsFailed)
            std::cout << "Failed." << std::endl;
        throwApiError();
    }
    std::cout << " Done." << std::endl;
    return 0;
}

int ControllerWescal::enableRebuildSchedule(std::istream& words) {
    return switchSchedule(kEnableRebuilds, words, number, objectId, auditLog());
}

int ControllerWescal::disableRebuildSchedule(std::istream& words) {
    return switchSchedule(kDisableRebuilds, words, number, objectId, auditLog());
}

int ControllerWescal::enableVerifySchedule(std::istream& words) {
    return switchSchedule(kEnableVerifies, words, number, objectId, auditLog());
}

int ControllerWescal::disableVerifySchedule(std::istream& words) {
    return switchSchedule(kDisableVerifies, words, number, objectId, auditLog());
}

int ControllerWescal::setBasicVerify(std::istream& words) {
    int day = kDefaultBasicVerifyDay;
    std::string hourText = std::to_string(kDefaultBasicVerifyHour);
    int hour = kDefaultBasicVerifyHour;
    uint16_t start = kDefaultBasicVerifyStart;
    bool isDefault = true;
    if (shell_words::hasMoreWords(words)) {
        std::string word;
        words >> word;
        if (word.find("pref=") == std::string::npos)
            throwError(kInvalidSetVerify);
        std::string value = shell_words::valueAfterEquals(word);
        value.erase(0, value.find_first_not_of(' '));
        const std::string::size_type colon = value.rfind(':');
        if (value.size() == 4 || colon == std::string::npos || colon >= 5)
            throwError(kInvalidSetVerify);
        ShellServices::replaceWithSpace(value, ':');
        std::istringstream parts(value);
        std::string dayWord;
        hourText.clear();
        parts >> dayWord >> hourText;
        day = parseDayName(dayWord);
        isDefault = false;
    }
    if (hourText.empty() || !allDigits(hourText))
        throwError(kInvalidTaskTime);
    // Digits only: a number beyond the range reads as its end.
    const long long hourNumber = shell_words::leadingNumber(hourText);
    if (hourNumber > kMaxHour)
        throwError(kInvalidTaskTime);
    hour = static_cast<int>(hourNumber);
    if (!isDefault)
        start = startOf(day, hour);
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidSchedArgument);

    if (auditLog().DisableVerifySchedule(objectId) != 0)
        throwApiError();
    std::cout << "Setting /c" << number << " basic verify preferred time to [" << std::flush;
    if (Api::SetBasicVerifyPreferredStart(objectId, start) != 0)
        throwApiError();
    const std::string hourShown = isDefault ? "12:00AM" : progressHour(hour);
    std::cout << kDayAbbreviations[day] << ", " << hourShown << "] ... Done.\n";
    return 0;
}

// --- The rebuild, verify and selftest settings of "set" ---

// A numeric value of "rebuild=" or "verify=" is a task rate: digits only,
// and no word after it.
static bool isRateValue(const std::string& value, std::istream& words) {
    if (value.empty() || !std::isdigit(static_cast<unsigned char>(value[0])))
        return false;
    if (!allDigits(value))
        throw KV_Exception(kInvalidRate);
    if (shell_words::hasMoreWords(words))
        throw KV_Exception(kInvalidSetArgument);
    return true;
}

int ControllerWescal::setRebuild(std::istream& words, const std::string& word) {
    const std::string value = shell_words::valueAfterEquals(word);
    if (isRateValue(value, words)) {
        std::istringstream rate(value);
        return setRebuildRate(rate);
    }
    if (value == "enable")
        return enableRebuildSchedule(words);
    if (value == "disable")
        return disableRebuildSchedule(words);
    throwError(kInvalidSetRebuild);
}

int ControllerWescal::setVerify(std::istream& words, const std::string& word) {
    const std::string value = shell_words::valueAfterEquals(word);
    if (isRateValue(value, words)) {
        std::istringstream rate(value);
        return setVerifyRate(rate);
    }
    if (basicVerifySupported != 1) {
        if (value == "enable")
            return enableVerifySchedule(words);
        if (value == "disable")
            return disableVerifySchedule(words);
        if (value == "basic" || value == "advanced")
            throwError(kVerifyModeNotSupported);
        throwError(kInvalidSetVerify);
    }
    if (value == "advanced" || value == "enable")
        return enableVerifySchedule(words);
    if (value == "basic")
        return setBasicVerify(words);
    // Disabling the scheduled verifies leaves the controller in basic verify.
    if (value == "disable")
        return disableVerifySchedule(words);
    throwError(kInvalidSetVerify);
}

int ControllerWescal::setSelftest(std::istream& words, const std::string& word) {
    uint16_t mask = kSelftestAll;
    std::string taskWord;
    if (words >> taskWord) {
        if (taskWord.find("task=") == std::string::npos)
            throwError(kInvalidSetSelftest);
        const std::string kind = shell_words::valueAfterEquals(taskWord);
        if (kind == "udma")
            mask = kSelftestUdma;
        else if (kind == "smart")
            mask = kSelftestSmart;
        else
            throwError(kInvalidSetSelftest);
    }
    const std::string value = shell_words::valueAfterEquals(word);
    const char* which = mask == kSelftestAll    ? "all selftests"
                        : mask == kSelftestUdma ? "UDMA selftest"
                                                : "SMART selftest";
    if (value == "enable") {
        printProgress(std::string("Sending commands to enable ") + which + " ... ");
        return enableSelftestTasks(words, mask);
    }
    if (value == "disable") {
        printProgress(std::string("Sending commands to disable ") + which + " ... ");
        return disableSelftestTasks(words, mask);
    }
    throwError(kInvalidSetSelftest);
}

namespace {

// Reads the selftest flags, applies `change` and writes them back.
template <class Change>
void changeSelftestFlags(std::istream& words, ObjectId controller, AuditLog& log, Change change) {
    // One word after the task word is tolerated and ignored.
    std::string ignored;
    words >> ignored;
    if (shell_words::hasMoreWords(words))
        throw KV_Exception(kInvalidSchedArgument);
    uint16_t flags = 0;
    if (Api::GetSelftestFlags(controller, &flags) != 0)
        throwApiError();
    flags = change(flags);
    if (log.SetSelftestFlags(controller, &flags) != 0)
        throwApiError();
}

}  // namespace

int ControllerWescal::enableSelftestTasks(std::istream& words, uint16_t mask) {
    changeSelftestFlags(words, objectId, auditLog(),
                        [mask](uint16_t flags) { return static_cast<uint16_t>(flags | mask); });
    std::cout << "Done. \n" << std::endl;
    return 0;
}

int ControllerWescal::disableSelftestTasks(std::istream& words, uint16_t mask) {
    changeSelftestFlags(words, objectId, auditLog(),
                        [mask](uint16_t flags) { return static_cast<uint16_t>(flags & ~mask); });
    std::cout << "Done.  \n" << std::endl;
    return 0;
}

// --- The old-style "sched" command ---

namespace {

// The action word of an old-style sched command.
enum class SchedAction { kAdd, kRemove, kEnable, kDisable };

SchedAction readSchedAction(std::istream& words) {
    std::string word;
    words >> word;
    if (word == "add")
        return SchedAction::kAdd;
    if (word == "remove")
        return SchedAction::kRemove;
    if (word == "enable")
        return SchedAction::kEnable;
    if (word == "disable")
        return SchedAction::kDisable;
    throw KV_Exception(kInvalidSchedArgument);
}

}  // namespace

int ControllerWescal::schedRebuildCommand(std::istream& words) {
    if (!shell_words::hasMoreWords(words)) {
        showRebuildSchedule();
        return 0;
    }
    switch (readSchedAction(words)) {
        case SchedAction::kAdd:
            return schedAddRebuildSlot(words);
        case SchedAction::kRemove:
            return schedRemoveRebuildSlot(words);
        case SchedAction::kEnable:
            return enableRebuildSchedule(words);
        case SchedAction::kDisable:
            return disableRebuildSchedule(words);
    }
    return 0;
}

int ControllerWescal::schedVerifyCommand(std::istream& words) {
    if (!shell_words::hasMoreWords(words)) {
        showVerifySchedule();
        return 0;
    }
    switch (readSchedAction(words)) {
        case SchedAction::kAdd:
            return schedAddVerifySlot(words);
        case SchedAction::kRemove:
            return schedRemoveVerifySlot(words);
        case SchedAction::kEnable:
            return enableVerifySchedule(words);
        case SchedAction::kDisable:
            return disableVerifySchedule(words);
    }
    return 0;
}

int ControllerWescal::schedSelftestCommand(std::istream& words) {
    if (!shell_words::hasMoreWords(words)) {
        showSelftestSchedule();
        return 0;
    }
    switch (readSchedAction(words)) {
        case SchedAction::kAdd:
            return schedAddSelftestSlot(words);
        case SchedAction::kRemove:
            return schedRemoveSelftestSlot(words);
        case SchedAction::kEnable:
            return schedEnableSelftest(words);
        case SchedAction::kDisable:
            return schedDisableSelftest(words);
    }
    return 0;
}

int ControllerWescal::schedAddRebuildSlot(std::istream& words) {
    int day = 0, hour = 0, hours = 0;
    readSchedWords(words, true, &day, &hour, &hours);
    return addRebuildTask(day, hour, hours);
}

int ControllerWescal::schedAddVerifySlot(std::istream& words) {
    int day = 0, hour = 0, hours = 0;
    readSchedWords(words, true, &day, &hour, &hours);
    return addVerifyTask(day, hour, hours);
}

int ControllerWescal::schedAddSelftestSlot(std::istream& words) {
    int day = 0, hour = 0;
    readSchedWords(words, false, &day, &hour, nullptr);
    return addSelftestTask(day, hour);
}

int ControllerWescal::schedRemoveRebuildSlot(std::istream& words) {
    return removeRebuildTask(readRemoveSlot(words));
}

int ControllerWescal::schedRemoveVerifySlot(std::istream& words) {
    return removeVerifyTask(readRemoveSlot(words));
}

int ControllerWescal::schedRemoveSelftestSlot(std::istream& words) {
    return removeSelftestTask(readRemoveSlot(words));
}

namespace {

// The selftest mask of an old-style enable or disable: both without a
// word, else "s0" (UDMA) or "s1" (SMART); `number` gets the digit's text.
uint16_t readSelftestMask(std::istream& words, std::string* number) {
    if (!shell_words::hasMoreWords(words))
        return kSelftestAll;
    std::string word;
    words >> word;
    ShellServices::toLower(word);
    if (word.size() < 2 || word[0] != 's' || !std::isdigit(static_cast<unsigned char>(word[1])))
        throw KV_Exception(kInvalidSchedArgument);
    const long long which = shell_words::leadingNumber(word.substr(1));
    if (which != 0 && which != 1)
        throw KV_Exception(kInvalidSchedArgument);
    *number = std::to_string(which);
    return static_cast<uint16_t>(1u << which);
}

}  // namespace

int ControllerWescal::schedEnableSelftest(std::istream& words) {
    std::string which;
    const uint16_t mask = readSelftestMask(words, &which);
    if (which.empty())
        printProgress("Sending commands to enable all selftest tasks ... ");
    else
        printProgress("Sending commands to enable selftest task " + which + "...");
    return enableSelftestTasks(words, mask);
}

int ControllerWescal::schedDisableSelftest(std::istream& words) {
    std::string which;
    const uint16_t mask = readSelftestMask(words, &which);
    if (which.empty())
        printProgress("Sending commands to disable all selftest tasks ... ");
    else
        printProgress("Sending commands to disable selftest task " + which + "...");
    return disableSelftestTasks(words, mask);
}
