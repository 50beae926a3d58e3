// What a unit shows: the attribute lines of its show command, the show
// words of the old-style info command and the old-style detail report.
#include <cstdio>
#include <functional>
#include <iostream>
#include <iterator>

#include "api/api.h"
#include "base/api_call.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "units/logical_disk.h"
#include "units/unit_texts.h"

namespace {

constexpr uint8_t kNoPort = 255;

// Unit and serial texts of the library: 20 characters and the zero.
constexpr std::size_t kUnitTextSize = 21;

// "on", "off" or "unknown" of a policy byte, padded to 10.
std::string policyText(uint8_t value) {
    return ShellServices::padText(value == 1 ? "on" : value == 0 ? "off" : "unknown", 10);
}

// Old-style unit texts through the shell's buffers.
std::string statusName(uint8_t status) {
    char text[31] = {};
    ShellServices::unitStatusName(status, text);
    return text;
}

std::string typeName(uint32_t type) {
    char text[63] = {};
    ShellServices::unitTypeName(type, text);
    return text;
}

std::string capacityName(uint64_t blocks) {
    char text[15] = {};
    ShellServices::capacityText(blocks, text);
    return text;
}

// " (n%)" of a unit whose status carries a percentage, else empty.
std::string detailPercent(ObjectId unit, uint8_t status) {
    if (!UnitTexts::hasPercent(status))
        return "";
    uint32_t percent = 0;
    RequireApi(Api::GetUnitPercentComplete(unit, &percent));
    char text[32];
    std::snprintf(text, sizeof text, " (%u%%)", percent);
    return text;
}

// The port of the first drive of a unit or subunit, and its text.
std::string detailPort(ObjectId unit) {
    ObjectIdList128 list;
    list.clear();
    RequireApi(Api::GetUnitDriveList(unit, &list));
    uint8_t ctl = 0;
    uint8_t port = kNoPort;
    if (list.size() > 0)
        RequireApi(Api::ParseDriveId(list.ids[0], &ctl, &port));
    return port == kNoPort ? "N/A" : std::to_string(port);
}

// The type and status of a subunit as the detail report prints them.
void subunitTexts(ObjectId unit, uint32_t* type, uint8_t* status) {
    RequireApi(Api::GetUnitType(unit, type));
    uint8_t flags = 0;
    RequireApi(Api::GetUnitFlags(unit, &flags));
    RequireApi(Api::GetUnitStatus(unit, status));
}

// A line whose label is printed before the library is asked: an error
// after the label goes to standard error and the show goes on. The label's
// line is ended first, so that the next attribute does not run on into it
// when standard output goes elsewhere than standard error.
void printCaughtLine(const std::string& label, const std::function<std::string()>& value) {
    std::cout << label << std::flush;
    try {
        const std::string text = value();
        std::cout << text << "\n";
    } catch (KV_Exception& error) {
        std::cout << std::endl;
        std::cerr << error.getMessage() << "\n";
    }
}

}  // namespace

void LogicalDisk::show(std::istream& words) {
    std::string word;
    if (!(words >> word)) {
        const bool newStyle = theShell == nullptr || theShell->isNewOutputStyle();
        if (newStyle)
            showTable(true);
        else
            showDetail(id);
        return;
    }
    do {
        showAttribute(word);
    } while (words >> word);
}

