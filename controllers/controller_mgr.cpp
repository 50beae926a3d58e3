#include "controllers/controller_mgr.h"

#include <iostream>
#include <set>
#include <sstream>
#include <vector>

#include "api/api.h"
#include "api/api_codes.h"
#include "base/help.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "controllers/controller_prane.h"
#include "controllers/controller_rhosk.h"
#include "controllers/controller_solvane.h"
#include "controllers/controller_vantor.h"
#include "devices/enclosure.h"
#include "units/logical_disk.h"

namespace {

// Enclosures of family 6 and 7 controllers stand below the host; from the
// newest family on, below their controller.
bool hasHostEnclosures(uint32_t family) {
    return family == kFamilySolvane || family == kFamilyTevrin;
}

}  // namespace

ControllerMgr::ControllerMgr() {
    ObjectIdList16 list{};
    list.zero();
    if (Api::GetControllerIdList(&list) != 0)
        throwApiError();
    for (std::size_t i = 0; i < list.size(); ++i)
        discoverController(list.ids[i]);
    discoverEnclosures(list);
}

ControllerMgr::~ControllerMgr() {
    controllers_.clear();
    summaryEnclosures_.clear();
    hostEnclosures_.clear();
}

std::unique_ptr<Controller> ControllerMgr::makeController(int32_t family, const std::string& name,
                                                          uint32_t number, ObjectId id) {
    switch (family) {
        case 3:
            return std::make_unique<ControllerPrane>(name, number, id);
        case 4:
            return std::make_unique<ControllerRhosk>(name, number, id);
        case 6:
        case 7:
            return std::make_unique<ControllerSolvane>(name, number, id);
        case 8:
            return std::make_unique<ControllerVantor>(name, number, id);
        default:
            // Every other code has no class and is refused with CLI error 4;
            // the other controllers work as usual.
            return nullptr;
    }
}

void ControllerMgr::discoverController(ObjectId id) {
    try {
        uint8_t number = 0;
        if (Api::ParseControllerId(id, &number) != 0)
            throwApiError();
        // The library answers a family only for a controller it could
        // classify; any other is not one this program can work with.
        uint32_t family = 0;
        if (Api::GetControllerFamily(id, &family) != 0)
            throwError(kFirmwareNotCompatible);
        const std::string name = "c" + std::to_string(number);
        std::unique_ptr<Controller> controller =
            makeController(static_cast<int32_t>(family), name, number, id);
        if (!controller)
            throwError(kFirmwareNotCompatible);
        controllers_[name] = std::move(controller);
    } catch (KV_Exception& error) {
        reportFailure(error);
    }
}

void ControllerMgr::reportFailure(KV_Exception& error) {
    std::cerr << error.getMessage() << std::endl << std::endl;
}

// An enclosure that cannot be built is reported like a controller that
// cannot be built and costs only itself: the command goes on without it.
void ControllerMgr::discoverEnclosures(const ObjectIdList16& list) {
    uint32_t hostNumber = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const ObjectId controllerId = list.ids[i];
        uint32_t family = 0;
        if (Api::GetControllerFamily(controllerId, &family) != 0)
            continue;
        if (static_cast<int32_t>(family) >= kFamilyVantor)
            addSummaryEnclosures(controllerId);
        else if (hasHostEnclosures(family))
            addHostEnclosures(controllerId, hostNumber);
    }
}

void ControllerMgr::addSummaryEnclosures(ObjectId controllerId) {
    const ObjectIdList16 enclosures = Enclosure::readEnclosureIds(controllerId);
    for (std::size_t i = 0; i < enclosures.size(); ++i) {
        const ObjectId enclosureId = enclosures.ids[i];
        const Enclosure::Numbers numbers = Enclosure::numbersOf(enclosureId);
        const std::string key =
            "/c" + std::to_string(numbers.controller) + "/e" + std::to_string(numbers.enclosure);
        try {
            summaryEnclosures_.insert_or_assign(
                key, adoptTreeObject<Enclosure>(
                         std::make_unique<Enclosure>(key, numbers.enclosure, enclosureId)));
        } catch (KV_Exception& error) {
            reportFailure(error);
        }
    }
}

