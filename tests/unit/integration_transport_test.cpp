// The driver transport and both families' parameter access through the
// real library over the emulated drivers and firmware: what each request
// looks like when it reaches the driver, how the driver's and the
// firmware's answers become the error record, and that every operation
// closes what it opened and releases the lock it took.
#include <functional>
#include <stdexcept>

#include "api/api.h"
#include "api/device_io.h"
#include "api/prane/prane_family.h"
#include "api/rhosk/rhosk_family.h"
#include "integration_host.h"

namespace integration::integration_transport_test {
namespace {

// c0: a newer-family controller with unit 0; c1: an older-family one.
json TwoFamilies(const json& newer = json::object()) {
    json rhosk = RhoskController(
        6, 8, "NEWER0001",
        {{"settings", {{"stagger", 2}, {"ports", 8}}}, {"units", json::array({{{"number", 0}}})}});
    rhosk.merge_patch(newer);
    return IntegrationTest::Machine(
        json::array({rhosk, PraneController("OLDER0001", {{"settings", {{"ports", 2}}}})}));
}

ObjectId Unit(uint8_t controller, uint8_t unit) {
    ObjectId id = ObjectId::Blank();
    EXPECT_EQ(Api::MakeUnitId(controller, 0xFF, unit, 0xFF, 0xFF, &id), 0);
    return id;
}

// One request of `kind` to controller 0, straight through the transport;
// a firmware command (kind 0x108) carries `opcode`, packet byte 6 and
// `dataLength` data bytes, the other kinds a 112-byte block.
int32_t SendRequest(uint32_t kind, uint8_t opcode = 0, uint8_t byte6 = 0,
                    uint32_t dataLength = 112) {
    ObjectId c0 = ControllerId(0);
    uint32_t handle = 0;
    if (DeviceIo::OpenController(&c0, &handle) != 0)
        return -1;
    RhoskRequest request{};
    request.kind = kind;
    FirmwareCommandBuffer command{};
    command.packet()[FirmwareCommandBuffer::kOpcode] = opcode;
    command.packet()[FirmwareCommandBuffer::kCommandSize] = 2;
    command.packet()[FirmwareCommandBuffer::kField6] = byte6;
    std::vector<uint8_t> data(dataLength);
    int32_t result = DeviceIo::SendRhoskRequest(
        &handle, &request, &command, dataLength ? data.data() : nullptr, dataLength, 0, 0xFF);
    (void)DeviceIo::CloseController(handle);
    return result;
}

int32_t SendFirmwareCommand(uint8_t opcode, uint8_t byte6, uint32_t dataLength) {
    return SendRequest(kRequestFirmwareCommand, opcode, byte6, dataLength);
}

class IntegrationTransport : public IntegrationTest {
  protected:
    // Installs the machine as a host file, lists its controllers, then
    // arms the fault rules and forgets the discovery's traffic.
    emulator::EmulatedHost& Start(const json& state, const json& faults = json::array()) {
        emulator::EmulatedHost& host = InstallFile(state);
        ObjectIdList16 list;
        EXPECT_EQ(Api::GetControllerIdList(&list), 0);
        EXPECT_EQ(list.count, 2u);
        SetFaults(faults);
        ClearTraffic();
        ApiError::Clear();
        return host;
    }
};

TEST_F(IntegrationTransport, RequestsReachTheDriversWithTheirSizesCodesAndTimeouts) {
    const ObjectId c0 = ControllerId(0);
    const ObjectId c1 = ControllerId(1);
    struct Case {
        const char* what;
        std::function<int32_t()> operation;
        size_t size;
        const char* signature;
        uint32_t timeout;
        uint32_t controlCode;
    } cases[] = {
        {"newer parameter read",
         [&] {
             char serial[32];
             return RhoskFamily::GetParam(c0, serial, sizeof serial, 0x402, 9, 20);
         },
         28 + 152 + 512, "<Kivra>", 60, 0xF000E000},
        {"newer parameter write",
         [&] {
             uint8_t stagger = 3;
             return RhoskFamily::SetParam(c0, &stagger, 1, 0x403, 8, 1);
         },
         28 + 152 + 512, "<Kivra>", 60, 0xF000E000},
        {"management lock", [&] { return RhoskFamily::LockController(c0, 5000); }, 512, "<Kivra>",
         60, 0xD0000000},
        {"management unlock", [&] { return RhoskFamily::UnlockController(c0); }, 512, "<Kivra>", 60,
         0xD0000001},
        {"commit", [&] { return RhoskFamily::CommitTransactions(c0); }, 512, "<Kivra>", 60,
         0xFFFF0002},
        // The queue is empty: ReturnCode 1, which the event kinds ignore.
        {"first event", [] { return SendRequest(kRequestFirstEvent); }, 512, "<Kivra>", 60,
         0xE0000001},
        {"opcode 0x00 without data", [] { return SendFirmwareCommand(0x00, 0, 0); }, 28 + 152,
         "<Kivra>", 60, 0xF0001000},
        {"image chunk", [] { return SendFirmwareCommand(0x56, 8, 100); }, 28 + 152 + 512, "<Kivra>",
         240, 0xF000E000},
        {"long ATA pass-through", [] { return SendFirmwareCommand(0xB1, 0x81, 4); }, 28 + 396 + 512,
         "<Kivra>", 60, 0xF000E000},
        {"older parameter read",
         [&] {
             char serial[20];
             return PraneFamily::GetParam(c1, 0x402, 9, 20, serial, 0);
         },
         544 + 512, "Kivra  ", 10, 0},
        {"older parameter of 509 bytes",
         [&] {
             std::vector<uint8_t> block(509);
             (void)PraneFamily::GetParam(c1, 0x300, 6, 509, block.data(), 0);
             return 0;
         },
         544 + 1024, "Kivra  ", 10, 0},
    };
    Start(TwoFamilies());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearTraffic();
        (void)c.operation();
        ASSERT_FALSE(sent_.empty());
        const SentRequest& sent = sent_.back();
        EXPECT_EQ(sent.size(), c.size);
        EXPECT_EQ(sent.signature(), c.signature);
        EXPECT_EQ(sent.timeout(), c.timeout);
        EXPECT_EQ(sent.controlCode(), c.controlCode);
        // The emulated driver took the envelope and the opcode's flag bits.
        const std::vector<json> requests = Requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_NE(requests.back().value("result", ""), "os_error") << requests.back().dump();
        const uint32_t error = requests.back().value("error", 0u);
        EXPECT_TRUE(error != 0x8001 && error != 0x8002 && error != 0x8005)
            << requests.back().dump();
        EXPECT_TRUE(OpensAreClosed(Log()));
    }
    (void)RhoskFamily::UnlockController(c0);
}

TEST_F(IntegrationTransport, RequestsTheTransportRefusesAreNeverSent) {
    struct Case {
        const char* what;
        std::function<int32_t()> send;
        const char* message;
    } cases[] = {
        {"opcode outside the table", [] { return SendFirmwareCommand(0x02, 0, 0); },
         "(0x0B:0x0006): Invalid firmware opcode"},
        {"kind outside 0x101-0x109", [] { return SendRequest(0x10A); },
         "(0x0B:0x0005): Invalid driver control code"},
    };
    Start(TwoFamilies());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearTraffic();
        EXPECT_EQ(c.send(), -1);
        EXPECT_EQ(LastMessage(), c.message);
        EXPECT_TRUE(sent_.empty());
        EXPECT_TRUE(Requests().empty());
        EXPECT_TRUE(OpensAreClosed(Log()));
    }
}

