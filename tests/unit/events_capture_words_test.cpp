// The hex masks of the event capture's debug setting: which texts are
// taken, which are refused and with which CLI code, and the value.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controllers/controller.h"
#include "test_support.h"

namespace events_capture_words_test {
namespace {

struct MaskCase {
    const char* text;
    const char* error;  // null: accepted
    uint32_t value;
};

TEST(EventsCaptureWords, ParseHexMask) {
    const std::string syntax = test_support::Cli(2);
    const std::string tooLong = test_support::Cli(147);
    const std::vector<MaskCase> cases = {
        {"ffff", nullptr, 0x0000ffff},
        {"0x0000ffff", nullptr, 0x0000ffff},
        {"hostmask=0x12", nullptr, 0x12},  // the text after "=" is taken
        {"12345678", nullptr, 0x12345678},
        {"0xffffffff", nullptr, 0xffffffff},
        {"", nullptr, 0},
        {"x", nullptr, 0},
        {"FFFF", syntax.c_str(), 0},
        {"12g4", syntax.c_str(), 0},
        {"-1", syntax.c_str(), 0},
        {"123456789", tooLong.c_str(), 0},
        {"0x123456789", tooLong.c_str(), 0},
        // Ten characters with an "x" pass; digits beyond the eighth from
        // the right add nothing.
        {"1x12345678", nullptr, 0x12345678},
    };
    for (const MaskCase& c : cases) {
        SCOPED_TRACE(c.text);
        uint32_t value = 0;
        const std::string error =
            test_support::ErrorOf([&] { value = Controller::parseHexMask(c.text); });
        if (c.error == nullptr) {
            EXPECT_EQ(error, "none");
            EXPECT_EQ(value, c.value);
        } else {
            EXPECT_EQ(error, c.error);
        }
    }
}

TEST(EventsCaptureWords, HexToIntAndIntPow) {
    EXPECT_EQ(Controller::hexToInt(4, "AbCd"), 0xabcdu);
    EXPECT_EQ(Controller::hexToInt(2, "ffff"), 0xffu);  // only the first `length` characters
    EXPECT_EQ(Controller::intPow(16, 0), 1u);
    EXPECT_EQ(Controller::intPow(16, 7), 0x10000000u);
    EXPECT_EQ(Controller::intPow(16, 8), 0u);  // 32-bit arithmetic
}

}  // namespace
}  // namespace events_capture_words_test
