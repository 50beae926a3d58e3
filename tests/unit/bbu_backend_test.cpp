// The battery backup unit operations of the newer family through the public
// operations, against a fake controller whose BbuTable holds the enabled
// flag, the status word and the BBU's own parameters.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "api/api.h"
#include "api/api_error.h"
#include "rhosk_query_fake.h"

namespace bbu_backend_test {
namespace {

constexpr uint16_t kBbuTable = 0x8006;
constexpr uint32_t kBbu = 1u << 31;
constexpr uint32_t kBattery = 1u << 30;
constexpr uint32_t kReady = 1u << 3;

uint32_t ApiCode() {
    ApiErrorRecord record{};
    Api::GetLastErrorRecord(&record);
    return record.apiCode;
}

// A BBU table: enabled flag, status word (absent when `word` is null), the
// BBU status byte and the texts.
void PutBbu(RhoskQueryFirmware& fw, uint32_t enabled, const uint32_t* word) {
    fw.putValue(kBbuTable, 64, enabled, 1);
    if (word != nullptr)
        fw.putValue(kBbuTable, 2, *word, 4);
    fw.putValue(kBbuTable, 65, 8, 1);
    std::vector<uint8_t> serial(20, 0);
    std::memcpy(serial.data(), "BBU-SERIAL  ", 12);
    fw.put(kBbuTable, 3, serial);
    std::vector<uint8_t> date(12, 0);
    std::memcpy(date.data(), "2026-01-02", 10);
    fw.put(kBbuTable, 8, date);
    fw.putValue(kBbuTable, 10, 72, 1);
}

// One query of the battery: what it delivers (as a number) or its API error.
struct QueryCase {
    const char* name;
    uint32_t enabled;
    bool hasWord;
    uint32_t word;
    std::function<int(ObjectId, int64_t*)> query;
    int result;
    int64_t value;     // on success
    uint32_t apiCode;  // on failure
};

template <typename T>
std::function<int(ObjectId, int64_t*)> Number(int (*op)(ObjectId, T*)) {
    return [op](ObjectId id, int64_t* out) {
        T v{};
        const int r = op(id, &v);
        *out = static_cast<int64_t>(v);
        return r;
    };
}

// The length of a text result, so that text reads fit the same table.
std::function<int(ObjectId, int64_t*)> TextLength(int (*op)(ObjectId, char*)) {
    return [op](ObjectId id, int64_t* out) {
        char text[64] = {};
        const int r = op(id, text);
        *out = static_cast<int64_t>(std::strlen(text));
        return r;
    };
}

TEST(BbuBackendTest, GatesAndDerivedValuesOfTheStatusWord) {
    const uint32_t full = kBbu | kBattery | kReady | (5u << 4) | (4u << 8);
    const QueryCase cases[] = {
        {"enabled flag", 1, true, full, Number(Api::IsBbuEnabled), 0, 1, 0},
        {"disabled BBU is an error, not absence", 0, true, full, Number(Api::IsBbuPresent), -1, 0,
         90},
        {"present", 1, true, full, Number(Api::IsBbuPresent), 0, 1, 0},
        {"unreadable word reads as no BBU", 1, false, 0, Number(Api::IsBbuPresent), 0, 0, 0},
        {"battery present", 1, true, full, Number(Api::IsBatteryPresent), 0, 1, 0},
        {"battery without BBU", 1, true, kBattery, Number(Api::IsBatteryPresent), -1, 0, 74},
        {"ready is 8", 1, true, full, Number(Api::GetBbuReady), 0, 8, 0},
        {"not ready", 1, true, kBbu | kBattery, Number(Api::GetBbuReady), 0, 0, 0},
        {"voltage class 5 is -1", 1, true, full, Number(Api::GetBatteryVoltageStatus), 0, -1, 0},
        {"temperature class 4", 1, true, full, Number(Api::GetBatteryTemperatureStatus), 0, 4, 0},
        {"voltage without battery", 1, true, kBbu, Number(Api::GetBatteryVoltageStatus), -1, 0, 75},
        {"status byte", 1, true, kBbu, Number(Api::GetBbuStatus), 0, 8, 0},
        {"status without BBU", 1, true, 0, Number(Api::GetBbuStatus), -1, 0, 74},
        {"serial without battery is read", 1, true, kBbu, TextLength(Api::GetBbuSerial), 0, 12, 0},
        {"install date without battery", 1, true, kBbu, TextLength(Api::GetBatteryInstallDate), -1,
         0, 75},
        {"install date", 1, true, full, TextLength(Api::GetBatteryInstallDate), 0, 10, 0},
        {"backup hours", 1, true, full, Number(Api::GetEstimatedBackupCapacity), 0, 72, 0},
        {"hours while disabled", 0, true, full, Number(Api::GetEstimatedBackupCapacity), -1, 0, 90},
    };
    for (const QueryCase& c : cases) {
        SCOPED_TRACE(c.name);
        RhoskQueryFirmware fw(4, 30);
        PutBbu(fw, c.enabled, c.hasWord ? &c.word : nullptr);
        int64_t value = -99;
        EXPECT_EQ(c.query(fw.controller(), &value), c.result);
        if (c.result == 0)
            EXPECT_EQ(value, c.value);
        else
            EXPECT_EQ(ApiCode(), c.apiCode);
    }
}

TEST(BbuBackendTest, EnableAndDisableWriteTheEnabledFlag) {
    RhoskQueryFirmware fw(6, 36);
    PutBbu(fw, 0, nullptr);
    ASSERT_EQ(Api::EnableBbu(fw.controller()), 0);
    EXPECT_EQ(fw.value(kBbuTable, 64), 1u);
    ASSERT_EQ(Api::DisableBbu(fw.controller()), 0);
    EXPECT_EQ(fw.value(kBbuTable, 64), 0u);
}

TEST(BbuBackendTest, InitializeDoesNothing) {
    EXPECT_EQ(Api::InitializeBbu(ObjectId::Blank()), 0);
}

}  // namespace
}  // namespace bbu_backend_test