TEST_F(IntegrationTransport, ReturnCodesOfTheDriverKinds) {
    const ObjectId c0 = ControllerId(0);
    struct Case {
        const char* what;
        bool held;  // the management lock is held before the call
        json faults;
        std::function<int32_t()> operation;
        int32_t result;
        const char* message;
        size_t requests;
    } cases[] = {
        {"lock of a locked controller", true, json::array(),
         [&] { return RhoskFamily::LockController(c0, 5000); }, -1, "(0x07:0x1002): Already locked",
         10},
        {"lock answered another ReturnCode", false,
         json::array(
             {Fault({{"layer", "driver"}, {"kind", "lock"}}, {{"return_code", 3}}, "always")}),
         [&] { return RhoskFamily::LockController(c0, 5000); }, -1, nullptr, 10},
        {"lock that succeeds on the third try", false,
         json::array({Fault({{"layer", "driver"}, {"kind", "lock"}}, {{"return_code", 2}}, 2)}),
         [&] { return RhoskFamily::LockController(c0, 5000); }, 0, "", 3},
        {"unlock of an unlocked controller", false, json::array(),
         [&] { return RhoskFamily::UnlockController(c0); }, 0, "", 1},
        {"unlock answered an error ReturnCode", true,
         json::array(
             {Fault({{"layer", "driver"}, {"kind", "unlock"}}, {{"return_code", "0x8001"}})}),
         [&] { return RhoskFamily::UnlockController(c0); }, 0, "", 1},
        {"unlock that fails in Windows", true,
         json::array({Fault({{"layer", "os"}, {"kind", "ioctl"}}, {{"os_error", 31}})}),
         [&] { return RhoskFamily::UnlockController(c0); }, -1,
         "(0x0A:0x001F): A device attached to the system is not functioning.\r\n", 1},
        {"event queue empty", false, json::array(), [] { return SendRequest(kRequestNextEvent); },
         0, "", 1},
        {"event answered ReturnCode 3", false,
         json::array({Fault({{"layer", "driver"}, {"kind", "event_next"}}, {{"return_code", 3}})}),
         [] { return SendRequest(kRequestNextEvent); }, -1, nullptr, 1},
        {"firmware error inside ReturnCode 0x8006", false,
         json::array({Fault({{"layer", "firmware"}, {"opcode", "0x13"}},
                            {{"status", 1}, {"code", "0x010F"}})}),
         [&] {
             uint8_t value = 1;
             return RhoskFamily::SetParam(c0, &value, 1, 0x403, 8, 1);
         },
         -1, "(0x03:0x010F): Parameter item size mismatch", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetLibrary();
        Start(TwoFamilies({{"management_lock", c.held}}), c.faults);
        EXPECT_EQ(c.operation(), c.result);
        const std::string message = LastMessage();
        if (c.result == 0) {
            // Success: the lock and the unlock do not look at the record.
        } else if (c.message != nullptr) {
            EXPECT_EQ(message, c.message);
        } else {
            // A driver error of the newer family, with the driver's code.
            EXPECT_EQ(message.rfind("(0x07:0x0003): ", 0), 0u) << message;
        }
        EXPECT_EQ(Requests().size(), c.requests);
        EXPECT_TRUE(OpensAreClosed(Log()));
    }
}

TEST_F(IntegrationTransport, OsDriverAndControllerErrorsOfOneRequestStandTogether) {
    // The driver answers a ReturnCode and the firmware's error in one
    // reply, which Windows delivers as "more data".
    const json combined =
        Fault({{"layer", "driver"}, {"kind", "firmware"}, {"opcode", "0x12"}},
              {{"os_error", 234}, {"return_code", "0x8003"}, {"status", 1}, {"code", "0x010F"}});
    Start(TwoFamilies(), json::array({combined}));
    char model[64];
    std::memset(model, 'x', sizeof model);
    EXPECT_EQ(RhoskFamily::GetParam(ControllerId(0), model, sizeof model, 0x402, 8, 16), -1);
    ApiErrorRecord record;
    Api::GetLastErrorRecord(&record);
    EXPECT_EQ(record.flags, kApiErrorOs | kApiErrorRhoskDriver | kApiErrorRhoskController);
    EXPECT_EQ(record.osCode, 234u);
    EXPECT_EQ(record.driverCode, 0x8003u);
    EXPECT_EQ(record.controllerCode, 0x010Fu);
    const std::string message = record.message;
    // Windows' own text keeps its line break; the lines are joined by one
    // newline each.
    EXPECT_EQ(message,
              "(0x0A:0x00EA): More data is available.\r\n\n"
              "(0x07:0x8003): firmware failed initialization\n"
              "(0x03:0x010F): Parameter item size mismatch");
    // A failed read leaves the caller's buffer zero.
    EXPECT_EQ(std::string(model, sizeof model), std::string(sizeof model, '\0'));
    EXPECT_TRUE(OpensAreClosed(Log()));
}

TEST_F(IntegrationTransport, TheFirmwaresStrictCodesBecomeTheComposedMessage) {
    const ObjectId c0 = ControllerId(0);
    const ObjectId c1 = ControllerId(1);
    char buffer[64];
    // The older family's packet status is a driver code, and its driver
    // table has no texts.
    const auto praneNotFound = [](const std::string& status) {
        return "(0x12:0x00" + status + "): Prane driver message not found";
    };
    struct Case {
        const char* what;
        std::function<int32_t()> operation;
        std::string message;
    } cases[] = {
        {"newer: no such table",
         [&] { return RhoskFamily::GetParam(c0, buffer, sizeof buffer, 0x0450, 2, 4); },
         "(0x03:0x010B): Parameter table does not exist"},
        {"newer: no such unit",
         [&] { return RhoskFamily::GetParam(c0, buffer, sizeof buffer, 0x0305, 13, 1); },
         "(0x03:0x010B): Parameter table does not exist"},
        {"newer: no such parameter",
         [&] { return RhoskFamily::GetParam(c0, buffer, sizeof buffer, 0x0402, 99, 4); },
         "(0x03:0x010C): Parameter index does not exist"},
        {"newer: size differs",
         [&] { return RhoskFamily::GetParam(c0, buffer, sizeof buffer, 0x0402, 9, 19); },
         "(0x03:0x010F): Parameter item size mismatch"},
        {"newer: read-only",
         [&] {
             uint8_t ports = 4;
             return RhoskFamily::SetParam(c0, &ports, 1, 0x0403, 3, 1);
         },
         "(0x03:0x01D2): Parameter not changeable"},
        {"older: no such table", [&] { return PraneFamily::GetParam(c1, 0x0450, 2, 4, buffer, 0); },
         praneNotFound("C1")},
        {"older: no such parameter",
         [&] { return PraneFamily::GetParam(c1, 0x0402, 99, 4, buffer, 0); }, praneNotFound("C1")},
        {"older: size differs", [&] { return PraneFamily::GetParam(c1, 0x0402, 9, 19, buffer, 0); },
         praneNotFound("C1")},
        {"older: read-only",
         [&] {
             uint8_t ports = 4;
             return PraneFamily::SetParam(c1, 0x0403, 3, 1, &ports, 0);
         },
         praneNotFound("DB")},
    };
    Start(TwoFamilies());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearTraffic();
        EXPECT_EQ(c.operation(), -1);
        const std::string message = LastMessage();
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(Requests().size(), 1u);
        EXPECT_TRUE(OpensAreClosed(Log()));
    }
}

