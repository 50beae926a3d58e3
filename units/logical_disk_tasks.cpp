// A unit's background tasks (verify and rebuild) and its write-cache
// flush.
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <istream>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/audit_log.h"
#include "controllers/controller.h"
#include "shell/shell_words.h"
#include "units/api_call.h"
#include "units/logical_disk.h"

namespace {

constexpr int kErrIdInUse = 8;
constexpr int kErrDriveCount = 10;
constexpr int kErrMaintArgument = 16;
constexpr int kErrUnitState = 19;
constexpr int kErrInvalidOperation = 24;
constexpr int kErrUnitOperation = 25;
constexpr int kErrMixedDrives = 139;
constexpr int kErrUnitDriveLimit = 140;
constexpr int kErrJbodSas = 141;
constexpr int kErrInvalidDrives = 144;
constexpr std::size_t kMaxDrivePieces = 128;
constexpr uint8_t kDrivePresent = 0x80;
constexpr uint8_t kDriveInUnit = 0x01;

// The unit types whose verify initialises a unit that never was.
bool initialisesFirst(uint32_t type) {
    return type == kUnitRaid5 || type == kUnitRaid50 || type == kUnitRaid6 || type == kUnitRaid1 ||
           type == kUnitRaid1Mirror || type == kUnitRaid10;
}

// A decimal number up to its first non-digit.
int32_t leadingNumber(const std::string& text) {
    return static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

[[noreturn]] void invalidDrives() {
    Controller::throwError(kErrInvalidDrives);
}

// Reads the drive list of a word "p0:2-4:7" into `drives`: the numbers are
// appended, sorted and must all differ.
void parseDriveWord(const std::string& word, std::vector<int32_t>& drives) {
    if (word.size() < 2 || word[1] < '0' || word[1] > '9')
        invalidDrives();
    const std::string list = word.substr(1);
    if (list.find_first_not_of("0123456789:-") != std::string::npos)
        invalidDrives();
    const auto separator = [](char c) { return c == ':' || c == '-'; };
    if (separator(list.front()) || separator(list.back()))
        invalidDrives();
    for (const char* pair : {"::", "--", ":-", "-:"}) {
        if (list.find(pair) != std::string::npos)
            invalidDrives();
    }
    std::size_t at = 0;
    for (std::size_t piece = 0; piece < kMaxDrivePieces && at < list.size(); ++piece) {
        const std::size_t next = list.find_first_of(":-", at);
        if (next == std::string::npos) {
            drives.push_back(leadingNumber(list.substr(at)));
            break;
        }
        if (list[next] == ':') {
            drives.push_back(leadingNumber(list.substr(at, next - at)));
            at = next + 1;
            continue;
        }
        const int32_t first = leadingNumber(list.substr(at, next - at));
        const std::size_t end = list.find(':', next + 1);
        const int32_t last = leadingNumber(
            list.substr(next + 1, end == std::string::npos ? std::string::npos : end - next - 1));
        if (first >= last) {
            std::cout << "Disks specified in a range must be in ascending order.\n";
            invalidDrives();
        }
        for (int32_t d = first; d <= last; ++d)
            drives.push_back(d);
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    std::sort(drives.begin(), drives.end());
    const auto unique = std::unique(drives.begin(), drives.end());
    if (unique != drives.end()) {
        drives.erase(unique, drives.end());
        Controller::throwError(kErrIdInUse);
    }
}

// The drive kinds of the mixed-drive test.
enum class DriveKind { None, Sata, Sas };

DriveKind kindOfInterface(uint8_t interface) {
    if (interface == 1 || interface == 5)
        return DriveKind::Sata;
    if (interface == 3 || interface == 7)
        return DriveKind::Sas;
    return DriveKind::None;
}

// Whether the listed drives can take part: enough room on the controller,
// each present and in no unit, and no mix of SATA and SAS drives. The
// unusable drives are listed before the command ends.
void checkDrivesUsable(const std::vector<int32_t>& drives, uint8_t controllerNumber,
                       ObjectId controllerIdentity, int32_t familyCode, uint32_t typeCode) {
    uint32_t limit = 0;
    if (familyCode >= kFamilyVantor) {
        RequireApi(Api::GetMaxDrivesPerUnit(controllerIdentity, &limit));
        if (drives.size() > limit)
            Controller::throwError(kErrUnitDriveLimit);
    } else {
        RequireApi(Api::GetNumPorts(controllerIdentity, &limit));
        if (drives.size() > limit)
            Controller::throwError(kErrInvalidDrives);
    }
    std::vector<int32_t> unusable;
    DriveKind unitKind = DriveKind::None;
    for (int32_t drive : drives) {
        ObjectId driveId = ObjectId::Blank();
        RequireApi(Api::MakeDriveId(controllerNumber, static_cast<uint8_t>(drive), &driveId));
        uint8_t status = kDriveNone;
        RequireApi(Api::GetDriveStatus(driveId, &status));
        if ((status & kDrivePresent) == 0) {
            // An empty port has no drive to ask about: it is unusable as it
            // stands.
            unusable.push_back(drive);
            continue;
        }
        if (familyCode > kFamilyRhosk) {
            uint8_t flags = 0;
            RequireApi(Api::GetDriveUnitFlags(driveId, &flags));
            if ((flags & kDriveInUnit) != 0)
                unusable.push_back(drive);
        }
        if (familyCode >= kFamilyVantor) {
            uint8_t interface = 0;
            RequireApi(Api::GetDriveInterface(driveId, &interface));
            const DriveKind kind = kindOfInterface(interface);
            if (kind != DriveKind::None && unitKind == DriveKind::None)
                unitKind = kind;
            else if (kind != DriveKind::None && kind != unitKind)
                Controller::throwError(kErrMixedDrives);
            if (typeCode == kUnitJbod && kind == DriveKind::Sas)
                Controller::throwError(kErrJbodSas);
        }
    }
    if (!unusable.empty()) {
        std::string text = "The following drive(s) cannot be used [";
        for (std::size_t i = 0; i < unusable.size(); ++i)
            text += (i == 0 ? "" : ", ") + std::to_string(unusable[i]);
        std::cout << text << "].\n";
        Controller::throwError(kErrInvalidDrives);
    }
}

}  // namespace

bool LogicalDisk::flush() {
    std::cout << "Flushing write-cache on unit " << getPath() << " ..." << std::flush;
    if (theAuditLog->FlushWriteCache(id) != 0) {
        std::cout << "Failed." << std::endl;
        Controller::throwApiError();
    }
    std::cout << "Done." << std::endl;
    return true;
}

int LogicalDisk::verifyCommand(std::istream& words) {
    const std::string word = shell_words::nextWord(words);
    if (word.empty() || word == "start") {
        startVerify();
    } else if (word == "stop") {
        stopVerify();
    } else {
        Controller::throwError(kErrMaintArgument);
    }
    return 0;
}

int LogicalDisk::rebuildCommand(std::istream& words) {
    // A unit without redundancy has nothing to rebuild from.
    if (!redundant)
        Controller::throwError(kErrUnitOperation);
    const std::string word = shell_words::nextWord(words);
    if (word == "pause")
        return pauseRebuild();
    if (word == "resume")
        return resumeRebuild();
    if (word.empty() || word[0] != 'p')
        Controller::throwError(kErrMaintArgument);
    parseDriveWord(word, drives);
    std::string option;
    if (words >> option) {
        if (option == "ignoreecc")
            return startRebuild(true);
        if (shell_words::hasMoreWords(words))
            Controller::throwError(kErrMaintArgument);
    }
    if (family() == kFamilyPrane)
        return startRebuild(false);
    return startRebuild(getIgnoreEcc(false));
}

bool LogicalDisk::startVerify() {
    uint8_t status = 0;
    RequireApi(Api::GetUnitStatus(id, &status));
    if (status == kUnitStatusVerifying || status == kUnitStatusInitializing ||
        status == kUnitStatusInoperable)
        Controller::throwError(kErrUnitState);
    if ((status == kUnitStatusDegraded || status == kUnitStatusRebuilding) &&
        typeCode != kUnitRaid6)
        Controller::throwError(kErrUnitState);
    std::cout << "Sending start verify message to " << getPath() << " ... " << std::flush;
    uint8_t initialized = 1;
    if (family() >= kFamilyRhosk && Api::IsUnitInitialized(id, &initialized) != 0) {
        std::cout << "Failed." << std::endl;
        Controller::throwApiError();
    }
    if (theAuditLog->VerifyUnit(id) != 0) {
        std::cout << "Failed." << std::endl;
        Controller::throwApiError();
    }
    std::cout << "Done." << std::endl;
    if (family() >= kFamilyRhosk && initialized == 0 && initialisesFirst(typeCode))
        std::cout << "Unit was not previously initialized.  Will be initialized first before "
                     "verified."
                  << std::endl;
    return false;
}

bool LogicalDisk::stopVerify() {
    uint8_t status = 0;
    RequireApi(Api::GetUnitStatus(id, &status));
    if (status != kUnitStatusVerifying)
        Controller::throwError(kErrUnitState);
    RequireApi(Api::StopVerifyUnit(id));
    std::cout << "Stopped verify on " << getPath() << std::endl;
    return false;
}

int LogicalDisk::startRebuild(bool ignoreEccPolicy) {
    if (!redundant)
        Controller::throwError(kErrUnitOperation);
    if (drives.empty())
        Controller::throwError(kErrDriveCount);
    checkDrivesUsable(drives, static_cast<uint8_t>(controller->getNumber()), controllerId(),
                      family(), typeCode);
    ObjectIdList128 list;
    list.clear();
    std::string text;
    for (int32_t drive : drives) {
        ObjectId driveId = ObjectId::Blank();
        RequireApi(Api::MakeDriveId(static_cast<uint8_t>(controller->getNumber()),
                                    static_cast<uint8_t>(drive), &driveId));
        if (!list.add(driveId))
            Controller::throwError(kErrInvalidDrives);
        text += (text.empty() ? "" : ", ") + std::to_string(drive);
    }
    std::cout << "Sending rebuild start request to " << getPath() << " on " << drives.size()
              << " disk(s) [" << text << "] ... " << std::flush;
    if (theAuditLog->RebuildUnit(id, &list, ignoreEccPolicy ? 1 : 0) != 0) {
        std::cout << "Failed." << std::endl;
        Controller::throwApiError();
    }
    std::cout << "Done.\n" << std::endl;
    return 0;
}

int LogicalDisk::resumeRebuild() {
    if (!redundant)
        Controller::throwError(kErrUnitOperation);
    if (family() != kFamilyPrane)
        Controller::throwError(kErrInvalidOperation);
    std::cout << "Sending rebuild resume request to " << getPath() << " ... " << std::flush;
    if (Api::ResumeRebuild(id) != 0) {
        std::cout << "Failed." << std::endl;
        Controller::throwApiError();
    }
    std::cout << "Done." << std::endl;
    return 0;
}

int LogicalDisk::pauseRebuild() {
    if (!redundant)
        Controller::throwError(kErrUnitOperation);
    if (family() != kFamilyPrane)
        Controller::throwError(kErrInvalidOperation);
    std::cout << "Sending rebuild pause request to " << getPath() << " ... " << std::flush;
    if (Api::PauseRebuild(id) != 0) {
        std::cout << "Failed." << std::endl;
        Controller::throwApiError();
    }
    std::cout << "Done." << std::endl;
    return 0;
}
