// The command processor: the shell's own words, the controller manager of
// each command, qualification with the focus, the root object's commands
// and the old-style command words.
#include <iostream>
#include <iterator>
#include <sstream>

#include "api/api.h"
#include "base/help.h"
#include "base/kv_exception.h"
#include "base/shell_words.h"
#include "base/version.h"
#include "controllers/controller_mgr.h"
#include "shell/progress_line.h"
#include "shell/shell.h"
#include "shell/shell_tree.h"

using shell_tree::ControllerAction;
using shell_words::hasMoreWords;
using shell_words::isHelpWord;
using shell_words::nextWord;

bool Shell::processCommand(std::istream& line) {
    ProgressLineWatch::commandStarts();
    const std::string text((std::istreambuf_iterator<char>(line)),
                           std::istreambuf_iterator<char>());
    std::stringstream words(text);
    const std::string first = nextWord(words);

    if (isHelpWord(first)) {
        help_->showHelp(words, interactive_ ? "focus" : "all");
        return true;
    }
    if (first.empty() || first == "#") {
        return true;
    }
    if (first == "quit" || first == "exit" || first == "q") {
        return false;
    }

    // Every other command sees the controllers as they are now. A failed
    // discovery ends the command with its own error.
    controllerMgr_ = std::make_unique<ControllerMgr>();
    ControllerMgr* mgr = controllerMgr_.get();
    try {
        if (first == "info") {
            infoCommand(mgr, words);
        } else if (first == "alarms") {
            mgr->alarmsCommand(words);
        } else if (first == "maint") {
            maintCommand(mgr, words);
        } else if (first == "sched") {
            mgr->schedCommand(words);
        } else if (first == "focus" || first == "cf") {
            changeFocus(words);
        } else {
            std::string qualified = text;
            qualifyCommand(qualified);
            std::stringstream rest(qualified);
            const std::string target = nextWord(rest);
            if (!target.empty() && target[0] == '/') {
                getObject(mgr, target)->execute(rest);
            } else {
                runOldStyleWord(mgr, target, qualified, rest);
            }
        }
    } catch (const KV_Exception&) {
        controllerMgr_.reset();
        throw;
    }
    controllerMgr_.reset();
    std::cout << std::endl;
    return true;
}

void Shell::qualifyCommand(std::string& line) const {
    if (!newInputStyle_ || (!line.empty() && line[0] == '/')) {
        return;
    }
    if (line.compare(0, 2, "./") == 0) {
        line = focus_ + line.substr(1);
    } else {
        line = focus_ + " " + line;
    }
}

bool Shell::controllerActionOf(const std::string& word, bool maint, ControllerAction* action) {
    struct ControllerWord {
        const char* word;
        ControllerAction action;
        bool maintOnly;  // the root words handle flush and commit themselves
    };
    static const ControllerWord kWords[] = {
        {"remove", ControllerAction::Remove, false},
        {"export", ControllerAction::Remove, false},
        {"deleteunit", ControllerAction::DeleteUnit, false},
        {"createunit", ControllerAction::CreateUnit, false},
        {"rebuild", ControllerAction::Rebuild, false},
        {"verify", ControllerAction::Verify, false},
        {"mediascan", ControllerAction::Mediascan, false},
        {"flush", ControllerAction::Flush, true},
        {"commit", ControllerAction::Commit, true},
        {"shutdown", ControllerAction::Commit, true},
    };
    for (const ControllerWord& each : kWords) {
        if (word == each.word && (maint || !each.maintOnly)) {
            *action = each.action;
            return true;
        }
    }
    return false;
}

int Shell::runOldStyleWord(ControllerMgr* mgr, const std::string& word, const std::string& line,
                           std::istream& words) {
    // Only the old input style reaches here: the new one puts the focus in
    // front of every command.
    const bool asksHelp =
        line.find("help") != std::string::npos || line.find('?') != std::string::npos;

    if (word == "show") {
        return showRoot(mgr, words);
    }
    if (word == "set") {
        mgr->setCommand(words);
        std::cout << std::endl;
        return 0;
    }
    if (word == "update") {
        updateRoot(mgr, words);
        std::cout << std::endl;
        return 0;
    }
    if (word == "rescan") {
        mgr->rescanCommand(words);
        std::cout << std::endl;
        return 0;
    }
    if (word == "commit" || word == "shutdown") {
        if (!asksHelp && hasMoreWords(words)) {
            return runOnController(mgr, ControllerAction::Commit, nextWord(words), words);
        }
        return commitRoot(mgr, words);
    }
    if (word == "flush") {
        if (!asksHelp && hasMoreWords(words)) {
            return runOnController(mgr, ControllerAction::Flush, nextWord(words), words);
        }
        return flushRoot(mgr, words);
    }
    ControllerAction action;
    if (controllerActionOf(word, false, &action)) {
        return runOnController(mgr, action, nextWord(words), words);
    }
    throw KV_Exception(kInvalidShellCommand);
}

int Shell::runOnController(ControllerMgr* mgr, ControllerAction action,
                           const std::string& controllerName, std::istream& words) {
    return shell_tree::runControllerAction(mgr->getController(controllerName), action, words);
}

