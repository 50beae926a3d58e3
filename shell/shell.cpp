// The shell object: its settings, the audit log and the host name.
#include "shell/shell.h"

#include <cstdlib>
#include <iostream>

#include "api/audit_log.h"
#include "api/os/os_layer.h"
#include "base/help.h"
#include "base/kv_exception.h"
#include "controllers/controller_mgr.h"
#include "platform/host_system.h"

namespace {

// A setting is off only when its variable is set to the keyword, in any
// case; unset, empty and any other value leave it on.
bool settingOn(const char* variable, const char* keyword) {
    const char* value = std::getenv(variable);
    if (value == nullptr) {
        return true;
    }
    std::string word(value);
    Shell::toLower(word);
    std::string key(keyword);
    Shell::toLower(key);
    return word != key;
}

const char kLogFileName[] = "kv_mgmt.log";
const char kDataSubfolder[] = "Orvo";
const char kLocalHost[] = "localhost";
// Host names are read into a buffer of this size; a longer one counts as a
// failure.
constexpr uint32_t kHostNameBuffer = 255;

}  // namespace

Shell::Shell() {
    newOutputStyle_ = settingOn("KV_CLI_STYLE", "OLD");
    newInputStyle_ = settingOn("KV_CLI_INPUT_STYLE", "OLD");
    logging_ = settingOn("KV_CLI_LOG", "OFF");

    logFilePath_ = getLogFilePath();
    help_ = std::make_unique<Help>();
    MakeAuditLog("CLI", logFilePath_, logging_);

    char name[kHostNameBuffer] = {};
    if (!OsLayer::QueryHostName(true, kHostNameBuffer, name)) {
        std::cerr << "could not get hostname" << std::endl;
        hostName_ = kLocalHost;
    } else {
        name[kHostNameBuffer - 1] = '\0';
        hostName_ = name;
        std::string shortName = getHostName(true);
        if (hostName_.empty() || shortName.find_first_of(" \t") != std::string::npos) {
            hostName_ = kLocalHost;
        }
    }
    focus_ = "//" + getHostName(true);
}

Shell::~Shell() = default;

bool Shell::checkAdministrator() {
    if (!OsLayer::IsAdministrator()) {
        throw KV_Exception(kOnlyAdministrator);
    }
    return true;
}

std::string Shell::getHostName(bool shortForm) const {
    if (!shortForm) {
        return hostName_;
    }
    return hostName_.substr(0, hostName_.find('.'));
}

std::string Shell::getLogFilePath() {
    char path[platform::kMaxPath] = {};
    OsLayer::GetDataFolder(kDataSubfolder, path);
    path[platform::kMaxPath - 1] = '\0';
    // Joined with the platform's own separator. A folder too long for the
    // system's path buffer (it may take all 260 characters) still gets the
    // file name: the separator is then learnt from a short join.
    if (platform::Host().pathAppend(path, kLogFileName)) {
        return path;
    }
    char probe[platform::kMaxPath] = "a";
    if (!platform::Host().pathAppend(probe, "b") || probe[1] == 'b') {
        return std::string(path) + kLogFileName;
    }
    return std::string(path) + probe[1] + kLogFileName;
}