// The host-level names run on across the controllers: "e" + the number of
// family 6 and 7 enclosures listed before. An enclosure that cannot be
// built keeps its number, and so do the enclosures of a controller that
// could not be built (whose failure was reported already), so that every
// other enclosure keeps its address.
void ControllerMgr::addHostEnclosures(ObjectId controllerId, uint32_t& hostNumber) {
    const ObjectIdList16 enclosures = Enclosure::readEnclosureIds(controllerId);
    for (std::size_t i = 0; i < enclosures.size(); ++i, ++hostNumber) {
        const ObjectId enclosureId = enclosures.ids[i];
        const Enclosure::Numbers numbers = Enclosure::numbersOf(enclosureId);
        if (controllers_.count("c" + std::to_string(numbers.controller)) == 0)
            continue;
        const std::string name = "e" + std::to_string(hostNumber);
        try {
            const int32_t family =
                getController("c" + std::to_string(numbers.controller))->getFamily();
            hostEnclosures_.insert_or_assign(
                name, adoptTreeObject<Enclosure>(std::make_unique<EnclosureTevrin>(
                          name, numbers.enclosure, numbers.controller, family, enclosureId)));
        } catch (KV_Exception& error) {
            reportFailure(error);
        }
    }
}

Controller* ControllerMgr::getController(const std::string& name) {
    auto found = controllers_.find(name);
    if (found == controllers_.end())
        throwError(kNoSuchController);
    return found->second.get();
}

Enclosure* ControllerMgr::getEnclosure(const std::string& name) {
    auto found = hostEnclosures_.find(name);
    if (found == hostEnclosures_.end())
        throwError(kNoSuchEnclosure);
    return found->second.get();
}

template <class Action>
void ControllerMgr::forEachController(Action action) {
    for (auto& entry : controllers_)
        action(*entry.second);
}

void ControllerMgr::showControllers() {
    if (controllers_.empty()) {
        std::cout << "\n"
                  << "No controller found.\n"
                  << "Make sure appropriate Orvo/Kivra device driver(s) are loaded." << std::endl;
        return;
    }
    if (!theShell->isNewOutputStyle()) {
        std::cout << "List of controllers" << std::endl << "-------------------" << std::endl;
        forEachController([](Controller& controller) {
            const std::string model = controller.getModel();
            const uint32_t ports = controller.getNumPorts();
            std::cout << "Controller " << controller.getNumber() << ": " << model << " "
                      << "(" << ports << ")" << std::endl;
        });
        return;
    }
    std::cout << "\n"
              << "Ctl   Model        (V)Ports  Drives   Units   NotOpt  RRate   VRate  BBU\n"
              << std::string(72, '-') << std::endl;
    forEachController([](Controller& controller) { controller.showSummaryRow(); });
}

void ControllerMgr::showEnclosures() {
    bool withHeader = true;
    for (auto& entry : summaryEnclosures_) {
        entry.second->showSummaryRow(withHeader);
        withHeader = false;
        std::cout << std::flush;
    }
    for (auto& entry : hostEnclosures_) {
        entry.second->showLegacySummaryRow(withHeader);
        withHeader = false;
        std::cout << std::flush;
    }
}

void ControllerMgr::showAlarms() {
    forEachController([](Controller& controller) { controller.showAlarms(); });
}

void ControllerMgr::showAlarmsReverse(const std::string& word) {
    std::cout << "\n"
              << "Ctl  Date                        Severity  Alarm Message\n"
              << std::string(78, '-') << std::endl;
    for (auto& entry : controllers_) {
        if (word == "reverse") {
            entry.second->showAlarmsReverse();
        } else if (shell_words::isHelpWord(word)) {
            theShell->getHelp()->showShellHelp("show");
            return;
        } else {
            throwError(kInvalidShowArgument);
        }
    }
}

void ControllerMgr::showDiag() {
    forEachController([](Controller& controller) { controller.showDiag(); });
}

// The schedule views drop a controller's error without a message and go
// on with the next controller.
void ControllerMgr::showSchedules(void (Controller::*show)()) {
    forEachController([show](Controller& controller) {
        try {
            (controller.*show)();
        } catch (const KV_Exception&) {
        }
    });
}

void ControllerMgr::showRebuildSchedules() {
    showSchedules(&Controller::showRebuildSchedule);
}

void ControllerMgr::showVerifySchedules() {
    showSchedules(&Controller::showVerifySchedule);
}

void ControllerMgr::showSelftestSchedules() {
    showSchedules(&Controller::showSelftestSchedule);
}

int ControllerMgr::flush() {
    forEachController([](Controller& controller) {
        std::istringstream none;
        controller.flush(none);
    });
    return 0;
}

