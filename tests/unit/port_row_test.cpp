// The drive table row of a port against an emulated controller: empty
// ports, drives in a unit (whose status the row shows) and the newest
// family's layout.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "controllers/controller.h"
#include "controllers/controller_mgr.h"
#include "devices/port.h"
#include "test_support.h"

namespace port_row_test {
namespace {

using nlohmann::json;

// Drives on ports 0-2 (port 2 SATA behind no enclosure), a degraded RAID-1
// over ports 0 and 1; port 3 is empty.
json Machine(int modelCode) {
    json drives = json::array();
    for (int p = 0; p < 3; ++p)
        drives.push_back({{"port", p},
                          {"capacity", 1953525168ull},
                          {"model", "KV-DISK-1TB"},
                          {"serial", "SER" + std::to_string(p)},
                          {"interface", 1}});
    json units = json::array(
        {{{"number", 0}, {"type", "raid1"}, {"members", {0, 1}}, {"state", "degraded"}}});
    json controller = {{"device_type", 5},
                       {"identity", {{"model_code", modelCode}, {"compat_level", 37}}},
                       {"settings", {{"ports", 4}}},
                       {"drives", drives},
                       {"units", units}};
    return {{"format", 1},
            {"machine", {{"host_name", "kvhost"}, {"controllers", json::array({controller})}}}};
}

class PortRowTest : public test_support::ControllerMgrTest {
  protected:
    Controller* Install(int modelCode) { return Discover(Machine(modelCode)).getController("c0"); }
    static std::string Row(Port* port, bool withHeader) {
        return test_support::Output([&] { port->showRow(withHeader); });
    }
};

TEST_F(PortRowTest, RowsBelowTheNewestFamily) {
    Controller* c = Install(6);
    EXPECT_EQ(
        Row(c->getPort("p0"), true),
        "\nPort   Status           Unit   Size        Blocks        Serial\n" +
            std::string(63, '-') + "\n" +
            // The drive is OK; its unit's state is shown.
            "p0     DEGRADED         u0     931.51 GB   1953525168    SER0                \n");
    EXPECT_EQ(Row(c->getPort("p2"), false),
              "p2     OK               -      931.51 GB   1953525168    SER2                \n");
    EXPECT_EQ(Row(c->getPort("p3"), false),
              "p3     NOT-PRESENT      -      -           -             -\n");
}

TEST_F(PortRowTest, NewestFamilyListsOnlyPortsWithADrive) {
    Controller* c = Install(8);
    EXPECT_EQ(Row(c->getPort("p3"), false), "");
    EXPECT_EQ(Row(c->getPort("p3"), true),
              "\nVPort Status         Unit Size      Type  Phy Encl-Slot    Model\n" +
                  std::string(78, '-') + "\n" +
                  "p3    NOT-PRESENT    -    -         -     -   -            -\n");
    // Up to the drive type; the phy and slot cells come from the port's
    // phy and enclosure-slot lookups.
    const std::string row = Row(c->getPort("p2"), false);
    EXPECT_EQ(row.substr(0, 42), "p2    OK             -    931.51 GB SATA  ") << row;
    EXPECT_EQ(row.substr(row.size() - 21), "KV-DISK-1TB         \n") << row;
}

}  // namespace
}  // namespace port_row_test
