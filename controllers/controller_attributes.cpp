// What a controller answers about itself: the cached identity texts and the
// port count, the counts and rates, memory and auto-carving, the dispatcher
// of attribute words of a show command, and the old-style info command.
#include <cctype>
#include <functional>
#include <iostream>
#include <sstream>

#include "api/api.h"
#include "api/audit_log.h"
#include "base/help.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "controllers/bbu.h"
#include "controllers/controller.h"
#include "units/logical_disk.h"

namespace {

constexpr int32_t kFamilyNewer = 4;
constexpr int32_t kFamilyWithPhys = 7;
constexpr int32_t kFamilyConnections = 8;
constexpr uint32_t kNoUnitType = 0xFFFFFFFFu;
constexpr uint32_t kDiskUnitType = 12;
constexpr uint8_t kUnitOk = 255;
constexpr uint8_t kUnitVerifying = 251;

// One cached identity text: read once per controller object. A failure
// prints the library's message and an empty line and leaves the cache
// empty, so the next use asks again.
template <std::size_t N>
std::string CachedText(std::string& cache, const ObjectId& id, int (*read)(ObjectId, char*)) {
    if (!cache.empty())
        return cache;
    FixedText<N> text;
    if (read(id, text.data()) == 0) {
        text.text[N - 1] = '\0';
        cache = text.c_str();
        return cache;
    }
    std::cout << apiErrorMessage() << "\n";
    return cache;
}

// The unit ids of a controller; a failure throws the library's message.
ObjectIdList128 UnitIds(const ObjectId& id) {
    ObjectIdList128 list{};
    if (Api::GetUnitIdList(id, &list) != 0)
        throwApiError();
    return list;
}

// "first of second", the second number read before the first.
std::string CountOf(Controller& controller, uint32_t (Controller::*count)(),
                    uint32_t (Controller::*limit)()) {
    const uint32_t maximum = (controller.*limit)();
    const uint32_t value = (controller.*count)();
    return std::to_string(value) + " of " + std::to_string(maximum);
}

}  // namespace

// --- Identity texts ---

std::string Controller::getModel() {
    return CachedText<kModelTextSize>(model, objectId, Api::GetControllerModel);
}
std::string Controller::getDriverVersion() {
    return CachedText<kDriverVersionTextSize>(driverVersion, objectId, Api::GetDriverVersion);
}
std::string Controller::getFirmwareVersion() {
    return CachedText<kVersionTextSize>(firmwareVersion, objectId,
                                        Api::GetControllerFirmwareVersion);
}
std::string Controller::getBiosVersion() {
    return CachedText<kVersionTextSize>(biosVersion, objectId, Api::GetBiosVersion);
}
std::string Controller::getMonitorVersion() {
    return CachedText<kVersionTextSize>(bootLoaderVersion, objectId, Api::GetBootLoaderVersion);
}
std::string Controller::getSerialNumber() {
    return CachedText<kVersionTextSize>(serialNumber, objectId, Api::GetControllerSerial);
}
std::string Controller::getPcbVersion() {
    return CachedText<kVersionTextSize>(pcbVersion, objectId, Api::GetPcbVersion);
}
std::string Controller::getPchipVersion() {
    return CachedText<kVersionTextSize>(pchipVersion, objectId, Api::GetPchipVersion);
}
std::string Controller::getAchipVersion() {
    return CachedText<kVersionTextSize>(achipVersion, objectId, Api::GetAchipVersion);
}

// --- Counts and rates ---

uint32_t Controller::getNumPorts() {
    if (numPorts != 0)
        return numPorts;
    uint32_t count = 0;
    const int result = family < kFamilyConnections ? Api::GetNumPorts(objectId, &count)
                                                   : Api::GetNumConnections(objectId, &count);
    if (result == 0)
        numPorts = count;
    else
        std::cout << apiErrorMessage() << "\n";
    return numPorts;
}

uint32_t Controller::getNumDrives() {
    uint32_t count = 0;
    if (Api::GetNumDrives(objectId, &count) != 0)
        throwApiError();
    return count;
}

