// The process-wide list of the controllers Windows lists, with the disks
// that hang under each: enumeration, slot order and lookups.
#include <algorithm>
#include <cctype>
#include <memory>
#include <new>

#include "api/bytes.h"
#include "api/os/host_owners.h"
#include "api/os/os_layer.h"
#include "api/os/os_requests.h"

namespace {

// The list state every OsLayer object shares.
struct ListState {
    std::vector<std::unique_ptr<OsControllerEntry>> entries;  // in list order
    bool sorted = false;
};

ListState& State() {
    static ListState state;
    return state;
}

constexpr size_t kHardwareIdPrefixLength = 21;
constexpr const char* kHardwareIdPrefixes[] = {
    "PCI\\VEN_1D9F&DEV_1001", "PCI\\VEN_1D9F&DEV_1002", "PCI\\VEN_1D9F&DEV_1003",
    "PCI\\VEN_1D9F&DEV_1004", "PCI\\VEN_1D9F&DEV_1005", "PCI\\VEN_1D9F&DEV_1006",
};
static_assert(sizeof kHardwareIdPrefixes / sizeof kHardwareIdPrefixes[0] == kPciDeviceLast);

// The device type whose hardware-id prefix the instance id starts with,
// ignoring case; kPciDeviceNone when none does.
int32_t DeviceTypeOf(const char* instanceId) {
    for (int32_t type = 1; type <= kPciDeviceLast; ++type) {
        const char* prefix = kHardwareIdPrefixes[type - 1];
        size_t i = 0;
        while (i < kHardwareIdPrefixLength && instanceId[i] != '\0' &&
               std::toupper(static_cast<unsigned char>(instanceId[i])) ==
                   std::toupper(static_cast<unsigned char>(prefix[i]))) {
            ++i;
        }
        if (i == kHardwareIdPrefixLength)
            return type;
    }
    return kPciDeviceNone;
}

// One device interface of a set, as the enumeration loops read it.
struct InterfaceRecord {
    char path[kOsPathSize] = {};
    char instanceId[kOsPathSize] = {};
    platform::DeviceInfo info;
};

// Reads interface `index` of `set`: false past the last interface or when
// its path or instance id do not fit (either ends an enumeration).
bool ReadInterface(platform::DevInfoSet set, uint32_t index, InterfaceRecord* record) {
    platform::HostSystem& host = platform::Host();
    *record = InterfaceRecord{};
    if (!host.enumDeviceInterfaces(set, index))
        return false;
    if (!host.getDeviceInterfaceDetail(set, index, record->path, kOsPathSize, &record->info)) {
        return false;
    }
    record->path[kOsPathSize - 1] = '\0';
    if (!host.getDeviceInstanceId(set, record->info, record->instanceId, kOsPathSize)) {
        return false;
    }
    record->instanceId[kOsPathSize - 1] = '\0';
    return true;
}

// Opens the disk for reading and asks it one query that must fill all
// `size` bytes of `reply`; the disk is closed again.
bool QueryDisk(const char* devicePath, uint32_t code, uint8_t* reply, uint32_t size) {
    os::HandleOwner disk =
        os::HandleOwner::Open(devicePath, platform::kGenericRead, platform::kFileShareRead);
    if (!disk.valid())
        return false;
    uint32_t returned = 0;
    return platform::Host().deviceIoControl(disk.get(), code, nullptr, 0, reply, size, &returned) &&
           returned >= size;
}

// The listed controller whose device instance is `devInst`.
OsControllerEntry* ControllerByDevInst(uint32_t devInst) {
    for (auto& entry : State().entries) {
        if (entry->deviceInstance == devInst)
            return entry.get();
    }
    return nullptr;
}

// Adds the disk to its controller, numbering it among the controller's
// disks of the same target id.
void AddDisk(OsControllerEntry* controller, const InterfaceRecord& record, uint32_t targetId,
             uint32_t diskNumber) {
    OsDiskEntry disk;
    bytes::CopyText(disk.interfacePath, sizeof disk.interfacePath, record.path);
    bytes::CopyText(disk.instanceId, sizeof disk.instanceId, record.instanceId);
    disk.deviceInstance = record.info.devInst;
    disk.diskNumber = diskNumber;
    disk.targetId = targetId;
    disk.ordinal = static_cast<uint32_t>(
        std::count_if(controller->disks.begin(), controller->disks.end(),
                      [targetId](const OsDiskEntry& d) { return d.targetId == targetId; }));
    controller->disks.push_back(disk);
    ++controller->diskCount;
    if (disk.ordinal == 0)
        ++controller->targetCount;
}

// Step through the present disks and attach each to its listed controller.
uint32_t AttachDisks() {
    os::DevInfoSetOwner set(platform::InterfaceClass::Disk);
    if (!set.valid())
        return kOsFailure;
    InterfaceRecord record;
    for (uint32_t index = 0; ReadInterface(set.get(), index, &record); ++index) {
        uint32_t targetId = 0;
        if (!OsLayer::QueryScsiTarget(record.path, &targetId))
            continue;
        uint32_t parent = 0;
        if (!platform::Host().getParent(record.info.devInst, &parent))
            continue;
        OsControllerEntry* controller = ControllerByDevInst(parent);
        if (controller == nullptr)
            continue;
        uint32_t diskNumber = 0;
        if (!OsLayer::QueryDiskNumber(record.path, &diskNumber))
            continue;
        try {
            AddDisk(controller, record, targetId, diskNumber);
        } catch (const std::bad_alloc&) {
            return kOsOutOfMemory;
        }
    }
    return kOsSuccess;
}

}  // namespace

