// The audit log wrappers of the library operations that change a
// controller's or a unit's settings.
#include "api/api.h"
#include "api/api_error.h"
#include "api/audit_log.h"

namespace {

using ApiUtil::FormatText;

int Ctl(const ObjectId& id) {
    return id[ObjectId::kController];
}

// "<name>(controller=%d, <label>=%d): %s" of a controller setting.
std::string ValueMessage(const char* name, const char* label, const ObjectId& controller,
                         long long value, int result) {
    return FormatText("%s(controller=%d, %s=%d): %s", name, Ctl(controller), label,
                      static_cast<int>(value), AuditLog::ResultWord(result));
}

}  // namespace

// --- Controller settings ---

int AuditLog::SetRebuildRate(ObjectId controller, const int32_t* rate) {
    return record(Api::SetRebuildRate(controller, rate), [&](int r) {
        return ValueMessage("Set Rebuild Rate", "rate", controller, rate ? *rate : 0, r);
    });
}

int AuditLog::SetVerifyRate(ObjectId controller, const int32_t* rate) {
    return record(Api::SetVerifyRate(controller, rate), [&](int r) {
        return ValueMessage("Set Verify Rate", "rate", controller, rate ? *rate : 0, r);
    });
}

int AuditLog::SetRebuildMode(ObjectId controller, uint8_t mode) {
    return record(Api::SetRebuildMode(controller, mode), [&](int r) {
        return ValueMessage("Set Rebuild Mode", "mode", controller, mode, r);
    });
}

int AuditLog::SetVerifyMode(ObjectId controller, uint8_t mode) {
    return record(Api::SetVerifyMode(controller, mode), [&](int r) {
        return ValueMessage("Set Verify Mode", "mode", controller, mode, r);
    });
}

int AuditLog::SetAutoRebuild(ObjectId controller, uint8_t policy) {
    return record(Api::SetAutoRebuild(controller, policy), [&](int r) {
        return FormatText("Set Auto Rebuild (controller=%d, policy=%x(%s)): %s", Ctl(controller),
                          policy, AutoRebuildWords(policy).c_str(), ResultWord(r));
    });
}

int AuditLog::EnableMultiLunPolicy(ObjectId controller) {
    return record(Api::EnableMultiLunPolicy(controller), [&](int r) {
        return ControllerMessage("Enable Multi-Lun Policy", controller, r);
    });
}

int AuditLog::DisableMultiLunPolicy(ObjectId controller) {
    return record(Api::DisableMultiLunPolicy(controller), [&](int r) {
        return ControllerMessage("Disable Multi-Lun Policy", controller, r);
    });
}

int AuditLog::SetLunSize(ObjectId controller, uint64_t size) {
    return record(Api::SetLunSize(controller, size), [&](int r) {
        // The size's low 32 bits, as the line has always shown it.
        return ValueMessage("Set LUN Size", "size", controller,
                            static_cast<int32_t>(static_cast<uint32_t>(size)), r);
    });
}

int AuditLog::EnableRebuildSchedule(ObjectId controller) {
    return record(Api::EnableRebuildSchedule(controller), [&](int r) {
        return ControllerMessage("Enable Rebuild Schedule", controller, r);
    });
}

int AuditLog::DisableRebuildSchedule(ObjectId controller) {
    return record(Api::DisableRebuildSchedule(controller), [&](int r) {
        return ControllerMessage("Disable Rebuild Schedule", controller, r);
    });
}

int AuditLog::EnableVerifySchedule(ObjectId controller) {
    return record(Api::EnableVerifySchedule(controller), [&](int r) {
        return ControllerMessage("Enable Verify Schedule", controller, r);
    });
}

int AuditLog::DisableVerifySchedule(ObjectId controller) {
    return record(Api::DisableVerifySchedule(controller), [&](int r) {
        return ControllerMessage("Disable Verify Schedule", controller, r);
    });
}

int AuditLog::SetRebuildTask(ObjectId controller, uint32_t slot, int32_t start, uint32_t duration) {
    const int result =
        Api::SetRebuildTask(controller, static_cast<uint16_t>(slot), static_cast<uint16_t>(start),
                            static_cast<uint16_t>(duration));
    return record(result, [&](int r) {
        return TaskMessage("Rebuild", controller, slot, start, duration, r);
    });
}

int AuditLog::SetVerifyTask(ObjectId controller, uint32_t slot, int32_t start, uint32_t duration) {
    const int result =
        Api::SetVerifyTask(controller, static_cast<uint16_t>(slot), static_cast<uint16_t>(start),
                           static_cast<uint16_t>(duration));
    return record(
        result, [&](int r) { return TaskMessage("Verify", controller, slot, start, duration, r); });
}

int AuditLog::SetSelftestTask(ObjectId controller, uint32_t slot, int32_t start) {
    const int result =
        Api::SetSelftestTask(controller, static_cast<uint16_t>(slot), static_cast<uint16_t>(start));
    return record(result,
                  [&](int r) { return TaskMessage("Selftest", controller, slot, start, -1, r); });
}

