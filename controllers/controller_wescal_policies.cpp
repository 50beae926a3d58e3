// The controller-wide policies of the newer family as "show" reads them:
// force drive cache on, AV mode, LBA reordering, automatic rebuild, the
// auto-carving LUN size, mode page control, the background task modes and
// rates, and the host bus.
#include <iostream>
#include <sstream>
#include <string>

#include "api/api.h"
#include "api/audit_log.h"
#include "base/kv_exception.h"
#include "base/shell_words.h"
#include "controllers/controller_wescal.h"

namespace {

constexpr int32_t kFamilyAutoRebuild = 6;
constexpr int32_t kFamilyModePageControl = 8;
// A LUN size holds blocks minus one; 2^21 blocks of 512 bytes make 1 GB.
constexpr unsigned kBlocksPerGbShift = 21;
const char* onOff(uint8_t value) {
    return value != 0 ? "on" : "off";
}

// "Rebuild" or "Verify" for a background task number.
const char* taskWord(int task) {
    return task == 0 ? "Rebuild" : "Verify";
}

// The rate line's text for rates 1 to 5; empty for any other rate.
std::string rateText(int32_t rate, const std::string& task) {
    switch (rate) {
        case 1:
            return " background task rate = 1 (fastest I/O; slowest " + task + ")\n";
        case 2:
            return " background task rate = 2 (faster I/O; slower " + task + ")\n";
        case 3:
            return " background task rate = 3 (balanced " + task + " and I/O)\n";
        case 4:
            return " background task rate = 4 (faster " + task + "; slower I/O)\n";
        case 5:
            return " background task rate = 5 (fastest " + task + "; slowest I/O)\n";
        default:
            return std::string();
    }
}

// The speed of a PCI-X bus: the first of its speed bits.
const char* pcixSpeed(uint32_t bits) {
    if ((bits & 32) != 0)
        return "66 Mhz";
    if ((bits & 64) != 0)
        return "100 Mhz";
    return "133 Mhz";
}

// The width of a PCIe bus: the first of its lane bits.
const char* pcieWidth(uint32_t bits) {
    static const struct {
        uint32_t bit;
        const char* text;
    } kLanes[] = {
        {0x800, "1 lane"}, {0x1000, "4 lanes"}, {0x2000, "8 lanes"}, {0x4000, "16 lanes"}};
    for (const auto& lanes : kLanes) {
        if ((bits & lanes.bit) != 0)
            return lanes.text;
    }
    return "Unknown";
}

}  // namespace

std::string ControllerWescal::getForceDriveCacheOn() {
    uint8_t value = 0;
    if (Api::GetForceDriveCacheOn(objectId, &value) != 0)
        throwFailedApiError();
    return value == 1 ? "ON" : "OFF";
}

std::string ControllerWescal::getAvMode() {
    uint8_t value = 0;
    if (Api::GetAvMode(objectId, &value) != 0)
        throwFailedApiError();
    return onOff(value);
}

std::string ControllerWescal::getLbaReorder() {
    uint8_t value = 0;
    if (Api::GetLbaReordering(objectId, &value) != 0) {
        std::cout << " ... Failed." << std::endl;
        throwApiError();
    }
    return onOff(value);
}

uint8_t ControllerWescal::getAutoRebuildPolicy() {
    uint8_t policy = 0;
    if (Api::GetAutoRebuild(objectId, &policy) != 0)
        throwApiError();
    return policy;
}

std::string ControllerWescal::getAutoRebuild(const std::string& mode) {
    if (family < kFamilyAutoRebuild)
        return "Not Supported.";
    return textOrEmpty(mode, [this] { return std::string(onOff(getAutoRebuildPolicy())); });
}

uint64_t ControllerWescal::getLunSize() {
    uint64_t size = 0;
    if (Api::GetLunSize(objectId, &size) != 0)
        throwApiError();
    return size;
}

std::string ControllerWescal::getCarveSize(const std::string& mode) {
    return textOrEmpty(
        mode, [this] { return std::to_string((getLunSize() + 1) >> kBlocksPerGbShift) + " GB"; });
}

ControllerWescal::BusInfo ControllerWescal::decodeBusInfo(uint32_t bits) {
    const char* bitWidth = (bits & 4) != 0 ? "64 bits" : "32 bits";
    if ((bits & 0x300) != 0)
        return {"PCIe", pcieWidth(bits), (bits & 0x100) != 0 ? "2.5 Gbps/lane" : "5.0 Gbps/lane"};
    if ((bits & (8 | 16)) != 0)
        return {"PCI", bitWidth, (bits & 8) != 0 ? "33 Mhz" : "66 Mhz"};
    if ((bits & (32 | 64 | 128)) != 0)
        return {"PCIX", bitWidth, pcixSpeed(bits)};
    return {"Unknown", "Unknown", "Unknown"};
}

