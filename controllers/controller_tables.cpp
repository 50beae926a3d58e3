// What a controller prints as tables and lists: its row of the controller
// list, the unit, drive and I/O statistics tables, the whole-controller
// views, the rescan report and the old-style listings.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/api_error.h"
#include "api/audit_log.h"
#include "api/rhosk/rhosk_codes.h"
#include "base/api_call.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "controllers/bbu.h"
#include "controllers/controller.h"
#include "devices/port.h"
#include "units/logical_disk.h"

namespace {

constexpr int32_t kFamilyVport = 8;
constexpr int32_t kFamilyIostat = 5;
constexpr uint32_t kNoUnitType = 0xFFFFFFFFu;
constexpr uint32_t kDiskUnitType = 12;
constexpr uint8_t kNoUnitNumber = 255;

std::string Rule(char c, std::size_t count) {
    return std::string(count, c) + "\n";
}

// Statuses whose old-style line shows the percentage of the running task.
bool ShowsPercent(uint8_t status) {
    return status == 251 || status == 247 || status == 223 || status == 175;
}

std::string SizeText(uint64_t blocks) {
    char text[32] = {};
    (void)ShellServices::capacityText(blocks, text);
    return text;
}

// The unit number of a drive's unit id. The library answers a drive that
// belongs to no unit with the all-0xFF id, which is no unit id at all: it
// reads as unit number 255 ("NO UNIT") instead of failing the listing.
uint8_t UnitNumberOf(const ObjectId& unit) {
    if (unit == ObjectId::Blank())
        return kNoUnitNumber;
    uint8_t controller = 0, level4 = 0, number = kNoUnitNumber, level2 = 0, level3 = 0;
    if (Api::ParseUnitId(unit, &controller, &level4, &number, &level2, &level3) != 0)
        throwApiError();
    return number;
}

// The drive table: the header of the controller's family, then the row of
// every port, in port number order. The paged table pauses after every
// `pageRows` ports (0 never pauses) and ends when the user answers q,
// quit or exit.
void showDriveTable(Controller& controller, bool paged, uint32_t pageRows) {
    if (controller.getFamily() < kFamilyVport) {
        std::cout << "\n"
                  << "Port   Status           Unit   Size        Blocks        Serial"
                  << "\n"
                  << Rule('-', 63);
    } else {
        std::cout << "\n"
                  << (paged ? "Port Status         Unit Size      Type  Phy  Encl-Slot    Model"
                            : "VPort Status         Unit Size      Type  Phy Encl-Slot    Model")
                  << "\n"
                  << Rule('-', 78);
    }
    ObjectId id{};
    controller.getObjectId(&id);
    // A failed count leaves the table without rows.
    uint32_t count = 0;
    (void)Api::GetNumPorts(id, &count);
    const auto& ports = controller.getPorts();
    uint32_t rows = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const auto found = ports.find("p" + std::to_string(i));
        if (found == ports.end())
            continue;
        found->second->showRow(false);
        if (!paged || pageRows == 0 || ++rows < pageRows)
            continue;
        rows = 0;
        std::cout << "\n<CR> to continue, q to quit..."
                  << "\n"
                  << std::flush;
        std::string word;
        if (!ShellServices::readLine(std::cin, word))
            return;
        ShellServices::toLower(word);
        if (word == "quit" || word == "exit" || word == "q")
            return;
    }
}

}  // namespace

void Controller::showSummaryRow() {
    std::cout << ShellServices::padText(name, 6);
    std::cout << ShellServices::padText(getModel(), 13);
    std::cout << ShellServices::padNumber(getNumPorts(), 10);
    std::cout << ShellServices::padNumber(getNumDrives(), 9);
    std::cout << ShellServices::padNumber(getNumUnits(), 8);
    std::cout << ShellServices::padNumber(getNumNotOptimalUnits(), 8);
    std::cout << ShellServices::padNumber(getRebuildRate(), 8);
    std::cout << ShellServices::padText(getVerifyRate(), 7);
    std::cout << ShellServices::padText(bbu ? bbu->getSummaryText() : std::string("-"), 9);
    std::cout << "\n";
}

