// The create options whose acceptance depends on the controller: volume
// sizes on the newer families, rapid RAID recovery from family 6 at
// firmware level 36, and the words each type makes no test for.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "controllers/controller.h"
#include "controllers/controller_mgr.h"
#include "test_support.h"
#include "units/logical_disk.h"

namespace unitcreate_options_test {
namespace {

using nlohmann::json;

json Machine(int deviceType, int modelCode, int level) {
    json controller = {{"device_type", deviceType},
                       {"identity", {{"model_code", modelCode}, {"compat_level", level}}},
                       {"settings", {{"ports", 8}}}};
    return {{"format", 1},
            {"machine", {{"host_name", "kvhost"}, {"controllers", json::array({controller})}}}};
}

class UnitCreateOptionsTest : public test_support::ControllerMgrTest {
  protected:
    // The error of parsing `words` for a new unit of `type`, or "none".
    std::string Parse(const json& machine, const std::string& type, const std::string& words,
                      bool oldStyle = false) {
        Controller* c0 = Discover(machine).getController("c0");
        std::unique_ptr<LogicalDisk> unit = LogicalDisk::makeNew(type, c0);
        std::istringstream in(words);
        return test_support::ErrorOf([&] {
            (void)test_support::Output([&] {
                if (oldStyle)
                    unit->parseOldCreateOptions(in);
                else
                    unit->parseCreateOptions(in);
            });
        });
    }
};

TEST_F(UnitCreateOptionsTest, WordsThatDependOnTheController) {
    struct Case {
        const char* what;
        json machine;
        const char* type;
        const char* words;
        std::string error;
    };
    const json rhosk = Machine(2, 4, 30);
    const json solvane35 = Machine(3, 6, 35);
    const json solvane36 = Machine(3, 6, 36);
    const Case cases[] = {
        {"volumes on family 4", rhosk, "raid5", "v0=100", "none"},
        {"rapid recovery on family 4", rhosk, "raid5", "rrr=all", test_support::Cli(57)},
        {"rapid recovery below level 36", solvane35, "raid5", "rrr=all", test_support::Cli(149)},
        {"rapid recovery from level 36", solvane36, "raid5", "rapidrecovery=disable", "none"},
        {"rapid recovery on a RAID-0 is only a notice", rhosk, "raid0", "rrr=bogus", "none"},
        {"ignoreecc for RAID-0, old style", rhosk, "raid0", "ignoreecc", test_support::Cli(16)},
        {"ignoreecc for RAID-5, old style", rhosk, "raid5", "ignoreecc", "none"},
        {"a stripe word for RAID-1, old style", rhosk, "raid1", "k64", test_support::Cli(16)},
        {"a group word for RAID-5, old style", rhosk, "raid5", "g4", test_support::Cli(16)},
        {"noqpolicy for a RAID-50", rhosk, "raid50", "ignoreecc noqpolicy group=4", "none"},
        {"keepwell for a spare", rhosk, "spare", "keepwell=balance", test_support::Cli(57)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool oldStyle = std::string(c.what).find("old style") != std::string::npos;
        EXPECT_EQ(Parse(c.machine, c.type, c.words, oldStyle), c.error);
    }
}

}  // namespace
}  // namespace unitcreate_options_test
