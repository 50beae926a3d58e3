// Enclosure drive slots (SES device elements, SAF-TE device slot status
// and slot operations) and the wiring between a controller port's drive and
// the slot that holds it.
#include <cstring>

#include "api/api.h"
#include "api/rhosk/enclosure_internal.h"
#include "api/rhosk/enclosure_services.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_family.h"

namespace {

using namespace enclosure;

constexpr uint8_t kMaxSlots = 128;
constexpr uint8_t kMaxPorts = 128;
constexpr uint8_t kDrivePresent = 0x80;
constexpr uint8_t kNoMapping = 0xFF;

// DriveTable parameters of the drive's slot; PortSummaryTable parameter 3.
constexpr uint16_t kSlotEnclosureParam = 30;
constexpr uint16_t kSlotNumberParam = 31;
constexpr uint16_t kPortStatusParam = 3;

// SES device element byte 2: ready to insert, ready to remove, identify.
constexpr uint8_t kReadyToInsert = 0x08;
constexpr uint8_t kReadyToRemove = 0x04;
constexpr uint8_t kSlotIdentify = 0x02;

// SAF-TE device slot status word bits.
constexpr uint32_t kSaftePresent = 0x01;
constexpr uint32_t kSafteEmptyOccupied = 0x02;
constexpr uint32_t kSafteOk = 0x04;

// The slot status flags.
constexpr uint32_t kFlagPresent = 0x01;
constexpr uint32_t kFlagEmpty = 0x02;
constexpr uint32_t kFlagOccupied = 0x04;
constexpr uint32_t kFlagOk = 0x08;

uint8_t SlotNumberOf(const ObjectId& id) {
    return id[ObjectId::kNumber];
}

int32_t CheckSlotNumber(const ObjectId& id) {
    return SlotNumberOf(id) < kMaxSlots ? 0 : Fail(kApiSlotMissing);
}

// The SAF-TE slot must be one the enclosure has.
int32_t CheckSafteSlot(const ObjectId& id, const SafteConfig& config) {
    return SlotNumberOf(id) < config.slots && SlotNumberOf(id) < kMaxSlots ? 0
                                                                           : Fail(kApiSlotMissing);
}

// The device slot status buffer of a SAF-TE enclosure after the checks.
int32_t ReadSafteSlots(const ObjectId& id, SafteConfig* config, Page* slots) {
    if (ReadSafteConfig(id, config) != 0 || CheckSafteSlot(id, *config) != 0)
        return -1;
    return EnclosureServices::ReadBuffer(id, kSafteSlotStatus, slots, kPageSize);
}

// A read of one slot after the slot number check: the SES device element
// handed to `ses`, or the SAF-TE configuration and slot status buffer
// handed to `safte`.
template <typename Ses, typename Safte>
int32_t SlotRead(const ObjectId& id, Ses ses, Safte safte) {
    if (CheckSlotNumber(id) != 0)
        return -1;
    if (IsSes(id)) {
        uint8_t s[kElementSize];
        if (EnclosureServices::ReadDeviceElement(id, s) != 0)
            return -1;
        ses(s);
        return 0;
    }
    SafteConfig config;
    Page slots;
    if (ReadSafteSlots(id, &config, &slots) != 0)
        return -1;
    safte(config, slots);
    return 0;
}

// The status buffer (buffer 1) of a SAF-TE enclosure.
int32_t ReadSafteStatus(const ObjectId& id, Page* status) {
    return EnclosureServices::ReadBuffer(id, kSafteStatus, status, kPageSize);
}

// The port status list of the controller: bit 0x80 of a port's byte marks
// a drive.
int32_t ReadPortStatus(const ObjectId& id, uint8_t (&list)[kMaxPorts]) {
    return RhoskFamily::GetParam(id.controllerId(), list, sizeof list,
                                 rhosk_tables::kPortSummaryTable, kPortStatusParam, kMaxPorts);
}

// One byte of the DriveTable of port `port`.
int32_t ReadDriveByte(const ObjectId& id, uint8_t port, uint16_t parameter, uint8_t* value) {
    return RhoskFamily::GetParam(id.controllerId(), value, 1, rhosk_tables::DriveTable(port),
                                 parameter, 1);
}

// The id of the SES enclosure number `e` of the controller, its cache
// entry filled when enumeration never did.
int32_t SesEnclosureId(const ObjectId& controller, uint8_t number, uint8_t e, ObjectId* id) {
    const EnclosureCacheEntry* entry = TheEnclosureCache().entry(number, e);
    if (entry != nullptr && entry->valid()) {
        if (Api::MakeEnclosureId(number, e, id) != 0)
            return -1;
        (*id)[ObjectId::kSesMode] = entry->sesMode;
        (*id)[ObjectId::kLevel2] = entry->descriptors[0].lun;
        return 0;
    }
    uint8_t protocol = 0;
    uint8_t modes[32] = {};
    if (EnclosureServices::GetEnclosureProtocol(controller, &protocol) != 0)
        protocol = 0;
    if (EnclosureServices::GetDiscoveryModes(controller, modes) != 0)
        std::memset(modes, 0, sizeof modes);
    uint32_t lunCount = 0;
    if (EnclosureServices::ProbePort(controller, e, protocol, modes[e], &lunCount) != 1)
        return Fail(kApiNoDriveSlot);
    if (Api::MakeEnclosureId(number, e, id) != 0)
        return -1;
    (*id)[ObjectId::kProtocol] = protocol;
    (*id)[ObjectId::kSesMode] = modes[e];
    (void)EnclosureServices::FillCacheEntry(id, lunCount);
    return 0;
}

int32_t SesPortSlot(const ObjectId& port, ObjectId* slot) {
    const uint8_t p = port[ObjectId::kNumber];
    uint8_t list[kMaxPorts] = {};
    if (ReadPortStatus(port, list) != 0)
        return -1;
    if ((list[p] & kDrivePresent) == 0)
        return Fail(kApiNoDriveSlot);
    const ObjectId controller = port.controllerId();
    uint8_t number = 0;
    if (Api::ParseControllerId(controller, &number) != 0)
        return -1;
    if (number >= 16)
        return Fail(kApiInvalidPortId);
    uint8_t e = kNoMapping;
    uint8_t n = kNoMapping;
    if (ReadDriveByte(port, p, kSlotEnclosureParam, &e) != 0 ||
        ReadDriveByte(port, p, kSlotNumberParam, &n) != 0) {
        return -1;
    }
    if (e >= kMaxEnclosures || n >= kMaxSlots)
        return Fail(kApiNoDriveSlot);
    ObjectId enclosureId = ObjectId::Blank();
    if (SesEnclosureId(controller, number, e, &enclosureId) != 0)
        return -1;
    return Api::MakeSlotId(enclosureId, n, slot);
}

int32_t SaftePortSlot(const ObjectId& port, ObjectId* slot) {
    ObjectId result = ObjectId::Blank();
    result[ObjectId::kKind] = kKindSlot;
    result[ObjectId::kController] = port.controller();
    ObjectIdList16 enclosures;
    if (EnclosureServices::GetEnclosureIdList(port.controllerId(), &enclosures) != 0)
        return -1;
    bool found = false;
    for (std::size_t i = 0; i < enclosures.size() && !found; ++i) {
        const ObjectId& enclosureId = enclosures.ids[i];
        SafteConfig config;
        Page status;
        if (ReadSafteConfig(enclosureId, &config) != 0 ||
            ReadSafteStatus(enclosureId, &status) != 0)
            return -1;
        for (uint8_t s = 0; s < config.slots && !found; ++s) {
            if (status[config.slotByte(s)] != port[ObjectId::kNumber])
                continue;
            if (Api::MakeSlotId(enclosureId, s, &result) != 0)
                return -1;
            found = true;
        }
    }
    *slot = result;
    return 0;
}

int32_t SesSlotPort(const ObjectId& slot, ObjectId* port) {
    uint8_t list[kMaxPorts] = {};
    if (ReadPortStatus(slot, list) != 0)
        return -1;
    const uint8_t enclosureNumber =
        static_cast<uint8_t>(slot[ObjectId::kUnit] - ObjectId::kEnclosureBase);
    for (uint8_t p = 0; p < kMaxPorts; ++p) {
        if ((list[p] & kDrivePresent) == 0)
            continue;
        uint8_t e = kNoMapping;
        if (ReadDriveByte(slot, p, kSlotEnclosureParam, &e) != 0)
            return -1;
        if (e >= kMaxEnclosures || e != enclosureNumber)
            continue;
        uint8_t n = kNoMapping;
        if (ReadDriveByte(slot, p, kSlotNumberParam, &n) != 0)
            return -1;
        if (n < kMaxSlots && n == SlotNumberOf(slot))
            return Api::MakePortId(slot.controller(), p, port);
    }
    return Fail(kApiNoDriveSlot);
}

}  // namespace

