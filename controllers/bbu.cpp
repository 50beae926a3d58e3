// The battery backup unit object: its commands, attribute lines, table and
// the short texts of the controller's listings.
#include "controllers/bbu.h"

#include <array>
#include <iostream>
#include <sstream>

#include "api/api.h"
#include "api/audit_log.h"
#include "base/help.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "controllers/controller.h"

namespace {

constexpr int32_t kFirstNewerFamily = 4;
constexpr uint32_t kReadyValue = 8;
constexpr std::size_t kAnswerSize = 255;

// The status texts of the library's values 0-8; -1, 9 and any other value
// read "Unknown".
constexpr std::array<const char*, 9> kStatusTexts = {
    "OK", "-", "NoBattery", "Testing", "Charging", "Fault", "Error", "WeakBat", "Failed"};
// The voltage and temperature classes 0-4; -1 reads "Unknown", any other "-".
constexpr std::array<const char*, 5> kLevelTexts = {"OK", "Low", "High", "TooLow", "TooHigh"};

// The attribute lines, in the order "show all" prints them; "battery" and
// "capacity" are only available by name.
struct AttributeLine {
    const char* word;
    const char* label;
};
constexpr const char* kShowAllWords[] = {"fw",       "serial",  "module",     "ready",
                                         "status",   "volt",    "temp",       "cap",
                                         "lasttest", "batinst", "bootloader", "pcb"};

void printFlushed(const std::string& text) {
    std::cout << text << std::flush;
}

// A configuration change through its audit wrapper, so that it gets its
// audit line; without an audit logger (no shell) the library is called
// directly.
int Audited(int (AuditLog::*wrapper)(ObjectId), int (*direct)(ObjectId), ObjectId id) {
    return theAuditLog != nullptr ? (theAuditLog->*wrapper)(id) : direct(id);
}

}  // namespace

BBU::BBU(Controller* owner) : owner_(owner) {
    if (!isNewerFamily())
        return;
    onlineState_ = getOnlineState();
    if (onlineState_ == "On") {
        uint32_t present = 0;
        const ObjectId id = ownerId();
        if (Api::IsBbuPresent(id, &present) == 0)
            bbuPresent_ = present == 1;
    }
}

BBU::~BBU() = default;

bool BBU::isNewerFamily() const {
    return owner_->getFamily() >= kFirstNewerFamily;
}

ObjectId BBU::ownerId() const {
    ObjectId id = ObjectId::Blank();
    owner_->getObjectId(&id);
    return id;
}

std::string BBU::path() const {
    return "/" + owner_->getName() + "/bbu";
}

// --- Texts of the library's values ---

std::string BBU::statusText(int32_t status) {
    if (status >= 0 && static_cast<std::size_t>(status) < kStatusTexts.size())
        return kStatusTexts[static_cast<std::size_t>(status)];
    return "Unknown";
}

std::string BBU::levelText(int32_t level) {
    if (level == -1)
        return "Unknown";
    if (level >= 0 && static_cast<std::size_t>(level) < kLevelTexts.size())
        return kLevelTexts[static_cast<std::size_t>(level)];
    return "-";
}

std::string BBU::readyText(uint32_t ready) {
    if (ready == kReadyValue)
        return "Yes";
    return ready == 0 ? "No" : "Unknown";
}

std::string BBU::statusLineText(const std::string& status) {
    if (status.find("Weak") != std::string::npos)
        return "Weak Battery";
    if (status.find("Failed") != std::string::npos)
        return "Failed Battery";
    return status;
}

// --- Library reads ---

bool BBU::isPresent(bool useCached) {
    if (!useCached) {
        uint32_t present = 0;
        const ObjectId id = ownerId();
        if (Api::IsBbuPresent(id, &present) != 0)
            throwApiError();
        bbuPresent_ = present == 1;
    }
    return bbuPresent_;
}

bool BBU::isBatteryPresent(bool useCached) {
    if (!useCached) {
        uint32_t present = 0;
        const ObjectId id = ownerId();
        batteryPresent_ = Api::IsBatteryPresent(id, &present) == 0 && present == 1;
    }
    return batteryPresent_;
}

std::string BBU::getOnlineState() {
    uint32_t enabled = 0;
    const ObjectId id = ownerId();
    if (Api::IsBbuEnabled(id, &enabled) != 0)
        return "-";
    return enabled == 1 ? "On" : "Off";
}

std::string BBU::getReady() {
    if (!isNewerFamily())
        return "-";
    uint32_t ready = 0;
    const ObjectId id = ownerId();
    if (Api::GetBbuReady(id, &ready) != 0)
        throwApiError();
    return readyText(ready);
}