int Shell::execute(std::istream& words) {
    if (!hasMoreWords(words)) {
        throw KV_Exception(kInvalidShellCommandSyntax);
    }
    ControllerMgr* mgr = controllerMgr_.get();
    const std::string word = nextWord(words);
    if (word == "show") {
        return showRoot(mgr, words);
    }
    if (word == "flush") {
        return flushRoot(mgr, words);
    }
    if (word == "rescan") {
        return rescanRoot(mgr, words);
    }
    if (word == "commit") {
        return commitRoot(mgr, words);
    }
    if (word == "set") {
        mgr->setCommand(words);
        std::cout << std::endl;
        return 0;
    }
    if (word == "update") {
        return updateRoot(mgr, words);
    }
    if (isHelpWord(word)) {
        help_->showHelp(words, "focus");
        return 0;
    }
    throw KV_Exception(kInvalidShellCommand);
}

int Shell::showRoot(ControllerMgr* mgr, std::istream& words) {
    if (!hasMoreWords(words)) {
        mgr->showControllers();
        mgr->showEnclosures();
        return 0;
    }
    std::string word;
    while (words >> word) {
        if (word == "ver" || word == "version") {
            std::cout << "CLI Version = " << KV_CLI_VERSION << std::endl;
            std::cout << "API Version = " << Api::GetApiVersion() << std::endl;
        } else if (word == "alarms" || word == "aens" || word == "events") {
            if (hasMoreWords(words)) {
                mgr->showAlarmsReverse(nextWord(words));
            } else {
                mgr->showAlarms();
            }
        } else if (word == "diag") {
            mgr->showDiag();
        } else if (word == "rebuild") {
            mgr->showRebuildSchedules();
        } else if (word == "verify") {
            mgr->showVerifySchedules();
        } else if (word == "selftest") {
            mgr->showSelftestSchedules();
        } else if (isHelpWord(word)) {
            help_->showShellHelp("show");
        } else {
            throw KV_Exception(kInvalidShellCommand);
        }
    }
    return 0;
}

// The root flush, commit and rescan share one shape: no word acts on every
// controller, "help" or "?" prints the command's help and ends it, any
// other word is the command's error. Returns false when the command ended
// at a help word.
bool Shell::takeRootWords(std::istream& words, const char* topic, CliCode errorCode,
                          bool* makeOsAware) {
    std::string word;
    while (words >> word) {
        if (isHelpWord(word)) {
            help_->showShellHelp(topic);
            return false;
        }
        if (makeOsAware != nullptr && word == "noscan") {
            *makeOsAware = false;
            continue;
        }
        throw KV_Exception(errorCode);
    }
    return true;
}

int Shell::flushRoot(ControllerMgr* mgr, std::istream& words) {
    if (takeRootWords(words, "flush", kInvalidFlush, nullptr)) {
        mgr->flush();
    }
    return 0;
}

int Shell::commitRoot(ControllerMgr* mgr, std::istream& words) {
    if (takeRootWords(words, "commit", kInvalidCommit, nullptr)) {
        mgr->commit();
    }
    return 0;
}

int Shell::rescanRoot(ControllerMgr* mgr, std::istream& words) {
    bool makeOsAware = true;
    if (takeRootWords(words, "rescan", kInvalidRescan, &makeOsAware)) {
        mgr->rescan(makeOsAware);
    }
    return 0;
}

int Shell::updateRoot(ControllerMgr* mgr, std::istream& words) {
    std::string word;
    while (words >> word) {
        if (isHelpWord(word)) {
            help_->showShellHelp("update");
            return 0;
        }
        if (word.find("fw=") != std::string::npos) {
            // The firmware update takes the file name and its options from
            // the update command's own words, this one included; the rest
            // of the line (host name, focus) plays no part.
            const std::string rest((std::istreambuf_iterator<char>(words)),
                                   std::istreambuf_iterator<char>());
            std::stringstream updateWords(word + " " + rest);
            return mgr->updateFirmware(updateWords);
        }
        throw KV_Exception(kInvalidUpdate);
    }
    throw KV_Exception(kInvalidUpdate);
}

int Shell::infoCommand(ControllerMgr* mgr, std::istream& words) {
    if (!hasMoreWords(words)) {
        mgr->showControllers();
        return 0;
    }
    const std::string word = nextWord(words);
    if (word[0] == 'c') {
        return runOnController(mgr, ControllerAction::Info, word, words);
    }
    if (isHelpWord(word)) {
        help_->showInfoCommandHelp();
        return 0;
    }
    throw KV_Exception(kInvalidInfoArgument);
}

int Shell::maintCommand(ControllerMgr* mgr, std::istream& words) {
    const std::string word = nextWord(words);
    if (word == "rescan") {
        mgr->rescanCommand(words);
        std::cout << std::endl;
        return 0;
    }
    if (isHelpWord(word)) {
        help_->showMaintCommandHelp();
        return 0;
    }
    ControllerAction action;
    if (controllerActionOf(word, true, &action)) {
        return runOnController(mgr, action, nextWord(words), words);
    }
    throw KV_Exception(kInvalidMaintArgument);
}
