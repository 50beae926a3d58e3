// The unit's command words: the dispatcher of /cN/uM and the handlers of
// start, stop, pause, resume, remove/export, del, migrate, flush and show.
// The handlers check the words and hand the work to the unit's task
// operations or to the owning controller.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <iostream>
#include <iterator>
#include <sstream>

#include "api/api.h"
#include "base/help.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "units/logical_disk.h"

namespace {

Help* help() {
    return theShell->getHelp();
}

// One task-word command: its error code, task words and help topic.
struct TaskCommand {
    CliCode errorCode;
    std::vector<std::string> taskWords;
    void (Help::*showHelp)(const std::string&);
};

// Reads the words of a task-word command: exactly one task word, any other
// word passed on. False when a help word printed the help instead.
bool readTaskWords(std::istream& words, const TaskCommand& command, std::string* task,
                   std::stringstream* passOn) {
    if (!shell_words::hasMoreWords(words))
        throwError(command.errorCode);
    std::string word;
    while (words >> word) {
        if (std::find(command.taskWords.begin(), command.taskWords.end(), word) !=
            command.taskWords.end()) {
            if (!task->empty())
                throwError(command.errorCode);
            *task = word;
        } else if (shell_words::isHelpWord(word)) {
            (help()->*command.showHelp)("all");
            return false;
        } else {
            *passOn << " " << word;
        }
    }
    if (task->empty())
        throwError(command.errorCode);
    return true;
}

}  // namespace

int LogicalDisk::execute(std::istream& words) {
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidUnitCommandSyntax);
    std::string word;
    if (!(words >> word))
        throwError(kInvalidUnitCommandSyntax);
    if (shell_words::isHelpWord(word)) {
        help()->showUnitHelp("all");
        return 0;
    }
    using Handler = int (LogicalDisk::*)(std::istream&);
    static const struct {
        const char* word;
        Handler handler;
    } kCommands[] = {
        {"migrate", &LogicalDisk::migrateCommand}, {"show", &LogicalDisk::showCommand},
        {"flush", &LogicalDisk::flushCommand},     {"export", &LogicalDisk::removeCommand},
        {"remove", &LogicalDisk::removeCommand},   {"import", nullptr},
        {"del", &LogicalDisk::delCommand},         {"resume", &LogicalDisk::resumeCommand},
        {"pause", &LogicalDisk::pauseCommand},     {"set", &LogicalDisk::setCommand},
        {"start", &LogicalDisk::startCommand},     {"stop", &LogicalDisk::stopCommand},
    };
    for (const auto& command : kCommands) {
        if (word != command.word)
            continue;
        // import is accepted and changes nothing.
        if (command.handler != nullptr)
            (this->*command.handler)(words);
        return 0;
    }
    throwError(kInvalidUnitCommand);
}

// --- Task-word commands ---

int LogicalDisk::startCommand(std::istream& words) {
    const TaskCommand command{kInvalidStart, {"rebuild", "verify"}, &Help::showUnitStartHelp};
    std::string task;
    std::stringstream passOn;
    if (!readTaskWords(words, command, &task, &passOn))
        return 0;
    return task == "rebuild" ? startRebuildCommand(passOn) : startVerifyCommand(passOn);
}

int LogicalDisk::stopCommand(std::istream& words) {
    const TaskCommand command{kInvalidStop, {"verify"}, &Help::showUnitStopHelp};
    std::string task;
    std::stringstream passOn;
    if (!readTaskWords(words, command, &task, &passOn))
        return 0;
    return stopVerifyCommand(passOn);
}

int LogicalDisk::pauseCommand(std::istream& words) {
    const TaskCommand command{kInvalidPause, {"rebuild"}, &Help::showUnitPauseHelp};
    std::string task;
    std::stringstream passOn;
    if (!readTaskWords(words, command, &task, &passOn))
        return 0;
    return pauseRebuildCommand(passOn);
}

int LogicalDisk::resumeCommand(std::istream& words) {
    const TaskCommand command{kInvalidResume, {"rebuild"}, &Help::showUnitResumeHelp};
    std::string task;
    std::stringstream passOn;
    if (!readTaskWords(words, command, &task, &passOn))
        return 0;
    return resumeRebuildCommand(passOn);
}

int LogicalDisk::startRebuildCommand(std::istream& words) {
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidStart);
    bool withIgnoreEcc = family() == kFamilyPrane ? false : getIgnoreEcc(false);
    std::string word;
    while (words >> word) {
        if (word.find("disk=") != std::string::npos) {
            parseDriveList("p" + shell_words::valueAfterEquals(word));
        } else if (word == "ignoreecc") {
            withIgnoreEcc = true;
        } else if (shell_words::isHelpWord(word)) {
            help()->showUnitStartHelp("rebuild");
            return 0;
        } else {
            throwError(kInvalidStart);
        }
    }
    return startRebuild(withIgnoreEcc);
}

int LogicalDisk::startVerifyCommand(std::istream& words) {
    std::string word;
    if (words >> word) {
        if (!shell_words::isHelpWord(word))
            throwError(kInvalidStart);
        help()->showUnitStartHelp("verify");
        return 0;
    }
    startVerify();
    return 0;
}

