#include "devices/alarm.h"

#include <iostream>
#include <string>

#include "api/api.h"
#include "api/api_error.h"
#include "base/help.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "devices/enclosure.h"

namespace {

using element_texts::CodeText;
using element_texts::textOfCode;

constexpr int kLowestTone = 1;
constexpr int kHighestTone = 4;

constexpr CodeText kStatusTexts[] = {
    {0, "OK"}, {3, "OK"}, {1, "ACTIVATED"}, {5, "ACTIVATED"}, {2, "NOT-INSTALLED"}, {4, "FAIL"},
};
constexpr CodeText kStateTexts[] = {{0, "OFF"}, {1, "ON"}};
constexpr CodeText kAudibilityTexts[] = {{0, "UNMUTE"}, {1, "MUTE"}};

// A value word ("mute", "off" ...) must be the last word of the command.
void requireLastWord(std::istream& words) {
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidEnclosureAlarmCommand);
}

}  // namespace

Alarm::Alarm(Enclosure* owner, const std::string& alarmName, uint32_t alarmNumber, ObjectId alarmId)
    : EnclosureElement(owner, alarmName, alarmNumber, alarmId) {}

Alarm::~Alarm() = default;

int Alarm::execute(std::istream& words) {
    return runShowSet(*this, words, kInvalidAlarmCommandSyntax, kInvalidAlarmCommand,
                      &Help::showEnclosureAlarmHelp);
}

void Alarm::show(std::istream& words) {
    if (atStreamEnd(words)) {
        showRow(true);
        return;
    }
    if (!shell_words::isHelpWord(shell_words::nextWord(words)))
        throwError(kInvalidAlarmCommandSyntax);
    showHelp(&Help::showEnclosureAlarmHelp, "show");
}

void Alarm::set(std::istream& words) {
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidAlarmCommandSyntax);
    const std::string word = shell_words::nextWord(words);
    if (word.find("alarm") != std::string::npos)
        setAlarm(words, word);
    else if (shell_words::isHelpWord(word))
        showHelp(&Help::showEnclosureAlarmHelp, "set");
    else
        throwError(kInvalidAlarmCommandSyntax);
}

void Alarm::setAlarm(std::istream& words, const std::string& attribute) {
    const std::string value = shell_words::valueAfterEquals(attribute);
    const std::string prefix = "Setting alarm ";
    const std::string target = " of " + getDisplayPath() + " to [" + value + "]";
    if (value == "mute") {
        requireLastWord(words);
        const int result = Api::MuteAlarm(id);
        if (result < 0) {
            ApiErrorRecord record{};
            Api::GetLastErrorRecord(&record);
            if (record.apiCode == kApiNotSupported)
                throwError(kMuteNotSupported);
            throwApiError();
        }
        std::cout << prefix << "audibility" << target << " ... Done.\n";
        requireLockReleased(result);
    } else if (value == "unmute") {
        requireLastWord(words);
        const int result = Api::UnmuteAlarm(id);
        if (result < 0)
            throwApiError();
        std::cout << prefix << "audibility" << target << " ... Done.\n";
        requireLockReleased(result);
    } else if (value == "off") {
        requireLastWord(words);
        if (Api::SetAlarmOff(id) != 0)
            throwApiError();
        std::cout << prefix << "state" << target << " ... Done.\n";
    } else if (value == "on") {
        if (!shell_words::hasMoreWords(words))
            throwError(kInvalidAlarmStateChange);
        const std::string toneWord = shell_words::nextWord(words);
        if (toneWord.find("tone") == std::string::npos)
            throwError(kInvalidEnclosureAlarmCommand);
        const long long tone = shell_words::leadingNumber(shell_words::valueAfterEquals(toneWord));
        if (tone < kLowestTone || tone > kHighestTone)
            throwError(kInvalidAlarmStateChange);
        if (Api::SetAlarmTone(id, static_cast<uint8_t>(tone)) != 0)
            throwApiError();
        std::cout << prefix << "state" << target << " with tone=[" << tone << "] ... Done.\n";
    } else {
        throwError(kInvalidEnclosureAlarmCommand);
    }
}

std::string Alarm::getAttributeText(int kind) {
    switch (kind) {
        case kStatus: {
            uint32_t status = 0;
            if (Api::GetAlarmStatus(id, &status) != 0)
                return "-";
            return textOfCode(kStatusTexts, status, "-");
        }
        case kState: {
            uint8_t sounding = 0;
            if (Api::GetAlarmState(id, &sounding) != 0)
                return "-";
            return textOfCode(kStateTexts, sounding, "-");
        }
        case kAudibility: {
            uint8_t muted = 0;
            if (Api::GetAlarmMute(id, &muted) != 0)
                return "-";
            return textOfCode(kAudibilityTexts, muted, "-");
        }
        default:
            return "-";
    }
}

void Alarm::showRow(bool withHeader) {
    if (withHeader) {
        std::cout << "\n"
                  << "Alarm     Status          State     Audibility\n"
                  << std::string(48, '-') << "\n";
    }
    const std::string status = getAttributeText(kStatus);
    std::cout << ShellServices::padText(name, 10) << ShellServices::padText(status, 16);
    if (status == "OK" || status == "ACTIVATED") {
        const std::string state = getAttributeText(kState);
        const std::string audibility = getAttributeText(kAudibility);
        std::cout << ShellServices::padText(state, 10) << ShellServices::padText(audibility, 13);
    } else {
        std::cout << ShellServices::padText("-", 10) << ShellServices::padText("-", 13);
    }
    std::cout << "\n";
}