int32_t EnclosureServices::GetSlotIdList(ObjectId enclosureId, ObjectIdList128* list) {
    uint32_t count = 0;
    if (IsSes(enclosureId)) {
        if (CountElements(enclosureId, kSesDevice, &count) != 0)
            return -1;
    } else {
        SafteConfig config;
        if (ReadSafteConfig(enclosureId, &config) != 0)
            return -1;
        count = config.slots;
    }
    return BuildIdList(enclosureId, count, Api::MakeSlotId, list);
}

int32_t EnclosureServices::ReadDeviceElement(ObjectId id, uint8_t* status) {
    SesElement element;
    if (LocateElement(id, kSesDevice, &element) != 0)
        return -1;
    std::memcpy(status, element.bytes(), kElementSize);
    return 0;
}

int32_t EnclosureServices::WriteDeviceControl(ObjectId id, uint32_t mask, const uint8_t* control) {
    SesElement element;
    if (LocateElement(id, kSesDevice, &element) != 0)
        return -1;
    uint8_t* c = element.bytes();
    c[0] = static_cast<uint8_t>((c[0] & ~kDisableAndSwap) | kSelect);
    if (mask & 1)
        c[2] = static_cast<uint8_t>((c[2] & ~kSlotIdentify) | (control[2] & kSlotIdentify));
    return SendControlPage(id, &element);
}

