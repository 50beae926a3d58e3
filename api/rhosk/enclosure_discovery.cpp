// Enclosure discovery: probing a controller's ports for SES and SAF-TE
// enclosures, the enclosure cache that holds each SES enclosure's
// configuration page, the resolution of an element's running number to its
// sub-enclosure, and the enclosure identity texts.
#include <algorithm>
#include <cstring>

#include "api/api.h"
#include "api/rhosk/enclosure_internal.h"
#include "api/rhosk/enclosure_services.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_family.h"

namespace enclosure {

bool TypeSlotOf(uint8_t sesType, std::size_t* slot) {
    struct Row {
        uint8_t type;
        TypeSlot slot;
    };
    static constexpr Row kRows[] = {
        {kSesDevice, kSlotDevice},
        {kSesArrayDevice, kSlotDevice},
        {kSesCooling, kSlotCooling},
        {kSesTempSensor, kSlotTempSensor},
        {kSesPowerSupply, kSlotPowerSupply},
        {kSesDoorLock, kSlotDoorLock},
        {kSesAlarm, kSlotAlarm},
        {kSesEnclosure, kSlotEnclosure},
        {kSesVoltageSensor, kSlotVoltageSensor},
        {kSesExpander, kSlotExpander},
    };
    for (const Row& row : kRows) {
        if (row.type == sesType) {
            *slot = row.slot;
            return true;
        }
    }
    return false;
}

bool SesTypeOfKind(uint8_t kind, uint8_t* sesType) {
    struct Row {
        uint8_t kind;
        uint8_t type;
    };
    static constexpr Row kRows[] = {
        {kKindEnclosure, kSesEnclosure},
        {kKindFan, kSesCooling},
        {kKindPowerSupply, kSesPowerSupply},
        {kKindDoorLock, kSesDoorLock},
        {kKindAlarm, kSesAlarm},
        {kKindSlot, kSesDevice},
        {kKindTempSensor, kSesTempSensor},
    };
    for (const Row& row : kRows) {
        if (row.kind == kind) {
            *sesType = row.type;
            return true;
        }
    }
    return false;
}

}  // namespace enclosure

namespace {

using namespace enclosure;

// The process-wide cache: zero (every entry invalid) before any dynamic
// initialisation.
EnclosureCache gEnclosureCache;

constexpr std::size_t kModeBytes = 32;
constexpr uint16_t kProtocolParam = 2;
constexpr uint16_t kModesParam = 4;

// INQUIRY fields.
constexpr uint8_t kEnclosureServicesDevice = 0x0D;
constexpr std::size_t kInquiryVendor = 8;
constexpr std::size_t kSafteSignature = 44;
constexpr std::size_t kAltRevision = 37;

// The first enclosure descriptor of the configuration page and its fields.
constexpr std::size_t kEnclosureDescriptor = 8;
constexpr std::size_t kTypeHeaderCount = 2;
constexpr std::size_t kDescriptorLength = 3;
constexpr std::size_t kLogicalId = 4;
constexpr std::size_t kVendorId = 12;
constexpr std::size_t kProductId = 20;
constexpr std::size_t kProductRevision = 36;
constexpr std::size_t kTypeHeaderSize = 4;

// The vendor whose enclosures report their revision in INQUIRY bytes
// 37-40, and count door locks and alarms of their first LUN only.
constexpr char kAltVendor[8] = {'A', 'M', 'I', ' ', ' ', ' ', ' ', ' '};

bool IsAltVendor(const char (&vendorId)[8]) {
    return std::memcmp(vendorId, kAltVendor, sizeof kAltVendor) == 0;
}

uint8_t AddCount(uint8_t count, uint8_t more) {
    return static_cast<uint8_t>(std::min<unsigned>(count + more, 0xFF));
}

// The id the probe's INQUIRY commands go to.
ObjectId ProbeTarget(ObjectId controller, uint8_t port, uint8_t protocol, uint8_t mode) {
    controller[ObjectId::kKind] = kKindUnit;
    controller[ObjectId::kUnit] = static_cast<uint8_t>(ObjectId::kEnclosureBase + port);
    controller[ObjectId::kSesMode] = mode;
    controller[ObjectId::kProtocol] = protocol;
    return controller;
}

// The valid cache entry of an id; API error 130 when there is none.
const EnclosureCacheEntry* ValidEntry(const ObjectId& id) {
    const EnclosureCacheEntry* entry = TheEnclosureCache().entry(id);
    if (entry == nullptr || !entry->valid()) {
        Fail(kApiEnclosureMissing);
        return nullptr;
    }
    return entry;
}

// The valid entry of an id and the count slot of an SES type: API error
// 130 without the entry, 127 for a type the cache does not count.
const EnclosureCacheEntry* EntryAndSlot(const ObjectId& id, uint8_t sesType, std::size_t* slot) {
    const EnclosureCacheEntry* entry = ValidEntry(id);
    if (entry != nullptr && !TypeSlotOf(sesType, slot)) {
        Fail(kApiElementMissing);
        return nullptr;
    }
    return entry;
}

// The first sub-enclosure's identity field of an SES enclosure, with a
// terminator; SAF-TE leaves the text untouched.
template <std::size_t N>
int32_t CopyIdentity(const ObjectId& id, char* text,
                     const char (SubEnclosureDescriptor::*field)[N]) {
    if (!IsSes(id))
        return 0;
    const EnclosureCacheEntry* entry = ValidEntry(id);
    if (entry == nullptr)
        return -1;
    const SubEnclosureDescriptor& first = entry->descriptors[0];
    std::memcpy(text, first.*field, N);
    text[N] = '\0';
    return 0;
}

}  // namespace

