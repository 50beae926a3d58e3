// The newer family's event list over a scripted controller: a controller
// that answers every walk request with the same event must not hold the
// command for ever.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "api/bytes.h"
#include "fake_host.h"
#include "platform/host_system.h"
#include "rhosk_query_fake.h"
#include "test_support.h"

namespace events_list_test {
namespace {

constexpr const char* kDevice = "\\\\?\\pci#rhosk_query#0";
constexpr size_t kControlCode = 16;
constexpr size_t kReply = 28;  // the event reply follows the request header

TEST(EventsList, StopsWhenTheControllerRepeatsAnEvent) {
    FakeRhoskController fake;
    ASSERT_TRUE(fake.controller);
    auto& host = dynamic_cast<FakeHost&>(platform::Host());
    auto& device = host.files[kDevice];
    auto inner = device.ioctl;
    int eventRequests = 0;
    device.ioctl = [&eventRequests, inner](uint32_t code, const std::vector<uint8_t>& in,
                                           uint8_t* out, uint32_t outSize, uint32_t* returned) {
        const uint32_t control = bytes::GetU32(in.data(), in.size(), kControlCode);
        if (control != 0xE0000001u && control != 0xE0000003u)
            return inner(code, in, out, outSize, returned);
        ++eventRequests;
        std::memcpy(out, in.data(), std::min<size_t>(in.size(), outSize));
        bytes::PutU32(out, outSize, kReply, 7);      // event id
        bytes::PutU16(out, outSize, kReply + 8, 2);  // code
        out[kReply + 10] = 1;                        // error
        std::memcpy(out + kReply + 14, "unit=0\0Degraded unit", 21);
        *returned = outSize;
        return true;
    };
    const test_support::Outcome outcome = test_support::Run([&] { fake.controller->showAlarms(); });
    EXPECT_FALSE(outcome.error.has_value());
    EXPECT_EQ(eventRequests, 2);
    EXPECT_NE(outcome.out.find("ERROR     Degraded unit: unit=0\n"), std::string::npos);
    EXPECT_EQ(outcome.out.find("Degraded"), outcome.out.rfind("Degraded"));
}

}  // namespace
}  // namespace events_list_test
