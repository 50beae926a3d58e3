// Every audit-log wrapper writes the message of its own operation: names,
// argument labels and setting words exactly as the audit log has always
// shown them. A machine without controllers makes every operation fail,
// so each line ends in "Failed" and the wrapper hands back -1.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/audit_log.h"
#include "fake_host.h"

namespace audit_wrapper_lines_test {
namespace {

class AuditWrapperLines : public ::testing::Test {
  protected:
    void SetUp() override {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               (std::string("kv_audit_lines_") + test->name());
        std::filesystem::remove_all(dir_);
        ASSERT_TRUE(std::filesystem::create_directory(dir_));
        path_ = (dir_ / "kv_mgmt.log").string();
    }
    void TearDown() override {
        ResetAuditLog();
        std::filesystem::remove_all(dir_);
    }
    // The bracketed message of every line written so far.
    std::vector<std::string> Messages() const {
        std::vector<std::string> messages;
        std::ifstream in(path_);
        for (std::string line; std::getline(in, line);) {
            const size_t open = line.find(" CLI [");
            if (open == std::string::npos || line.back() != ']') {
                messages.push_back("malformed: " + line);
                continue;
            }
            messages.push_back(line.substr(open + 6, line.size() - open - 7));
        }
        return messages;
    }

    std::filesystem::path dir_;
    std::string path_;
};

TEST_F(AuditWrapperLines, EachWrapperWritesItsOwnMessage) {
    ScopedFakeHost host;
    AuditLog& log = MakeAuditLog("CLI", path_, true);
    ObjectId ctl{};
    ObjectId unit{};
    ASSERT_EQ(Api::MakeControllerId(3, &ctl), 0);
    ASSERT_EQ(Api::MakeUnitId(3, 0xFF, 7, 0xFF, 0xFF, &unit), 0);
    ObjectId port{};
    ASSERT_EQ(Api::MakePortId(3, 5, &port), 0);
    const int32_t rebuildRate = 4;
    const int32_t verifyRate = 2;
    const uint16_t smartOnly = 2;

    struct Case {
        std::function<int()> call;
        const char* message;
    };
    const Case cases[] = {
        {[&] { return log.SetRebuildRate(ctl, &rebuildRate); },
         "Set Rebuild Rate(controller=3, rate=4): Failed"},
        {[&] { return log.SetVerifyRate(ctl, &verifyRate); },
         "Set Verify Rate(controller=3, rate=2): Failed"},
        {[&] { return log.SetRebuildMode(ctl, 1); },
         "Set Rebuild Mode(controller=3, mode=1): Failed"},
        {[&] { return log.SetVerifyMode(ctl, 0); },
         "Set Verify Mode(controller=3, mode=0): Failed"},
        {[&] { return log.SetAutoRebuild(ctl, 5); },
         "Set Auto Rebuild (controller=3, policy=5(CBOD, FAILED DISK)): Failed"},
        {[&] { return log.SetAutoRebuild(ctl, 0xFF); },
         "Set Auto Rebuild (controller=3, policy=ff(ALL)): Failed"},
        {[&] { return log.EnableMultiLunPolicy(ctl); },
         "Enable Multi-Lun Policy(controller=3): Failed"},
        {[&] { return log.DisableMultiLunPolicy(ctl); },
         "Disable Multi-Lun Policy(controller=3): Failed"},
        // Only the size's low 32 bits are shown.
        {[&] { return log.SetLunSize(ctl, 0x100000800ull); },
         "Set LUN Size(controller=3, size=2048): Failed"},
        {[&] { return log.EnableRebuildSchedule(ctl); },
         "Enable Rebuild Schedule(controller=3): Failed"},
        {[&] { return log.DisableRebuildSchedule(ctl); },
         "Disable Rebuild Schedule(controller=3): Failed"},
        {[&] { return log.EnableVerifySchedule(ctl); },
         "Enable Verify Schedule(controller=3): Failed"},
        {[&] { return log.DisableVerifySchedule(ctl); },
         "Disable Verify Schedule(controller=3): Failed"},
        // Tuesday 01:00 is minute 2940 of the week.
        {[&] { return log.SetRebuildTask(ctl, 2, 2940, 3); },
         "Set Rebuild Task(controller=3, slot=2, start=Tue.01:00, duration=3): Failed"},
        {[&] { return log.SetVerifyTask(ctl, 5, 65535, 2); },
         "Set Verify Task(controller=3, slot=5, start=delete: Failed"},
        {[&] { return log.SetVerifyTask(ctl, 5, 10066, 2); },
         "Set Verify Task(controller=3, slot=5, start=delete: Failed"},
        {[&] { return log.SetSelftestTask(ctl, 1, 8700); },
         "Set Selftest Task(controller=3, slot=1, start=Sat.01:00): Failed"},
        {[&] { return log.SetSelftestTask(ctl, 1, 65535); },
         "Set Selftest Task(controller=3, slot=1, start=delete: Failed"},
        {[&] { return log.SetSelftestFlags(ctl, &smartOnly); },
         "Set Selftest Flags(controller=3, flags=2(SMART)): Failed"},
        {[&] { return log.SetStaggerTime(ctl, 6); },
         "Set Stagger Time(controller=3, stagger time=6): Failed"},
        {[&] { return log.SetNumberSpinupsAllowed(ctl, 2); },
         "Set Number Spinups Allowed(controller=3, spinups allowed=2): Failed"},
        {[&] { return log.EnableWriteCache(unit); },
         "Enable Write Cache(controller=3, unit=7): Failed"},
        {[&] { return log.DisableWriteCache(unit); },
         "Disable Write Cache(controller=3, unit=7): Failed"},
        {[&] { return log.EnableAutoVerify(unit); },
         "Enable Auto Verify(controller=3, unit=7): Failed"},
        {[&] { return log.DisableAutoVerify(unit); },
         "Disable Auto Verify(controller=3, unit=7): Failed"},
        {[&] { return log.ContinueOnEccErrors(unit); },
         "Continue on ECC errors on rebuild(controller=3, unit=7): Failed"},
        {[&] { return log.HaltOnEccErrors(unit); },
         "Halt on ECC errors on rebuild(controller=3, unit=7): Failed"},
        {[&] { return log.EnableUnitQueuing(unit); },
         "Enabled Unit Queuing(controller=3, unit=7): Failed"},
        {[&] { return log.DisableUnitQueuing(unit); },
         "Disabled Unit Queuing(controller=3, unit=7): Failed"},
        {[&] { return log.EnableIntelligentReadCache(unit); },
         "Enable Intelligent Read Cache(controller=3, unit=7): Failed"},
        {[&] { return log.EnableBasicReadCache(unit); },
         "Enable Basic Read Cache(controller=3, unit=7): Failed"},
        {[&] { return log.DisableReadCache(unit); },
         "Disable Read Cache(controller=3, unit=7): Failed"},
        {[&] { return log.SetUnitName(unit, "Db Vol"); },
         "Set Unit Name(controller=3, unit=7, name=Db Vol): Failed"},
        {[&] { return log.SetKeepwellMode(unit, 0); },
         "Set Keepwell Mode(controller=3, unit=7, mode=protect): Failed"},
        {[&] { return log.SetKeepwellMode(unit, 2); },
         "Set Keepwell Mode(controller=3, unit=7, mode=perform): Failed"},
        {[&] { return log.SetRapidRecovery(unit, 0); },
         "Set Rapid RAID Recovery(controller=3, unit=7, rr_recovery=Disable): Failed"},
        {[&] { return log.SetRapidRecovery(unit, 1); },
         "Set Rapid RAID Recovery(controller=3, unit=7, rr_recovery=Rebuild): Failed"},
        {[&] { return log.EnableBbu(ctl); }, "Enable BBU(controller=3): Failed"},
        {[&] { return log.DisableBbu(ctl); }, "Disable BBU(controller=3): Failed"},
        {[&] { return log.StartBbuBatteryTest(ctl); },
         "Start BBU Battery Test(controller=3): Failed"},
        {[&] { return log.IdentifyPort(port, 1); },
         "Identify Port(controller=3, port=5, enable=yes): Failed"},
    };
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        EXPECT_EQ(c.call(), -1) << c.message;
        expected.push_back(c.message);
    }
    EXPECT_EQ(Messages(), expected);
}

}  // namespace
}  // namespace audit_wrapper_lines_test