EnclosureCache& TheEnclosureCache() {
    return gEnclosureCache;
}

EnclosureCacheEntry* EnclosureCache::entry(const ObjectId& id) {
    return entry(id[ObjectId::kController],
                 static_cast<uint8_t>(id[ObjectId::kUnit] - ObjectId::kEnclosureBase));
}

EnclosureCacheEntry* EnclosureCache::entry(uint8_t controller, uint8_t enclosureNumber) {
    const std::size_t index = std::size_t{controller} * kMaxEnclosures + enclosureNumber;
    if (enclosureNumber >= kMaxEnclosures || index >= kCacheEntries)
        return nullptr;
    return &entries_[index];
}

void EnclosureCache::reset() {
    std::memset(entries_, 0, sizeof entries_);
}

int32_t EnclosureServices::GetEnclosureProtocol(ObjectId controller, uint8_t* protocol) {
    return RhoskFamily::GetParam(controller.controllerId(), protocol, 1,
                                 rhosk_tables::kEnclosureDiscoveryTable, kProtocolParam, 1);
}

int32_t EnclosureServices::GetDiscoveryModes(ObjectId controller, uint8_t* modes) {
    return RhoskFamily::GetParam(controller.controllerId(), modes, kModeBytes,
                                 rhosk_tables::kEnclosureDiscoveryTable, kModesParam, kModeBytes);
}

int32_t EnclosureServices::GetEnclosureIdList(ObjectId controller, ObjectIdList16* out) {
    ObjectIdList16 list;
    list.clear();
    uint8_t protocol = 0;
    if (GetEnclosureProtocol(controller, &protocol) != 0)
        return -1;
    uint8_t modes[kModeBytes] = {};
    if (GetDiscoveryModes(controller, modes) != 0)
        std::memset(modes, 0, sizeof modes);

    for (uint8_t port = 0; port < kMaxEnclosures; ++port) {
        uint32_t lunCount = 0;
        if (ProbePort(controller, port, protocol, modes[port], &lunCount) != 1)
            continue;
        ObjectId id = ObjectId::Blank();
        if (Api::MakeEnclosureId(controller[ObjectId::kController], port, &id) != 0)
            continue;
        id[ObjectId::kProtocol] = protocol;
        id[ObjectId::kSesMode] = modes[port];
        (void)FillCacheEntry(&id, lunCount);
        (void)list.add(id);  // at most 16 ports, so it always fits
    }
    *out = list;
    return 0;
}