int LogicalDisk::stopVerifyCommand(std::istream& words) {
    std::string word;
    if (words >> word) {
        if (!shell_words::isHelpWord(word))
            throwError(kInvalidStop);
        help()->showUnitStopHelp("verify");
        return 0;
    }
    stopVerify();
    return 0;
}

// Kept beside stop verify; the stop command has no rebuild task word, so
// nothing reaches it from the command line.
int LogicalDisk::stopRebuildCommand(std::istream& words) {
    std::string word;
    if (words >> word) {
        if (!shell_words::isHelpWord(word))
            throwError(kInvalidStop);
        help()->showUnitStopHelp("rebuild");
    }
    return 0;
}

int LogicalDisk::pauseRebuildCommand(std::istream& words) {
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidPause);
    return pauseRebuild();
}

int LogicalDisk::resumeRebuildCommand(std::istream& words) {
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidResume);
    return resumeRebuild();
}

// --- Commands the controller carries out ---

int LogicalDisk::removeCommand(std::istream& words) {
    bool osAware = true;
    bool unitOnly = false;
    bool quiet = false;
    std::string word;
    while (words >> word) {
        if (word == "noscan") {
            osAware = false;
        } else if (word == "unitonly") {
            unitOnly = true;
        } else if (word == "quiet" || word == "q") {
            quiet = true;
        } else if (shell_words::isHelpWord(word)) {
            help()->showUnitRemoveHelp();
            return 0;
        } else {
            throwError(kInvalidUnitExport);
        }
    }
    // The controller may delete this object: nothing of it is used after.
    controller->removeUnit(name, osAware, unitOnly, quiet);
    return 0;
}

int LogicalDisk::delCommand(std::istream& words) {
    bool osAware = true;
    bool quiet = false;
    std::string word;
    while (words >> word) {
        if (word == "noscan") {
            osAware = false;
        } else if (word == "quiet" || word == "q") {
            quiet = true;
        } else if (shell_words::isHelpWord(word)) {
            help()->showUnitDelHelp();
            return 0;
        } else {
            throwError(kInvalidUnitDel);
        }
    }
    controller->deleteUnit(name, osAware, quiet);
    return 0;
}

int LogicalDisk::migrateCommand(std::istream& words) {
    std::string targetType;
    std::stringstream passOn;
    std::string word;
    while (words >> word) {
        if (word.find("type=") != std::string::npos) {
            targetType = shell_words::valueAfterEquals(word);
        } else if (shell_words::isHelpWord(word)) {
            help()->showUnitMigrateHelp();
            return 0;
        } else {
            passOn << " " << word;
        }
    }
    if (targetType.empty())
        throwError(kInvalidUnitCommandValue);
    controller->migrateUnit(name, targetType, passOn);
    return 0;
}

int LogicalDisk::flushCommand(std::istream& words) {
    std::string word;
    if (words >> word) {
        if (!shell_words::isHelpWord(word))
            throwError(kInvalidUnitFlush);
        help()->showUnitFlushHelp();
        return 0;
    }
    flush();
    return 0;
}

// --- show ---

int LogicalDisk::showCommand(std::istream& words) {
    std::string word;
    if (!(words >> word)) {
        showTable(true);
        return 0;
    }
    if (word == "all") {
        if (shell_words::hasMoreWords(words))
            throwError(kInvalidUnitShow);
        std::stringstream attributes;
        listAllAttributes(attributes);
        std::string attribute;
        while (attributes >> attribute)
            showAttribute(attribute);
        showTable(true);
        return 0;
    }
    if (shell_words::isHelpWord(word)) {
        if (shell_words::hasMoreWords(words))
            throwError(kInvalidHelpArgument);
        help()->showUnitHelp("show");
        return 0;
    }
    do {
        showAttribute(word);
    } while (words >> word);
    return 0;
}

void LogicalDisk::listAllAttributes(std::ostream& out) {
    const int32_t fam = family();
    const bool spare = typeCode == kUnitSpare;
    out << "status rebuildstatus verifystatus initializestatus wrcache";
    if (!spare && hasLevel37())
        out << " rdcache";
    if (fam != kFamilyPrane)
        out << " volumes name serial";
    if (fam >= kFamilyRhosk) {
        const bool noEcc =
            typeCode == kUnitRaid0 || spare || typeCode == kUnitSingle || typeCode == kUnitJbod;
        if (!noEcc)
            out << " ignoreecc";
        out << " autoverify";
    }
    if (fam >= kFamilySolvane) {
        if (!spare) {
            out << " keepwell qpolicy";
            static const uint32_t kRapidRecoveryTypes[] = {
                kUnitRaid1, kUnitRaid1Mirror, kUnitRaid5,    kUnitRaid10,
                kUnitRaid6, kUnitRaid50,      kUnitMigrating};
            const bool hasRapidRecovery =
                std::find(std::begin(kRapidRecoveryTypes), std::end(kRapidRecoveryTypes),
                          typeCode) != std::end(kRapidRecoveryTypes);
            if (hasRapidRecovery && hasLevel36())
                out << " rapidrecovery";
        }
        if (typeCode == kUnitRaid6)
            out << " parity";
    }
}