int AuditLog::SetSelftestFlags(ObjectId controller, const uint16_t* flags) {
    return record(Api::SetSelftestFlags(controller, flags), [&](int r) {
        const uint16_t value = flags ? *flags : 0;
        return FormatText("Set Selftest Flags(controller=%d, flags=%x(%s)): %s", Ctl(controller),
                          value, SelftestFlagsWord(value), ResultWord(r));
    });
}

int AuditLog::SetStaggerTime(ObjectId controller, uint32_t seconds) {
    return record(Api::SetStaggerTime(controller, static_cast<int>(seconds)), [&](int r) {
        return ValueMessage("Set Stagger Time", "stagger time", controller, seconds, r);
    });
}

int AuditLog::SetNumberSpinupsAllowed(ObjectId controller, uint32_t count) {
    return record(Api::SetNumberSpinupsAllowed(controller, static_cast<int>(count)), [&](int r) {
        return ValueMessage("Set Number Spinups Allowed", "spinups allowed", controller, count, r);
    });
}

// --- Unit policies ---

// The unit wrappers that log only the controller and unit numbers.
#define KV_AUDIT_UNIT_WRAPPER(Operation, Name)                                                  \
    int AuditLog::Operation(ObjectId unit) {                                                    \
        return record(Api::Operation(unit), [&](int r) { return UnitMessage(Name, unit, r); }); \
    }

KV_AUDIT_UNIT_WRAPPER(EnableWriteCache, "Enable Write Cache")
KV_AUDIT_UNIT_WRAPPER(DisableWriteCache, "Disable Write Cache")
KV_AUDIT_UNIT_WRAPPER(EnableAutoVerify, "Enable Auto Verify")
KV_AUDIT_UNIT_WRAPPER(DisableAutoVerify, "Disable Auto Verify")
KV_AUDIT_UNIT_WRAPPER(ContinueOnEccErrors, "Continue on ECC errors on rebuild")
KV_AUDIT_UNIT_WRAPPER(HaltOnEccErrors, "Halt on ECC errors on rebuild")
KV_AUDIT_UNIT_WRAPPER(EnableUnitQueuing, "Enabled Unit Queuing")
KV_AUDIT_UNIT_WRAPPER(DisableUnitQueuing, "Disabled Unit Queuing")
KV_AUDIT_UNIT_WRAPPER(EnableIntelligentReadCache, "Enable Intelligent Read Cache")
KV_AUDIT_UNIT_WRAPPER(EnableBasicReadCache, "Enable Basic Read Cache")
KV_AUDIT_UNIT_WRAPPER(DisableReadCache, "Disable Read Cache")

#undef KV_AUDIT_UNIT_WRAPPER

int AuditLog::SetUnitName(ObjectId unit, const char* name) {
    return record(Api::SetUnitName(unit, name), [&](int r) {
        return FormatText("Set Unit Name(controller=%d, unit=%d, name=%s): %s", Ctl(unit),
                          unit[ObjectId::kUnit], name ? name : "", ResultWord(r));
    });
}

int AuditLog::SetKeepwellMode(ObjectId unit, uint8_t mode) {
    return record(Api::SetKeepwellMode(unit, mode), [&](int r) {
        return FormatText("Set Keepwell Mode(controller=%d, unit=%d, mode=%s): %s", Ctl(unit),
                          unit[ObjectId::kUnit], KeepwellWord(mode), ResultWord(r));
    });
}

int AuditLog::SetRapidRecovery(ObjectId unit, uint8_t policy) {
    return record(Api::SetRapidRecovery(unit, policy), [&](int r) {
        return FormatText("Set Rapid RAID Recovery(controller=%d, unit=%d, rr_recovery=%s): %s",
                          Ctl(unit), unit[ObjectId::kUnit], RapidRecoveryWord(policy),
                          ResultWord(r));
    });
}

// --- Battery backup unit ---

int AuditLog::EnableBbu(ObjectId controller) {
    return record(Api::EnableBbu(controller),
                  [&](int r) { return ControllerMessage("Enable BBU", controller, r); });
}

int AuditLog::DisableBbu(ObjectId controller) {
    return record(Api::DisableBbu(controller),
                  [&](int r) { return ControllerMessage("Disable BBU", controller, r); });
}

int AuditLog::StartBbuBatteryTest(ObjectId controller) {
    return record(Api::StartBbuBatteryTest(controller), [&](int r) {
        return ControllerMessage("Start BBU Battery Test", controller, r);
    });
}

// --- Ports ---

int AuditLog::IdentifyPort(ObjectId port, uint8_t enable) {
    return record(Api::IdentifyPort(port, enable), [&](int r) {
        return FormatText("Identify Port(controller=%d, port=%d, enable=%s): %s", Ctl(port),
                          port[ObjectId::kNumber], YesNo(enable), ResultWord(r));
    });
}

// --- Rescan and controller logs ---

