// The command grammar after a controller's address: the verb and the
// small parsers behind "rescan", "update", "add", "del", "start", "stop"
// and "get", and the "set" and "show" dispatchers.
#include <cstdlib>
#include <functional>
#include <iostream>
#include <sstream>

#include "base/kv_exception.h"
#include "base/shell_words.h"
#include "controllers/controller.h"

namespace {

bool contains(const std::string& word, const char* text) {
    return word.find(text) != std::string::npos;
}

// The task a schedule word names ("rebuild=", "verify=", "selftest="); null
// for none.
const char* scheduleTaskOf(const std::string& word) {
    static const char* const kTasks[][2] = {
        {"rebuild=", "rebuild"}, {"verify=", "verify"}, {"selftest=", "selftest"}};
    for (const auto& task : kTasks) {
        if (contains(word, task[0]))
            return task[1];
    }
    return nullptr;
}

// A slot number read from the start of a text; a text that does not begin
// with a number gives 0, which no schedule slot has, and a number beyond
// int is held at its end, which no slot has either (a number must never
// wrap round onto a real slot).
int slotNumberOf(const std::string& text) {
    return shell_words::leadingNumberAs<int>(text);
}

}  // namespace

int Controller::execute(std::istream& words) {
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidControllerCommandSyntax);
    std::string verb;
    if (!(words >> verb))
        throwError(kInvalidControllerCommandSyntax);

    if (shell_words::isHelpWord(verb)) {
        showHelp("all");
    } else if (verb == "set") {
        setCommand(words);
    } else if (verb == "show") {
        showCommand(words);
    } else if (verb == "get") {
        getCommand(words);
    } else if (verb == "remove" || verb == "export") {
        removeCommand(words);
    } else if (verb == "deleteunit") {
        deleteUnitCommand(words);
    } else if (verb == "createunit") {
        createUnitCommand(words);
    } else if (verb == "flush") {
        flush(words);
    } else if (verb == "start") {
        startCommand(words);
    } else if (verb == "stop") {
        stopCommand(words);
    } else if (verb == "commit" || verb == "shutdown") {
        commit();
    } else if (verb == "rescan") {
        rescanCommand(words);
    } else if (verb == "add") {
        addCommand(words);
    } else if (verb == "del") {
        delCommand(words);
    } else if (verb == "update") {
        updateCommand(words, true);
    } else {
        throwError(kInvalidControllerCommand);
    }
    return 0;
}

int Controller::rescanCommand(std::istream& words) {
    if (!shell_words::hasMoreWords(words)) {
        rescan(true);
        return 0;
    }
    std::string word;
    while (words >> word) {
        if (contains(word, "noscan")) {
            rescan(false);
        } else if (shell_words::isHelpWord(word)) {
            showHelp("rescan");
        } else {
            throwError(kInvalidControllerCommandSyntax);
        }
    }
    return 0;
}

int Controller::updateCommand(std::istream& words, bool firstController) {
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidControllerCommandSyntax);
    std::string fileName;
    bool force = false;
    std::string word;
    while (words >> word) {
        if (contains(word, "fw=")) {
            fileName = shell_words::valueAfterEquals(word);
        } else if (word == "force") {
            force = true;
        } else if (shell_words::isHelpWord(word)) {
            showHelp("update");
            return 0;
        } else {
            throwError(kInvalidImageFileName);
        }
    }
    if (fileName.empty())
        throwError(kInvalidUpdate);
    updateFirmware(fileName, force ? 1 : 0, firstController ? 1 : 0);
    return 0;
}

int Controller::addCommand(std::istream& words) {
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidControllerCommandSyntax);
    std::string word;
    while (words >> word) {
        if (const char* task = scheduleTaskOf(word)) {
            addScheduleSlot(shell_words::valueAfterEquals(word), task);
            continue;
        }
        if (shell_words::isHelpWord(word)) {
            showHelp("add");
            continue;
        }
        // Any other word starts a unit creation, which takes this word and
        // every word after it.
        std::string type;
        std::string options;
        do {
            if (contains(word, "type=")) {
                type = shell_words::valueAfterEquals(word);
            } else if (shell_words::isHelpWord(word)) {
                showHelp("add");
                return 0;
            } else {
                options += " " + word;
            }
        } while (words >> word);
        if (type.empty())
            throwError(kInvalidAddArgument);
        std::istringstream optionWords(options);
        createUnit(optionWords, type, "new");
        return 0;
    }
    return 0;
}

int Controller::delCommand(std::istream& words) {
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidControllerCommandSyntax);
    std::string word;
    while (words >> word) {
        if (const char* task = scheduleTaskOf(word)) {
            deleteScheduleSlot(slotNumberOf(shell_words::valueAfterEquals(word)), task);
        } else if (shell_words::isHelpWord(word)) {
            showHelp("del");
        } else {
            throwError(kInvalidControllerCommandValue);
        }
    }
    return 0;
}

// "start" and "stop" differ only in the action word.
static int mediaScanWords(Controller& controller, std::istream& words, const std::string& action,
                          const std::function<void(const std::string&)>& help) {
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidControllerCommandSyntax);
    std::string word;
    while (words >> word) {
        if (contains(word, "mediascan")) {
            controller.mediaScan(action);
        } else if (shell_words::isHelpWord(word)) {
            help(action);
        } else {
            throwError(kInvalidControllerCommandValue);
        }
    }
    return 0;
}