void Controller::showUnits() {
    std::cout << "\n"
              << "Unit  UnitType  Status         %RCmpl  %V/I/M  Stripe  Size(GB)  Cache  AVrfy"
              << "\n"
              << Rule('-', 78);
    // In unit number order, not in the map's name order (u10 after u2).
    forEachByNumber(units, "u", [](LogicalDisk& unit) { unit.showSummaryRow(); });
}

void Controller::showDrives() {
    showDriveTable(*this, false, 0);
}

void Controller::showDrivesPaged(uint32_t pageRows) {
    showDriveTable(*this, true, pageRows);
}

void Controller::showAll() {
    showUnits();
    showDrives();
    if (bbu)
        bbu->showTable();
}

void Controller::show(uint32_t pageRows) {
    showUnits();
    showDrivesPaged(pageRows);
    if (bbu)
        bbu->showTable();
}

void Controller::showIostatHeader() {
    std::cout << "\n"
              << "Object  Status           Unit   P-IO"
              << "\n"
              << Rule('-', 36);
}

void Controller::showIostat() {
    if (family < kFamilyIostat)
        throwError(kInvalidControllerOperation);
    IoStatTable table{};
    if (Api::GetControllerIoStat(objectId, &table) != 0)
        throwApiError();
    showIostatHeader();
    std::cout << ShellServices::padText("/" + name, 8) << ShellServices::padText("-", 17)
              << ShellServices::padText("-", 7)
              << ShellServices::padNumber(static_cast<unsigned>(table.controllerCount), 8) << "\n";
    const std::size_t portCount = std::min<std::size_t>(ports.size(), std::size(table.portCounts));
    for (std::size_t i = 0; i < portCount; ++i) {
        const auto found = ports.find("p" + std::to_string(i));
        if (found != ports.end())
            found->second->showIostatRow(table.portCounts[i]);
    }
}

int Controller::rescan(bool makeOsAware) {
    printProgress("Rescanning controller /" + name + " for units and drives ...");
    ObjectIdList128 newUnits;
    ObjectIdList128 newDrives;
    newUnits.clear();
    newDrives.clear();
    const uint8_t aware = makeOsAware ? 1 : 0;
    const int result = theAuditLog != nullptr
                           ? theAuditLog->RescanController(objectId, aware, &newUnits, &newDrives)
                           : Api::RescanController(objectId, aware, &newUnits, &newDrives);
    if (result != 0)
        throwFailedApiError();
    printDone();

    std::cout << "Found the following unit(s): [";
    for (std::size_t i = 0; i < newUnits.size(); ++i) {
        uint8_t ctl = 0, level4 = 0, unit = 0, level2 = 0, level3 = 0;
        if (Api::ParseUnitId(newUnits.ids[i], &ctl, &level4, &unit, &level2, &level3) != 0)
            throwApiError();
        std::cout << (i == 0 ? "" : ", ") << "/" << name << "/u" << static_cast<int>(unit);
    }
    std::cout << (newUnits.size() == 0 ? "none" : "") << "].\n";

    std::cout << "Found the following drive(s): [";
    for (std::size_t i = 0; i < newDrives.size(); ++i) {
        uint8_t ctl = 0, port = 0;
        if (Api::ParseDriveId(newDrives.ids[i], &ctl, &port) != 0)
            throwApiError();
        std::cout << (i == 0 ? "" : ", ") << "/" << name << "/p" << static_cast<int>(port);
    }
    std::cout << (newDrives.size() == 0 ? "none" : "") << "].\n";
    return 0;
}

void Controller::showInfo() {
    const std::string driver =
        RequireApiText<kDriverVersionTextSize>(Api::GetDriverVersion, objectId, "N/A");
    const std::string modelText =
        RequireApiText<kModelTextSize>(Api::GetControllerModel, objectId, "NOT COMPATIBLE");
    const std::string firmware =
        RequireApiText<kVersionTextSize>(Api::GetControllerFirmwareVersion, objectId, "N/A");
    const std::string bios = RequireApiText<kVersionTextSize>(Api::GetBiosVersion, objectId, "N/A");
    const std::string monitor =
        RequireApiText<kVersionTextSize>(Api::GetBootLoaderVersion, objectId, "N/A");
    const std::string serial =
        RequireApiText<kVersionTextSize>(Api::GetControllerSerial, objectId, "N/A");
    const std::string pcb = RequireApiText<kVersionTextSize>(Api::GetPcbVersion, objectId, "N/A");
    const std::string pchip =
        RequireApiText<kVersionTextSize>(Api::GetPchipVersion, objectId, "N/A");
    const std::string achip =
        RequireApiText<kVersionTextSize>(Api::GetAchipVersion, objectId, "N/A");
    std::cout << "Controller: c" << number << "\n"
              << Rule('-', 13) << "Driver:   " << driver << "\n"
              << "Model:    " << modelText << "\n"
              << "FW:       " << firmware << "\n"
              << "BIOS:     " << bios << "\n"
              << "Monitor:  " << monitor << "\n"
              << "Serial #: " << serial << "\n"
              << "PCB:      " << pcb << "\n"
              << "PCHIP:    " << pchip << "\n"
              << "ACHIP:    " << achip << "\n"
              << "\n\n";
    showUnitStatus();
    std::cout << "\n";
    showDriveStatus();
}

