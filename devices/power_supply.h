// The command object of one power supply of an enclosure, /cN/eM/pwrsK or
// /eM/pwrsK: its status, on/off state, DC voltage and current condition
// and identify indication. Everything but help works in SES enclosures
// only; every read that fails ends the command with the library's error.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "devices/enclosure_element.h"

class PowerSupply : public EnclosureElement {
  public:
    PowerSupply(Enclosure* owner, const std::string& supplyName, uint32_t supplyNumber,
                ObjectId supplyId);
    ~PowerSupply() override;

    // "help" or "?" anywhere; "show" and "set" in an SES enclosure. CLI 128
    // without a word, 129 for another word or outside SES enclosures.
    int execute(std::istream& words) override;
    void show(std::istream& words);
    void set(std::istream& words);

    // The supply's table row, after the table's header when `withHeader`;
    // nothing outside SES enclosures.
    void showRow(bool withHeader);
    // "on" or "off" (CLI 128 for another value); a refused change throws
    // the library's error after the open line.
    void setIdentify(const std::string& value);

    // The status text and the state text ("on", "off", "-").
    void getStatusText(std::string& status, std::string& state);
    // The voltage text and the current text of the DC condition.
    void getVoltageCurrentText(std::string& voltage, std::string& current);
    // "N/A", "On", "Off".
    std::string getIdentifyText();
};
