#include "devices/port.h"

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

#include "api/api.h"
#include "api/api_error.h"
#include "api/audit_log.h"
#include "api/dpm_records.h"
#include "base/api_call.h"
#include "base/help.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "base/shell_words.h"

namespace {

// The library's "No unit" answer.
constexpr uint32_t kApiNoUnit = 63;
constexpr uint8_t kNoUnit = 255;
constexpr uint8_t kNoPhy = 255;

// The last failure was the library saying the drive has no unit.
bool lastErrorMeansNoUnit() {
    const uint32_t code = LastApiCode();
    return code == kApiInvalidUnitId || code == kApiNoUnit;
}

// The attachment text of a drive behind an enclosure: it has no phy.
constexpr const char* kAttachmentEnclosure = "Enclosure";

struct LinkTexts {
    uint8_t code;
    const char* driveType;
    const char* attachment;
};
constexpr LinkTexts kLinkTexts[] = {
    {0, "None", "N/A"},       {1, "SATA", "Direct"},   {3, "SAS", "Direct"},
    {5, "SATA", "Enclosure"}, {7, "SAS", "Enclosure"},
};

}  // namespace

Port::Port(ControllerView* owner, const std::string& portName, uint32_t portNumber, ObjectId portId)
    : controller(owner),
      name(portName),
      number(portNumber),
      id(portId),
      path("/" + owner->getName() + "/" + portName) {}

Port::~Port() = default;

int Port::execute(std::istream& words) {
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidPortCommandSyntax);
    std::string word;
    if (!(words >> word))
        throwError(kInvalidPortCommandSyntax);
    if (shell_words::isHelpWord(word)) {
        theShell->getHelp()->showPortHelp("all");
        return 0;
    }
    if (word == "show") {
        show(words);
    } else if (word == "set") {
        setCommand(words);
    } else if (word == "remove" || word == "export") {
        removeCommand(words);
    } else {
        throwError(kInvalidPortCommand);
    }
    return 0;
}

void Port::show(std::istream& words) {
    if (!shell_words::hasMoreWords(words)) {
        showRow(true);
        return;
    }
    std::string word;
    words >> word;
    if (word == "all") {
        if (shell_words::hasMoreWords(words))
            throwError(kInvalidPortShow);
        std::stringstream all;
        getShowAllWords(all);
        std::string attribute;
        while (all >> attribute)
            showAttribute(attribute);
    } else if (shell_words::isHelpWord(word)) {
        if (shell_words::hasMoreWords(words))
            throwError(kInvalidHelpArgument);
        theShell->getHelp()->showPortHelp("show");
    } else if (word == "pmstat" || word == "dpmstat") {
        showDpmstatCommand(words);
    } else {
        showAttribute(word);
        while (words >> word)
            showAttribute(word);
    }
}

void Port::setCommand(std::istream& words) {
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidControllerCommandSyntax);
    std::string word;
    words >> word;
    if (word.find("identify=") != std::string::npos) {
        setIdentify(word, words);
    } else if (word == "pmstat=clear" || word == "dpmstat=clear") {
        setDpmstatCommand(words);
    } else if (shell_words::isHelpWord(word)) {
        theShell->getHelp()->showPortHelp("set");
    } else {
        throwError(kInvalidPortSet);
    }
}

void Port::setIdentify(const std::string& word, std::istream& words) {
    const std::string value = shell_words::valueAfterEquals(word);
    if (controller->getFamily() < kFamilySolvane)
        throwError(kInvalidPortCommandOfController);
    if (value != "on" && value != "off")
        throwError(kInvalidPortSetIdentify);
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidPortSetIdentify);
    std::cout << "Setting port Identify on " << path << " to [" << value << std::flush;
    if (!isInEnclosureSlot()) {
        std::cout << "] ... N/A" << std::endl;
        return;
    }
    const int result = theAuditLog->IdentifyPort(id, value == "on" ? 1 : 0);
    if (result < 0)
        throwApiError();
    std::cout << "] ... Done." << std::endl;
    requireLockReleased(result);
}

