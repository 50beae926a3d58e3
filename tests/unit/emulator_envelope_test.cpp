// The emulated drivers and firmware refuse a request that breaks what the
// library is meant to send, one broken rule at a time, the way a driver
// refuses it, and the request log says why.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "emulator/emulated_host.h"
#include "emulator_requests.h"
#include "test_folder.h"

namespace emulator_envelope_test {
namespace {

using namespace emulator_requests;
namespace fs = std::filesystem;

json envelopeHost() {
    json state = emulator::EmulatedHost::defaultHost();
    state["request_log"] = "requests.jsonl";
    json& controllers = state["machine"]["controllers"];
    controllers = json::array();
    controllers.push_back({{"device_type", 5},
                           {"identity", {{"compat_level", 37}, {"model_code", 8}}},
                           {"settings", {{"ports", 8}}}});
    controllers.push_back({{"device_type", 1}, {"settings", {{"ports", 2}}}});
    return state;
}

// A firmware command of the newer family with its packet's first bytes and
// `data` bytes of data.
Bytes firmware(uint32_t controlCode, std::vector<uint8_t> packet, size_t data = 0,
               uint32_t timeout = 60) {
    Bytes b = request("<Kivra>", controlCode, 28 + 152 + data, timeout);
    b[28 + 124] = 0x80;
    std::copy(packet.begin(), packet.end(), b.begin() + 28 + 128);
    return b;
}

Bytes chunk() {
    return firmware(0xF000E000, {0x56, 2, 0, 0, 0, 0, 8, 0}, 512, 240);
}

Bytes verifyStart() {
    return firmware(0xF0000000, {0x05, 2, 0, 0, 0, 0, 0, 1});
}

// The unit update of unit 0 with `action` in byte 10 and 1980 zero bytes
// of data, which the split (2) and the join of a mirror (8) do not count
// in bytes 6-7.
Bytes unitUpdate(uint8_t action) {
    return firmware(0xF000E000, {0x6F, 3, 0, 0, 0, 0, 0, 0, 1, 0, action}, 2048);
}
Bytes split() {
    return unitUpdate(2);
}
Bytes addMirror() {
    return unitUpdate(8);
}
Bytes flush() {
    return firmware(0xF0000000, {0x0E, 2});
}
Bytes deleteUnit() {
    return firmware(0xF0000000, {0x15, 2, 0, 0, 0, 0, 0, 0x80});
}
Bytes importScan() {
    return firmware(0xF0000000, {0x07, 6, 0, 0, 0, 0, 0, 0, 1});
}

// Changes the buffer's size and keeps its Length field true to it.
void resize(Bytes& b, size_t size) {
    b.resize(size, 0);
    if (size >= 28)
        put32(b, 24, static_cast<uint32_t>(size - 28));
}

struct Row {
    const char* name;
    size_t controller;
    Bytes (*make)();
    void (*spoil)(Bytes&);
    uint32_t osError;     // the call fails with it; 0: it succeeds
    uint32_t returnCode;  // the ReturnCode of a call that succeeds
    uint8_t praneStatus;  // the older-family packet status
    const char* reason;
};

Bytes commit() {
    return rhoskRequest(0xFFFF0002);
}
Bytes info() {
    return rhoskRequest(1);
}
Bytes event() {
    return rhoskRequest(0xE0000001);
}
Bytes lock() {
    return rhoskRequest(0xD0000000);
}
Bytes unlock() {
    return rhoskRequest(0xD0000001);
}
Bytes get() {
    return rhoskParam(0x52, 0x8402, 9, 20);
}
Bytes praneGet() {
    return praneParam(0x52, 0x0402, 9, 20);
}

const Row kRows[] = {
    // The port driver's envelope, whatever the kind.
    {"header length", 0, commit, [](Bytes& b) { put32(b, 0, 24); }, 87, 0, 0,
     "HeaderLength is 24, expected 28"},
    {"length field", 0, commit, [](Bytes& b) { put32(b, 24, 500); }, 87, 0, 0,
     "Length is 500, expected 484"},
    {"shorter than the header", 0, commit, [](Bytes& b) { b.resize(20); }, 87, 0, 0,
     "buffer of 20 bytes, shorter than the header"},
    {"another family's signature", 0, commit,
     [](Bytes& b) { std::memcpy(b.data() + 4, "Kivra  ", 8); }, 1, 0, 0,
     "signature not this driver's"},
    {"unknown control code", 0, commit, [](Bytes& b) { put32(b, 16, 0x12345678); }, 0, 0x8001, 0,
     "ControlCode 0x12345678 unknown"},

    // The newer family's driver requests: Timeout 60 and 512 bytes.
    {"driver info timeout", 0, info, [](Bytes& b) { put32(b, 12, 30); }, 0, 0x8005, 0,
     "Timeout is 30, expected 60"},
    {"driver info size", 0, info, [](Bytes& b) { resize(b, 228); }, 0, 0x8005, 0,
     "Length is 200, expected 484 or 128"},
    {"driver info too short", 0, info, [](Bytes& b) { resize(b, 28 + 64); }, 0, 0x8002, 0,
     "Length 64, shorter than the 128 bytes of the request"},
    {"event timeout", 0, event, [](Bytes& b) { put32(b, 12, 10); }, 0, 0x8005, 0,
     "Timeout is 10, expected 60"},
    {"event size", 0, event, [](Bytes& b) { resize(b, 1024); }, 0, 0x8005, 0,
     "Length is 996, expected 484"},
    {"event too short", 0, event, [](Bytes& b) { resize(b, 28 + 100); }, 0, 0x8002, 0,
     "Length 100, shorter than the 112 bytes of the request"},
    {"lock timeout", 0, lock, [](Bytes& b) { put32(b, 12, 240); }, 0, 0x8005, 0,
     "Timeout is 240, expected 60"},
    {"lock size", 0, lock, [](Bytes& b) { resize(b, 28 + 12); }, 0, 0x8005, 0,
     "Length is 12, expected 484"},
    {"unlock timeout", 0, unlock, [](Bytes& b) { put32(b, 12, 0); }, 0, 0x8005, 0,
     "Timeout is 0, expected 60"},
    {"unlock size", 0, unlock, [](Bytes& b) { resize(b, 1024); }, 0, 0x8005, 0,
     "Length is 996, expected 484"},
    {"commit timeout", 0, commit, [](Bytes& b) { put32(b, 12, 10); }, 0, 0x8005, 0,
     "Timeout is 10, expected 60"},
    {"commit size", 0, commit, [](Bytes& b) { resize(b, 28); }, 0, 0x8005, 0,
     "Length is 0, expected 484"},

    // Firmware commands: the driver's checks.
    {"command too short", 0, get, [](Bytes& b) { resize(b, 28 + 100); }, 0, 0x8002, 0,
     "Length 100, shorter than the 152 bytes of the command"},
    {"data area not whole sectors", 0, get, [](Bytes& b) { resize(b, b.size() + 100); }, 0, 0x8002,
     0, "data area of 612 bytes, not whole sectors"},
    {"header-size byte", 0, get, [](Bytes& b) { b[28 + 124] = 0; }, 0, 0x8005, 0,
     "header-size byte is 0x00, expected 0x80"},
    {"flag bits", 0, get, [](Bytes& b) { put32(b, 16, 0xF0000000); }, 0, 0x8005, 0,
     "ControlCode is 0xF0000000, expected 0xF000E000 for opcode 0x12"},
    {"parameter timeout", 0, get, [](Bytes& b) { put32(b, 12, 240); }, 0, 0x8005, 0,
     "Timeout is 240, expected 60"},
    {"parameter data area too long", 0, get, [](Bytes& b) { resize(b, b.size() + 512); }, 0, 0x8005,
     0, "data area of 1024 bytes, expected 512 for a 20-byte parameter"},
    {"parameter data area too short", 0, get, [](Bytes& b) { put16(b, 184, 600); }, 0, 0x8002, 0,
     "data area of 512 bytes, expected 1024 for a 600-byte parameter"},
    {"image chunk timeout", 0, chunk, [](Bytes& b) { put32(b, 12, 60); }, 0, 0x8005, 0,
     "Timeout is 60, expected 240"},
    {"data for a command without data", 0, verifyStart, [](Bytes& b) { resize(b, b.size() + 512); },
     0, 0x8005, 0, "data area of 512 bytes, opcode 0x05 takes none"},

    // Firmware commands: the controller's checks of the packet.
    {"parameter opcode byte", 0, get, [](Bytes& b) { b[28 + 128] = 0x12; }, 0, 0x80060101, 0,
     "packet byte 0 is 0x12, expected 0x52"},
    {"parameter size byte", 0, get, [](Bytes& b) { b[28 + 129] = 3; }, 0, 0x8006010D, 0,
     "packet byte 1 is 3, expected 2"},
    {"parameter count", 0, get, [](Bytes& b) { put16(b, 28 + 134, 2); }, 0, 0x8006010D, 0,
     "packet word 6 is 2, expected 1"},
    {"verify byte 6", 0, verifyStart, [](Bytes& b) { b[28 + 134] = 1; }, 0, 0x8006010D, 0,
     "packet byte 6 is 1, expected 0"},
    {"split with a data length", 0, split, [](Bytes& b) { put16(b, 28 + 134, 1980); }, 0,
     0x8006010D, 0, "packet word 6 is 1980, expected 0"},
    {"mirror join with a data length", 0, addMirror, [](Bytes& b) { put16(b, 28 + 134, 1980); }, 0,
     0x8006010D, 0, "packet word 6 is 1980, expected 0"},
    {"flush byte 7", 0, flush, [](Bytes& b) { b[28 + 135] = 1; }, 0, 0x8006010D, 0,
     "packet word 6 is 256, expected 0"},
    {"delete byte 6", 0, deleteUnit, [](Bytes& b) { b[28 + 134] = 0x80; }, 0, 0x8006010D, 0,
     "packet byte 6 is 128, expected 0"},
    {"import scan word 6", 0, importScan, [](Bytes& b) { put16(b, 28 + 134, 32); }, 0, 0x8006010D,
     0, "packet word 6 is 32, expected 0"},

    // The older family: its driver fails the call, its firmware answers
    // the packet's status.
    {"older control code", 1, praneGet, [](Bytes& b) { put32(b, 16, 1); }, 87, 0, 0,
     "ControlCode is 0x00000001, expected 0"},
    {"older timeout", 1, praneGet, [](Bytes& b) { put32(b, 12, 60); }, 87, 0, 0,
     "Timeout is 60, expected 10"},
    {"older reserved bytes", 1, praneGet, [](Bytes& b) { b[28] = 1; }, 87, 0, 0,
     "bytes 28-31 hold 0x00000001, expected 0"},
    {"older packet cut short", 1, praneGet, [](Bytes& b) { resize(b, 28 + 100); }, 87, 0, 0,
     "buffer of 128 bytes, shorter than the packet"},
    {"older data area not whole sectors", 1, praneGet, [](Bytes& b) { resize(b, b.size() + 100); },
     87, 0, 0, "data area of 612 bytes, not whole sectors"},
    {"older opcode byte", 1, praneGet, [](Bytes& b) { b[32] = 0x12; }, 0, 0, 0xD2,
     "packet byte 0 is 0x12, expected 0x52"},
    {"older size byte", 1, praneGet, [](Bytes& b) { b[33] = 3; }, 0, 0, 0xDB,
     "packet byte 1 is 3, expected 2"},
    {"older count", 1, praneGet, [](Bytes& b) { put16(b, 38, 2); }, 0, 0, 0xDB,
     "packet word 6 is 2, expected 1"},
    {"older parameter data area", 1, praneGet, [](Bytes& b) { resize(b, b.size() + 512); }, 0, 0,
     0xC1, "data area of 1024 bytes, expected 512"},
};

class EmulatorEnvelope : public EmulatedControllers {
  protected:
    void SetUp() override {
        folder_ = FreshTestFolder("kv_envelope");
        open(envelopeHost(), folder_.string());
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    // The request log's record of the last request.
    json lastRequest() const {
        std::ifstream in(folder_ / "requests.jsonl");
        json found;
        for (std::string line; std::getline(in, line);) {
            json record = json::parse(line);
            if (record["op"] == "request")
                found = record;
        }
        return found;
    }

    fs::path folder_;
};

TEST_F(EmulatorEnvelope, EachBrokenRuleIsRefusedWithTheDriversAnswerAndItsReason) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        Bytes b = row.make();
        row.spoil(b);
        const bool ok = send(row.controller, b);
        EXPECT_EQ(ok, row.osError == 0);
        if (!ok) {
            EXPECT_EQ(host_->getLastError(), row.osError);
        } else if (row.controller == 0) {
            EXPECT_EQ(get32(b, 20), row.returnCode);
        } else {
            EXPECT_EQ(b[36], row.praneStatus);
        }
        EXPECT_EQ(lastRequest().value("reason", ""), row.reason);
    }
}

TEST_F(EmulatorEnvelope, SoundRequestsOfEveryKindPass) {
    const Row sound[] = {
        {"driver info", 0, info, nullptr, 0, 0, 0, ""},
        {"slot query", 0, [] { return rhoskRequest(1, 156); }, nullptr, 0, 0, 0, ""},
        {"lock", 0, lock, nullptr, 0, 0, 0, ""},
        {"unlock", 0, unlock, nullptr, 0, 0, 0, ""},
        {"commit", 0, commit, nullptr, 0, 0, 0, ""},
        {"parameter", 0, get, nullptr, 0, 0, 0, ""},
        {"older parameter", 1, praneGet, nullptr, 0, 0, 0, ""},
    };
    for (const Row& row : sound) {
        SCOPED_TRACE(row.name);
        Bytes b = row.make();
        ASSERT_TRUE(send(row.controller, b));
        if (row.controller == 0)
            EXPECT_EQ(get32(b, 20), 0u);
        else
            EXPECT_EQ(b[36], 0);
        EXPECT_FALSE(lastRequest().contains("reason"));
    }
}

TEST_F(EmulatorEnvelope, AnOutputBufferOtherThanTheInputFailsTheCall) {
    Bytes b = commit();
    Bytes reply(256, 0);
    platform::Handle h = host_->createFile(paths_.at(0).c_str(), 0xC0000000u, 3);
    uint32_t returned = 0;
    EXPECT_FALSE(host_->deviceIoControl(h, kMiniport, b.data(), static_cast<uint32_t>(b.size()),
                                        reply.data(), static_cast<uint32_t>(reply.size()),
                                        &returned));
    EXPECT_EQ(host_->getLastError(), 87u);
    host_->closeHandle(h);
    EXPECT_EQ(lastRequest().value("reason", ""), "output buffer of 256 bytes, input of 512");
}

}  // namespace
}  // namespace emulator_envelope_test
