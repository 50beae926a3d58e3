#include "units/logical_disk_types.h"

#include <iostream>

#include "api/api.h"
#include "base/api_call.h"
#include "base/kv_exception.h"

namespace {

constexpr uint32_t kRaid50DefaultGroup = 3;

// Type code, text, redundant, stripe, group, write cache, rapid recovery,
// auto-verify needs the basic schedule, asks the verify schedule.
constexpr LogicalDisk::Kind kRaid0{kUnitRaid0, "RAID-0", false, kStripe256K, 0,
                                   true,       1,        false, true};
constexpr LogicalDisk::Kind kRaid1{
    kUnitRaid1Mirror, "RAID-1", true, kStripeNone, 0, true, 0, false, true};
constexpr LogicalDisk::Kind kRaid5{kUnitRaid5, "RAID-5", true,  kStripe256K, 0,
                                   true,       0,        false, true};
constexpr LogicalDisk::Kind kRaid10{kUnitRaid10, "RAID-10", true,  kStripe256K, 0,
                                    true,        0,         false, true};
constexpr LogicalDisk::Kind kRaid6{kUnitRaid6, "RAID-6", true,  kStripe256K, 0,
                                   true,       0,        false, true};
constexpr LogicalDisk::Kind kRaid50{kUnitRaid50, "RAID-50", true,  kStripe256K, kRaid50DefaultGroup,
                                    true,        0,         false, true};
constexpr LogicalDisk::Kind kSingle{kUnitSingle, "SINGLE", false, kStripeNone, 0,
                                    true,        1,        false, true};
// A spare never uses the cache fields: its creation stops at its warning.
constexpr LogicalDisk::Kind kSpare{kUnitSpare, "SPARE", false, kStripeNone, 0,
                                   false,      1,       false, true};
constexpr LogicalDisk::Kind kJbod{kUnitJbod, "JBOD", false, kStripeNone, 0, true, 1, true, true};
constexpr LogicalDisk::Kind kDead{kUnitDead, "UNKNOWN", false, kStripeNone, 0,
                                  false,     0,         false, false};
constexpr LogicalDisk::Kind kMigrator{kUnitMigrating, "Migrator", false, kStripeNone, 0,
                                      false,          0,          false, false};

}  // namespace

// Each class: the new-unit and the existing-unit constructor.
#define KV_UNIT_CONSTRUCTORS(Class, Base, kind)                                           \
    Class::Class(ControllerView* owner) : Base(owner) {                                   \
        initNew(kind);                                                                    \
    }                                                                                     \
    Class::Class(ControllerView* owner, const std::string& unitName, uint32_t unitNumber, \
                 ObjectId unitId)                                                         \
        : Base(owner) {                                                                   \
        initExisting(kind, unitName, unitNumber, unitId);                                 \
    }

KV_UNIT_CONSTRUCTORS(LogicalDiskRaid0, LogicalDiskWithoutRedundancy, kRaid0)
KV_UNIT_CONSTRUCTORS(LogicalDiskRaid1, LogicalDisk, kRaid1)
KV_UNIT_CONSTRUCTORS(LogicalDiskRaid10, LogicalDisk, kRaid10)
KV_UNIT_CONSTRUCTORS(LogicalDiskRaid6, LogicalDisk, kRaid6)
KV_UNIT_CONSTRUCTORS(LogicalDiskRaid50, LogicalDisk, kRaid50)
KV_UNIT_CONSTRUCTORS(LogicalDiskSingle, LogicalDiskWithoutRedundancy, kSingle)
KV_UNIT_CONSTRUCTORS(LogicalDiskSpare, LogicalDiskWithoutRedundancy, kSpare)
KV_UNIT_CONSTRUCTORS(LogicalDiskJBOD, LogicalDiskWithoutRedundancy, kJbod)
KV_UNIT_CONSTRUCTORS(LogicalDiskDead, LogicalDiskWithoutRedundancy, kDead)
#undef KV_UNIT_CONSTRUCTORS

// The older family stripes a new RAID-5 unit at 64K.
LogicalDiskRaid5::LogicalDiskRaid5(ControllerView* owner) : LogicalDisk(owner) {
    initNew(kRaid5);
    if (family() == kFamilyPrane)
        stripeCode = kStripe64K;
}