void Port::removeCommand(std::istream& words) {
    bool quiet = false;
    std::string word;
    while (words >> word) {
        if (shell_words::isHelpWord(word)) {
            theShell->getHelp()->showPortHelp("remove");
            return;
        }
        if (word == "quiet" || word == "q")
            quiet = true;
        else
            throwError(kInvalidPortRemove);
    }
    remove(quiet);
}

int Port::remove(bool quiet) {
    if (!quiet) {
        std::stringstream warning;
        warning << "Removing " << path << " will take the disk offline.";
        if (!ShellServices::confirm(warning))
            return 0;
    }
    std::cout << "Removing port " << path << " ... " << std::flush;
    // A drive of a migrating unit stays: the migration needs every drive.
    uint8_t unit = kNoUnit;
    ObjectId unitId = ObjectId::Blank();
    if (driveUnit(&unit, &unitId) && unit != kNoUnit) {
        ObjectId top = ObjectId::Blank();
        uint32_t type = 0;
        if (Api::MakeUnitId(static_cast<uint8_t>(controller->getNumber()), kNoUnit, unit, kNoUnit,
                            kNoUnit, &top) == 0 &&
            Api::GetUnitType(top, &type) == 0 && type == kUnitMigrating) {
            std::cout << "Failed." << std::endl;
            throwError(kExportMigratingDrive);
        }
    }
    if (theAuditLog->RemoveDrive(id) != 0) {
        std::cout << "Failed." << std::endl;
        throwApiError();
    }
    std::cout << "Done.\n" << std::endl;
    return 0;
}

std::string Port::interfaceText(uint8_t code, int which) {
    for (const auto& t : kLinkTexts) {
        if (t.code == code)
            return which == 0 ? t.driveType : t.attachment;
    }
    return "";
}

std::string Port::getDriveInterfaceText(int which) {
    uint8_t code = 0;
    RequireApi(Api::GetDriveInterface(id, &code));
    return interfaceText(code, which);
}

bool Port::isEmpty() {
    uint8_t status = kDriveNone;
    if (Api::GetDriveStatus(id, &status) != 0)
        return true;
    return status == kDriveNone;
}

bool Port::driveUnit(uint8_t* unitNumber, ObjectId* unitId) {
    *unitId = ObjectId::Blank();
    *unitNumber = kNoUnit;
    if (Api::GetDriveUnitId(id, unitId) != 0)
        return false;
    uint8_t ctl = 0, level4 = 0, level2 = 0, level3 = 0;
    return Api::ParseUnitId(*unitId, &ctl, &level4, unitNumber, &level2, &level3) == 0;
}

bool Port::hasUnit(uint8_t unitNumber, bool strict) {
    if (unitNumber == kNoUnit)
        return false;
    ObjectId top = ObjectId::Blank();
    if (Api::MakeUnitId(static_cast<uint8_t>(controller->getNumber()), kNoUnit, unitNumber, kNoUnit,
                        kNoUnit, &top) != 0) {
        if (strict)
            throwApiError();
        return false;
    }
    uint32_t type = 0;
    if (Api::GetUnitType(top, &type) != 0) {
        if (strict && !lastErrorMeansNoUnit())
            throwApiError();
        return false;
    }
    return type != kUnitCbod;
}

void Port::getUnitInfo(std::string& unitName, std::string& unitStatus) {
    unitName = "-";
    unitStatus = "Unknown";
    uint8_t unit = kNoUnit;
    ObjectId unitId = ObjectId::Blank();
    if (!driveUnit(&unit, &unitId) || !hasUnit(unit, false))
        return;
    unitName = "u" + std::to_string(unit);
    uint8_t status = 0;
    if (Api::GetUnitStatus(unitId, &status) == 0)
        unitStatus = controller->getUnitStatusText(status);
}

std::string Port::getUnitName() {
    if (isEmpty())
        throwError(kInvalidForPortState);
    std::string unitName;
    std::string unitStatus;
    getUnitInfo(unitName, unitStatus);
    return unitName == "-" ? "N/A" : unitName;
}

uint8_t Port::getPhyNumber() {
    ObjectId phyId = ObjectId::Blank();
    if (Api::GetPortPhyId(id, &phyId) != 0) {
        // The controller attaches the drive through no phy.
        if (LastApiCode() == kApiNoDriveSlot)
            return kNoPhy;
        throwApiError();
    }
    uint8_t controllerNumber = 0;
    uint8_t phy = 0;
    RequireApi(Api::ParsePhyId(phyId, &controllerNumber, &phy));
    return phy;
}

