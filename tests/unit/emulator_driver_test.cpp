// The emulated controller drivers and firmware, driven with hand-built
// IOCTL_SCSI_MINIPORT buffers as the library's transport sends them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "emulator/emulated_host.h"
#include "emulator_requests.h"

namespace emulator_driver_test {
namespace {

using namespace emulator_requests;

json testHost() {
    json state = emulator::EmulatedHost::defaultHost();
    json& controllers = state["machine"]["controllers"];
    controllers = json::array();
    controllers.push_back(
        {{"device_type", 5},
         {"slot", 3},
         {"driver", {{"version", {3, 0, 2, 46}}, {"srl_min", 35}, {"srl_max", 40}}},
         {"identity",
          {{"model", "KV-V820-8p"},
           {"serial", "KVS26021-180274"},
           {"compat_level", 37},
           {"model_code", 8}}},
         {"settings", {{"ports", 8}, {"stagger", 2}}}});
    controllers.push_back({{"device_type", 1},
                           {"identity", {{"model", "KV-P300-2HB"}, {"serial", "KVS19004-120043"}}},
                           {"settings", {{"ports", 2}}}});
    return state;
}

class EmulatorDriver : public EmulatedControllers {
  protected:
    void SetUp() override { open(testHost()); }
};

TEST_F(EmulatorDriver, EnvelopeErrorsFailTheRequestOrAnswerWithTheDriverCode) {
    struct Case {
        const char* name;
        void (*spoil)(Bytes&);
        bool ok;
        uint32_t osError;
        uint32_t returnCode;
    };
    const Case cases[] = {
        {"header length", [](Bytes& b) { put32(b, 0, 24); }, false, 87, 0},
        {"length field", [](Bytes& b) { put32(b, 24, 500); }, false, 87, 0},
        {"older signature", [](Bytes& b) { std::memcpy(b.data() + 4, "Kivra  ", 8); }, false, 1, 0},
        {"unknown control code", [](Bytes& b) { put32(b, 16, 0x12345678); }, true, 0, 0x8001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes b = rhoskRequest(0xFFFF0002);
        c.spoil(b);
        EXPECT_EQ(send(0, b), c.ok);
        if (c.ok) {
            EXPECT_EQ(get32(b, 20), c.returnCode);
        } else {
            EXPECT_EQ(host_->getLastError(), c.osError);
        }
    }
}

TEST_F(EmulatorDriver, FirmwareCommandFlagBitsMustMatchTheOpcode) {
    Bytes b = rhoskParam(0x52, 0x8402, 9, 20);
    put32(b, 16, 0xF0000000);  // a get parameter without its 0xE000 bits
    ASSERT_TRUE(send(0, b));
    EXPECT_EQ(get32(b, 20), 0x8005u);

    Bytes noHeaderSize = rhoskParam(0x52, 0x8402, 9, 20);
    noHeaderSize[28 + 124] = 0;
    ASSERT_TRUE(send(0, noHeaderSize));
    EXPECT_EQ(get32(noHeaderSize, 20), 0x8005u);

    Bytes probe = rhoskRequest(0xF0001000, 28 + 152);  // opcode 0, the probe after a unit change
    probe[28 + 124] = 0x80;
    probe[28 + 129] = 2;
    ASSERT_TRUE(send(0, probe));
    EXPECT_EQ(get32(probe, 20), 0u);
    EXPECT_EQ(probe[28 + 132], 0);
}

TEST_F(EmulatorDriver, DriverInformationInTheRequestAndTheSlotQuery) {
    Bytes full = rhoskRequest(1, 512);
    uint32_t returned = 0;
    ASSERT_TRUE(send(0, full, &returned));
    EXPECT_EQ(returned, 512u);
    EXPECT_EQ(get32(full, 20), 0u);
    // Version 3.0.2.46, SRL range 35-40, slot level 2 and slot 3.
    const uint16_t expected[] = {3, 0, 2, 46, 35, 40, 2, 3};
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(get16(full, 28 + 96 + 2 * i), expected[i]) << i;

    // The OS layer's 156-byte slot query, sent to each controller; the
    // older family's driver answers it too, without a slot.
    Bytes slot = rhoskRequest(1, 156);
    ASSERT_TRUE(send(1, slot));
    EXPECT_EQ(get16(slot, 28 + 108), 1);

    Bytes tooShort = rhoskRequest(1, 28 + 64);
    ASSERT_TRUE(send(0, tooShort));
    EXPECT_EQ(get32(tooShort, 20), 0x8002u);
}

TEST_F(EmulatorDriver, ManagementLockIsHeldUntilUnlocked) {
    struct Step {
        uint32_t controlCode;
        uint32_t returnCode;
    };
    // lock, lock again (already locked), unlock, unlock again (not locked), lock.
    const Step steps[] = {
        {0xD0000000, 0}, {0xD0000000, 2}, {0xD0000001, 0}, {0xD0000001, 1}, {0xD0000000, 0}};
    for (const Step& s : steps) {
        Bytes b = rhoskRequest(s.controlCode);
        put32(b, 28, 5000);
        ASSERT_TRUE(send(0, b));
        EXPECT_EQ(get32(b, 20), s.returnCode) << std::hex << s.controlCode;
    }
    EXPECT_TRUE(host_->state()["machine"]["controllers"][0]["management_lock"].get<bool>());
}

TEST_F(EmulatorDriver, EmptyEventQueueAnswersNoMoreEvents) {
    for (uint32_t code : {0xE0000001u, 0xE0000002u, 0xE0000003u, 0xE0000004u}) {
        Bytes b = rhoskRequest(code);
        put32(b, 28, 77);  // the caller's event id
        ASSERT_TRUE(send(0, b));
        EXPECT_EQ(get32(b, 20), 1u);
        EXPECT_EQ(get32(b, 28), 0u);
        EXPECT_EQ(get16(b, 36), 0u);  // event code 0: the end of the queue
    }
}

TEST_F(EmulatorDriver, RhoskGetParamAnswersFromTheModel) {
    // Golden request: ControllerInfoTable parameter 9, 20 bytes.
    Bytes b = rhoskParam(0x52, 0x8402, 9, 20);
    ASSERT_EQ(b.size(), 692u);
    const uint8_t header[] = {0x1C, 0, 0,    0, '<',  'K',  'i',  'v',  'r', 'a',
                              '>',  0, 0x3C, 0, 0,    0,    0x00, 0xE0, 0,   0xF0,
                              0,    0, 0,    0, 0x98, 0x02, 0,    0};
    ASSERT_EQ(std::memcmp(b.data(), header, sizeof header), 0);
    ASSERT_TRUE(send(0, b));
    EXPECT_EQ(get32(b, 20), 0u);
    EXPECT_EQ(b[28 + 132], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 188), 20),
              std::string("KVS26021-180274\0\0\0\0\0", 20));

