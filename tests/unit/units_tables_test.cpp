// The unit rows and tables against an emulated controller: the status,
// percentage, port, stripe, size and cache columns as the controller's
// units report them.
#include <gtest/gtest.h>

#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "base/kv_exception.h"
#include "controllers/controller.h"
#include "controllers/controller_mgr.h"
#include "test_support.h"
#include "units/logical_disk.h"

namespace units_tables_test {
namespace {

using nlohmann::json;

json Drive(int port) {
    return {{"port", port},
            {"capacity", 1953525168ull},
            {"model", "KV-DISK-1TB"},
            {"serial", "SER" + std::to_string(port)}};
}

// One controller of `modelCode` at level `level` with drives on ports 0-7
// and the given units.
json Machine(int modelCode, int level, const json& units) {
    json drives = json::array();
    for (int p = 0; p < 8; ++p)
        drives.push_back(Drive(p));
    json controller = {{"device_type", 5},
                       {"identity", {{"model_code", modelCode}, {"compat_level", level}}},
                       {"settings", {{"ports", 8}}},
                       {"drives", drives},
                       {"units", units}};
    json machine = {{"host_name", "kvhost"}, {"controllers", json::array({controller})}};
    return {{"format", 1}, {"machine", machine}};
}

class UnitTablesTest : public test_support::ControllerMgrTest {
  protected:
    LogicalDisk* Unit(const json& machine, const std::string& unit) {
        try {
            return Discover(machine).getController("c0")->getUnit(unit);
        } catch (KV_Exception& e) {
            std::cout << "EXC " << e.getMessage();
        }
        return nullptr;
    }
    // What `f` prints, then "EXC " and the message of an error that ends it.
    template <class F>
    static std::string Output(F f) {
        const test_support::Outcome outcome = test_support::Run(f);
        return outcome.out + (outcome.error ? "EXC " + *outcome.error : "");
    }
};

// Each case: the controller's model code, one unit u0, and lines its table
// must hold (whole lines, trailing blanks included) or must not hold.
TEST_F(UnitTablesTest, UnitTableRowsFollowTheUnitsState) {
    struct Case {
        const char* what;
        int model;
        json unit;
        std::vector<std::string> lines;
        std::vector<std::string> absent;
    };
    const Case cases[] = {
        {"paused rebuild on the newest family, a missing member",
         8,
         {{"number", 0},
          {"type", "raid5"},
          {"members", {0, 1, nullptr}},
          {"state", "rebuilding"},
          {"paused", true},
          {"progress", 50}},
         {"Unit     UnitType  Status         %RCmpl  %V/I/M  VPort Stripe  Size(GB)",
          // The marked status fills its column and meets the next one.
          "u0       RAID-5    REBUILD-PAUSED*50%     -       -     64K     1863.03   ",
          "u0-1     DISK      OK             -       -       p1    -       931.513   ",
          "u0-2     DISK      DEGRADED       -       -       -     -       0         ",
          "u0/v0    Volume    -              -       -       -     -       1863.03   "},
         {}},
        {"two-level RAID-10",
         6,
         {{"number", 0}, {"type", "raid10"}, {"members", {0, 1, 2, 3}}},
         {"Unit     UnitType  Status         %RCmpl  %V/I/M  Port  Stripe  Size(GB)",
          "u0       RAID-10   OK*            -       -       -     64K     1863.03   ",
          "u0-1     RAID-1    OK             -       -       -     -       -         ",
          "u0-1-1   DISK      OK             -       -       p3    -       931.513   "},
         {}},
        {"RAID-50: the stripe on each subunit, not on the unit",
         6,
         {{"number", 0}, {"type", "raid50"}, {"members", {0, 1, 2, 3, 4, 5}}},
         {"u0       RAID-50   OK*            -       -       -     -       3726.05   ",
          "u0-1     RAID-5    OK             -       -       -     64K     -         ",
          "u0-1-2   DISK      OK             -       -       p5    -       931.513   "},
         {}},
        {"RAID-6 compound status and averaged rebuild",
         6,
         {{"number", 0},
          {"type", "raid6"},
          {"members", {0, 1, 2, 3}},
          {"state", "degraded"},
          {"extension", {{"state", "rebuilding"}, {"progress", 20}}}},
         {"u0       RAID-6    DEGRADED-RBLD* 20%(A)  -       -     64K     1863.03   "},
         {}},
        {"JBOD: one row with its drive's port, no volumes below family 5",
         4,
         {{"number", 0}, {"type", "jbod"}, {"members", {3}}},
         {"u0       JBOD      OK*            -       -       p3    -       931.513   "},
         {"u0/v0    Volume    -              -       -       -     -       931.513   "}},
        {"a spare has no stripe",
         6,
         {{"number", 0}, {"type", "spare"}, {"members", {5}}},
         {"u0       SPARE     OK*            -       -       p5    -       931.513   "},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogicalDisk* u = Unit(Machine(c.model, 37, json::array({c.unit})), "u0");
        ASSERT_NE(u, nullptr);
        const std::string out = Output([&] { u->showTable(true); });
        EXPECT_EQ(out.rfind("\n", 0), 0u) << out;  // the table starts with an empty line
        for (const std::string& line : c.lines)
            EXPECT_NE(out.find("\n" + line + "\n"), std::string::npos) << line << "\n" << out;
        for (const std::string& line : c.absent)
            EXPECT_EQ(out.find(line), std::string::npos) << line << "\n" << out;
    }
}

}  // namespace
}  // namespace units_tables_test