void ControllerWescal::showControllerBus() {
    uint32_t bits = 0;
    const bool read = Api::GetControllerBusInfo(objectId, &bits) == 0;
    const BusInfo bus = read ? decodeBusInfo(bits) : BusInfo{"Error", "Error", "Error"};
    std::cout << "/" << name << " Controller Bus Type = " << bus.type << "\n"
              << "/" << name << " Controller Bus Width = " << bus.width << "\n"
              << "/" << name << " Controller Bus Speed = " << bus.speed << "\n"
              << std::flush;
    if (!read)
        throwApiError();
}

void ControllerWescal::showModePageControl(std::istream& words) {
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidShowArgument);
    if (family < kFamilyModePageControl)
        throwError(kInvalidControllerOperation);
    std::cout << "/" << name << " Mode Page Control setting = " << std::flush;
    uint8_t value = 0;
    if (Api::GetModePageControl(objectId, &value) != 0)
        throwApiError();
    std::cout << (value == 1 ? "Ignore\n" : "Honor\n");
}

// A task setting that cannot be read: the single attribute fails with the
// library's error; the whole "show all" list prints it in the setting's
// place and goes on, as it does for the identity texts.
void ControllerWescal::reportFailedRead(bool summary) {
    if (!summary)
        throwApiError();
    std::cout << apiErrorMessage() << "\n";
}

void ControllerWescal::showBackgroundTask(int task, bool isRate, bool summary) {
    const std::string word = taskWord(task);
    const std::string start = "/" + name + " " + word;
    if (!isRate) {
        uint32_t level37 = 0;
        if (Api::HasFirmwareCompatLevel37(objectId, &level37) != 0)
            throwApiError();
        if (level37 == 0) {
            if (summary)
                return;
            throwError(kFeatureNotSupported);
        }
        uint8_t mode = 0;
        if ((task == 0 ? Api::GetRebuildMode(objectId, &mode)
                       : Api::GetVerifyMode(objectId, &mode)) != 0)
            return reportFailedRead(summary);
        // Modes other than adaptive and low latency have no text.
        if (mode > 1)
            return;
        const char* modeText = mode == 0 ? "Adaptive" : "Low Latency";
        std::cout << start << (summary ? " Mode = " : " background task mode = ") << modeText
                  << "\n";
        return;
    }
    int32_t rate = 0;
    if ((task == 0 ? Api::GetRebuildRate(objectId, &rate) : Api::GetVerifyRate(objectId, &rate)) !=
        0)
        return reportFailedRead(summary);
    const std::string text = rateText(rate, word);
    if (text.empty())
        return;
    if (summary)
        std::cout << start << " Rate = " << rate << "\n";
    else
        std::cout << start << text;
}

// --- The setters of "set" ---

namespace {

// The auto-rebuild policy bits that "on" sets.
constexpr uint8_t kAutoRebuildAll = 1 | 2 | 4;
// The auto-carving size in whole gigabytes.
constexpr long kMinCarveGb = 1024;
constexpr long kMaxCarveGb = 32768;

// The background task modes.
constexpr uint8_t kModeAdaptive = 0;
constexpr uint8_t kModeLowLatency = 1;

}  // namespace

int ControllerWescal::setForceDriveCacheOn(std::istream& words, const std::string& word) {
    const std::string value = shell_words::valueAfterEquals(word);
    if (value == "on")
        return enableForceDriveCacheOn(words);
    if (value == "off")
        return disableForceDriveCacheOn(words);
    throwError(kInvalidSetCommand);
}

int ControllerWescal::enableForceDriveCacheOn(std::istream& words) {
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidSetCommand);
    runWithProgress(
        "Enabling controller /c" + std::to_string(number) + " force drive cache on policy ... ",
        [this] { return Api::EnableForceDriveCacheOn(objectId); });
    return 0;
}

int ControllerWescal::disableForceDriveCacheOn(std::istream& words) {
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidSetCommand);
    runWithProgress(
        "Disabling controller /c" + std::to_string(number) + " force drive cache on policy ... ",
        [this] { return Api::DisableForceDriveCacheOn(objectId); });
    return 0;
}

int ControllerWescal::setAvMode(const std::string& word) {
    if (word == "avmode=on") {
        runWithProgress("Enabling AV Mode Policy on /" + name + "... ",
                        [this] { return Api::EnableAvMode(objectId); });
    } else if (word == "avmode=off") {
        runWithProgress("Disabling AV Mode Policy on /" + name + "... ",
                        [this] { return Api::DisableAvMode(objectId); });
    } else {
        throwError(kInvalidControllerCommandValue);
    }
    return 0;
}

int ControllerWescal::setLbaReorder(std::istream& words, const std::string& word) {
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidSetArgument);
    const std::string value = shell_words::valueAfterEquals(word);
    if (value != "on" && value != "off")
        throwError(kInvalidControllerCommand);
    printProgress("Setting LBA Reordering on /" + name + " to [" + value + "]");
    const int result =
        value == "on" ? Api::EnableLbaReordering(objectId) : Api::DisableLbaReordering(objectId);
    if (result != 0)
        throwApiError();
    std::cout << " ... Done." << std::endl;
    return 0;
}