std::string BBU::getStatusText(const std::string& /*mode*/) {
    if (!isNewerFamily())
        return "-";
    int32_t status = -1;
    const ObjectId id = ownerId();
    if (Api::GetBbuStatus(id, &status) != 0)
        throwApiError();
    return statusText(status);
}

std::string BBU::getSummaryText() {
    if (!isNewerFamily())
        return "-";
    if (getOnlineState() == "Off")
        return "Off";
    if (!isPresent(false) || !isBatteryPresent(false))
        return "-";
    return getStatusText("summary");
}

int32_t BBU::getVoltageStatus() {
    int32_t level = -1;
    const ObjectId id = ownerId();
    if (Api::GetBatteryVoltageStatus(id, &level) != 0)
        throwApiError();
    return level;
}

int32_t BBU::getTemperatureStatus() {
    int32_t level = -1;
    const ObjectId id = ownerId();
    if (Api::GetBatteryTemperatureStatus(id, &level) != 0)
        throwApiError();
    return level;
}

uint32_t BBU::getBackupCapacity() {
    uint32_t hours = 0;
    const ObjectId id = ownerId();
    if (Api::GetEstimatedBackupCapacity(id, &hours) != 0)
        throwApiError();
    return hours;
}

template <typename Read>
std::string BBU::readText(Read read) {
    try {
        return read();
    } catch (KV_Exception&) {
        return "-";
    }
}

std::string BBU::getVoltageText() {
    return readText([&] { return levelText(getVoltageStatus()); });
}

std::string BBU::getTemperatureText() {
    return readText([&] { return levelText(getTemperatureStatus()); });
}

std::string BBU::getBackupCapacityText() {
    return readText([&] { return std::to_string(getBackupCapacity()); });
}

namespace {

// One text of the library into a zeroed buffer of its size, bounded.
template <std::size_t N, typename Call>
std::string LibraryText(const ObjectId& id, Call call) {
    FixedText<N> text;
    if (call(id, text.data()) != 0)
        throwApiError();
    text.text[N - 1] = '\0';
    return text.c_str();
}

}  // namespace

std::string BBU::getBatteryInstallDate() {
    return readText([&] {
        const ObjectId id = ownerId();
        return LibraryText<kBbuDateTextSize>(id, Api::GetBatteryInstallDate);
    });
}

std::string BBU::getLastCapacityTestDate() {
    return readText([&] {
        const ObjectId id = ownerId();
        return LibraryText<kBbuDateTextSize>(id, Api::GetLastCapacityTestDate);
    });
}

std::string BBU::getSerialNumber() {
    return readText([&] {
        const ObjectId id = ownerId();
        return LibraryText<kVersionTextSize>(id, Api::GetBbuSerial);
    });
}

std::string BBU::getFirmwareVersion() {
    return readText([&] {
        const ObjectId id = ownerId();
        return LibraryText<kVersionTextSize>(id, Api::GetBbuFirmwareVersion);
    });
}

std::string BBU::getBootloaderVersion() {
    return readText([&] {
        const ObjectId id = ownerId();
        return LibraryText<kVersionTextSize>(id, Api::GetBbuBootloaderVersion);
    });
}

std::string BBU::getPcbRevision() {
    return readText([&] {
        uint32_t revision = 0;
        const ObjectId id = ownerId();
        if (Api::GetBbuPcbRevision(id, &revision) != 0)
            throwApiError();
        return std::to_string(revision);
    });
}

std::string BBU::getBatteryPresentText(bool useCached) {
    return isBatteryPresent(useCached) ? "Yes" : "No";
}

std::string BBU::getInfoText() {
    const ObjectId id = ownerId();
    return LibraryText<kBbuInfoTextSize>(id, Api::GetBbuInfoText);
}

// --- Table and attribute lines ---

void BBU::showTable() {
    if (!isNewerFamily() || getOnlineState() != "On" || !isPresent(false))
        return;
    std::cout << "\n"
              << "Name  OnlineState  BBUReady  Status    Volt     Temp     Hours  LastCapTest\n"
              << std::string(75, '-') << "\n";
    std::cout << ShellServices::padText("bbu", 6);
    if (isBatteryPresent(false)) {
        std::cout << ShellServices::padText(getOnlineState(), 13);
        std::cout << ShellServices::padText(getReady(), 10);
        std::cout << ShellServices::padText(getStatusText("status"), 10);
        std::cout << ShellServices::padText(getVoltageText(), 9);
        std::cout << ShellServices::padText(getTemperatureText(), 9);
        std::cout << ShellServices::padText(getBackupCapacityText(), 7);
        std::cout << ShellServices::padText(getLastCapacityTestDate(), 13);
    } else {
        std::cout << ShellServices::padText(getOnlineState(), 13);
        std::cout << ShellServices::padText(getReady(), 10);
        std::cout << ShellServices::padText("NoBattery", 10) << ShellServices::padText("-", 9)
                  << ShellServices::padText("-", 9) << ShellServices::padText("-", 7)
                  << ShellServices::padText("-", 13);
    }
    std::cout << "\n";
}