void LogicalDisk::showAttribute(const std::string& word) {
    using Printer = std::function<void(LogicalDisk&)>;
    static const struct {
        const char* word;
        Printer print;
    } kAttributes[] = {
        {"status", &LogicalDisk::showStatus},
        {"rebuildstatus", &LogicalDisk::showRebuildStatus},
        {"verifystatus", &LogicalDisk::showVerifyStatus},
        {"initializestatus", &LogicalDisk::showInitializeStatus},
        {"volumes", &LogicalDisk::showVolumeCount},
        {"name", &LogicalDisk::showName},
        {"serial", &LogicalDisk::showSerial},
        {"qpolicy", &LogicalDisk::showQueuePolicy},
        {"keepwell", &LogicalDisk::showKeepwell},
        {"identify", &LogicalDisk::showIdentify},
        {"parity", &LogicalDisk::showParity},
        {"ignoreecc", &LogicalDisk::showIgnoreEcc},
        {"autoverify", &LogicalDisk::showAutoverify},
        {"rdcache", [](LogicalDisk& unit) { unit.showCache(true); }},
        {"cache", [](LogicalDisk& unit) { unit.showCache(false); }},
        {"wrcache", [](LogicalDisk& unit) { unit.showCache(false); }},
        {"writedpo", &LogicalDisk::showWriteDpo},
        {"rapidrecovery", &LogicalDisk::showRapidRecovery},
        {"rrr", &LogicalDisk::showRapidRecovery},
    };
    for (const auto& attribute : kAttributes) {
        if (word == attribute.word) {
            attribute.print(*this);
            return;
        }
    }
    std::cout << "'" << word << "'"
              << " is not a valid unit parameter of the show command.\n";
}

void LogicalDisk::showStatus() {
    std::cout << getPath() << " status = " << getStatus() << "\n";
}

void LogicalDisk::showRebuildStatus() {
    if (typeCode == kUnitRaid6) {
        const std::string compound = getRaid6Status();
        std::cout << getPath();
        if (compound.find("REBUILD") != std::string::npos ||
            compound.find("RBLD") != std::string::npos) {
            std::string rebuild = "-";
            std::string other = "-";
            getRaid6PercentTexts(rebuild, other);
            std::cout << " is rebuilding with percent completion = " << rebuild << "\n";
        } else {
            std::cout << " is not rebuilding, its current state is " << getStatus() << "\n";
        }
        return;
    }
    uint8_t status = 0;
    RequireApi(Api::GetUnitStatus(id, &status));
    if (status == kUnitStatusRebuilding)
        std::cout << getPath()
                  << " is rebuilding with percent completion = " << getPercentTextOf(id) << "\n";
    else
        std::cout << getPath() << " is not rebuilding, its current state is " << getStatus()
                  << "\n";
}

void LogicalDisk::showVerifyStatus() {
    if (typeCode == kUnitRaid6) {
        const std::string compound = getRaid6Status();
        std::cout << getPath();
        if (compound.find("VERIFY") != std::string::npos ||
            compound.find("VRFY") != std::string::npos) {
            std::string rebuild = "-";
            std::string other = "-";
            getRaid6PercentTexts(rebuild, other);
            std::cout << " is verifying with percent completion = " << other << "\n";
        } else {
            std::cout << " is not verifying, its current state is " << getStatus() << "\n";
        }
        return;
    }
    uint8_t status = 0;
    RequireApi(Api::GetUnitStatus(id, &status));
    if (status == kUnitStatusVerifying)
        std::cout << getPath() << " is verifying with percent completion = " << getPercentTextOf(id)
                  << "\n";
    else
        std::cout << getPath() << " is not verifying, its current state is " << getStatus() << "\n";
}

void LogicalDisk::showInitializeStatus() {
    uint8_t status = 0;
    RequireApi(Api::GetUnitStatus(id, &status));
    if (status == kUnitStatusInitializing) {
        std::cout << getPath()
                  << " is initializing with Percent Completion = " << getPercentTextOf(id) << "\n";
        return;
    }
    if (family() < kFamilyRhosk) {
        std::cout << getPath() << " is not initializing. Its current state is " << getStatus()
                  << "\n";
        return;
    }
    uint8_t initialized = 0xFF;
    RequireApi(Api::IsUnitInitialized(id, &initialized));
    if (initialized == 0)
        std::cout << getPath() << " is not initialized.\n";
    else if (initialized == 1)
        std::cout << getPath() << " is initialized.\n";
}

void LogicalDisk::showVolumeCount() {
    if (family() == kFamilyPrane)
        throwError(kInvalidUnitShowVolume);
    printCaughtLine(getPath() + " volume(s) = ", [this] {
        uint32_t count = 0;
        RequireApi(Api::GetUnitVolumeCount(id, &count));
        return std::to_string(count);
    });
}