int32_t EnclosureServices::GetSlotStatus(ObjectId id, uint32_t* flags) {
    return SlotRead(
        id,
        [&](const uint8_t* s) {
            uint32_t result = 0;
            if (StatusCode(s) == kStatusOk)
                result = kFlagPresent | kFlagOk;
            else if (s[2] & kReadyToInsert)
                result = kFlagEmpty;
            else if (s[2] & kReadyToRemove)
                result = kFlagOccupied;
            *flags = result;
        },
        [&](const SafteConfig&, const Page& slots) {
            const uint32_t word = GetBe32(slots, std::size_t{4} * SlotNumberOf(id));
            uint32_t result = 0;
            if (word & kSaftePresent)
                result += kFlagPresent;
            if (word & kSafteOk)
                result += kFlagOk;
            if (word & kSafteEmptyOccupied)
                result += kFlagEmpty | kFlagOccupied;
            *flags = result;
        });
}

int32_t EnclosureServices::GetSlotIdentify(ObjectId id, uint8_t* on) {
    return SlotRead(
        id, [&](const uint8_t* s) { *on = (s[2] & kSlotIdentify) != 0 ? 1 : 0; },
        [&](const SafteConfig& config, const Page& slots) {
            *on = slots[std::size_t{config.slots} * 4 + 1 + SlotNumberOf(id)] != 0 ? 1 : 0;
        });
}

int32_t EnclosureServices::SetSlotIdentify(ObjectId id, uint8_t on) {
    if (CheckSlotNumber(id) != 0)
        return -1;
    if (IsSes(id)) {
        const uint8_t control[kElementSize] = {
            kSelect, 0, static_cast<uint8_t>(on == 1 ? kSlotIdentify : 0), 0};
        return WriteDeviceControl(id, 1, control);
    }
    return UnderManagementLock(id, [&] {
        uint32_t status = 0;
        if (GetSlotStatus(id, &status) != 0)
            return -1;
        const uint32_t s = status & 7;
        Page command{};
        command[0] = kSafteSlotOperation;
        command[1] = SlotNumberOf(id);
        command[2] = static_cast<uint8_t>(((s & 4) >> 2) | (s & 2) | (on != 0 ? 0x04 : 0));
        return WriteBuffer(id, &command, kSlotOperationLength);
    });
}

int32_t EnclosureServices::GetPortSlotId(ObjectId port, ObjectId* slot) {
    uint32_t ports = 0;
    if (RhoskFamily::GetNumPorts(port.controllerId(), &ports) != 0)
        return -1;
    const uint8_t p = port[ObjectId::kNumber];
    if (p >= ports || p >= kMaxPorts)
        return Fail(kApiInvalidPortId);
    uint8_t protocol = 0;
    if (GetEnclosureProtocol(port.controllerId(), &protocol) != 0)
        return -1;
    return protocol == kProtocolSes ? SesPortSlot(port, slot) : SaftePortSlot(port, slot);
}

int32_t EnclosureServices::GetSlotPortId(ObjectId slot, ObjectId* port) {
    if (CheckSlotNumber(slot) != 0)
        return -1;
    if (IsSes(slot))
        return SesSlotPort(slot, port);
    SafteConfig config;
    if (ReadSafteConfig(slot, &config) != 0 || CheckSafteSlot(slot, config) != 0)
        return -1;
    Page status;
    if (ReadSafteStatus(slot, &status) != 0)
        return -1;
    // An empty slot holds no port number: the slot has no port, as on SES.
    const uint8_t p = status[config.slotByte(SlotNumberOf(slot))];
    if (p == ObjectId::kNone)
        return Fail(kApiNoDriveSlot);
    return Api::MakePortId(slot.controller(), p, port);
}
