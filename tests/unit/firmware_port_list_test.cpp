// The port list of the auto-detect setting on a controller with the most
// ports there are (128): what the list grammar admits, how many pieces it
// reads, and that no list can put more than 128 ids into the library's
// list or let a large number stand for a small port.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "api/api.h"
#include "controllers/controller.h"
#include "controllers/controller_mgr.h"
#include "test_support.h"

namespace firmware_port_list_test {
namespace {

using nlohmann::json;
using test_support::Cli;

json Machine() {
    const json controller = {{"device_type", 5},
                             {"identity", {{"model_code", 8}, {"compat_level", 37}}},
                             {"settings", {{"ports", 128}}},
                             {"drives", json::array({{{"port", 2}, {"capacity", 1000}}})}};
    return {{"format", 1},
            {"machine", {{"host_name", "kvhost"}, {"controllers", json::array({controller})}}}};
}

// "0:1:...:last" as a list text.
std::string Ports(int last, const std::string& tail = "") {
    std::string text;
    for (int p = 0; p <= last; ++p)
        text += (p == 0 ? "" : ":") + std::to_string(p);
    return text + tail;
}

class FirmwarePortListTest : public test_support::ControllerMgrTest {
  protected:
    // Parses one "disk=" list and builds the id list; the ids, or the
    // error that ended it.
    test_support::Outcome Build(const std::string& list, ObjectIdList128* ids) {
        Controller* controller = Discover(Machine()).getController("c0");
        ids->clear();
        return test_support::Run([&] {
            controller->parsePortList("p" + list);
            controller->buildAutoDetectList(ids);
        });
    }
};

TEST_F(FirmwarePortListTest, AllPortsOfTheController) {
    ObjectIdList128 ids;
    const auto outcome = Build("0-127", &ids);
    ASSERT_FALSE(outcome.error) << *outcome.error;
    ASSERT_EQ(ids.count, 128u);
    EXPECT_EQ(ids.ids[127][ObjectId::kNumber], 127);
    EXPECT_NE(outcome.out.find("and for disk [2]... "), std::string::npos);
}

// The 129th piece and everything after it are not read: the repeated
// port 5 there is never seen.
TEST_F(FirmwarePortListTest, TextBeyondThe128thPieceIsIgnored) {
    ObjectIdList128 ids;
    const auto outcome = Build(Ports(127, ":5:9999"), &ids);
    ASSERT_FALSE(outcome.error) << *outcome.error;
    EXPECT_EQ(ids.count, 128u);
}

// Ranges are bounded like single numbers: a port above 128 anywhere ends
// the list before a single id is built, and port 128 is refused by the
// library, so the list never holds more than 128 ids.
TEST_F(FirmwarePortListTest, NumbersAbove128AreRefusedEverywhere) {
    struct Case {
        const char* list;
        std::string error;
    };
    const Case cases[] = {
        {"0-129", Cli(143)},   {"129-130", Cli(143)},
        {"300:1", Cli(143)},   {"4294967297", Cli(143)},  // 2^32 + 1 must not stand for port 1
        {"256-257", Cli(143)}, {"0-128", "(0x0B:0x000A): Invalid drive ID\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        ObjectIdList128 ids;
        const auto outcome = Build(c.list, &ids);
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(*outcome.error, c.error);
        EXPECT_EQ(ids.count, 0u);
    }
}

}  // namespace
}  // namespace firmware_port_list_test
