// The controller's work on its units as a whole: flushing write caches,
// removing, exporting and deleting units, migrating a unit, the media scan
// and committing pending transactions.
#include <algorithm>
#include <iostream>
#include <istream>
#include <string>
#include <utility>

#include "api/api.h"
#include "api/audit_log.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "controllers/controller.h"
#include "devices/port.h"
#include "units/logical_disk.h"

namespace {

constexpr int kFamilyOlder = 3;
// At most this many units are taken from one flush word.
constexpr std::size_t kMaxFlushPieces = 128;

// True when `word` holds only characters of `allowed`.
bool onlyOf(const std::string& word, const char* allowed) {
    return word.find_first_not_of(allowed) == std::string::npos;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Flushes one unit; a failure is reported on standard output and the walk
// goes on with the next unit.
template <typename Flush>
void flushReporting(Flush flush) {
    try {
        flush();
    } catch (KV_Exception& error) {
        std::cout << error.getMessage() << std::endl;
    }
}

}  // namespace

int Controller::flush(std::istream& words) {
    if (!shell_words::hasMoreWords(words)) {
        for (auto& entry : units) {
            LogicalDisk* unit = entry.second.get();
            if (unit->getUnitType() == kUnitSpare)
                continue;
            flushReporting([&] { unit->flush(); });
        }
        return 0;
    }
    // Every word is checked before any unit is flushed.
    std::string word;
    while (words >> word) {
        if (word[0] != 'u')
            throwError(kInvalidMaintArgument);
        parseUnitList(word);
    }
    for (const std::string& unitName : unitNames)
        flushReporting([&] { getUnit(unitName)->flush(); });
    return 0;
}

bool Controller::parseUnitList(const std::string& word) {
    const std::string rest = word.substr(1);
    if (!onlyOf(rest, ":0123456789"))
        throwError(kInvalidMaintArgument);
    std::size_t start = 0;
    for (std::size_t piece = 0; piece < kMaxFlushPieces; ++piece) {
        const std::size_t colon = rest.find(':', start);
        unitNames.push_back("u" + rest.substr(start, colon == std::string::npos ? std::string::npos
                                                                                : colon - start));
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    unitNames.sort();
    unitNames.unique();
    return true;
}

int Controller::removeCommand(std::istream& words) {
    if (!shell_words::hasMoreWords(words))
        throwError(kInvalidMaintArgument);
    std::string word;
    while (words >> word) {
        if (word.size() >= 2 && word[0] == 'u' && isDigit(word[1])) {
            bool makeOsAware = true;
            std::string option;
            if (words >> option) {
                if (option != "noscan")
                    throwError(kInvalidMaintArgument);
                makeOsAware = false;
            }
            if (shell_words::hasMoreWords(words))
                throwError(kInvalidMaintArgument);
            if (!onlyOf(word, "u0123456789"))
                throwError(kInvalidMaintArgument);
            removeUnit(word, makeOsAware, false, true);
        } else if (word.size() >= 2 && word[0] == 'p' && isDigit(word[1])) {
            if (shell_words::hasMoreWords(words))
                throwError(kInvalidMaintArgument);
            const auto port = ports.find(word);
            if (!onlyOf(word, "p0123456789") || port == ports.end())
                throwError(kInvalidPort);
            port->second->remove(true);
        } else {
            throwError(kInvalidMaintArgument);
        }
    }
    return 0;
}

int Controller::removeUnit(const std::string& unitName, bool makeOsAware, bool unitOnly,
                           bool quiet) {
    LogicalDisk* unit = getUnit(unitName);
    const ObjectId unitId = unit->getObjectId();
    if (!quiet) {
        const std::string path = "/" + name + "/" + unitName;
        std::string warning = "Removing " + path + " will take the unit offline.";
        if (unit->getStatus() == "INOPERABLE")
            warning += "\nAny unflushed cache associated with this unit will be deleted.";
        if (!ShellServices::confirm(warning))
            return 0;
    }
    printProgress("Removing /" + name + "/" + unitName + " ... ");
    const uint8_t osAware = makeOsAware ? 1 : 0;
    const int result = unitOnly ? theAuditLog->ExportUnit(unitId, osAware)
                                : theAuditLog->RemoveUnit(unitId, osAware);
    if (result != 0)
        throwApiError();
    eraseUnit(unitName);
    std::cout << "Done.\n" << std::endl;
    return 0;
}

int Controller::deleteUnitCommand(std::istream& words) {
    const std::string unitName = shell_words::nextWord(words);
    bool makeOsAware = true;
    std::string option;
    if (words >> option) {
        if (option != "noscan")
            throwError(kInvalidMaintArgument);
        makeOsAware = false;
    }
    if (words >> option)
        throwError(kInvalidMaintArgument);
    return deleteUnit(unitName, makeOsAware, true);
}

int Controller::deleteUnit(const std::string& unitName, bool makeOsAware, bool quiet) {
    if (!quiet) {
        const std::string warning = "Deleting /" + name + "/" + unitName +
                                    " will cause the data on the unit to be permanently lost.";
        if (!ShellServices::confirm(warning))
            return 0;
    }
    printProgress("Deleting unit c" + std::to_string(number) + "/" + unitName + " ...");
    const ObjectId unitId = getUnit(unitName)->getObjectId();
    if (theAuditLog->DeleteUnit(unitId, makeOsAware ? 1 : 0) != 0)
        throwFailedApiError();
    eraseUnit(unitName);
    std::cout << "Done.\n" << std::endl;
    return 0;
}

int Controller::eraseUnit(const std::string& unitName) {
    const auto found = units.find(unitName);
    if (found == units.end())
        return 0;
    retiredUnits.push_back(std::move(found->second));
    units.erase(found);
    return 0;
}

int Controller::commit() {
    runWithProgress("Committing transactions on controller /c" + std::to_string(number) + " ...",
                    [&] { return Api::CommitTransactions(objectId); });
    std::cout << std::endl;
    return 0;
}

int Controller::mediaScan(const std::string& action) {
    if (family != kFamilyOlder)
        throwError(kInvalidControllerOperation);
    const std::string target = " request to /c" + std::to_string(number) + " ... ";
    if (action == "start") {
        runWithProgress("Sending MediaScan-Start" + target,
                        [&] { return Api::StartMediaScan(objectId); });
    } else if (action == "stop") {
        runWithProgress("Sending MediaScan-Stop" + target,
                        [&] { return Api::StopMediaScan(objectId); });
    } else {
        throwError(kInvalidControllerCommandSyntax);
    }
    std::cout << std::endl;
    return 0;
}

int Controller::mediascanCommand(std::istream& words) {
    const std::string action = shell_words::nextWord(words);
    if (action != "start" && action != "stop")
        throwError(kInvalidMaintArgument);
    if (shell_words::hasMoreWords(words))
        throwError(kInvalidMaintArgument);
    return mediaScan(action);
}
