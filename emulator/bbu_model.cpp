#include "emulator/bbu_model.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "emulator/controller_codes.h"
#include "emulator/fields.h"
#include "emulator/model_paths.h"

namespace emulator {

using nlohmann::json;

namespace {

// The battery's status and level codes by the labels the tool prints for
// them; a number stands for itself.
const char* const kBbuStatusNames[] = {"OK",    "-",     "NoBattery", "Testing", "Charging",
                                       "Fault", "Error", "WeakBat",   "Failed",  "Unknown"};
const char* const kBbuLevelNames[] = {"OK", "Low", "High", "TooLow", "TooHigh"};

template <size_t N>
uint64_t codeByName(const json& bbu, const char* key, const char* const (&names)[N],
                    uint64_t fallback) {
    auto it = bbu.find(key);
    if (it == bbu.end())
        return fallback;
    if (it->is_string()) {
        for (size_t i = 0; i < N; ++i) {
            if (it->get<std::string>() == names[i])
                return i;
        }
        return fallback;
    }
    return numberOr(&*it, fallback);
}

constexpr uint32_t kBbuPresentBit = 1u << 31;
constexpr uint32_t kBbuBatteryBit = 1u << 30;
constexpr uint32_t kBbuReadyBit = 1u << 3;
constexpr uint64_t kLevelOk = 0;
constexpr uint64_t kBbuStatusOk = 0;
constexpr uint64_t kBbuStatusTesting = 3;

// The controller's BBU codes for a battery test it cannot start.
constexpr uint16_t kFwBbuInUse = 0x0302;
constexpr uint16_t kFwBbuNeedsBattery = 0x0303;
constexpr uint16_t kFwBbuNotPresent = 0x0382;
constexpr uint16_t kFwBbuNotReady = 0x0383;

}  // namespace

void deriveBbuStatusWord(const ControllerModel& model, const json*, Bytes& out) {
    const json& ctl = model.json();
    auto it = ctl.find("bbu");
    if (it == ctl.end() || !it->is_object())
        return;
    const json& bbu = *it;
    if (bbu.find("status_word") != bbu.end()) {
        put32(out, 0, numberOr(findModel(bbu, "status_word"), 0));
        return;
    }
    uint32_t word = 0;
    if (flagField(bbu, "present", true))
        word |= kBbuPresentBit;
    if (flagField(bbu, "battery", true))
        word |= kBbuBatteryBit;
    if (flagField(bbu, "ready", true))
        word |= kBbuReadyBit;
    word |= static_cast<uint32_t>(codeByName(bbu, "voltage", kBbuLevelNames, kLevelOk) & 7) << 4;
    word |= static_cast<uint32_t>(codeByName(bbu, "temperature", kBbuLevelNames, kLevelOk) & 7)
            << 8;
    put32(out, 0, word);
}

void deriveBbuStatus(const ControllerModel& model, const json*, Bytes& out) {
    const json& ctl = model.json();
    auto it = ctl.find("bbu");
    if (it == ctl.end() || !it->is_object())
        return;
    put8(out, 0, codeByName(*it, "status", kBbuStatusNames, kBbuStatusOk));
}
FirmwareResult startBatteryTest(json& ctl, const ControllerModel& model, ConstByteSpan command) {
    FirmwareResult result;
    if (get16(command, kCmdHeaderSize + 6) != 1) {
        result.code = kFwInvalidField;
        return result;
    }
    Bytes word(4, 0);
    deriveBbuStatusWord(model, nullptr, word);
    const uint32_t status = get32(word, 0);
    if ((status & kBbuPresentBit) == 0) {
        result.code = kFwBbuNotPresent;
        return result;
    }
    json& bbu = ctl["bbu"];
    if ((status & kBbuBatteryBit) == 0 || numberOr(findModel(bbu, "enabled"), 1) == 0) {
        result.code = kFwBbuNeedsBattery;
        return result;
    }
    if ((status & kBbuReadyBit) == 0) {
        result.code = kFwBbuNotReady;
        return result;
    }
    if (codeByName(bbu, "status", kBbuStatusNames, kBbuStatusOk) == kBbuStatusTesting) {
        result.code = kFwBbuInUse;
        return result;
    }
    bbu["status"] = kBbuStatusNames[kBbuStatusTesting];
    result.changed = true;
    return result;
}

}  // namespace emulator
