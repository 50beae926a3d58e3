// The error record: composed messages per source, several sources standing
// together, bounds of the composed message and the controller text, and
// the text utilities.
#include "api/api_error.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "api/api.h"
#include "api_test_host.h"

namespace api_error_test {
namespace {

class ApiErrorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetHost(std::make_unique<SystemMessagesHost>());
        ApiError::Clear();
    }
    void TearDown() override {
        ApiError::Clear();
        platform::SetHost(nullptr);
    }
    static ApiErrorRecord Record() {
        ApiErrorRecord r{};
        EXPECT_EQ(Api::GetLastErrorRecord(&r), 0);
        EXPECT_EQ(r.messageLength, std::strlen(r.message));
        return r;
    }
};

TEST_F(ApiErrorTest, OneSourcePerCall) {
    struct Case {
        const char* what;
        uint32_t flags, api, os, driver, controller;
        const char* text;
        const char* message;
        const char* expected;
    } cases[] = {
        {"API code", 0x1, 8, 0, 0, 0, nullptr, nullptr, "(0x0B:0x0008): Invalid controller ID"},
        {"API row with an empty text", 0x1, 4, 0, 0, 0, nullptr, nullptr,
         "(0x0B:0x0004): API message not found"},
        {"API code past the table", 0x1, 500, 0, 0, 0, nullptr, nullptr,
         "(0x0B:0x01F4): API message not found"},
        {"OS code with a Windows text", 0x2, 0, 5, 0, 0, nullptr, nullptr,
         "(0x0A:0x0005): Access is denied.\r\n"},
        {"OS code without a Windows text", 0x2, 0, 1234, 0, 0, nullptr, nullptr,
         "(0x0A:0x04D2): OS message not found"},
        {"newer-family driver", 0x20004, 0, 0, 0x8001, 0, nullptr, nullptr,
         "(0x07:0x8001): unknown IOCTL request"},
        {"newer-family driver without a row", 0x20004, 0, 0, 0x4242, 0, nullptr, nullptr,
         "(0x07:0x4242): Rhosk driver message not found"},
        {"older-family driver", 0x10004, 0, 0, 0x02, 0, nullptr, nullptr,
         "(0x12:0x0002): Prane driver message not found"},
        {"newer-family controller with its message", 0x20008, 0, 0, 0, 0x010A, "T", "M", "M T"},
        {"newer-family controller without a message", 0x20008, 0, 0, 0, 0x010A, "T", nullptr,
         "(0x03:0x010A): Logical unit not present T"},
        {"newer-family controller, unknown code", 0x20008, 0, 0, 0, 0x7777, "T", nullptr,
         "(0x03:0x7777): Rhosk controller message not found T"},
        {"older-family controller", 0x10008, 0, 0, 0, 0x00C4, nullptr, nullptr,
         "(0x0E:0x00C4): Invalid port map"},
        {"older-family controller, unknown code", 0x10008, 0, 0, 0, 0x1, nullptr, nullptr,
         "(0x0E:0x0001): Prane controller message not found"},
    };
    for (const auto& c : cases) {
        ApiError::Clear();
        ApiError::Set(c.flags, c.api, c.os, c.driver, c.controller, c.text, c.message);
        const ApiErrorRecord r = Record();
        EXPECT_STREQ(r.message, c.expected) << c.what;
        EXPECT_EQ(r.flags, c.flags) << c.what;
    }
}

