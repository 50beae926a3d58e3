#include "devices/phy.h"

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

#include "api/api.h"
#include "base/help.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "base/shell_words.h"

using shell_words::hasMoreWords;
using shell_words::isHelpWord;
using shell_words::nextWord;

namespace {

// The texts of one link speed code in the three speed columns, and the
// word "set link=" takes for it with the text its progress line shows.
struct LinkSpeedTexts {
    uint8_t code;
    const char* supported;  // "Supported": the speeds the phy can run
    const char* current;    // "Enabled": the speed it runs now
    const char* limit;      // "Control": the limit set on it
    const char* setWord;    // null: no limit of this code can be set
    const char* setText;
};
constexpr LinkSpeedTexts kLinkSpeeds[] = {
    {kLinkSpeedAuto, "", "-", "Auto", "auto", "auto"},
    {kLinkSpeed1_5, "1.5", "1.5", "1.5", "1.5", "1.5 Gbps"},
    {kLinkSpeed3_0, "3.0", "3.0", "3.0", "3.0", "3.0 Gbps"},
    {kLinkSpeedBoth, "1.5-3.0", "-", "-", nullptr, nullptr},
};
constexpr LinkSpeedTexts kUnknownLinkSpeed = {0xFF, "", "-", "-", nullptr, nullptr};

const LinkSpeedTexts& linkSpeedTexts(uint8_t code) {
    for (const LinkSpeedTexts& each : kLinkSpeeds) {
        if (each.code == code)
            return each;
    }
    return kUnknownLinkSpeed;
}

// Device types behind a phy, 1 to 4.
constexpr const char* kDeviceTypes[] = {"SATA", "SAS", "ENCL", "ENCL-ERR"};

// The show grammar tests the stream itself, without skipping white space.
bool atEnd(std::istream& words) {
    return words.peek() == std::char_traits<char>::eof();
}

// A speed the library must answer; a failed read ends the command.
uint8_t requireSpeed(int (*read)(ObjectId, uint8_t*), ObjectId id) {
    uint8_t speed = 0;
    if (read(id, &speed) != 0)
        throwApiError();
    return speed;
}

void showHelp(const std::string& word) {
    theShell->getHelp()->showPhyHelp(word);
}

}  // namespace

Phy::Phy(ControllerView* controller, const std::string& phyName, uint32_t phyNumber, ObjectId phyId)
    : owner(controller),
      name(phyName),
      number(phyNumber),
      id(phyId),
      path("/" + controller->getName() + "/" + phyName) {}

Phy::~Phy() = default;

int Phy::execute(std::istream& words) {
    if (!hasMoreWords(words))
        throwError(kInvalidPhyCommand);
    std::string word;
    if (!(words >> word))
        throwError(kInvalidPhyCommand);
    if (isHelpWord(word)) {
        showHelp("all");
    } else if (word == "show") {
        show(words);
    } else if (word == "set") {
        set(words);
    } else {
        throwError(kInvalidPhyCommand);
    }
    return 0;
}

void Phy::show(std::istream& words) {
    if (atEnd(words)) {
        showRow(false);
        return;
    }
    const std::string word = nextWord(words);
    if (word == "all") {
        if (!atEnd(words))
            throwError(kInvalidPhyShow);
        showRow(false);
    } else if (isHelpWord(word)) {
        if (!atEnd(words))
            throwError(kInvalidHelpArgument);
        showHelp("show");
    } else {
        throwError(kInvalidPhyShow);
    }
}

void Phy::set(std::istream& words) {
    if (!hasMoreWords(words))
        throwError(kInvalidPhyCommand);
    std::string word;
    while (words >> word) {
        if (word.find("link=") != std::string::npos) {
            // The value is the rest after the first "=", taken as one word.
            std::istringstream valueWords(word.substr(word.find('=') + 1));
            setLinkSpeedControl(nextWord(valueWords));
        } else if (isHelpWord(word)) {
            showHelp("set");
        } else {
            throwError(kInvalidPhyCommand);
        }
    }
}

void Phy::setLinkSpeedControl(const std::string& value) {
    std::cout << "Setting Link Speed Control on " << path << " to [";
    const LinkSpeedTexts* chosen = nullptr;
    for (const LinkSpeedTexts& each : kLinkSpeeds) {
        if (each.setWord != nullptr && value == each.setWord)
            chosen = &each;
    }
    // The value is looked at only once the line has begun: a refused
    // value leaves it open.
    if (chosen == nullptr)
        throwError(kInvalidPhyCommand);
    std::cout << chosen->setText << "] ... " << std::flush;
    if (Api::SetPhyLinkSpeedControl(id, chosen->code) != 0)
        throwApiError();
    std::cout << "Done.\n" << std::endl;
}

void Phy::showHeader() {
    std::cout << "\n"
              << "                             Device              --- Link Speed (Gbps) ---\n"
              << "Phy     SAS Address          Type     Device     Supported  Enabled  Control\n"
              << std::string(77, '-') << "\n";
}

void Phy::showRow(bool omitHeader) {
    if (!omitHeader)
        showHeader();
    std::cout << ShellServices::padText(name, 8) << ShellServices::padText(getSasAddressText(), 21);
    const std::string type = getDeviceTypeText();
    std::string device = "-";
    if (type == "ENCL")
        device = "N/A";
    else if (type == "SATA" || type == "SAS")
        device = getDeviceText();
    std::cout << ShellServices::padText(type, 9) << ShellServices::padText(device, 11)
              << ShellServices::padText(getLinkSpeedSupportedText(), 11);
    // Each of the last two cells may end the command: what was read before
    // stays on the line.
    std::cout << ShellServices::padText(getLinkSpeedText(), 9);
    std::cout << ShellServices::padText(getLinkSpeedControlText(), 7) << "\n";
}

std::string Phy::getSasAddressText() {
    uint8_t address[kWorldWideNameSize] = {};
    if (Api::GetPhySasAddress(id, address) != 0 || address[0] == 0)
        return "-";
    char digits[2 * kWorldWideNameSize + 1] = {};
    for (std::size_t i = 0; i < kWorldWideNameSize; ++i)
        std::snprintf(digits + 2 * i, sizeof digits - 2 * i, "%02x", address[i]);
    return digits;
}

std::string Phy::getDeviceTypeText() {
    uint8_t type = 0;
    if (Api::GetPhyDeviceType(id, &type) != 0 || type == 0 ||
        type > sizeof kDeviceTypes / sizeof kDeviceTypes[0])
        return "-";
    return kDeviceTypes[type - 1];
}

std::string Phy::getDeviceText() {
    ObjectId port = ObjectId::Blank();
    uint8_t controllerNumber = 0;
    uint8_t portNumber = 0;
    if (Api::GetPhyPortId(id, &port) != 0 ||
        Api::ParsePortId(port, &controllerNumber, &portNumber) != 0)
        return "-";
    return "/" + owner->getName() + "/p" + std::to_string(portNumber);
}

std::string Phy::getLinkSpeedSupportedText() {
    uint8_t speed = 0;
    if (Api::GetPhyLinkSpeedSupported(id, &speed) != 0)
        return "Unknown";
    return linkSpeedTexts(speed).supported;
}

std::string Phy::getLinkSpeedText() {
    return linkSpeedTexts(requireSpeed(Api::GetPhyLinkSpeed, id)).current;
}

std::string Phy::getLinkSpeedControlText() {
    return linkSpeedTexts(requireSpeed(Api::GetPhyLinkSpeedControl, id)).limit;
}
