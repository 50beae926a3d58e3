// The command object of one door lock of an enclosure, /cN/eM/edrK or
// /eM/edrK: whether the door is locked, and the words "lock" and "unlock".
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "devices/enclosure_element.h"

class Door : public EnclosureElement {
  public:
    Door(Enclosure* owner, const std::string& doorName, uint32_t doorNumber, ObjectId doorId);
    ~Door() override;

    // "show", "lock", "unlock", "help" or "?"; CLI 118 without a word, 119
    // for another.
    int execute(std::istream& words) override;
    void show(std::istream& words);
    void lock(std::istream& words);
    void unlock(std::istream& words);
    // Asks the library's one door-lock operation for "lock" and "unlock"
    // alike; a failure throws the library's error. Prints nothing.
    void setLock(const std::string& word);

    // The door's table row, after the table's header when `withHeader`.
    void showRow(bool withHeader);

  private:
    // The words after "lock" or "unlock": none runs it, help prints its
    // topic, anything else is CLI 118.
    void lockCommand(std::istream& words, const std::string& word);
    // "Locked" for a nonzero lock status, "Unlocked" for 0, "-" when the
    // read fails.
    std::string getLockText();
};