LogicalDiskRaid5::LogicalDiskRaid5(ControllerView* owner, const std::string& unitName,
                                   uint32_t unitNumber, ObjectId unitId)
    : LogicalDisk(owner) {
    initExisting(kRaid5, unitName, unitNumber, unitId);
}

uint32_t LogicalDiskRaid6::getParity() {
    uint32_t count = 0;
    RequireApi(Api::GetUnitParityNumber(id, &count));
    parity = count;
    return parity;
}

uint32_t LogicalDiskRaid50::getGroup(bool useCached) {
    return useCached ? group : kRaid50DefaultGroup;
}

bool LogicalDiskRaid50::parseGroup(const std::string& token) {
    static const char* const kGroups[] = {"3",  "4",  "5",  "6",  "7",  "8",  "9",
                                          "10", "11", "12", "13", "14", "15", "16"};
    const std::string text = token.empty() ? std::string() : token.substr(1);
    for (uint32_t i = 0; i < std::size(kGroups); ++i) {
        if (text == kGroups[i]) {
            group = i + 3;
            groupGiven = true;
            return true;
        }
    }
    throwError(kInvalidRaid50Group);
}

uint32_t LogicalDiskSpare::getStripeCode(bool /*useCached*/) {
    throwError(kInvalidUnitOperation);
}

// --- Operations a unit type refuses ---

// Units without redundancy: no ignore-ECC policy, no rebuild.
bool LogicalDiskWithoutRedundancy::setIgnoreEcc(bool) {
    throwError(kInvalidUnitOperation);
}
int LogicalDiskWithoutRedundancy::rebuildCommand(std::istream&) {
    throwError(kInvalidUnitOperation);
}
int LogicalDiskWithoutRedundancy::startRebuild(bool) {
    throwError(kInvalidUnitOperation);
}
int LogicalDiskWithoutRedundancy::resumeRebuild() {
    throwError(kInvalidUnitOperation);
}
int LogicalDiskWithoutRedundancy::pauseRebuild() {
    throwError(kInvalidUnitOperation);
}

// The older family cannot verify a unit without redundancy; the others
// verify it as any unit.
int LogicalDiskWithoutRedundancy::verifyWithoutRedundancy(std::istream& words) {
    if (family() == kFamilyPrane)
        throwError(kInvalidForArchitecture);
    LogicalDisk::verifyCommand(words);
    return 1;
}

// A flush addressed to a spare: the spare has no write cache, and the
// controller is not asked.
bool LogicalDiskSpare::flush() {
    std::cout << "Flushing write-cache on unit " << getPath() << " ...Failed." << std::endl;
    throwError(kInvalidUnitOperation);
}

bool LogicalDiskSpare::getWriteCache(bool) {
    throwError(kInvalidUnitOperation);
}

void LogicalDiskSpare::showKeepwell() {
    throwError(kInvalidUnitOperation);
}

bool LogicalDiskSpare::setKeepwell(const std::string&) {
    throwError(kInvalidUnitOperation);
}

// --- The migrating unit ---

LogicalDiskMigrator::LogicalDiskMigrator(ControllerView* owner, LogicalDisk* migrated,
                                         std::unique_ptr<LogicalDisk> becomes)
    : LogicalDisk(owner), source(migrated), target(std::move(becomes)) {
    typeCode = kMigrator.typeCode;
    typeText = kMigrator.typeText;
    id = source->getObjectId();
    redundant = target->isRedundant();
}

