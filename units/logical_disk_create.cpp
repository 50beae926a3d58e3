// The creation of a new unit: the options every unit type shares (drive
// list, stripe, scan and cache flags, volume sizes, rapid recovery), the
// check that the controller can use the drives, and the creation flow
// that creates the unit and then brings it to its settings one by one.
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "api/api.h"
#include "base/api_call.h"
#include "base/audited_call.h"
#include "base/kv_exception.h"
#include "base/shell_services.h"
#include "base/shell_words.h"
#include "units/logical_disk.h"

namespace {

constexpr std::size_t kMaxDriveIds = 128;
constexpr std::size_t kMaxListPieces = 128;
constexpr std::size_t kMaxListedVolumes = 4;
constexpr uint64_t kMaxVolumeGb = 32768;
constexpr uint64_t kGbUnit = 1ull << 20;

// The decimal number at the start of `text` (0 without digits); the
// conversion stops at the first non-digit and saturates instead of
// overflowing.
uint64_t leadingNumber(const std::string& text) {
    return static_cast<uint64_t>(shell_words::leadingDigits(text));
}

bool onlyOf(const std::string& text, const char* allowed) {
    return text.find_first_not_of(allowed) == std::string::npos;
}

// One line of standard input, at most `limit` characters kept.
std::string readAnswer(std::size_t limit) {
    std::string line;
    if (!ShellServices::readLine(std::cin, line))
        return std::string();
    if (line.size() > limit)
        line.resize(limit);
    return line;
}

// An on/off policy of a new unit: set to the request, with its progress
// line, when the controller's value differs.
template <typename Set>
void applyOnOff(const char* label, bool wanted, bool current, Set set) {
    if (current == wanted)
        return;
    std::cout << "Setting " << label << "=" << (wanted ? "ON" : "OFF") << " for the new unit ..."
              << std::flush;
    set(wanted);
    std::cout << " Done."
              << "\n";
}

}  // namespace

// --- Option parsers ---

bool LogicalDisk::parseNoScan(const std::string& word) {
    if (!word.empty())
        makeOsAware = 0;
    return true;
}

bool LogicalDisk::parseNoCache(const std::string& word) {
    if (!word.empty())
        writeCache = false;
    return true;
}

bool LogicalDisk::parseReadCacheOption(const std::string& word) {
    if (word == "nordcache")
        readCacheRequest = 1;
    else if (word == "rdcachebasic")
        readCacheRequest = 0;
    return true;
}

bool LogicalDisk::parseStripe(const std::string& word) {
    static constexpr struct {
        uint64_t kb;
        uint32_t code;
    } kStripes[] = {{8, kStripe8K},     {16, kStripe16K},    {32, kStripe32K},
                    {64, kStripe64K},   {128, kStripe128K},  {256, kStripe256K},
                    {512, kStripe512K}, {1024, kStripe1024K}};
    const uint64_t kb = leadingNumber(word.size() > 1 ? word.substr(1) : std::string());
    for (const auto& row : kStripes) {
        if (row.kb == kb) {
            stripeCode = row.code;
            return true;
        }
    }
    throwError(kInvalidStripeSize);
}

bool LogicalDisk::parseDriveList(const std::string& word) {
    if (word.size() < 2 || word[1] < '0' || word[1] > '9')
        throwError(kInvalidDrives);
    const std::string list = word.substr(1);
    if (!onlyOf(list, "0123456789:-"))
        throwError(kInvalidDrives);
    const char first = list.front();
    const char last = list.back();
    if (first == ':' || first == '-' || last == ':' || last == '-')
        throwError(kInvalidDrives);
    for (const char* pair : {"::", "--", ":-", "-:"}) {
        if (list.find(pair) != std::string::npos)
            throwError(kInvalidDrives);
    }
    std::vector<int32_t> added;
    std::size_t at = 0;
    for (std::size_t piece = 0; piece < kMaxListPieces && at < list.size(); ++piece) {
        const std::size_t separator = list.find_first_of(":-", at);
        if (separator == std::string::npos) {
            added.push_back(static_cast<int32_t>(leadingNumber(list.substr(at))));
            break;
        }
        const uint64_t start = leadingNumber(list.substr(at));
        if (list[separator] == ':') {
            added.push_back(static_cast<int32_t>(start));
            at = separator + 1;
            continue;
        }
        const std::size_t colon = list.find(':', separator + 1);
        const uint64_t end = leadingNumber(list.substr(separator + 1));
        if (start >= end) {
            std::cout << "Disks specified in a range must be in ascending order.\n";
            throwError(kInvalidDrives);
        }
        // No request holds more drives than one drive id list; a range
        // longer than that names no drives a unit could take.
        if (end - start >= kMaxDriveIds)
            throwError(kInvalidDrives);
        for (uint64_t drive = start; drive <= end; ++drive)
            added.push_back(static_cast<int32_t>(drive));
        if (colon == std::string::npos)
            break;
        at = colon + 1;
    }
    drives.insert(drives.end(), added.begin(), added.end());
    std::sort(drives.begin(), drives.end());
    const auto unique = std::unique(drives.begin(), drives.end());
    if (unique != drives.end()) {
        drives.erase(unique, drives.end());
        throwError(kIdInUse);
    }
    return true;
}

