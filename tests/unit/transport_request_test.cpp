// The request buffers that the transport builds, as they reach the seam,
// and how it turns the answers into results and error records.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "api/api.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/driver.h"
#include "fake_host.h"

namespace transport_request_test {
namespace {

constexpr uint32_t kMiniport = 0x4D008;

class TransportRequest : public ::testing::Test {
  protected:
    void SetUp() override {
        TheDriver().Reset();
        ApiError::Clear();
        // A device that echoes the request and then applies `answer`.
        host_->files["dev"].ioctl = [this](uint32_t, const std::vector<uint8_t>& in, uint8_t* out,
                                           uint32_t outSize, uint32_t* returned) {
            std::vector<uint8_t> buf = in;
            if (answer)
                answer(buf);
            std::memcpy(out, buf.data(), std::min<size_t>(outSize, buf.size()));
            *returned = outSize;
            return !failIoctl;
        };
        handle_ = static_cast<uint32_t>(host_->createFile("dev", 0, 0));
    }

    // The one request that reached the seam.
    const std::vector<uint8_t>& Sent() {
        EXPECT_EQ(host_->ioctls.size(), 1u);
        EXPECT_EQ(host_->ioctls.back().code, kMiniport);
        return host_->ioctls.back().in;
    }
    static uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
        return bytes::GetU32(b.data(), b.size(), at);
    }
    ApiErrorRecord Record() {
        ApiErrorRecord r{};
        Api::GetLastErrorRecord(&r);
        return r;
    }
    int32_t Send(uint32_t kind, FirmwareCommandBuffer* cmd, void* data, uint32_t length,
                 uint8_t allowOther = 0, uint8_t opcodeClass = 0xFF) {
        RhoskRequest request{};
        request.kind = kind;
        return TheDriver().SendRhoskRequest(&handle_, &request, cmd, data, length, allowOther,
                                            opcodeClass);
    }

    ScopedFakeHost host_;
    uint32_t handle_ = 0;
    std::function<void(std::vector<uint8_t>&)> answer;
    bool failIoctl = false;
};

TEST_F(TransportRequest, OlderFamilyBufferSizeAndHeader) {
    struct Case {
        int32_t dataLength;
        uint32_t size;
    } cases[] = {{0, 544}, {1, 1056}, {512, 1056}, {513, 1568}, {-4, 544}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dataLength);
        host_->ioctls.clear();
        PraneCommand packet{};
        packet.bytes[0] = 0x52;
        packet.bytes[511] = 0xEE;
        std::vector<uint8_t> data(c.dataLength > 0 ? c.dataLength : 1, 0xAB);
        ASSERT_EQ(TheDriver().ExecutePraneCommand(
                      &handle_, &packet, c.dataLength > 0 ? data.data() : nullptr, c.dataLength, 3),
                  0);
        const auto& sent = Sent();
        ASSERT_EQ(sent.size(), c.size);
        EXPECT_EQ(host_->ioctls.back().outSize, c.size);
        EXPECT_EQ(U32(sent, 0), 28u);
        EXPECT_EQ(std::memcmp(sent.data() + 4, "Kivra  \0", 8), 0);
        EXPECT_EQ(U32(sent, 12), 10u);
        EXPECT_EQ(U32(sent, 16), 0u);
        EXPECT_EQ(U32(sent, 24), c.size - 28);
        EXPECT_EQ(U32(sent, 28), 0u);
        EXPECT_EQ(sent[32], 0x52);
        EXPECT_EQ(sent[32 + 511], 0xEE);
        if (c.dataLength > 0) {
            EXPECT_EQ(sent[544], 0xAB);
            EXPECT_EQ(sent[544 + c.dataLength - 1], 0xAB);
            if (c.size > 544u + c.dataLength) {
                EXPECT_EQ(sent[544 + c.dataLength], 0);
            }
        }
    }
}

