// The texts behind the controller's policy attributes that the emulated
// hosts of the transcripts do not reach: every host bus bit pattern, the
// spin-up and stagger combinations.
#include <gtest/gtest.h>

#include <string>

#include "controllers/controller_rhosk.h"
#include "rhosk_query_fake.h"
#include "test_support.h"

namespace controller_attr_policies_test {
namespace {

constexpr uint16_t kSettingsTable = 0x403;
constexpr uint16_t kSpinups = 7;
constexpr uint16_t kStagger = 8;

// Reaches the bus decoder, which serves only the controller's own views.
struct BusDecoder : ControllerRhosk {
    using ControllerWescal::decodeBusInfo;
};

TEST(ControllerAttrPoliciesTest, BusBitsGiveTypeWidthAndSpeed) {
    struct Case {
        uint32_t bits;
        const char* type;
        const char* width;
        const char* speed;
    };
    const Case cases[] = {
        {0, "Unknown", "Unknown", "Unknown"},
        {0x0004, "Unknown", "Unknown", "Unknown"},
        {0x0008, "PCI", "32 bits", "33 Mhz"},
        {0x0014, "PCI", "64 bits", "66 Mhz"},
        {0x0018, "PCI", "32 bits", "33 Mhz"},
        {0x0020, "PCIX", "32 bits", "66 Mhz"},
        {0x0044, "PCIX", "64 bits", "100 Mhz"},
        {0x0080, "PCIX", "32 bits", "133 Mhz"},
        {0x00C0, "PCIX", "32 bits", "100 Mhz"},
        {0x0100, "PCIe", "Unknown", "2.5 Gbps/lane"},
        {0x0900, "PCIe", "1 lane", "2.5 Gbps/lane"},
        {0x1200, "PCIe", "4 lanes", "5.0 Gbps/lane"},
        {0x2300, "PCIe", "8 lanes", "2.5 Gbps/lane"},
        {0x4200, "PCIe", "16 lanes", "5.0 Gbps/lane"},
        {0x6A00, "PCIe", "1 lane", "5.0 Gbps/lane"},
        // A PCIe bit decides over PCI and PCI-X bits.
        {0x021C, "PCIe", "Unknown", "5.0 Gbps/lane"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        const auto bus = BusDecoder::decodeBusInfo(c.bits);
        EXPECT_STREQ(bus.type, c.type);
        EXPECT_STREQ(bus.width, c.width);
        EXPECT_STREQ(bus.speed, c.speed);
    }
}

struct PolicyController : FakeRhoskController {
    std::string show(const char* word) {
        return test_support::Output([&] { controller->showAttribute(word, 0); });
    }
};

TEST(ControllerAttrPoliciesTest, StaggerTimeIsNotApplicableOnlyWithoutSpinupStaggering) {
    struct Case {
        int spinups;  // -1: the spin-up count cannot be read
        int stagger;
        const char* spinupLine;
        const char* staggerLine;
    };
    const Case cases[] = {
        {255, 0, "/c0 Disk Spinup Policy = Disabled\n",
         "/c0 Spinup Stagger Time Policy (sec) = N/A\n"},
        {255, 5, "/c0 Disk Spinup Policy = Disabled\n",
         "/c0 Spinup Stagger Time Policy (sec) = 5\n"},
        {4, 0, "/c0 Disk Spinup Policy = 4\n", "/c0 Spinup Stagger Time Policy (sec) = 0\n"},
        {-1, 0, nullptr, "/c0 Spinup Stagger Time Policy (sec) = 0\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spinups);
        PolicyController p;
        if (c.spinups >= 0) {
            p.fw.putValue(kSettingsTable, kSpinups, static_cast<uint64_t>(c.spinups), 1);
        } else {
            p.fw.remove(kSettingsTable, kSpinups);
        }
        p.fw.putValue(kSettingsTable, kStagger, static_cast<uint64_t>(c.stagger), 1);
        if (c.spinupLine != nullptr) {
            EXPECT_EQ(p.show("spinup"), c.spinupLine);
        }
        EXPECT_EQ(p.show("stagger"), c.staggerLine);
    }
}

}  // namespace
}  // namespace controller_attr_policies_test