void LogicalDisk::showName() {
    if (family() == kFamilyPrane)
        throwError(kInvalidUnitShowName);
    printCaughtLine(getPath() + " name = ", [this] {
        return ShellServices::padText(RequireApiText<kUnitTextSize>(Api::GetUnitName, id, ""), 21);
    });
}

void LogicalDisk::showSerial() {
    if (family() == kFamilyPrane)
        throwError(kInvalidUnitShowSerial);
    printCaughtLine(getPath() + " serial number = ", [this] {
        return ShellServices::padText(RequireApiText<kUnitTextSize>(Api::GetUnitSerial, id, ""),
                                      21);
    });
}

void LogicalDisk::showQueuePolicy() {
    if (family() < kFamilySolvane)
        throwError(kInvalidUnitShowQueuing);
    printCaughtLine(getPath() + " Command Queuing Policy = ", [this] {
        if (typeCode == kUnitSpare)
            return ShellServices::padText("N/A", 10);
        uint8_t value = 0xFF;
        RequireApi(Api::GetUnitQueuing(id, &value));
        return policyText(value);
    });
}

void LogicalDisk::showKeepwell() {
    printCaughtLine(getPath() + " Keepwell Policy = ",
                    [this] { return ShellServices::padText(getKeepwellText(), 12); });
}

void LogicalDisk::showIdentify() {
    std::cout << getPath() << " Identify status = " << (getIdentifyText() == "On" ? "on" : "off")
              << "\n";
}

void LogicalDisk::showParity() {
    printCaughtLine(getPath() + " Parity Number = ", [this] {
        if (typeCode != kUnitRaid6)
            return std::string("Not Supported");
        return ShellServices::padNumber(getParity(), 10);
    });
}

void LogicalDisk::showIgnoreEcc() {
    if (family() < kFamilyRhosk)
        throwError(kFeatureNotSupported);
    std::cout << getPath() << " Ignore ECC policy = " << std::flush;
    uint8_t value = 0xFF;
    RequireApi(Api::GetEccPolicy(id, &value));
    std::cout << policyText(value) << "\n";
}

void LogicalDisk::showAutoverify() {
    if (family() < kFamilyRhosk)
        throwError(kFeatureNotSupported);
    std::cout << getPath() << " Auto Verify Policy = " << std::flush;
    uint8_t value = 0xFF;
    RequireApi(Api::GetAutoVerify(id, &value));
    std::cout << policyText(value) << "\n";
}

void LogicalDisk::showCache(bool readCache) {
    if (!readCache) {
        uint8_t on = 0xFF;
        RequireApi(Api::GetUnitWriteCache(id, &on));
        if (on == 0)
            std::cout << getPath() << " Write Cache = off\n";
        else if (on == 1)
            std::cout << getPath() << " Write Cache = on\n";
        else
            std::cout << getPath() << " Write Cache state = unknown\n";
        return;
    }
    if (!hasLevel37())
        throwError(kFeatureNotSupported);
    uint8_t mode = 0xFF;
    RequireApi(Api::GetReadCacheMode(id, &mode));
    static const char* const kModes[] = {" Read Cache = off\n", " Read Cache = Basic\n",
                                         " Read Cache = Intelligent\n"};
    std::cout << getPath()
              << (mode < std::size(kModes) ? kModes[mode] : " Read Cache state = unknown\n");
}

void LogicalDisk::showWriteDpo() {
    if (!hasLevel36())
        throwError(kFeatureNotSupported);
    uint8_t policy = 0xFF;
    RequireApi(Api::GetWriteDpoPolicy(id, &policy));
    static const char* const kPolicies[] = {"ignore", "force", "honor"};
    std::cout << getPath() << " Write DPO policy setting = "
              << (policy < std::size(kPolicies) ? kPolicies[policy] : "unknown") << "\n";
}

void LogicalDisk::showRapidRecovery() {
    if (!hasLevel36())
        throwError(kFeatureNotSupported);
    uint8_t policy = 0xFF;
    if (Api::GetRapidRecovery(id, &policy) != 0)
        throwError(kFeatureNotSupported);
    const char* text = "unknown";
    if (policy == 0)
        text = typeCode == kUnitMigrating ? "N/A" : "disable";
    else if (policy == 1)
        text = "rebuild";
    else if (policy == 3)
        text = "all";
    std::cout << getPath() << " Rapid RAID Recovery setting = " << text << "\n";
}