TEST_F(TransportRequest, OlderFamilyReplyAndStatus) {
    PraneCommand packet{};
    uint8_t data[4] = {};
    answer = [](std::vector<uint8_t>& b) {
        b[32 + 3] = 7;  // a reply field
        b[544] = 0x5A;
    };
    ASSERT_EQ(TheDriver().ExecutePraneCommand(&handle_, &packet, data, sizeof data, 0), 0);
    EXPECT_EQ(packet.bytes[3], 7);
    EXPECT_EQ(data[0], 0x5A);

    // A nonzero status: an older-family driver error, nothing copied back.
    PraneCommand failed{};
    uint8_t untouched[4] = {1, 2, 3, 4};
    answer = [](std::vector<uint8_t>& b) {
        b[36] = 0x20;
        b[32 + 3] = 9;
        b[544] = 0x77;
    };
    EXPECT_EQ(TheDriver().ExecutePraneCommand(&handle_, &failed, untouched, 4, 0), -1);
    EXPECT_EQ(failed.bytes[3], 0);
    EXPECT_EQ(untouched[0], 1);
    const ApiErrorRecord r = Record();
    EXPECT_EQ(r.flags, 0x10004u);
    EXPECT_EQ(r.driverCode, 0x20u);

    // A failed DeviceIoControl is an OS error.
    answer = nullptr;
    failIoctl = true;
    EXPECT_EQ(TheDriver().ExecutePraneCommand(&handle_, &packet, nullptr, 0, 0), -1);
    EXPECT_EQ(Record().flags, kApiErrorOs);
    EXPECT_EQ(Record().osCode, platform::kErrorGenFailure);
}

TEST_F(TransportRequest, NewerFamilyKindsControlCodesAndSizes) {
    struct Case {
        uint32_t kind;
        uint32_t controlCode;
    } cases[] = {
        {0x101, 1},          {0x102, 0xE0000002}, {0x103, 0xE0000001}, {0x104, 0xE0000003},
        {0x105, 0xE0000004}, {0x106, 0xD0000000}, {0x107, 0xD0000001}, {0x109, 0xFFFF0002},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        host_->ioctls.clear();
        FirmwareCommandBuffer cmd{};
        uint8_t data[12] = {0x11, 0x22};
        ASSERT_EQ(Send(c.kind, &cmd, data, sizeof data), 0);
        const auto& sent = Sent();
        ASSERT_EQ(sent.size(), 512u);
        EXPECT_EQ(std::memcmp(sent.data() + 4, "<Kivra>\0", 8), 0);
        EXPECT_EQ(U32(sent, 12), 60u);
        EXPECT_EQ(U32(sent, 16), c.controlCode);
        EXPECT_EQ(U32(sent, 24), 484u);
        EXPECT_EQ(sent[28], 0x11);  // data at byte 28
        EXPECT_EQ(sent[29], 0x22);
    }
    for (uint32_t kind : {0x100u, 0x10Au, 0u}) {
        SCOPED_TRACE(kind);
        host_->ioctls.clear();
        FirmwareCommandBuffer cmd{};
        EXPECT_EQ(Send(kind, &cmd, nullptr, 0), -1);
        EXPECT_EQ(Record().apiCode, 5u);
        EXPECT_TRUE(host_->ioctls.empty());
    }
    // Data that does not fit the fixed 512-byte request is refused.
    FirmwareCommandBuffer cmd{};
    std::vector<uint8_t> big(485, 1);
    host_->ioctls.clear();
    EXPECT_EQ(Send(0x101, &cmd, big.data(), static_cast<uint32_t>(big.size())), -1);
    EXPECT_TRUE(host_->ioctls.empty());
}