uint32_t Controller::getNumUnits() {
    const ObjectIdList128 list = UnitIds(objectId);
    uint32_t count = 0;
    for (uint32_t i = 0; i < list.count && i < ObjectIdList128::kCapacity; ++i) {
        uint32_t type = kNoUnitType;
        if (Api::GetUnitType(list.ids[i], &type) != 0)
            throwApiError();
        if (type != kNoUnitType && type != kDiskUnitType)
            ++count;
    }
    return count;
}

uint32_t Controller::getNumNotOptimalUnits() {
    const ObjectIdList128 list = UnitIds(objectId);
    uint32_t count = 0;
    for (uint32_t i = 0; i < list.count && i < ObjectIdList128::kCapacity; ++i) {
        uint8_t status = 0;
        if (Api::GetUnitStatus(list.ids[i], &status) != 0)
            throwApiError();
        if (status != kUnitOk && status != kUnitVerifying)
            ++count;
    }
    return count;
}

void Controller::showAllUnitStatus() {
    // Units that are verifying stay optimal; every other state but OK does
    // not. Spares count as units.
    uint32_t notOptimal = 0;
    for (const auto& entry : units) {
        const std::string status = entry.second->getStatus();
        if (status != "OK" && status != "VERIFYING" && status != "VERIFY-PAUSED")
            ++notOptimal;
    }
    const auto total = static_cast<uint32_t>(units.size());
    std::cout << "/" << name << " Total Optimal Units = " << total - notOptimal << "\n"
              << "/" << name << " Not Optimal Units = " << notOptimal << " \n";
}

uint32_t Controller::getRebuildRate() {
    int32_t rate = 0;
    if (Api::GetRebuildRate(objectId, &rate) != 0)
        throwApiError();
    return static_cast<uint32_t>(rate);
}

// --- Memory and auto-carving ---

uint32_t Controller::getAvailableMemory() {
    if (memoryKb == 0) {
        uint32_t bytes = 0;
        if (Api::GetAvailableMemory(objectId, &bytes) != 0)
            throwApiError();
        memoryKb = bytes >> 10;
    }
    return memoryKb;
}

std::string Controller::getMemoryText() {
    if (memoryKb == 0) {
        try {
            getAvailableMemory();
        } catch (KV_Exception& error) {
            printErrorLine(error);
            return std::string();
        }
    }
    const uint32_t mb = memoryKb >> 10;
    const uint32_t gb = mb / 1024;
    if (gb >= 1)
        return std::to_string(gb) + "GB";
    if (mb >= 1)
        return std::to_string(mb) + "MB";
    return std::to_string(memoryKb) + "KB";
}

int Controller::getAutoCarvePolicy(uint8_t* value) {
    if (family < kFamilyNewer)
        throwError(kInvalidControllerOperation);
    if (Api::GetMultiLunPolicy(objectId, value) != 0)
        throwApiError();
    return 0;
}

std::string Controller::getAutoCarveText(const std::string& mode) {
    if (family < kFamilyNewer)
        return "Not Supported.";
    return textOrEmpty(mode, [this] {
        uint8_t value = 0;
        getAutoCarvePolicy(&value);
        autoCarveText = value == 1 ? "on" : value == 0 ? "off" : "";
        return autoCarveText;
    });
}

int Controller::setAutoCarve(const std::string& word) {
    if (family < kFamilyNewer)
        throwError(kInvalidControllerOperation);
    const std::string value = shell_words::valueAfterEquals(word);
    printProgress("Setting Auto-Carving Policy on /" + name + " to [" + value + "] ... ");
    int result = 0;
    if (value == "on") {
        result = theAuditLog != nullptr ? theAuditLog->EnableMultiLunPolicy(objectId)
                                        : Api::EnableMultiLunPolicy(objectId);
    } else if (value == "off") {
        result = theAuditLog != nullptr ? theAuditLog->DisableMultiLunPolicy(objectId)
                                        : Api::DisableMultiLunPolicy(objectId);
    } else {
        std::cout << "Failed."
                  << "\n";
        throwError(kInvalidControllerCommandValue);
    }
    if (result != 0)
        throwApiError();
    std::cout << "Done.\n";
    return 0;
}