std::string Port::getEnclosureSlotText() {
    constexpr uint8_t kNoSlot = 255;
    ObjectId slotId = ObjectId::Blank();
    if (Api::GetPortSlotId(id, &slotId) != 0)
        return "-";
    uint8_t enclosureIndex = 0;
    uint8_t slot = kNoSlot;
    if (Api::ParseSlotId(slotId, &enclosureIndex, &slot) != 0 || slot == kNoSlot)
        return "-";
    const std::string slotText = "/slt" + std::to_string(slot);
    if (controller->getFamily() < kFamilyVantor)
        return "/e" + std::to_string(enclosureIndex) + slotText;
    ObjectId enclosureId = ObjectId::Blank();
    (void)Api::GetEnclosureIdOfElement(slotId, &enclosureId);
    uint8_t controllerNumber = 0;
    uint8_t enclosure = 0;
    if (Api::ParseEnclosureId(enclosureId, &controllerNumber, &enclosure) != 0)
        return "-";
    return "/c" + std::to_string(controllerNumber) + "/e" + std::to_string(enclosure) + slotText;
}

void Port::showRow(bool withHeader) {
    const bool vantor = controller->getFamily() >= kFamilyVantor;
    if (withHeader) {
        if (vantor)
            std::cout << "\nVPort Status         Unit Size      Type  Phy Encl-Slot    Model\n"
                      << std::string(78, '-') << "\n";
        else
            std::cout << "\nPort   Status           Unit   Size        Blocks        Serial\n"
                      << std::string(63, '-') << "\n";
    }
    uint8_t driveStatus = kDriveNone;
    (void)Api::GetDriveStatus(id, &driveStatus);
    const std::string driveText = controller->getDriveStatusText(driveStatus);

    if (!IsDrivePresent(driveStatus)) {
        if (vantor && !withHeader)
            return;
        if (vantor)
            std::cout << ShellServices::padText(name, 6) << ShellServices::padText(driveText, 15)
                      << ShellServices::padText("-", 5) << ShellServices::padText("-", 10)
                      << ShellServices::padText("-", 6) << ShellServices::padText("-", 4)
                      << ShellServices::padText("-", 13) << "-\n";
        else
            std::cout << ShellServices::padText(name, 7) << ShellServices::padText(driveText, 17)
                      << ShellServices::padText("-", 7) << ShellServices::padText("-", 12)
                      << ShellServices::padText("-", 14) << "-\n";
        return;
    }

    uint8_t unit = kNoUnit;
    ObjectId unitId = ObjectId::Blank();
    (void)driveUnit(&unit, &unitId);
    uint8_t unitFlags = 0;
    if (unit == kNoUnit && controller->getFamily() > kFamilyRhosk)
        RequireApi(Api::GetDriveUnitFlags(id, &unitFlags));
    const bool inUnit = hasUnit(unit, true);

    std::string unitText = "-";
    uint8_t unitStatus = 0;
    if (unitFlags & 1) {
        unitText = "u?";
    } else if (inUnit) {
        unitText = "u" + std::to_string(unit);
        (void)Api::GetUnitStatus(unitId, &unitStatus);
    }
    const bool showUnitStatus = driveStatus == kDriveOk && unitText.size() > 1 && unitText != "u?";
    const std::string statusText =
        showUnitStatus ? controller->getUnitStatusText(unitStatus) : driveText;

    uint64_t blocks = 0;
    (void)Api::GetDriveCapacity(id, &blocks);
    const std::string capacity = controller->getCapacityText(blocks);

    if (!vantor) {
        FixedText<kVersionTextSize> serial;
        (void)Api::GetDriveSerial(id, serial.data());
        std::cout << ShellServices::padText(name, 7) << ShellServices::padText(statusText, 17)
                  << ShellServices::padText(unitText, 7) << ShellServices::padText(capacity, 12)
                  << ShellServices::padNumber(blocks, 14)
                  << ShellServices::padText(serial.c_str(), 20) << "\n";
        return;
    }
    FixedText<kModelTextSize> model;
    (void)Api::GetDriveModel(id, model.data());
    const bool inEnclosure = getDriveInterfaceText(1) == kAttachmentEnclosure;
    const auto phyText = [this] {
        const uint8_t phy = getPhyNumber();
        return phy == kNoPhy ? std::string("-") : std::to_string(phy);
    };
    std::cout << ShellServices::padText(name, 6) << ShellServices::padText(statusText, 15)
              << ShellServices::padText(unitText, 5) << ShellServices::padText(capacity, 10)
              << ShellServices::padText(getDriveInterfaceText(0), 6)
              << ShellServices::padText(inEnclosure ? std::string("-") : phyText(), 4)
              << ShellServices::padText(inEnclosure ? getEnclosureSlotText() : std::string("-"), 13)
              << ShellServices::padText(model.c_str(), 20) << "\n";
}