int32_t EnclosureServices::ProbePort(ObjectId controller, uint8_t port, uint8_t protocol,
                                     uint8_t mode, uint32_t* lunCount) {
    *lunCount = 0;
    const ObjectId target = ProbeTarget(controller, port, protocol, mode);
    Page reply;
    if (protocol == kProtocolSafte) {
        if (ScsiInquiry(target, &reply, kInquiryLength, 0) != 0)
            return 0;
        static constexpr char kVendor[8] = {'O', 'r', 'v', 'o', ' ', ' ', ' ', ' '};
        static constexpr char kSignature[6] = {'S', 'A', 'F', '-', 'T', 'E'};
        return std::memcmp(reply.data() + kInquiryVendor, kVendor, sizeof kVendor) == 0 ||
               std::memcmp(reply.data() + kSafteSignature, kSignature, sizeof kSignature) == 0;
    }
    if (protocol != kProtocolSes)
        return 0;
    const auto isEnclosure = [](const Page& inquiry) {
        return (inquiry[0] & 0x1F) == kEnclosureServicesDevice;
    };
    if (mode == kModeMultiLun) {
        uint32_t count = 0;
        for (uint8_t lun = 0; lun < kMaxSubEnclosures; ++lun) {
            if (ScsiInquiry(target, &reply, kInquiryLength, lun) != 0 || !isEnclosure(reply))
                break;
            ++count;
        }
        *lunCount = count;
        return count >= 1;
    }
    if (mode == kModeSingle)
        return ScsiInquiry(target, &reply, kInquiryLength, 0) == 0 && isEnclosure(reply);
    return 0;
}

int32_t EnclosureServices::FillCacheEntry(ObjectId* id, uint32_t lunCount) {
    EnclosureCacheEntry* entry = TheEnclosureCache().entry(*id);
    if (entry == nullptr)
        return 0;
    std::memset(entry, 0, sizeof *entry);
    ObjectId work = *id;
    uint32_t filled = 0;
    switch (work[ObjectId::kSesMode]) {
        case kModeMultiLun: {
            // A valid entry holds 1 to 8 sub-enclosures.
            filled = std::min<uint32_t>(lunCount, kMaxSubEnclosures);
            if (filled == 0)
                return 0;
            for (uint8_t lun = 0; lun < filled; ++lun) {
                SubEnclosureDescriptor& d = entry->descriptors[lun];
                work[ObjectId::kLevel2] = lun;
                d.address = work[ObjectId::kUnit];
                d.lun = lun;
                (void)ParseConfigurationPage(work, &d);
                Page inquiry;
                if (IsAltVendor(d.vendorId) &&
                    ScsiInquiry(work, &inquiry, kInquiryLength, lun) == 0)
                    std::memcpy(d.altRevision, inquiry.data() + kAltRevision, sizeof d.altRevision);
            }
            break;
        }
        case kModeSingle: {
            SubEnclosureDescriptor& d = entry->descriptors[0];
            work[ObjectId::kLevel2] = 0;
            d.address = work[ObjectId::kUnit];
            d.lun = 0;
            if (ParseConfigurationPage(work, &d) != 0)
                return 0;
            filled = 1;
            break;
        }
        default:
            return 0;
    }
    entry->index = static_cast<uint32_t>(work[ObjectId::kController]) * kMaxEnclosures +
                   static_cast<uint8_t>(work[ObjectId::kUnit] - ObjectId::kEnclosureBase);
    entry->subEnclosureCount = static_cast<uint8_t>(filled);
    entry->protocol = work[ObjectId::kProtocol];
    entry->sesMode = work[ObjectId::kSesMode];
    entry->flags = EnclosureCacheEntry::kValid;
    *id = work;  // byte 5: the last sub-enclosure read
    return 1;
}

int32_t EnclosureServices::ParseConfigurationPage(ObjectId id, SubEnclosureDescriptor* d) {
    Page page;
    if (ReceiveDiagnostic(id, kPageConfiguration, &page, kPageSize) != 0)
        return -1;
    const uint8_t* e = page.data() + kEnclosureDescriptor;
    std::memcpy(d->logicalId, e + kLogicalId, sizeof d->logicalId);
    std::memcpy(d->vendorId, e + kVendorId, sizeof d->vendorId);
    std::memcpy(d->productId, e + kProductId, sizeof d->productId);
    std::memcpy(d->productRevision, e + kProductRevision, sizeof d->productRevision);
    d->typeHeaderCount = e[kTypeHeaderCount];

    // The type descriptor headers follow the enclosure descriptor; only
    // those inside the page the enclosure returned are read.
    const std::size_t extent = SesPageExtent(page);
    uint64_t at = kEnclosureDescriptor + uint64_t{e[kDescriptorLength]} + 4;
    uint32_t running = 0;
    for (uint32_t h = 0; h < d->typeHeaderCount && Inside(extent, at, kTypeHeaderSize);
         ++h, at += kTypeHeaderSize) {
        const uint8_t type = page[at];
        const uint8_t elements = page[at + 1];
        std::size_t slot = 0;
        if (TypeSlotOf(type, &slot)) {
            // The last power-supply header's count stands; the others add up.
            d->counts[slot] =
                slot == kSlotPowerSupply ? elements : AddCount(d->counts[slot], elements);
            d->firstIndex[slot] = running;
        }
        running += uint32_t{elements} + 1;
    }
    return 0;
}

