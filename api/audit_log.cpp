#include "api/audit_log.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <utility>

#include "api/api_codes.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "platform/host_system.h"

AuditLog* theAuditLog = nullptr;

namespace {

std::unique_ptr<AuditLog> gAuditLog;

using ApiUtil::FormatText;

const char* const kDayWords[] = {"Sun.", "Mon.", "Tue.", "Wed.", "Thu.", "Fri.", "Sat."};
constexpr int kMinutesPerDay = 1440;

// The numbers a line prints, read from the identifier's bytes: a parser
// would record an error of its own over the operation's for an identifier
// of an unexpected kind.
int Ctl(const ObjectId& id) {
    return id[ObjectId::kController];
}
int UnitNumber(const ObjectId& id) {
    return id[ObjectId::kUnit];
}
int PortNumber(const ObjectId& id) {
    return id[ObjectId::kNumber];
}

// The controller of a drive list: that of its first drive, 255 when empty.
int ListController(const ObjectIdList128& drives) {
    return drives.size() == 0 ? 255 : Ctl(drives.ids[0]);
}

bool IsStripedType(uint32_t type) {
    return type == kUnitRaid0 || type == kUnitRaid5 || type == kUnitRaid10 || type == kUnitRaid6 ||
           type == kUnitRaid50;
}

}  // namespace

AuditLog& MakeAuditLog(std::string tag, std::string path, bool enabled) {
    gAuditLog = std::make_unique<AuditLog>(std::move(tag), std::move(path), enabled);
    theAuditLog = gAuditLog.get();
    return *gAuditLog;
}

void ResetAuditLog() {
    theAuditLog = nullptr;
    gAuditLog.reset();
}

AuditLog::AuditLog(std::string tag, std::string path, bool enabled)
    : tag_(std::move(tag)), path_(std::move(path)), enabled_(enabled) {}

int AuditLog::Write(const char* message) {
    // The host that named the log's folder opens it, reading the path as it
    // spells it.
    std::FILE* file = platform::Host().openForAppend(path_.c_str());
    if (file == nullptr) {
        std::fprintf(stderr, "Error: Could not open file %s\n", path_.c_str());
        return 1;
    }
    const std::time_t now = std::time(nullptr);
    const char* stamp = std::ctime(&now);
    // ctime's text ends with a line feed, which the line does not keep.
    std::string timeText = stamp != nullptr ? stamp : "";
    if (!timeText.empty())
        timeText.pop_back();

    int result = 0;
    if (std::fprintf(file, "%s %s [%s]\n", timeText.c_str(), tag_.c_str(),
                     message != nullptr ? message : "") < 0) {
        std::fprintf(stderr, "Error: Could not write to file %s\n", path_.c_str());
        result = 1;
    }
    std::fclose(file);
    return result;
}

std::string AuditLog::UnitTypeWords(uint32_t type) {
    switch (type) {
        case kUnitRaid0:
            return "RAID 0";
        case kUnitRaid1:
        case kUnitRaid1Mirror:
            return "RAID 1";
        case kUnitRaid5:
            return "RAID 5";
        case kUnitRaid10:
            return "RAID 10";
        case kUnitRaid6:
            return "RAID 6";
        case kUnitRaid50:
            return "RAID 50";
        case kUnitSingle:
            return "SINGLE DISK";
        case kUnitCbod:
        case kUnitSubunit:
            return "DISK";
        case kUnitSpare:
            return "SPARE";
        case kUnitJbod:
            return "JBOD";
        default:
            return "UNKNOWN";
    }
}

std::string AuditLog::StripeText(uint32_t type, uint32_t stripeCode) {
    const uint32_t kb = StripeSizeKb(stripeCode);
    return IsStripedType(type) && kb != 0 ? FormatText("%d", static_cast<int>(kb)) : "n/a";
}

std::string AuditLog::DriveListText(const ObjectIdList128& drives) {
    std::string text;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        text += FormatText("%s%d", i == 0 ? "" : " ", PortNumber(drives.ids[i]));
    }
    return text;
}

// The buffer forms: the caller's buffer must hold the text (type words 16
// bytes, stripe 16, drive list 512: 128 ports of up to 3 digits and a blank).
int AuditLog::FormatUnitType(uint32_t type, char* text) {
    if (text == nullptr)
        return 1;
    bytes::CopyText(text, 16, UnitTypeWords(type).c_str());
    return 0;
}

