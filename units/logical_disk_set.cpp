// A unit's set command and the policy operations behind it: write and
// read cache, write DPO, Rapid RAID Recovery, auto-verify, ignore-ECC,
// name, command queuing, Keepwell and identify. Changes the audit log
// records go through their AuditLog wrappers.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <iostream>
#include <iterator>

#include "api/api.h"
#include "api/audit_log.h"
#include "base/api_call.h"
#include "base/audited_call.h"
#include "base/help.h"
#include "base/kv_exception.h"
#include "base/progress.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "units/logical_disk.h"

namespace {

// A unit name: 20 characters and the terminating zero.
constexpr std::size_t kUnitNameSize = 21;

bool isQuietWord(const std::string& word) {
    return word == "q" || word == "quiet";
}

bool isQuietMode(const std::string& mode) {
    return isQuietWord(mode) || mode == "quiet_no_message";
}

bool isOnOff(const std::string& value) {
    return value == "on" || value == "off";
}

// The word after an attribute that takes one: it becomes the confirmation
// word and must be "q" or "quiet".
void readConfirmationWord(std::istream& words, std::string* confirmation, CliCode errorCode) {
    if (!shell_words::hasMoreWords(words))
        return;
    words >> *confirmation;
    if (!isQuietWord(*confirmation))
        throwError(errorCode);
}

// The progress line of a set handler: prefix, unit and value as typed.
std::string settingLine(const char* prefix, const LogicalDisk& unit, const std::string& value) {
    return prefix + unit.getControllerName() + "/" + unit.getName() + " to [" + value + "] ... ";
}

}  // namespace

// --- Shared helpers ---

void LogicalDisk::runSetting(const std::string& progress, const std::function<void()>& apply) {
    printProgress(progress);
    try {
        apply();
    } catch (KV_Exception&) {
        std::cout << "Failed." << std::endl;
        throw;
    }
    printDone();
}

bool LogicalDisk::hasLevel36() {
    uint32_t answer = 0;
    return Api::HasFirmwareCompatLevel36(controllerId(), &answer) == 0 && answer == 1;
}

bool LogicalDisk::hasLevel37() {
    uint32_t answer = 0;
    return Api::HasFirmwareCompatLevel37(controllerId(), &answer) == 0 && answer == 1;
}

// --- The set command ---

int LogicalDisk::setCommand(std::istream& words) {
    std::string confirmation = "confirm";
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidUnitSet);
    const bool newer = family() != kFamilyPrane;
    auto has = [](const std::string& word, const char* key) {
        return word.find(key) != std::string::npos;
    };
    std::string word;
    while (words >> word) {
        const std::string value = shell_words::valueAfterEquals(word);
        if (has(word, "rdcache=")) {
            if (value != "basic" && value != "off" && value != "intelligent")
                throwError(kInvalidSetReadCache);
            setReadCache(value, false);
        } else if (has(word, "cache=") || has(word, "wrcache=")) {
            readConfirmationWord(words, &confirmation, kInvalidUnitSetCache);
            setWriteCacheCommand(value, confirmation);
        } else if (has(word, "writedpo=")) {
            if (shell_words::hasMoreWords(words))
                throwError(kInvalidUnitSet);
            if (value != "ignore" && value != "force" && value != "honor")
                throwError(kInvalidUnitSet);
            setWriteDpo(value);
        } else if (newer && has(word, "autoverify=")) {
            setAutoverifyCommand(value);
        } else if (newer && has(word, "ignoreecc=")) {
            setIgnoreEccCommand(value);
        } else if (newer && has(word, "name=")) {
            setNameCommand(value);
        } else if (newer && has(word, "qpolicy=")) {
            setQueuePolicyCommand(value);
        } else if (newer && has(word, "keepwell=")) {
            readConfirmationWord(words, &confirmation, kInvalidUnitSetKeepwell);
            setKeepwellCommand(value, confirmation);
        } else if (newer && has(word, "identify=")) {
            setIdentifyCommand(value);
        } else if (has(word, "rapidrecovery=") || has(word, "rrr=")) {
            readConfirmationWord(words, &confirmation, kInvalidUnitSet);
            setRapidRecoveryCommand(value, confirmation);
        } else if (shell_words::isHelpWord(word)) {
            theShell->getHelp()->showUnitSetHelp();
            return 0;
        } else {
            throwError(kInvalidUnitSet);
        }
    }
    return 0;
}

void LogicalDisk::setWriteCacheCommand(const std::string& value, const std::string& confirmation) {
    if (!isOnOff(value))
        throwError(kInvalidUnitSetCache);
    int result = 0;
    try {
        result = setWriteCache(value == "on", confirmation);
    } catch (KV_Exception&) {
        std::cout << "Failed." << std::endl;
        throw;
    }
    requireLockReleased(result);
}

void LogicalDisk::setAutoverifyCommand(const std::string& value) {
    if (!isOnOff(value))
        throwError(kInvalidUnitSetAutoverify);
    runSetting(settingLine("Setting Auto-Verify Policy on /", *this, value),
               [&] { setAutoverify(value == "on"); });
}