int Controller::startCommand(std::istream& words) {
    return mediaScanWords(*this, words, "start", showHelp);
}

int Controller::stopCommand(std::istream& words) {
    return mediaScanWords(*this, words, "stop", showHelp);
}

int Controller::getCommand(std::istream& words) {
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidControllerCommandSyntax);
    std::string word;
    while (words >> word) {
        if (!contains(word, "capture"))
            throwError(kInvalidControllerCommandValue);
        saveCapture();
    }
    return 0;
}

int Controller::setCommand(std::istream& words) {
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidControllerCommandSyntax);
    std::string word;
    words >> word;

    // Tested in this order: "autorebuild=" before "rebuild=", "capturemode"
    // before "capture".
    using Action = std::function<void()>;
    struct SetWord {
        const char* text;
        Action action;
    };
    const SetWord kSetWords[] = {
        {"exportjbod", [&] { setExportJbod(word); }},
        {"ondegrade", [&] { setOnDegrade(word); }},
        {"spinup", [&] { setSpinup(word); }},
        {"stagger", [&] { setStagger(word); }},
        {"carvesize", [&] { setCarveSize(word); }},
        {"autocarve", [&] { setAutoCarve(word); }},
        {"autorebuild=", [&] { setAutoRebuild(word); }},
        {"rebuild=", [&] { setRebuild(words, word); }},
        {"rebuildmode", [&] { setRebuildBackgroundTask(words, word, 0); }},
        {"rebuildrate", [&] { setRebuildBackgroundTask(words, word, 1); }},
        {"verify=", [&] { setVerify(words, word); }},
        {"verifymode", [&] { setVerifyBackgroundTask(words, word, 0); }},
        {"verifyrate", [&] { setVerifyBackgroundTask(words, word, 1); }},
        {"selftest=", [&] { setSelftest(words, word); }},
        {"ignorefuawrite=", [&] { setIgnoreFuaWrite(words, word); }},
        {"forcedrivecacheon=", [&] { setForceDriveCacheOn(words, word); }},
        {"avmode", [&] { setAvMode(word); }},
        {"autodetect", [&] { setAutoDetect(words, word); }},
        {"lbareorder", [&] { setLbaReorder(words, word); }},
        {"capturemode", [&] { setCaptureMode(words, word); }},
        {"capture", [&] { setCapture(words, word); }},
        {"pmstat", [&] { setPmstat(words, word); }},
        {"drvcoercionfactor", [&] { setCoercionFactor(words, word); }},
        {"dcf", [&] { setCoercionFactor(words, word); }},
        {"modepgctl", [&] { setModePageControl(words, word); }},
    };
    for (const SetWord& each : kSetWords) {
        if (contains(word, each.text)) {
            each.action();
            return 0;
        }
    }
    if (shell_words::isHelpWord(word)) {
        showHelp("set");
        return 0;
    }
    throwError(kInvalidControllerCommand);
}

int Controller::showCommand(std::istream& words) {
    if (!shell_words::hasMoreWords(words)) {
        showAll();
        return 0;
    }
    std::string word;
    words >> word;
    if (word == "all" || word == "allunitstatus") {
        if (shell_words::hasMoreWords(words))
            throwError(kInvalidShowArgument);
        std::ostringstream list;
        getShowAllAttributes(list);
        std::istringstream attributes(list.str());
        std::string attribute;
        while (attributes >> attribute)
            showAttribute(attribute, 1);
    } else if (shell_words::isHelpWord(word)) {
        if (shell_words::hasMoreWords(words))
            throwError(kInvalidHelpArgument);
        showHelp("show");
    } else if (word == "pmstat" || word == "dpmstat") {
        showPmstat(words);
    } else if (word == "capture" || word == "capturemode") {
        showCapture();
    } else if (word == "capture=debug") {
        showCaptureDebug(words);
    } else if (word == "alarms" || word == "aens" || word == "events") {
        showEvents(words);
    } else if (word == "drvcoercionfactor" || word == "dcf") {
        showCoercionFactor(words);
    } else if (word == "modepgctl") {
        showModePageControl(words);
    } else {
        do {
            showAttribute(word, 0);
        } while (words >> word);
    }
    return 0;
}

void Controller::getShowAllAttributes(std::ostream& out) {
    const auto put = [&out](std::initializer_list<const char*> attributes) {
        for (const char* attribute : attributes)
            out << attribute << ' ';
    };
    put({"driver", "model", "memory", "firmware", "bios", "monitor", "serial", "pcb", "pchip",
         "achip"});
    if (family >= 4 && family <= 7)
        put({"numports", "numdrives", "numunits"});
    else if (family == 8)
        put({"ctlrphys", "connectioncnt", "drvcnt", "unitcnt", "activedrvcnt", "activeunitcnt",
             "maxdrivesperunit"});
    put({"allunitstatus"});
    if (family >= 4 && family <= 7)
        put({"exportjbod", "spinup", "stagger"});
    else if (family == 8)
        put({"spinup", "stagger"});
    if (family == 4)
        put({"ondegrade"});
    if (family >= 6)
        put({"autocarve", "carvesize", "autorebuild", "rebuildmode", "rebuildrate", "verifymode",
             "verifyrate", "ctlbus"});
    put({"unitstatus", "drivestatus"});
    if (family >= 4)
        put({"bbustatus"});
}
