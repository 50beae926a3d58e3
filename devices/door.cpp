#include "devices/door.h"

#include <iostream>
#include <string>

#include "api/api.h"
#include "base/help.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "devices/enclosure.h"

Door::Door(Enclosure* owner, const std::string& doorName, uint32_t doorNumber, ObjectId doorId)
    : EnclosureElement(owner, doorName, doorNumber, doorId) {}

Door::~Door() = default;

int Door::execute(std::istream& words) {
    const std::string word = commandWord(words, kInvalidDoorCommandSyntax);
    if (shell_words::isHelpWord(word)) {
        showHelp(&Help::showEnclosureDoorHelp, "all");
    } else if (word == "show") {
        show(words);
    } else if (word == "unlock") {
        unlock(words);
    } else if (word == "lock") {
        lock(words);
    } else {
        throwError(kInvalidDoorCommand);
    }
    return 0;
}

void Door::show(std::istream& words) {
    if (!shell_words::hasMoreWords(words)) {
        showRow(true);
        return;
    }
    if (!shell_words::isHelpWord(shell_words::nextWord(words)))
        throwError(kInvalidDoorCommandSyntax);
    showHelp(&Help::showEnclosureDoorHelp, "show");
}

void Door::lock(std::istream& words) {
    lockCommand(words, "lock");
}

void Door::unlock(std::istream& words) {
    lockCommand(words, "unlock");
}

void Door::lockCommand(std::istream& words, const std::string& word) {
    if (!shell_words::hasMoreWords(words)) {
        setLock(word);
        return;
    }
    if (!shell_words::isHelpWord(shell_words::nextWord(words)))
        throwError(kInvalidDoorCommandSyntax);
    showHelp(&Help::showEnclosureDoorHelp, word);
}

void Door::setLock(const std::string& word) {
    // The library has one entry for both words.
    (void)word;
    if (Api::LockDoor(id) != 0)
        throwApiError();
}

std::string Door::getLockText() {
    uint32_t status = 0;
    if (Api::GetDoorLockStatus(id, &status) != 0)
        return "-";
    return status != 0 ? "Locked" : "Unlocked";
}

void Door::showRow(bool withHeader) {
    if (withHeader) {
        std::cout << "\n"
                  << "Door      Switch      Status \n"
                  << std::string(28, '-') << "\n";
    }
    // The switch and the status are two separate reads of the lock status.
    const std::string lockSwitch = getLockText();
    const std::string status = getLockText();
    std::cout << ShellServices::padText(name, 10) << ShellServices::padText(lockSwitch, 16)
              << ShellServices::padText(status, 14) << "\n";
}