int AuditLog::FormatStripeSize(uint32_t type, uint32_t stripeCode, char* text) {
    if (text == nullptr)
        return 1;
    bytes::CopyText(text, 16, StripeText(type, stripeCode).c_str());
    return 0;
}

int AuditLog::FormatDriveList(const ObjectIdList128& drives, char* text) {
    if (text == nullptr)
        return 1;
    bytes::CopyText(text, 512, DriveListText(drives).c_str());
    return 0;
}

const char* AuditLog::KeepwellWord(uint8_t mode) {
    switch (mode) {
        case kKeepwellProtect:
            return "protect";
        case kKeepwellBalance:
            return "balance";
        case kKeepwellPerform:
            return "perform";
        default:
            return "illegal";
    }
}

const char* AuditLog::RapidRecoveryWord(uint8_t policy) {
    switch (policy) {
        case kRapidRecoveryDisable:
            return "Disable";
        case kRapidRecoveryRebuild:
            return "Rebuild";
        case kRapidRecoveryAll:
            return "All";
        default:
            return "illegal";
    }
}

std::string AuditLog::AutoRebuildWords(uint8_t policy) {
    if (policy == 0)
        return "OFF";
    if (policy == 255)
        return "ALL";
    static const struct {
        uint8_t bit;
        const char* word;
    } kWords[] = {{0x1, "CBOD"}, {0x2, "JBOD"}, {0x4, "FAILED DISK"}};
    std::string words;
    for (const auto& w : kWords) {
        if (policy & w.bit) {
            if (!words.empty())
                words += ", ";
            words += w.word;
        }
    }
    return words.empty() ? "UNKNOWN" : words;
}

const char* AuditLog::SelftestFlagsWord(uint16_t flags) {
    switch (flags) {
        case 0:
            return "DISABLED";
        case 1:
            return "DMA";
        case 2:
            return "SMART";
        case 3:
            return "DMA|SMART";
        default:
            return "UNKNOWN";
    }
}

std::string AuditLog::TaskStartText(int32_t start) {
    // The operations take the start as a 16-bit value; the line shows what
    // they are given.
    const uint16_t minutes = static_cast<uint16_t>(start);
    if (minutes >= kTaskDeleteStart)
        return "delete: ";
    return FormatText("%s%02d:00", kDayWords[minutes / kMinutesPerDay],
                      (minutes % kMinutesPerDay) / 60);
}

std::string AuditLog::TaskMessage(const char* kind, const ObjectId& controller, uint32_t slot,
                                  int32_t start, int64_t duration, int result) {
    const std::string head = FormatText("Set %s Task(controller=%d, slot=%d, start=", kind,
                                        Ctl(controller), static_cast<int>(slot));
    if (IsTaskDeletion(static_cast<uint16_t>(start))) {
        return head + "delete: " + ResultWord(result);
    }
    if (duration < 0) {
        return head + FormatText("%s): %s", TaskStartText(start).c_str(), ResultWord(result));
    }
    return head + FormatText("%s, duration=%d): %s", TaskStartText(start).c_str(),
                             static_cast<int>(duration), ResultWord(result));
}

std::string AuditLog::ControllerMessage(const char* name, const ObjectId& controller, int result) {
    return FormatText("%s(controller=%d): %s", name, Ctl(controller), ResultWord(result));
}

std::string AuditLog::UnitMessage(const char* name, const ObjectId& unit, int result) {
    return FormatText("%s(controller=%d, unit=%d): %s", name, Ctl(unit), UnitNumber(unit),
                      ResultWord(result));
}

std::string AuditLog::PortMessage(const char* name, const char* label, const ObjectId& port,
                                  int result) {
    return FormatText("%s(controller=%d, %s=%d): %s", name, Ctl(port), label, PortNumber(port),
                      ResultWord(result));
}

