// The audit log: the line format, logging off, an unwritable log, the
// error record left as the operation left it, and the wrapper messages.
#include "api/audit_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "api/api.h"
#include "fake_host.h"
#include "test_support.h"

namespace audit_log_test {
namespace {

class AuditLogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/kv_audit_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        path_ = dir_ + "/kv_mgmt.log";
        ApiError::Clear();
    }
    void TearDown() override {
        std::remove(path_.c_str());
        std::remove(dir_.c_str());
        ResetAuditLog();
        ApiError::Clear();
    }
    std::string contents() const {
        std::ifstream in(path_);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool exists() const { return std::ifstream(path_).good(); }

    std::string dir_;
    std::string path_;
};

// A controller id, as the command classes pass it.
ObjectId Controller(uint8_t n) {
    ObjectId id{};
    EXPECT_EQ(Api::MakeControllerId(n, &id), 0);
    return id;
}

ObjectId Unit(uint8_t ctl, uint8_t unit) {
    ObjectId id{};
    EXPECT_EQ(Api::MakeUnitId(ctl, 0xFF, unit, 0xFF, 0xFF, &id), 0);
    return id;
}

ObjectIdList128 Drives(uint8_t ctl, std::initializer_list<uint8_t> ports) {
    ObjectIdList128 list;
    list.clear();
    for (uint8_t p : ports) {
        ObjectId id{};
        EXPECT_EQ(Api::MakeDriveId(ctl, p, &id), 0);
        EXPECT_TRUE(list.add(id));
    }
    return list;
}

TEST_F(AuditLogTest, LinesCarryCtimeTagAndBracketedMessage) {
    AuditLog& log = MakeAuditLog("CLI", path_, true);
    EXPECT_EQ(theAuditLog, &log);
    const ObjectId ctl = Controller(0);
    EXPECT_EQ(
        log.record(0, [&](int r) { return AuditLog::ControllerMessage("Enable BBU", ctl, r); }), 0);
    EXPECT_EQ(log.Write("second"), 0);
    // Two lines, each ended.
    const std::string text = contents();
    const std::size_t end = text.find('\n');
    ASSERT_NE(end, std::string::npos) << text;
    ASSERT_EQ(text.find('\n', end + 1), text.size() - 1) << text;
    EXPECT_EQ(test_support::AuditLineMessage(text.substr(0, end)),
              "Enable BBU(controller=0): Success");
    EXPECT_EQ(test_support::AuditLineMessage(text.substr(end + 1, text.size() - end - 2)),
              "second");
}

TEST_F(AuditLogTest, NothingIsWrittenWithLoggingOff) {
    AuditLog& log = MakeAuditLog("CLI", path_, false);
    bool composed = false;
    EXPECT_EQ(log.record(-1,
                         [&](int r) {
                             composed = true;
                             return AuditLog::ControllerMessage("Enable BBU", Controller(0), r);
                         }),
              -1);
    EXPECT_FALSE(composed);
    EXPECT_FALSE(exists());
}

TEST_F(AuditLogTest, AnUnopenableLogKeepsTheOperationsResult) {
    AuditLog& log = MakeAuditLog("CLI", dir_ + "/missing/kv_mgmt.log", true);
    testing::internal::CaptureStderr();
    EXPECT_EQ(log.record(-1, [](int r) { return std::string(r == 0 ? "ok" : "bad"); }), -1);
    EXPECT_EQ(log.record(0, [](int) { return std::string("x"); }), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: Could not open file " + dir_ + "/missing/kv_mgmt.log\n" +
                  "Error: Could not open file " + dir_ + "/missing/kv_mgmt.log\n");
}

TEST_F(AuditLogTest, BookkeepingLeavesTheOperationsError) {
    // The operation failed with a driver error; composing the line parses
    // an empty drive list's "first drive" and even asks a parser directly:
    // none of that may replace the operation's error.
    AuditLog& log = MakeAuditLog("CLI", path_, true);
    ApiError::Clear();
    ApiError::Set(0x20004, 0, 0, 0x8001, 0, nullptr, nullptr);
    ObjectIdList128 empty;
    empty.clear();
    const ObjectId noUnit = ObjectId::Blank();
    EXPECT_EQ(log.record(-1,
                         [&](int r) {
                             uint8_t ctl = 0;
                             (void)Api::ParseControllerId(noUnit, &ctl);  // records API 8
                             return AuditLog::CreateUnitMessage(empty, 5, 7, 1, noUnit, r);
                         }),
              -1);
    ApiErrorRecord rec{};
    Api::GetLastErrorRecord(&rec);
    EXPECT_EQ(rec.flags, 0x20004u);
    EXPECT_STREQ(rec.message, "(0x07:0x8001): unknown IOCTL request");
    EXPECT_NE(contents().find("[Create Unit(controller=255 drives=, type=RAID 5, stripe=64, make "
                              "os aware=yes): Failed]"),
              std::string::npos);
}

TEST_F(AuditLogTest, WrappersLogTheOperationsResult) {
    // A machine without controllers: every operation fails; the lines say
    // so and the wrappers hand back the operations' results.
    ScopedFakeHost host;
    AuditLog& log = MakeAuditLog("CLI", path_, true);
    const ObjectId unit = Unit(0, 1);
    const ObjectId ctl = Controller(0);
    EXPECT_EQ(log.SetRapidRecovery(unit, 3), -1);
    EXPECT_EQ(log.SetAutoRebuild(ctl, 6), -1);
    EXPECT_EQ(log.SetRebuildTask(ctl, 1, 1500, 4), -1);
    EXPECT_EQ(log.DisableReadCache(unit), -1);
    const std::string text = contents();
    for (const char* line :
         {"[Set Rapid RAID Recovery(controller=0, unit=1, rr_recovery=All): Failed]\n",
          "[Set Auto Rebuild (controller=0, policy=6(JBOD, FAILED DISK)): Failed]\n",
          "[Set Rebuild Task(controller=0, slot=1, start=Mon.01:00, duration=4): Failed]\n",
          "[Disable Read Cache(controller=0, unit=1): Failed]\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
}

TEST(AuditLogWords, SettingWords) {
    EXPECT_EQ(AuditLog::AutoRebuildWords(6), "JBOD, FAILED DISK");
    EXPECT_EQ(AuditLog::AutoRebuildWords(7), "CBOD, JBOD, FAILED DISK");
    EXPECT_EQ(AuditLog::AutoRebuildWords(8), "UNKNOWN");
    EXPECT_EQ(AuditLog::AutoRebuildWords(0), "OFF");
    EXPECT_EQ(AuditLog::AutoRebuildWords(255), "ALL");
    EXPECT_STREQ(AuditLog::RapidRecoveryWord(2), "illegal");
    EXPECT_STREQ(AuditLog::RapidRecoveryWord(3), "All");
    EXPECT_STREQ(AuditLog::KeepwellWord(1), "balance");
    EXPECT_STREQ(AuditLog::KeepwellWord(3), "illegal");
    EXPECT_STREQ(AuditLog::SelftestFlagsWord(3), "DMA|SMART");
    EXPECT_STREQ(AuditLog::SelftestFlagsWord(4), "UNKNOWN");

    struct Case {
        uint32_t type, stripe;
        const char* words;
        const char* stripeText;
    } cases[] = {
        {0, 4, "RAID 0", "8"},     {1, 0, "RAID 1", "n/a"},       {2, 7, "RAID 1", "n/a"},
        {5, 7, "RAID 5", "64"},    {6, 11, "RAID 10", "1024"},    {7, 8, "RAID 6", "128"},
        {8, 0, "RAID 50", "n/a"},  {11, 7, "SINGLE DISK", "n/a"}, {12, 0, "DISK", "n/a"},
        {13, 0, "SPARE", "n/a"},   {14, 0, "DISK", "n/a"},        {15, 7, "JBOD", "n/a"},
        {32, 0, "UNKNOWN", "n/a"},
    };
    for (const auto& c : cases) {
        char text[16];
        EXPECT_EQ(AuditLog::FormatUnitType(c.type, text), 0);
        EXPECT_STREQ(text, c.words) << c.type;
        EXPECT_EQ(AuditLog::FormatStripeSize(c.type, c.stripe, text), 0);
        EXPECT_STREQ(text, c.stripeText) << c.type;
    }
    EXPECT_EQ(AuditLog::FormatUnitType(0, nullptr), 1);
}

TEST(AuditLogWords, WrapperMessages) {
    const ObjectId ctl1 = Controller(1);
    const ObjectId unit = Unit(1, 2);
    const ObjectIdList128 drives = Drives(1, {0, 1, 5});
    ObjectIdList128 none;
    none.clear();
    ObjectId port{};
    ASSERT_EQ(Api::MakePortId(2, 9, &port), 0);

    struct Case {
        std::string got;
        const char* expected;
    } cases[] = {
        {AuditLog::CreateUnitMessage(drives, 5, 7, 1, unit, 0),
         "Create Unit(controller=1 drives=0 1 5, type=RAID 5, stripe=64, make os aware=yes, unit "
         "created=2): Success"},
        {AuditLog::CreateUnitMessage(drives, 15, 7, 0, ObjectId::Blank(), -1),
         "Create Unit(controller=1 drives=0 1 5, type=JBOD, stripe=n/a, make os aware=no): Failed"},
        {AuditLog::CreateUnitWithGroupMessage(drives, 8, 6, 0, unit, 3, 0),
         "Create Unit(controller=1 drives=0 1 5, type=RAID 50, stripe=32, drives/subunit=3, make "
         "os aware=no, unit created=2): SUCCESS"},
        {AuditLog::CreateUnitWithGroupMessage(drives, 8, 6, 0, unit, 3, -1),
         "Create Unit(controller=1 drives=0 1 5, type=RAID 50, stripe=32, drives/subunit=3, make "
         "os aware=no): FAILED"},
        {AuditLog::StartMigrateMessage(unit, drives, 5, 7, 1, 0, 0),
         "Start Migrate Unit(controller=1, unit=2, drives=0 1 5, type=RAID 5, stripe=64, make os "
         "aware=yes): Success"},
        {AuditLog::StartMigrateMessage(unit, Drives(1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}), 8,
                                       7, 0, 4, -1),
         "Start Migrate Unit(controller=1 unit=2, drives=0 1 2 3 4 5 6 7 8 9 10 11, type=RAID 50, "
         "stripe=64, drives/subunit=4, make os aware=no): Failed"},
        {AuditLog::RescanMessage(ctl1, 1, none, none, 0),
         "Rescan Controller(controller=1, make os aware=yes): Success (nothing found)"},
        {AuditLog::RescanMessage(ctl1, 0, none, drives, 0),
         "Rescan Controller(controller=1, make os aware=no): Success"},
        {AuditLog::RescanUnitLine(unit, 2), "    Rescan found unit 2 (RAID 1)"},
        {AuditLog::RescanDriveLine(drives.ids[2]), "    Rescan found drive on port5"},
        {AuditLog::RebuildMessage(unit, drives, 0, -1),
         "Rebuild Unit(controller=1, unit=2, drives=0 1 5, ignore ecc=no): Failed"},
        {AuditLog::TaskMessage("Rebuild", ctl1, 2, 1500, 4, 0),
         "Set Rebuild Task(controller=1, slot=2, start=Mon.01:00, duration=4): Success"},
        {AuditLog::TaskMessage("Rebuild", ctl1, 2, 0xFFFF, 4, 0),
         "Set Rebuild Task(controller=1, slot=2, start=delete: Success"},
        {AuditLog::TaskMessage("Verify", ctl1, 0, 10065, 1, -1),
         "Set Verify Task(controller=1, slot=0, start=Sat.23:00, duration=1): Failed"},
        {AuditLog::TaskMessage("Selftest", ctl1, 6, 0, -1, 0),
         "Set Selftest Task(controller=1, slot=6, start=Sun.00:00): Success"},
        {AuditLog::TaskMessage("Selftest", ctl1, 6, -1, -1, 0),
         "Set Selftest Task(controller=1, slot=6, start=delete: Success"},
        {AuditLog::UnitMessage("Veify Unit", unit, 0), "Veify Unit(controller=1, unit=2): Success"},
        {AuditLog::PortMessage("Remove Drive", "drive", port, -1),
         "Remove Drive(controller=2, drive=9): Failed"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.expected);
}

TEST(AuditLogWords, DriveListOfEveryPortFitsItsBuffer) {
    ObjectIdList128 all;
    all.clear();
    for (int p = 0; p < 128; ++p) {
        ObjectId id{};
        ASSERT_EQ(Api::MakeDriveId(0, static_cast<uint8_t>(p), &id), 0);
        ASSERT_TRUE(all.add(id));
    }
    char text[512];
    EXPECT_EQ(AuditLog::FormatDriveList(all, text), 0);
    EXPECT_EQ(std::string(text), AuditLog::DriveListText(all));
    EXPECT_EQ(std::string(text).substr(std::string(text).size() - 7), "126 127");
}

}  // namespace
}  // namespace audit_log_test