TEST_F(TransportRequest, FirmwareCommandOpcodeFlagsTimeoutAndLength) {
    struct Case {
        const char* what;
        uint8_t byte0;
        uint16_t field6;
        uint32_t dataLength;
        uint8_t allowOther, opcodeClass;
        int32_t result;
        uint32_t controlCode, timeout, size, dataAt;
    } cases[] = {
        {"0x00 port bit", 0x00, 0, 0, 0, 0xFF, 0, 0xF0001000, 60, 180, 180},
        {"0x05 plain", 0x05, 0, 0, 0, 0xFF, 0, 0xF0000000, 60, 180, 180},
        {"0x52 get param", 0x52, 1, 100, 0, 0xFF, 0, 0xF000E000, 60, 692, 180},
        {"0x74 create", 0x74, 0, 0, 0, 0xFF, 0, 0xF000E000, 60, 180, 180},
        {"0x56 image chunk", 0x56, 0, 512, 0, 0xFF, 0, 0xF000E000, 240, 692, 180},
        {"0x10 with data", 0x10, 0, 8, 0, 0xFF, 0, 0xF000E000, 60, 692, 180},
        {"0x10 without data", 0x10, 0, 0, 0, 0xFF, 0, 0xF0000000, 60, 180, 180},
        {"0x11 data protocol", 0x11, 0x0009, 4, 0, 0xFF, 0, 0xF000E000, 60, 692, 180},
        {"0x11 non-data protocol", 0x11, 0x0008, 4, 0, 0xFF, 0, 0xF0000000, 60, 692, 180},
        {"0x11 protocol in the high byte", 0x11, 0x0900, 4, 0, 0xFF, 0, 0xF0000000, 60, 692, 180},
        {"0xB1 long form", 0xB1, 0x0081, 4, 0, 0xFF, 0, 0xF000E000, 60, 936, 424},
        {"0x02 refused", 0x02, 0, 0, 0, 0xFF, -1, 0, 0, 0, 0},
        {"0x02 allowed, class 2", 0x02, 0, 0, 1, 2, 0, 0xF000E000, 60, 180, 180},
        {"0x02 allowed, class 1", 0x02, 0, 0, 1, 1, 0, 0xF0000000, 60, 180, 180},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        host_->ioctls.clear();
        FirmwareCommandBuffer cmd{};
        cmd.bytes[128] = c.byte0;
        cmd.bytes[129] = 2;
        bytes::PutU16(cmd.bytes, sizeof cmd.bytes, 128 + 6, c.field6);
        cmd.bytes[127] = 0x3C;  // last header byte travels
        std::vector<uint8_t> data(c.dataLength + 1, 0xCD);
        const int32_t result = Send(0x108, &cmd, c.dataLength ? data.data() : nullptr, c.dataLength,
                                    c.allowOther, c.opcodeClass);
        ASSERT_EQ(result, c.result);
        if (c.result != 0) {
            EXPECT_EQ(Record().apiCode, 6u);
            EXPECT_TRUE(host_->ioctls.empty());
            continue;
        }
        const auto& sent = Sent();
        ASSERT_EQ(sent.size(), c.size);
        EXPECT_EQ(U32(sent, 16), c.controlCode);
        EXPECT_EQ(U32(sent, 12), c.timeout);
        EXPECT_EQ(U32(sent, 24), c.size - 28);
        EXPECT_EQ(sent[28 + 124], 0x80);
        EXPECT_EQ(sent[28 + 127], 0x3C);
        EXPECT_EQ(sent[28 + 128], c.byte0);
        if (c.dataLength != 0) {
            EXPECT_EQ(sent[c.dataAt], 0xCD);
            EXPECT_EQ(sent[c.dataAt + c.dataLength - 1], 0xCD);
        }
    }
}

TEST_F(TransportRequest, ReturnCodeRules) {
    struct Case {
        const char* what;
        uint32_t kind;
        uint32_t returnCode;
        uint8_t status;
        int32_t result;
        uint32_t flags, driverCode, controllerCode;
    } cases[] = {
        {"event, code 1 ignored", 0x104, 1, 0, 0, 0, 0, 0},
        {"event, code 0x50002 ignored", 0x102, 0x50002, 0, 0, 0, 0, 0},
        {"event, code 3", 0x103, 3, 0, -1, 0x20004, 3, 0},
        {"lock, code 2 already locked", 0x106, 2, 0, -1, 0x20004, 0x1002, 0},
        {"lock, code 5", 0x106, 5, 0, -1, 0x20004, 5, 0},
        {"unlock ignores every code", 0x107, 0x1234, 0, 0, 0, 0, 0},
        {"driver info, code 2", 0x101, 2, 0, -1, 0x20004, 2, 0},
        {"firmware reported, status 0", 0x108, 0x80060000, 0, 0, 0, 0, 0},
        {"firmware reported, status 1", 0x108, 0x80060000, 1, -1, 0x20008, 0, 0x10C},
        {"driver and controller error", 0x108, 0x31, 1, -1, 0x2000C, 0x31, 0x10C},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ApiError::Clear();
        answer = [&c](std::vector<uint8_t>& b) {
            bytes::PutU32(b.data(), b.size(), 20, c.returnCode);
            if (c.status != 0 && b.size() > 160) {
                b[28 + 132] = c.status;
                bytes::PutU16(b.data(), b.size(), 28 + 22, 0x10C);
            }
        };
        FirmwareCommandBuffer cmd{};
        cmd.bytes[128] = 0x52;
        uint8_t data[12] = {};
        EXPECT_EQ(Send(c.kind, &cmd, data, sizeof data), c.result);
        const ApiErrorRecord r = Record();
        EXPECT_EQ(r.flags, c.flags);
        EXPECT_EQ(r.driverCode, c.driverCode);
        EXPECT_EQ(r.controllerCode, c.controllerCode);
    }
}

