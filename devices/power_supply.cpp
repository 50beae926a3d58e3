#include "devices/power_supply.h"

#include <iostream>
#include <string>

#include "api/api.h"
#include "base/help.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "devices/enclosure.h"

namespace {

// The status and state texts of each status code.
struct SupplyStatus {
    uint8_t code;
    const char* status;
    const char* state;
};
constexpr SupplyStatus kStatuses[] = {
    {0, "OK", "on"},   {1, "FAIL", "off"},    {2, "NOT-INSTALLED", "-"},
    {3, "OFF", "off"}, {128, "UNKNOWN", "-"},
};
constexpr SupplyStatus kOtherStatus = {0xFF, "-", "-"};

// The DC condition bits; a supply may report several at once.
constexpr uint8_t kOverVoltage = 0x08;
constexpr uint8_t kUnderVoltage = 0x04;
constexpr uint8_t kOverCurrent = 0x02;

}  // namespace

PowerSupply::PowerSupply(Enclosure* owner, const std::string& supplyName, uint32_t supplyNumber,
                         ObjectId supplyId)
    : EnclosureElement(owner, supplyName, supplyNumber, supplyId) {}

PowerSupply::~PowerSupply() = default;

int PowerSupply::execute(std::istream& words) {
    const std::string word = commandWord(words, kInvalidPowerSupplyCommandSyntax);
    if (shell_words::isHelpWord(word)) {
        showHelp(&Help::showEnclosurePowerSupplyHelp, "all");
    } else if (word == "show" && inSesEnclosure()) {
        show(words);
    } else if (word == "set" && inSesEnclosure()) {
        set(words);
    } else {
        throwError(kNoSuchPowerSupply);
    }
    return 0;
}

void PowerSupply::show(std::istream& words) {
    runShow(
        *this, words, AfterHelp::GoOn,
        [] { showHelp(&Help::showEnclosurePowerSupplyHelp, "show"); }, true,
        kInvalidPowerSupplyCommandSyntax);
}

void PowerSupply::set(std::istream& words) {
    runWords(
        words, AfterHelp::GoOn, [] { showHelp(&Help::showEnclosurePowerSupplyHelp, "set"); },
        [this](const std::string& word) {
            setIdentifyWord(*this, word, kInvalidPowerSupplyCommandSyntax);
        });
}

void PowerSupply::setIdentify(const std::string& value) {
    if (changeIdentify(value, kInvalidPowerSupplyCommandSyntax, "Power Supply",
                       "Power Supply Identify is not supported.\n",
                       Api::SetPowerSupplyIdentify) == IdentifyChange::Refused)
        throwApiError();
}

void PowerSupply::getStatusText(std::string& status, std::string& state) {
    uint8_t code = 0;
    if (Api::GetPowerSupplyStatus(id, &code) != 0)
        throwApiError();
    const SupplyStatus* found = &kOtherStatus;
    for (const SupplyStatus& each : kStatuses) {
        if (each.code == code)
            found = &each;
    }
    status = found->status;
    state = found->state;
}

void PowerSupply::getVoltageCurrentText(std::string& voltage, std::string& current) {
    uint8_t condition = 0;
    if (Api::GetPowerSupplyVoltageCurrent(id, &condition) != 0)
        throwApiError();
    voltage = (condition & kOverVoltage) != 0    ? "OVER-VOLTAGE"
              : (condition & kUnderVoltage) != 0 ? "UNDER-VOLTAGE"
                                                 : "OK";
    current = (condition & kOverCurrent) != 0 ? "OVER-CURRENT" : "OK";
}

std::string PowerSupply::getIdentifyText() {
    const std::optional<std::string> text = readIdentifyText(Api::GetPowerSupplyIdentify);
    if (!text)
        throwApiError();
    return *text;
}

void PowerSupply::showRow(bool withHeader) {
    if (!inSesEnclosure())
        return;
    if (withHeader) {
        std::cout << "\n"
                  << "PowerSupply  Status         State  Voltage        Current        Identify\n"
                  << std::string(75, '-') << "\n";
    }
    std::string status;
    std::string state;
    getStatusText(status, state);
    std::string voltage = "-";
    std::string current = "-";
    if (status == "OK")
        getVoltageCurrentText(voltage, current);
    const std::string identify = getIdentifyText();
    std::cout << ShellServices::padText(name, 13) << ShellServices::padText(status, 15)
              << ShellServices::padText(state, 7) << ShellServices::padText(voltage, 15)
              << ShellServices::padText(current, 15) << ShellServices::padText(identify, 8) << "\n";
}
