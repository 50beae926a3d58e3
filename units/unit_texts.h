// The small texts of the unit tables and attribute lines, made from values
// the library has already answered: status words (with the compound words
// of a RAID-6 unit), completion percentages, stripe, size and cache texts.
// Keeping the decisions here, apart from the queries, lets every table and
// line print the same words.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace UnitTexts {

// A table cell: the text followed by blanks up to `width`; a longer text is
// returned whole (unit tables never cut a cell).
std::string pad(const std::string& text, int width);

// The status word of a unit or subunit. `newerFamily` is a family code of 4
// or above; `running` tells whether the unit's task runs and decides the
// paused forms there.
std::string statusWord(uint8_t status, bool newerFamily, bool running);

// True for the statuses that carry a completion percentage: verifying,
// initializing, rebuilding and migrating.
bool hasPercent(uint8_t status);

// The compound status of a RAID-6 unit from the statuses of its subunits;
// "-" for no subunit.
std::string raid6Status(const std::vector<uint8_t>& subunitStatuses);

// One subunit's part in the averaged percentages of a RAID-6 unit.
struct TaskProgress {
    uint8_t status;
    uint32_t percent;
    bool running;
};
// The averaged %RCmpl and %V/I/M texts of a RAID-6 unit, such as 40%(A);
// a group without a member leaves its text as it is.
void raid6PercentTexts(const std::vector<TaskProgress>& subunits, std::string& rebuildText,
                       std::string& otherText);

// n followed by "%".
std::string percentText(uint32_t percent);
// The stripe in KB followed by "K"; "-" for 0 and 0xFFFFFFFF.
std::string stripeText(uint32_t kb);
// A count of 512-byte blocks as GB in the stream's default number format.
std::string sizeText(uint64_t blocks);
// The Cache column: with level-37 firmware the read part ("Rb", "Ri") and
// the write part ("W"), "OFF" when both are off; before it "ON" or "OFF".
std::string cacheText(bool level37, bool writeCacheOn, uint8_t readCacheMode);
// "ON" for 1, "OFF" for any other value.
std::string onOffText(uint8_t value);
// The Keepwell policy word of a mode.
std::string keepwellText(uint8_t mode);

}  // namespace UnitTexts
