// What the emulated newer-family firmware answers for SAS phys: which
// controllers have phys and how many, what each phy reports of the drive
// attached through it, the SAS addresses and world wide names, and the link
// speed limits it accepts.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "emulator/firmware.h"

namespace sas_emulated_phys_test {
namespace {

using emulator::Bytes;
using emulator::Family;
using emulator::ParamError;
using nlohmann::json;

constexpr uint16_t kPhySummary = 0x0001;
constexpr uint16_t kSettings = 0x0403;

uint16_t PhyTable(unsigned phy) {
    return static_cast<uint16_t>(0x0080 + phy);
}
uint16_t DriveTable(unsigned port) {
    return static_cast<uint16_t>(0x0200 + port);
}

// A newer-family controller of model `model` at level `level`.
json Controller(int model, int level, const json& extra = json::object()) {
    json ctl = {{"device_type", 5},
                {"identity", {{"model_code", model}, {"compat_level", level}, {"serial", "C0"}}},
                {"settings", {{"ports", 4}}}};
    ctl.merge_patch(extra);
    return ctl;
}

// A parameter as a little-endian number; -1 when the read fails.
int64_t Read(const json& ctl, uint16_t table, uint16_t parameter, uint32_t size) {
    Bytes value;
    if (emulator::readParam(ctl, Family::Rhosk, table, parameter, size, &value) !=
        ParamError::None) {
        return -1;
    }
    uint64_t number = 0;
    for (size_t i = value.size(); i-- > 0;)
        number = number << 8 | value[i];
    return static_cast<int64_t>(number);
}

// An 8-byte name as hex digits in the order the controller sends them.
std::string ReadName(const json& ctl, uint16_t table, uint16_t parameter) {
    Bytes value;
    if (emulator::readParam(ctl, Family::Rhosk, table, parameter, 8, &value) != ParamError::None)
        return "failed";
    std::string text;
    char byte[3];
    for (uint8_t b : value) {
        std::snprintf(byte, sizeof byte, "%02x", b);
        text += byte;
    }
    return text;
}

TEST(SasEmulatedPhys, ControllersWithPhysHaveOnePerPortUnlessListed) {
    struct Case {
        const char* what;
        json ctl;
        int64_t phys;
    } cases[] = {
        {"model 8", Controller(8, 37), 4},
        {"model 10", Controller(10, 37, {{"settings", {{"ports", 16}}}}), 16},
        {"model 6 of the Tevrin class at 36",
         Controller(6, 36, {{"settings", {{"host_bus", 0x100}}}}), 4},
        {"model 7 of the Tevrin class at 35",
         Controller(7, 35, {{"settings", {{"host_bus", 0x200}}}}), 0},
        {"model 6 without the Tevrin bits", Controller(6, 37), 0},
        {"model 4", Controller(4, 37), 0},
        {"a listed phy on any model", Controller(4, 37, {{"phys", {{{"phy", 5}}}}}), 1},
        {"a list replaces the one per port",
         Controller(8, 37, {{"phys", {{{"phy", 0}}, {{"phy", 1}}}}}), 2},
        {"at most 128", Controller(8, 37, {{"settings", {{"ports", 200}}}}), 128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Read(c.ctl, kPhySummary, 2, 1), c.phys);
        // A phy beyond them has no table (the listed phy 5 is the only one).
        const unsigned beyond = c.phys == 1 ? 0 : static_cast<unsigned>(c.phys);
        Bytes value;
        if (beyond < 128) {
            EXPECT_EQ(emulator::readParam(c.ctl, Family::Rhosk, PhyTable(beyond), 2, 1, &value),
                      ParamError::NoTable);
        }
    }
}

TEST(SasEmulatedPhys, EachPhyReportsTheDriveAttachedThroughIt) {
    // Port 0 a SATA drive at 1.5 Gbps, port 1 a SAS drive, port 2 a drive
    // that is not present naming phy 3, port 3 behind enclosure 0 (so on no
    // phy of its own) naming phy 2.
    const json ctl =
        Controller(8, 37,
                   {{"drives",
                     {{{"port", 0}, {"interface", 1}, {"link_speed", 1}},
                      {{"port", 1}, {"interface", 3}},
                      {{"port", 2}, {"status", 0}, {"phy", 3}},
                      {{"port", 3}, {"interface", 5}, {"enclosure", 0}, {"phy", 2}}}}});
    struct Case {
        unsigned phy;
        int64_t deviceType, linkSpeed, supported, limit;
    } cases[] = {
        {0, 1, 1, 3, 0},  // SATA
        {1, 2, 2, 3, 0},  // SAS
        {2, 3, 2, 3, 0},  // the enclosure drive
        {3, 0, 0, 3, 0},  // nothing present attached
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.phy);
        EXPECT_EQ(Read(ctl, PhyTable(c.phy), 5, 1), c.deviceType);
        EXPECT_EQ(Read(ctl, PhyTable(c.phy), 3, 1), c.linkSpeed);
        EXPECT_EQ(Read(ctl, PhyTable(c.phy), 2, 1), c.supported);
        EXPECT_EQ(Read(ctl, PhyTable(c.phy), 4, 1), c.limit);
    }
    // The drives' phy numbers: their port when direct, else what they name.
    EXPECT_EQ(Read(ctl, DriveTable(0), 32, 1), 0);
    EXPECT_EQ(Read(ctl, DriveTable(1), 32, 1), 1);
    EXPECT_EQ(Read(ctl, DriveTable(3), 32, 1), 2);
    EXPECT_EQ(Read(ctl, DriveTable(3), 30, 1), 0);
    // A controller without phys wires no drive to a phy.
    const json older = Controller(4, 37, {{"drives", {{{"port", 0}}}}});
    EXPECT_EQ(Read(older, DriveTable(0), 32, 1), 255);
}

TEST(SasEmulatedPhys, NamesTravelMostSignificantByteFirst) {
    const json ctl = Controller(
        8, 37,
        {{"phys",
          {{{"phy", 0}, {"sas_address", "0x5001D9F000002F00"}}, {{"phy", 1}}, {{"phy", 2}}}},
         {"drives",
          {{{"port", 0}, {"serial", "S-0"}, {"wwn", "0x5001D9F0A1B2C3D4"}},
           {{"port", 1}, {"serial", "S-1"}, {"wwn", 0x5001D9F0AABBCCDDull}},
           {{"port", 2}, {"serial", "S-2"}},
           {{"port", 3}, {"serial", "S-3"}}}}});
    EXPECT_EQ(ReadName(ctl, PhyTable(0), 6), "5001d9f000002f00");
    EXPECT_EQ(ReadName(ctl, DriveTable(0), 27), "5001d9f0a1b2c3d4");
    EXPECT_EQ(ReadName(ctl, DriveTable(1), 27), "5001d9f0aabbccdd");

    // Unlisted names are made up per phy and per drive: NAA 5, distinct,
    // and the same on every read.
    std::set<std::string> names;
    for (const auto& [table, parameter] : {std::pair<uint16_t, uint16_t>{PhyTable(1), 6},
                                           {PhyTable(2), 6},
                                           {DriveTable(2), 27},
                                           {DriveTable(3), 27}}) {
        const std::string name = ReadName(ctl, table, parameter);
        EXPECT_EQ(name[0], '5') << name;
        EXPECT_EQ(name, ReadName(ctl, table, parameter));
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 4u);
}

TEST(SasEmulatedPhys, LinkSpeedLimitsAcceptAutoAnd15And30Only) {
    struct Case {
        const char* what;
        uint16_t table, parameter;
        const char* path;  // where the controller keeps the value
    } cases[] = {
        {"phy limit", PhyTable(2), 4, "/phys/2/link_speed_limit"},
        {"SATA behind enclosures", kSettings, 37, "/settings/sata_link_limit"},
        {"SAS behind enclosures", kSettings, 38, "/settings/sas_link_limit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        json ctl = Controller(8, 37);
        for (uint8_t value : {2, 1, 0}) {
            EXPECT_EQ(emulator::writeParam(ctl, Family::Rhosk, c.table, c.parameter, {value}),
                      ParamError::None);
            EXPECT_EQ(Read(ctl, c.table, c.parameter, 1), value);
            EXPECT_EQ(ctl.at(json::json_pointer(c.path)), value);
        }
        for (uint8_t value : {3, 255}) {
            EXPECT_EQ(emulator::writeParam(ctl, Family::Rhosk, c.table, c.parameter, {value}),
                      ParamError::BadValue);
            EXPECT_EQ(Read(ctl, c.table, c.parameter, 1), 0);
        }
    }

    // A refused write leaves the phys as they were; a write keeps every phy.
    json ctl = Controller(8, 37, {{"drives", {{{"port", 1}, {"interface", 3}}}}});
    EXPECT_EQ(emulator::writeParam(ctl, Family::Rhosk, PhyTable(0), 4, {7}), ParamError::BadValue);
    EXPECT_FALSE(ctl.contains("phys"));
    EXPECT_EQ(emulator::writeParam(ctl, Family::Rhosk, PhyTable(0), 4, {1}), ParamError::None);
    EXPECT_EQ(Read(ctl, kPhySummary, 2, 1), 4);
    EXPECT_EQ(Read(ctl, PhyTable(1), 5, 1), 2);
    EXPECT_EQ(Read(ctl, DriveTable(1), 32, 1), 1);
    // The limit is the only phy value a write may change.
    EXPECT_EQ(emulator::writeParam(ctl, Family::Rhosk, PhyTable(0), 3, {1}), ParamError::ReadOnly);
}

}  // namespace
}  // namespace sas_emulated_phys_test