    struct Case {
        uint16_t table;
        uint16_t param;
        uint16_t size;
        uint64_t value;
    };
    const Case numbers[] = {
        {0x8402, 11, 4, 37},                        // compatibility level
        {0x8402, 14, 4, 8},                         // model code
        {0x8403, 3, 1, 8},                          // ports
        {0x8403, 26, 4, 0},                         // host bus bits (absent: 0)
        {0x8403, 28, 1, 1},                         // auto-rebuild default
        {0x8006, 64, 1, 1},                         // BBU enabled default
        {0x8410 + 6, 3, 4, 6 * 1440 | 1440 << 16},  // slot 6: Saturday, all day
    };
    for (const Case& c : numbers) {
        Bytes r = rhoskParam(0x52, c.table, c.param, c.size);
        ASSERT_TRUE(send(0, r));
        EXPECT_EQ(get32(r, 20), 0u) << std::hex << c.table << " " << c.param;
        uint64_t v = 0;
        for (size_t i = 0; i < c.size; ++i)
            v |= uint64_t{r[188 + i]} << (8 * i);
        EXPECT_EQ(v, c.value) << std::hex << c.table << " " << c.param;
    }
}

TEST_F(EmulatorDriver, RhoskParameterErrorsCarryTheControllerCodeAndText) {
    struct Case {
        const char* name;
        Bytes request;
        uint16_t code;
        const char* text;
    };
    const Case cases[] = {
        {"unknown table", rhoskParam(0x52, 0x8477, 1, 4), 0x010B, "Parameter table does not exist"},
        {"table without bit 15", rhoskParam(0x52, 0x0402, 9, 20), 0x010B,
         "Parameter table does not exist"},
        {"drive table of an empty port", rhoskParam(0x52, 0x8203, 3, 40), 0x010B,
         "Parameter table does not exist"},
        {"unknown parameter", rhoskParam(0x52, 0x8402, 99, 4), 0x010C,
         "Parameter index does not exist"},
        {"size differs", rhoskParam(0x52, 0x8402, 9, 16), 0x010F, "Parameter item size mismatch"},
        {"read-only", rhoskParam(0x53, 0x8402, 8, 16, Bytes(16, 'X')), 0x01D2,
         "Parameter not changeable"},
        {"set of an unknown parameter", rhoskParam(0x53, 0x8403, 99, 1, {1}), 0x010C,
         "Parameter index does not exist"},
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(send(0, c.request));
        EXPECT_EQ(get32(c.request, 20), 0x80060000u | c.code);
        EXPECT_NE(c.request[28 + 132], 0);
        EXPECT_EQ(get16(c.request, 28 + 22), c.code);
        std::string text = textAt(c.request, 28 + 26);
        EXPECT_EQ(text, c.text);
        char message[32];
        std::snprintf(message, sizeof message, "(0x03:0x%04X):", c.code);
        EXPECT_EQ(textAt(c.request, 28 + 26 + text.size() + 1), message);
    }
    EXPECT_EQ(host_->state()["machine"]["controllers"][0]["identity"]["model"], "KV-V820-8p");
}

TEST_F(EmulatorDriver, RhoskSetParamChangesTheModel) {
    Bytes set = rhoskParam(0x53, 0x8403, 8, 1, {45});
    ASSERT_TRUE(send(0, set));
    EXPECT_EQ(get32(set, 20), 0u);
    Bytes get = rhoskParam(0x52, 0x8403, 8, 1);
    ASSERT_TRUE(send(0, get));
    EXPECT_EQ(get[188], 45);

    Bytes coercion = rhoskParam(0x53, 0x8403, 21, 8, {0x00, 0xF9, 0x02, 0x95, 0, 0, 0, 0});
    ASSERT_TRUE(send(0, coercion));
    EXPECT_EQ(host_->state()["machine"]["controllers"][0]["settings"]["coercion"].get<uint64_t>(),
              2500000000u);
}

TEST_F(EmulatorDriver, PraneParamsUseTheShortHeaderAndStatusByte) {
    // Golden: 'R' of ControllerInfoTable parameter 9: 52 02 00 00 00 00 01 00
    // and data 02 04 09 14.
    Bytes b = praneParam(0x52, 0x402, 9, 20);
    ASSERT_EQ(b.size(), 1056u);
    const uint8_t packet[] = {0x52, 0x02, 0, 0, 0, 0, 0x01, 0};
    const uint8_t data[] = {0x02, 0x04, 0x09, 0x14};
    ASSERT_EQ(std::memcmp(b.data() + 32, packet, 8), 0);
    ASSERT_EQ(std::memcmp(b.data() + 544, data, 4), 0);
    ASSERT_TRUE(send(1, b));
    EXPECT_EQ(b[36], 0);
    EXPECT_EQ(textAt(b, 548), "KVS19004-120043");

    struct Case {
        const char* name;
        Bytes request;
        uint8_t status;
    };
    const Case cases[] = {
        {"unknown table", praneParam(0x52, 0x407, 3, 4), 0xC1},
        {"newer-family table id", praneParam(0x52, 0x8402, 9, 20), 0xC1},
        {"unknown parameter", praneParam(0x52, 0x402, 11, 4), 0xC1},
        {"size differs", praneParam(0x52, 0x402, 9, 16), 0xC1},
        {"read-only", praneParam(0x53, 0x402, 8, 16), 0xDB},
        {"unsupported opcode", praneParam(0x5F, 0x402, 9, 20), 0xD2},
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(send(1, c.request));
        EXPECT_EQ(c.request[36], c.status);
    }

    Bytes rate = praneParam(0x53, 0x405, 4, 1, {40});
    ASSERT_TRUE(send(1, rate));
    EXPECT_EQ(rate[36], 0);
    EXPECT_EQ(host_->state()["machine"]["controllers"][1]["tasks"]["rate_code_b"], 40);
}

TEST_F(EmulatorDriver, PraneDriverRefusesTheNewerFamilyRequests) {
    Bytes lock = rhoskRequest(0xD0000000);
    EXPECT_FALSE(send(1, lock));
    EXPECT_EQ(host_->getLastError(), 1u);
    Bytes misaligned = request("Kivra  ", 0, 600, 10);
    EXPECT_FALSE(send(1, misaligned));
    EXPECT_EQ(host_->getLastError(), 87u);
}

TEST_F(EmulatorDriver, FaultRulesFireTheirCountAndAtTheirLayer) {
    json state = testHost();
    state["faults"] = json::array({
        {{"match",
          {{"layer", "firmware"}, {"opcode", "0x12"}, {"table", "0x0402"}, {"parameter", 9}}},
         {"action", {{"status", 1}, {"code", "0x0204"}}},
         {"count", 2}},
        {{"match", {{"layer", "driver"}, {"kind", "commit"}}},
         {"action", {{"return_code", "0x8007"}}},
         {"count", "once"}},
        {{"match", {{"layer", "os"}, {"kind", "ioctl"}, {"controller", 1}}},
         {"action", {{"os_error", 1117}}},
         {"count", "always"}},
        {{"match", {{"layer", "driver"}, {"kind", "driver_info"}}},
         {"action", {{"short_reply", 100}}}},
    });
    open(state);
    for (int round = 0; round < 3; ++round) {
        Bytes b = rhoskParam(0x52, 0x8402, 9, 20);
        ASSERT_TRUE(send(0, b));
        uint32_t expected = round < 2 ? 0x80060204u : 0u;
        EXPECT_EQ(get32(b, 20), expected) << round;
        if (round < 2) {
            EXPECT_EQ(textAt(b, 28 + 26), "Drive timeout");
        }
    }
    for (uint32_t expected : {0x8007u, 0u}) {
        Bytes b = rhoskRequest(0xFFFF0002);
        ASSERT_TRUE(send(0, b));
        EXPECT_EQ(get32(b, 20), expected);
    }
    for (int round = 0; round < 3; ++round) {
        Bytes b = praneParam(0x52, 0x402, 9, 20);
        EXPECT_FALSE(send(1, b));
        EXPECT_EQ(host_->getLastError(), 1117u);
    }
    uint32_t returned = 0;
    Bytes info = rhoskRequest(1);
    ASSERT_TRUE(send(0, info, &returned));
    EXPECT_EQ(returned, 100u);
    Bytes again = rhoskRequest(1);
    ASSERT_TRUE(send(0, again, &returned));
    EXPECT_EQ(returned, 512u);

    const json& faults = host_->state()["faults"];
    EXPECT_EQ(faults[0]["count"], 0);
    EXPECT_EQ(faults[0]["fired"], 2);
    EXPECT_EQ(faults[2]["count"], "always");
    EXPECT_EQ(faults[2]["fired"], 3);
}

}  // namespace
}  // namespace emulator_driver_test
