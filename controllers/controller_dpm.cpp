// The controller's side of the drive performance monitor: the monitor
// switch ("set pmstat=on|off"), the configuration lines and the
// per-port statistics tables of "show pmstat" / "show dpmstat", and the
// configuration record the port views read.
#include <iostream>
#include <sstream>
#include <string>

#include "api/api.h"
#include "api/audit_log.h"
#include "api/dpm_records.h"
#include "base/shell_words.h"
#include "controllers/controller.h"
#include "devices/port.h"

namespace {

// The whole command line the stream holds (the shell hands every object a
// string stream); empty for any other stream.
std::string commandLineOf(std::istream& words) {
    if (auto* text = dynamic_cast<std::stringstream*>(&words))
        return text->str();
    if (auto* text = dynamic_cast<std::istringstream*>(&words))
        return text->str();
    return std::string();
}

}  // namespace

int Controller::getPmstatConfig(DpmConfig* config) {
    if (family < kFamilyRhosk)
        return -1;
    if (Api::GetPerformanceMonitorConfig(objectId, config) != 0)
        throwApiError();
    return 0;
}

int Controller::showPmstat(std::istream& words) {
    if (family < kFamilySolvane)
        throwError(kFeatureNotSupported);
    std::string type = "none";
    if (shell_words::hasMoreWords(words)) {
        const std::string word = shell_words::nextWord(words);
        if (commandLineOf(words).find("type=") == std::string::npos)
            throwError(kInvalidShowArgument);
        type = shell_words::valueAfterEquals(word);
    }
    if (type == "ext") {
        ObjectId id = objectId;
        uint32_t answer = 0;
        if (Api::HasFirmwareCompatLevel36(id, &answer) != 0 || answer == 0)
            throwError(kFeatureNotSupported);
        showDpmstatExt();
        return 0;
    }
    if (type != "inst" && type != "ra" && type != "none")
        throwError(kInvalidStatisticsType);
    std::cout << "Drive Performance Monitor Configuration for /" << name << " ...\n";
    if (showPmstatConfig() != 0)
        return 0;
    if (type == "ra")
        showDpmstatRa();
    else
        showDpmstatInst();
    return 0;
}

int Controller::showPmstatConfig() {
    std::cout << "Performance Monitor: ";
    uint8_t state = 0;
    if (Api::GetPerformanceMonitorState(objectId, &state) != 0) {
        std::cout << "...API pmstat enable state interface failed." << std::endl;
        return -1;
    }
    std::cout << (state != 0 ? "ON" : "OFF") << std::endl;
    DpmConfig config{};
    if (Api::GetPerformanceMonitorConfig(objectId, &config) != 0) {
        std::cout << "API pmstat config interface failed." << std::endl;
        return -1;
    }
    std::cout << "Version: " << static_cast<unsigned>(config.version()) << std::endl;
    if (config.capability() != 0)
        std::cout << "Capability: " << config.capability() << std::endl;
    std::cout << "Max commands for averaging: " << config.sampleCount() << std::endl;
    std::cout << "Max latency commands to save: " << config.longCommandCount() << std::endl;
    return 0;
}

void Controller::showDpmstatHeader() {
    std::cout << "\n"
              << "                               Queue           Xfer         Resp\n"
              << "Port   Status           Unit   Depth   IOPs    Rate(MB/s)   Time(ms)\n"
              << std::string(72, '-') << std::endl;
}

void Controller::showDpmstatExtHeader() {
    std::cout << "\n"
              << "                  Sectors                            Commands           \n"
              << "       -----------------------------  ---------------------------------------  \n"
              << "Port   Read      Write     Write-FUA  Read      Write     Write-FUA  Flush\n"
              << std::string(78, '-') << "\n";
}

namespace {

// Runs `row` on every port of the controller's port map by number, p0
// first. On the newest family the port count the controller reports is
// its count of connections, which need not reach the highest port that
// holds a drive; the map has every port.
template <class Row>
void forEachPortByNumber(const TreeMap<Port>& ports, Row row) {
    forEachByNumber(ports, "p", row);
}

}  // namespace

void Controller::showDpmstatInst() {
    std::cout << "Requested data: Instantaneous Drive Statistics" << std::endl;
    showDpmstatHeader();
    forEachPortByNumber(ports, [](Port& port) { port.showDpmstatInst(false); });
}

void Controller::showDpmstatRa() {
    std::cout << "Requested data: Running Average Drive Statistics" << std::endl;
    showDpmstatHeader();
    forEachPortByNumber(ports, [](Port& port) { port.showDpmstatRa(false, kDpmLive); });
}

void Controller::showDpmstatExt() {
    std::cout << "Extended Drive Statistics for /c" << number << " ...\n";
    showDpmstatExtHeader();
    forEachPortByNumber(ports, [](Port& port) { port.showDpmstatExt(false); });
}

int Controller::setPmstat(std::istream& words, const std::string& word) {
    const std::string value = shell_words::valueAfterEquals(word);
    if (family < kFamilySolvane)
        throwError(kFeatureNotSupported);
    if (shell_words::hasMoreWords(words) || (value != "on" && value != "off"))
        throwError(kInvalidSetArgument);
    std::cout << "Setting Drive Performance Monitoring on /" << name << " to "
              << "[" << value << "]" << std::flush;
    const int result = value == "on" ? Api::EnablePerformanceMonitor(objectId)
                                     : Api::DisablePerformanceMonitor(objectId);
    if (result != 0) {
        // The switch did not change: the command fails with the library's
        // error, not only a "Failed." on standard output.
        std::cout << " ... Failed." << std::endl;
        throwApiError();
    }
    std::cout << " ... Done." << std::endl;
    return 0;
}