std::string AuditLog::CreateUnitMessage(const ObjectIdList128& drives, uint32_t type,
                                        uint32_t stripeCode, uint8_t makeOsAware,
                                        const ObjectId& unit, int result) {
    const std::string list = DriveListText(drives);
    const std::string words = UnitTypeWords(type);
    const std::string stripe = StripeText(type, stripeCode);
    if (result == 0) {
        return FormatText(
            "Create Unit(controller=%d drives=%s, type=%s, stripe=%s, make os aware=%s, "
            "unit created=%d): Success",
            Ctl(unit), list.c_str(), words.c_str(), stripe.c_str(), YesNo(makeOsAware),
            UnitNumber(unit));
    }
    return FormatText(
        "Create Unit(controller=%d drives=%s, type=%s, stripe=%s, make os aware=%s): Failed",
        ListController(drives), list.c_str(), words.c_str(), stripe.c_str(), YesNo(makeOsAware));
}

std::string AuditLog::CreateUnitWithGroupMessage(const ObjectIdList128& drives, uint32_t type,
                                                 uint32_t stripeCode, uint8_t makeOsAware,
                                                 const ObjectId& unit, uint32_t drivesPerSubunit,
                                                 int result) {
    const std::string list = DriveListText(drives);
    const std::string words = UnitTypeWords(type);
    const std::string stripe = StripeText(type, stripeCode);
    const int group = static_cast<int>(drivesPerSubunit);
    if (result == 0) {
        return FormatText(
            "Create Unit(controller=%d drives=%s, type=%s, stripe=%s, drives/subunit=%d, make os "
            "aware=%s, unit created=%d): SUCCESS",
            Ctl(unit), list.c_str(), words.c_str(), stripe.c_str(), group, YesNo(makeOsAware),
            UnitNumber(unit));
    }
    return FormatText(
        "Create Unit(controller=%d drives=%s, type=%s, stripe=%s, drives/subunit=%d, make os "
        "aware=%s): FAILED",
        ListController(drives), list.c_str(), words.c_str(), stripe.c_str(), group,
        YesNo(makeOsAware));
}

std::string AuditLog::StartMigrateMessage(const ObjectId& unit, const ObjectIdList128& drives,
                                          uint32_t type, uint32_t stripeCode, uint8_t makeOsAware,
                                          uint32_t drivesPerSubunit, int result) {
    const std::string list = DriveListText(drives);
    const std::string words = UnitTypeWords(type);
    const std::string stripe = StripeText(type, stripeCode);
    const std::size_t n = drives.size();
    if (type == kUnitRaid50 && (n == 12 || n == 15 || n == 16) && drivesPerSubunit != 0) {
        return FormatText(
            "Start Migrate Unit(controller=%d unit=%d, drives=%s, type=%s, stripe=%s, "
            "drives/subunit=%d, make os aware=%s): %s",
            Ctl(unit), UnitNumber(unit), list.c_str(), words.c_str(), stripe.c_str(),
            static_cast<int>(drivesPerSubunit), YesNo(makeOsAware), ResultWord(result));
    }
    return FormatText(
        "Start Migrate Unit(controller=%d, unit=%d, drives=%s, type=%s, stripe=%s, make os "
        "aware=%s): %s",
        Ctl(unit), UnitNumber(unit), list.c_str(), words.c_str(), stripe.c_str(),
        YesNo(makeOsAware), ResultWord(result));
}

std::string AuditLog::RescanMessage(const ObjectId& controller, uint8_t makeOsAware,
                                    const ObjectIdList128& units, const ObjectIdList128& drives,
                                    int result) {
    const bool nothing = units.size() + drives.size() == 0;
    return FormatText("Rescan Controller(controller=%d, make os aware=%s): %s%s", Ctl(controller),
                      YesNo(makeOsAware), ResultWord(result), nothing ? " (nothing found)" : "");
}

std::string AuditLog::RescanUnitLine(const ObjectId& unit, uint32_t unitType) {
    return FormatText("    Rescan found unit %d (%s)", UnitNumber(unit),
                      UnitTypeWords(unitType).c_str());
}

std::string AuditLog::RescanDriveLine(const ObjectId& drive) {
    return FormatText("    Rescan found drive on port%d", PortNumber(drive));
}

std::string AuditLog::RebuildMessage(const ObjectId& unit, const ObjectIdList128& drives,
                                     uint8_t ignoreEcc, int result) {
    return FormatText("Rebuild Unit(controller=%d, unit=%d, drives=%s, ignore ecc=%s): %s",
                      Ctl(unit), UnitNumber(unit), DriveListText(drives).c_str(), YesNo(ignoreEcc),
                      ResultWord(result));
}