TEST_F(IntegrationTransport, ParameterWritesAreReadBackAndSurviveAReload) {
    struct Case {
        const char* what;
        std::function<int32_t(uint8_t)> write;
        std::function<int32_t(uint8_t*)> read;
    } cases[] = {
        {"newer: stagger time",
         [](uint8_t v) { return RhoskFamily::SetParam(ControllerId(0), &v, 1, 0x403, 8, 1); },
         [](uint8_t* v) { return RhoskFamily::GetParam(ControllerId(0), v, 4, 0x403, 8, 1); }},
        {"newer: unit auto-verify",
         [](uint8_t v) { return RhoskFamily::SetParam(Unit(0, 0), &v, 1, 0x300, 14, 1); },
         [](uint8_t* v) { return RhoskFamily::GetParam(Unit(0, 0), v, 4, 0x300, 14, 1); }},
        {"older: task rate code",
         [](uint8_t v) { return PraneFamily::SetParam(ControllerId(1), 0x405, 3, 1, &v, 0); },
         [](uint8_t* v) { return PraneFamily::GetParam(ControllerId(1), 0x405, 3, 1, v, 0); }},
    };
    InstallFile(TwoFamilies());
    uint8_t value = 0x10;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ++value;
        ASSERT_EQ(c.write(value), 0) << LastMessage();
        uint8_t back[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        ASSERT_EQ(c.read(back), 0) << LastMessage();
        EXPECT_EQ(back[0], value);
    }
    // A new run reads the host file again.
    Reload();
    value = 0x10;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ++value;
        uint8_t back[4] = {};
        ASSERT_EQ(c.read(back), 0) << LastMessage();
        EXPECT_EQ(back[0], value);
    }
    EXPECT_TRUE(OpensAreClosed(Log()));
}

