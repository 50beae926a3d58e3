#include "units/logical_disk.h"

#include <iostream>

#include "api/api.h"
#include "base/api_call.h"
#include "base/kv_exception.h"
#include "units/unit_texts.h"

LogicalDisk::LogicalDisk(ControllerView* owner) : controller(owner) {}

LogicalDisk::~LogicalDisk() = default;

void LogicalDisk::initExisting(const Kind& kind, const std::string& unitName, uint32_t unitNumber,
                               ObjectId unitId) {
    typeCode = kind.typeCode;
    typeText = kind.typeText;
    redundant = kind.redundant;
    // A type with stripes starts from its default code, so that an
    // uncached read asks the controller for the unit's own (a migration
    // keeps the source's stripe); a type without stripes stays at 0.
    stripeCode = kind.stripeCode;
    name = unitName;
    number = unitNumber;
    id = unitId;
}

void LogicalDisk::initNew(const Kind& kind) {
    typeCode = kind.typeCode;
    typeText = kind.typeText;
    redundant = kind.redundant;
    makeOsAware = 1;
    stripeCode = kind.stripeCode;
    group = kind.group;
    writeCache = kind.writeCache;
    readCacheRequest = 2;
    autoverify = false;
    ignoreEcc = false;
    queuingOff = false;
    rapidRecoveryRequest = kind.rapidRecoveryRequest;
    volumeSizes.fill(0);
    if (!kind.asksVerifySchedule || family() < kFamilyRhosk)
        return;
    uint8_t mode = 0;
    if (Api::GetVerifyScheduleState(controllerId(), &mode) != 0) {
        std::cout << "get verify state API error.\n";
        return;
    }
    constexpr uint8_t kScheduleBasic = 2;
    if (controller->getBasicVerifySupported() == 1 &&
        (!kind.autoverifyNeedsBasicMode || mode == kScheduleBasic))
        autoverify = true;
}

int32_t LogicalDisk::family() const {
    return controller->getFamily();
}

ObjectId LogicalDisk::controllerId() const {
    ObjectId cid = ObjectId::Blank();
    controller->getObjectId(&cid);
    return cid;
}

std::string LogicalDisk::getControllerName() const {
    return controller->getName();
}

std::string LogicalDisk::getPath() const {
    return "/" + getControllerName() + "/" + name;
}

// --- Status and value texts ---

bool LogicalDisk::isTaskRunning(ObjectId unit) {
    uint8_t running = 0;
    RequireApi(Api::IsUnitTaskRunning(unit, &running));
    return running == 1;
}

std::string LogicalDisk::getStatus() {
    return typeCode == kUnitRaid6 ? getRaid6Status() : getStatusOf(id);
}

std::string LogicalDisk::getStatusOf(ObjectId unit) {
    uint8_t status = 0;
    RequireApi(Api::GetUnitStatus(unit, &status));
    const bool newer = family() >= kFamilyRhosk;
    bool running = true;
    if (newer && UnitTexts::hasPercent(status)) {
        // A RAID-6 rebuild is paused or running per subunit.
        const bool ownTask = typeCode == kUnitRaid6 && status == kUnitStatusRebuilding;
        running = isTaskRunning(ownTask ? unit : id);
    }
    return UnitTexts::statusWord(status, newer, running);
}

std::string LogicalDisk::getRaid6Status() {
    ObjectIdList128 subunits;
    subunits.clear();
    if (Api::GetRaid6SubunitIdList(id, &subunits) != 0)
        return "-";
    std::vector<uint8_t> statuses;
    for (std::size_t i = 0; i < subunits.size(); ++i) {
        uint8_t status = 0;
        RequireApi(Api::GetUnitStatus(subunits.ids[i], &status));
        statuses.push_back(status);
    }
    return UnitTexts::raid6Status(statuses);
}

std::string LogicalDisk::getPercentTextOf(ObjectId unit) {
    uint8_t status = 0;
    return percentTextOf(unit, &status);
}

std::string LogicalDisk::percentTextOf(ObjectId unit, uint8_t* status) {
    if (typeCode != kUnitJbod && typeCode != kUnitSpare && typeCode != kUnitSingle &&
        typeCode != kUnitRaid6) {
        ObjectIdList128 subunits;
        subunits.clear();
        if (Api::GetSubunitIdList(unit, &subunits) != 0 || subunits.size() == 0)
            return "-";
    }
    RequireApi(Api::GetUnitStatus(unit, status));
    if (!UnitTexts::hasPercent(*status))
        return "-";
    uint32_t percent = 0;
    RequireApi(Api::GetUnitPercentComplete(unit, &percent));
    return UnitTexts::percentText(percent);
}

void LogicalDisk::getPercentTexts(std::string& rebuildText, std::string& otherText) {
    rebuildText = "-";
    otherText = "-";
    if (typeCode == kUnitRaid6) {
        getRaid6PercentTexts(rebuildText, otherText);
        return;
    }
    uint8_t status = 0;
    const std::string text = percentTextOf(id, &status);
    if (text != "-")
        (status == kUnitStatusRebuilding ? rebuildText : otherText) = text;
}