int ControllerWescal::setAutoRebuild(const std::string& word) {
    const std::string value = shell_words::valueAfterEquals(word);
    printProgress("Setting Auto-Rebuild Policy on /" + name + " to " + value + " ... ");
    uint8_t policy = 0;
    if (value == "on") {
        policy = kAutoRebuildAll;
    } else if (value != "off") {
        std::cout << "Failed." << std::endl;
        throwError(kInvalidControllerCommandValue);
    }
    return setAutoRebuildPolicy(policy);
}

int ControllerWescal::setAutoRebuildPolicy(uint8_t policy) {
    if (auditLog().SetAutoRebuild(objectId, policy) != 0)
        throwFailedApiError();
    printDone();
    return 0;
}

int ControllerWescal::setCarveSize(const std::string& word) {
    const std::string value = shell_words::valueAfterEquals(word);
    // The size is read as every setting's number is; the progress line
    // shows the value as typed.
    const long long gigabytes = shell_words::leadingNumber(value);
    if (gigabytes < kMinCarveGb || gigabytes > kMaxCarveGb)
        throwError(kInvalidCarveSize);
    printProgress("Setting Auto-Carving Size on /" + name + " to [" + value + " GB] ... ");
    return setLunSize((static_cast<uint64_t>(gigabytes) << kBlocksPerGbShift) - 1);
}

int ControllerWescal::setLunSize(uint64_t size) {
    if (auditLog().SetLunSize(objectId, size) != 0)
        throwFailedApiError();
    printDone();
    return 0;
}

int ControllerWescal::setModePageControl(std::istream& words, const std::string& word) {
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidControllerCommand);
    if (family < kFamilyModePageControl)
        throwError(kInvalidControllerOperation);
    const std::string value = shell_words::valueAfterEquals(word);
    uint8_t ignore = 0;
    if (value == "ignore")
        ignore = 1;
    else if (value != "honor")
        throwError(kInvalidModePageControl);
    printProgress("Setting Mode Page Control of /" + name + " to [" + value + "]");
    if (Api::SetModePageControl(objectId, ignore) != 0)
        throwApiError();
    std::cout << " ... Done.\n";
    return 0;
}

void ControllerWescal::checkBackgroundTaskMode(uint8_t mode, const std::string& task) {
    uint32_t level37 = 0;
    if (Api::HasFirmwareCompatLevel37(objectId, &level37) != 0 || level37 == 0)
        throwError(kFeatureNotSupported);
    if (mode != kModeLowLatency)
        return;
    int32_t rate = 0;
    const int read = task == "verify" ? Api::GetVerifyRate(objectId, &rate)
                                      : Api::GetRebuildRate(objectId, &rate);
    if (read == 0 && rate == 1)
        std::cout << "\nWARNING: For the background task, setting mode to 'low latency' and\n"
                     "rate=1 (fastest I/O; slowest "
                  << task << ") may cause the task to never\ncomplete if host I/O is active.\n\n";
}

struct ControllerWescal::BackgroundTask {
    const char* task;
    const char* progress;
    int (Controller::*setRate)(std::istream&);
    int (AuditLog::*setMode)(ObjectId, uint8_t);
};

namespace {

const ControllerWescal::BackgroundTask kRebuildTask = {
    "rebuild", "Setting Rebuild background task mode of /", &Controller::setRebuildRate,
    &AuditLog::SetRebuildMode};
const ControllerWescal::BackgroundTask kVerifyTask = {
    "verify", "Setting Verify background task mode of /", &Controller::setVerifyRate,
    &AuditLog::SetVerifyMode};

}  // namespace

int ControllerWescal::setRebuildBackgroundTask(std::istream& words, const std::string& word,
                                               int isRate) {
    return setBackgroundTask(kRebuildTask, words, word, isRate != 0);
}

int ControllerWescal::setVerifyBackgroundTask(std::istream& words, const std::string& word,
                                              int isRate) {
    return setBackgroundTask(kVerifyTask, words, word, isRate != 0);
}

int ControllerWescal::setBackgroundTask(const BackgroundTask& task, std::istream& words,
                                        const std::string& word, bool isRate) {
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidControllerCommand);
    const std::string value = shell_words::valueAfterEquals(word);
    if (isRate) {
        if (value.find_first_not_of("0123456789") != std::string::npos)
            throwError(kInvalidRate);
        std::istringstream rate(value);
        return (this->*task.setRate)(rate);
    }
    uint8_t mode = kModeAdaptive;
    if (value == "lowlatency")
        mode = kModeLowLatency;
    else if (value != "adaptive")
        throwError(kInvalidTaskMode);
    checkBackgroundTaskMode(mode, task.task);
    printProgress(task.progress + name + " to [" + value + "]");
    if ((auditLog().*task.setMode)(objectId, mode) != 0)
        throwApiError();
    std::cout << " ... Done\n";
    return 0;
}