void Controller::showUnitStatus() {
    ObjectIdList128 list{};
    if (Api::GetUnitIdList(objectId, &list) != 0)
        throwApiError();
    const uint32_t entries = std::min<uint32_t>(list.count, ObjectIdList128::kCapacity);
    std::vector<ObjectId> shown;
    for (uint32_t i = 0; i < entries; ++i) {
        uint32_t type = kNoUnitType;
        if (Api::GetUnitType(list.ids[i], &type) != 0)
            throwApiError();
        if (type != kNoUnitType && type != kDiskUnitType)
            shown.push_back(list.ids[i]);
    }
    std::cout << "# of units: " << shown.size() << "\n";
    for (const ObjectId& unit : shown) {
        uint32_t type = 0;
        uint64_t blocks = 0;
        uint8_t flags = 0, status = 0;
        if (Api::GetUnitType(unit, &type) != 0 || Api::GetUnitCapacity(unit, &blocks) != 0 ||
            Api::GetUnitFlags(unit, &flags) != 0 || Api::GetUnitStatus(unit, &status) != 0) {
            throwApiError();
        }
        char typeText[64] = {};
        char statusText[32] = {};
        (void)ShellServices::unitTypeName(type, typeText);
        (void)ShellServices::unitStatusName(status, statusText);
        std::string suffix;
        if (ShowsPercent(status)) {
            uint32_t percent = 0;
            if (Api::GetUnitPercentComplete(unit, &percent) != 0)
                throwApiError();
            suffix = " (" + std::to_string(percent) + "%)";
        }
        const unsigned unitNumber = UnitNumberOf(unit);
        std::cout << "\tUnit " << unitNumber << ": " << typeText << " " << SizeText(blocks) << " "
                  << "( " << blocks << " blocks): " << statusText << suffix << "\n";
    }
}

void Controller::showDriveStatus() {
    uint32_t count = 0;
    if (Api::GetNumPorts(objectId, &count) != 0)
        throwApiError();
    std::cout << "# of ports: " << count << "\n";
    for (uint32_t i = 0; i < count && i <= 0xFF; ++i) {
        ObjectId drive = ObjectId::Blank();
        if (Api::MakeDriveId(static_cast<uint8_t>(number), static_cast<uint8_t>(i), &drive) != 0)
            throwApiError();
        uint8_t status = 0;
        if (Api::GetDriveStatus(drive, &status) != 0)
            throwApiError();
        const std::string statusText = getDriveStatusText(status);
        // An empty port has no drive to describe (its drive queries fail):
        // it gets its status line alone.
        if (status == 0) {
            std::cout << "\tPort " << i << ": " << statusText << "\n";
            continue;
        }
        const std::string modelText =
            RequireApiText<kModelTextSize>(Api::GetDriveModel, drive, "N/A");
        const std::string serial =
            RequireApiText<kVersionTextSize>(Api::GetDriveSerial, drive, "N/A");
        uint64_t blocks = 0;
        if (Api::GetDriveCapacity(drive, &blocks) != 0)
            throwApiError();
        ObjectId unit = ObjectId::Blank();
        if (Api::GetDriveUnitId(drive, &unit) != 0) {
            // The port is left out; its error is dropped.
            ApiErrorRecord dropped{};
            Api::GetLastErrorRecord(&dropped);
            continue;
        }
        const uint8_t unitNumber = UnitNumberOf(unit);
        std::cout << "\tPort " << i << ": " << modelText << " " << serial << " " << SizeText(blocks)
                  << " "
                  << "(" << blocks << " blocks): " << statusText << std::flush;
        // A CBOD unit counts as no unit; a failed type read counts as a
        // unit, so the unit number stays on the line.
        uint32_t type = 0;
        if (unitNumber != kNoUnitNumber) {
            ObjectId unitId = ObjectId::Blank();
            if (Api::MakeUnitId(static_cast<uint8_t>(number), 0xFF, unitNumber, 0xFF, 0xFF,
                                &unitId) != 0)
                throwApiError();
            if (Api::GetUnitType(unitId, &type) != 0) {
                ApiErrorRecord dropped{};
                Api::GetLastErrorRecord(&dropped);
                type = 0;
            }
        }
        if (unitNumber == kNoUnitNumber || type == kDiskUnitType)
            std::cout << "(NO UNIT)";
        else
            std::cout << "(unit " << static_cast<unsigned>(unitNumber) << ")";
        std::cout << "\n";
    }
}

