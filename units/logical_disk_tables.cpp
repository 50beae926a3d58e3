// The unit rows of the controller's unit list and the unit's own tables.
#include <iostream>

#include "api/api.h"
#include "base/api_call.h"
#include "units/logical_disk.h"
#include "units/unit_texts.h"

namespace {

// Column widths of the controller's unit list.
constexpr int kSummaryWidths[] = {6, 10, 15, 8, 8, 8, 10, 7, 7};
// Column widths of the unit table: Unit, UnitType, Status, %RCmpl, %V/I/M,
// Port, Stripe, Size(GB).
constexpr int kTableWidths[] = {9, 10, 15, 8, 8, 6, 8, 10};
constexpr int kTableRuleWidth = 72;
constexpr uint8_t kNoPort = 255;

}  // namespace

std::string LogicalDisk::padText(const std::string& text, int width) {
    return UnitTexts::pad(text, width);
}

void LogicalDisk::printTableRow(const std::array<std::string, 8>& cells) {
    std::string row;
    for (std::size_t i = 0; i < cells.size(); ++i)
        row += padText(cells[i], kTableWidths[i]);
    std::cout << row << "\n";
}

std::string LogicalDisk::portText(uint8_t port) {
    return port == kNoPort ? "-" : "p" + std::to_string(port);
}

uint8_t LogicalDisk::firstDrivePort(ObjectId unit, ObjectId* drive) {
    ObjectIdList128 list;
    list.clear();
    RequireApi(Api::GetUnitDriveList(unit, &list));
    *drive = list.ids[0];
    // A unit or subunit without a drive shows no port.
    if (list.size() == 0)
        return kNoPort;
    uint8_t ctl = 0;
    uint8_t port = kNoPort;
    RequireApi(Api::ParseDriveId(list.ids[0], &ctl, &port));
    return port;
}

void LogicalDisk::printDriveRow(const std::string& rowName, ObjectId member) {
    ObjectId drive = ObjectId::Blank();
    const uint8_t port = firstDrivePort(member, &drive);
    // A member that reads OK while its drive does not is flagged.
    std::string status = getStatusOf(member);
    if (status == "OK" && port != kNoPort) {
        uint8_t driveStatus = kDriveOk;
        RequireApi(Api::GetDriveStatus(drive, &driveStatus));
        if (driveStatus != kDriveOk)
            status = "WARNING";
    }
    printTableRow({rowName, controller->getUnitTypeText(getUnitTypeOf(member)), status,
                   getPercentTextOf(member), "-", portText(port), "-", getSizeTextOf(member)});
}

void LogicalDisk::printUnitRow(const std::string& port, const std::string& stripe) {
    std::string rebuild;
    std::string other;
    getPercentTexts(rebuild, other);
    std::string status = getStatus();
    if (needsStatusMark())
        status += "*";
    printTableRow({name, typeText, status, rebuild, other, port, stripe, getSizeText()});
}

void LogicalDisk::showSummaryRow() {
    std::string rebuild;
    std::string other;
    getPercentTexts(rebuild, other);
    const std::string cells[] = {name,          typeText,       getStatus(),
                                 rebuild,       other,          getStripe(),
                                 getSizeText(), getCacheText(), getAutoverifyText()};
    std::string row;
    for (std::size_t i = 0; i < std::size(cells); ++i)
        row += padText(cells[i], kSummaryWidths[i]);
    std::cout << row << "\n";
}

void LogicalDisk::showTableHeader() {
    std::cout << "\n";
    if (family() < kFamilyVantor)
        std::cout << "Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)\n";
    else
        std::cout << "Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)\n";
    std::cout << std::string(kTableRuleWidth, '-') << "\n";
}

void LogicalDisk::showTable(bool withHeader) {
    if (withHeader)
        showTableHeader();
    ObjectId drive = ObjectId::Blank();
    const uint8_t port = firstDrivePort(id, &drive);
    printUnitRow(portText(port), getStripe());
}

void LogicalDisk::showSubunitTable(bool withHeader) {
    if (withHeader)
        showTableHeader();
    printUnitRow("-", getStripe());

    ObjectIdList128 subunits;
    subunits.clear();
    RequireApi(Api::GetSubunitIdList(id, &subunits));
    for (std::size_t i = 0; i < subunits.size(); ++i) {
        printDriveRow(name + "-" + std::to_string(i), subunits.ids[i]);
    }
    showVolumeRows();
}

void LogicalDisk::showTwoLevelTable(bool withHeader) {
    if (withHeader)
        showTableHeader();
    const bool raid50 = typeCode == kUnitRaid50;
    printUnitRow("-", raid50 ? "-" : getStripe());

    ObjectIdList128 subunits;
    subunits.clear();
    RequireApi(Api::GetSubunitIdList(id, &subunits));
    for (std::size_t i = 0; i < subunits.size(); ++i) {
        const ObjectId sub = subunits.ids[i];
        const std::string subName = name + "-" + std::to_string(i);
        printTableRow({subName, controller->getUnitTypeText(getUnitTypeOf(sub)), getStatusOf(sub),
                       getPercentTextOf(sub), "-", "-", raid50 ? getStripeOf(sub) : "-", "-"});
        ObjectIdList128 members;
        members.clear();
        RequireApi(Api::GetSubunitIdList(sub, &members));
        for (std::size_t j = 0; j < members.size(); ++j)
            printDriveRow(subName + "-" + std::to_string(j), members.ids[j]);
    }
    showVolumeRows();
}

void LogicalDisk::showVolumeRows() {
    constexpr int32_t kFirstFamilyWithVolumes = 5;
    if (family() < kFirstFamilyWithVolumes)
        return;
    ObjectIdList128 volumes;
    volumes.clear();
    // A unit that reports no volumes has no volume rows.
    if (Api::GetUnitVolumeList(id, &volumes) != 0 && LastApiCode() != kApiUnitHasNoLuns)
        throwApiError();
    // The destination half of a migration has no volume sizes yet.
    const bool destination = name.rfind("du", 0) == 0;
    for (std::size_t k = 0; k < volumes.size(); ++k) {
        printTableRow({name + "/v" + std::to_string(k), "Volume", "-", "-", "-", "-", "-",
                       destination ? "N/A" : getVolumeSizeTextOf(volumes.ids[k])});
    }
}
