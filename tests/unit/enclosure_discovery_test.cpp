// Enclosure discovery over the emulated host: which ports are probed and
// how, the ids the enumeration hands out, what the cache keeps of each SES
// configuration page, how an element's running number resolves to its
// sub-enclosure, the identity texts, and the routes and kind checks of the
// public entries.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/rhosk/enclosure_services.h"
#include "enclosure_emulated_test.h"

namespace enclosure_test::enclosure_discovery_test {
namespace {

using enclosure::kSlotAlarm;
using enclosure::kSlotCooling;
using enclosure::kSlotDevice;
using enclosure::kSlotDoorLock;
using enclosure::kSlotEnclosure;
using enclosure::kSlotPowerSupply;
using enclosure::kSlotTempSensor;

class EnclosureDiscovery : public EnclosureTest {};

TEST_F(EnclosureDiscovery, ListsEachEnclosureWithItsModeProtocolAndLastSubEnclosure) {
    StartHost();
    struct Case {
        uint8_t controller;
        std::vector<std::string> ids;
    };
    const Case cases[] = {
        // e0: mode 1 with two LUNs (byte 5 = the last one read); e3: mode 2.
        {kSes, {"04 00 FF FF 40 01 01 01", "04 00 FF FF 43 00 02 01"}},
        // SAF-TE: byte 6 the port's mode byte (0), byte 5 untouched.
        {kSafte, {"04 01 FF FF 41 FF 00 00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.controller);
        const ObjectIdList16 list = Enclosures(c.controller);
        std::vector<std::string> ids;
        for (std::size_t i = 0; i < list.size(); ++i)
            ids.push_back(Hex(list.ids[i]));
        EXPECT_EQ(ids, c.ids);
        for (std::size_t i = list.size(); i < ObjectIdList16::kCapacity; ++i)
            EXPECT_EQ(list.ids[i], ObjectId::Blank());
    }
}

TEST_F(EnclosureDiscovery, ProbesByProtocolAndModeAndReadsEachSubEnclosuresConfiguration) {
    StartHost();
    (void)Enclosures(kSes);
    // Port 0 (mode 1): LUNs until one is no enclosure device, then page 1
    // of each LUN found; port 3 (mode 2): LUN 0 only. Ports of mode 0 are
    // not asked.
    EXPECT_EQ(ScsiTrace(),
              (std::vector<std::string>{"inq t64 l0", "inq t64 l1", "inq t64 l2", "rcv t64 l0 p1",
                                        "rcv t64 l1 p1", "inq t67 l0", "rcv t67 l0 p1"}));
    ClearTraffic();
    (void)Enclosures(kSafte);
    // SAF-TE: every port asked on target 64 with the port in the LUN field.
    const std::vector<std::string> trace = ScsiTrace();
    ASSERT_EQ(trace.size(), 16u);
    for (std::size_t port = 0; port < 16; ++port)
        EXPECT_EQ(trace[port], "inq t64 l" + std::to_string(port));
    EXPECT_TRUE(integration::OpensAreClosed(Log()));
}

TEST_F(EnclosureDiscovery, CacheHoldsEachSubEnclosuresIdentityAndElementCounts) {
    StartHost();
    (void)Enclosures(kSes);
    const EnclosureCacheEntry* e0 = TheEnclosureCache().entry(0, 0);
    ASSERT_NE(e0, nullptr);
    ASSERT_TRUE(e0->valid());
    EXPECT_EQ(e0->index, 0u);
    EXPECT_EQ(e0->subEnclosureCount, 2);
    EXPECT_EQ(e0->sesMode, 1);
    EXPECT_EQ(e0->protocol, 1);
    const SubEnclosureDescriptor& d0 = e0->descriptors[0];
    EXPECT_EQ(d0.address, 0x40);
    EXPECT_EQ(d0.lun, 0);
    EXPECT_EQ(std::string(d0.vendorId, 8), "KIVRA   ");
    EXPECT_EQ(std::string(d0.productId, 16), "KV-ENCL-24      ");
    EXPECT_EQ(std::string(d0.productRevision, 4), "0201");
    const uint8_t logical[8] = {0x50, 0x0D, 0x9F, 0x00, 0x00, 0x0A, 0x00, 0x01};
    EXPECT_EQ(std::memcmp(d0.logicalId, logical, 8), 0);
    // Page 1 lists enclosure, device, cooling, power supply, temperature
    // and alarm types; each first index counts the overall elements.
    EXPECT_EQ(d0.typeHeaderCount, 6u);
    struct Count {
        std::size_t slot;
        uint8_t count;
        uint32_t first;
    };
    for (const Count& c :
         {Count{kSlotEnclosure, 1, 0}, Count{kSlotDevice, 4, 2}, Count{kSlotCooling, 3, 7},
          Count{kSlotPowerSupply, 1, 11}, Count{kSlotTempSensor, 2, 13}, Count{kSlotAlarm, 1, 16},
          Count{kSlotDoorLock, 0, 0}}) {
        SCOPED_TRACE(c.slot);
        EXPECT_EQ(d0.counts[c.slot], c.count);
        EXPECT_EQ(d0.firstIndex[c.slot], c.first);
    }
    EXPECT_EQ(e0->descriptors[1].lun, 1);
    EXPECT_EQ(e0->descriptors[1].counts[kSlotDoorLock], 1);

    const EnclosureCacheEntry* e3 = TheEnclosureCache().entry(0, 3);
    ASSERT_NE(e3, nullptr);
    EXPECT_TRUE(e3->valid());
    EXPECT_EQ(e3->subEnclosureCount, 1);
    EXPECT_EQ(e3->sesMode, 2);
    // SAF-TE enclosures never have a valid entry.
    EXPECT_FALSE(TheEnclosureCache().entry(1, 1)->valid());
    // Entries exist for every controller number (16 x 16), none beyond.
    EXPECT_NE(TheEnclosureCache().entry(15, 15), nullptr);
    EXPECT_EQ(TheEnclosureCache().entry(16, 0), nullptr);
    EXPECT_EQ(TheEnclosureCache().entry(0, 16), nullptr);
}

TEST_F(EnclosureDiscovery, RepeatedTypeHeadersLastPowerSupplyCountStandsCoolingCountsAdd) {
    StartHost([](json& state) {
        json& e3 = EnclosureOf(state, kSes, 3);
        e3["fans"] = 5;
        e3["power_supplies"] = 5;
        e3["layout"] = json::array({{{"type", "fans"}, {"count", 2}},
                                    {{"type", "power_supplies"}, {"count", 2}},
                                    {{"type", 7}, {"count", 1}},  // a type the cache does not count
                                    {{"type", "fans"}, {"count", 3}},
                                    {{"type", "power_supplies"}, {"count", 3}}});
    });
    (void)Enclosures(kSes);
    const SubEnclosureDescriptor& d = TheEnclosureCache().entry(0, 3)->descriptors[0];
    EXPECT_EQ(d.typeHeaderCount, 5u);
    EXPECT_EQ(d.counts[kSlotCooling], 5);
    EXPECT_EQ(d.firstIndex[kSlotCooling], 3u + 3 + 2);
    EXPECT_EQ(d.counts[kSlotPowerSupply], 3);
    EXPECT_EQ(d.firstIndex[kSlotPowerSupply], 3u + 3 + 2 + 4);
}

TEST_F(EnclosureDiscovery, RunningElementNumbersResolveAcrossSubEnclosures) {
    StartHost();
    const ObjectId e0 = EnclosureId(kSes, 0);
    // Three fans in LUN 0, two in LUN 1.
    const struct {
        uint8_t number;
        uint8_t subEnclosure;
        uint8_t inside;
    } cases[] = {{0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {3, 1, 0}, {4, 1, 1}, {5, 2, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        const ObjectId fan = ElementId(e0, kKindFan, c.number);
        EXPECT_EQ(fan[ObjectId::kLevel2], c.subEnclosure);
        EXPECT_EQ(fan[ObjectId::kDepth], c.inside);
    }
    // Number 5 lies past the last sub-enclosure: it names no element.
    uint8_t status = 0;
    EXPECT_EQ(Api::GetFanStatus(ElementId(e0, kKindFan, 5), &status), -1);
    EXPECT_EQ(LastApiCode(), enclosure::kApiElementMissing);

    // An enclosure of one sub-enclosure leaves its element ids as built.
    const ObjectId fan = ElementId(EnclosureId(kSes, 3), kKindFan, 1);
    EXPECT_EQ(Hex(fan), "05 00 01 FF 43 00 02 01");
}

TEST_F(EnclosureDiscovery, ResolutionWithoutEnumerationOrForAnotherKindFails) {
    StartHost();
    ObjectId e0 = ObjectId::Blank();
    ASSERT_EQ(Api::MakeEnclosureId(0, 0, &e0), 0);
    EXPECT_EQ(e0[ObjectId::kProtocol], 1);  // read from the controller
    ObjectId fan = ObjectId::Blank();
    EXPECT_EQ(Api::MakeFanId(e0, 0, &fan), -1);
    EXPECT_EQ(LastApiCode(), enclosure::kApiEnclosureMissing);
    EXPECT_EQ(fan, ObjectId::Blank());

    (void)Enclosures(kSes);
    ObjectId element = EnclosureId(kSes, 0);
    element[ObjectId::kKind] = kKindEnclosure;
    element[ObjectId::kNumber] = 0;
    EXPECT_EQ(EnclosureServices::ResolveElementId(&element), -1);
    EXPECT_EQ(LastApiCode(), enclosure::kApiElementMissing);
}

TEST_F(EnclosureDiscovery, IdentityTextsComeFromTheFirstSubEnclosure) {
    StartHost([](json& state) {
        json& e0 = EnclosureOf(state, kSes, 0);
        e0["sub_enclosures"][0]["product"] = "KV-ENCL-24-LONG-NAME";  // cut to 16
    });
    const ObjectId e0 = EnclosureId(kSes, 0);
    char vendor[9];
    char product[17];
    char revision[5];
    std::memset(vendor, 'x', sizeof vendor);
    std::memset(product, 'x', sizeof product);
    std::memset(revision, 'x', sizeof revision);
    ASSERT_EQ(Api::GetEnclosureVendor(e0, vendor), 0);
    ASSERT_EQ(Api::GetEnclosureProductId(e0, product), 0);
    ASSERT_EQ(Api::GetEnclosureProductRevision(e0, revision), 0);
    EXPECT_EQ(std::string(vendor, sizeof vendor), std::string("KIVRA   \0", 9));
    EXPECT_EQ(std::string(product, sizeof product), std::string("KV-ENCL-24-LONG-\0", 17));
    EXPECT_EQ(std::string(revision, sizeof revision), std::string("0201\0", 5));

    // SAF-TE: success, buffers as they were.
    const ObjectId e1 = EnclosureId(kSafte, 1);
    std::memset(vendor, 'x', sizeof vendor);
    ASSERT_EQ(Api::GetEnclosureVendor(e1, vendor), 0);
    ASSERT_EQ(Api::GetEnclosureProductRevision(e1, revision), 0);
    EXPECT_EQ(std::string(vendor, sizeof vendor), std::string(9, 'x'));

    // An SES enclosure that enumeration did not fill.
    TheEnclosureCache().reset();
    EXPECT_EQ(Api::GetEnclosureVendor(e0, vendor), -1);
    EXPECT_EQ(LastApiCode(), enclosure::kApiEnclosureMissing);
}

// That vendor's enclosures report their revision in INQUIRY bytes 37-40
// and their door locks and alarms on every LUN.
TEST_F(EnclosureDiscovery, AltVendorTakesRevisionFromInquiryAndCountsFirstLunOnly) {
    StartHost([](json& state) {
        json& e0 = EnclosureOf(state, kSes, 0);
        for (json& sub : e0["sub_enclosures"]) {
            sub["vendor"] = "AMI";
            sub["inquiry_revision"] = "R9X1";
            sub["alarms"] = 1;
            sub["door_locks"] = 1;
        }
    });
    const ObjectId e0 = EnclosureId(kSes, 0);
    char revision[5] = {};
    ASSERT_EQ(Api::GetEnclosureProductRevision(e0, revision), 0);
    EXPECT_STREQ(revision, "R9X1");
    struct {
        uint8_t type;
        uint32_t count;
    } cases[] = {
        {enclosure::kSesAlarm, 1}, {enclosure::kSesDoorLock, 1}, {enclosure::kSesCooling, 5}};
    for (const auto& c : cases) {
        uint32_t count = 0;
        ASSERT_EQ(EnclosureServices::CountElements(e0, c.type, &count), 0);
        EXPECT_EQ(count, c.count) << +c.type;
    }
    ObjectIdList16 alarms;
    ASSERT_EQ(Api::GetAlarmIdList(e0, &alarms), 0);
    EXPECT_EQ(alarms.count, 1u);
}

TEST_F(EnclosureDiscovery, EnumerationSkipsWhatItCannotUseAndFailsOnlyWithoutTheProtocol) {
    // A failed fill still lists the enclosure (byte 5 untouched); a mode
    // read that fails counts as all modes 0.
    StartHost([](json& state) {
        EnclosureOf(state, kSes, 3)["fail"] = json::array({"receive_diagnostic 1"});
    });
    const ObjectIdList16 list = Enclosures(kSes);
    ASSERT_EQ(list.count, 2u);
    EXPECT_EQ(Hex(list.ids[1]), "04 00 FF FF 43 FF 02 01");
    EXPECT_FALSE(TheEnclosureCache().entry(0, 3)->valid());

    const json modesFail = integration::Fault(
        {{"layer", "firmware"}, {"opcode", "0x12"}, {"table", 8}, {"parameter", 4}},
        {{"status", 1}, {"code", "0x010C"}});
    StartHost([&](json& state) { state["faults"] = json::array({modesFail}); });
    EXPECT_EQ(Enclosures(kSes).count, 0u);
    EXPECT_EQ(ScsiCount(), 0u);

    const json protocolFails = integration::Fault(
        {{"layer", "firmware"}, {"opcode", "0x12"}, {"table", 8}, {"parameter", 2}},
        {{"status", 1}, {"code", "0x010C"}});
    StartHost([&](json& state) { state["faults"] = json::array({protocolFails}); });
    ObjectIdList16 list2;
    list2.count = 77;
    EXPECT_EQ(Api::GetEnclosureIdList(integration::ControllerId(kSes), &list2), -1);
    EXPECT_EQ(list2.count, 77u);
}

// Only families 6, 7 and 8 have enclosures; the entries that take an
// enclosure or element check its kind before anything else.
TEST_F(EnclosureDiscovery, RoutesAndKindChecks) {
    StartHost();
    ObjectIdList16 list;
    for (uint8_t c : {kFamily4, kOlder}) {
        EXPECT_EQ(Api::GetEnclosureIdList(integration::ControllerId(c), &list), -1) << +c;
        EXPECT_EQ(LastApiCode(), kApiNotSupported);
    }
    const ObjectId controller = integration::ControllerId(kSes);
    char text[17];
    uint8_t protocol = 0xEE;
    EXPECT_EQ(Api::GetEnclosureVendor(controller, text), -1);
    EXPECT_EQ(LastApiCode(), kApiInvalidEnclosureId);
    EXPECT_EQ(Api::GetEnclosureProtocol(controller, &protocol), 0);
    EXPECT_EQ(protocol, 1);
    EXPECT_EQ(Api::GetEnclosureProtocol(integration::ControllerId(kSafte), &protocol), 0);
    EXPECT_EQ(protocol, 0);

    const ObjectId e0 = EnclosureId(kSes, 0);
    const ObjectId alarm = ElementId(e0, kKindAlarm, 0);
    uint8_t status = 0;
    EXPECT_EQ(Api::GetFanStatus(alarm, &status), -1);
    EXPECT_EQ(LastApiCode(), kApiInvalidFanId);

    uint32_t supported = 7;
    ObjectId phy = ObjectId::Blank();
    ASSERT_EQ(Api::MakePhyId(0, 0, &phy), 0);
    EXPECT_EQ(Api::IsIdentifySupported(phy, &supported), -1);
    EXPECT_EQ(LastApiCode(), kApiInvalidElementId);
    EXPECT_EQ(supported, 7u);

    EXPECT_EQ(Api::LockDoor(ElementId(e0, kKindDoorLock, 0)), -1);
    EXPECT_EQ(LastApiCode(), kApiNotSupported);

    ObjectId enclosure = ObjectId::Blank();
    const ObjectId slot = ElementId(e0, kKindSlot, 5);
    EXPECT_EQ(Api::GetEnclosureIdOfElement(slot, &enclosure), 0);
    ObjectId expected = slot;
    expected[0] = kKindEnclosure;
    EXPECT_EQ(enclosure, expected);

    // The older family has no protocol: enclosure ids keep 0xFF.
    ASSERT_EQ(Api::MakeEnclosureId(kOlder, 0, &enclosure), 0);
    EXPECT_EQ(enclosure[ObjectId::kProtocol], 0xFF);
    EXPECT_EQ(LastApiCode(), kApiNotSupported);
}

// The built-in default host: an SES enclosure under the newest controller
// and a SAF-TE backplane under the model-6 controller, both holding drives.
TEST_F(EnclosureDiscovery, DefaultHostCarriesAnSesAndASafteEnclosure) {
    Install(emulator::EmulatedHost::defaultHost());
    ObjectIdList16 controllers;
    ASSERT_EQ(Api::GetControllerIdList(&controllers), 0);
    struct Case {
        uint8_t controller;
        std::string enclosure;
        uint32_t slots;
        uint8_t port;
        std::string slot;
        int32_t temperature;
    };
    for (const Case& c :
         {Case{0, "04 00 FF FF 40 00 02 01", 8, 4, "09 00 00 FF 40 00 02 01", 27},
          Case{1, "04 01 FF FF 40 FF 00 00", 4, 2, "09 01 02 FF 40 FF 00 00", 25}}) {
        SCOPED_TRACE(c.controller);
        const ObjectIdList16 list = Enclosures(c.controller);
        ASSERT_EQ(list.count, 1u);
        EXPECT_EQ(Hex(list.ids[0]), c.enclosure);
        ObjectIdList128 slots;
        ASSERT_EQ(Api::GetSlotIdList(list.ids[0], &slots), 0);
        EXPECT_EQ(slots.count, c.slots);
        ObjectId slot = ObjectId::Blank();
        ASSERT_EQ(Api::GetPortSlotId(rhosk_emulated::DriveId(c.port, c.controller), &slot), 0);
        EXPECT_EQ(Hex(slot), c.slot);
        int32_t celsius = 0;
        ASSERT_EQ(Api::GetTemperature(ElementId(list.ids[0], kKindTempSensor, 0), &celsius), 0);
        EXPECT_EQ(celsius, c.temperature);
    }
}

}  // namespace
}  // namespace enclosure_test::enclosure_discovery_test
