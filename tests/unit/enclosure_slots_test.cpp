// Drive slots over SES and SAF-TE, the wiring between a port's drive and
// its slot in both directions, and the port and unit identify built on
// them: values, the commands that carry them, the management lock of the
// SAF-TE slot operation, and the errors of ports and slots that have no
// counterpart.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/rhosk/enclosure_services.h"
#include "enclosure_emulated_test.h"

namespace enclosure_test::enclosure_slots_test {
namespace {

using rhosk_emulated::DriveId;

class EnclosureSlots : public EnclosureTest {
  protected:
    // The slot's status flags, or "api N".
    static std::string Status(const ObjectId& slot) {
        uint32_t flags = 0;
        if (Api::GetSlotStatus(slot, &flags) != 0)
            return "api " + std::to_string(LastApiCode());
        return std::to_string(flags);
    }
    static ObjectId Port(uint8_t controller, uint8_t port) { return DriveId(port, controller); }
    static ObjectId Unit(uint8_t controller, uint8_t unit) {
        ObjectId id = ObjectId::Blank();
        EXPECT_EQ(Api::MakeUnitId(controller, 0xFF, unit, 0xFF, 0xFF, &id), 0);
        return id;
    }
};

TEST_F(EnclosureSlots, SlotStatusFlags) {
    StartHost([](json& state) {
        // Slot 2 holds the drive of port 2.
        EnclosureOf(state, kSes, 3)["slots"] = {json::object(),
                                                {{"insert", false}},
                                                {{"status", "not_installed"}, {"insert", true}},
                                                {{"insert", false}, {"remove", true}}};
        // Slots 0, 1 and 3 hold the drives of ports 0, 1 and 2.
        EnclosureOf(state, kSafte, 1)["slots"] = {
            json::object(), {{"status_word", 3}}, json::object(), json::object()};
    });
    const ObjectId e0 = EnclosureId(kSes, 0);
    const ObjectId e3 = EnclosureId(kSes, 3);
    const ObjectId e1 = EnclosureId(kSafte, 1);
    ObjectId beyond = ElementId(e3, kKindSlot, 0);
    beyond[ObjectId::kNumber] = 200;
    struct Case {
        const char* name;
        ObjectId slot;
        std::string expected;
    };
    const Case cases[] = {
        {"SES occupied", ElementId(e0, kKindSlot, 0), "9"},
        {"SES empty, ready to insert", ElementId(e0, kKindSlot, 1), "2"},
        {"SES occupied in LUN 1", ElementId(e0, kKindSlot, 5), "9"},
        {"SES empty, not ready", ElementId(e3, kKindSlot, 1), "0"},
        {"SES not installed, ready to insert", ElementId(e3, kKindSlot, 2), "2"},
        {"SES ready to remove", ElementId(e3, kKindSlot, 3), "4"},
        {"SES past the last sub-enclosure", ElementId(e0, kKindSlot, 8), "api 127"},
        {"slot number 200", beyond, "api 100"},
        {"SAF-TE occupied", ElementId(e1, kKindSlot, 0), "9"},
        {"SAF-TE present and empty/occupied bit", ElementId(e1, kKindSlot, 1), "7"},
        {"SAF-TE empty", ElementId(e1, kKindSlot, 2), "0"},
        {"SAF-TE slot 4 of 4", ElementId(e1, kKindSlot, 4), "api 100"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Status(c.slot), c.expected) << c.name;
}

TEST_F(EnclosureSlots, SlotListsHoldEverySlotResolved) {
    StartHost();
    struct Case {
        uint8_t controller;
        uint8_t port;
        uint32_t count;
        std::string last;
    };
    for (const Case& c :
         {Case{kSes, 0, 8, "09 00 07 03 40 01 01 01"}, Case{kSes, 3, 12, "09 00 0B FF 43 00 02 01"},
          Case{kSafte, 1, 4, "09 01 03 FF 41 FF 00 00"}}) {
        ObjectIdList128 list;
        ASSERT_EQ(Api::GetSlotIdList(EnclosureId(c.controller, c.port), &list), 0);
        EXPECT_EQ(list.count, c.count);
        EXPECT_EQ(Hex(list.ids[c.count - 1]), c.last);
        EXPECT_EQ(list.ids[c.count], ObjectId::Blank());
    }
}

TEST_F(EnclosureSlots, SesSlotIdentifyIsOneControlWrite) {
    emulator::EmulatedHost& host = StartHost();
    const ObjectId slot = ElementId(EnclosureId(kSes, 0), kKindSlot, 5);
    for (uint8_t on : {1, 0}) {
        ClearTraffic();
        ASSERT_EQ(Api::SetSlotIdentify(slot, on), 0);
        EXPECT_EQ(ScsiTrace(), (std::vector<std::string>{"rcv t64 l1 p2", "snd t64 l1 p2"}));
        uint8_t state = 9;
        ASSERT_EQ(Api::GetSlotIdentify(slot, &state), 0);
        EXPECT_EQ(state, on);
        EXPECT_EQ(
            HostEnclosure(host, kSes, 0)["sub_enclosures"][1]["slots"][1].value("identify", false),
            on == 1);
    }
}

TEST_F(EnclosureSlots, SafteSlotIdentifyIsASlotOperationUnderTheLock) {
    emulator::EmulatedHost& host = StartHost();
    const ObjectId slot = ElementId(EnclosureId(kSafte, 1), kKindSlot, 0);
    ClearTraffic();
    ASSERT_EQ(Api::SetSlotIdentify(slot, 1), 0);
    EXPECT_EQ(ScsiTrace(),
              (std::vector<std::string>{"rdb t64 l1 b0", "rdb t64 l1 b4", "wrb t64 l1 b18"}));
    EXPECT_EQ(CountKind("lock"), 1u);
    EXPECT_EQ(CountKind("unlock"), 1u);
    // The operation flags carry the empty/occupied bits of the slot's
    // status (none for an occupied slot, flags 9) and identify.
    const integration::SentRequest& write = sent_[sent_.size() - 2];  // before the unlock
    ASSERT_EQ(write.size(), 28u + 152 + 512);
    EXPECT_EQ(write.bytes[28 + 152], 0x12);
    EXPECT_EQ(write.bytes[28 + 152 + 1], 0);
    EXPECT_EQ(write.bytes[28 + 152 + 2], 0x04);
    EXPECT_TRUE(HostEnclosure(host, kSafte, 1)["slots"][0].value("identify", false));
    uint8_t state = 0;
    ASSERT_EQ(Api::GetSlotIdentify(slot, &state), 0);
    EXPECT_EQ(state, 1);

    // A status read that fails releases the lock and writes nothing.
    StartHost([](json& s) { EnclosureOf(s, kSafte, 1)["fail"] = {"read_buffer 4"}; });
    const ObjectId slot0 = ElementId(EnclosureId(kSafte, 1), kKindSlot, 0);
    ClearTraffic();
    EXPECT_EQ(Api::SetSlotIdentify(slot0, 1), -1);
    EXPECT_TRUE(integration::LocksAreReleased(Log()));
    EXPECT_EQ(ScsiTrace(), (std::vector<std::string>{"rdb t64 l1 b0", "rdb t64 l1 b4"}));
}

TEST_F(EnclosureSlots, PortToSlot) {
    StartHost();
    (void)Enclosures(kSes);
    (void)Enclosures(kSafte);
    struct Case {
        const char* name;
        uint8_t controller;
        uint8_t port;
        std::string expected;  // the slot id, or "api N"
    };
    const Case cases[] = {
        {"SES LUN 0", kSes, 0, "09 00 00 00 40 00 01 01"},
        {"SES LUN 1", kSes, 1, "09 00 05 01 40 01 01 01"},
        {"SES mode 2", kSes, 2, "09 00 02 FF 43 00 02 01"},
        {"SES drive in no slot", kSes, 3, "api 101"},
        {"SES port without a drive", kSes, 7, "api 101"},
        {"port past the count", kSes, 40, "api 11"},
        {"SAF-TE", kSafte, 2, "09 01 03 FF 41 FF 00 00"},
        // SAF-TE: a port that no enclosure lists is no error.
        {"SAF-TE drive in no slot", kSafte, 5, "09 01 FF FF FF FF FF FF"},
        {"SAF-TE port past the count", kSafte, 8, "api 11"},
        {"family 4, no drive", kFamily4, 0, "api 101"},
        {"older family", kOlder, 0, "api 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectId slot = ObjectId::Blank();
        const int result = Api::GetPortSlotId(Port(c.controller, c.port), &slot);
        EXPECT_EQ(result == 0 ? Hex(slot) : "api " + std::to_string(LastApiCode()), c.expected);
    }
    // A port past the count is refused before anything but the count.
    ClearTraffic();
    ObjectId slot = ObjectId::Blank();
    EXPECT_EQ(Api::GetPortSlotId(Port(kSes, 40), &slot), -1);
    const std::vector<rhosk_emulated::Access> expected = {{0x12, 0x403, 3, 1}};
    EXPECT_EQ(ParamTraffic(), expected);
    EXPECT_EQ(ScsiCount(), 0u);
}

TEST_F(EnclosureSlots, PortToSlotFillsTheCacheOfAnEnclosureNeverEnumerated) {
    StartHost();
    ObjectId slot = ObjectId::Blank();
    ASSERT_EQ(Api::GetPortSlotId(Port(kSes, 1), &slot), 0);
    EXPECT_EQ(Hex(slot), "09 00 05 01 40 01 01 01");
    EXPECT_TRUE(TheEnclosureCache().entry(0, 0)->valid());
    EXPECT_EQ(ScsiTrace(), (std::vector<std::string>{"inq t64 l0", "inq t64 l1", "inq t64 l2",
                                                     "rcv t64 l0 p1", "rcv t64 l1 p1"}));
}

TEST_F(EnclosureSlots, SlotToPort) {
    StartHost();
    const ObjectId e0 = EnclosureId(kSes, 0);
    const ObjectId e3 = EnclosureId(kSes, 3);
    const ObjectId e1 = EnclosureId(kSafte, 1);
    struct Case {
        const char* name;
        ObjectId slot;
        std::string expected;
    };
    const Case cases[] = {
        {"SES LUN 1", ElementId(e0, kKindSlot, 5), "03 00 01 FF FF FF FF FF"},
        {"SES mode 2", ElementId(e3, kKindSlot, 11), "03 00 04 FF FF FF FF FF"},
        {"SES empty slot", ElementId(e0, kKindSlot, 1), "api 101"},
        {"SAF-TE", ElementId(e1, kKindSlot, 3), "03 01 02 FF FF FF FF FF"},
        // The empty SAF-TE slot holds no port number (255): no port.
        {"SAF-TE empty slot", ElementId(e1, kKindSlot, 2), "api 101"},
        {"SAF-TE slot 4 of 4", ElementId(e1, kKindSlot, 4), "api 100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObjectId port = ObjectId::Blank();
        const int result = Api::GetSlotPortId(c.slot, &port);
        EXPECT_EQ(result == 0 ? Hex(port) : "api " + std::to_string(LastApiCode()), c.expected);
    }
}

TEST_F(EnclosureSlots, PortIdentifyGoesToTheSlotOfThePortsDrive) {
    emulator::EmulatedHost& host = StartHost();
    (void)Enclosures(kSes);
    (void)Enclosures(kSafte);
    struct Case {
        uint8_t controller;
        uint8_t port;
        std::function<const json&()> slot;
    };
    const Case cases[] = {
        {kSes, 1,
         [&]() -> const json& {
             return HostEnclosure(host, kSes, 0)["sub_enclosures"][1]["slots"][1];
         }},
        {kSafte, 2, [&]() -> const json& { return HostEnclosure(host, kSafte, 1)["slots"][3]; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.controller);
        for (uint8_t on : {1, 0}) {
            ASSERT_EQ(Api::IdentifyPort(Port(c.controller, c.port), on), 0);
            uint8_t state = 9;
            ASSERT_EQ(Api::GetPortIdentify(Port(c.controller, c.port), &state), 0);
            EXPECT_EQ(state, on);
            EXPECT_EQ(c.slot().value("identify", false), on == 1);
        }
    }
    EXPECT_TRUE(integration::LocksAreReleased(Log()));

    struct Failure {
        const char* name;
        ObjectId id;
        uint32_t error;
    };
    const Failure failures[] = {
        {"SES drive in no slot", Port(kSes, 3), kApiNoDriveSlot},
        {"SAF-TE drive in no slot", Port(kSafte, 5), kApiNoDriveSlot},
        {"not a port", Unit(kSes, 0), kApiInvalidPortId},
        {"family 4", Port(kFamily4, 0), kApiNotSupported},
        {"older family", Port(kOlder, 0), kApiNotSupported},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.name);
        uint8_t state = 9;
        EXPECT_EQ(Api::GetPortIdentify(f.id, &state), -1);
        EXPECT_EQ(LastApiCode(), f.error);
        EXPECT_EQ(state, 9);
        EXPECT_EQ(Api::IdentifyPort(f.id, 1), -1);
        EXPECT_EQ(LastApiCode(), f.error);
    }
}

TEST_F(EnclosureSlots, UnitIdentifyCoversTheSlotOfEveryMemberOnAPort) {
    emulator::EmulatedHost& host = StartHost([](json& state) {
        state["machine"]["controllers"][kSes]["units"].push_back(
            {{"number", 2}, {"type", "raid1"}, {"members", {4, nullptr}}});
    });
    (void)Enclosures(kSes);
    (void)Enclosures(kSafte);
    const auto slotOn = [&](uint8_t c, int port, size_t lun, size_t slot) {
        const json& e = HostEnclosure(host, c, port);
        const json& s = e.contains("sub_enclosures") ? e["sub_enclosures"][lun]["slots"][slot]
                                                     : e["slots"][slot];
        return s.value("identify", false);
    };
    uint8_t all = 9;
    // Unit 0 of c0: ports 0 (e0 slot 0) and 2 (e3 slot 2).
    ASSERT_EQ(Api::SetUnitIdentify(Unit(kSes, 0), 1), 0);
    EXPECT_TRUE(slotOn(kSes, 0, 0, 0));
    EXPECT_TRUE(slotOn(kSes, 3, 0, 2));
    ASSERT_EQ(Api::GetUnitIdentify(Unit(kSes, 0), &all), 0);
    EXPECT_EQ(all, 1);
    ASSERT_EQ(Api::SetSlotIdentify(ElementId(EnclosureId(kSes, 3), kKindSlot, 2), 0), 0);
    ASSERT_EQ(Api::GetUnitIdentify(Unit(kSes, 0), &all), 0);
    EXPECT_EQ(all, 0);
    ASSERT_EQ(Api::SetUnitIdentify(Unit(kSes, 0), 0), 0);
    EXPECT_FALSE(slotOn(kSes, 0, 0, 0));

    // A missing member is skipped; SAF-TE members go through the lock.
    ASSERT_EQ(Api::SetUnitIdentify(Unit(kSes, 2), 1), 0);
    ASSERT_EQ(Api::GetUnitIdentify(Unit(kSes, 2), &all), 0);
    EXPECT_EQ(all, 1);
    ASSERT_EQ(Api::SetUnitIdentify(Unit(kSafte, 0), 1), 0);
    EXPECT_TRUE(slotOn(kSafte, 1, 0, 0));
    EXPECT_TRUE(slotOn(kSafte, 1, 0, 1));
    EXPECT_TRUE(integration::LocksAreReleased(Log()));

    struct Failure {
        const char* name;
        ObjectId id;
        uint32_t error;
    };
    const Failure failures[] = {
        {"member in no slot", Unit(kSes, 1), kApiNoDriveSlot},
        {"not a unit", Port(kSes, 0), kApiInvalidUnitId},
        {"family 4", Unit(kFamily4, 0), kApiNotSupported},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.name);
        all = 9;
        EXPECT_EQ(Api::GetUnitIdentify(f.id, &all), -1);
        EXPECT_EQ(LastApiCode(), f.error);
        EXPECT_EQ(all, 9);
        EXPECT_EQ(Api::SetUnitIdentify(f.id, 1), -1);
        EXPECT_EQ(LastApiCode(), f.error);
    }
}

}  // namespace
}  // namespace enclosure_test::enclosure_slots_test
