// The controller's diagnostic report ("show diag"): a block that names the
// host, the program and the controller, the controller's error log as the
// controller delivers it and, with a working battery, its status word. The
// newer family adds the controller log.
#include <cstdio>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/audit_log.h"
#include "base/shell_services.h"
#include "base/version.h"
#include "controllers/bbu.h"
#include "controllers/controller.h"
#include "controllers/controller_wescal.h"

namespace {

constexpr std::size_t kLogSize = 32768;
constexpr int32_t kFamilyNewer = 4;
constexpr const char* kHostArchitecture = "x64 (64 bit)";

std::string fullHostName() {
    return theShell != nullptr ? theShell->getHostName(false) : std::string();
}

std::string timeStamp() {
    // The program runs on one thread, so the shared result of localtime
    // is safe here, and it is the standard call on every platform.
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    char text[64] = {};
    if (local != nullptr)
        std::strftime(text, sizeof text, "%H:%M:%S %d-%b-%Y", local);
    return text;
}

// The two log reads, each through its audited wrapper (straight to the
// library when no audit logger was made).
int readErrorLog(ObjectId controller, uint8_t* log) {
    return theAuditLog != nullptr ? theAuditLog->GetControllerErrorLog(controller, log)
                                  : Api::GetControllerErrorLog(controller, log);
}

int readControllerLog(ObjectId controller, uint8_t* log) {
    return theAuditLog != nullptr ? theAuditLog->GetControllerLog(controller, log)
                                  : Api::GetControllerLog(controller, log);
}

// A zero-filled log buffer, read whole; the library's error when the read
// fails.
std::vector<char> readLog(ObjectId controller, int (*read)(ObjectId, uint8_t*)) {
    std::vector<char> log(kLogSize, '\0');
    if (read(controller, reinterpret_cast<uint8_t*>(log.data())) != 0)
        throwApiError();
    return log;
}

// The log as the controller filled it: every byte of the buffer, the zero
// bytes after the text included.
void printLog(const std::vector<char>& log) {
    std::cout.write(log.data(), static_cast<std::streamsize>(log.size()));
    std::cout << "\n";
}

}  // namespace

void Controller::showDiagHeader() {
    // Each value is read right before its line, so that a getter's message
    // comes before the line it concerns.
    const auto line = [](const char* prefix, const std::string& value) {
        std::cout << prefix << value << "\n";
    };
    line("### Time Stamp:        ", timeStamp());
    line("### Host Name:         ", fullHostName());
    line("### Host Architecture: ", kHostArchitecture);
    line("### OS Version:        ", ShellServices::getOsVersion());
    line("### Model:             ", getModel());
    line("### Serial #:          ", getSerialNumber());
    line("### Controller ID:     ", std::to_string(number));
    line("### CLI Version:       ", KV_CLI_VERSION);
    line("### API Version:       ", Api::GetApiVersion());
    line("### Driver Version:    ", getDriverVersion());
    line("### Firmware Version:  ", getFirmwareVersion());
    line("### BIOS Version:      ", getBiosVersion());
    line("### Available Memory:  ", getMemoryText());
}

void Controller::showDiagReport() {
    const std::vector<char> log = readLog(objectId, readErrorLog);
    std::cout << "\n";
    showDiagHeader();
    std::cout << "\n"
              << std::string(74, '=') << "\n"
              << "Diagnostic Information on Controller //" << fullHostName() << "/" << name
              << " ...\n"
              << std::string(74, '-') << "\n"
              << "\n";
    printLog(log);
    if (family < kFamilyNewer || !bbu || bbu->getOnlineState() != "On")
        return;
    uint32_t word = 0;
    if (Api::GetBbuStatusWord(objectId, &word) != 0)
        throwApiError();
    char hex[16];
    std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(word));
    std::cout << "BBU status word : 0x" << hex << "\n";
}

void ControllerWescal::showDiag() {
    showDiagReport();
    showControllerLog();
}

void ControllerWescal::showControllerLog() {
    const std::vector<char> log = readLog(objectId, readControllerLog);
    std::cout << "\n"
              << std::string(74, '-') << "\n"
              << "//" << fullHostName() << "/" << name << " Controller Log Information ...\n"
              << std::string(74, '-') << "\n"
              << "\n";
    printLog(log);
}