int AuditLog::RescanController(ObjectId controller, uint8_t makeOsAware, ObjectIdList128* units,
                               ObjectIdList128* drives) {
    ObjectIdList128 none;
    none.clear();
    const int result =
        record(Api::RescanController(controller, makeOsAware, units, drives), [&](int r) {
            return RescanMessage(controller, makeOsAware, units != nullptr ? *units : none,
                                 drives != nullptr ? *drives : none, r);
        });
    if (result == 0 && enabled()) {
        // The type lookups must not leave their errors behind.
        const ApiError::RecordKeeper keeper;
        for (std::size_t i = 0; units != nullptr && i < units->size(); ++i) {
            uint32_t type = 0xFFFFFFFFu;
            (void)Api::GetUnitType(units->ids[i], &type);
            Write(RescanUnitLine(units->ids[i], type).c_str());
        }
        for (std::size_t i = 0; drives != nullptr && i < drives->size(); ++i)
            Write(RescanDriveLine(drives->ids[i]).c_str());
    }
    return result;
}

int AuditLog::GetControllerErrorLog(ObjectId controller, uint8_t* log) {
    return record(Api::GetControllerErrorLog(controller, log), [&](int r) {
        return ControllerMessage("Get Error Log Controller", controller, r);
    });
}

// Logged with the same text as the error log.
int AuditLog::GetControllerLog(ObjectId controller, uint8_t* log) {
    return record(Api::GetControllerLog(controller, log), [&](int r) {
        return ControllerMessage("Get Error Log Controller", controller, r);
    });
}

// --- Drives ---

int AuditLog::RemoveDrive(ObjectId drive) {
    return record(Api::RemoveDrive(drive), [&](int r) {
        return FormatText("Remove Drive(controller=%d, drive=%d): %s", Ctl(drive),
                          drive[ObjectId::kNumber], ResultWord(r));
    });
}

// The line names the drive id the call leaves behind (the caller's
// preset when the call fails).
int AuditLog::AddDrive(ObjectId port, ObjectId* drive) {
    return record(Api::AddDrive(port, drive), [&](int r) {
        return FormatText("Add Drive(controller=%d, drive=%d): %s", (*drive)[ObjectId::kController],
                          (*drive)[ObjectId::kNumber], ResultWord(r));
    });
}

int AuditLog::GetDriveSmartData(ObjectId drive, uint8_t* data) {
    return record(Api::GetDriveSmartData(drive, data), [&](int r) {
        return FormatText("Get Drive SMART Data(controller=%d, drive=%d): %s", Ctl(drive),
                          drive[ObjectId::kNumber], ResultWord(r));
    });
}
// --- Unit maintenance ---

namespace {

// "<name>(controller=%d, unit=%d, make os aware=%s): %s" of a unit that
// leaves the controller.
std::string UnitRemovalMessage(const char* name, const ObjectId& unit, uint8_t makeOsAware,
                               int result) {
    return FormatText("%s(controller=%d, unit=%d, make os aware=%s): %s", name, Ctl(unit),
                      unit[ObjectId::kUnit], AuditLog::YesNo(makeOsAware),
                      AuditLog::ResultWord(result));
}

}  // namespace

int AuditLog::DeleteUnit(ObjectId unit, uint8_t makeOsAware) {
    return record(Api::DeleteUnit(unit, makeOsAware),
                  [&](int r) { return UnitRemovalMessage("Delete Unit", unit, makeOsAware, r); });
}

int AuditLog::RemoveUnit(ObjectId unit, uint8_t makeOsAware) {
    return record(Api::RemoveUnit(unit, makeOsAware),
                  [&](int r) { return UnitRemovalMessage("Remove Unit", unit, makeOsAware, r); });
}

int AuditLog::ExportUnit(ObjectId unit, uint8_t makeOsAware) {
    return record(Api::ExportUnit(unit, makeOsAware),
                  [&](int r) { return UnitRemovalMessage("Export Unit", unit, makeOsAware, r); });
}

int AuditLog::RebuildUnit(ObjectId unit, const ObjectIdList128* drives, uint8_t ignoreEcc) {
    return record(Api::RebuildUnit(unit, drives, ignoreEcc), [&](int r) {
        ObjectIdList128 none;
        none.clear();
        return RebuildMessage(unit, drives != nullptr ? *drives : none, ignoreEcc, r);
    });
}

int AuditLog::VerifyUnit(ObjectId unit) {
    // The line has always read "Veify"; tools that search the log for it
    // keep finding it.
    return record(Api::VerifyUnit(unit), [&](int r) { return UnitMessage("Veify Unit", unit, r); });
}

int AuditLog::FlushWriteCache(ObjectId unit) {
    return record(Api::FlushWriteCache(unit),
                  [&](int r) { return UnitMessage("Flush Write Cache", unit, r); });
}

int AuditLog::SplitMirror(ObjectId unit, uint8_t makeOsAware, ObjectIdList128* newUnits) {
    return record(Api::SplitMirror(unit, makeOsAware, newUnits),
                  [&](int r) { return UnitRemovalMessage("Split Mirror", unit, makeOsAware, r); });
}