void LogicalDisk::setIgnoreEccCommand(const std::string& value) {
    if (!isOnOff(value))
        throwError(kInvalidUnitSetIgnoreEcc);
    runSetting(settingLine("Setting Ignore ECC Policy on /", *this, value),
               [&] { setIgnoreEcc(value == "on"); });
}

void LogicalDisk::setNameCommand(const std::string& value) {
    runSetting(settingLine("Naming unit /", *this, value), [&] { setName(value); });
}

void LogicalDisk::setQueuePolicyCommand(const std::string& value) {
    if (!isOnOff(value))
        throwError(kInvalidUnitSetQueuing);
    runSetting(settingLine("Setting Command Queuing Policy for unit /", *this, value),
               [&] { setQueuePolicy(value); });
}

void LogicalDisk::setKeepwellCommand(const std::string& value, const std::string& confirmation) {
    static const char* const kValues[] = {"protect", "perform", "balance", "protection",
                                          "performance"};
    if (std::find(std::begin(kValues), std::end(kValues), value) == std::end(kValues))
        throwError(kInvalidUnitSetKeepwell);
    const bool perform = value == "perform" || value == "performance";
    if (perform && !isQuietMode(confirmation)) {
        const std::string warning = "Warning: Unit " + getPath() +
                                    " keepwell policy is set to Performance" +
                                    " which may cause data loss in the event of power failure.";
        if (!ShellServices::confirm(warning))
            return;
    }
    runSetting(settingLine("Setting Command Keepwell Policy for unit /", *this, value),
               [&] { setKeepwell(value); });
}

void LogicalDisk::setIdentifyCommand(const std::string& value) {
    if (family() < kFamilySolvane || !isOnOff(value))
        throwError(kInvalidUnitSetIdentify);
    printProgress(settingLine("Setting unit Identify on /", *this, value));
    // Identify is a light, not a configuration change: not in the audit
    // log, and a controller that cannot light it only answers "N/A".
    const int result = Api::SetUnitIdentify(id, value == "on" ? 1 : 0);
    if (result < 0) {
        std::cout << "N/A\n";
        return;
    }
    std::cout << "Done.\n";
    requireLockReleased(result);
}

uint32_t LogicalDisk::rapidRecoveryRequestOf(const std::string& value) {
    if (value == "all")
        return 2;
    if (value == "rebuild")
        return 3;
    if (value == "disable")
        return 4;
    return 0;
}

void LogicalDisk::setRapidRecoveryCommand(const std::string& value,
                                          const std::string& confirmation) {
    rapidRecoveryRequest = rapidRecoveryRequestOf(value);
    if (rapidRecoveryRequest == 0)
        throwError(kInvalidUnitSet);
    setRapidRecovery(rapidRecoveryRequest, confirmation);
}

// --- Policy operations ---

int LogicalDisk::setWriteCache(bool on, const std::string& mode) {
    const std::string value = on ? "on" : "off";
    if (on && family() >= kFamilyRhosk && !isQuietMode(mode)) {
        // Every newer-family controller has a battery object; what counts
        // is whether a battery backup unit is there.
        if (!controller->isBatteryPresent(true)) {
            const std::string warning =
                "You do not have a battery backup unit installed, enabling write cache on\n" +
                getPath() + " may cause loss of data in the event of power failure.";
            if (!ShellServices::confirm(warning))
                return 0;
        }
    }
    const bool quiet = mode == "quiet_no_message";
    if (!quiet)
        printProgress("Setting Write Cache Policy on " + getPath() + " to [" + value + "] ... ");
    const int result = on ? AuditedCall(&AuditLog::EnableWriteCache, Api::EnableWriteCache, id)
                          : AuditedCall(&AuditLog::DisableWriteCache, Api::DisableWriteCache, id);
    if (result < 0)
        throwApiError();
    writeCache = on;
    if (!quiet)
        printDone();
    return result;
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
    const bool level37 = hasLevel37();
    if (!newUnit) {
        if (!level37)
            throwError(kFeatureNotSupported);
        printProgress("Setting Read Cache Policy on " + getPath() + " to [" + value + "] ...");
    } else {
        if (!level37)
            return;
        printProgress("Setting read cache = " + value + " for the new unit ...");
    }
    int result = 0;
    if (value == "off" || value == "OFF")
        result = AuditedCall(&AuditLog::DisableReadCache, Api::DisableReadCache, id);
    else if (value == "basic")
        result = AuditedCall(&AuditLog::EnableBasicReadCache, Api::EnableBasicReadCache, id);
    else if (value == "intelligent")
        result =
            AuditedCall(&AuditLog::EnableIntelligentReadCache, Api::EnableIntelligentReadCache, id);
    if (result < 0)
        throwApiError();
    std::cout << " Done." << std::endl;
    requireLockReleased(result);
}

