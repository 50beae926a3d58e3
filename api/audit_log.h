// The audit log: one line per configuration change made through the
// library, "<ctime without its newline> <tag> [<message>]", appended to a
// text file that is opened for every line.
//
// The command classes call the library's audited operations through the
// AuditLog wrappers: a wrapper calls exactly one library operation, writes
// its line when logging is on, and returns the operation's result with the
// error record as the operation left it.
#pragma once

#include <cstdint>
#include <string>

#include "api/api_error.h"
#include "api/object_id.h"

class AuditLog {
  public:
    AuditLog(std::string tag, std::string path, bool enabled);

    const std::string& tag() const { return tag_; }
    const std::string& path() const { return path_; }
    bool enabled() const { return enabled_; }

    // Appends one line; 0, or 1 after a failure (reported on stderr).
    int Write(const char* message);

    // The wrapper mechanism: given the result of the one library operation
    // a wrapper made, writes the line that `compose(result)` makes when
    // logging is on, and returns the result unchanged. Whatever the
    // composition does (reading identifiers, asking the library for a
    // unit's type), the error record stays as the operation left it.
    template <typename Compose>
    int record(int result, Compose&& compose) {
        if (enabled_) {
            const ApiError::RecordKeeper keeper;
            Write(compose(result).c_str());
        }
        return result;
    }

    // Log words of a UnitType ("RAID 5", "SINGLE DISK" ... "UNKNOWN");
    // 1 when `text` is null, else 0.
    static int FormatUnitType(uint32_t type, char* text);
    // Stripe size in KB ("%d") for striped types with a code of 1 or more,
    // else "n/a". Always 0.
    static int FormatStripeSize(uint32_t type, uint32_t stripeCode, char* text);
    // The port numbers of the listed drives, in list order, separated by
    // one blank; an empty list gives an empty text. Always 0.
    static int FormatDriveList(const ObjectIdList128& drives, char* text);

    // The same texts as strings (no buffer size to get wrong).
    static std::string UnitTypeWords(uint32_t type);
    static std::string StripeText(uint32_t type, uint32_t stripeCode);
    static std::string DriveListText(const ObjectIdList128& drives);

    // The words of the wrappers' settings.
    static const char* YesNo(uint32_t flag) { return flag != 0 ? "yes" : "no"; }
    // A change made whose management lock stayed held is a change made.
    static const char* ResultWord(int result) {
        return result == 0 || result == kApiChangedLockHeld ? "Success" : "Failed";
    }
    static const char* KeepwellWord(uint8_t mode);
    static const char* RapidRecoveryWord(uint8_t policy);
    static std::string AutoRebuildWords(uint8_t policy);
    static const char* SelftestFlagsWord(uint16_t flags);

    // The "start=..." part of a task line: the day word and "%02d:00" of
    // the hour, or "delete: " for a start of 10066 or more (which ends the
    // line's argument list; see TaskMessage).
    static bool IsTaskDeletion(int32_t start) { return start >= kTaskDeleteStart; }
    static std::string TaskStartText(int32_t start);

    // Messages of the wrappers whose composition is more than a name and
    // the controller and unit numbers; `result` is the operation's result.
    // Numbers are read from the identifiers' bytes, never through parsers
    // that could record an error over the operation's own.
    static std::string CreateUnitMessage(const ObjectIdList128& drives, uint32_t type,
                                         uint32_t stripeCode, uint8_t makeOsAware,
                                         const ObjectId& unit, int result);
    static std::string CreateUnitWithGroupMessage(const ObjectIdList128& drives, uint32_t type,
                                                  uint32_t stripeCode, uint8_t makeOsAware,
                                                  const ObjectId& unit, uint32_t drivesPerSubunit,
                                                  int result);
    static std::string StartMigrateMessage(const ObjectId& unit, const ObjectIdList128& drives,
                                           uint32_t type, uint32_t stripeCode, uint8_t makeOsAware,
                                           uint32_t drivesPerSubunit, int result);
    static std::string RescanMessage(const ObjectId& controller, uint8_t makeOsAware,
                                     const ObjectIdList128& units, const ObjectIdList128& drives,
                                     int result);
    static std::string RebuildMessage(const ObjectId& unit, const ObjectIdList128& drives,
                                      uint8_t ignoreEcc, int result);
    // kind: "Rebuild", "Verify" or "Selftest"; a negative duration leaves
    // the duration out (the self-test has none).
    static std::string TaskMessage(const char* kind, const ObjectId& controller, uint32_t slot,
                                   int32_t start, int64_t duration, int result);
    // "<name>(controller=%d): %s" and "<name>(controller=%d, unit=%d): %s".
    static std::string ControllerMessage(const char* name, const ObjectId& controller, int result);
    static std::string UnitMessage(const char* name, const ObjectId& unit, int result);
    // "<name>(controller=%d, <label>=%d): %s" of a drive or port identifier.
    static std::string PortMessage(const char* name, const char* label, const ObjectId& port,
                                   int result);
    // The rescan's extra lines after a success.
    static std::string RescanUnitLine(const ObjectId& unit, uint32_t unitType);
    static std::string RescanDriveLine(const ObjectId& drive);

    static constexpr int32_t kTaskDeleteStart = 10066;

    // --- Wrappers: each calls its one library operation, logs, and returns
    // the operation's result. Each stands, with its line, beside its
    // operation in api/operations/*.def (api/audit_log_wrappers.cpp). ---
#define KV_DECLARE_AUDIT(NAME, PARAMS) int NAME PARAMS;
#include "api/operations.def"
    // The rescan writes one more line per unit and drive it found; the
    // caller presets both lists empty.
    int RescanController(ObjectId controller, uint8_t makeOsAware, ObjectIdList128* units,
                         ObjectIdList128* drives);

  private:
    std::string tag_;
    std::string path_;
    bool enabled_;
};

// The process-wide audit logger, made by the shell at start-up with the
// tag "CLI", the log path and the logging decision; null before that.
extern AuditLog* theAuditLog;

// Makes (or, in tests, replaces) the process-wide audit logger.
AuditLog& MakeAuditLog(std::string tag, std::string path, bool enabled);
// Drops the process-wide audit logger (tests).
void ResetAuditLog();
