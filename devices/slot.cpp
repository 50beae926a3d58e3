#include "devices/slot.h"

#include <iostream>
#include <string>

#include "api/api.h"
#include "base/help.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "devices/enclosure.h"

namespace {

// The slot commands' help topic, and the help lines of "show" and "set".
constexpr element_help::ByProtocol<element_help::Topic> kHelp{
    &Help::showControllerEnclosureSlotHelp, &Help::showEnclosureSlotHelp};
constexpr element_help::ByProtocol<element_help::Lines> kShowHelp{
    &Help::showControllerEnclosureSlotShowHelp, &Help::showEnclosureSlotShowHelp};
constexpr element_help::ByProtocol<element_help::Lines> kSetHelp{
    &Help::showControllerEnclosureSlotSetHelp, &Help::showEnclosureSlotSetHelp};

// The slot's status flags.
constexpr uint32_t kDevicePresent = 0x01;
constexpr uint32_t kEmpty = 0x02;
constexpr uint32_t kOccupied = 0x04;
constexpr uint32_t kDeviceOk = 0x08;

// A text the reader gives, or "-" when it throws.
template <class Read>
std::string orDash(Read read) {
    try {
        return read();
    } catch (KV_Exception&) {
        return "-";
    }
}

}  // namespace

Slot::Slot(Enclosure* owner, const std::string& slotName, uint32_t slotNumber, ObjectId slotId)
    : EnclosureElement(owner, slotName, slotNumber, slotId) {}

Slot::~Slot() = default;

int Slot::execute(std::istream& words) {
    return runShowSet(*this, words, kInvalidSlotCommandSyntax, kInvalidSlotCommand, helpFor(kHelp));
}

void Slot::show(std::istream& words) {
    runShow(
        *this, words, AfterHelp::End, [this] { showHelp(helpFor(kShowHelp)); }, true, kNoSuchSlot);
}

void Slot::set(std::istream& words) {
    requireWord(words, kInvalidSlotCommandSyntax);
    runWords(
        words, AfterHelp::End, [this] { showHelp(helpFor(kSetHelp)); },
        [this](const std::string& word) {
            setIdentifyWord(*this, word, kInvalidSlotCommandSyntax);
        });
}

void Slot::setIdentify(const std::string& value) {
    switch (identifySupport()) {
        case IdentifySupport::CheckFailed:
            std::cout << "Set Identify check is not supported by API." << std::endl;
            break;
        case IdentifySupport::NotSupported:
            std::cout << "Slot Identify is not supported.\n" << std::endl;
            return;
        case IdentifySupport::Supported:
            break;
    }
    const uint8_t on = identifyValue(value, kInvalidSlotCommandSyntax);
    if (!announceIdentify("Slot", value, on, Api::SetSlotIdentify))
        throwApiError();
}

std::string Slot::readStatus() {
    uint32_t flags = 0;
    if (Api::GetSlotStatus(id, &flags) != 0)
        throwApiError();
    if ((flags & kDevicePresent) == 0)
        return "NO-DEVICE";
    if ((flags & kDeviceOk) != 0)
        return "OK";
    if ((flags & kEmpty) != 0)
        return "EMPTY";
    if ((flags & kOccupied) != 0)
        return "OCCUPIED";
    return "Unknown";
}

std::string Slot::readPort() {
    ObjectId port = ObjectId::Blank();
    uint8_t controllerNumber = 0;
    uint8_t portNumber = 0;
    if (Api::GetSlotPortId(id, &port) != 0 ||
        Api::ParsePortId(port, &controllerNumber, &portNumber) != 0)
        throwApiError();
    // A SAF-TE slot without a device names port 255, which no controller
    // has: the slot has no port.
    if (portNumber == ObjectId::kNone)
        return "-";
    return "/c" + std::to_string(controllerNumber) + "/p" + std::to_string(portNumber);
}

std::string Slot::getStatusText() {
    return orDash([this] { return readStatus(); });
}

std::string Slot::getPortText() {
    return orDash([this] { return readPort(); });
}

std::string Slot::getIdentifyText() {
    return readIdentifyText(Api::GetSlotIdentify).value_or("-");
}

void Slot::showRow(bool withHeader) {
    if (withHeader) {
        std::cout << "\n"
                  << "Slot      Status          (V)Port       Identify\n"
                  << std::string(50, '-') << "\n";
    }
    const std::string status = getStatusText();
    const std::string port = status == "NO-DEVICE" ? "-" : getPortText();
    std::cout << ShellServices::padText(name, 10) << ShellServices::padText(status, 16)
              << ShellServices::padText(port, 14) << ShellServices::padText(getIdentifyText(), 14)
              << "\n";
}