void LogicalDisk::setWriteDpo(const std::string& value) {
    if (!hasLevel36())
        throwError(kFeatureNotSupported);
    const uint8_t policy = value == "ignore" ? 0 : value == "force" ? 1 : 2;
    printProgress("Setting Write DPO policy on " + getPath() + " to [" + value + "] ... ");
    // The write DPO policy is not one of the audited changes.
    RequireApi(Api::SetWriteDpoPolicy(id, policy));
    printDone();
}

void LogicalDisk::setRapidRecovery(uint32_t request, const std::string& mode) {
    if (!hasLevel36())
        throwError(kFeatureNotSupported);
    const bool hasPolicy = typeCode == kUnitRaid1 || typeCode == kUnitRaid1Mirror ||
                           typeCode == kUnitRaid5 || typeCode == kUnitRaid10 ||
                           typeCode == kUnitRaid6 || typeCode == kUnitRaid50;
    if (!hasPolicy) {
        std::cout << "The Rapid RAID Recovery setting cannot be changed "
                  << "for this array type.\n";
        return;
    }
    uint8_t current = 0xFF;
    if (Api::GetRapidRecovery(id, &current) != 0)
        throwError(kFeatureNotSupported);
    if (current == 0) {
        std::cout << "Current Rapid RAID Recovery state is not changable.\n";
        return;
    }
    uint8_t policy = 0;
    std::string text;
    if (request == 2) {
        policy = 3;
        text = "all";
    } else if (request == 3) {
        policy = 1;
        text = "rebuild";
    } else if (request == 4) {
        policy = 0;
        text = "disable";
        if (!isQuietWord(mode)) {
            const std::string warning = "Setting Rapid RAID Recovery to disable is permanent for " +
                                        getPath() + "\nand CANNOT be changed at a later time.";
            if (!ShellServices::confirm(warning))
                return;
        }
    } else {
        // Only the set handler and the creation flow call this, with the
        // three request codes.
        throwError(kInvalidUnitSet);
    }
    printProgress("Setting Rapid RAID Recovery policy on " + getPath() + " to [" + text + "] ... ");
    RequireApi(AuditedCall(&AuditLog::SetRapidRecovery, Api::SetRapidRecovery, id, policy));
    std::cout << "Done.\n";
}

bool LogicalDisk::setAutoverify(bool on) {
    if (family() < kFamilyRhosk)
        throwError(kFeatureNotSupported);
    RequireApi(on ? AuditedCall(&AuditLog::EnableAutoVerify, Api::EnableAutoVerify, id)
                  : AuditedCall(&AuditLog::DisableAutoVerify, Api::DisableAutoVerify, id));
    autoverify = on;
    return true;
}

bool LogicalDisk::getAutoverify(bool useCached) {
    if (!useCached) {
        uint8_t value = 0;
        RequireApi(Api::GetAutoVerify(id, &value));
        autoverify = value == 1;
    }
    return autoverify;
}

bool LogicalDisk::setIgnoreEcc(bool on) {
    if (family() == kFamilyPrane || !redundant)
        throwError(kFeatureNotSupported);
    RequireApi(on ? AuditedCall(&AuditLog::ContinueOnEccErrors, Api::ContinueOnEccErrors, id)
                  : AuditedCall(&AuditLog::HaltOnEccErrors, Api::HaltOnEccErrors, id));
    ignoreEcc = on;
    return true;
}

void LogicalDisk::checkNameLength(const std::string& text) {
    if (text.size() >= kUnitNameSize)
        throwError(kUnitNameTooLong);
}

bool LogicalDisk::setName(const std::string& text) {
    if (family() == kFamilyPrane)
        throwError(kInvalidUnitSetName);
    checkNameLength(text);
    char buffer[kUnitNameSize] = {};
    std::snprintf(buffer, sizeof buffer, "%s", text.c_str());
    RequireApi(AuditedCall(&AuditLog::SetUnitName, Api::SetUnitName, id,
                           static_cast<const char*>(buffer)));
    return true;
}

bool LogicalDisk::setQueuePolicy(const std::string& value) {
    if (family() < kFamilySolvane || typeCode == kUnitSpare)
        throwError(kInvalidUnitSetQueuing);
    if (value == "on")
        RequireApi(AuditedCall(&AuditLog::EnableUnitQueuing, Api::EnableUnitQueuing, id));
    else if (value == "off")
        RequireApi(AuditedCall(&AuditLog::DisableUnitQueuing, Api::DisableUnitQueuing, id));
    else
        throwError(kInvalidUnitSetQueuing);
    return true;
}

bool LogicalDisk::setKeepwell(const std::string& value) {
    if (family() < kFamilySolvane)
        throwError(kInvalidUnitSetKeepwell);
    uint8_t mode = 0;
    if (value == "protect" || value == "protection")
        mode = 0;
    else if (value == "balance")
        mode = 1;
    else if (value == "perform" || value == "performance")
        mode = 2;
    else
        throwError(kInvalidUnitSetKeepwell);
    RequireApi(AuditedCall(&AuditLog::SetKeepwellMode, Api::SetKeepwellMode, id, mode));
    return true;
}
