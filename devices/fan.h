// The command object of one enclosure fan, /cN/eM/fanK or /eM/fanK: its
// status, speed step, RPM and identify indication, and in an SES enclosure
// the speed step and identify settings.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "devices/enclosure_element.h"

class Fan : public EnclosureElement {
  public:
    Fan(Enclosure* owner, const std::string& fanName, uint32_t fanNumber, ObjectId fanId);
    ~Fan() override;

    // "show", "set", "help" or "?"; CLI 122 without a word, 123 for another.
    int execute(std::istream& words) override;
    void show(std::istream& words);
    void set(std::istream& words);

    // The fan's table row, after the table's header when `withHeader`. By
    // the enclosure's protocol: the SES and SAF-TE layouts; nothing else.
    void showRow(bool withHeader);

    // A speed outside 0 to 7, or one the library refuses, prints a line
    // and changes nothing; neither is an error.
    void setSpeed(int speed);
    // "on" or "off" (CLI 122 for another value).
    void setIdentify(const std::string& value);

    // --- The cells; none of them fails the command ---
    // "OK", "FAIL", "NOT-INSTALLED", "OFF", "NOT-REPORTABLE", "" for another
    // code; "-" when the read fails.
    std::string getStatusText();
    // "0" to "7", "N/A" for another code; "-" when the read fails.
    std::string getSpeedText();
    // 0xFFFFFFFF when the read fails.
    uint32_t getRpm();
    // "N/A", "On", "Off"; a failed read prints a line and gives "-".
    std::string getIdentifyText();

    static constexpr uint32_t kNoRpm = 0xFFFFFFFF;
};
