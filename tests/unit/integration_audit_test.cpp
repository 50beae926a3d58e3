// Audited settings through the real library over the emulated host: the
// setting reaches the controller, and the audit log gets one line in its
// format, or nothing at all with logging off.
#include <fstream>

#include "api/api.h"
#include "api/audit_log.h"
#include "integration_host.h"
#include "test_support.h"

namespace integration::integration_audit_test {
namespace {

class IntegrationAudit : public IntegrationTest {
  protected:
    void SetUp() override {
        IntegrationTest::SetUp();
        // c0 newer family (model 8), c1 older family.
        InstallFile(Machine(
            json::array({RhoskController(6, 8, "NEWER0001"), PraneController("OLDER0001")})));
        ObjectIdList16 list;
        ASSERT_EQ(Api::GetControllerIdList(&list), 0);
        ASSERT_EQ(list.count, 2u);
    }
    std::string LogPath() const { return (folder_ / "kv_mgmt.log").string(); }
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::ifstream in(LogPath());
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
};

TEST_F(IntegrationAudit, SettersWriteOneLineEachInTheLogFormat) {
    AuditLog audit("CLI", LogPath(), true);
    SetFaults(json::array({Fault({{"layer", "firmware"}, {"opcode", "0x13"}, {"parameter", 28}},
                                 {{"status", 1}, {"code", "0x0204"}})}));
    struct Case {
        const char* what;
        std::function<int()> call;
        int result;
        const char* message;
    } cases[] = {
        {"stagger time set", [&] { return audit.SetStaggerTime(ControllerId(0), 5); }, 0,
         "Set Stagger Time(controller=0, stagger time=5): Success"},
        {"stagger time out of range", [&] { return audit.SetStaggerTime(ControllerId(0), 61); }, -1,
         "Set Stagger Time(controller=0, stagger time=61): Failed"},
        {"older family lacks the setting", [&] { return audit.SetStaggerTime(ControllerId(1), 5); },
         -1, "Set Stagger Time(controller=1, stagger time=5): Failed"},
        {"firmware refuses the write", [&] { return audit.SetAutoRebuild(ControllerId(0), 6); }, -1,
         "Set Auto Rebuild (controller=0, policy=6(JBOD, FAILED DISK)): Failed"},
        {"auto rebuild set", [&] { return audit.SetAutoRebuild(ControllerId(0), 255); }, 0,
         "Set Auto Rebuild (controller=0, policy=ff(ALL)): Success"},
    };
    size_t written = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.call(), c.result);
        if (c.result != 0) {
            // The wrapper leaves the operation's error in the record.
            EXPECT_NE(LastMessage(), "");
        }
        const std::vector<std::string> lines = LogLines();
        ASSERT_EQ(lines.size(), ++written);
        EXPECT_EQ(test_support::AuditLineMessage(lines.back()), c.message);
    }
    // The successful settings reached the controller.
    uint32_t stagger = 0;
    ASSERT_EQ(Api::GetStaggerTime(ControllerId(0), &stagger), 0);
    EXPECT_EQ(stagger, 5u);
    uint8_t policy = 0;
    ASSERT_EQ(Api::GetAutoRebuild(ControllerId(0), &policy), 0);
    EXPECT_EQ(policy, 255);
}

TEST_F(IntegrationAudit, WithLoggingOffTheSettingRunsAndNoFileIsTouched) {
    AuditLog audit("CLI", LogPath(), false);
    EXPECT_EQ(audit.SetStaggerTime(ControllerId(0), 9), 0);
    EXPECT_EQ(audit.SetStaggerTime(ControllerId(1), 9), -1);
    EXPECT_FALSE(std::filesystem::exists(LogPath()));
    uint32_t stagger = 0;
    ASSERT_EQ(Api::GetStaggerTime(ControllerId(0), &stagger), 0);
    EXPECT_EQ(stagger, 9u);
    // The change is in the host file for the next run.
    EXPECT_EQ(HostFileContents()["machine"]["controllers"][0]["settings"]["stagger"], 9);
}

}  // namespace
}  // namespace integration::integration_audit_test
