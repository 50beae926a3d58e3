#include "devices/enclosure_element.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "api/api.h"
#include "base/help.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "devices/enclosure.h"

EnclosureElement::EnclosureElement(Enclosure* enclosure, const std::string& elementName,
                                   uint32_t elementNumber, ObjectId elementId)
    : owner(enclosure),
      name(elementName),
      path(enclosure->getPath() + "/" + elementName),
      number(elementNumber),
      id(elementId) {}

EnclosureElement::~EnclosureElement() = default;

std::string EnclosureElement::getDisplayPath() const {
    return "/c" + std::to_string(owner->getControllerNumber()) + path;
}

bool EnclosureElement::inSesEnclosure() const {
    return owner->getProtocol() == "SES";
}

bool EnclosureElement::inSafteEnclosure() const {
    return owner->getProtocol() == "SAF-TE";
}

bool EnclosureElement::isIdentifyWord(const std::string& word) {
    return word.find("identify=") != std::string::npos;
}

void EnclosureElement::requireWord(std::istream& words, CliCode code) {
    if (!shell_words::hasMoreWords(words))
        throwError(code);
}

std::string EnclosureElement::commandWord(std::istream& words, CliCode syntaxCode) {
    requireWord(words, syntaxCode);
    std::string word;
    if (!(words >> word))
        throwError(syntaxCode);
    return word;
}

bool EnclosureElement::atStreamEnd(std::istream& words) {
    return words.peek() == std::char_traits<char>::eof();
}

std::string EnclosureElement::attributeValue(const std::string& word) {
    const std::string::size_type equals = word.find('=');
    std::istringstream value(equals == std::string::npos ? std::string() : word.substr(equals + 1));
    return shell_words::nextWord(value);
}

EnclosureElement::IdentifySupport EnclosureElement::identifySupport() const {
    uint32_t supported = 0;
    if (Api::IsIdentifySupported(id, &supported) != 0)
        return IdentifySupport::CheckFailed;
    return supported == 0 ? IdentifySupport::NotSupported : IdentifySupport::Supported;
}

uint8_t EnclosureElement::identifyValue(const std::string& value, CliCode syntaxCode) {
    if (value == "on")
        return 1;
    if (value != "off")
        throwError(syntaxCode);
    return 0;
}

std::optional<std::string> EnclosureElement::readIdentifyText(ByteReader read) const {
    if (identifySupport() == IdentifySupport::NotSupported)
        return std::string("N/A");
    uint8_t on = 0;
    if (read(id, &on) != 0)
        return std::nullopt;
    return std::string(on == 1 ? "On" : "Off");
}

void EnclosureElement::printIdentifyStatus(const std::string& text) const {
    std::cout << getDisplayPath() << " Identify status = " << text << "\n";
}

bool EnclosureElement::announceIdentify(const char* label, const std::string& value, uint8_t on,
                                        ByteWriter write) const {
    std::cout << "Setting " << label << " Identify on " << getDisplayPath() << " to [" << value
              << "] ... " << std::flush;
    const int result = write(id, on);
    if (result < 0)
        return false;
    std::cout << "Done.\n" << std::endl;
    requireLockReleased(result);
    return true;
}

EnclosureElement::IdentifyChange EnclosureElement::changeIdentify(const std::string& value,
                                                                  CliCode syntaxCode,
                                                                  const char* label,
                                                                  const char* notSupported,
                                                                  ByteWriter write) const {
    const uint8_t on = identifyValue(value, syntaxCode);
    if (identifySupport() == IdentifySupport::NotSupported) {
        std::cout << notSupported;
        return IdentifyChange::NotSupported;
    }
    return announceIdentify(label, value, on, write) ? IdentifyChange::Done
                                                     : IdentifyChange::Refused;
}

void EnclosureElement::showHelp(HelpTopic topic, const std::string& word) {
    (theShell->getHelp()->*topic)(word);
}

void EnclosureElement::showHelp(HelpLines lines) {
    (theShell->getHelp()->*lines)();
}