OsLayer::OsLayer() {
    ResetProcessState();
}

OsLayer::~OsLayer() {
    FreeControllers();
}

void OsLayer::ResetProcessState() {
    State().entries.clear();
    State().sorted = false;
}

void OsLayer::FreeControllers() {
    State().entries.clear();
}

int32_t OsLayer::GetControllerCount() const {
    return static_cast<int32_t>(State().entries.size());
}

bool OsLayer::IsSortedBySlot() const {
    return State().sorted;
}

uint32_t OsLayer::EnumerateControllers() {
    FreeControllers();
    // The order of a new list is not known until its slots are.
    State().sorted = false;
    platform::HostSystem& host = platform::Host();
    bool slotsKnown = true;
    {
        os::DevInfoSetOwner set(platform::InterfaceClass::StoragePort);
        if (!set.valid())
            return kOsFailure;
        InterfaceRecord record;
        for (uint32_t index = 0; ReadInterface(set.get(), index, &record); ++index) {
            int32_t type = DeviceTypeOf(record.instanceId);
            if (type != kPciDeviceNone) {
                std::unique_ptr<OsControllerEntry> entry(new (std::nothrow) OsControllerEntry);
                if (!entry)
                    return kOsOutOfMemory;
                entry->deviceType = type;
                entry->deviceInstance = record.info.devInst;
                bytes::CopyText(entry->interfacePath, sizeof entry->interfacePath, record.path);
                bytes::CopyText(entry->instanceId, sizeof entry->instanceId, record.instanceId);
                uint32_t uiNumber = 0;
                entry->uiNumber = host.getUiNumber(set.get(), record.info, &uiNumber)
                                      ? static_cast<int32_t>(uiNumber)
                                      : -1;
                if (slotsKnown) {
                    uint32_t slot = 0;
                    slotsKnown = QuerySlotNumber(entry->interfacePath, &slot);
                    if (slotsKnown)
                        entry->slotNumber = static_cast<int32_t>(slot);
                }
                try {
                    State().entries.push_back(std::move(entry));
                } catch (const std::bad_alloc&) {
                    return kOsOutOfMemory;
                }
            }
        }
    }
    uint32_t status = AttachDisks();
    if (status != kOsSuccess)
        return status;
    if (slotsKnown) {
        SortControllersBySlot();
        State().sorted = true;
    }
    return kOsSuccess;
}

