// The enclosure's command words and everything it prints: the status
// table, the element tables, the attribute lines, the help text and the
// rows of the controller manager's enclosure summary.
#include <iostream>
#include <iterator>
#include <vector>

#include "api/api.h"
#include "api/api_codes.h"
#include "api/api_error.h"
#include "base/api_call.h"
#include "base/help.h"
#include "base/name_order.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "devices/alarm.h"
#include "devices/enclosure.h"
#include "devices/enclosure_element.h"
#include "devices/fan.h"
#include "devices/power_supply.h"
#include "devices/slot.h"
#include "devices/temp_sensor.h"

namespace {

// The longest help text an enclosure can report (an SES page holds at
// most 64 KiB).
constexpr uint32_t kMaxHelpText = 0x10000;

// Enclosure status codes of the library and their texts.
constexpr element_texts::CodeText kStatusTexts[] = {
    {1, "OK"}, {2, "FAIL"}, {3, "WARNING"}, {5, "NOT-INSTALLED"}, {6, "UNKNOWN"},
};

// Alarm status codes that decide an SES enclosure's status.
constexpr uint32_t kAlarmSounding = 1;
constexpr uint32_t kAlarmFailed = 4;
constexpr uint32_t kAlarmMutedWhileActive = 5;

// Calls `showRow` of every element of `map` (names `prefix` + number) in
// ascending number order, with the header before the first.
template <class T>
void showTable(const Enclosure::ElementMap<T>& map, const char* prefix) {
    bool withHeader = true;
    forEachByNumber(map, prefix, [&](T& element) {
        element.showRow(withHeader);
        withHeader = false;
    });
}

}  // namespace

int Enclosure::execute(std::istream& words) {
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidEnclosureCommandSyntax);
    std::string word;
    if (!(words >> word))
        throwError(kInvalidEnclosureCommandSyntax);
    if (shell_words::isHelpWord(word)) {
        showHelp();
        return 0;
    }
    if (word == "show")
        return show(words);
    throwError(kInvalidEnclosureCommand);
}

void Enclosure::showHelp() {
    if (family == kFamilySolvane)
        theShell->getHelp()->showEnclosureHelp("all");
    else
        theShell->getHelp()->showControllerEnclosureHelp("all");
}

int Enclosure::show(std::istream& words) {
    if (!shell_words::hasMoreWords(words)) {
        showAllTables();
        return 0;
    }
    // The "all" view is asked for by the words after "show" only: the
    // address in front of them (a host name with "all" in it) does not
    // count.
    const std::string rest((std::istreambuf_iterator<char>(words)),
                           std::istreambuf_iterator<char>());
    if (rest.find("all") != std::string::npos) {
        if (protocol == "SES") {
            showAttribute("vendor");
            showAttribute("prodid");
            showAttribute("prodrev");
        }
        showAllTables();
        return 0;
    }
    for (const std::string& word : shell_words::split(rest))
        showAttribute(word);
    return 0;
}

void Enclosure::showAttribute(const std::string& word) {
    const bool ses = protocol == "SES";
    const std::string sesPath = "/c" + std::to_string(controllerNumber) + "/" + name;
    if (word == "slot" || word == "slots") {
        showSlots();
    } else if (word == "fan" || word == "fans") {
        showFans();
    } else if (word == "temp" || word == "temps" || word == "tempsensors") {
        showTempSensors();
    } else if (word == "attribute") {
        showStatusTable();
    } else if (word == "alarms" || word == "alms") {
        showAlarms();
    } else if (word == "controllers" || word == "controller") {
        std::cout << "/" << name << " connects to controller /c" << controllerNumber << std::endl;
    } else if (word == "protocol") {
        std::cout << (ses ? sesPath : "/" + name) << " Protocol = " << getProtocolText()
                  << std::endl;
    } else if (ses && word == "pwrs") {
        showPowerSupplies();
    } else if (ses && (word == "diag" || word == "helptext")) {
        showHelpText();
    } else if (ses && word == "vendor") {
        std::cout << sesPath << " Vendor = " << getVendor() << std::endl;
    } else if (ses && word == "prodid") {
        std::cout << sesPath << " Product ID = " << getProductId() << std::endl;
    } else if (ses && word == "prodrev") {
        std::cout << sesPath << " Product Revision = " << getProductRevision() << std::endl;
    } else if (shell_words::isHelpWord(word)) {
        showHelp();
    } else {
        throwError(kInvalidEnclosureShow);
    }
}

void Enclosure::showAllTables() {
    showStatusTable();
    showFans();
    showTempSensors();
    showPowerSupplies();
    showSlots();
    showAlarms();
}

void Enclosure::showFans() {
    showTable(fans, "fan");
}

void Enclosure::showTempSensors() {
    showTable(tempSensors, "temp");
}

void Enclosure::showPowerSupplies() {
    showTable(powerSupplies, "pwrs");
}

void Enclosure::showSlots() {
    showTable(slots, "slot");
}

void Enclosure::showAlarms() {
    if (protocol == "SAF-TE")
        return;
    showTable(alarms, "alm");
}