int ControllerMgr::commit() {
    forEachController([](Controller& controller) { controller.commit(); });
    return 0;
}

int ControllerMgr::rescan(bool makeOsAware) {
    forEachController([makeOsAware](Controller& controller) { controller.rescan(makeOsAware); });
    return 0;
}

int ControllerMgr::rescanCommand(std::istream& words) {
    bool makeOsAware = true;
    if (!shell_words::hasMoreWords(words)) {
        rescan(true);
        return 0;
    }
    std::set<std::string> names;
    std::string word;
    while (words >> word) {
        ShellServices::toLower(word);
        if (word[0] == 'c') {
            names.insert(word);
        } else if (word == "noscan") {
            makeOsAware = false;
        } else {
            throwError(kInvalidMaintArgument);
        }
    }
    if (names.empty()) {
        rescan(makeOsAware);
        return 0;
    }
    for (const std::string& name : names)
        getController(name)->rescan(makeOsAware);
    return 0;
}

int ControllerMgr::updateFirmware(std::istream& words) {
    if (controllers_.empty())
        throwError(kNoControllerDetected);
    // Every controller reads the same words of the update command from a
    // stream of its own.
    std::string text;
    std::string word;
    while (words >> word)
        text += word + " ";

    bool first = true;
    for (auto& entry : controllers_) {
        if (entry.second->getFamily() < 4)
            continue;
        try {
            std::istringstream updateWords(text);
            entry.second->updateCommand(updateWords, first);
        } catch (KV_Exception& error) {
            // One controller's failure is reported and the update goes on
            // with the next controller.
            std::cout << error.getMessage() << std::endl << std::endl;
        }
        first = false;
    }
    return 0;
}

void ControllerMgr::alarmsCommand(std::istream& words) {
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidAlarmsArgument);
    showAlarms();
}

int ControllerMgr::schedCommand(std::istream& words) {
    std::string task;
    std::string name;
    words >> task >> name;
    if (task == "rebuild")
        return getController(name)->schedRebuildCommand(words);
    if (task == "verify")
        return getController(name)->schedVerifyCommand(words);
    if (task == "selftest")
        return getController(name)->schedSelftestCommand(words);
    throwError(kInvalidSchedArgument);
}

int ControllerMgr::setCommand(std::istream& words) {
    std::string what;
    words >> what;
    if (what == "?") {
        theShell->getHelp()->showSetCommandHelp();
        return 0;
    }
    std::string controllerName;
    words >> controllerName;
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidSetArgument);
    if (what == "rebuild")
        return getController(controllerName)->setRebuildRate(words), 0;
    if (what == "verify")
        return getController(controllerName)->setVerifyRate(words), 0;
    if (what == "cache" || what == "autoverify" || what == "overwriteecc")
        return setUnitPolicy(what, controllerName, words);
    throwError(kInvalidSetArgument);
}

int ControllerMgr::setUnitPolicy(const std::string& what, const std::string& controllerName,
                                 std::istream& words) {
    if (what != "cache" && getController(controllerName)->getFamily() == 3)
        throwError(kInvalidControllerOperation);
    std::string unitName;
    std::string value;
    words >> unitName >> value;
    if (value != "on" && value != "off")
        throwError(kInvalidSetArgument);
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidSetArgument);
    // The write cache reports its own progress; the other two policies
    // print theirs here.
    const bool ownProgress = what != "cache";
    if (ownProgress) {
        std::cout << (what == "autoverify" ? "Setting AutoVerify Policy on /"
                                           : "Setting Overwrite ECC Policy on /")
                  << controllerName << "/" << unitName << " to " << value << " ... " << std::flush;
    }
    int result = 0;
    try {
        result =
            applyUnitPolicy(what, getController(controllerName)->getUnit(unitName), value == "on");
    } catch (const KV_Exception&) {
        std::cout << "Failed." << std::endl;
        throw;
    }
    if (ownProgress)
        std::cout << "Done." << std::endl;
    requireLockReleased(result);
    return 0;
}

int ControllerMgr::applyUnitPolicy(const std::string& what, LogicalDisk* unit, bool on) {
    if (what == "cache")
        return unit->setWriteCache(on, "quiet");
    if (what == "autoverify")
        unit->setAutoverify(on);
    else
        unit->setIgnoreEcc(on);
    return 0;
}