TEST_F(TransportRequest, OsDriverAndControllerErrorsOfOneRequestStandTogether) {
    ApiError::Set(kApiErrorApi, 8, 0, 0, 0, nullptr, nullptr);  // an earlier failure
    failIoctl = true;
    answer = [](std::vector<uint8_t>& b) {
        bytes::PutU32(b.data(), b.size(), 20, 0x31);
        b[28 + 132] = 1;
        bytes::PutU16(b.data(), b.size(), 28 + 22, 0x10A);
        std::memcpy(b.data() + 28 + 26, "TEXT\0MESSAGE", 13);
    };
    FirmwareCommandBuffer cmd{};
    cmd.bytes[128] = 0x52;
    uint8_t data[8] = {0x44};
    EXPECT_EQ(Send(0x108, &cmd, data, sizeof data), -1);
    const ApiErrorRecord r = Record();
    EXPECT_EQ(r.flags, 0x2000Eu);
    EXPECT_EQ(r.apiCode, 0u);  // the earlier failure was cleared
    EXPECT_EQ(r.osCode, platform::kErrorGenFailure);
    EXPECT_EQ(r.driverCode, 0x31u);
    EXPECT_EQ(r.controllerCode, 0x10Au);
    EXPECT_STREQ(r.controllerText, "TEXT");
    const std::string message = r.message;
    const auto os = message.find("(0x0A:0x001F)");
    const auto drv = message.find("(0x07:0x0031)");
    const auto ctl = message.find("MESSAGE TEXT");
    ASSERT_NE(os, std::string::npos) << message;
    ASSERT_NE(drv, std::string::npos) << message;
    ASSERT_NE(ctl, std::string::npos) << message;
    EXPECT_LT(os, drv);
    EXPECT_LT(drv, ctl);
    // The command area came back although the request failed; the data did not.
    EXPECT_EQ(cmd.bytes[132], 1);
    EXPECT_EQ(data[0], 0x44);
}

TEST_F(TransportRequest, ControllerTextsAreBoundedByTheCommandHeader) {
    answer = [](std::vector<uint8_t>& b) {
        b[28 + 132] = 1;
        std::memset(b.data() + 28 + 26, 'x', 128 - 26 + 24);  // no terminator in the header
    };
    FirmwareCommandBuffer cmd{};
    cmd.bytes[128] = 0x52;
    EXPECT_EQ(Send(0x108, &cmd, nullptr, 0), -1);
    const ApiErrorRecord r = Record();
    EXPECT_EQ(std::strlen(r.controllerText), 128u - 26u);
}

TEST_F(TransportRequest, SuccessfulRequestCopiesCommandAreaAndData) {
    answer = [](std::vector<uint8_t>& b) {
        b[28 + 128 + 8] = 0x99;   // a reply field of the packet
        b[28 + 152 + 8] = 0x42;   // reply data
        b[28 + 152 + 20] = 0x43;  // past the caller's length
    };
    FirmwareCommandBuffer cmd{};
    cmd.bytes[128] = 0x52;
    cmd.bytes[200] = 0x77;  // past the 152 command bytes: not sent, not overwritten
    uint8_t data[12] = {};
    ASSERT_EQ(Send(0x108, &cmd, data, sizeof data), 0);
    EXPECT_EQ(cmd.bytes[136], 0x99);
    EXPECT_EQ(cmd.bytes[200], 0x77);
    EXPECT_EQ(data[8], 0x42);
}

}  // namespace
}  // namespace transport_request_test