// --- The show-attribute dispatcher ---

void Controller::showAttribute(const std::string& word, int flag) {
    using Value = std::function<std::string(Controller&)>;
    struct ValueLine {
        const char* word;
        const char* label;
        Value value;
    };
    auto number = [](uint32_t (Controller::*get)()) {
        return Value([get](Controller& c) { return std::to_string((c.*get)()); });
    };
    auto text = [](std::string (Controller::*get)()) {
        return Value([get](Controller& c) { return (c.*get)(); });
    };
    const bool connections = family >= kFamilyConnections;
    const ValueLine lines[] = {
        {"driver", " Driver Version = ", text(&Controller::getDriverVersion)},
        {"model", " Model = ", text(&Controller::getModel)},
        {"memory", " Available Memory = ", text(&Controller::getMemoryText)},
        {"autocarve", " Auto-Carving Policy = ",
         [](Controller& c) { return c.getAutoCarveText("showmessage"); }},
        {"carvesize",
         " Auto-Carving Size = ", [](Controller& c) { return c.getCarveSize("showmessage"); }},
        {"autorebuild",
         " Auto-Rebuild Policy = ", [](Controller& c) { return c.getAutoRebuild("showmessage"); }},
        {"firmware", " Firmware Version = ", text(&Controller::getFirmwareVersion)},
        {"bios", " Bios Version = ", text(&Controller::getBiosVersion)},
        {"monitor", " Boot Loader Version = ", text(&Controller::getMonitorVersion)},
        {"serial", " Serial Number = ", text(&Controller::getSerialNumber)},
        {"pcb", " PCB Version = ", text(&Controller::getPcbVersion)},
        {"pchip", " PCHIP Version = ", text(&Controller::getPchipVersion)},
        {"achip", " ACHIP Version = ", text(&Controller::getAchipVersion)},
        {"numports", connections ? " Connections = " : " Number of Ports = ",
         connections ? Value([](Controller& c) {
             return CountOf(c, &Controller::getNumPorts, &Controller::getMaxConnections);
         })
                     : number(&Controller::getNumPorts)},
        {"numunits", " Number of Units = ", number(&Controller::getNumUnits)},
        {"numdrives", " Number of Drives = ", number(&Controller::getNumDrives)},
        {"exportjbod", " JBOD Export Policy = ", text(&Controller::getExportJbod)},
        {"ondegrade", " Cache on Degrade Policy = ", text(&Controller::getOnDegrade)},
        {"spinup", " Disk Spinup Policy = ", text(&Controller::getSpinup)},
        {"stagger", " Spinup Stagger Time Policy (sec) = ", text(&Controller::getStagger)},
        {"ignorefuawrite", " Ignore FUA on Write Policy = ", text(&Controller::getIgnoreFuaWrite)},
        {"forcedrivecacheon",
         " Force Drive Cache On       = ", text(&Controller::getForceDriveCacheOn)},
        {"avmode", " AV Mode Policy = ", text(&Controller::getAvMode)},
        {"lbareorder", " LBA Reordering state = ", text(&Controller::getLbaReorder)},
        {"connectioncnt", " Connections = ",
         [](Controller& c) {
             return CountOf(c, &Controller::getNumPorts, &Controller::getMaxConnections);
         }},
        {"activedrvcnt", " Active Drives = ",
         [](Controller& c) {
             return CountOf(c, &Controller::getNumActiveDrives, &Controller::getMaxDrives);
         }},
        {"drvcnt", " Drives = ",
         [](Controller& c) {
             return CountOf(c, &Controller::getNumDrives, &Controller::getMaxDrives);
         }},
        {"unitcnt", " Units = ",
         [](Controller& c) {
             return CountOf(c, &Controller::getNumUnits, &Controller::getMaxUnits);
         }},
        {"activeunitcnt", " Active Units = ",
         [](Controller& c) {
             return CountOf(c, &Controller::getNumActiveUnits, &Controller::getMaxActiveUnits);
         }},
        {"maxdrivesperunit", " Max Drives Per Unit = ", number(&Controller::getMaxDrivesPerUnit)},
        {"ctlrphys", " Controller Phys = ", number(&Controller::getNumPhys)},
        {"sata_encl_lim", " SATA Drive Link Speed Control/Limit in Enclosures = ",
         text(&Controller::getSataEnclosureLimit)},
        {"sas_encl_lim", " SAS Drive Link Speed Control/Limit in Enclosures = ",
         text(&Controller::getSasEnclosureLimit)},
    };
    for (const ValueLine& line : lines) {
        if (word == line.word) {
            const std::string value = line.value(*this);
            std::cout << "/" << name << line.label << value << "\n";
            return;
        }
    }

    using View = std::function<void(Controller&)>;
    struct ViewWord {
        const char* word;
        View view;
    };
    const bool newStyle = theShell == nullptr || theShell->isNewOutputStyle();
    const ViewWord views[] = {
        {"ctlbus", [](Controller& c) { c.showControllerBus(); }},
        {"unitstatus",
         [newStyle](Controller& c) { newStyle ? c.showUnits() : c.showUnitStatus(); }},
        {"drivestatus",
         [newStyle](Controller& c) { newStyle ? c.showDrives() : c.showDriveStatus(); }},
        {"allunitstatus", [](Controller& c) { c.showAllUnitStatus(); }},
        {"bbustatus",
         [](Controller& c) {
             if (c.getBbu() != nullptr)
                 c.getBbu()->showTable();
         }},
        {"iostat", [](Controller& c) { c.showIostat(); }},
        {"diag", [](Controller& c) { c.showDiag(); }},
        {"rebuild", [](Controller& c) { c.showRebuildSchedule(); }},
        {"verify", [](Controller& c) { c.showVerifySchedule(); }},
        {"selftest", [](Controller& c) { c.showSelftestSchedule(); }},
        {"rebuildrate", [flag](Controller& c) { c.showBackgroundTask(0, true, flag != 0); }},
        {"rebuildmode", [flag](Controller& c) { c.showBackgroundTask(0, false, flag != 0); }},
        {"verifyrate", [flag](Controller& c) { c.showBackgroundTask(1, true, flag != 0); }},
        {"verifymode", [flag](Controller& c) { c.showBackgroundTask(1, false, flag != 0); }},
        {"phy",
         [](Controller& c) {
             if (c.getFamily() < kFamilyWithPhys)
                 throwError(kInvalidControllerOperation);
             c.showPhys();
         }},
        {"?", [](Controller&) { showHelp("show"); }},
        {"help", [](Controller&) { showHelp("show"); }},
    };
    for (const ViewWord& view : views) {
        if (word == view.word) {
            view.view(*this);
            return;
        }
    }
    std::cout << "'" << word << "'"
              << " is not a valid controller parameter of the show command.\n";
}

// --- The old-style info command ---

int Controller::infoCommand(std::istream& words) {
    const bool newStyle = theShell == nullptr || theShell->isNewOutputStyle();
    if (!shell_words::hasMoreWords(words)) {
        if (newStyle)
            showAll();
        else
            showInfo();
        return 0;
    }
    const std::string word = shell_words::nextWord(words);
    const bool numbered = word.size() > 1 && std::isdigit(static_cast<unsigned char>(word[1]));
    if (numbered && word[0] == 'u') {
        getUnit(word)->show(words);
        return 0;
    }
    if (numbered && word[0] == 'p') {
        if (word.find_first_not_of("p0123456789") != std::string::npos)
            throw KV_Exception(kInvalidPort);
        showPortInfo(word, words);
        return 0;
    }
    if (word == "diag") {
        showDiag();
        return 0;
    }
    if (shell_words::hasMoreWords(words))
        throw KV_Exception(kInvalidInfoArgument);
    showAttribute(word, 0);
    return 0;
}