bool LogicalDisk::checkDrivesUsable() {
    const ObjectId ctl = controllerId();
    const int32_t fam = family();
    if (fam >= kFamilyVantor) {
        uint32_t limit = 0;
        RequireApi(Api::GetMaxDrivesPerUnit(ctl, &limit));
        if (drives.size() > limit)
            throwError(kTooManyDrives);
    } else {
        uint32_t ports = 0;
        RequireApi(Api::GetNumPorts(ctl, &ports));
        if (drives.size() > ports)
            throwError(kInvalidDrives);
    }
    // Every number must name a port before any drive is asked about.
    for (int32_t drive : drives)
        (void)driveIdOf(drive);
    std::vector<int32_t> unusable;
    enum class Kind { None, Sata, Sas } unitKind = Kind::None;
    for (int32_t drive : drives) {
        const ObjectId driveId = driveIdOf(drive);
        uint8_t status = 0;
        RequireApi(Api::GetDriveStatus(driveId, &status));
        if ((status & 0x80) == 0) {
            // An empty port is unusable already; it has no drive to ask more of.
            unusable.push_back(drive);
            continue;
        }
        if (fam > kFamilyRhosk) {
            uint8_t flags = 0;
            RequireApi(Api::GetDriveUnitFlags(driveId, &flags));
            if ((flags & 0x01) != 0)
                unusable.push_back(drive);
        }
        if (fam >= kFamilyVantor) {
            uint8_t interface = 0;
            RequireApi(Api::GetDriveInterface(driveId, &interface));
            const Kind kind = interface == 1 || interface == 5   ? Kind::Sata
                              : interface == 3 || interface == 7 ? Kind::Sas
                                                                 : Kind::None;
            if (kind != Kind::None) {
                if (unitKind == Kind::None)
                    unitKind = kind;
                else if (kind != unitKind)
                    throwError(kMixedSataSas);
            }
            if (typeCode == kUnitJbod && kind == Kind::Sas)
                throwError(kJbodWithSas);
        }
    }
    if (!unusable.empty()) {
        std::string text = "The following drive(s) cannot be used [";
        for (std::size_t i = 0; i < unusable.size(); ++i)
            text += (i == 0 ? "" : ", ") + std::to_string(unusable[i]);
        std::cout << text << "].\n";
        throwError(kInvalidDrives);
    }
    return true;
}

bool LogicalDisk::parseVolumeSizes(const std::string& word, bool list) {
    if (!list) {
        const std::string::size_type equals = word.find('=');
        const std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
        if (!onlyOf(value, "0123456789"))
            throwError(kSyntaxError);
        const uint64_t size = leadingNumber(value);
        if (size == 0 || size > kMaxVolumeGb)
            throwError(kInvalidLunSize);
        volumeSizes[0] = size * kGbUnit;
        return true;
    }
    const std::string value = word.size() > 4 ? word.substr(4) : std::string();
    if (value.empty())
        throwError(kInvalidCommand);
    if (!onlyOf(value, "0123456789:") || value.front() == ':' || value.back() == ':')
        throwError(kSyntaxError);
    std::size_t at = 0;
    for (std::size_t entry = 0;; ++entry) {
        if (entry == kMaxListedVolumes)
            throwError(kTooManyVolumes);
        const std::size_t colon = value.find(':', at);
        const std::string piece =
            value.substr(at, colon == std::string::npos ? std::string::npos : colon - at);
        const uint64_t size = leadingNumber(piece);
        if (piece.empty() || size == 0 || size > kMaxVolumeGb)
            throwError(kInvalidLunSize);
        volumeSizes[entry] = size * kGbUnit;
        if (colon == std::string::npos)
            break;
        at = colon + 1;
    }
    return true;
}

