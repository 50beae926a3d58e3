// The commands at /cN/bbu on a family-4 controller object over the fake
// controller: the table, the attribute lines and the refusals.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "api/api.h"
#include "controllers/bbu.h"
#include "controllers/controller_rhosk.h"
#include "rhosk_query_fake.h"
#include "test_support.h"

namespace bbu_commands_test {
namespace {

constexpr uint16_t kBbuTable = 0x8006;
constexpr uint32_t kBbuPresent = 1u << 31;
constexpr uint32_t kBatteryPresent = 1u << 30;
constexpr uint32_t kReady = 1u << 3;

std::vector<uint8_t> Text(const char* text, std::size_t size) {
    std::vector<uint8_t> bytes(size, 0);
    std::memcpy(bytes.data(), text, std::min(size, std::strlen(text)));
    return bytes;
}

// A controller c0 whose BBU is enabled (or not) and reports `word`.
struct BbuController : FakeRhoskController {
    BbuController(uint32_t enabled, uint32_t word, uint32_t status)
        : FakeRhoskController([&](RhoskQueryFirmware& fw) {
              fw.putValue(kBbuTable, 64, enabled, 1);
              fw.putValue(kBbuTable, 2, word, 4);
              fw.putValue(kBbuTable, 65, status, 1);
              fw.put(kBbuTable, 3, Text("SN123", 20));
              fw.put(kBbuTable, 4, Text("FW1.0", 16));
              fw.put(kBbuTable, 5, Text("BL2.0", 16));
              fw.putValue(kBbuTable, 6, 3, 1);
              fw.put(kBbuTable, 8, Text("01-Feb-2026", 12));
              fw.put(kBbuTable, 9, Text("03-Mar-2026", 12));
              fw.putValue(kBbuTable, 10, 255, 1);
          }) {}

    // Runs the words at /c0/bbu: its standard output, or the error's message.
    std::string run(const std::string& words) {
        std::istringstream in(words);
        const test_support::Outcome outcome =
            test_support::Run([&] { controller->getBbu()->execute(in); });
        const std::string error = outcome.error.value_or("");
        return error.empty() ? outcome.out : outcome.out + "!" + error;
    }
};

const uint32_t kHealthy = kBbuPresent | kBatteryPresent | kReady | (1u << 4) | (4u << 8);

TEST(BbuCommandsTest, TableAndAttributeLines) {
    BbuController c(1, kHealthy, 7);
    EXPECT_EQ(
        c.run("show"),
        "\nName  OnlineState  BBUReady  Status    Volt     Temp     Hours  LastCapTest\n" +
            std::string(75, '-') +
            "\nbbu   On           Yes       WeakBat   Low      TooHigh  255    03-Mar-2026  \n");
    // The attribute line spells the weak state out; "cap" adds the unit.
    EXPECT_EQ(c.run("show status cap"),
              "/c0/bbu BBU Status                = Weak Battery\n"
              "/c0/bbu Estimated Backup Capacity = 255 Hours\n");
    EXPECT_EQ(c.run("show battery"), "/c0/bbu Battery Pack              = Present\n");
}

TEST(BbuCommandsTest, ShowAllPrintsTwelveLinesInOrder) {
    BbuController c(1, kHealthy, 0);
    EXPECT_EQ(c.run("show all"),
              "/c0/bbu Firmware Version          = FW1.0\n"
              "/c0/bbu Serial Number             = SN123\n"
              "/c0/bbu Online State              = On\n"
              "/c0/bbu BBU Ready                 = Yes\n"
              "/c0/bbu BBU Status                = OK\n"
              "/c0/bbu Battery Voltage           = Low\n"
              "/c0/bbu Battery Temperature       = TooHigh\n"
              "/c0/bbu Estimated Backup Capacity = 255 Hours\n"
              "/c0/bbu Last Capacity Test        = 03-Mar-2026\n"
              "/c0/bbu Battery Installation Date = 01-Feb-2026\n"
              "/c0/bbu Bootloader Version        = BL2.0\n"
              "/c0/bbu PCB Revision              = 3\n");
}

TEST(BbuCommandsTest, BatteryLessBbuShowsDashes) {
    BbuController c(1, kBbuPresent | kReady, 2);
    EXPECT_EQ(c.run("show cap volt"),
              "/c0/bbu Estimated Backup Capacity = - Hours\n"
              "/c0/bbu Battery Voltage           = -\n");
    EXPECT_NE(
        c.run("show").find("bbu   On           Yes       NoBattery -        -        -      -"),
        std::string::npos);
}

TEST(BbuCommandsTest, Refusals) {
    struct Case {
        uint32_t enabled;
        const char* words;
        const char* code;
    };
    const Case cases[] = {
        {1, "", "(CLI:052)"},
        {1, "installbat", "(CLI:051)"},
        {1, "show foo", "(CLI:053)"},
        {1, "enable now", "(CLI:052)"},
        {1, "disable q", "(CLI:052)"},
        {1, "test loud", "(CLI:052)"},
        // A disabled BBU counts as not present for show and test.
        {0, "show", "(CLI:059)"},
        {0, "test quiet", "(CLI:059)"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.words);
        BbuController c(k.enabled, kHealthy, 0);
        const std::string result = c.run(k.words);
        EXPECT_NE(result.find(std::string("!Error: ") + k.code), std::string::npos) << result;
    }
}

TEST(BbuCommandsTest, QuietDisableAndEnableWriteTheFlag) {
    BbuController c(1, kHealthy, 0);
    EXPECT_EQ(c.run("disable quiet"),
              "Sending disable BBU message to /c0/bbu ... Done.\n"
              "Disabling of all unit write caching on controller /c0 is recommended.\n");
    EXPECT_EQ(c.fw.value(kBbuTable, 64), 0u);
    EXPECT_EQ(c.run("enable"), "Sending enable BBU message to /c0/bbu ... Done.\n");
    EXPECT_EQ(c.fw.value(kBbuTable, 64), 1u);
}

TEST(BbuCommandsTest, SummaryText) {
    struct Case {
        uint32_t enabled;
        uint32_t word;
        const char* text;
    };
    const Case cases[] = {
        {0, kHealthy, "Off"},
        {1, kBbuPresent, "-"},
        {1, 0, "-"},
        {1, kHealthy, "Charging"},
    };
    for (const Case& k : cases) {
        BbuController c(k.enabled, k.word, 4);
        EXPECT_EQ(c.controller->getBbu()->getSummaryText(), k.text);
    }
}

}  // namespace
}  // namespace bbu_commands_test
