// The short texts of the controller's new-style tables (unit type, unit
// status, drive status, size), the memory text and the battery's value
// texts.
#include <gtest/gtest.h>

#include <string>

#include "api/api.h"
#include "controllers/bbu.h"
#include "controllers/controller_rhosk.h"
#include "rhosk_query_fake.h"

namespace controller_views_texts_test {
namespace {

TEST(ControllerViewsTextsTest, CodeTexts) {
    FakeRhoskController fake;
    const Controller& c = *fake.controller;
    struct Case {
        uint32_t code;
        const char* type;
        const char* unitStatus;
        const char* driveStatus;
    };
    const Case cases[] = {
        {0, "RAID-0", "INOPERABLE", "NOT-PRESENT"},
        {1, "RAID-1", "UNKNOWN", "OFFLINE-JBOD"},
        {2, "RAID-1", "UNKNOWN", "DRIVE-REMOVED"},
        {3, "UNKNOWN", "UNKNOWN", "UNKNOWN"},
        {12, "DISK", "UNKNOWN", "UNKNOWN"},
        {17, "UNKNOWN", "UNKNOWN", "UNKNOWN"},
        {64, "DEAD", "UNKNOWN", "UNKNOWN"},
        {175, "UNKNOWN", "MIGRATING", "UNKNOWN"},
        {223, "UNKNOWN", "REBUILDING", "ORPHAN"},
        {247, "UNKNOWN", "INITIALIZING", "UNKNOWN"},
        {251, "UNKNOWN", "VERIFYING", "UNKNOWN"},
        {254, "UNKNOWN", "UNKNOWN", "NOT-SUPPORTED"},
        {255, "UNKNOWN", "OK", "OK"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.code);
        EXPECT_EQ(c.getUnitTypeText(k.code), k.type);
        EXPECT_EQ(c.getUnitStatusText(static_cast<uint8_t>(k.code)), k.unitStatus);
        EXPECT_EQ(c.getDriveStatusText(static_cast<uint8_t>(k.code)), k.driveStatus);
    }
    // A type code above a byte is not mistaken for its low byte.
    EXPECT_EQ(c.getUnitTypeText(256 + 5), "UNKNOWN");
}

TEST(ControllerViewsTextsTest, SizeTextsRoundAndCarry) {
    FakeRhoskController fake;
    const Controller& c = *fake.controller;
    const std::pair<uint64_t, const char*> cases[] = {
        {156301488, "74.53 GB"}, {976773168, "465.76 GB"}, {2930277168, "1.36 TB"},
        {2097152, "1.00 GB"},    {2097151, "1024.00 MB"},  {0, "0.00 MB"},
        {1000000, "488.28 MB"},
    };
    for (const auto& [blocks, text] : cases) {
        SCOPED_TRACE(blocks);
        EXPECT_EQ(c.getCapacityText(blocks), text);
    }
}

TEST(ControllerViewsTextsTest, MemoryTextAndItsCache) {
    const std::pair<uint64_t, const char*> cases[] = {
        {1048576ull << 10, "1GB"},
        {1047552ull << 10, "1023MB"},
        {512ull << 10, "512KB"},
        {0, "0KB"},
    };
    for (const auto& [bytes, text] : cases) {
        SCOPED_TRACE(text);
        FakeRhoskController fake;
        fake.fw.putValue(0x402, 10, bytes, 4);
        EXPECT_EQ(fake.controller->getMemoryText(), text);
        // A true 0 counts as "not read": the library is asked again.
        fake.fw.accesses.clear();
        (void)fake.controller->getMemoryText();
        EXPECT_EQ(fake.fw.accesses.empty(), bytes != 0);
    }
}

TEST(ControllerViewsTextsTest, BatteryValueTexts) {
    const std::pair<int32_t, const char*> statuses[] = {
        {-1, "Unknown"}, {0, "OK"},     {1, "-"},       {2, "NoBattery"},
        {7, "WeakBat"},  {8, "Failed"}, {9, "Unknown"}, {42, "Unknown"},
    };
    for (const auto& [value, text] : statuses)
        EXPECT_EQ(BBU::statusText(value), text) << value;
    const std::pair<int32_t, const char*> levels[] = {
        {-1, "Unknown"}, {0, "OK"},      {1, "Low"}, {2, "High"},
        {3, "TooLow"},   {4, "TooHigh"}, {5, "-"},
    };
    for (const auto& [value, text] : levels)
        EXPECT_EQ(BBU::levelText(value), text) << value;
    EXPECT_EQ(BBU::readyText(8), "Yes");
    EXPECT_EQ(BBU::readyText(0), "No");
    EXPECT_EQ(BBU::readyText(1), "Unknown");
    EXPECT_EQ(BBU::statusLineText("WeakBat"), "Weak Battery");
    EXPECT_EQ(BBU::statusLineText("Failed"), "Failed Battery");
    EXPECT_EQ(BBU::statusLineText("Charging"), "Charging");
}

}  // namespace
}  // namespace controller_views_texts_test
