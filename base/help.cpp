#include "base/help.h"

#include <cctype>
#include <cstdlib>
#include <iostream>

#include "base/help_text.h"
#include "base/kv_exception.h"
#include "base/message_catalog.h"
#include "base/version.h"

namespace help_text {

void Piece::print() const {
    for (std::size_t i = 0; i < count_; ++i) {
        std::cout << lines_[i] << '\n';
    }
}

bool printKnownWord(const Topic& topic, const std::string& word) {
    auto found = topic.find(word);
    if (found == topic.end()) {
        return false;
    }
    for (const Piece& piece : found->second) {
        piece.print();
    }
    return true;
}

void printWord(const Topic& topic, const std::string& word) {
    if (!printKnownWord(topic, word)) {
        rejectWord();
    }
}

void rejectWord() {
    throw KV_Exception(kInvalidHelpArgument);
}

}  // namespace help_text

namespace {

using help_text::Piece;

// General help: the banner and the command list.
constexpr const char* kGeneralHead[] = {
    "",
    "kv_cli: command line interface for Kivra RAID controllers",
    "Management program version (" KV_CLI_VERSION ")",
    "",
    "",
    "Commands  Description",
    "-------------------------------------------------------------------",
};
constexpr const char* kGeneralFocus[] = {
    "focus     Changes from one object to another.  For Interactive Mode Only!",
};
constexpr const char* kGeneralBody[] = {
    "show      Displays information about controller(s), unit(s) and port(s).",
    "flush     Flush write cache data to units in the system.",
    "rescan    Rescan all empty ports for new unit(s) and disk(s).",
    "update    Update controller firmware from an image file.",
    "commit    Commit dirty DCB to storage on controller(s).     (Windows only)",
    "/cx       Controller specific commands.",
    "/cx/ux    Unit specific commands.",
    "/cx/px    Port specific commands.",
    "/cx/phyx  Phy specific commands.",
    "/cx/bbu   BBU specific commands.                               (Rhosk only)",
    "/cx/ex    Enclosure specific commands.                       (Uthmar only)",
    "/ex       Enclosure specific commands.                      (Solvane/Tevrin only)",
    "",
    "Certain commands are qualified with constraints of controller type/model",
    "support.  Please consult the kv_cli documentation for explanation of the",
    "controller-qualifiers.",
    "",
    "Type help <command> to get more details about a particular command.",
    "For more detail information see kv_cli's documentation. ",
    "",
};

// Topics of the "help" command that take no word.
struct CommandTopic {
    const char* word;
    void (Help::*show)();
};
constexpr CommandTopic kCommandTopics[] = {
    {"info", &Help::showInfoCommandHelp},   {"set", &Help::showSetCommandHelp},
    {"maint", &Help::showMaintCommandHelp}, {"sched", &Help::showSchedCommandHelp},
    {"quit", &Help::showQuitCommandHelp},   {"q", &Help::showQuitCommandHelp},
    {"exit", &Help::showQuitCommandHelp},   {"error", &Help::showErrorHelp},
};

// Root commands whose help is a piece of the shell topic, named by the
// same word.
constexpr const char* kShellTopics[] = {"show", "flush", "update", "rescan", "commit", "focus"};

// Object path topics; every word after the path is a word of the topic.
// "/cx" is not here: it takes one word only.
struct PathTopic {
    const char* path;
    void (Help::*show)(const std::string&);
};
constexpr PathTopic kPathTopics[] = {
    {"/cx/ex", &Help::showControllerEnclosureHelp},
    {"/ex", &Help::showEnclosureHelp},
    {"/cx/bbu", &Help::showBbuHelp},
    {"/cx/ux", &Help::showUnitHelp},
    {"/cx/px", &Help::showPortHelp},
    {"/cx/phyx", &Help::showPhyHelp},
    {"/cx/ex/slotx", &Help::showControllerEnclosureSlotHelp},
    {"/ex/slotx", &Help::showEnclosureSlotHelp},
    {"/cx/ex/fanx", &Help::showControllerEnclosureFanHelp},
    {"/ex/fanx", &Help::showEnclosureFanHelp},
    {"/cx/ex/tempx", &Help::showControllerEnclosureTempSensorHelp},
    {"/ex/tempx", &Help::showEnclosureTempSensorHelp},
    {"/cx/ex/pwrsx", &Help::showEnclosurePowerSupplyHelp},
    {"/cx/ex/almx", &Help::showEnclosureAlarmHelp},
    {"/ex/phyx", &Help::showPhyHelp},
};

bool nextWord(std::istream& words, std::string& word) {
    return static_cast<bool>(words >> word);
}

// True when KV_CLI_STYLE asks for the old layout: "OLD" in any case.
bool oldStyleRequested(const char* style) {
    if (style == nullptr) {
        return false;
    }
    const std::string value(style);
    const std::string old = "OLD";
    if (value.size() != old.size()) {
        return false;
    }
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(value[i])) != old[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

Help::Help() : newStyle_(!oldStyleRequested(std::getenv("KV_CLI_STYLE"))) {}

void Help::showHelp(std::istream& words, const std::string& mode) {
    std::string word;
    if (!nextWord(words, word)) {
        showGeneralHelp(mode);
        return;
    }
    do {
        if (!showTopic(words, word)) {
            help_text::rejectWord();
        }
    } while (nextWord(words, word));
}

bool Help::showTopic(std::istream& words, const std::string& word) {
    for (const CommandTopic& topic : kCommandTopics) {
        if (word == topic.word) {
            (this->*topic.show)();
            return true;
        }
    }
    if (word == "alarms") {
        // The alarms topic exists only in the old layout.
        if (newStyle_) {
            return false;
        }
        showAlarmsCommandHelp();
        return true;
    }
    for (const char* shellWord : kShellTopics) {
        if (word == shellWord) {
            showShellHelp(word);
            return true;
        }
    }
    if (word == "/cx") {
        // The controller topic takes one word; the words after it are
        // topics again.
        std::string sub;
        showControllerHelp(nextWord(words, sub) ? sub : "all");
        return true;
    }
    for (const PathTopic& topic : kPathTopics) {
        if (word == topic.path) {
            showPathTopic(words, topic.show);
            return true;
        }
    }
    return false;
}

void Help::showPathTopic(std::istream& words, void (Help::*topic)(const std::string&)) {
    std::string sub;
    if (!nextWord(words, sub)) {
        (this->*topic)("all");
        return;
    }
    do {
        (this->*topic)(sub);
    } while (nextWord(words, sub));
}

void Help::showGeneralHelp(const std::string& mode) {
    Piece(kGeneralHead).print();
    if (mode == "focus") {
        Piece(kGeneralFocus).print();
    }
    Piece(kGeneralBody).print();
}

void Help::showErrorHelp() {
    MessageCatalog::getInstance()->printAll();
}
