// The settings that every controller class carries itself: JBOD export,
// disk spin-up, spin-up stagger time and the rebuild and verify task
// rates. The older family has none of the first three.
#include <cstdlib>
#include <iostream>
#include <string>

#include "api/api.h"
#include "api/audit_log.h"
#include "base/shell_words.h"
#include "controllers/controller.h"

namespace {

constexpr int32_t kFamilyNewer = kFamilyRhosk;
constexpr const char* kNotSupported = "Not Supported";
// A spin-up count of 255 means the controller does not stagger spin-ups.
constexpr uint32_t kSpinupDisabled = 255;

// The bounds of the spin-up count and the stagger time: the newest
// generation takes fewer.
constexpr long kMaxSpinups = 128;
constexpr long kMaxSpinupsVantor = 16;
constexpr long kMaxStagger = 60;
constexpr long kMaxStaggerVantor = 6;

constexpr uint32_t kMaxRate = 5;

// One background task's rate setter: its texts and library calls.
struct RateTask {
    const char* progress;
    const char* rateTexts[kMaxRate];
    int (*readMode)(ObjectId, uint8_t*);
    int (AuditLog::*write)(ObjectId, const int32_t*);
};

const RateTask kRebuildRate = {
    "Setting Rebuild task rate on /",
    {"[1] (Fastest I/O)", "[2] (Faster I/O)", "[3] (Balanced Rebuild and I/O)",
     "[4] (Faster Rebuild)", "[5] (Fastest Rebuild)"},
    Api::GetRebuildMode,
    &AuditLog::SetRebuildRate,
};

const RateTask kVerifyRate = {
    "Setting Verify task rate on /",
    {"[1] (Fastest I/O)", "[2] (Faster I/O)", "[3] (Balanced Verify and I/O)",
     "[4] (Faster Verify)", "[5] (Fastest Verify)"},
    Api::GetVerifyMode,
    &AuditLog::SetVerifyRate,
};

// The same words for both tasks: the controller's warning has always named
// the rebuild.
constexpr const char kLowLatencyRateWarning[] =
    "\nWARNING: For the background task, settings of mode"
    " to 'low latency'\nand rate=1 (fastest IO; slowest "
    "rebuild) may cause the task to never\ncomplete if "
    "host I/O is active.\n\n";

}  // namespace

AuditLog& Controller::auditLog() {
    if (theAuditLog != nullptr)
        return *theAuditLog;
    static AuditLog silent("CLI", std::string(), false);
    return silent;
}

// --- JBOD export ---

int Controller::setExportJbod(const std::string& word) {
    if (family < kFamilyNewer)
        throwError(kInvalidControllerOperation);
    const bool on = word == "exportjbod=on";
    if (!on && word != "exportjbod=off")
        throwError(kInvalidControllerCommandValue);
    runWithProgress(
        std::string(on ? "Enabling" : "Disabling") + " JBOD Export Policy on /" + name + "... ",
        [this, on] {
            return on ? Api::EnableExportJbod(objectId) : Api::DisableExportJbod(objectId);
        });
    return 0;
}

std::string Controller::getExportJbod() {
    if (family < kFamilyNewer)
        return kNotSupported;
    uint8_t policy = 0;
    if (Api::GetExportJbodPolicy(objectId, &policy) != 0)
        throwFailedApiError();
    return policy != 0 ? "on" : "off";
}

// --- Disk spin-up and stagger time ---

int Controller::setSpinup(const std::string& word) {
    if (family < kFamilyNewer)
        throwError(kInvalidControllerOperation);
    const long bound = family < kFamilyVantor ? kMaxSpinups : kMaxSpinupsVantor;
    const long long count = shell_words::leadingNumber(shell_words::valueAfterEquals(word));
    if (count < 1 || count > bound)
        throwError(kInvalidControllerCommandValue);
    runWithProgress(
        "Setting Disk Spinup Policy on /" + name + " to [" + std::to_string(count) + "] ... ",
        [this, count] {
            return auditLog().SetNumberSpinupsAllowed(objectId, static_cast<uint32_t>(count));
        });
    return 0;
}

std::string Controller::getSpinup() {
    if (family < kFamilyNewer)
        return kNotSupported;
    uint32_t count = 0;
    if (Api::GetNumberSpinupsAllowed(objectId, &count) != 0)
        throwApiError();
    return count == kSpinupDisabled ? "Disabled" : std::to_string(count);
}

int Controller::setStagger(const std::string& word) {
    if (family < kFamilyNewer)
        throwError(kInvalidControllerOperation);
    const long bound = family < kFamilyVantor ? kMaxStagger : kMaxStaggerVantor;
    const long long seconds = shell_words::leadingNumber(shell_words::valueAfterEquals(word));
    if (seconds < 0 || seconds > bound)
        throwError(kInvalidControllerCommandValue);
    runWithProgress("Setting Spinup Stagger Time Policy on /" + name + " to [" +
                        std::to_string(seconds) + "] ... ",
                    [this, seconds] {
                        return auditLog().SetStaggerTime(objectId, static_cast<uint32_t>(seconds));
                    });
    return 0;
}

std::string Controller::getStagger() {
    if (family < kFamilyNewer)
        return kNotSupported;
    uint32_t seconds = 0;
    if (Api::GetStaggerTime(objectId, &seconds) != 0)
        throwApiError();
    // Without spin-up staggering a stagger time of 0 has no meaning.
    uint32_t count = 0;
    if (Api::GetNumberSpinupsAllowed(objectId, &count) == 0 && count == kSpinupDisabled &&
        seconds == 0)
        return "N/A";
    return std::to_string(seconds);
}

// --- Rebuild and verify task rates ---

namespace {

// Reads the rate from `words`, warns where rate 1 meets low latency mode,
// and writes the rate with the task's progress line.
void setTaskRate(std::istream& words, const RateTask& task, ObjectId controller,
                 const std::string& name, AuditLog& log) {
    uint32_t rate = 0;
    if (!shell_words::readNumberIn(words, 1, kMaxRate, &rate))
        throw KV_Exception(kInvalidRate);
    if (rate == 1) {
        uint32_t level37 = 0;
        uint8_t mode = 0;
        if (Api::HasFirmwareCompatLevel37(controller, &level37) == 0 && level37 != 0 &&
            task.readMode(controller, &mode) == 0 && mode == 1)
            std::cout << kLowLatencyRateWarning;
    }
    std::cout << task.progress << name << " to " << task.rateTexts[rate - 1] << std::flush;
    const int32_t value = static_cast<int32_t>(rate);
    if ((log.*task.write)(controller, &value) != 0)
        throwApiError();
    std::cout << " ... Done." << std::endl;
}

}  // namespace

int Controller::setRebuildRate(std::istream& words) {
    setTaskRate(words, kRebuildRate, objectId, name, auditLog());
    return 0;
}

int Controller::setVerifyRate(std::istream& words) {
    if (family < kFamilyNewer)
        throwError(kInvalidControllerOperation);
    setTaskRate(words, kVerifyRate, objectId, name, auditLog());
    return 0;
}