TEST_F(ApiErrorTest, PartsOfOneRequestStandTogether) {
    // What one failed driver request can leave: OS, driver, controller.
    ApiError::Set(0x2, 0, 5, 0, 0, nullptr, nullptr);
    ApiError::Set(0x20004, 0, 0, 0x8005, 0, nullptr, nullptr);
    ApiError::Set(0x20008, 0, 0, 0, 0x0101, "ctl text", "bad opcode");
    const ApiErrorRecord r = Record();
    EXPECT_STREQ(r.message,
                 "(0x0A:0x0005): Access is denied.\r\n\n"
                 "(0x07:0x8005): invalid command parameter(s)\n"
                 "bad opcode ctl text");
    EXPECT_EQ(r.flags, 0x2000Eu);
    EXPECT_EQ(r.osCode, 5u);
    EXPECT_EQ(r.driverCode, 0x8005u);
    EXPECT_EQ(r.controllerCode, 0x0101u);
    EXPECT_STREQ(r.controllerText, "ctl text");

    // One call with several flags: API, OS, driver, controller order.
    ApiError::Clear();
    ApiError::Set(0x20007, 2, 5, 0x1001, 0, nullptr, nullptr);
    EXPECT_STREQ(Record().message,
                 "(0x0B:0x0002): Feature not supported\n"
                 "(0x0A:0x0005): Access is denied.\r\n\n"
                 "(0x07:0x1001): Not locked");
}

TEST_F(ApiErrorTest, ClearEmptiesAndSuccessDoesNot) {
    EXPECT_EQ(ApiError::Fail(9), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 9u);
    ApiError::Clear();
    const ApiErrorRecord r = Record();
    EXPECT_EQ(r.flags, 0u);
    EXPECT_EQ(r.apiCode, 0u);
    EXPECT_STREQ(r.message, "");
}

TEST_F(ApiErrorTest, ComposedMessageIsBoundedAndAppendsAtItsEnd) {
    // A 300-character firmware message: the next part starts after its newline.
    const std::string longMessage(300, 'x');
    ApiError::Set(0x20008, 0, 0, 0, 0x0101, "", longMessage.c_str());
    ApiError::Set(0x1, 8, 0, 0, 0, nullptr, nullptr);
    ApiErrorRecord r = Record();
    EXPECT_EQ(std::string(r.message), longMessage + " \n(0x0B:0x0008): Invalid controller ID");

    // Parts that together exceed the message stop at 1023 characters.
    const std::string huge(700, 'y');
    ApiError::Clear();
    ApiError::Set(0x20008, 0, 0, 0, 0x0101, "", huge.c_str());
    ApiError::Set(0x20008, 0, 0, 0, 0x0101, "", huge.c_str());
    ApiError::Set(0x1, 8, 0, 0, 0, nullptr, nullptr);
    r = Record();
    EXPECT_EQ(r.messageLength, 1023u);
    EXPECT_EQ(std::strlen(r.message), 1023u);
}

TEST_F(ApiErrorTest, ControllerTextIsCutToItsField) {
    const std::string longText(400, 't');
    ApiError::Set(0x20008, 0, 0, 0, 0x0101, longText.c_str(), "m");
    const ApiErrorRecord r = Record();
    EXPECT_EQ(std::strlen(r.controllerText), kControllerTextSize - 1);
}

TEST_F(ApiErrorTest, GetInAnotherLanguageRecomposesFromTheStoredCodes) {
    // No message files in the directory: the built-in texts; the newer
    // family's controller part takes the table text, not the firmware's.
    ApiError::Set(0x20004, 0, 0, 0x8001, 0, "ctl", nullptr);
    ApiError::Set(0x20008, 0, 0, 0, 0x010A, "ctl", "firmware message");
    ApiErrorRecord r{};
    ApiError::Get(&r, "/nonexistent", 1);
    EXPECT_STREQ(r.message,
                 "(0x07:0x8001): unknown IOCTL request ctl\n"
                 "(0x03:0x010A): Logical unit not present ctl");
    EXPECT_EQ(r.messageLength, std::strlen(r.message));
}

TEST(ApiUtil, TrimWhitespace) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"  ab c \t\n", "ab c"}, {"   ", ""}, {"", ""}, {"\t\n", ""}, {"x", "x"}, {" x", "x"},
    };
    for (const auto& c : cases) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%s", c.in);
        ApiUtil::TrimWhitespace(buf);
        EXPECT_STREQ(buf, c.out) << '"' << c.in << '"';
    }
    ApiUtil::TrimWhitespace(nullptr);  // does nothing
}

TEST(ApiUtil, VersionText) {
    EXPECT_STREQ(Api::GetApiVersion(), "2.06.00.012");
}

}  // namespace
}  // namespace api_error_test