bool LogicalDisk::askVolumeSizes(std::istream& question) {
    std::cout << question.rdbuf() << std::flush;
    const std::string answer = readAnswer(254);
    if (answer != "y" && answer != "Y") {
        std::cout << "Invalid input!\n";
        return true;
    }
    for (;;) {
        std::cout << "Enter 'q' or 'quit' to stop input...\n";
        volumeSizes.fill(0);
        std::size_t i = 0;
        bool startOver = false;
        while (i < kVolumeSlots) {
            std::cout << "v" << i << "=" << std::flush;
            const std::string line = readAnswer(254);
            if (line != "q" && line != "quit") {
                if (!onlyOf(line, "0123456789"))
                    throwError(kSyntaxError);
                volumeSizes[i] = leadingNumber(line) * kGbUnit;
                ++i;
                continue;
            }
            std::cout << "calculating estimated remaining capacity... \n"
                      << "Do you wish to create the unit? Y|N [N]: " << std::flush;
            const std::string create = readAnswer(254);
            if (create == "y" || create == "Y")
                return true;
            if (create == "n" || create == "N")
                break;
            ++i;
        }
        std::cout << "Do you wish to start over? Y|N [N]: " << std::flush;
        const std::string again = readAnswer(254);
        startOver = again == "y" || again == "Y";
        if (!startOver)
            return true;
    }
}

bool LogicalDisk::parseRapidRecovery(const std::string& value) {
    uint32_t level36 = 0;
    if (Api::HasFirmwareCompatLevel36(controllerId(), &level36) != 0 || level36 != 1)
        throwError(kFeatureNotSupported);
    rapidRecoveryRequest = rapidRecoveryRequestOf(value);
    if (rapidRecoveryRequest == 0)
        throwError(kInvalidCommand);
    return true;
}

ObjectId LogicalDisk::driveIdOf(int64_t port) {
    if (!controller->hasPort(port))
        throwError(kInvalidDrives);
    ObjectId driveId = ObjectId::Blank();
    RequireApi(Api::MakeDriveId(static_cast<uint8_t>(controller->getNumber()),
                                static_cast<uint8_t>(port), &driveId));
    return driveId;
}

void LogicalDisk::addDriveId(ObjectIdList128* list, int64_t port) {
    if (!list->add(driveIdOf(port)))
        throwError(kInvalidDrives);
}

std::vector<int32_t> LogicalDisk::getAddedDrives() {
    std::vector<int32_t> added;
    for (int32_t drive : targetDrives) {
        if (std::find(sourceDrives.begin(), sourceDrives.end(), drive) == sourceDrives.end())
            added.push_back(drive);
    }
    return added;
}

// --- The creation flow ---

int LogicalDisk::create(std::istream& options, const std::string& style) {
    parseAndCheckCreate(options, style);
    createOnController();
    // The naming line reports its own failure ("Failed." and the error).
    if (family() != kFamilyPrane && !requestedName.empty())
        setNameCommand(requestedName);
    try {
        applyNewUnitSettings();
    } catch (const KV_LockNotReleased&) {
        throw;  // the change itself was reported as done
    } catch (const KV_Exception&) {
        std::cout << "Failed." << std::endl;
        throw;
    }
    return 0;
}

void LogicalDisk::parseAndCheckCreate(std::istream& options, const std::string& style) {
    if (style == "old")
        parseOldCreateOptions(options);
    else
        parseCreateOptions(options);
    validateCreate();
    if (typeCode == kUnitRaid6 && family() < kFamilyTevrin)
        throwError(kInvalidRaidType);
}

void LogicalDisk::createOnController() {
    // The ids are made before the progress line: a number that names no
    // port (a type without a drive check lets one through) is refused
    // before anything is sent.
    ObjectIdList128 list = driveIdList(drives);
    const std::string n = std::to_string(controller->getNumber());
    std::cout << "Creating new unit on controller /c" << n << " ... " << std::flush;

    uint32_t volumeCount = 0;
    while (volumeCount < kVolumeSlots && volumeSizes[volumeCount] != 0)
        ++volumeCount;
    ObjectId created = ObjectId::Blank();
    const uint8_t announce = makeOsAware != 0 ? 1 : 0;
    int result = 0;
    if (typeCode == kUnitRaid50) {
        result = volumeCount == 0
                     ? AuditedCall(&AuditLog::CreateUnitWithGroup, &Api::CreateUnitWithGroup, &list,
                                   typeCode, stripeCode, announce, &created, group)
                     : Api::CreateUnitWithGroupAndVolumes(&list, typeCode, stripeCode, announce,
                                                          &created, group, volumeSizes.data(),
                                                          volumeCount);
    } else {
        result = volumeCount == 0
                     ? AuditedCall(&AuditLog::CreateUnit, &Api::CreateUnit, &list, typeCode,
                                   stripeCode, announce, &created)
                     : Api::CreateUnitWithVolumes(&list, typeCode, stripeCode, announce, &created,
                                                  volumeSizes.data(), volumeCount);
    }
    RequireApi(result);
    id = created;
    uint8_t ctl = 0, level4 = 0, unit = 0, level2 = 0, level3 = 0;
    RequireApi(Api::ParseUnitId(id, &ctl, &level4, &unit, &level2, &level3));
    number = unit;
    name = "u" + std::to_string(number);
    std::cout << "Done. "
              << "The new unit is /c" << n << "/" << name << ".\n";
}

