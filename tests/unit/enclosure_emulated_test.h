// The enclosure services through the public library over the emulated
// host: the shared enclosure host (tests/fixtures/enclosures/host.json),
// changed per case, the enclosure and element ids the library hands out,
// and the SCSI pass-through traffic as the request log records it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/rhosk/enclosure_services.h"
#include "rhosk_emulated_host.h"

namespace enclosure_test {

using integration::json;
using rhosk_emulated::LastApiCode;

// Controllers of the shared host: c0 family 8 with SES enclosures e0 (two
// sub-enclosures, mode 1) and e3 (mode 2); c1 family 6 with a SAF-TE
// enclosure e1; c2 family 4; c3 the older family.
constexpr uint8_t kSes = 0;
constexpr uint8_t kSafte = 1;
constexpr uint8_t kFamily4 = 2;
constexpr uint8_t kOlder = 3;

inline json FixtureHost() {
    const char* dir = std::getenv("KV_TEST_FIXTURES");
    std::ifstream in(std::string(dir != nullptr ? dir : "tests/fixtures") +
                     "/enclosures/host.json");
    return json::parse(in);
}

// The description of controller `c`'s enclosure behind `port`.
template <typename State>
auto& EnclosureOf(State& state, size_t c, int port) {
    for (auto& e : state["machine"]["controllers"][c]["enclosures"]["list"]) {
        if (e["port"] == port)
            return e;
    }
    throw std::runtime_error("no such enclosure in the fixture");
}

inline std::string Hex(const ObjectId& id) {
    std::string text;
    char byte[4];
    for (std::size_t i = 0; i < 8; ++i) {
        std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", id[i]);
        text += byte;
    }
    return text;
}

class EnclosureTest : public rhosk_emulated::RhoskEmulatedTest {
  protected:
    void SetUp() override {
        RhoskEmulatedTest::SetUp();
        TheEnclosureCache().reset();
    }
    void TearDown() override {
        TheEnclosureCache().reset();
        RhoskEmulatedTest::TearDown();
    }

    // Installs the shared host after `change`, lists its controllers and
    // forgets the traffic so far.
    emulator::EmulatedHost& StartHost(const std::function<void(json&)>& change = {}) {
        json state = FixtureHost();
        if (change)
            change(state);
        return InstallListed(state);
    }

    // The enclosure's description as the host now keeps it.
    static const json& HostEnclosure(emulator::EmulatedHost& host, size_t c, int port) {
        return EnclosureOf(host.state(), c, port);
    }

    // The enclosures the library lists for controller `c`.
    static ObjectIdList16 Enclosures(uint8_t c) {
        ObjectIdList16 list;
        list.clear();
        EXPECT_EQ(Api::GetEnclosureIdList(integration::ControllerId(c), &list), 0) << c;
        return list;
    }

    // The listed enclosure of controller `c` behind `port` (enumerates).
    static ObjectId EnclosureId(uint8_t c, uint8_t port) {
        const ObjectIdList16 list = Enclosures(c);
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list.ids[i][ObjectId::kUnit] == ObjectId::kEnclosureBase + port)
                return list.ids[i];
        }
        ADD_FAILURE() << "no enclosure behind port " << +port << " of c" << +c;
        return ObjectId::Blank();
    }

    // Element `number` of `kind` in the enclosure, made by the library's builder.
    static ObjectId ElementId(const ObjectId& enclosure, uint8_t kind, uint8_t number) {
        ObjectId id = ObjectId::Blank();
        int result = -1;
        switch (kind) {
            case kKindFan:
                result = Api::MakeFanId(enclosure, number, &id);
                break;
            case kKindPowerSupply:
                result = Api::MakePowerSupplyId(enclosure, number, &id);
                break;
            case kKindDoorLock:
                result = Api::MakeDoorId(enclosure, number, &id);
                break;
            case kKindAlarm:
                result = Api::MakeAlarmId(enclosure, number, &id);
                break;
            case kKindSlot:
                result = Api::MakeSlotId(enclosure, number, &id);
                break;
            case kKindTempSensor:
                result = Api::MakeTempSensorId(enclosure, number, &id);
                break;
            default:
                break;
        }
        EXPECT_EQ(result, 0) << "element " << +kind << "/" << +number;
        return id;
    }

    // The pass-through requests so far, one short text each: the command
    // ("inq", "rcv", "snd", "rdb", "wrb"), then "t<target> l<lun>" and the
    // page ("p") or buffer ("b") when the command has one.
    std::vector<std::string> ScsiTrace() const {
        std::vector<std::string> out;
        for (const json& r : Requests()) {
            if (!r.contains("scsi"))
                continue;
            const int op = r.value("scsi", 0);
            std::string s = op == 0x12   ? "inq"
                            : op == 0x1C ? "rcv"
                            : op == 0x1D ? "snd"
                            : op == 0x3C ? "rdb"
                            : op == 0x3B ? "wrb"
                                         : "op" + std::to_string(op);
            s += " t" + std::to_string(r.value("target", 0)) + " l" +
                 std::to_string(r.value("lun", 0));
            if (r.contains("page"))
                s += " p" + std::to_string(r.value("page", 0));
            if (r.contains("buffer"))
                s += " b" + std::to_string(r.value("buffer", 0));
            out.push_back(s);
        }
        return out;
    }
    size_t ScsiCount() const { return ScsiTrace().size(); }
};

}  // namespace enclosure_test