void LogicalDisk::getRaid6PercentTexts(std::string& rebuildText, std::string& otherText) {
    ObjectIdList128 subunits;
    subunits.clear();
    if (Api::GetRaid6SubunitIdList(id, &subunits) != 0)
        return;
    std::vector<UnitTexts::TaskProgress> progress;
    for (std::size_t i = 0; i < subunits.size(); ++i) {
        UnitTexts::TaskProgress p{0, 0, false};
        RequireApi(Api::GetUnitStatus(subunits.ids[i], &p.status));
        if (UnitTexts::hasPercent(p.status)) {
            RequireApi(Api::GetUnitPercentComplete(subunits.ids[i], &p.percent));
            p.running = isTaskRunning(subunits.ids[i]);
        }
        progress.push_back(p);
    }
    UnitTexts::raid6PercentTexts(progress, rebuildText, otherText);
}

std::string LogicalDisk::getStripeOf(ObjectId unit) {
    uint32_t kb = 0;
    RequireApi(Api::GetUnitStripeSize(unit, &kb));
    return UnitTexts::stripeText(kb);
}

std::string LogicalDisk::getStripe() {
    return getStripeOf(id);
}

uint32_t LogicalDisk::getStripeCode(bool useCached) {
    if (useCached || stripeCode == kStripeNone)
        return stripeCode;
    uint32_t kb = 0;
    RequireApi(Api::GetUnitStripeSize(id, &kb));
    for (uint32_t code = kStripe8K; code <= kStripe1024K; ++code) {
        if (StripeSizeKb(code) == kb)
            return code;
    }
    throwError(kInvalidStripeSize);
}

std::string LogicalDisk::getSizeTextOf(ObjectId unit) {
    return UnitTexts::sizeText(getCapacityOf(unit));
}

std::string LogicalDisk::getVolumeSizeTextOf(ObjectId volume) {
    return UnitTexts::sizeText(getVolumeCapacityOf(volume));
}

std::string LogicalDisk::getCacheText() {
    const bool level37 = hasLevel37();
    uint8_t write = 0;
    RequireApi(Api::GetUnitWriteCache(id, &write));
    uint8_t read = kReadCacheOff;
    if (level37)
        RequireApi(Api::GetReadCacheMode(id, &read));
    return UnitTexts::cacheText(level37, write != 0, read);
}

std::string LogicalDisk::getAutoverifyText() {
    if (family() == kFamilyPrane)
        return "-";
    uint8_t value = 0;
    RequireApi(Api::GetAutoVerify(id, &value));
    return UnitTexts::onOffText(value);
}

std::string LogicalDisk::getIgnoreEccText() {
    if (family() == kFamilyPrane)
        return "-";
    uint8_t value = 0;
    RequireApi(Api::GetEccPolicy(id, &value));
    return UnitTexts::onOffText(value);
}

bool LogicalDisk::getIgnoreEcc(bool useCached) {
    if (family() == kFamilyPrane)
        throwError(kInvalidControllerOperation);
    if (!useCached && redundant) {
        uint8_t value = 0;
        RequireApi(Api::GetEccPolicy(id, &value));
        ignoreEcc = value == 1;
    }
    return ignoreEcc;
}

std::string LogicalDisk::getKeepwellText() {
    if (family() < kFamilySolvane)
        throwError(kInvalidUnitShowKeepwell);
    uint8_t mode = kKeepwellOther;
    RequireApi(Api::GetKeepwellMode(id, &mode));
    return UnitTexts::keepwellText(mode);
}

uint32_t LogicalDisk::getGroup(bool /*useCached*/) {
    return 0;
}

uint32_t LogicalDisk::getParity() {
    throwError(kInvalidUnitOperation);
}

// --- Queries ---

uint32_t LogicalDisk::getUnitTypeOf(ObjectId unit) {
    uint32_t type = 0;
    RequireApi(Api::GetUnitType(unit, &type));
    return type;
}

uint64_t LogicalDisk::getCapacityOf(ObjectId unit) {
    uint64_t blocks = 0;
    RequireApi(Api::GetUnitCapacity(unit, &blocks));
    return blocks;
}

uint64_t LogicalDisk::getVolumeCapacityOf(ObjectId volume) {
    uint64_t blocks = 0;
    RequireApi(Api::GetVolumeCapacity(volume, &blocks));
    return blocks;
}

bool LogicalDisk::needsStatusMark() {
    if (family() == kFamilyPrane)
        return false;
    uint8_t flags = 0;
    if (Api::GetUnitFlags(id, &flags) != 0)
        return false;
    constexpr uint8_t kSettledBit = 4;
    return (flags & kSettledBit) == 0;
}

uint32_t LogicalDisk::getDriveCount() {
    ObjectIdList128 list;
    list.clear();
    RequireApi(Api::GetUnitDriveList(id, &list));
    return static_cast<uint32_t>(list.size());
}

std::vector<uint32_t> LogicalDisk::getDrivePorts(bool useCached) {
    std::vector<uint32_t> ports;
    if (useCached) {
        ports.assign(drives.begin(), drives.end());
        return ports;
    }
    ObjectIdList128 list;
    list.clear();
    RequireApi(Api::GetUnitDriveList(id, &list));
    for (std::size_t i = 0; i < list.size(); ++i) {
        uint8_t ctl = 0;
        uint8_t port = 0;
        RequireApi(Api::ParseDriveId(list.ids[i], &ctl, &port));
        ports.push_back(port);
    }
    return ports;
}
