// A port's drive performance statistics: the views of "show dpmstat"
// (instantaneous, running average, histogram, long commands, extended
// counters), their clears ("set dpmstat=clear") and the pending-I/O view
// of "show iostat". The controller's own statistics and iostat views print
// their headers and then one of these rows per port.
#include <cstdio>
#include <ctime>
#include <functional>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/dpm_records.h"
#include "base/api_call.h"
#include "base/help.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "devices/port.h"

namespace {

std::string rule(std::size_t count) {
    return std::string(count, '-');
}

void showStatisticsHeader() {
    std::cout << "\n"
              << "                               Queue           Xfer         Resp\n"
              << "Port   Status           Unit   Depth   IOPs    Rate(MB/s)   Time(ms)\n"
              << rule(69) << std::endl;
}

void showPortLineHeader() {
    std::cout << "\n"
              << std::string(30, ' ') << "\n"
              << "Port   Status           Unit   \n"
              << rule(30) << std::endl;
}

void showLongCommandHeader() {
    std::cout << "\n"
              << std::endl
              << "                     Resp\n"
              << "Date       Time      Time(ms) --------- CDB / ATA Task File (hex) -----------\n"
              << rule(78) << "\n";
}

void showHistogramHeader() {
    std::cout << "\n"
              << std::endl
              << "Bin     Response Time(ms)      IO Count\n"
              << rule(47) << "\n";
}

void showExtendedHeader() {
    std::cout << "\n"
              << "                  Sectors                            Commands           \n"
              << "       -----------------------------  ----------------------------------------\n"
              << "Port   Read      Write     Write-FUA  Read      Write     Write-FUA  Flush\n"
              << rule(78) << "\n";
}

// The upper bounds in ms of histogram bins 1 to 37; bin 38 holds the rest.
constexpr uint32_t kBinBounds[] = {1,    2,    3,    4,    5,    6,    7,    8,    9,    10,
                                   20,   30,   40,   50,   60,   70,   80,   90,   100,  200,
                                   300,  400,  500,  600,  700,  800,  900,  1000, 2000, 3000,
                                   4000, 5000, 6000, 7000, 8000, 9000, 10000};
static_assert(std::size(kBinBounds) + 1 == DpmHistogram::kBins, "37 bounded bins");

// An extended counter in its column; values too wide for it read "########".
std::string counterText(uint32_t value, int width) {
    constexpr uint32_t kWidest = 99999999;
    return value > kWidest ? ShellServices::padText("########", width)
                           : ShellServices::padNumber(value, width);
}

// The controller's firmware compatibility level 36 (a failed query counts
// as below it).
bool hasLevel36(ControllerView* controller) {
    ObjectId id{};
    controller->getObjectId(&id);
    uint32_t answer = 0;
    return Api::HasFirmwareCompatLevel36(id, &answer) == 0 && answer != 0;
}

// A long command's time stamp, in UTC.
std::string timeStampText(uint32_t seconds) {
    if (seconds == 0)
        return "0000-00-00 00:00:00";
    const std::time_t when = static_cast<std::time_t>(seconds);
    const std::tm* broken = std::gmtime(&when);
    char text[64] = {};
    if (broken == nullptr || std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", broken) == 0)
        return "0000-00-00 00:00:00";
    return text;
}

// The response time of a long command, in ms, from its controller ticks
// (the tick counter may have wrapped).
std::string responseTimeText(uint32_t start, uint32_t end) {
    const float ticks = end >= start ? static_cast<float>(end) - static_cast<float>(start)
                                     : static_cast<float>(0xFFFFFFFFu - (start - end));
    char text[32] = {};
    std::snprintf(text, sizeof text, "%06.3f", ticks / 1000.0);
    return text;
}

}  // namespace

void Port::showDpmstatCommand(std::istream& words) {
    if (!shell_words::hasMoreWords(words)) {
        showDpmstat("inst", true);
        return;
    }
    static const char* const kTypes[] = {"inst", "ra",       "lct",       "histdata",
                                         "ext",  "raondisk", "lctondisk", "histdataondisk"};
    std::string word;
    while (words >> word) {
        if (shell_words::isHelpWord(word)) {
            theShell->getHelp()->showPortShowHelp("dpmstat");
            continue;
        }
        bool known = false;
        for (const char* type : kTypes) {
            if (word == std::string("type=") + type) {
                showDpmstat(type, true);
                known = true;
                break;
            }
        }
        if (!known)
            throwError(kInvalidStatisticsType);
    }
}

void Port::showDpmstat(const std::string& type, bool withHeader) {
    if (type == "inst")
        showDpmstatInst(withHeader);
    else if (type == "ra")
        showDpmstatRa(withHeader, kDpmLive);
    else if (type == "raondisk")
        showDpmstatRa(withHeader, kDpmOnDisk);
    else if (type == "lct")
        showDpmstatLongCommands(withHeader, kDpmLive);
    else if (type == "lctondisk")
        showDpmstatLongCommands(withHeader, kDpmOnDisk);
    else if (type == "histdata")
        showDpmstatHistogram(withHeader, kDpmLive);
    else if (type == "histdataondisk")
        showDpmstatHistogram(withHeader, kDpmOnDisk);
    else if (type == "ext")
        showDpmstatExt(withHeader);
}

bool Port::showDpmstatPortColumns(bool full) {
    uint8_t driveStatus = kDriveNone;
    RequireApi(Api::GetDriveStatus(id, &driveStatus));
    const std::string driveText = controller->getDriveStatusText(driveStatus);
    if (full && !IsDrivePresent(driveStatus)) {
        std::cout << ShellServices::padText(name, 7) << ShellServices::padText(driveText, 17)
                  << ShellServices::padText("-", 7);
        return false;
    }
    std::string unitName;
    std::string unitStatus;
    getUnitInfo(unitName, unitStatus);
    std::cout << ShellServices::padText(name, 7);
    if (!full)
        return true;
    const bool showUnitStatus = driveStatus == kDriveOk && unitName.size() > 1;
    std::cout << ShellServices::padText(showUnitStatus ? unitStatus : driveText, 17)
              << ShellServices::padText(unitName, 7);
    return unitName != "-";
}

// The instantaneous and running-average rows share their layout: the
// port columns, then the statistics that `read` fills.
void Port::showStatisticsRow(bool withHeader, const std::function<int(DpmStats*)>& read) {
    if (withHeader)
        showStatisticsHeader();
    if (controller->getFamily() >= kFamilyVantor && !withHeader) {
        uint8_t driveStatus = kDriveNone;
        (void)Api::GetDriveStatus(id, &driveStatus);
        if (!IsDrivePresent(driveStatus))
            return;
        (void)showDpmstatPortColumns(true);
    } else if (!showDpmstatPortColumns(true)) {
        std::cout << ShellServices::padText("-", 8) << ShellServices::padText("-", 8)
                  << ShellServices::padText("-", 13) << ShellServices::padText("-", 10)
                  << std::endl;
        return;
    }
    DpmStats stats{};
    RequireApi(read(&stats));
    char rate[32] = {};
    const float megabytes = static_cast<float>(stats.kbPerSecond) / 1024.0f;
    std::snprintf(rate, sizeof rate, "%.3f", megabytes);
    std::cout << ShellServices::padNumber(stats.queueDepth, 8)
              << ShellServices::padNumber(stats.iops, 8) << ShellServices::padText(rate, 13)
              << ShellServices::padNumber(stats.responseMs, 10) << std::endl;
}

void Port::showDpmstatInst(bool withHeader) {
    showStatisticsRow(withHeader,
                      [&](DpmStats* stats) { return Api::GetDriveInstantStats(id, stats); });
}

void Port::showDpmstatRa(bool withHeader, uint32_t onDisk) {
    showStatisticsRow(withHeader, [&](DpmStats* stats) {
        return Api::GetDriveRunningAverage(id, stats, onDisk);
    });
}

void Port::showDpmstatHistogram(bool withHeader, uint32_t onDisk) {
    if (withHeader) {
        showPortLineHeader();
        (void)showDpmstatPortColumns(true);
        showHistogramHeader();
    }
    DpmHistogram histogram{};
    RequireApi(Api::GetDriveHistogram(id, &histogram, onDisk));
    for (std::size_t bin = 0; bin < DpmHistogram::kBins; ++bin) {
        const std::string bound =
            bin < std::size(kBinBounds) ? std::to_string(kBinBounds[bin]) : "10000+";
        std::cout << ShellServices::padNumber(static_cast<unsigned>(bin + 1), 8)
                  << ShellServices::padText(bound, 23)
                  << ShellServices::padNumber(histogram.counts[bin], 13) << std::endl;
    }
}

void Port::showDpmstatLongCommands(bool withHeader, uint32_t onDisk) {
    // Without a configuration (the older family) the count is not known:
    // the read below is left to refuse.
    DpmConfig config{};
    const bool configured = controller->getPmstatConfig(&config) == 0;
    const uint32_t count = configured ? config.longCommandCount() : 0;
    if (configured && count == 0)
        return;
    std::vector<DpmLongCommand> records(kDpmMaxRecords, DpmLongCommand{});
    RequireApi(Api::GetDriveLongCommandTimes(id, records.data(), onDisk));
    bool detailed = false;
    if (withHeader) {
        showPortLineHeader();
        detailed = showDpmstatPortColumns(true);
        showLongCommandHeader();
    }
    const uint32_t shown = count < kDpmMaxRecords ? count : kDpmMaxRecords;
    for (uint32_t i = 0; i < shown; ++i) {
        const DpmLongCommand& record = records[i];
        std::cout << ShellServices::padText(timeStampText(record.timeStamp()), 21);
        if (!detailed) {
            std::cout << ShellServices::padText("-", 9) << ShellServices::padText("-", 47)
                      << std::endl;
            continue;
        }
        std::cout << ShellServices::padText(responseTimeText(record.startTick(), record.endTick()),
                                            9);
        char hex[4] = {};
        for (std::size_t b = 0; b < DpmLongCommand::kCdbSize; ++b) {
            std::snprintf(hex, sizeof hex, "%02x", record.cdb()[b]);
            std::cout << ShellServices::padText(hex, 3);
        }
        std::cout << std::endl;
    }
}

void Port::showDpmstatExt(bool withHeader) {
    if (!hasLevel36(controller)) {
        std::cout << "Extended drive statistics is not supported for this"
                  << " controller type/model.\n";
        return;
    }
    uint8_t driveStatus = kDriveNone;
    (void)Api::GetDriveStatus(id, &driveStatus);
    if (withHeader)
        showExtendedHeader();
    else if (controller->getFamily() >= kFamilyVantor && !IsDrivePresent(driveStatus))
        return;
    (void)showDpmstatPortColumns(false);
    DpmExtendedStats stats{};
    RequireApi(Api::GetDriveExtendedStats(id, &stats));
    std::cout << counterText(stats.sectorsRead, 10) << counterText(stats.sectorsWritten, 10)
              << counterText(stats.sectorsWrittenFua, 11) << counterText(stats.readCommands, 10)
              << counterText(stats.writeCommands, 10) << counterText(stats.writeCommandsFua, 11)
              << counterText(stats.flushCommands, 10) << std::endl;
}

void Port::setDpmstatCommand(std::istream& words) {
    const bool more = shell_words::hasMoreWords(words);
    if (controller->getFamily() < kFamilySolvane)
        throwError(kFeatureNotSupported);
    if (!more) {
        clearDpmstat("ra");
        return;
    }
    std::string word;
    while (words >> word) {
        if (shell_words::isHelpWord(word))
            theShell->getHelp()->showPortSetHelp("dpmstat");
        else if (word == "type=ra" || word == "type=lct" || word == "type=ext")
            clearDpmstat(word.substr(5));
        else
            throwError(kInvalidPortSet);
    }
}

void Port::clearDpmstat(const std::string& type) {
    uint32_t kind = kDpmClearExtended;
    if (type == "lct") {
        kind = kDpmClearLongCommands;
        std::cout << "Clearing Drive Performance Monitor long command times data on ";
    } else if (type == "ra") {
        kind = kDpmClearRunningAverage;
        std::cout << "Clearing Drive Performance Monitor running average data on";
    } else {
        if (!hasLevel36(controller)) {
            std::cout << " ... \nExtended drive statistics is not supported for"
                      << " this controller type/model.\n";
            return;
        }
        std::cout << "Clearing Performance Monitor extended drive statistics on ";
    }
    std::cout << path << " ... " << std::flush;
    if (Api::ClearDriveStats(id, kind, kDpmLive) != 0) {
        std::cout << "Failed.\n";
        throwApiError();
    }
    std::cout << "Done.\n";
    if (kind == kDpmClearRunningAverage)
        std::cout << "Please note this clears the Running Average and Histogram data.\n";
}

void Port::showIostat() {
    constexpr int32_t kFamilyIostat = 5;
    if (controller->getFamily() < kFamilyIostat)
        throwError(kInvalidPortCommandOfController);
    if (isEmpty())
        throwError(kInvalidForPortState);
    controller->showIostatHeader();
    uint16_t counts[256] = {};
    if (Api::GetPortIoStat(id, counts) != 0) {
        std::cout << "Failed." << std::endl;
        throwApiError();
    }
    showIostatRow(counts[number < 256 ? number : 0]);
}
