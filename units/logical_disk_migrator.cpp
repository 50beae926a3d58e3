// The migration of a unit: the source's state check, the target type's
// options and path, then the migration request to the controller (or the
// split of a mirror into single disks).
#include <iostream>
#include <vector>

#include "api/api.h"
#include "base/api_call.h"
#include "base/audited_call.h"
#include "base/kv_exception.h"
#include "units/logical_disk_types.h"

void LogicalDiskMigrator::collectMigrationDrives(std::vector<uint32_t>& ports) {
    ports = source->getDrivePorts(false);
    for (uint32_t added : target->getDrivePorts(true))
        ports.push_back(added);
}

int LogicalDiskMigrator::migrate(std::istream& options) {
    const std::string state = source->getStatus();
    if (state != "OK" && state != "VERIFYING" && state != "VERIFY-PAUSED")
        throwError(kInvalidForUnitState);
    target->parseMigrateOptions(source, options);
    target->validateMigration(source);
    if (target->getUnitType() == kUnitSingle)
        return splitMirror();

    std::vector<uint32_t> ports;
    collectMigrationDrives(ports);
    // A target type without a drive check (RAID-1) leaves the port check
    // of the added drives to the id list; a list that does not fit is
    // refused whole.
    const ObjectIdList128 list = driveIdList(ports);
    std::cout << "Sending migration message to /" << source->getControllerName() << "/"
              << source->getName() << " ... " << std::flush;
    const uint32_t targetGroup = target->getGroup(true);
    const uint8_t announce = target->getMakeOsAware() != 0 ? 1 : 0;
    const uint32_t stripe = target->getStripeCode(true);
    if (AuditedCall(&AuditLog::StartMigrateUnit, &Api::StartMigrateUnit, source->getObjectId(),
                    &list, target->getUnitType(), stripe, announce, targetGroup) != 0) {
        std::cout << "Failed." << std::endl;
        throwApiError();
    }
    std::cout << "Done." << std::endl;
    return 0;
}

int LogicalDiskMigrator::splitMirror() {
    std::cout << "Sending migration message to /" << controller->getName() << "/"
              << source->getName() << " ... " << std::flush;
    ObjectIdList128 units;
    units.clear();
    if (AuditedCall(&AuditLog::SplitMirror, &Api::SplitMirror, source->getObjectId(),
                    static_cast<uint8_t>(target->getMakeOsAware() != 0 ? 1 : 0), &units) != 0) {
        std::cout << "Failed." << std::endl;
        throwApiError();
    }
    std::cout << "Done." << std::endl;
    std::string line = "Split or migrate " + source->getName() + " to [" + source->getName();
    for (std::size_t i = 0; i < units.size(); ++i) {
        uint8_t ctl = 0, level4 = 0, unit = 0, level2 = 0, level3 = 0;
        RequireApi(Api::ParseUnitId(units.ids[i], &ctl, &level4, &unit, &level2, &level3));
        line += ", u" + std::to_string(unit);
    }
    std::cout << line << "]." << std::endl;
    // The unit that keeps the source's address takes the target's cache
    // and auto-verify settings.
    requireLockReleased(setWriteCache(target->getWriteCache(true), "quiet_no_message"));
    setAutoverify(target->getAutoverify(true));
    return 0;
}
