// The command object of one temperature sensor of an enclosure,
// /cN/eM/tempK or /eM/tempK: its status (with the threshold condition an
// SES enclosure reports), its temperature and identify indication, and in
// an SES enclosure the identify setting.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "devices/enclosure_element.h"

class TempSensor : public EnclosureElement {
  public:
    TempSensor(Enclosure* owner, const std::string& sensorName, uint32_t sensorNumber,
               ObjectId sensorId);
    ~TempSensor() override;

    // "show", "set", "help" or "?"; CLI 126 without a word, 127 for another.
    int execute(std::istream& words) override;
    void show(std::istream& words);
    void set(std::istream& words);

    // The sensor's table row, after the table's header when `withHeader`;
    // a failed status read ends the command with the library's error.
    void showRow(bool withHeader);
    // "on" or "off" (CLI 126 for another value); a refused change throws
    // the library's error after the open line.
    void setIdentify(const std::string& value);

    // Degrees Celsius; -1 when the read fails.
    int32_t getTemperature();
    // The status word, replaced in an enclosure that is not SAF-TE by the
    // word of a threshold flag; the library's error when a read fails.
    std::string getStatusText();
    // "N/A", "On", "Off"; "-" when the read fails.
    std::string getIdentifyText();
};
