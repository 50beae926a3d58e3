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
#include "base/api_call.h"
#include "base/shell_words.h"
#include "units/logical_disk.h"

namespace {

// The unit types whose verify of a unit that never was initialised gets
// the notice that it is initialised first. RAID-1 is named by its code 1
// only: the unit objects of RAID-1 units carry code 2 and get no notice.
bool initialisesFirst(uint32_t type) {
    return type == kUnitRaid5 || type == kUnitRaid50 || type == kUnitRaid6 || type == kUnitRaid1 ||
           type == kUnitRaid10;
}

}  // namespace

bool LogicalDisk::flush() {
    std::cout << "Flushing write-cache on unit " << getPath() << " ..." << std::flush;
    if (theAuditLog->FlushWriteCache(id) != 0) {
        std::cout << "Failed." << std::endl;
        throwApiError();
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
        throwError(kInvalidMaintArgument);
    }
    return 0;
}

int LogicalDisk::rebuildCommand(std::istream& words) {
    // A unit without redundancy has nothing to rebuild from.
    if (!redundant)
        throwError(kInvalidUnitOperation);
    const std::string word = shell_words::nextWord(words);
    if (word == "pause")
        return pauseRebuild();
    if (word == "resume")
        return resumeRebuild();
    if (word.empty() || word[0] != 'p')
        throwError(kInvalidMaintArgument);
    parseDriveList(word);
    std::string option;
    if (words >> option) {
        if (option == "ignoreecc")
            return startRebuild(true);
        if (shell_words::hasMoreWords(words))
            throwError(kInvalidMaintArgument);
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
        throwError(kInvalidForUnitState);
    if ((status == kUnitStatusDegraded || status == kUnitStatusRebuilding) &&
        typeCode != kUnitRaid6)
        throwError(kInvalidForUnitState);
    std::cout << "Sending start verify message to " << getPath() << " ... " << std::flush;
    uint8_t initialized = 1;
    if (family() >= kFamilyRhosk && Api::IsUnitInitialized(id, &initialized) != 0) {
        std::cout << "Failed." << std::endl;
        throwApiError();
    }
    if (theAuditLog->VerifyUnit(id) != 0) {
        std::cout << "Failed." << std::endl;
        throwApiError();
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
        throwError(kInvalidForUnitState);
    RequireApi(Api::StopVerifyUnit(id));
    std::cout << "Stopped verify on " << getPath() << std::endl;
    return false;
}

int LogicalDisk::startRebuild(bool ignoreEccPolicy) {
    if (!redundant)
        throwError(kInvalidUnitOperation);
    if (drives.empty())
        throwError(kInvalidPortCount);
    checkDrivesUsable();
    ObjectIdList128 list = driveIdList(drives);
    std::string text;
    for (int32_t drive : drives)
        text += (text.empty() ? "" : ", ") + std::to_string(drive);
    std::cout << "Sending rebuild start request to " << getPath() << " on " << drives.size()
              << " disk(s) [" << text << "] ... " << std::flush;
    if (theAuditLog->RebuildUnit(id, &list, ignoreEccPolicy ? 1 : 0) != 0) {
        std::cout << "Failed." << std::endl;
        throwApiError();
    }
    std::cout << "Done.\n" << std::endl;
    return 0;
}

int LogicalDisk::resumeRebuild() {
    if (!redundant)
        throwError(kInvalidUnitOperation);
    if (family() != kFamilyPrane)
        throwError(kInvalidControllerOperation);
    std::cout << "Sending rebuild resume request to " << getPath() << " ... " << std::flush;
    if (Api::ResumeRebuild(id) != 0) {
        std::cout << "Failed." << std::endl;
        throwApiError();
    }
    std::cout << "Done." << std::endl;
    return 0;
}

int LogicalDisk::pauseRebuild() {
    if (!redundant)
        throwError(kInvalidUnitOperation);
    if (family() != kFamilyPrane)
        throwError(kInvalidControllerOperation);
    std::cout << "Sending rebuild pause request to " << getPath() << " ... " << std::flush;
    if (Api::PauseRebuild(id) != 0) {
        std::cout << "Failed." << std::endl;
        throwApiError();
    }
    std::cout << "Done." << std::endl;
    return 0;
}
