// The SAS operations through the public library over the emulated host:
// each reads or writes its own table, parameter and size (from the host's
// request log), the routes over every family and firmware level, the link
// speed limit values, and the conversions between phys and ports.
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "api/api.h"
#include "rhosk_emulated_host.h"

namespace rhosk_emulated::sas_family_test {
namespace {

using integration::ControllerId;
using integration::Fault;

// --- Calls with their output shown as text ---

std::string Hex(const uint8_t* bytes, std::size_t n, const char* separator) {
    std::string text;
    char byte[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(byte, sizeof byte, "%02x", bytes[i]);
        text += (i == 0 ? "" : separator) + std::string(byte);
    }
    return text;
}
std::string Show(uint32_t v) {
    return std::to_string(v);
}
std::string Show(uint8_t v) {
    return std::to_string(v);
}
std::string Show(const ObjectId& id) {
    return Hex(id.bytes, sizeof id.bytes, " ");
}

// One call; the output as text (written or not).
using Call = std::function<int(std::string*)>;

template <typename T>
Call Get(int (*fn)(ObjectId, T*), ObjectId id, T initial = T{}) {
    return [=](std::string* out) {
        T value = initial;
        const int result = fn(id, &value);
        *out = Show(value);
        return result;
    };
}
// An 8-byte name (SAS address, world wide name) in a buffer preset to 0xEE.
Call Name(int (*fn)(ObjectId, uint8_t*), ObjectId id) {
    return [=](std::string* out) {
        uint8_t name[kWorldWideNameSize];
        std::memset(name, 0xEE, sizeof name);
        const int result = fn(id, name);
        *out = Hex(name, sizeof name, "");
        return result;
    };
}
Call Set(int (*fn)(ObjectId, uint8_t), ObjectId id, uint8_t value) {
    return [=](std::string*) { return fn(id, value); };
}

ObjectId PhyId(uint8_t phy, uint8_t controller = 0) {
    ObjectId id = ObjectId::Blank();
    id[ObjectId::kKind] = kKindPhy;
    id[ObjectId::kController] = controller;
    id[ObjectId::kNumber] = phy;
    return id;
}

// An identifier before any operation wrote it.
const std::string kUnwritten = "ee ee ee ee ee ee ee ee";
ObjectId Unwritten() {
    ObjectId id;
    std::memset(id.bytes, 0xEE, sizeof id.bytes);
    return id;
}

constexpr int kPhySummary = 0x001;
constexpr int kPortSummary = 0x002;
constexpr int kSettings = 0x403;
constexpr int kInfo = 0x402;
constexpr int kPhy2 = 0x082;

int DriveTableOf(int port) {
    return 0x200 + port;
}

// Parameter requests as text, so that a mismatch reads plainly.
std::vector<std::string> Described(const std::vector<Access>& traffic) {
    std::vector<std::string> text;
    for (const Access& a : traffic)
        text.push_back(Describe(a));
    return text;
}

class SasFamilyTest : public RhoskEmulatedTest {
  protected:
    // The outcome of a call after a previous failure (API error 8) was
    // recorded: "ok <output>", "api <code>", "untouched" (-1 with the
    // previous record) or "fw 0x<code>" (a controller error).
    std::string Outcome(const Call& call, std::string* output = nullptr) {
        ApiError::Clear();
        ApiError::Set(kApiErrorApi, kApiInvalidControllerId, 0, 0, 0, nullptr, nullptr);
        std::string out;
        const int result = call(&out);
        if (output != nullptr)
            *output = out;
        if (result == 0)
            return "ok " + out;
        ApiErrorRecord record;
        ApiError::Get(&record, nullptr, 0);
        if ((record.flags & kApiErrorController) != 0) {
            char text[16];
            std::snprintf(text, sizeof text, "fw 0x%04X", record.controllerCode);
            return text;
        }
        if (record.flags == kApiErrorApi && record.apiCode == kApiInvalidControllerId)
            return "untouched";
        return "api " + std::to_string(record.apiCode);
    }
};

// --- Each operation's parameter traffic on a family-8 controller ---

// A family-8 controller with 8 ports, its phys listed with distinct values,
// drives on ports 0-2 attached through phys 0-2.
json Vantor() {
    return FamilyController(8, 37,
                            {{"settings",
                              {{"ports", 8},
                               {"sata_link_limit", 1},
                               {"sas_link_limit", 2},
                               {"max_units", 0xFFFF},
                               {"max_drives_per_unit", 24},
                               {"max_active_units", 16}}},
                             {"phys",
                              {{{"phy", 0}},
                               {{"phy", 1}},
                               {{"phy", 2},
                                {"sas_address", "0x5001D9F000002F02"},
                                {"link_speed_supported", 3},
                                {"link_speed", 1},
                                {"link_speed_limit", 2},
                                {"device_type", 2}}}},
                             {"drives",
                              {{{"port", 0}, {"phy", 0}},
                               {{"port", 1}, {"phy", 1}},
                               {{"port", 2}, {"phy", 2}, {"wwn", "0x5001D9F0A1B2C3D4"}}}}});
}

TEST_F(SasFamilyTest, EachOperationSendsItsParameterAndGivesItsValue) {
    struct Row {
        const char* name;
        Call call;
        std::vector<Access> sends;  // the whole traffic, in order
        std::string output;
    };
    const ObjectId ctl = ControllerId(0);
    const std::vector<Row> rows = {
        {"GetNumPhys", Get(Api::GetNumPhys, ctl), {{kGet, kPhySummary, 2, 1}}, "3"},
        {"GetSataEnclosureLinkSpeedLimit",
         Get(Api::GetSataEnclosureLinkSpeedLimit, ctl),
         {{kGet, kSettings, 37, 1}},
         "1"},
        {"GetSasEnclosureLinkSpeedLimit",
         Get(Api::GetSasEnclosureLinkSpeedLimit, ctl),
         {{kGet, kSettings, 38, 1}},
         "2"},
        {"GetMaxUnitCount", Get(Api::GetMaxUnitCount, ctl), {{kGet, kSettings, 39, 2}}, "65535"},
        {"GetMaxDrivesPerUnit",
         Get(Api::GetMaxDrivesPerUnit, ctl),
         {{kGet, kSettings, 40, 2}},
         "24"},
        {"GetMaxActiveUnitCount",
         Get(Api::GetMaxActiveUnitCount, ctl),
         {{kGet, kSettings, 41, 2}},
         "16"},
        {"GetMaxUnits (public only)",
         Get(Api::GetMaxUnits, ctl),
         {{kGet, kSettings, 39, 2}},
         "65535"},
        {"GetPhySasAddress",
         Name(Api::GetPhySasAddress, PhyId(2)),
         {{kGet, kPhy2, 6, 8}},
         "5001d9f000002f02"},
        {"GetPhyDeviceType", Get(Api::GetPhyDeviceType, PhyId(2)), {{kGet, kPhy2, 5, 1}}, "2"},
        {"GetPhyLinkSpeedSupported",
         Get(Api::GetPhyLinkSpeedSupported, PhyId(2)),
         {{kGet, kPhy2, 2, 1}},
         "3"},
        {"GetPhyLinkSpeed", Get(Api::GetPhyLinkSpeed, PhyId(2)), {{kGet, kPhy2, 3, 1}}, "1"},
        {"GetPhyLinkSpeedControl",
         Get(Api::GetPhyLinkSpeedControl, PhyId(2)),
         {{kGet, kPhy2, 4, 1}},
         "2"},
        {"SetPhyLinkSpeedControl",
         Set(Api::SetPhyLinkSpeedControl, PhyId(2), 1),
         {{kSet, kPhy2, 4, 1}},
         ""},
        {"GetDriveWwn",
         Name(Api::GetDriveWwn, DriveId(2)),
         {{kGet, DriveTableOf(2), 27, 8}},
         "5001d9f0a1b2c3d4"},
        {"GetPortPhyId",
         Get(Api::GetPortPhyId, DriveId(2), Unwritten()),
         {{kGet, kSettings, 3, 1}, {kGet, kPortSummary, 3, 128}, {kGet, DriveTableOf(2), 32, 1}},
         "0e 00 02 ff ff ff ff ff"},
        {"GetPhyPortId",
         Get(Api::GetPhyPortId, PhyId(2), Unwritten()),
         {{kGet, kPhySummary, 2, 1},
          {kGet, kPortSummary, 3, 128},
          {kGet, DriveTableOf(0), 30, 1},
          {kGet, DriveTableOf(0), 32, 1},
          {kGet, DriveTableOf(1), 30, 1},
          {kGet, DriveTableOf(1), 32, 1},
          {kGet, DriveTableOf(2), 30, 1},
          {kGet, DriveTableOf(2), 32, 1}},
         "03 00 02 ff ff ff ff ff"},
    };
    emulator::EmulatedHost& host = Start(json::array({Vantor()}));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ClearTraffic();
        std::string output;
        const std::string outcome = Outcome(row.call, &output);
        EXPECT_EQ(outcome, "ok " + output);
        if (!row.output.empty()) {
            EXPECT_EQ(output, row.output);
        }
        EXPECT_EQ(Described(ParamTraffic()), Described(row.sends));
        EXPECT_TRUE(integration::OpensAreClosed(Log()));
    }
    EXPECT_EQ(HostController(host)["phys"][2]["link_speed_limit"], 1);
}

// --- Routes over the families ---

TEST_F(SasFamilyTest, RoutesOverFamiliesAndFirmwareLevels) {
    // Controllers 0-6: families 3, 4, 6, 7 at level 35, 7 at level 36, 8,
    // and one no family knows. The controllers below family 7 at level 36
    // list one phy of their own, so that an operation their route lets
    // through finds it.
    const json drives = {{{"port", 1}, {"phy", 1}}};
    const json listed = {{"phys", {{{"phy", 1}}}}, {"drives", drives}};
    const json implicit = {{"drives", drives}};
    const json settings = {
        {"ports", 4}, {"max_units", 9}, {"max_active_units", 9}, {"max_drives_per_unit", 9}};
    json controllers = json::array({
        FamilyController(3, 0),
        FamilyController(4, 37, listed),
        FamilyController(6, 37, listed),
        FamilyController(7, 35, listed),
        FamilyController(7, 36, implicit),
        FamilyController(8, 37, implicit),
        FamilyController(-1, 37),
    });
    for (json& c : controllers)
        c["settings"].merge_patch(settings);
    Start(controllers);

    // Outcome letters per controller: 'N' the operation's answer, '2' API
    // error 2, '-' -1 with the record untouched, 'M' the family-7 mapping
    // (the id with byte 0 changed, no request but the level read), 'P' the
    // answer of Api::GetNumPorts, whatever it is.
    using Op = std::function<Call(uint8_t controller)>;
    struct Row {
        const char* name;
        Op op;
        const char* outcomes;
    };
    auto phy = [](uint8_t c) { return PhyId(1, c); };
    auto port = [](uint8_t c) { return DriveId(1, c); };
    const std::vector<Row> rows = {
        {"GetNumPhys", [](uint8_t c) { return Get(Api::GetNumPhys, ControllerId(c)); }, "2222NN-"},
        {"GetSataEnclosureLinkSpeedLimit",
         [](uint8_t c) { return Get(Api::GetSataEnclosureLinkSpeedLimit, ControllerId(c)); },
         "22222N-"},
        {"GetSasEnclosureLinkSpeedLimit",
         [](uint8_t c) { return Get(Api::GetSasEnclosureLinkSpeedLimit, ControllerId(c)); },
         "22222N-"},
        {"GetPhySasAddress", [&](uint8_t c) { return Name(Api::GetPhySasAddress, phy(c)); },
         "22222N-"},
        {"GetPhyDeviceType", [&](uint8_t c) { return Get(Api::GetPhyDeviceType, phy(c)); },
         "22NNNN-"},
        {"GetPhyLinkSpeedSupported",
         [&](uint8_t c) { return Get(Api::GetPhyLinkSpeedSupported, phy(c)); }, "2222NN-"},
        {"GetPhyLinkSpeed", [&](uint8_t c) { return Get(Api::GetPhyLinkSpeed, phy(c)); },
         "2222NN-"},
        {"GetPhyLinkSpeedControl",
         [&](uint8_t c) { return Get(Api::GetPhyLinkSpeedControl, phy(c)); }, "2222NN-"},
        {"SetPhyLinkSpeedControl",
         [&](uint8_t c) { return Set(Api::SetPhyLinkSpeedControl, phy(c), 2); }, "2222NN-"},
        {"GetDriveWwn", [&](uint8_t c) { return Name(Api::GetDriveWwn, port(c)); }, "22222N-"},
        {"GetPortPhyId", [&](uint8_t c) { return Get(Api::GetPortPhyId, port(c), Unwritten()); },
         "2222MN-"},
        {"GetPhyPortId", [&](uint8_t c) { return Get(Api::GetPhyPortId, phy(c), Unwritten()); },
         "2222MN-"},
        {"GetMaxUnitCount", [](uint8_t c) { return Get(Api::GetMaxUnitCount, ControllerId(c)); },
         "PPPPPNP"},
        {"GetMaxActiveUnitCount",
         [](uint8_t c) { return Get(Api::GetMaxActiveUnitCount, ControllerId(c)); }, "PPPPPNP"},
        {"GetMaxDrivesPerUnit",
         [](uint8_t c) { return Get(Api::GetMaxDrivesPerUnit, ControllerId(c)); }, "PPPPPNP"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string got;
        for (uint8_t c = 0; c < controllers.size(); ++c) {
            const std::string ports = Outcome(Get(Api::GetNumPorts, ControllerId(c)));
            ClearTraffic();
            const std::string outcome = Outcome(row.op(c));
            const std::vector<Access> traffic = ParamTraffic();
            if (row.outcomes[c] == 'P' && outcome == ports) {
                got += 'P';
            } else if (outcome == "api 2") {
                got += '2';
            } else if (outcome == "untouched") {
                got += '-';
            } else if (outcome.rfind("ok ", 0) != 0) {
                got += '?';
                ADD_FAILURE() << "controller " << int{c} << ": " << outcome;
            } else if (traffic.size() == 1 && traffic[0] == Access{kGet, kInfo, 11, 4} &&
                       row.outcomes[c] == 'M') {
                // The id with its kind turned: phy 1 <-> port 1.
                const bool toPhy = std::string(row.name) == "GetPortPhyId";
                ObjectId expected = toPhy ? phy(c) : port(c);
                got += outcome == "ok " + Show(expected) ? 'M' : '?';
            } else {
                got += 'N';
            }
        }
        EXPECT_EQ(got, row.outcomes);
    }

    // The phy entries take only phy ids; a drive id is refused before the
    // family is looked up. The port-to-phy conversion checks no kind.
    const std::vector<Call> phyOnly = {
        Name(Api::GetPhySasAddress, port(5)),         Get(Api::GetPhyDeviceType, port(5)),
        Get(Api::GetPhyLinkSpeedSupported, port(5)),  Get(Api::GetPhyLinkSpeed, port(5)),
        Get(Api::GetPhyLinkSpeedControl, port(5)),    Set(Api::SetPhyLinkSpeedControl, port(5), 1),
        Get(Api::GetPhyPortId, port(5), Unwritten()),
    };
    for (const Call& call : phyOnly) {
        ClearTraffic();
        std::string output;
        EXPECT_EQ(Outcome(call, &output), "api 120");
        EXPECT_TRUE(Log().empty());
    }
    EXPECT_EQ(Outcome(Get(Api::GetPortPhyId, phy(5), Unwritten())), "ok 0e 05 01 ff ff ff ff ff");
}

// --- Link speeds ---

TEST_F(SasFamilyTest, LinkSpeedLimitsTakeOnlyAutoAnd15And30) {
    // Phys of their own (one per port) on a family-8 controller; a SATA
    // drive on port 0 at 1.5 Gbps, nothing on port 1.
    emulator::EmulatedHost& host = Start(json::array({FamilyController(
        8, 37, {{"settings", {{"ports", 4}}}, {"drives", {{{"port", 0}, {"link_speed", 1}}}}})}));

    EXPECT_EQ(Outcome(Get(Api::GetPhyLinkSpeedSupported, PhyId(0))), "ok 3");
    EXPECT_EQ(Outcome(Get(Api::GetPhyLinkSpeed, PhyId(0))), "ok 1");
    EXPECT_EQ(Outcome(Get(Api::GetPhyLinkSpeed, PhyId(1))), "ok 0");         // no drive: none
    EXPECT_EQ(Outcome(Get(Api::GetPhyLinkSpeedControl, PhyId(1))), "ok 0");  // auto

    struct Case {
        uint8_t value;
        const char* outcome;
        const char* readBack;
    } cases[] = {
        {kLinkSpeed3_0, "ok ", "ok 2"},
        {kLinkSpeed1_5, "ok ", "ok 1"},
        {kLinkSpeedAuto, "ok ", "ok 0"},
        {kLinkSpeedBoth, "fw 0x010D", "ok 0"},  // not a limit: the controller refuses it
        {255, "fw 0x010D", "ok 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int{c.value});
        EXPECT_EQ(Outcome(Set(Api::SetPhyLinkSpeedControl, PhyId(1), c.value)), c.outcome);
        EXPECT_EQ(Outcome(Get(Api::GetPhyLinkSpeedControl, PhyId(1))), c.readBack);
        EXPECT_EQ(Outcome(Get(Api::GetPhyLinkSpeedControl, PhyId(2))), "ok 0");
    }
    EXPECT_EQ(HostController(host)["phys"][1]["link_speed_limit"], 0);

    // A phy number of 128 or more names no phy table (phy 128 would be the
    // drive statistics of port 0): refused before anything is sent.
    for (uint8_t number : {128, 200, 255}) {
        SCOPED_TRACE(int{number});
        ClearTraffic();
        EXPECT_EQ(Outcome(Set(Api::SetPhyLinkSpeedControl, PhyId(number), 1)), "api 120");
        EXPECT_EQ(Outcome(Get(Api::GetPhyLinkSpeed, PhyId(number))), "api 120");
        EXPECT_EQ(Outcome(Name(Api::GetPhySasAddress, PhyId(number))), "api 120");
        EXPECT_TRUE(ParamTraffic().empty());
    }
}

TEST_F(SasFamilyTest, FailedReadsLeaveTheOutputUnwritten) {
    Start(json::array({FamilyController(8, 37, {{"settings", {{"ports", 4}}}})}),
          json::array({Fault({{"layer", "firmware"}, {"table", "0x0403"}},
                             {{"status", 1}, {"code", "0x0204"}}, "always"),
                       Fault({{"layer", "firmware"}, {"table", "0x0082"}},
                             {{"status", 1}, {"code", "0x0204"}}, "always")}));
    std::string output;
    EXPECT_EQ(Outcome(Get(Api::GetMaxUnitCount, ControllerId(0), 77u), &output), "fw 0x0204");
    EXPECT_EQ(output, "77");
    EXPECT_EQ(
        Outcome(Get(Api::GetSasEnclosureLinkSpeedLimit, ControllerId(0), uint8_t{77}), &output),
        "fw 0x0204");
    EXPECT_EQ(output, "77");
    EXPECT_EQ(Outcome(Get(Api::GetPhyLinkSpeedControl, PhyId(2), uint8_t{77}), &output),
              "fw 0x0204");
    EXPECT_EQ(output, "77");
    EXPECT_EQ(Outcome(Name(Api::GetPhySasAddress, PhyId(2)), &output), "fw 0x0204");
    EXPECT_EQ(output, "eeeeeeeeeeeeeeee");
}

// --- Phys and ports ---

// Controller 0: 8 ports with a phy each. Drives: port 0 direct (phy 0);
// port 1 behind enclosure 0 but naming phy 3; port 2 on phy 3; ports 4
// and 5 both on phy 6; port 6 on no phy; port 7 holds a drive object that
// is not present. Controller 1: 128 ports, port 127 naming phy 128.
json WiredControllers() {
    return json::array({
        FamilyController(8, 37,
                         {{"settings", {{"ports", 8}}},
                          {"drives",
                           {{{"port", 0}},
                            {{"port", 1}, {"enclosure", 0}, {"slot", 1}, {"phy", 3}},
                            {{"port", 2}, {"phy", 3}},
                            {{"port", 4}, {"phy", 6}},
                            {{"port", 5}, {"phy", 6}},
                            {{"port", 6}, {"phy", 255}},
                            {{"port", 7}, {"phy", 7}, {"status", 0}}}}}),
        FamilyController(8, 37,
                         {{"identity", {{"serial", "VANTOR0002"}}},
                          {"settings", {{"ports", 128}}},
                          {"drives", {{{"port", 127}, {"phy", 128}}}}}),
    });
}

TEST_F(SasFamilyTest, PortsAndPhysConvert) {
    Start(WiredControllers());
    struct Case {
        const char* what;
        Call call;
        const char* outcome;
    } cases[] = {
        {"port 0 -> its phy", Get(Api::GetPortPhyId, DriveId(0), Unwritten()),
         "ok 0e 00 00 ff ff ff ff ff"},
        {"port behind an enclosure -> the phy it names",
         Get(Api::GetPortPhyId, DriveId(1), Unwritten()), "ok 0e 00 03 ff ff ff ff ff"},
        {"empty port", Get(Api::GetPortPhyId, DriveId(3), Unwritten()), "api 101"},
        {"drive on no phy", Get(Api::GetPortPhyId, DriveId(6), Unwritten()), "api 101"},
        {"drive not present", Get(Api::GetPortPhyId, DriveId(7), Unwritten()), "api 101"},
        {"port beyond the count", Get(Api::GetPortPhyId, DriveId(8), Unwritten()), "api 11"},
        {"port 255", Get(Api::GetPortPhyId, DriveId(255), Unwritten()), "api 11"},
        {"port 127 naming phy 128", Get(Api::GetPortPhyId, DriveId(127, 1), Unwritten()),
         "api 101"},
        {"phy 0 -> port 0", Get(Api::GetPhyPortId, PhyId(0), Unwritten()),
         "ok 03 00 00 ff ff ff ff ff"},
        {"enclosure drive skipped", Get(Api::GetPhyPortId, PhyId(3), Unwritten()),
         "ok 03 00 02 ff ff ff ff ff"},
        {"lower port wins", Get(Api::GetPhyPortId, PhyId(6), Unwritten()),
         "ok 03 00 04 ff ff ff ff ff"},
        {"phy without a drive", Get(Api::GetPhyPortId, PhyId(5), Unwritten()), "api 101"},
        {"drive not present", Get(Api::GetPhyPortId, PhyId(7), Unwritten()), "api 101"},
        {"phy beyond the count", Get(Api::GetPhyPortId, PhyId(8), Unwritten()), "api 120"},
        {"phy 255", Get(Api::GetPhyPortId, PhyId(255), Unwritten()), "api 120"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Outcome(c.call), c.outcome);
    }

    // What a failure leaves in the output: the phy-to-port conversion sets
    // it to 0xFF once the phy number passed, the other way round leaves it.
    std::string output;
    ClearTraffic();
    EXPECT_EQ(Outcome(Get(Api::GetPhyPortId, PhyId(5), Unwritten()), &output), "api 101");
    EXPECT_EQ(output, "ff ff ff ff ff ff ff ff");
    // The count and the port list, then two reads for each present drive
    // but the one behind the enclosure (port 1), which needs one.
    EXPECT_EQ(ParamTraffic().size(), 2u + 2u * 5u + 1u);
    ClearTraffic();
    EXPECT_EQ(Outcome(Get(Api::GetPhyPortId, PhyId(8), Unwritten()), &output), "api 120");
    EXPECT_EQ(output, kUnwritten);
    EXPECT_EQ(ParamTraffic().size(), 1u);  // only the phy count
    EXPECT_EQ(Outcome(Get(Api::GetPortPhyId, DriveId(3), Unwritten()), &output), "api 101");
    EXPECT_EQ(output, kUnwritten);
}

TEST_F(SasFamilyTest, PhyToPortStopsAtTheFirstFailedRead) {
    struct Case {
        const char* what;
        json match;
        std::vector<Access> traffic;
    } cases[] = {
        {"port list",
         {{"layer", "firmware"}, {"table", "0x0002"}, {"parameter", 3}},
         {{kGet, kPhySummary, 2, 1}, {kGet, kPortSummary, 3, 128}}},
        {"enclosure of port 0",
         {{"layer", "firmware"}, {"table", "0x0200"}, {"parameter", 30}},
         {{kGet, kPhySummary, 2, 1}, {kGet, kPortSummary, 3, 128}, {kGet, DriveTableOf(0), 30, 1}}},
        {"phy of port 0",
         {{"layer", "firmware"}, {"table", "0x0200"}, {"parameter", 32}},
         {{kGet, kPhySummary, 2, 1},
          {kGet, kPortSummary, 3, 128},
          {kGet, DriveTableOf(0), 30, 1},
          {kGet, DriveTableOf(0), 32, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Start(WiredControllers(),
              json::array({Fault(c.match, {{"status", 1}, {"code", "0x0204"}}, "always")}));
        std::string output;
        EXPECT_EQ(Outcome(Get(Api::GetPhyPortId, PhyId(6), Unwritten()), &output), "fw 0x0204");
        EXPECT_EQ(output, "ff ff ff ff ff ff ff ff");
        EXPECT_EQ(Described(ParamTraffic()), Described(c.traffic));
        platform::SetHost(nullptr);
        ResetLibrary();
    }
}

}  // namespace
}  // namespace rhosk_emulated::sas_family_test
