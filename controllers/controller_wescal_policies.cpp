// The controller-wide policies of the newer family as "show" reads them:
// force drive cache on, AV mode, LBA reordering, automatic rebuild, the
// auto-carving LUN size, mode page control, the background task modes and
// rates, and the host bus.
#include <iostream>
#include <string>

#include "api/api.h"
#include "controllers/controller_wescal.h"
#include "shell/kv_exception.h"
#include "shell/shell_words.h"

namespace {

constexpr int32_t kFamilyAutoRebuild = 6;
constexpr int32_t kFamilyModePageControl = 8;
constexpr int kCliShowArgument = 56;
constexpr int kCliControllerOperation = 24;
constexpr int kCliNotSupported = 149;
// A LUN size holds blocks minus one; 2^21 blocks of 512 bytes make 1 GB.
constexpr unsigned kBlocksPerGbShift = 21;
// A rate the controller reports when it cannot be read.
constexpr int32_t kDefaultRate = 3;

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
        throwError(kCliShowArgument);
    if (family < kFamilyModePageControl)
        throwError(kCliControllerOperation);
    std::cout << "/" << name << " Mode Page Control setting = " << std::flush;
    uint8_t value = 0;
    if (Api::GetModePageControl(objectId, &value) != 0)
        throwApiError();
    std::cout << (value == 1 ? "Ignore\n" : "Honor\n");
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
            throwError(kCliNotSupported);
        }
        uint8_t mode = 0;
        if (task == 0)
            (void)Api::GetRebuildMode(objectId, &mode);
        else
            (void)Api::GetVerifyMode(objectId, &mode);
        // Modes other than adaptive and low latency have no text.
        if (mode > 1)
            return;
        const char* modeText = mode == 0 ? "Adaptive" : "Low Latency";
        std::cout << start << (summary ? " Mode = " : " background task mode = ") << modeText
                  << "\n";
        return;
    }
    int32_t rate = kDefaultRate;
    if (task == 0)
        (void)Api::GetRebuildRate(objectId, &rate);
    else
        (void)Api::GetVerifyRate(objectId, &rate);
    const std::string text = rateText(rate, word);
    if (text.empty())
        return;
    if (summary)
        std::cout << start << " Rate = " << rate << "\n";
    else
        std::cout << start << text;
}