std::string LogicalDisk::getIdentifyText() {
    uint8_t on = 0;
    if (Api::GetUnitIdentify(id, &on) != 0)
        return "-";
    return on == 1 ? "On" : "Off";
}

// --- The old-style detail report ---

int LogicalDisk::showDetail(ObjectId unit) {
    uint8_t flags = 0;
    RequireApi(Api::GetUnitFlags(unit, &flags));
    if (flags == 0)
        throwError(kNoSuchUnit);
    uint32_t type = 0;
    RequireApi(Api::GetUnitType(unit, &type));
    if (type == kUnitCbod)
        throwError(kNoSuchUnit);
    uint8_t status = 0;
    RequireApi(Api::GetUnitStatus(unit, &status));
    uint64_t blocks = 0;
    RequireApi(Api::GetUnitCapacity(unit, &blocks));
    ObjectIdList128 subunits;
    subunits.clear();
    RequireApi(Api::GetSubunitIdList(unit, &subunits));

    uint32_t stripeKb = 0;
    const bool striped = type == kUnitRaid0 || type == kUnitRaid5 || type == kUnitRaid10 ||
                         type == kUnitRaid6 || type == kUnitRaid50;
    if (striped)
        RequireApi(Api::GetUnitStripeSize(unit, &stripeKb));
    const std::string stripe = stripeKb != 0 ? std::to_string(stripeKb) + "k" : "N/A";
    // A nested unit shows its progress on the subunit that carries it.
    const bool nested = type == kUnitRaid10 || type == kUnitRaid50;
    const std::string percent = nested ? "" : detailPercent(unit, status);

    std::cout << "Unit /c" << controller->getNumber() << "/u" << number << "\n";
    std::cout << "---------------------"
              << "\n";
    std::cout << "Status:        " << statusName(status) << percent << "\n";
    std::cout << "Unit Type:     " << typeName(type) << "\n";
    std::cout << "Stripe Size:   " << stripe << "\n";
    std::cout << "Size:          " << capacityName(blocks) << " (" << blocks << " blocks)"
              << "\n";
    std::cout << "# of subunits: " << subunits.size() << "\n";

    if (subunits.size() == 0) {
        std::cout << "\tPhysical Port: " << detailPort(unit) << "\n";
        return 0;
    }
    for (std::size_t i = 0; i < subunits.size(); ++i) {
        const ObjectId sub = subunits.ids[i];
        std::cout << "\n";
        uint32_t subType = 0;
        uint8_t subStatus = 0;
        subunitTexts(sub, &subType, &subStatus);
        std::cout << "\tSubunit " << i << ":    " << typeName(subType) << ": "
                  << statusName(subStatus) << detailPercent(sub, subStatus) << "\n";
        if (subType == kUnitCbod || subType == kUnitSubunit || subType == kUnitSingle) {
            std::cout << "\tPhysical Port: " << detailPort(sub) << "\n";
            std::cout << "\tLogical  Port: " << i << "\n";
        } else if (subType == kUnitRaid1 || subType == kUnitRaid1Mirror || subType == kUnitRaid5 ||
                   subType == kUnitRaid6) {
            ObjectIdList128 members;
            members.clear();
            RequireApi(Api::GetSubunitIdList(sub, &members));
            for (std::size_t j = 0; j < members.size(); ++j) {
                const ObjectId member = members.ids[j];
                const std::string port = detailPort(member);
                std::cout << "\n";
                uint32_t memberType = 0;
                uint8_t memberStatus = 0;
                subunitTexts(member, &memberType, &memberStatus);
                std::cout << "\t\tSubunit " << j << ":    " << typeName(memberType) << ": "
                          << statusName(memberStatus) << "\n";
                std::cout << "\t\tPhysical Port: " << port << "\n";
                std::cout << "\t\tLogical  Port: " << j << "\n";
            }
        }
    }
    return 0;
}