void Enclosure::showStatusTable() {
    std::string identifier = "/c" + std::to_string(controllerNumber);
    // From the newest family on the enclosure is named with its controller.
    if (family > kFamilyTevrin)
        identifier += "/" + name;
    const std::string status = getStatusText();
    if (protocol == "SES") {
        std::cout << "\nEncl        Status      \n"
                  << std::string(29, '-') << "\n"
                  << ShellServices::padText(identifier, 12) << ShellServices::padText(status, 16)
                  << "\n";
        return;
    }
    std::cout << "\nEncl    Status      Controller\n"
              << std::string(33, '-') << "\n"
              << ShellServices::padText(name, 8) << ShellServices::padText(status, 12) << identifier
              << "\n";
}

std::string Enclosure::getStatusText() {
    if (protocol == "SES") {
        ObjectIdList16 list{};
        list.clear();
        if (Api::GetAlarmIdList(id, &list) == 0) {
            for (std::size_t i = 0; i < list.size(); ++i) {
                uint32_t status = 0;
                if (Api::GetAlarmStatus(list.ids[i], &status) != 0)
                    continue;
                if (status == kAlarmSounding || status == kAlarmMutedWhileActive)
                    return "ALARM-ACTIVATED";
                if (status == kAlarmFailed)
                    return "ALARM-FAIL";
            }
        }
    }
    EnclosureSummary summary;
    getSummary(summary);
    return summary.status;
}

void Enclosure::getSummary(EnclosureSummary& summary) {
    uint32_t code = 0;
    if (Api::GetEnclosureStatus(id, &code) != 0) {
        summary.status = "UNKNOWN";
    } else {
        summary.status = element_texts::textOfCode(kStatusTexts, code, "-");
    }
    summary.protocol = getProtocolText();
    summary.slots = static_cast<uint32_t>(slots.size());
    summary.drives = countDrives();
    summary.fans = static_cast<uint32_t>(fans.size());
    summary.tempSensors = static_cast<uint32_t>(tempSensors.size());
    summary.powerSupplies = static_cast<uint32_t>(powerSupplies.size());
    summary.alarms = static_cast<uint32_t>(alarms.size());
}

uint32_t Enclosure::countDrives() {
    uint32_t drives = 0;
    for (const auto& entry : slots) {
        if (entry.second->getStatusText() != "NO-DEVICE")
            ++drives;
    }
    return drives;
}

std::string Enclosure::getVendor() {
    return RequireApiText<9>(Api::GetEnclosureVendor, id, "");
}

std::string Enclosure::getProductId() {
    return RequireApiText<17>(Api::GetEnclosureProductId, id, "");
}

std::string Enclosure::getProductRevision() {
    return RequireApiText<5>(Api::GetEnclosureProductRevision, id, "");
}

// The library reports the length of a help text together with its "User
// buffer is too small." failure; the text is then read into a buffer of
// that length.
void Enclosure::showHelpText() {
    const auto notAvailable = [this] {
        std::cout << "There is no enclosure help text for /" << name
                  << " or the help text is not available." << std::endl;
    };
    char none[1] = {};
    uint32_t length = 0;
    if (Api::GetEnclosureHelpText(id, none, &length) == 0) {
        if (length == 0)
            return;
    } else {
        ApiErrorRecord record{};
        Api::GetLastErrorRecord(&record);
        if (record.apiCode != kApiBufferTooSmall || length == 0 || length > kMaxHelpText) {
            notAvailable();
            return;
        }
    }
    std::vector<char> text(length + 1, '\0');
    uint32_t filled = length;
    if (Api::GetEnclosureHelpText(id, text.data(), &filled) != 0 || filled > length) {
        notAvailable();
        return;
    }
    std::cout << "/" << name << " Diagnostic Help Text = " << std::endl
              << std::string(text.data(), filled) << std::endl;
}

namespace {

// The header columns that both summary rows share, after the first label.
std::string summaryHeader(const char* first) {
    return ShellServices::padText(first, 14) + ShellServices::padText("Slots", 7) +
           ShellServices::padText("Drives", 8) + ShellServices::padText("Fans", 6) +
           ShellServices::padText("TSUnits", 9) + ShellServices::padText("PSUnits", 9);
}

// The columns that both summary rows share.
std::string summaryColumns(const std::string& name, const EnclosureSummary& summary) {
    return ShellServices::padText(name, 14) + ShellServices::padNumber(summary.slots, 7) +
           ShellServices::padNumber(summary.drives, 8) + ShellServices::padNumber(summary.fans, 6) +
           ShellServices::padNumber(summary.tempSensors, 9) +
           ShellServices::padNumber(summary.powerSupplies, 9);
}

}  // namespace

void Enclosure::showSummaryRow(bool withHeader) {
    EnclosureSummary summary;
    getSummary(summary);
    if (withHeader) {
        std::cout << "\n"
                  << summaryHeader("Enclosure") << ShellServices::padText("Alarms", 9) << "\n"
                  << std::string(62, '-') << std::endl;
    }
    if (noElements == 1) {
        std::cout << "Error: Enclosure elements discovery fail.\n";
        return;
    }
    std::cout << summaryColumns(name, summary) << ShellServices::padNumber(summary.alarms, 9)
              << std::endl;
}

void Enclosure::showLegacySummaryRow(bool withHeader) {
    EnclosureSummary summary;
    getSummary(summary);
    if (withHeader) {
        std::cout << "\n"
                  << summaryHeader("Encls")
                  << "\n-----------------------------------------------------\n";
    }
    std::cout << summaryColumns(name, summary) << std::endl;
}