void Controller::showPortDetail(const std::string& portName) {
    // Read without a sign, so that no number wraps round onto a port.
    const int64_t index = shell_words::leadingDigits(portName.substr(1));
    uint32_t count = 0;
    if (Api::GetNumPorts(objectId, &count) != 0)
        throwApiError();
    if (index >= count || index > 0xFF)
        throw KV_Exception(kInvalidPort);
    ObjectId drive = ObjectId::Blank();
    if (Api::MakeDriveId(static_cast<uint8_t>(number), static_cast<uint8_t>(index), &drive) != 0)
        throwApiError();
    uint8_t status = 0;
    (void)Api::GetDriveStatus(drive, &status);
    if (status == 0)
        throw KV_Exception(kInvalidForPortState);
    const std::string statusText = getDriveStatusText(status);
    const std::string modelText = RequireApiText<kModelTextSize>(Api::GetDriveModel, drive, "N/A");
    const std::string serial = RequireApiText<kVersionTextSize>(Api::GetDriveSerial, drive, "N/A");
    const std::string firmware =
        RequireApiText<kVersionTextSize>(Api::GetDriveFirmwareVersion, drive, "N/A");
    ObjectId unit = ObjectId::Blank();
    if (Api::GetDriveUnitId(drive, &unit) != 0)
        throwApiError();
    uint64_t blocks = 0;
    if (Api::GetDriveCapacity(drive, &blocks) != 0)
        throwApiError();
    std::cout << "Controller " << number << ", Port " << index << "\n"
              << Rule('-', 22) << "Status:    " << statusText << "\n"
              << "Model:     " << modelText << "\n"
              << "Size:      " << SizeText(blocks) << " (" << blocks << " blocks)"
              << "\n"
              << "Serial #:  " << serial << "\n"
              << "FW:        " << firmware << "\n";
    const uint8_t unitNumber = UnitNumberOf(unit);
    if (unitNumber < kNoUnitNumber)
        std::cout << "Unit:      " << static_cast<unsigned>(unitNumber) << "\n";
    else
        std::cout << "Unit:      NO UNIT"
                  << "\n";
}

void Controller::showPortInfo(const std::string& portName, std::istream& words) {
    const bool newStyle = theShell == nullptr || theShell->isNewOutputStyle();
    if (!shell_words::hasMoreWords(words)) {
        if (newStyle)
            getPort(portName)->showRow(true);
        else
            showPortDetail(portName);
        return;
    }
    Port* port = getPort(portName);
    using Line = void (Port::*)();
    struct PortWord {
        const char* word;
        Line line;
    };
    static constexpr PortWord kWords[] = {
        {"status", &Port::showStatus}, {"model", &Port::showModel},
        {"serial", &Port::showSerial}, {"capacity", &Port::showCapacity},
        {"smart", &Port::showSmart},   {"firmware", &Port::showFirmware},
    };
    while (shell_words::hasMoreWords(words)) {
        const std::string word = shell_words::nextWord(words);
        const auto found = std::find_if(std::begin(kWords), std::end(kWords),
                                        [&](const PortWord& w) { return word == w.word; });
        if (found == std::end(kWords))
            throw KV_Exception(kInvalidInfoArgument);
        (port->*(found->line))();
    }
}