void OsLayer::SortControllersBySlot() {
    // Insertion sort: an entry whose slot is below the slot before it moves
    // back behind the nearest earlier entry with a smaller slot (or to the
    // head), so it lands before earlier entries with an equal slot.
    auto& entries = State().entries;
    for (size_t i = 1; i < entries.size(); ++i) {
        int32_t slot = entries[i]->slotNumber;
        if (slot >= entries[i - 1]->slotNumber)
            continue;
        size_t place = i;
        while (place > 0 && entries[place - 1]->slotNumber >= slot)
            --place;
        std::rotate(entries.begin() + static_cast<std::ptrdiff_t>(place),
                    entries.begin() + static_cast<std::ptrdiff_t>(i),
                    entries.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    }
}

const OsControllerEntry* OsLayer::GetEntry(int32_t index) const {
    const auto& entries = State().entries;
    if (index < 0 || index >= kOsMaxIndexedControllers)
        return nullptr;
    if (static_cast<size_t>(index) >= entries.size())
        return nullptr;
    return entries[static_cast<size_t>(index)].get();
}

const char* OsLayer::GetDevicePath(int32_t index) const {
    const OsControllerEntry* entry = GetEntry(index);
    return entry != nullptr ? entry->interfacePath : "";
}

uint32_t OsLayer::GetDeviceType(int32_t index) const {
    const OsControllerEntry* entry = GetEntry(index);
    return entry != nullptr ? static_cast<uint32_t>(entry->deviceType) : 0;
}

const OsDiskEntry* OsLayer::FindDisk(const OsControllerEntry& entry, uint32_t targetId,
                                     uint32_t ordinal) {
    for (const OsDiskEntry& disk : entry.disks) {
        if (disk.targetId == targetId && disk.ordinal == ordinal)
            return &disk;
    }
    return nullptr;
}

bool OsLayer::FindDiskNumber(uint32_t diskNumber, int32_t* controller, uint32_t* targetId) const {
    for (int32_t index = 0; index < kOsMaxIndexedControllers; ++index) {
        const OsControllerEntry* entry = GetEntry(index);
        if (entry == nullptr)
            break;
        for (const OsDiskEntry& disk : entry->disks) {
            if (disk.diskNumber != diskNumber)
                continue;
            if (controller != nullptr)
                *controller = index;
            if (targetId != nullptr)
                *targetId = disk.targetId;
            return true;
        }
    }
    return false;
}

bool OsLayer::QuerySlotNumber(const char* interfacePath, uint32_t* slot) {
    os::HandleOwner device =
        os::HandleOwner::Open(interfacePath, platform::kGenericRead | platform::kGenericWrite,
                              platform::kFileShareRead | platform::kFileShareWrite);
    if (!device.valid())
        return false;
    uint8_t buffer[os::kSlotQuerySize];
    os::BuildSlotQuery(buffer, sizeof buffer);
    uint32_t returned = 0;
    if (!platform::Host().deviceIoControl(device.get(), srb::kIoctlScsiMiniport, buffer,
                                          sizeof buffer, buffer, sizeof buffer, &returned)) {
        return false;
    }
    return os::ReadSlotQueryReply(buffer, sizeof buffer, slot);
}

bool OsLayer::QueryScsiTarget(const char* devicePath, uint32_t* targetId) {
    uint8_t address[os::kScsiAddressSize] = {};
    if (!QueryDisk(devicePath, os::kIoctlScsiGetAddress, address, sizeof address))
        return false;
    if (targetId != nullptr)
        *targetId = os::ScsiAddressTarget(address, sizeof address);
    return true;
}

bool OsLayer::QueryDiskNumber(const char* devicePath, uint32_t* diskNumber) {
    uint8_t number[os::kDeviceNumberSize] = {};
    if (!QueryDisk(devicePath, os::kIoctlStorageGetDeviceNumber, number, sizeof number))
        return false;
    return os::ReadDeviceNumber(number, sizeof number, diskNumber);
}
