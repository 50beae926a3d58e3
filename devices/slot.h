// The command object of one drive slot of an enclosure, /cN/eM/slotK or
// /eM/slotK: whether a drive sits in it, the port of that drive and the
// slot's identify indication, which can be set in SES and SAF-TE
// enclosures alike.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "devices/enclosure_element.h"

class Slot : public EnclosureElement {
  public:
    Slot(Enclosure* owner, const std::string& slotName, uint32_t slotNumber, ObjectId slotId);
    ~Slot() override;

    // "show", "set", "help" or "?"; CLI 120 without a word, 121 for another.
    int execute(std::istream& words) override;
    void show(std::istream& words);
    void set(std::istream& words);

    // The slot's table row, after the table's header when `withHeader`.
    void showRow(bool withHeader);
    // The support check first (a failed check only prints a line), then
    // the value ("on" or "off", CLI 120 for another), then the change; a
    // refused change throws the library's error after the open line.
    void setIdentify(const std::string& value);

    // "NO-DEVICE", "OK", "EMPTY", "OCCUPIED" or "Unknown" from the slot's
    // flags; the library's error when the read fails.
    std::string readStatus();
    // "/cN/pK", the port of the slot's drive ("-" when the library names
    // port 255, no port); the library's error when either read fails.
    std::string readPort();
    // The same texts, "-" when a read fails.
    std::string getStatusText();
    std::string getPortText();
    // "N/A", "On", "Off"; "-" when the read fails.
    std::string getIdentifyText();
};
