// The family dispatcher's routes over controllers of every family.
#include <gtest/gtest.h>

#include "api/api.h"
#include "api/api_error.h"
#include "api/dispatch.h"
#include "api/driver.h"
#include "fake_host.h"
#include "test_support.h"
#include "transport_fake_firmware.h"

namespace dispatch_routes_test {
namespace {

using Dispatch::Route;

// Controllers 0-4 of families 3, 4, 6, 7, 8; number 5 has no slot (-1).
class DispatchRoutes : public ::testing::Test {
  protected:
    void SetUp() override {
        test_support::ResetLibrary();
        AddPraneController(*host_, "\\\\?\\f3", 100);
        fw_[4] = AddRhoskController(*host_, "\\\\?\\f4", 4, std::nullopt, 101);
        fw_[6] = AddRhoskController(*host_, "\\\\?\\f6", 6, 0, 102);
        fw_[7] = AddRhoskController(*host_, "\\\\?\\f7", 7, 0x100, 103);
        fw_[8] = AddRhoskController(*host_, "\\\\?\\f8", 8, std::nullopt, 104);
        ObjectIdList16 list;
        ASSERT_EQ(Api::GetControllerIdList(&list), 0);
        ASSERT_EQ(list.count, 5u);
    }
    void TearDown() override { TheDriver().Reset(); }

    static ObjectId Id(uint8_t number) {
        ObjectId id = ObjectId::Blank();
        id[0] = kKindController;
        id[1] = number;
        return id;
    }
    void SetLevel(uint32_t level) {
        for (int f : {4, 6, 7, 8})
            fw_[f]->setU32(0x402, 11, level);
    }
    // 'O' older, 'N' newer, '2' API error 2, '-' -1 with the record untouched.
    char Outcome(Route route, uint8_t number) {
        ApiError::Clear();
        ApiError::Set(kApiErrorApi, 8, 0, 0, 0, nullptr, nullptr);  // a previous failure
        char called = 0;
        const int32_t r = Dispatch::Call(
            route, Id(number),
            [&] {
                called = 'O';
                return 0;
            },
            [&] {
                called = 'N';
                return 0;
            });
        if (called != 0)
            return r == 0 ? called : '?';
        if (r != -1)
            return '?';
        const uint32_t code = ApiError::GetApiCode();
        return code == 2 ? '2' : code == 8 ? '-' : '?';
    }

    ScopedFakeHost host_;
    std::shared_ptr<FakeFirmware> fw_[9];
};

TEST_F(DispatchRoutes, RouteTableOverFamilies3_4_6_7_8AndUnclassified) {
    struct Case {
        const char* what;
        Route route;
        uint32_t level;
        const char* outcomes;  // controllers 0-5: families 3, 4, 6, 7, 8, -1
    } cases[] = {
        {"both", Route::Both, 0, "ONNNN-"},
        {"newer", Route::Newer, 0, "2NNNN-"},
        {"from 6", Route::From6, 0, "22NNN-"},
        {"4 only", Route::Only4, 0, "2N222-"},
        {"8 only", Route::Only8, 0, "2222N-"},
        {"level 36 at 35", Route::Level36, 35, "22222-"},
        {"level 36 at 36", Route::Level36, 36, "22NNN-"},
        {"level 37 at 36", Route::Level37, 36, "22222-"},
        {"level 37 at 37", Route::Level37, 37, "222NN-"},
        {"SAS phys at 35", Route::SasPhys, 35, "2222N-"},
        {"SAS phys at 36", Route::SasPhys, 36, "222NN-"},
        {"older only", Route::OlderOnly, 0, "O22222"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetLevel(c.level);
        std::string got;
        for (uint8_t n = 0; n < 6; ++n)
            got += Outcome(c.route, n);
        EXPECT_EQ(got, c.outcomes);
    }
}

TEST_F(DispatchRoutes, FailedLevelReadKeepsTheReadsError) {
    fw_[6]->params.erase({0x402, 11});
    EXPECT_EQ(Outcome(Route::Level36, 2), '?');
    ApiErrorRecord r{};
    Api::GetLastErrorRecord(&r);
    EXPECT_EQ(r.flags, 0x20008u);
    EXPECT_EQ(r.controllerCode, 0x10Cu);
}

TEST_F(DispatchRoutes, FamilyLevelSasAndBasicVerifyQueries) {
    uint32_t family = 99;
    EXPECT_EQ(Api::GetControllerFamily(Id(3), &family), 0);
    EXPECT_EQ(family, 7u);
    family = 99;
    ApiError::Clear();
    EXPECT_EQ(Api::GetControllerFamily(Id(5), &family), -1);
    EXPECT_EQ(family, 99u);
    EXPECT_EQ(ApiError::GetApiCode(), 0u);

    struct Case {
        uint8_t number;
        uint32_t level;
        uint32_t sas, basicVerify;
    } cases[] = {
        {0, 40, 0, 0}, {1, 40, 0, 0}, {2, 35, 0, 0}, {2, 36, 0, 1},
        {3, 35, 0, 0}, {3, 36, 1, 1}, {4, 20, 1, 0}, {5, 40, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int{c.number} << " at " << c.level);
        SetLevel(c.level);
        uint32_t sas = 9, verify = 9;
        EXPECT_EQ(Dispatch::HasSasPhys(Id(c.number), &sas), 0);
        EXPECT_EQ(sas, c.sas);
        EXPECT_EQ(Api::IsBasicVerifySupported(Id(c.number), &verify), 0);
        EXPECT_EQ(verify, c.basicVerify);
    }

    uint32_t answer = 9;
    SetLevel(37);
    EXPECT_EQ(Api::HasFirmwareCompatLevel37(Id(4), &answer), 0);
    EXPECT_EQ(answer, 1u);
    answer = 9;
    EXPECT_EQ(Api::HasFirmwareCompatLevel36(Id(0), &answer), -1);
    EXPECT_EQ(ApiError::GetApiCode(), 2u);
    EXPECT_EQ(answer, 9u);

    // A family-7 level read that fails: answer 0 and -1.
    fw_[7]->params.erase({0x402, 11});
    uint32_t sas = 9;
    EXPECT_EQ(Dispatch::HasSasPhys(Id(3), &sas), -1);
    EXPECT_EQ(sas, 0u);
}

}  // namespace
}  // namespace dispatch_routes_test