void BBU::showAttribute(const std::string& word) {
    if (shell_words::isHelpWord(word)) {
        theShell->getHelp()->showBbuHelp("show");
        return;
    }
    struct Line {
        const char* word;
        const char* label;
        std::string (*value)(BBU&);
    };
    static const Line kLines[] = {
        {"status", "/bbu BBU Status                = ",
         [](BBU& b) { return statusLineText(b.getStatusText("status")); }},
        {"module", "/bbu Online State              = ", [](BBU& b) { return b.getOnlineState(); }},
        {"battery", "/bbu Battery Pack              = ",
         [](BBU& b) { return std::string(b.isBatteryPresent(false) ? "Present" : "Not Present"); }},
        {"batinst",
         "/bbu Battery Installation Date = ", [](BBU& b) { return b.getBatteryInstallDate(); }},
        {"lasttest",
         "/bbu Last Capacity Test        = ", [](BBU& b) { return b.getLastCapacityTestDate(); }},
        {"volt", "/bbu Battery Voltage           = ", [](BBU& b) { return b.getVoltageText(); }},
        {"temp",
         "/bbu Battery Temperature       = ", [](BBU& b) { return b.getTemperatureText(); }},
        {"cap", "/bbu Estimated Backup Capacity = ",
         [](BBU& b) { return b.getBackupCapacityText() + " Hours"; }},
        {"capacity", "/bbu Estimated Backup Capacity = ",
         [](BBU& b) { return b.getBackupCapacityText() + " Hours"; }},
        {"serial", "/bbu Serial Number             = ", [](BBU& b) { return b.getSerialNumber(); }},
        {"fw", "/bbu Firmware Version          = ", [](BBU& b) { return b.getFirmwareVersion(); }},
        {"bootloader",
         "/bbu Bootloader Version        = ", [](BBU& b) { return b.getBootloaderVersion(); }},
        {"pcb", "/bbu PCB Revision              = ", [](BBU& b) { return b.getPcbRevision(); }},
        {"ready", "/bbu BBU Ready                 = ", [](BBU& b) { return b.getReady(); }},
    };
    for (const Line& line : kLines) {
        if (word == line.word) {
            // The value is read before anything of the line is printed.
            const std::string value = line.value(*this);
            std::cout << "/" << owner_->getName() << line.label << value << "\n";
            return;
        }
    }
    throw KV_Exception(kInvalidBbuCommandValue);
}

// --- Commands ---

int BBU::execute(std::istream& words) {
    if (!shell_words::hasMoreWords(words))
        throw KV_Exception(kInvalidBbuCommandSyntax);
    const std::string word = shell_words::nextWord(words);
    if (word == "enable") {
        enableCommand(words);
    } else if (word == "disable") {
        disableCommand(words);
    } else if (word == "show") {
        showCommand(words);
    } else if (word == "test") {
        testCommand(words);
    } else if (shell_words::isHelpWord(word)) {
        if (shell_words::hasMoreWords(words))
            throw KV_Exception(kInvalidHelpArgument);
        theShell->getHelp()->showBbuHelp("all");
    } else {
        throw KV_Exception(kInvalidBbuCommand);
    }
    return 0;
}

int BBU::showCommand(std::istream& words) {
    if (!bbuPresent_) {
        const std::string word = shell_words::nextWord(words);
        if (!shell_words::isHelpWord(word))
            throw KV_Exception(kBbuNotPresent);
        theShell->getHelp()->showBbuHelp("show");
    }
    if (!shell_words::hasMoreWords(words)) {
        showTable();
        return 0;
    }
    std::vector<std::string> rest;
    for (std::string word; words >> word;)
        rest.push_back(word);
    // A remaining word that contains "all" anywhere asks for every
    // attribute; the address before the command plays no part.
    for (const std::string& word : rest) {
        if (word.find("all") != std::string::npos) {
            for (const char* attribute : kShowAllWords)
                showAttribute(attribute);
            return 0;
        }
    }
    for (const std::string& word : rest)
        showAttribute(word);
    return 0;
}

void BBU::showCommandHelp(std::istream& words, const std::string& topic) {
    if (shell_words::hasMoreWords(words))
        throw KV_Exception(kInvalidHelpArgument);
    theShell->getHelp()->showBbuHelp(topic);
}