// --- The settings of the new unit, one by one ---

void LogicalDisk::applyNewUnitSettings() {
    if (typeCode == kUnitSpare) {
        std::cout << "WARNING: This Spare unit may replace failed drive of "
                  << "same interface type only." << std::endl;
        return;
    }
    const int32_t fam = family();
    if (fam != kFamilyPrane)
        applyNewAutoverify();
    if (fam != kFamilyPrane && redundant)
        applyNewIgnoreEcc();
    if (fam > kFamilyRhosk)
        applyNewKeepwell();
    if (rapidRecoveryRequest != 0 && rapidRecoveryRequest != 1)
        setRapidRecovery(rapidRecoveryRequest, "quiet");
    if (fam > kFamilyRhosk)
        applyNewQueuePolicy();
    applyNewWriteCache();
    if (readCacheRequest == 1)
        setReadCache("OFF", true);
    else if (readCacheRequest == 0)
        setReadCache("basic", true);
}

std::string LogicalDisk::newUnitPath() const {
    return "/c" + std::to_string(controller->getNumber()) + "/u" + std::to_string(number);
}

void LogicalDisk::applyNewAutoverify() {
    const bool wanted = autoverify;
    applyOnOff("AutoVerify", wanted, getAutoverify(false), [this](bool on) { setAutoverify(on); });
    autoverify = wanted;
}

void LogicalDisk::applyNewIgnoreEcc() {
    const bool wanted = ignoreEcc;
    applyOnOff("IgnoreECC", wanted, getIgnoreEcc(false), [this](bool on) { setIgnoreEcc(on); });
    ignoreEcc = wanted;
}

void LogicalDisk::applyNewKeepwell() {
    if (keepwellRequest.size() > 1) {
        std::cout << "Setting Keepwell policy to [" << keepwellRequest << "] for the new unit ..."
                  << std::flush;
        setKeepwell(keepwellRequest);
    } else {
        std::cout << "Setting default Keepwell policy to [balance]"
                  << " for the new unit ..." << std::flush;
        setKeepwell("balance");
    }
    std::cout << " Done.\n";
    if (keepwellRequest == "perform") {
        std::cout << "Warning: New unit " << newUnitPath()
                  << " keepwell policy is set to Performance which "
                  << "may\ncause data loss in the event of power failure." << std::endl;
    }
}

void LogicalDisk::applyNewQueuePolicy() {
    const std::string value = queuingOff ? "off" : "on";
    std::cout << (queuingOff ? "Setting Command Queuing policy for unit /"
                             : "Setting default Command Queuing policy for unit /")
              << controller->getName() << "/" << name << " to [" << value << "] ... " << std::flush;
    setQueuePolicy(value);
    std::cout << "Done." << std::endl;
}

// The write cache of the new unit when it differs from the request, unless
// a BBU that is there and on line is not ready yet (and the Keepwell policy
// does not allow it).
void LogicalDisk::applyNewWriteCache() {
    const bool wantCache = writeCache;
    if (getWriteCache(false) == wantCache)
        return;
    const std::string t = wantCache ? "ON" : "OFF";
    const std::string unitPath = newUnitPath();
    const bool refused = controller->isBatteryPresent(true) &&
                         controller->getBatteryOnlineState() == "On" &&
                         controller->getBatteryReady() != "Yes" &&
                         (family() <= kFamilyRhosk || getKeepwellText() != "performance");
    if (refused) {
        std::cout << "Setting write cache=" << t << " for the new unit ...Failed\n."
                  << "  BBU is not ready. "
                  << "Use " << unitPath << " set cache=" << t << " command " << std::endl
                  << "  to change the write cache policy when the BBU is ready." << std::endl;
        return;
    }
    std::cout << "Setting write cache = " << t << " for the new unit ..." << std::flush;
    const int cache = setWriteCache(wantCache, "quiet_no_message");
    std::cout << " Done."
              << "\n"
              << std::flush;
    writeCache = wantCache;
    const std::string online = controller->getBatteryOnlineState();
    const bool noBattery = online == "Off" || online == "-" || !controller->isBatteryPresent(false);
    if (noBattery && wantCache) {
        std::cout << "Warning: You do not have a battery backup unit for " << unitPath
                  << " and the enabled" << std::endl
                  << "write cache (default) may cause data loss in the event of "
                     "power failure."
                  << std::endl;
    }
    requireLockReleased(cache);
}
