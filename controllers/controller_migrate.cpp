// The controller's part of a unit migration: the target unit object of the
// type asked and a migrator that stands in the unit map for the source
// while the migration is sent; the map is as it was afterwards.
#include <memory>
#include <string>

#include "api/api_codes.h"
#include "controllers/controller.h"
#include "units/logical_disk_types.h"

namespace {

bool isMigrationType(const std::string& word) {
    static const char* const kTypes[] = {"raid0",  "raid1",  "raid10", "raid5",
                                         "raid50", "single", "raid6"};
    for (const char* type : kTypes) {
        if (word == type)
            return true;
    }
    return false;
}

}  // namespace

int Controller::migrateUnit(const std::string& unitName, const std::string& targetType,
                            std::istream& options) {
    if (family < kFamilyRhosk)
        throwError(kInvalidControllerOperation);
    auto entry = units.find(unitName);
    if (entry == units.end())
        (void)getUnit(unitName);  // the missing unit's own error
    std::unique_ptr<LogicalDisk> target =
        isMigrationType(targetType) ? LogicalDisk::makeNew(targetType, this) : nullptr;
    if (!target)
        throwError(kInvalidMigrationRaidType);

    // The migrator takes the source's place in the map for the migration.
    TreePtr<LogicalDisk> source = std::move(entry->second);
    LogicalDisk* sourceUnit = source.get();
    entry->second = adoptTreeObject<LogicalDisk>(
        std::make_unique<LogicalDiskMigrator>(this, sourceUnit, std::move(target)));
    auto migrator = static_cast<LogicalDiskMigrator*>(entry->second.get());
    try {
        migrator->migrate(options);
    } catch (...) {
        entry->second = std::move(source);
        throw;
    }
    entry->second = std::move(source);
    return 0;
}