LogicalDiskMigrator::LogicalDiskMigrator(ControllerView* owner, const std::string& unitName,
                                         uint32_t unitNumber, ObjectId unitId)
    : LogicalDisk(owner) {
    initExisting(kMigrator, unitName, unitNumber, unitId);
    ObjectIdList128 halves;
    halves.clear();
    RequireApi(Api::GetSubunitIdList(id, &halves));
    if (halves.size() != 2)
        throw KV_Exception("I can not have more than 2 subunits for a migrator");
    std::unique_ptr<LogicalDisk> built[2];
    static const char* const kPrefixes[] = {"su", "du"};
    for (std::size_t i = 0; i < 2; ++i) {
        uint32_t type = 0xFFFFFFFFu;
        RequireApi(Api::GetUnitType(halves.ids[i], &type));
        if (type == kUnitCbod || type == 0xFFFFFFFFu)
            continue;
        uint8_t ctl = 0, level4 = 0, unit = 0, level2 = 0, level3 = 0;
        RequireApi(Api::ParseUnitId(halves.ids[i], &ctl, &level4, &unit, &level2, &level3));
        // Neither half of a migration is itself migrating or dead.
        if (type == kUnitMigrating || type == kUnitDead)
            throwError(kInvalidUnitConfiguration);
        built[i] =
            makeExisting(type, owner, kPrefixes[i] + std::to_string(unit), unit, halves.ids[i]);
        if (!built[i])
            throwError(kInvalidUnitConfiguration);
    }
    ownedSource = std::move(built[0]);
    source = ownedSource.get();
    target = std::move(built[1]);
    if (target)
        redundant = target->isRedundant();
}

LogicalDiskMigrator::~LogicalDiskMigrator() = default;

void LogicalDiskMigrator::showTable(bool withHeader) {
    if (withHeader)
        showTableHeader();
    std::string rebuild;
    std::string other;
    getPercentTexts(rebuild, other);
    printTableRow({name, typeText, getStatus(), rebuild, other, "-", getStripe(), "-"});
    for (LogicalDisk* half : {source, target.get()}) {
        std::cout << "\n";
        if (half != nullptr)
            half->showTable(false);
    }
}

// --- Building unit objects ---

std::unique_ptr<LogicalDisk> LogicalDisk::makeExisting(uint32_t type, ControllerView* owner,
                                                       const std::string& unitName,
                                                       uint32_t unitNumber, ObjectId unitId) {
    switch (type) {
        case kUnitRaid0:
            return std::make_unique<LogicalDiskRaid0>(owner, unitName, unitNumber, unitId);
        case kUnitRaid1Mirror:
            return std::make_unique<LogicalDiskRaid1>(owner, unitName, unitNumber, unitId);
        case kUnitRaid5:
            return std::make_unique<LogicalDiskRaid5>(owner, unitName, unitNumber, unitId);
        case kUnitRaid10:
            return std::make_unique<LogicalDiskRaid10>(owner, unitName, unitNumber, unitId);
        case kUnitRaid6:
            return std::make_unique<LogicalDiskRaid6>(owner, unitName, unitNumber, unitId);
        case kUnitRaid50:
            return std::make_unique<LogicalDiskRaid50>(owner, unitName, unitNumber, unitId);
        case kUnitSingle:
            return std::make_unique<LogicalDiskSingle>(owner, unitName, unitNumber, unitId);
        case kUnitSpare:
            return std::make_unique<LogicalDiskSpare>(owner, unitName, unitNumber, unitId);
        case kUnitJbod:
            return std::make_unique<LogicalDiskJBOD>(owner, unitName, unitNumber, unitId);
        case kUnitMigrating:
            return std::make_unique<LogicalDiskMigrator>(owner, unitName, unitNumber, unitId);
        case kUnitDead:
            return std::make_unique<LogicalDiskDead>(owner, unitName, unitNumber, unitId);
        default:
            return nullptr;
    }
}

std::unique_ptr<LogicalDisk> LogicalDisk::makeNew(const std::string& typeWord,
                                                  ControllerView* owner) {
    if (typeWord == "raid0")
        return std::make_unique<LogicalDiskRaid0>(owner);
    if (typeWord == "raid1")
        return std::make_unique<LogicalDiskRaid1>(owner);
    if (typeWord == "raid10")
        return std::make_unique<LogicalDiskRaid10>(owner);
    if (typeWord == "raid5")
        return std::make_unique<LogicalDiskRaid5>(owner);
    if (typeWord == "raid50")
        return std::make_unique<LogicalDiskRaid50>(owner);
    if (typeWord == "raid6")
        return std::make_unique<LogicalDiskRaid6>(owner);
    if (typeWord == "single" || typeWord == "singledisk")
        return std::make_unique<LogicalDiskSingle>(owner);
    if (typeWord == "jbod")
        return std::make_unique<LogicalDiskJBOD>(owner);
    if (typeWord == "spare")
        return std::make_unique<LogicalDiskSpare>(owner);
    return nullptr;
}
