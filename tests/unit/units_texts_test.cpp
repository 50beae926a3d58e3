// The unit status words, the compound status and averaged percentages of a
// RAID-6 unit, and the stripe, size, cache and cell texts of the unit
// tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "units/unit_texts.h"

namespace units_texts_test {
namespace {

using UnitTexts::TaskProgress;

TEST(UnitTexts, StatusWordByFamilyAndTask) {
    struct Case {
        uint8_t status;
        bool newer;
        bool running;
        const char* word;
    };
    const Case cases[] = {
        {255, true, false, "OK"},
        {251, true, true, "VERIFYING"},
        {251, true, false, "VERIFY-PAUSED"},
        {251, false, false, "VERIFYING"},  // the older family has no paused forms
        {247, true, false, "INIT-PAUSED"},
        {223, true, false, "REBUILD-PAUSED"},
        {223, false, false, "REBUILDING"},
        {175, true, false, "MIGRATE-PAUSED"},
        {175, true, true, "MIGRATING"},
        {239, true, false, "DEGRADED"},
        {191, true, false, "RECOVERY"},
        {0, true, false, "INOPERABLE"},
        {17, true, true, "UNKNOWN"},
        {1, false, true, "UNKNOWN"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UnitTexts::statusWord(c.status, c.newer, c.running), c.word)
            << int(c.status) << " newer " << c.newer << " running " << c.running;
}

TEST(UnitTexts, Raid6CompoundStatusTakesTheFirstMatchingRow) {
    struct Case {
        std::vector<uint8_t> statuses;
        const char* word;
    };
    const Case cases[] = {
        {{239, 223}, "DEGRADED-RBLD"},
        {{223, 251}, "REBUILD-VERIFY"},
        {{239, 223, 251}, "DGRD-RBLD-VRFY"},
        {{239, 223, 247}, "DGRD-RBLD-INIT"},
        {{239, 175, 223}, "DGRD-RBLD-MGRT"},
        {{239, 251}, "DEGRADED-VRFY"},
        {{223, 247}, "REBUILD-INIT"},
        {{239, 247}, "DEGRADED-INIT"},
        {{239, 175}, "DEGRADED-MGRT"},
        {{223, 175}, "REBUILD-MGRT"},
        {{0, 239}, "INOPERABLE"},
        {{255, 251}, "VERIFYING"},
        {{247}, "INITIALIZING"},
        {{223, 223}, "REBUILDING"},
        {{175}, "MIGRATING"},
        {{239}, "DEGRADED"},
        {{255, 255}, "OK"},
        {{191, 17}, "OK"},  // codes without a flag
        {{}, "-"},
    };
    for (const Case& c : cases) {
        std::string in;
        for (uint8_t s : c.statuses)
            in += std::to_string(s) + " ";
        EXPECT_EQ(UnitTexts::raid6Status(c.statuses), c.word) << in;
    }
}

TEST(UnitTexts, Raid6PercentagesAverageEachGroup) {
    struct Case {
        std::vector<TaskProgress> subunits;
        const char* rebuild;
        const char* other;
    };
    const Case cases[] = {
        // Two rebuilding subunits, one running: the mean rounded down.
        {{{223, 20, false}, {223, 41, true}}, "30%(A)", "-"},
        {{{223, 20, false}, {223, 40, false}}, "30%(P)", "-"},
        // Verify, init and migrate share the other group.
        {{{251, 10, true}, {247, 30, false}, {175, 50, false}}, "-", "30%(A)"},
        {{{223, 99, true}, {251, 1, false}}, "99%(A)", "1%(P)"},
        // Statuses without a task leave both texts as they were.
        {{{255, 70, true}, {239, 70, true}}, "-", "-"},
        {{}, "-", "-"},
    };
    for (const Case& c : cases) {
        std::string rebuild = "-";
        std::string other = "-";
        UnitTexts::raid6PercentTexts(c.subunits, rebuild, other);
        EXPECT_EQ(rebuild, c.rebuild);
        EXPECT_EQ(other, c.other);
    }
}

TEST(UnitTexts, StripeAndSize) {
    EXPECT_EQ(UnitTexts::stripeText(64), "64K");
    EXPECT_EQ(UnitTexts::stripeText(0), "-");
    EXPECT_EQ(UnitTexts::stripeText(0xFFFFFFFFu), "-");

    struct Case {
        uint64_t blocks;
        const char* text;
    };
    const Case cases[] = {
        {1953525168ull, "931.513"},
        {0, "0"},
        {2097152ull, "1"},
        {2097152ull * 1500000, "1.5e+06"},  // the stream's default format
        // The count is read as a signed number.
        {0xFFFFFFFFFFFFFFFFull, "-4.76837e-07"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UnitTexts::sizeText(c.blocks), c.text) << c.blocks;
}

TEST(UnitTexts, CacheColumn) {
    struct Case {
        bool level37;
        bool write;
        uint8_t read;
        const char* text;
    };
    const Case cases[] = {
        {true, true, 2, "RiW"},   {true, false, 0, "OFF"}, {true, true, 0, "W"},
        {true, false, 1, "Rb"},   {true, true, 1, "RbW"},  {true, false, 2, "Ri"},
        {true, false, 7, "OFF"},  // an unknown read mode adds nothing
        {false, true, 2, "ON"},   // before level 37 only the write cache counts
        {false, false, 1, "OFF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UnitTexts::cacheText(c.level37, c.write, c.read), c.text)
            << c.level37 << c.write << int(c.read);
}

TEST(UnitTexts, PolicyWords) {
    EXPECT_EQ(UnitTexts::onOffText(1), "ON");
    EXPECT_EQ(UnitTexts::onOffText(2), "OFF");
    EXPECT_EQ(UnitTexts::keepwellText(0), "protection");
    EXPECT_EQ(UnitTexts::keepwellText(1), "balance");
    EXPECT_EQ(UnitTexts::keepwellText(2), "performance");
    EXPECT_EQ(UnitTexts::keepwellText(255), "unknown");
}

TEST(UnitTexts, CellsArePaddedAndNeverCut) {
    EXPECT_EQ(UnitTexts::pad("u0", 6), "u0    ");
    // A marked compound status fills its column and meets the next one.
    EXPECT_EQ(UnitTexts::pad("DGRD-RBLD-VRFY*", 15), "DGRD-RBLD-VRFY*");
    EXPECT_EQ(UnitTexts::pad("REBUILD-PAUSED**", 15), "REBUILD-PAUSED**");
    EXPECT_EQ(UnitTexts::pad("", 3), "   ");
}

}  // namespace
}  // namespace units_texts_test