int32_t EnclosureServices::ResolveElementId(ObjectId* element) {
    ObjectId& id = *element;
    if (!IsSes(id))
        return 0;
    const EnclosureCacheEntry* entry = ValidEntry(id);
    if (entry == nullptr)
        return -1;
    if (entry->subEnclosureCount < 2)
        return 0;
    // The enclosure itself has no running number.
    uint8_t type = 0;
    std::size_t slot = 0;
    if (id.kind() == kKindEnclosure || !SesTypeOfKind(id.kind(), &type) || !TypeSlotOf(type, &slot))
        return Fail(kApiElementMissing);
    const uint32_t n = id[ObjectId::kNumber];
    uint32_t running = 0;
    for (uint8_t s = 0; s < entry->subEnclosureCount; ++s) {
        const uint32_t count = entry->descriptors[s].counts[slot];
        if (n < running + count) {
            id[ObjectId::kDepth] = static_cast<uint8_t>(n - running);
            id[ObjectId::kLevel2] = s;
            return 0;
        }
        running += count;
    }
    // Past the last sub-enclosure: every operation on it finds no element.
    id[ObjectId::kDepth] = static_cast<uint8_t>(n - running);
    id[ObjectId::kLevel2] = entry->subEnclosureCount;
    return 0;
}

int32_t EnclosureServices::GetTypeRange(ObjectId id, uint8_t sesType, uint32_t* firstIndex,
                                        uint32_t* count) {
    std::size_t slot = 0;
    const EnclosureCacheEntry* entry = EntryAndSlot(id, sesType, &slot);
    if (entry == nullptr)
        return -1;
    // A sub-enclosure index past the ones in use has no elements.
    const SubEnclosureDescriptor* d = entry->descriptor(id[ObjectId::kLevel2]);
    if (d == nullptr || d->counts[slot] == 0)
        return Fail(kApiElementMissing);
    *firstIndex = d->firstIndex[slot];
    *count = d->counts[slot];
    return 0;
}

int32_t EnclosureServices::CountElements(ObjectId id, uint8_t sesType, uint32_t* count) {
    std::size_t slot = 0;
    const EnclosureCacheEntry* entry = EntryAndSlot(id, sesType, &slot);
    if (entry == nullptr)
        return -1;
    const uint8_t subEnclosures =
        std::min<uint8_t>(entry->subEnclosureCount, static_cast<uint8_t>(kMaxSubEnclosures));
    uint32_t sum = 0;
    for (uint8_t s = 0; s < subEnclosures; ++s)
        sum += entry->descriptors[s].counts[slot];
    // That vendor's enclosures report their door locks and alarms on
    // every LUN: the first LUN's count stands.
    if ((slot == kSlotDoorLock || slot == kSlotAlarm) && subEnclosures > 0 &&
        IsAltVendor(entry->descriptors[subEnclosures - 1].vendorId)) {
        sum = entry->descriptors[0].counts[slot];
    }
    *count = sum;
    return 0;
}

int32_t EnclosureServices::GetEnclosureVendor(ObjectId id, char* text) {
    return CopyIdentity(id, text, &SubEnclosureDescriptor::vendorId);
}

int32_t EnclosureServices::GetEnclosureProductId(ObjectId id, char* text) {
    return CopyIdentity(id, text, &SubEnclosureDescriptor::productId);
}

int32_t EnclosureServices::GetEnclosureProductRevision(ObjectId id, char* text) {
    if (!IsSes(id))
        return 0;
    const EnclosureCacheEntry* entry = ValidEntry(id);
    if (entry == nullptr)
        return -1;
    return CopyIdentity(id, text,
                        IsAltVendor(entry->descriptors[0].vendorId)
                            ? &SubEnclosureDescriptor::altRevision
                            : &SubEnclosureDescriptor::productRevision);
}
