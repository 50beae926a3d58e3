// Identifier builders and parsers: byte layouts, range checks and the API
// error each failure records.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "api/api.h"

namespace api_object_id_test {
namespace {

ObjectId Bytes(std::initializer_list<uint8_t> b) {
    ObjectId id{};
    std::size_t i = 0;
    for (uint8_t v : b)
        id[i++] = v;
    return id;
}

std::string Hex(const ObjectId& id) {
    std::string s;
    char buf[4];
    for (uint8_t b : id.bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", b);
        s += buf;
    }
    s.pop_back();
    return s;
}

uint32_t LastApiCode() {
    ApiErrorRecord r{};
    Api::GetLastErrorRecord(&r);
    return r.flags == kApiErrorApi ? r.apiCode : 0xFFFFFFFFu;
}

const ObjectId kUntouched = Bytes({0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA});

TEST(ApiObjectId, BuildersLayOutTheirBytes) {
    struct Case {
        const char* what;
        int (*make)(ObjectId*);
        const char* bytes;
    } cases[] = {
        {"controller 15", [](ObjectId* id) { return Api::MakeControllerId(15, id); },
         "01 0F FF FF FF FF FF FF"},
        {"unit 3, no levels",
         [](ObjectId* id) { return Api::MakeUnitId(0, 0xFF, 3, 0xFF, 0xFF, id); },
         "02 00 FF 01 03 FF FF FF"},
        {"unit 3, levels 1 and 0",
         [](ObjectId* id) { return Api::MakeUnitId(0, 0xFF, 3, 1, 0, id); },
         "02 00 FF 03 03 01 00 FF"},
        {"unit with all four levels",
         [](ObjectId* id) { return Api::MakeUnitId(2, 4, 5, 6, 7, id); },
         "02 02 FF 04 05 06 07 04"},
        {"a level of 32 ends the path",
         [](ObjectId* id) { return Api::MakeUnitId(1, 2, 5, 32, 3, id); },
         "02 01 FF 01 05 FF FF FF"},
        {"unit 255", [](ObjectId* id) { return Api::MakeUnitId(0, 0xFF, 255, 0xFF, 0xFF, id); },
         "02 00 FF 01 FF FF FF FF"},
        {"drive 127", [](ObjectId* id) { return Api::MakeDriveId(3, 127, id); },
         "03 03 7F FF FF FF FF FF"},
        {"port none", [](ObjectId* id) { return Api::MakePortId(3, 255, id); },
         "03 03 FF FF FF FF FF FF"},
        {"phy 7", [](ObjectId* id) { return Api::MakePhyId(1, 7, id); }, "0E 01 07 FF FF FF FF FF"},
    };
    for (const auto& c : cases) {
        ObjectId id = kUntouched;
        EXPECT_EQ(c.make(&id), 0) << c.what;
        EXPECT_EQ(Hex(id), c.bytes) << c.what;
    }
}

TEST(ApiObjectId, BuilderRangeErrorsLeaveTheOutputAlone) {
    struct Case {
        const char* what;
        int (*make)(ObjectId*);
        uint32_t apiCode;
    } cases[] = {
        {"controller 16", [](ObjectId* id) { return Api::MakeControllerId(16, id); }, 8},
        {"unit 32", [](ObjectId* id) { return Api::MakeUnitId(0, 0xFF, 32, 0xFF, 0xFF, id); }, 9},
        {"unit on controller 16 reports the unit code",
         [](ObjectId* id) { return Api::MakeUnitId(16, 0xFF, 0, 0xFF, 0xFF, id); }, 9},
        {"drive port 128", [](ObjectId* id) { return Api::MakeDriveId(0, 128, id); }, 10},
        {"drive controller 16", [](ObjectId* id) { return Api::MakeDriveId(16, 0, id); }, 10},
        {"port 128", [](ObjectId* id) { return Api::MakePortId(0, 128, id); }, 11},
        {"phy 200 reports the port code", [](ObjectId* id) { return Api::MakePhyId(0, 200, id); },
         11},
    };
    for (const auto& c : cases) {
        ObjectId id = kUntouched;
        EXPECT_EQ(c.make(&id), -1) << c.what;
        EXPECT_EQ(id, kUntouched) << c.what;
        EXPECT_EQ(LastApiCode(), c.apiCode) << c.what;
    }
}

TEST(ApiObjectId, ParsersRoundTripWhatTheBuildersMade) {
    ObjectId id{};
    uint8_t a = 0, b = 0, c = 0, d = 0, e = 0;

    ASSERT_EQ(Api::MakeControllerId(9, &id), 0);
    ASSERT_EQ(Api::ParseControllerId(id, &a), 0);
    EXPECT_EQ(a, 9);

    ASSERT_EQ(Api::MakeUnitId(4, 0xFF, 17, 2, 1, &id), 0);
    ASSERT_EQ(Api::ParseUnitId(id, &a, &b, &c, &d, &e), 0);
    EXPECT_EQ(a, 4);
    EXPECT_EQ(b, 0xFF);  // level 4
    EXPECT_EQ(c, 17);
    EXPECT_EQ(d, 2);
    EXPECT_EQ(e, 1);

    ASSERT_EQ(Api::MakeDriveId(5, 100, &id), 0);
    ASSERT_EQ(Api::ParseDriveId(id, &a, &b), 0);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 100);
    ASSERT_EQ(Api::ParsePortId(id, &a, &b), 0);  // one layout for drives and ports
    EXPECT_EQ(b, 100);

