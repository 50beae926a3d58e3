// The unit policy operations that a new unit's follow-up settings use:
// each checks what the controller supports, makes its one library call
// (through the audit log where the change is logged) and turns a failure
// into the library's error.
#include <cstring>
#include <iostream>

#include "api/api.h"
#include "controllers/bbu.h"
#include "controllers/controller.h"
#include "shell/shell.h"
#include "units/api_call.h"
#include "units/audited_call.h"
#include "units/logical_disk.h"

namespace {

constexpr int kFeatureNotSupported = 149;
constexpr int kInvalidSetName = 100;
constexpr int kNameTooLong = 101;
constexpr int kInvalidQueuing = 106;
constexpr int kInvalidKeepwell = 108;
constexpr std::size_t kMaxNameLength = 20;

bool isQuiet(const std::string& mode) {
    return mode == "q" || mode == "quiet" || mode == "quiet_no_message";
}

}  // namespace

int LogicalDisk::setWriteCache(bool on, const std::string& mode) {
    const std::string value = on ? "on" : "off";
    if (on && family() >= kFamilyRhosk && controller->getBbu() == nullptr && !isQuiet(mode)) {
        const std::string warning =
            "You do not have a battery backup unit installed, enabling write cache on\n" +
            getPath() + " may cause loss of data in the event of power failure.";
        if (!Shell::confirm(warning))
            return 0;
    }
    const bool loud = mode != "quiet_no_message";
    if (loud) {
        std::cout << "Setting Write Cache Policy on " << getPath() << " to [" << value << "] ... "
                  << std::flush;
    }
    RequireApi(on ? AuditedCall(&AuditLog::EnableWriteCache, &Api::EnableWriteCache, id)
                  : AuditedCall(&AuditLog::DisableWriteCache, &Api::DisableWriteCache, id));
    if (loud)
        std::cout << "Done." << std::endl;
    return 0;
}

bool LogicalDisk::getWriteCache(bool useCached) {
    if (!useCached) {
        uint8_t on = 0;
        RequireApi(Api::GetUnitWriteCache(id, &on));
        writeCache = on == 1;
    }
    return writeCache;
}

void LogicalDisk::setReadCache(const std::string& value, bool newUnit) {
    uint32_t level37 = 0;
    if (Api::HasFirmwareCompatLevel37(controllerId(), &level37) != 0)
        level37 = 0;
    if (!newUnit) {
        if (level37 != 1)
            Controller::throwError(kFeatureNotSupported);
        std::cout << "Setting Read Cache Policy on " << getPath() << " to [" << value << "] ..."
                  << std::flush;
    } else {
        if (level37 != 1)
            return;
        std::cout << "Setting read cache = " << value << " for the new unit ..." << std::flush;
    }
    if (value == "off" || value == "OFF") {
        RequireApi(AuditedCall(&AuditLog::DisableReadCache, &Api::DisableReadCache, id));
    } else if (value == "basic") {
        RequireApi(AuditedCall(&AuditLog::EnableBasicReadCache, &Api::EnableBasicReadCache, id));
    } else if (value == "intelligent") {
        RequireApi(AuditedCall(&AuditLog::EnableIntelligentReadCache,
                               &Api::EnableIntelligentReadCache, id));
    }
    std::cout << " Done." << std::endl;
}

