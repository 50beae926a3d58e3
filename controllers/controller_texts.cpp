// Texts of the library's unit type, unit status and drive status codes and
// of sizes, as the new-style tables print them.
#include <cstdint>
#include <string>

#include "base/shell_services.h"
#include "controllers/controller.h"

namespace {

struct CodeText {
    uint32_t code;
    const char* text;
};

template <std::size_t N>
std::string TextOf(const CodeText (&table)[N], uint32_t code) {
    for (const CodeText& entry : table) {
        if (entry.code == code)
            return entry.text;
    }
    return "UNKNOWN";
}

constexpr CodeText kUnitTypes[] = {
    {0, "RAID-0"},   {1, "RAID-1"},  {2, "RAID-1"},  {5, "RAID-5"}, {6, "RAID-10"},
    {7, "RAID-6"},   {8, "RAID-50"}, {11, "SINGLE"}, {12, "DISK"},  {13, "SPARE"},
    {14, "SUBUNIT"}, {15, "JBOD"},   {64, "DEAD"},
};

constexpr CodeText kUnitStatuses[] = {
    {0, "INOPERABLE"}, {175, "MIGRATING"},    {191, "RECOVERY"},  {223, "REBUILDING"},
    {239, "DEGRADED"}, {247, "INITIALIZING"}, {251, "VERIFYING"}, {255, "OK"},
};

constexpr CodeText kDriveStatuses[] = {
    {0, "NOT-PRESENT"},    {1, "OFFLINE-JBOD"},     {2, "DRIVE-REMOVED"},  {217, "UNCONV-DCB"},
    {219, "UNSUPP-DCB"},   {221, "DCB-DATA-CHECK"}, {223, "ORPHAN"},       {232, "CFG-OP-FAIL"},
    {236, "READ-FAILURE"}, {238, "READ-TIMEOUT"},   {241, "DEVICE-ERROR"}, {245, "SMART-FAILURE"},
    {249, "ECC-ERROR"},    {254, "NOT-SUPPORTED"},  {255, "OK"},
};

constexpr std::size_t kCapacityBufferSize = 32;

}  // namespace

std::string Controller::getUnitTypeText(uint32_t type) const {
    return TextOf(kUnitTypes, type);
}

std::string Controller::getUnitStatusText(uint8_t status) const {
    return TextOf(kUnitStatuses, status);
}

std::string Controller::getDriveStatusText(uint8_t status) const {
    return TextOf(kDriveStatuses, status);
}

// The same arithmetic as the old-style size text, which counts in blocks
// so that no size overflows.
std::string Controller::getCapacityText(uint64_t blocks) const {
    char text[kCapacityBufferSize] = {};
    if (ShellServices::capacityText(blocks, text) != 0)
        return std::string();
    return text;
}