void Port::showIostatRow(uint16_t pending) {
    uint8_t driveStatus = kDriveNone;
    RequireApi(Api::GetDriveStatus(id, &driveStatus));
    const std::string driveText = controller->getDriveStatusText(driveStatus);
    if (!IsDrivePresent(driveStatus)) {
        std::cout << ShellServices::padText(path, 8) << ShellServices::padText(driveText, 17)
                  << ShellServices::padText("-", 7) << ShellServices::padText("-", 8) << "\n";
        return;
    }
    std::string unitName;
    std::string unitStatus;
    getUnitInfo(unitName, unitStatus);
    const bool showUnitStatus = driveStatus == kDriveOk && unitName.size() > 1;
    std::cout << ShellServices::padText(path, 8)
              << ShellServices::padText(showUnitStatus ? unitStatus : driveText, 17)
              << ShellServices::padText(unitName, 7)
              << ShellServices::padNumber(static_cast<unsigned>(pending), 8) << "\n";
}

uint8_t Port::requireDriveStatus() {
    uint8_t status = kDriveNone;
    RequireApi(Api::GetDriveStatus(id, &status));
    if (status == kDriveNone)
        throwError(kInvalidForPortState);
    return status;
}

void Port::printLine(const std::string& label, const std::string& value) const {
    std::cout << path << label << value << "\n";
}

void Port::showStatus() {
    printLine(" Status = ", controller->getDriveStatusText(requireDriveStatus()));
}

void Port::showModel() {
    requireDriveStatus();
    printLine(" Model = ", RequireApiText<kModelTextSize>(Api::GetDriveModel, id, "N/A"));
}

void Port::showSerial() {
    requireDriveStatus();
    printLine(" Serial = ", RequireApiText<kVersionTextSize>(Api::GetDriveSerial, id, "N/A"));
}

void Port::showFirmware() {
    requireDriveStatus();
    printLine(" Firmware Version = ",
              RequireApiText<kVersionTextSize>(Api::GetDriveFirmwareVersion, id, "N/A"));
}

void Port::showCapacity() {
    requireDriveStatus();
    uint64_t blocks = 0;
    RequireApi(Api::GetDriveCapacity(id, &blocks));
    char size[32] = {};
    (void)ShellServices::capacityText(blocks, size);
    printLine(" Capacity = ", std::string(size) + " (" + std::to_string(blocks) + " Blocks)");
}

void Port::showSmart() {
    constexpr uint8_t kSasDirect = 3;
    constexpr uint8_t kSasEnclosure = 7;
    uint8_t link = 0;
    RequireApi(Api::GetDriveInterface(id, &link));
    if (link == kSasDirect || link == kSasEnclosure)
        throwError(kSmartNotSupported);
    std::cout << "\n" << path << " Drive SMART Data:\n";
    requireDriveStatus();
    uint8_t data[kSmartDataSize] = {};
    RequireApi(theAuditLog->GetDriveSmartData(id, data));
    std::string dump;
    char hex[4];
    for (size_t i = 0; i < kSmartDataSize; ++i) {
        std::snprintf(hex, sizeof hex, "%02X ", data[i]);
        dump += hex;
        if (i % 16 == 15)
            dump += "\n";
    }
    std::cout << dump << "\n";
}
