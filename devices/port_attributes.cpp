// The attribute words of a port's "show": one line (or two) per word, the
// words "show all" stands for, and the checks each word makes first.
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

#include "api/api.h"
#include "base/api_call.h"
#include "base/kv_exception.h"
#include "devices/port.h"

namespace {

constexpr uint8_t kNoSlot = 255;
constexpr uint32_t kPowerOnHoursUnknown = 65535;
constexpr int kTemperatureUnknown = -1;

// The texts of a drive's link speeds.
std::string supportedSpeedText(uint8_t code) {
    switch (code) {
        case kLinkSpeed1_5:
            return "1.5 Gbps";
        case kLinkSpeed3_0:
            return "3.0 Gbps";
        case kLinkSpeedBoth:
            return "1.5 Gbps and 3.0 Gbps";
        default:
            return "unknown";
    }
}

std::string currentSpeedText(uint8_t code) {
    return code == kLinkSpeed1_5 || code == kLinkSpeed3_0 ? supportedSpeedText(code) : "unknown";
}

// The library's error text of the last failure, as a caught error prints
// it inside a line: its message and one more line end.
void printCaughtError() {
    try {
        throwApiError();
    } catch (KV_Exception& error) {
        std::cout << error.getMessage() << std::endl;
    }
}

}  // namespace

void Port::requireFamily6() {
    if (controller->getFamily() < kFamilySolvane)
        throwError(kInvalidPortCommandOfController);
}

void Port::requireNotEmpty() {
    if (isEmpty())
        throwError(kInvalidForPortState);
}

bool Port::isInEnclosureSlot() {
    ObjectId slotId = ObjectId::Blank();
    if (Api::GetPortSlotId(id, &slotId) != 0)
        return false;
    uint8_t enclosureIndex = 0;
    uint8_t slot = kNoSlot;
    if (Api::ParseSlotId(slotId, &enclosureIndex, &slot) != 0)
        return false;
    return slot != kNoSlot;
}

template <class Read>
void Port::showCountLine(const char* label, Read read) {
    requireFamily6();
    requireNotEmpty();
    std::cout << path << label << std::flush;
    std::string value;
    if (!read(&value)) {
        std::cout << "...Error! " << std::endl;
        printCaughtError();
        return;
    }
    std::cout << value;
}

void Port::showAttribute(const std::string& word) {
    if (word == "status") {
        showStatus();
    } else if (word == "model") {
        showModel();
    } else if (word == "serial") {
        showSerial();
    } else if (word == "capacity") {
        showCapacity();
    } else if (word == "firmware") {
        showFirmware();
    } else if (word == "unit") {
        requireNotEmpty();
        printLine(" Belongs to Unit = ", getUnitName());
    } else if (word == "smart") {
        showSmart();
    } else if (word == "drvintf") {
        showDriveInterface();
    } else if (word == "ports") {
        showCountLine(" Drive Ports = ", [&](std::string* value) {
            uint32_t count = 0;
            if (Api::GetDrivePortCount(id, &count) != 0)
                return false;
            *value = std::to_string(count) + "\n";
            return true;
        });
    } else if (word == "connections") {
        showCountLine(" Drive Connections = ", [&](std::string* value) {
            uint32_t count = 0;
            if (Api::GetDriveConnectionCount(id, &count) != 0)
                return false;
            *value = std::to_string(count) + "\n";
            return true;
        });
    } else if (word == "driveinfo") {
        showAttribute("drvintf");
        showAttribute("ports");
        showAttribute("connections");
    } else if (word == "wwn") {
        showWwn();
    } else if (word == "rasect") {
        showCountLine(" Reallocated Sectors = ", [&](std::string* value) {
            uint32_t count = 0;
            if (Api::GetDriveReallocatedSectors(id, &count) != 0)
                return false;
            *value = std::to_string(count) + "\n";
            return true;
        });
    } else if (word == "pohrs") {
        showPowerOnHours();
    } else if (word == "temperature") {
        showCountLine(" Temperature = ", [&](std::string* value) {
            int celsius = 0;
            if (Api::GetDriveTemperature(id, &celsius) != 0)
                return false;
            *value = celsius == kTemperatureUnknown ? "Not available\n"
                                                    : std::to_string(celsius) + " deg C\n";
            return true;
        });
    } else if (word == "spindlespd") {
        showCountLine(" Spindle Speed = ", [&](std::string* value) {
            uint32_t speed = 0;
            if (Api::GetDriveSpindleSpeed(id, &speed) != 0)
                return false;
            *value = std::to_string(speed) + " RPM\n";
            return true;
        });
    } else if (word == "identify") {
        showIdentifyStatus();
    } else if (word == "ncq") {
        showQueuing();
    } else if (word == "lspeed") {
        showLinkSpeed();
    } else if (word == "iostat") {
        showIostat();
    } else {
        std::cout << "'" << word << "'"
                  << " is not a valid port parameter of the show command.\n";
    }
}

