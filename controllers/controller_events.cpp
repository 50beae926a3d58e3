// The controller's event list words, its drive coercion factor, and the
// newer family's event walk.
#include "controllers/controller_events.h"

#include <cstdio>
#include <ctime>
#include <iostream>
#include <string>

#include "api/api.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "controllers/controller.h"
#include "controllers/controller_wescal.h"

namespace {

constexpr int32_t kFirstNewerFamily = 4;
constexpr uint32_t kMinCoercionFactor = 1;
constexpr uint32_t kMaxCoercionFactor = 50;
constexpr uint16_t kTimeSyncEvent = 49;  // never listed
// The walk ends at the end of the list; this many records at most, so that
// a controller whose queue never ends cannot hold the command for ever.
constexpr uint32_t kMaxEventRecords = 100000;

// "[" + the local time of `seconds` + "]".
std::string eventTimeText(uint32_t seconds) {
    // The program runs on one thread, so the shared result of localtime is
    // safe here, and it is the standard call on every platform.
    const std::time_t when = static_cast<std::time_t>(seconds);
    const std::tm* local = std::localtime(&when);
    char text[64] = {};
    if (local != nullptr)
        std::strftime(text, sizeof text, "%a %b %d %Y %H:%M:%S", local);
    return std::string("[") + text + "]";
}

void printEventRow(const std::string& controllerName, const AenRecord& record) {
    // The length is one byte, so it never reaches past the message field.
    static_assert(sizeof record.message > UINT8_MAX, "any message length fits the field");
    const std::size_t length = record.messageLength;
    std::cout << ShellServices::padText(controllerName, 5)
              << ShellServices::padText(eventTimeText(record.time), 28)
              << ShellServices::padText(ControllerWescal::getSeverityText(record.severity), 10)
              << std::string(record.message, length) << "\n";
}

}  // namespace

namespace controller_events {

void showEventList(const std::string& controllerName, ObjectId controller, bool newestFirst) {
    std::cout << "\nCtl  Date                        Severity  AEN Message\n"
              << std::string(78, '-') << "\n";
    AenRecord record{};
    const int first =
        newestFirst ? Api::GetLastAen(controller, &record) : Api::GetFirstAen(controller, &record);
    if (first != 0)
        throwApiError();
    for (uint32_t read = 1; record.code != 0; ++read) {
        if (record.severity != kAenDebug && record.code != kTimeSyncEvent)
            printEventRow(controllerName, record);
        const uint32_t current = record.eventId;
        AenRecord next{};
        const int status = newestFirst ? Api::GetPreviousAen(controller, current, &next)
                                       : Api::GetNextAen(controller, current, &next);
        if (status != 0)
            throwApiError();
        // A controller that answers with the same event again would never
        // reach the end of its list.
        if (next.eventId == current || read >= kMaxEventRecords)
            break;
        record = next;
    }
}

}  // namespace controller_events

void Controller::showEvents(std::istream& words) {
    if (!shell_words::hasMoreWords(words)) {
        showAlarms();
        return;
    }
    if (shell_words::nextWord(words) != "reverse")
        throwError(kInvalidControllerCommand);
    showAlarmsReverse();
}

void Controller::showCoercionFactor(std::istream& words) {
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidShowArgument);
    std::cout << "/" << name << " Drive Coercion Factor = " << std::flush;
    uint32_t factor = 0;
    if (Api::GetDriveCoercionFactor(objectId, &factor) != 0)
        throwApiError();
    std::cout << factor << "\n";
}

void Controller::setCoercionFactor(std::istream& words, const std::string& word) {
    if (family < kFirstNewerFamily)
        throwError(kInvalidControllerOperation);
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidControllerCommand);
    const std::string::size_type equals = word.find('=');
    const std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
    // Digits only; a number past the range reads as its end and is
    // refused with the rest before it is narrowed.
    if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos)
        throwError(kInvalidCoercionFactor);
    const long long number = shell_words::leadingNumber(value);
    if (number < kMinCoercionFactor || number > kMaxCoercionFactor)
        throwError(kInvalidCoercionFactor);
    const auto factor = static_cast<uint32_t>(number);
    std::cout << "Setting Drive Coercion Factor on /" << name << " to [" << std::flush;
    if (Api::SetDriveCoercionFactor(objectId, factor) != 0)
        throwApiError();
    std::cout << factor << "] ... Done.\n";
}
