// The create and migration options and checks of each unit type. Every
// type takes its own set of option words, tested in a fixed order; the
// tables below list, per type, which tests it makes.
#include <algorithm>
#include <initializer_list>
#include <iostream>
#include <sstream>

#include "api/api.h"
#include "base/api_call.h"
#include "base/kv_exception.h"
#include "base/shell_words.h"
#include "units/logical_disk_types.h"

namespace {

// The new-style option tests, in their order of testing.
enum NewTest {
    kTestStripe = 1,
    kTestDisk,
    kTestGroup,
    kTestNoScan,
    kTestNoCache,
    kTestReadCache,
    kTestAutoverify,
    kTestNoQPolicy,
    kTestIgnoreEcc,
    kTestName,
    kTestKeepwell,
    kTestVolumes,
    kTestRapidRecovery,
};

// The old-style tests: "k" stripe, "p" drives, noscan, "g" group, nocache,
// autoverify, ignoreecc.
enum OldTest {
    kOldStripe = 1,
    kOldDrives,
    kOldNoScan,
    kOldGroup,
    kOldNoCache,
    kOldAutoverify,
    kOldIgnoreEcc
};

struct TypeOptions {
    uint32_t type;
    std::initializer_list<int> newTests;
    std::initializer_list<int> oldTests;
};

const TypeOptions kTypeOptions[] = {
    {kUnitJbod,
     {kTestDisk, kTestNoScan, kTestNoCache, kTestAutoverify, kTestNoQPolicy, kTestName,
      kTestRapidRecovery},
     {kOldDrives, kOldNoScan, kOldNoCache, kOldAutoverify}},
    {kUnitSingle,
     {kTestDisk, kTestNoScan, kTestNoCache, kTestReadCache, kTestAutoverify, kTestNoQPolicy,
      kTestName, kTestKeepwell, kTestRapidRecovery},
     {kOldDrives, kOldNoScan, kOldNoCache, kOldAutoverify}},
    {kUnitSpare,
     {kTestDisk, kTestNoScan, kTestAutoverify, kTestName, kTestRapidRecovery},
     {kOldDrives, kOldNoScan, kOldAutoverify}},
    {kUnitRaid0,
     {kTestStripe, kTestDisk, kTestNoScan, kTestNoCache, kTestReadCache, kTestAutoverify,
      kTestNoQPolicy, kTestIgnoreEcc, kTestName, kTestKeepwell, kTestVolumes, kTestRapidRecovery},
     {kOldStripe, kOldDrives, kOldNoScan, kOldNoCache, kOldAutoverify}},
    {kUnitRaid1Mirror,
     {kTestDisk, kTestNoScan, kTestNoCache, kTestReadCache, kTestAutoverify, kTestNoQPolicy,
      kTestIgnoreEcc, kTestName, kTestKeepwell, kTestVolumes, kTestRapidRecovery},
     {kOldDrives, kOldNoScan, kOldNoCache, kOldAutoverify, kOldIgnoreEcc}},
    {kUnitRaid10,
     {kTestStripe, kTestDisk, kTestNoScan, kTestNoCache, kTestReadCache, kTestAutoverify,
      kTestNoQPolicy, kTestIgnoreEcc, kTestName, kTestKeepwell, kTestVolumes, kTestRapidRecovery},
     {kOldStripe, kOldDrives, kOldNoScan, kOldNoCache, kOldAutoverify, kOldIgnoreEcc}},
    {kUnitRaid5,
     {kTestStripe, kTestDisk, kTestNoScan, kTestNoCache, kTestReadCache, kTestAutoverify,
      kTestNoQPolicy, kTestIgnoreEcc, kTestName, kTestKeepwell, kTestVolumes, kTestRapidRecovery},
     {kOldStripe, kOldDrives, kOldNoScan, kOldNoCache, kOldAutoverify, kOldIgnoreEcc}},
    {kUnitRaid6,
     {kTestStripe, kTestDisk, kTestNoScan, kTestNoCache, kTestReadCache, kTestAutoverify,
      kTestNoQPolicy, kTestIgnoreEcc, kTestName, kTestKeepwell, kTestVolumes, kTestRapidRecovery},
     {kOldStripe, kOldDrives, kOldNoScan, kOldNoCache, kOldAutoverify, kOldIgnoreEcc}},
    // RAID-50 tests ignoreecc before noqpolicy.
    {kUnitRaid50,
     {kTestStripe, kTestDisk, kTestGroup, kTestNoScan, kTestNoCache, kTestReadCache,
      kTestAutoverify, kTestIgnoreEcc, kTestNoQPolicy, kTestName, kTestKeepwell, kTestVolumes,
      kTestRapidRecovery},
     {kOldStripe, kOldDrives, kOldNoScan, kOldGroup, kOldNoCache, kOldAutoverify, kOldIgnoreEcc}},
};

const TypeOptions* optionsOf(uint32_t type) {
    for (const TypeOptions& row : kTypeOptions) {
        if (row.type == type)
            return &row;
    }
    return nullptr;
}

bool contains(const std::string& word, const char* key) {
    return word.find(key) != std::string::npos;
}

// The types without redundancy answer rapid recovery with a notice.
bool isRedundantType(uint32_t type) {
    return type == kUnitRaid1Mirror || type == kUnitRaid10 || type == kUnitRaid5 ||
           type == kUnitRaid6 || type == kUnitRaid50;
}

// Turns `flag` on when the word names it; whether it did.
bool setFlagOn(bool named, bool& flag) {
    if (named)
        flag = true;
    return named;
}

bool isOneOf(uint32_t value, std::initializer_list<uint32_t> allowed) {
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

// RAID-50 group by drive count when no group was asked for.
uint32_t defaultRaid50Group(std::size_t n, uint32_t current) {
    static constexpr struct {
        std::size_t drives;
        uint32_t group;
    } kGroups[] = {{8, 4},  {10, 5},  {12, 4},  {14, 7},  {15, 5},  {16, 8},
                   {18, 9}, {20, 10}, {21, 7},  {22, 11}, {24, 12}, {26, 13},
                   {27, 9}, {28, 7},  {30, 15}, {32, 16}, {33, 11}};
    for (const auto& row : kGroups) {
        if (row.drives == n)
            return row.group;
    }
    return current;
}

}  // namespace

// --- Creation options ---

bool LogicalDisk::parseOldCreateOptions(std::istream& options) {
    const TypeOptions* row = optionsOf(typeCode);
    if (row == nullptr)
        throwError(kInvalidUnitOperation);
    auto makes = [&](int test) {
        return std::find(row->oldTests.begin(), row->oldTests.end(), test) != row->oldTests.end();
    };
    std::string word;
    while (options >> word) {
        controller->toLower(word);
        const char first = word[0];
        if (makes(kOldStripe) && first == 'k') {
            parseStripe(word);
        } else if (makes(kOldDrives) && first == 'p') {
            parseDriveList(word);
        } else if (makes(kOldNoScan) && word == "noscan") {
            parseNoScan(word);
        } else if (makes(kOldGroup) && first == 'g') {
            static_cast<LogicalDiskRaid50*>(this)->parseGroup(word);
        } else if (makes(kOldNoCache) && word == "nocache") {
            parseNoCache(word);
        } else if (makes(kOldAutoverify) && word == "autoverify") {
            autoverify = true;
        } else if (makes(kOldIgnoreEcc) && word == "ignoreecc") {
            ignoreEcc = true;
        } else {
            throwError(kInvalidMaintArgument);
        }
    }
    return true;
}

bool LogicalDisk::parseCreateOptions(std::istream& options) {
    const TypeOptions* row = optionsOf(typeCode);
    if (row == nullptr)
        throwError(kInvalidUnitOperation);
    std::string typed;
    while (options >> typed) {
        std::string word = typed;
        controller->toLower(word);
        const CreateWord option{typed, word, shell_words::valueAfterEquals(word)};
        // The type's tests in their order: the first that knows the word
        // takes it.
        bool taken = false;
        for (auto test = row->newTests.begin(); !taken && test != row->newTests.end(); ++test)
            taken = takeCreateOption(*test, option);
        if (!taken)
            throwError(kInvalidAddArgument);
    }
    return true;
}

bool LogicalDisk::takeCreateOption(int test, const CreateWord& option) {
    const std::string& word = option.word;
    const std::string& value = option.value;
    switch (test) {
        case kTestStripe:
            if (!contains(word, "stripe="))
                return false;
            parseStripe("k" + value);
            return true;
        case kTestDisk:
            if (!contains(word, "disk="))
                return false;
            parseDriveList("p" + value);
            return true;
        case kTestGroup:
            if (!contains(word, "group="))
                return false;
            static_cast<LogicalDiskRaid50*>(this)->parseGroup("g" + value);
            return true;
        case kTestName:
            if (!contains(word, "name="))
                return false;
            requestedName = shell_words::valueAfterEquals(option.typed);
            return true;
        case kTestKeepwell:
            if (!contains(word, "keepwell="))
                return false;
            keepwellRequest = value;
            return true;
        case kTestVolumes:
            return takeVolumeOption(word);
        case kTestRapidRecovery:
            return takeRapidRecoveryOption(word, value);
        default:
            return takeCreateFlag(test, word);
    }
}

bool LogicalDisk::takeCreateFlag(int test, const std::string& word) {
    switch (test) {
        case kTestNoScan:
            return word == "noscan" && parseNoScan(word);
        case kTestNoCache:
            return (word == "nocache" || word == "nowrcache") && parseNoCache(word);
        case kTestReadCache:
            return (word == "nordcache" || word == "rdcachebasic") && parseReadCacheOption(word);
        case kTestAutoverify:
            return setFlagOn(word == "autoverify", autoverify);
        case kTestNoQPolicy:
            return setFlagOn(word == "noqpolicy", queuingOff);
        case kTestIgnoreEcc:
            return setFlagOn(word == "ignoreecc", ignoreEcc);
        default:
            return false;
    }
}

// The volume options, from the newer family on: v0=N, vol=? (RAID-0, the
// interactive dialogue) and vol=a:b:c:d.
bool LogicalDisk::takeVolumeOption(const std::string& word) {
    if (family() < kFamilyRhosk)
        return false;
    if (contains(word, "v0=")) {
        parseVolumeSizes(word, false);
        return true;
    }
    if (typeCode == kUnitRaid0 && contains(word, "vol=?")) {
        std::istringstream question("Do you wish to specify v0, v1, v2, v3, etc.? Y|N [N]: ");
        askVolumeSizes(question);
        return true;
    }
    if (contains(word, "vol=")) {
        parseVolumeSizes(word, true);
        return true;
    }
    return false;
}

// Rapid RAID Recovery: a notice for a type without redundancy, refused
// before the Solvane generation.
bool LogicalDisk::takeRapidRecoveryOption(const std::string& word, const std::string& value) {
    if (!contains(word, "rapidrecovery=") && !contains(word, "rrr="))
        return false;
    if (!isRedundantType(typeCode))
        std::cout << "Rapid RAID Recovery is not supported for this array type.\n";
    else if (family() >= kFamilySolvane)
        parseRapidRecovery(value);
    else
        throwError(kInvalidAddArgument);
    return true;
}
// --- Creation checks ---

bool LogicalDisk::validateCreate() {
    const int32_t fam = family();
    const std::size_t n = drives.size() + sourceDrives.size();
    // The options the older family cannot apply to a new unit.
    auto refuseOlderFamilyOptions = [&](bool withIgnoreEcc) {
        if (fam != kFamilyPrane)
            return;
        if (autoverify || queuingOff || (withIgnoreEcc && ignoreEcc))
            throwError(kInvalidForArchitecture);
    };
    auto requireStripe = [&](std::initializer_list<uint32_t> allowed) {
        if (!isOneOf(stripeCode, allowed))
            throwError(kInvalidStripeSize);
    };
    switch (typeCode) {
        case kUnitJbod:
        case kUnitSingle:
        case kUnitSpare:
            if (drives.size() != 1)
                throwError(kInvalidPortCount);
            checkDrivesUsable();
            checkNameLength(requestedName);
            refuseOlderFamilyOptions(false);
            return true;
        case kUnitRaid0:
        case kUnitRaid10:
        case kUnitRaid5: {
            const bool countOk = typeCode == kUnitRaid0    ? n >= 2
                                 : typeCode == kUnitRaid10 ? n >= 4 && n % 2 == 0
                                                           : n >= 3;
            if (!countOk)
                throwError(kInvalidPortCount);
            checkDrivesUsable();
            checkNameLength(requestedName);
            if (fam == kFamilyPrane) {
                if (typeCode == kUnitRaid5)
                    requireStripe({kStripe64K});
                else
                    requireStripe(
                        {kStripe64K, kStripe128K, kStripe256K, kStripe512K, kStripe1024K});
                refuseOlderFamilyOptions(true);
            } else {
                requireStripe({kStripe16K, kStripe64K, kStripe256K});
            }
            return true;
        }
        case kUnitRaid1Mirror:
            if (n != 2)
                throwError(kInvalidPortCount);
            refuseOlderFamilyOptions(true);
            checkNameLength(requestedName);
            return true;
        case kUnitRaid6:
            if (fam < 5)
                throwError(kInvalidForArchitecture);
            if (n < 5)
                throwError(kInvalidPortCount);
            checkDrivesUsable();
            checkNameLength(requestedName);
            requireStripe({kStripe64K, kStripe256K});
            return true;
        case kUnitRaid50: {
            bool divisible = false;
            for (std::size_t d = 2; d <= 17; ++d) {
                if (d != 4 && n % d == 0)
                    divisible = true;
            }
            if (n < 6 || !divisible)
                throwError(kInvalidPortCount);
            if (!static_cast<LogicalDiskRaid50*>(this)->isGroupGiven())
                group = defaultRaid50Group(n, group);
            if (group >= 3 && group <= 16 && (n % group != 0 || n < 2 * group))
                throwError(kInvalidPortCount);
            checkDrivesUsable();
            checkNameLength(requestedName);
            requireStripe({kStripe16K, kStripe64K, kStripe256K});
            return true;
        }
        default:
            throwError(kInvalidUnitOperation);
    }
}

// --- Migration options and paths ---

bool LogicalDisk::parseMigrateOptions(LogicalDisk* source, std::istream& options) {
    if (typeCode == kUnitJbod || typeCode == kUnitSpare)
        throwError(kInvalidMigrationPath);
    if (!isOneOf(typeCode, {kUnitRaid0, kUnitRaid1Mirror, kUnitRaid10, kUnitRaid5, kUnitRaid6,
                            kUnitRaid50, kUnitSingle})) {
        throwError(kInvalidUnitOperation);
    }
    auto sourcePorts = [&] {
        std::vector<int32_t> ports;
        for (uint32_t port : source->getDrivePorts(false))
            ports.push_back(static_cast<int32_t>(port));
        return ports;
    };
    drives = sourcePorts();
    targetDrives = drives;
    const uint32_t sourceStripe = source->getStripeCode(false);
    if (sourceStripe != 0)
        stripeCode = sourceStripe;
    makeOsAware = source->getMakeOsAware();
    writeCache = source->getWriteCache(false);
    autoverify = source->getAutoverify(false);
    if (typeCode != kUnitRaid0)
        ignoreEcc = source->getIgnoreEcc(false);
    group = source->getGroup(false);
    drives = sourcePorts();
    sourceDrives = drives;

    const bool single = typeCode == kUnitSingle;
    std::string word;
    while (options >> word) {
        const std::string value = shell_words::valueAfterEquals(word);
        if (!single && contains(word, "disk=")) {
            drives = sourcePorts();
            parseDriveList("p" + value);
            targetDrives = drives;
        } else if (!single && typeCode != kUnitRaid1Mirror && contains(word, "stripe=")) {
            parseStripe("k" + value);
        } else if (typeCode == kUnitRaid50 && contains(word, "group=")) {
            static_cast<LogicalDiskRaid50*>(this)->parseGroup("g" + value);
        } else if (word == "noscan") {
            parseNoScan(word);
        } else if (word == "nocache") {
            parseNoCache(word);
        } else if (word == "autoverify") {
            autoverify = true;
        } else {
            throwError(kInvalidUnitCommandValue);
        }
    }
    drives = getAddedDrives();
    return true;
}

bool LogicalDisk::validateMigration(LogicalDisk* source) {
    const uint32_t from = source->getUnitType();
    switch (typeCode) {
        case kUnitRaid1Mirror:
            if (from != kUnitSingle)
                throwError(kInvalidMigrationPath);
            break;
        case kUnitSingle:
            if (from != kUnitRaid1Mirror && from != kUnitRaid1)
                throwError(kInvalidMigrationPath);
            return checkDrivesUsable();
        case kUnitRaid0:
        case kUnitRaid10:
        case kUnitRaid5:
        case kUnitRaid6:
        case kUnitRaid50:
            if (from == kUnitJbod || from == kUnitSpare)
                throwError(kInvalidMigrationPath);
            break;
        default:
            throwError(kInvalidMigrationPath);
    }
    (void)source->getDrivePorts(false);
    return validateCreate();
}