void Port::getShowAllWords(std::ostream& out) {
    const int32_t family = controller->getFamily();
    out << "status model firmware serial capacity ";
    if (family >= kFamilySolvane) {
        if (family >= kFamilyVantor)
            out << "wwn drvintf ports connections ";
        if (family >= kFamilyTevrin)
            out << "rasect pohrs temperature spindlespd ";
        out << "lspeed ncq identify ";
    }
    out << "unit ";
    // Below the newer generations every drive counts as SATA. The drive
    // type is read before any word is shown: a port whose type cannot be
    // read (an empty port) ends the command with the library's error.
    if (family < kFamilySolvane || getDriveInterfaceText(0) == "SATA")
        out << "smart ";
}

void Port::showDriveInterface() {
    requireFamily6();
    requireNotEmpty();
    printLine(" Drive Type = ", getDriveInterfaceText(0));
    printLine(" Interface Type = ", getDriveInterfaceText(1));
}

void Port::showWwn() {
    if (controller->getFamily() != kFamilyVantor)
        throwError(kInvalidPortCommandOfController);
    std::cout << path << " WWN = " << std::flush;
    uint8_t wwn[kWorldWideNameSize] = {};
    if (Api::GetDriveWwn(id, wwn) != 0) {
        std::cout << "... Error." << std::endl;
        throwApiError();
    }
    char digits[2 * kWorldWideNameSize + 1] = {};
    for (size_t i = 0; i < kWorldWideNameSize; ++i)
        std::snprintf(digits + 2 * i, 3, "%02x", wwn[i]);
    std::cout << digits << "\n";
}

void Port::showPowerOnHours() {
    requireFamily6();
    requireNotEmpty();
    std::cout << path << " Power On Hours = " << std::flush;
    uint32_t hours = 0;
    if (Api::GetDrivePowerOnHours(id, &hours) != 0) {
        std::cout << "...Error! " << std::endl;
        throwApiError();
    }
    std::cout << (hours == kPowerOnHoursUnknown ? std::string("N/A") : std::to_string(hours))
              << "\n";
}

void Port::showIdentifyStatus() {
    requireFamily6();
    requireNotEmpty();
    std::cout << path << " Identify Status = " << std::flush;
    if (!isInEnclosureSlot()) {
        std::cout << "N/A" << std::endl;
        return;
    }
    uint8_t on = 0;
    if (Api::GetPortIdentify(id, &on) != 0) {
        std::cout << "Error! " << std::endl;
        printCaughtError();
        return;
    }
    std::cout << (on == 1 ? "on" : "off") << std::endl;
}

void Port::showQueuing() {
    requireFamily6();
    requireNotEmpty();
    const bool vantor = controller->getFamily() >= kFamilyVantor;
    struct QueuingLine {
        int (*read)(ObjectId, uint8_t*);
        const char* label;
        const char* failed;
    };
    const QueuingLine lines[] = {
        {Api::GetDriveQueuingSupported, vantor ? " Queuing Supported = " : " NCQ Supported = ",
         vantor ? " Queuing Supported = Error" : " NCQ Supported = "},
        {Api::GetDriveQueuingEnabled, vantor ? " Queuing Enabled = " : " NCQ Enabled = ",
         vantor ? " Queuing Enabled = Error" : " NCQ Enabled = Error"},
    };
    for (const QueuingLine& line : lines) {
        std::stringstream text;
        uint8_t value = 0;
        if (line.read(id, &value) == 0) {
            text << path << line.label << (value != 0 ? "Yes" : "No") << "\n";
        } else {
            ApiErrorRecord record{};
            Api::GetLastErrorRecord(&record);
            record.message[sizeof record.message - 1] = '\0';
            text << path << line.failed << record.message << "\n";
        }
        std::cout << text.str();
    }
}

void Port::showLinkSpeed() {
    requireFamily6();
    requireNotEmpty();
    uint8_t speed = 0;
    std::cout << path << " Link Speed Supported = " << std::flush;
    RequireApi(Api::GetDriveLinkSpeedSupported(id, &speed));
    std::cout << supportedSpeedText(speed) << "\n";
    speed = 0;
    std::cout << path << " Link Speed = " << std::flush;
    RequireApi(Api::GetDriveLinkSpeed(id, &speed));
    std::cout << currentSpeedText(speed) << "\n";
}
