#include "emulator/controller_codes.h"

#include <iterator>

namespace emulator {

namespace {

struct CodeText {
    uint16_t code;
    const char* text;
};

// The rows of the controller's message table that the emulated firmware
// reports, plus the common ones a fault rule is likely to inject.
constexpr CodeText kRhoskTexts[] = {
    {0x0101, "Invalid command opcode"},
    {0x0106, "Invalid request ID"},
    {0x0108, "ID not locked"},
    {0x010A, "Logical unit not present"},
    {0x010B, "Parameter table does not exist"},
    {0x010C, "Parameter index does not exist"},
    {0x010D, "Invalid field in CDB"},
    {0x010E, "Invalid operation for specified port"},
    {0x010F, "Parameter item size mismatch"},
    {0x0114, "Out of memory"},
    {0x0121, "Drive not degraded"},
    {0x0124, "Drive capacity too small"},
    {0x0128, "Unit offline"},
    {0x012B, "Invalid configuration for join"},
    {0x012F, "Mixed SAS/SATA not allowed in same unit"},
    {0x01D0, "Invalid field in parameter list"},
    {0x01D1, "Parameter list length error"},
    {0x01D2, "Parameter not changeable"},
    {0x01D3, "Parameter not saveable"},
    {0x0204, "Drive timeout"},
    {0x0208, "Drive not ready"},
    {0x0209, "Unclassified drive error"},
    {0x0231, "Next image buffer expected"},
    {0x0232, "Binary image architecture ID incompatible"},
    {0x0233, "Binary image no signature detected"},
    {0x0234, "Binary image checksum error detected"},
    {0x0235, "Binary image buffer overflow detected"},
    {0x0236, "Binary image SRL incompatible"},
    {0x0250, "Unit descriptor size invalid"},
    {0x0251, "Unit descriptor size exceeds data buffer"},
    {0x0252, "Invalid value in unit descriptor"},
    {0x0253, "Inadequate disk space to support descriptor"},
    {0x0255, "Unit descriptor specifies a drive already in use"},
    {0x025A, "Invalid configuration in unit descriptor"},
    {0x025C, "Invalid stripelet size in unit descriptor"},
    {0x025D, "JBOD unit is not allowed"},
    {0x0261, "Maximum number of units reached"},
    {0x0270, "Unit not in NORMAL state"},
    {0x0271, "Invalid drive members"},
    {0x0302, "The BBU resource needed is in use; retry command after a delay"},
    {0x0303, "Command requires a battery pack to be present and enabled"},
    {0x0382, "BBU not present"},
    {0x0383, "BBU not ready"},
};

}  // namespace

std::string rhoskControllerText(uint16_t code) {
    for (const CodeText& row : kRhoskTexts) {
        if (row.code == code)
            return row.text;
    }
    return std::string();
}

}  // namespace emulator