void LogicalDisk::setRapidRecovery(uint32_t request, const std::string& mode) {
    uint32_t level36 = 0;
    if (Api::HasFirmwareCompatLevel36(controllerId(), &level36) != 0 || level36 != 1)
        Controller::throwError(kFeatureNotSupported);
    switch (typeCode) {
        case kUnitRaid1:
        case kUnitRaid1Mirror:
        case kUnitRaid5:
        case kUnitRaid10:
        case kUnitRaid6:
        case kUnitRaid50:
            break;
        default:
            std::cout << "The Rapid RAID Recovery setting cannot be changed "
                      << "for this array type.\n";
            return;
    }
    uint8_t current = 0;
    if (Api::GetRapidRecovery(id, &current) != 0)
        Controller::throwError(kFeatureNotSupported);
    if (current == 0) {
        std::cout << "Current Rapid RAID Recovery state is not changable.\n";
        return;
    }
    uint8_t policy = 0;
    std::string text;
    switch (request) {
        case 2:
            policy = 3;
            text = "all";
            break;
        case 3:
            policy = 1;
            text = "rebuild";
            break;
        default:
            policy = 0;
            text = "disable";
            if (mode != "quiet" && mode != "q") {
                const std::string warning =
                    "Setting Rapid RAID Recovery to disable is permanent for " + getPath() +
                    "\nand CANNOT be changed at a later time.";
                if (!Shell::confirm(warning))
                    return;
            }
            break;
    }
    std::cout << "Setting Rapid RAID Recovery policy on " << getPath() << " to [" << text
              << "] ... " << std::flush;
    RequireApi(AuditedCall(&AuditLog::SetRapidRecovery, &Api::SetRapidRecovery, id, policy));
    std::cout << "Done.\n";
}

bool LogicalDisk::setAutoverify(bool on) {
    if (family() < kFamilyRhosk)
        Controller::throwError(kFeatureNotSupported);
    RequireApi(on ? AuditedCall(&AuditLog::EnableAutoVerify, &Api::EnableAutoVerify, id)
                  : AuditedCall(&AuditLog::DisableAutoVerify, &Api::DisableAutoVerify, id));
    return true;
}

bool LogicalDisk::getAutoverify(bool useCached) {
    if (!useCached) {
        uint8_t on = 0;
        RequireApi(Api::GetAutoVerify(id, &on));
        autoverify = on == 1;
    }
    return autoverify;
}

bool LogicalDisk::setIgnoreEcc(bool on) {
    if (family() == kFamilyPrane || !redundant)
        Controller::throwError(kFeatureNotSupported);
    RequireApi(on ? AuditedCall(&AuditLog::ContinueOnEccErrors, &Api::ContinueOnEccErrors, id)
                  : AuditedCall(&AuditLog::HaltOnEccErrors, &Api::HaltOnEccErrors, id));
    return true;
}

void LogicalDisk::checkNameLength(const std::string& text) {
    if (text.size() > kMaxNameLength)
        Controller::throwError(kNameTooLong);
}

bool LogicalDisk::setName(const std::string& text) {
    if (family() == kFamilyPrane)
        Controller::throwError(kInvalidSetName);
    checkNameLength(text);
    char buffer[kMaxNameLength + 1] = {};
    std::memcpy(buffer, text.data(), std::min(text.size(), kMaxNameLength));
    RequireApi(AuditedCall(&AuditLog::SetUnitName, &Api::SetUnitName, id, buffer));
    return true;
}

void LogicalDisk::setNameCommand(const std::string& value) {
    std::cout << "Naming unit " << getPath() << " to [" << value << "] ... " << std::flush;
    try {
        setName(value);
    } catch (const KV_Exception&) {
        std::cout << "Failed." << std::endl;
        throw;
    }
    std::cout << "Done." << std::endl;
}

bool LogicalDisk::setQueuePolicy(const std::string& value) {
    if (family() < kFamilySolvane || typeCode == kUnitSpare)
        Controller::throwError(kInvalidQueuing);
    if (value == "on") {
        RequireApi(AuditedCall(&AuditLog::EnableUnitQueuing, &Api::EnableUnitQueuing, id));
    } else if (value == "off") {
        RequireApi(AuditedCall(&AuditLog::DisableUnitQueuing, &Api::DisableUnitQueuing, id));
    } else {
        Controller::throwError(kInvalidQueuing);
    }
    return true;
}

bool LogicalDisk::setKeepwell(const std::string& value) {
    if (family() < kFamilySolvane)
        Controller::throwError(kInvalidKeepwell);
    uint8_t mode = 0;
    if (value == "protect" || value == "protection") {
        mode = 0;
    } else if (value == "perform" || value == "performance") {
        mode = 2;
    } else if (value == "balance") {
        mode = 1;
    } else {
        Controller::throwError(kInvalidKeepwell);
    }
    RequireApi(AuditedCall(&AuditLog::SetKeepwellMode, &Api::SetKeepwellMode, id, mode));
    return true;
}