    ASSERT_EQ(Api::MakePhyId(6, 3, &id), 0);
    ASSERT_EQ(Api::ParsePhyId(id, &a, &b), 0);
    EXPECT_EQ(a, 6);
    EXPECT_EQ(b, 3);
}

TEST(ApiObjectId, EnclosureAndElementParsers) {
    uint8_t index = 0, number = 0, ctl = 0, encl = 0;
    const ObjectId enclosure = Bytes({4, 1, 0xFF, 0xFF, 0x43, 0xFF, 0xFF, 0});
    ASSERT_EQ(Api::ParseEnclosureIndex(enclosure, &index), 0);
    EXPECT_EQ(index, 19);
    ASSERT_EQ(Api::ParseEnclosureId(enclosure, &ctl, &encl), 0);
    EXPECT_EQ(ctl, 1);
    EXPECT_EQ(encl, 3);

    const ObjectId noEnclosure = Bytes({4, 2, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    ASSERT_EQ(Api::ParseEnclosureIndex(noEnclosure, &index), 0);
    EXPECT_EQ(index, 255);
    ASSERT_EQ(Api::ParseEnclosureId(noEnclosure, &ctl, &encl), 0);
    EXPECT_EQ(ctl, 255);
    EXPECT_EQ(encl, 255);

    // The index wraps modulo 256: controller 15, enclosure 15.
    ASSERT_EQ(Api::ParseEnclosureIndex(Bytes({4, 15, 0xFF, 0xFF, 0x4F, 0xFF, 0xFF, 0}), &index), 0);
    EXPECT_EQ(index, 255);

    // Element parsers: without an enclosure the fan keeps its number, the
    // slot gives 255 for both.
    ASSERT_EQ(Api::ParseFanId(Bytes({5, 0, 2, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), &index, &number), 0);
    EXPECT_EQ(index, 255);
    EXPECT_EQ(number, 2);
    ASSERT_EQ(Api::ParseSlotId(Bytes({9, 0, 2, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), &index, &number), 0);
    EXPECT_EQ(index, 255);
    EXPECT_EQ(number, 255);
    ASSERT_EQ(Api::ParseSlotId(Bytes({9, 1, 6, 0xFF, 0x41, 0xFF, 0xFF, 0}), &index, &number), 0);
    EXPECT_EQ(index, 17);
    EXPECT_EQ(number, 6);
    ASSERT_EQ(Api::ParseDoorId(Bytes({7, 0, 1, 0xFF, 0x40, 0xFF, 0xFF, 0}), &index, &number), 0);
    EXPECT_EQ(number, 1);
    ASSERT_EQ(Api::ParseAlarmId(Bytes({8, 0, 0, 0xFF, 0x40, 0xFF, 0xFF, 0}), &index, &number), 0);
    EXPECT_EQ(index, 0);
}

TEST(ApiObjectId, ParsersRejectOtherKindsWithTheirOwnCode) {
    const ObjectId wrong = Bytes({12, 0, 0, 0, 0, 0, 0, 0});  // a volume id fits none
    struct Case {
        const char* what;
        int (*parse)(ObjectId, uint8_t*, uint8_t*);
        uint32_t apiCode;
    } cases[] = {
        {"controller",
         [](ObjectId id, uint8_t* a, uint8_t*) { return Api::ParseControllerId(id, a); }, 8},
        {"unit",
         [](ObjectId id, uint8_t* a, uint8_t* b) { return Api::ParseUnitId(id, a, b, b, b, b); },
         9},
        {"drive", Api::ParseDriveId, 10},
        {"port", Api::ParsePortId, 11},
        {"phy", Api::ParsePhyId, 11},
        {"enclosure index",
         [](ObjectId id, uint8_t* a, uint8_t*) { return Api::ParseEnclosureIndex(id, a); }, 92},
        {"enclosure", Api::ParseEnclosureId, 92},
        {"fan", Api::ParseFanId, 93},
        {"door", Api::ParseDoorId, 94},
        {"alarm", Api::ParseAlarmId, 95},
        {"slot", Api::ParseSlotId, 96},
    };
    for (const auto& c : cases) {
        uint8_t a = 0xAA, b = 0xAA;
        EXPECT_EQ(c.parse(wrong, &a, &b), -1) << c.what;
        EXPECT_EQ(a, 0xAA) << c.what;
        EXPECT_EQ(b, 0xAA) << c.what;
        EXPECT_EQ(LastApiCode(), c.apiCode) << c.what;
    }
}

TEST(ApiObjectId, EnclosureBuilders) {
    ObjectId id = kUntouched;
    ASSERT_EQ(Api::MakeEnclosureId(2, 255, &id), 0);
    EXPECT_EQ(Hex(id), "04 02 FF FF FF FF FF FF");
    // A protocol that cannot be read leaves byte 7 at 0xFF; the id is made.
    ASSERT_EQ(Api::MakeEnclosureId(1, 3, &id), 0);
    EXPECT_EQ(Hex(id), "04 01 FF FF 43 FF FF FF");

    struct Case {
        const char* what;
        int (*make)(ObjectId*);
        uint32_t apiCode;
    } errors[] = {
        {"enclosure 16", [](ObjectId* o) { return Api::MakeEnclosureId(0, 16, o); }, 92},
        {"enclosure on controller 16", [](ObjectId* o) { return Api::MakeEnclosureId(16, 0, o); },
         92},
        {"element of no enclosure",
         [](ObjectId* o) {
             return Api::MakeFanId(Bytes({4, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0}), 0, o);
         },
         92},
        {"element of controller 16",
         [](ObjectId* o) {
             return Api::MakeSlotId(Bytes({4, 16, 0xFF, 0xFF, 0x40, 0xFF, 0xFF, 0}), 0, o);
         },
         92},
    };
    for (const auto& c : errors) {
        ObjectId out = kUntouched;
        EXPECT_EQ(c.make(&out), -1) << c.what;
        EXPECT_EQ(out, kUntouched) << c.what;
        EXPECT_EQ(LastApiCode(), c.apiCode) << c.what;
    }
}

TEST(ApiObjectId, ElementBuildersOnASafteEnclosure) {
    // Byte 7 = 0 (SAF-TE): the element is the enclosure id with its kind
    // and number; the builders do not look at the given kind byte.
    const ObjectId enclosure = Bytes({0x63, 1, 0xFF, 0xFF, 0x42, 0xFF, 0x05, 0x00});
    using Maker = int (*)(ObjectId, uint8_t, ObjectId*);
    struct Case {
        const char* what;
        Maker make;
        uint8_t kind;
        uint8_t lastGood;
        uint8_t firstBad;
        uint32_t apiCode;
    } cases[] = {
        {"fan", Api::MakeFanId, 5, 15, 16, 93},
        {"door", Api::MakeDoorId, 7, 15, 16, 94},
        {"alarm", Api::MakeAlarmId, 8, 15, 16, 95},
        {"slot", Api::MakeSlotId, 9, 127, 128, 96},
        {"temperature sensor", Api::MakeTempSensorId, 13, 31, 32, 110},
        {"power supply", Api::MakePowerSupplyId, 6, 15, 16, 117},
    };
    for (const auto& c : cases) {
        for (uint8_t n : {uint8_t{0}, c.lastGood, uint8_t{255}}) {
            ObjectId id = kUntouched;
            ASSERT_EQ(c.make(enclosure, n, &id), 0) << c.what << " " << int(n);
            ObjectId expected = enclosure;
            expected[0] = c.kind;
            expected[2] = n;
            EXPECT_EQ(id, expected) << c.what;
        }
        ObjectId id = kUntouched;
        EXPECT_EQ(c.make(enclosure, c.firstBad, &id), -1) << c.what;
        EXPECT_EQ(id, kUntouched) << c.what;
        EXPECT_EQ(LastApiCode(), c.apiCode) << c.what;
    }
}

TEST(ApiObjectId, ControllerIdOfAnyIdKeepsTheOtherBytes) {
    const ObjectId unit = Bytes({2, 3, 0xFF, 2, 7, 1, 0xFF, 0xFF});
    EXPECT_EQ(Hex(unit.controllerId()), "01 03 FF 02 07 01 FF FF");
}

}  // namespace
}  // namespace api_object_id_test
