// Unit creation on a newer-family controller: the old-style "createunit"
// words and the creation through a new-unit object of the RAID type asked.
#include <memory>
#include <sstream>
#include <string>

#include "base/help.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "controllers/controller_wescal.h"
#include "platform/host_system.h"
#include "units/logical_disk.h"

// The old-style "createunit" words: "r" + RAID type, "help" or "?", and
// the options, which go on to the creation after a blank each.
int Controller::createUnitFromWords(std::istream& words) {
    std::string type;
    std::string options;
    std::string word;
    while (words >> word) {
        if (word[0] == 'r') {
            type = word.substr(1);
        } else if (shell_words::isHelpWord(word)) {
            theShell->getHelp()->showMaintCreateUnitHelp();
            return 0;
        } else {
            options += " " + word;
        }
    }
    if (type.empty())
        throwError(kInvalidMaintArgument);
    std::istringstream optionWords(options);
    return createUnit(optionWords, type, "old");
}

int Controller::createUnitOfType(const std::string& type, std::istream& options,
                                 const std::string& style) {
    try {
        std::unique_ptr<LogicalDisk> unit = LogicalDisk::makeNew(type, this);
        if (!unit)
            throwError(kInvalidRaidType);
        unit->create(options, style);
    } catch (const KV_Exception&) {
        throw;
    } catch (const platform::HostUnusable&) {
        throw;
    } catch (const std::exception& error) {
        throw KV_Exception(error.what());
    }
    return 0;
}

int ControllerWescal::createUnitCommand(std::istream& words) {
    return createUnitFromWords(words);
}

int ControllerWescal::createUnit(std::istream& options, const std::string& type,
                                 const std::string& style) {
    return createUnitOfType(type, options, style);
}