// The unit and port summaries are derived once per version of the host
// file: a unit or drive another run added shows in this run's next read.
TEST_F(IntegrationTransport, SummariesFollowAChangeAnotherRunWrote) {
    struct Case {
        const char* what;
        uint16_t table;
        int32_t size;
        size_t slot;  // the byte of the unit or port the change adds
        std::function<void(json&)> change;
    };
    const Case cases[] = {
        {"unit summary", 0x0003, 32, 1,
         [](json& c0) {
             c0["units"].push_back({{"number", 1}});
         }},
        {"port summary", 0x0002, 128, 5,
         [](json& c0) {
             c0["drives"] = json::array({{{"port", 5}, {"status", 3}}});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InstallFile(TwoFamilies());
        auto read = [&] {
            uint8_t summary[128] = {};
            EXPECT_EQ(
                RhoskFamily::GetParam(ControllerId(0), summary, sizeof summary, c.table, 3, c.size),
                0)
                << LastMessage();
            return summary[c.slot];
        };
        EXPECT_EQ(read(), 0);
        ChangeHostFile([&](json& state) { c.change(state["machine"]["controllers"][0]); });
        EXPECT_NE(read(), 0);
    }
}

TEST_F(IntegrationTransport, TheManagementLockIsReleasedOnEveryPath) {
    const auto setBit = [](int parameter) {
        return json{{"layer", "firmware"},
                    {"opcode", "0x13"},
                    {"table", "0x0300"},
                    {"parameter", parameter}};
    };
    const json fails = {{"status", 1}, {"code", "0x0204"}};
    struct Case {
        const char* what;
        json faults;
        int32_t result;
        size_t unlocks;
    } cases[] = {
        {"change succeeds", json::array(), 0, 1},
        {"first bit write fails", json::array({Fault(setBit(13), fails)}), -1, 1},
        {"second bit write fails", json::array({Fault(setBit(29), fails)}), -1, 1},
        {"bit read fails",
         json::array(
             {Fault({{"layer", "firmware"}, {"opcode", "0x12"}, {"table", "0x0300"}}, fails)}),
         -1, 1},
        {"lock refused",
         json::array(
             {Fault({{"layer", "driver"}, {"kind", "lock"}}, {{"return_code", 2}}, "always")}),
         -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetLibrary();
        emulator::EmulatedHost& host = Start(TwoFamilies(), c.faults);
        EXPECT_EQ(RhoskFamily::DisableReadCache(Unit(0, 0)), c.result) << LastMessage();
        const std::vector<json> log = Log();
        EXPECT_TRUE(LocksAreReleased(log));
        EXPECT_TRUE(OpensAreClosed(log));
        size_t unlocks = 0;
        for (const json& r : Requests())
            unlocks += r.value("kind", "") == "unlock";
        EXPECT_EQ(unlocks, c.unlocks);
        EXPECT_FALSE(host.state()["machine"]["controllers"][0].value("management_lock", false));
        if (c.result != 0) {
            // The change's error stays in the record, not the unlock's.
            EXPECT_NE(LastMessage(), "");
        }
    }
}

// An exception that passes through a change made under the lock (the
// first bit write throws) leaves the controller unlocked: the release is
// sent on the way out, and the next change takes the lock again.
TEST_F(IntegrationTransport, AnExceptionThroughALockedChangeReleasesTheLock) {
    emulator::EmulatedHost& host = Start(TwoFamilies(), json::array());
    watch_ = [](const SentRequest& request) {
        const bool paramSet = request.size() > 28 + 128 && request.controlCode() == 0xF000E000u &&
                              (request.bytes[28 + 128] & 0x1F) == 0x13;
        if (paramSet)
            throw std::runtime_error("the step fails");
    };
    EXPECT_THROW((void)RhoskFamily::DisableReadCache(Unit(0, 0)), std::runtime_error);
    watch_ = nullptr;
    EXPECT_TRUE(LocksAreReleased(Log()));
    EXPECT_FALSE(host.state()["machine"]["controllers"][0].value("management_lock", false));
    EXPECT_EQ(RhoskFamily::DisableReadCache(Unit(0, 0)), 0) << LastMessage();
}

}  // namespace
}  // namespace integration::integration_transport_test
