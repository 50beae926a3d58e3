#include "devices/fan.h"

#include <iostream>
#include <string>

#include "api/api.h"
#include "base/help.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "devices/enclosure.h"

namespace {

using element_texts::CodeText;
using element_texts::textOfCode;

constexpr int kHighestSpeed = 7;

// The fan commands' help topic.
constexpr element_help::ByProtocol<element_help::Topic> kHelp{&Help::showControllerEnclosureFanHelp,
                                                              &Help::showEnclosureFanHelp};

// The library's fan status codes.
constexpr CodeText kStatusTexts[] = {
    {0, "OK"}, {1, "FAIL"}, {2, "NOT-INSTALLED"}, {3, "OFF"}, {128, "NOT-REPORTABLE"},
};

}  // namespace

Fan::Fan(Enclosure* owner, const std::string& fanName, uint32_t fanNumber, ObjectId fanId)
    : EnclosureElement(owner, fanName, fanNumber, fanId) {}

Fan::~Fan() = default;

int Fan::execute(std::istream& words) {
    return runShowSet(*this, words, kInvalidFanCommandSyntax, kInvalidFanCommand, helpFor(kHelp));
}

void Fan::show(std::istream& words) {
    runShow(
        *this, words, AfterHelp::GoOn, [this] { showHelp(helpFor(kHelp), "show"); },
        inSesEnclosure(), kInvalidFanCommandSyntax);
}

void Fan::set(std::istream& words) {
    requireWord(words, kInvalidFanCommandSyntax);
    const bool ses = inSesEnclosure();
    // Outside SES enclosures the help topic has no "set" and refuses it.
    runWords(
        words, AfterHelp::End, [this] { showHelp(helpFor(kHelp), "set"); },
        [this, ses](const std::string& word) {
            if (!ses)
                throwError(kInvalidFanCommandSyntax);
            if (!isIdentifyWord(word) && word.find("speed=") != std::string::npos)
                setSpeed(shell_words::leadingNumberAs<int32_t>(word.substr(word.find('=') + 1)));
            else
                setIdentifyWord(*this, word, kInvalidFanCommandSyntax);
        });
}

void Fan::setSpeed(int speed) {
    if (speed < 0 || speed > kHighestSpeed) {
        std::cout << " Fan speed must be in range of {0..7}" << std::endl;
        return;
    }
    if (Api::SetFanSpeed(id, static_cast<uint8_t>(speed)) != 0) {
        std::cout << "Setting of fan speed not supported." << std::endl;
        return;
    }
    std::cout << " Setting fan speed on " << getDisplayPath() << " to [" << speed << "]"
              << std::endl;
}

void Fan::setIdentify(const std::string& value) {
    if (changeIdentify(value, kInvalidFanCommandSyntax, "Fan", "Fan Identify is not supported.\n\n",
                       Api::SetFanIdentify) == IdentifyChange::Refused)
        std::cout << "Identify fan is not supported in API" << std::endl;
}

std::string Fan::getStatusText() {
    uint8_t status = 0;
    if (Api::GetFanStatus(id, &status) != 0)
        return "-";
    return textOfCode(kStatusTexts, status, "");
}

std::string Fan::getSpeedText() {
    uint8_t code = 0;
    if (Api::GetFanSpeed(id, &code) != 0)
        return "-";
    return code <= kHighestSpeed ? std::to_string(code) : "N/A";
}

uint32_t Fan::getRpm() {
    uint32_t rpm = kNoRpm;
    if (Api::GetFanRpm(id, &rpm) != 0)
        return kNoRpm;
    return rpm;
}

std::string Fan::getIdentifyText() {
    const std::optional<std::string> text = readIdentifyText(Api::GetFanIdentify);
    if (text)
        return *text;
    std::cout << "Identify fan is not supported." << std::endl;
    return "-";
}

void Fan::showRow(bool withHeader) {
    if (inSesEnclosure()) {
        if (withHeader) {
            std::cout << "\n"
                      << std::string(36, ' ') << "---Speed--- \n"
                      << "Fan         Status          State   Step   RPM     Identify\n"
                      << std::string(60, '-') << "\n";
        }
        const std::string status = getStatusText();
        const std::string identify = getIdentifyText();
        const std::string step = getSpeedText();
        std::string state = "-";
        if (step == "0" && status == "OFF")
            state = "OFF";
        else if (step != "0" && status == "OK")
            state = "ON";
        const uint32_t rpm = getRpm();
        std::cout << ShellServices::padText(name, 12) << ShellServices::padText(status, 16)
                  << ShellServices::padText(state, 8) << ShellServices::padText(step, 7)
                  << (rpm == kNoRpm ? ShellServices::padText("N/A", 8)
                                    : ShellServices::padNumber(rpm, 8))
                  << ShellServices::padText(identify, 8) << "\n";
    } else if (inSafteEnclosure()) {
        if (withHeader) {
            std::cout << "\n"
                      << ShellServices::padText("Fan", 10) << ShellServices::padText("Status", 16)
                      << "\n"
                      << std::string(24, '-') << "\n";
        }
        std::cout << ShellServices::padText(name, 10) << ShellServices::padText(getStatusText(), 16)
                  << "\n";
    }
}