int BBU::enableCommand(std::istream& words) {
    while (shell_words::hasMoreWords(words)) {
        const std::string word = shell_words::nextWord(words);
        if (!shell_words::isHelpWord(word))
            throw KV_Exception(kInvalidBbuCommandSyntax);
        showCommandHelp(words, "enable");
        return 0;
    }
    printFlushed("Sending enable BBU message to " + path() + " ... ");
    const ObjectId id = ownerId();
    if (Audited(&AuditLog::EnableBbu, Api::EnableBbu, id) != 0)
        throwApiError();
    std::cout << "Done."
              << "\n";
    return 0;
}

int BBU::disableCommand(std::istream& words) {
    bool quiet = false;
    while (shell_words::hasMoreWords(words)) {
        const std::string word = shell_words::nextWord(words);
        if (shell_words::isHelpWord(word)) {
            showCommandHelp(words, "disable");
            return 0;
        }
        if (word != "quiet")
            throw KV_Exception(kInvalidBbuCommandSyntax);
        quiet = true;
    }
    const std::string name = owner_->getName();
    if (!quiet && !ask("Disabling BBU will leave the write cache on controller /" + name +
                       " unprotected\nagainst power failure.\n")) {
        std::cout << "Command aborted.  The BBU is not disabled on "
                  << "controller /" << name << ".\n";
        return 0;
    }
    printFlushed("Sending disable BBU message to " + path() + " ... ");
    const ObjectId id = ownerId();
    if (Audited(&AuditLog::DisableBbu, Api::DisableBbu, id) != 0)
        throwApiError();
    std::cout << "Done."
              << "\n"
              << "Disabling of all unit write caching on controller /" << name << " is recommended."
              << "\n";
    return 0;
}

int BBU::testCommand(std::istream& words) {
    bool quiet = false;
    while (shell_words::hasMoreWords(words)) {
        const std::string word = shell_words::nextWord(words);
        if (shell_words::isHelpWord(word)) {
            showCommandHelp(words, "test");
            return 0;
        }
        if (word != "q" && word != "quiet")
            throw KV_Exception(kInvalidBbuCommandSyntax);
        quiet = true;
    }
    if (!bbuPresent_)
        throw KV_Exception(kBbuNotPresent);
    const std::string name = owner_->getName();
    if (!quiet && !ask(std::string("Depending on the Keepwell setting, performing the ") +
                       "battery capacity test may\ndisable the write cache " + "on controller /" +
                       name + " for up to 24 hours.\n")) {
        std::cout << "Command aborted.  The battery capacity test command"
                  << " on controller /" << name << " is not issued.\n";
        return 0;
    }
    printFlushed("Sending battery capacity test message to " + path() + " ... ");
    const ObjectId id = ownerId();
    if (Audited(&AuditLog::StartBbuBatteryTest, Api::StartBbuBatteryTest, id) != 0)
        throwApiError();
    std::cout << "Done.\n"
              << "The write cache will be resumed when the test is completed\n"
              << "with no error."
              << "\n";
    return 0;
}

int BBU::initCommand(std::istream& words) {
    if (shell_words::hasMoreWords(words)) {
        const std::string word = shell_words::nextWord(words);
        if (!shell_words::isHelpWord(word))
            throw KV_Exception(kInvalidBbuCommandSyntax);
        theShell->getHelp()->showBbuHelp("init");
        return 0;
    }
    printFlushed("Sending initialization message to /" + owner_->getName() + "/bbu ... ");
    const ObjectId id = ownerId();
    if (Api::InitializeBbu(id) != 0) {
        std::cout << "Failed.";
        throwApiError();
    }
    std::cout << "Done."
              << "\n"
              << "This command will start the initial battery test which may take "
              << "\n"
              << "up to 24 hours to complete.  "
              << "\n"
              << "The write cache is disabled during the test and will be resumed"
              << "\n"
              << "when the test is completed with no error."
              << "\n";
    return 0;
}

bool BBU::ask(const std::string& warning) {
    for (;;) {
        std::cout << warning << "Do you want to continue? Y|N [N]: " << std::flush;
        std::string answer;
        // End of input answers "no": the question would otherwise repeat
        // for ever.
        if (!ShellServices::readLine(std::cin, answer))
            return false;
        if (answer.size() > kAnswerSize - 1)
            answer.resize(kAnswerSize - 1);
        ShellServices::toLower(answer);
        if (answer.empty() || answer == "n" || answer == "no")
            return false;
        if (answer == "y" || answer == "yes")
            return true;
    }
}
