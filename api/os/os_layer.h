// The library's contact with Windows outside the driver requests: the
// controllers and their disks as Windows lists them, the disk-cache
// registry value of a unit's disk, the removal of a unit's disks, and the
// small system facts the command shell needs (data folder, host name,
// version text, administrator check). Every Windows call goes through
// platform::Host().
//
// The controller list is process-wide: every OsLayer object sees the same
// list, and constructing or destroying any OsLayer object frees it. Users construct one on
// the stack, enumerate, use the list and let it go.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/host_system.h"

// OS-layer status codes.
enum OsStatus : uint32_t {
    kOsSuccess = 0,
    kOsFailure = 1,         // a SetupAPI, registry or class-installer call failed
    kOsNotFound = 2,        // registry key or disk device not found
    kOsBadController = 3,   // controller index outside 0-15 or beyond the list
    kOsNoSuchUnit = 5,      // no disk with that target id on the controller
    kOsOutOfMemory = 6,     // an entry could not be allocated
    kOsLockFailed = 7,      // locking or dismounting a volume failed
    kOsTooManyVolumes = 8,  // more than kOsMaxLockedVolumes volumes to lock
    kOsNeedsRestart = 9,    // success, but Windows needs a restart to finish
};

// Controller device types by hardware-id prefix "PCI\VEN_1D9F&DEV_100n".
enum PciDeviceType : int32_t {
    kPciDeviceNone = 0,
    kPciDevicePrane = 1,  // the older family; 2-6 are the newer family
    kPciDeviceLast = 6,
};

constexpr uint32_t kOsPathSize = 200;  // interface path and instance id fields
// Entries reachable by index: as many as the controller table holds; a
// longer list offers only its first sixteen.
constexpr int32_t kOsMaxIndexedControllers = 16;
constexpr int32_t kOsMaxLockedVolumes = 50;
constexpr uint32_t kOsMaxDiskOrdinal = 253;

// One disk that Windows lists under a controller.
struct OsDiskEntry {
    char interfacePath[kOsPathSize] = {};
    char instanceId[kOsPathSize] = {};  // names the disk's registry key
    uint32_t deviceInstance = 0;
    uint32_t diskNumber = 0;
    uint32_t targetId = 0;  // SCSI target id = the unit number on the controller
    uint32_t ordinal = 0;   // earlier disks of the controller with the same target id
};

// One controller that Windows lists.
struct OsControllerEntry {
    int32_t deviceType = kPciDeviceNone;
    uint32_t deviceInstance = 0;
    int32_t targetCount = 0;  // distinct target ids among the disks
    int32_t diskCount = 0;
    std::vector<OsDiskEntry> disks;  // in discovery order
    int32_t slotNumber = 0;          // meaningful only when the list is sorted
    int32_t uiNumber = -1;           // -1 when Windows has none
    char interfacePath[kOsPathSize] = {};
    char instanceId[kOsPathSize] = {};
};

class OsLayer {
  public:
    // Starts the shared list afresh (empty, not sorted).
    OsLayer();
    ~OsLayer();
    OsLayer(const OsLayer&) = delete;
    OsLayer& operator=(const OsLayer&) = delete;

    // --- The controller list ---
    // Rebuilds the list: status 0, 1 (a device list could not be opened)
    // or 6.
    [[nodiscard]] uint32_t EnumerateControllers();
    void FreeControllers();
    int32_t GetControllerCount() const;
    // Interface path of entry `index`; "" for an index outside 0-15 or
    // beyond the list.
    const char* GetDevicePath(int32_t index) const;
    // Device type of entry `index`; 0 for an index outside 0-15 or beyond.
    uint32_t GetDeviceType(int32_t index) const;
    // True when the last enumeration could order the list by slot.
    bool IsSortedBySlot() const;
    void SortControllersBySlot();
    // Asks the controller's driver for its PCI slot.
    [[nodiscard]] static bool QuerySlotNumber(const char* interfacePath, uint32_t* slot);

    // --- The disk-cache registry value of a unit's first disk ---
    uint32_t SetCacheSetting(uint32_t controller, uint32_t unit, uint8_t value);
    uint32_t DelCacheSetting(uint32_t controller, uint32_t unit);
    uint32_t SetDiskRegistryValue(int32_t controller, int32_t unit, uint8_t value,
                                  const char* valueName);
    uint32_t DeleteDiskRegistryValue(int32_t controller, int32_t unit, const char* valueName);

    // --- Removal of a unit's disks ---
    uint32_t RemoveUnitDisks(int32_t controller, int32_t unit);
    uint32_t RemoveDiskDevice(const OsDiskEntry& disk);
    // Locks and dismounts the volumes on the disk, keeping their handles in
    // `handles` (kOsMaxLockedVolumes entries; may be null, then only counts
    // the matching extents into *count).
    uint32_t LockDiskVolumes(const OsDiskEntry& disk, platform::Handle* handles, int32_t* count);
    // Unlocks and closes `count` held volume handles and zeroes the count.
    static void UnlockVolumes(platform::Handle* handles, int32_t* count);

    // --- Small lookups ---
    // Entry `index` (0-15 only); null outside or beyond the list.
    const OsControllerEntry* GetEntry(int32_t index) const;
    // The disk of `entry` with `targetId` and `ordinal`; null when none.
    static const OsDiskEntry* FindDisk(const OsControllerEntry& entry, uint32_t targetId,
                                       uint32_t ordinal);
    // The controller index and target id of Windows disk `diskNumber`.
    bool FindDiskNumber(uint32_t diskNumber, int32_t* controller, uint32_t* targetId) const;
    // The SCSI target id and the disk number of a disk device path.
    [[nodiscard]] static bool QueryScsiTarget(const char* devicePath, uint32_t* targetId);
    [[nodiscard]] static bool QueryDiskNumber(const char* devicePath, uint32_t* diskNumber);

    // --- System facts ---
    // The common application data folder with `subfolder` (may be null)
    // appended, created when missing; `path` holds platform::kMaxPath bytes.
    static void GetDataFolder(const char* subfolder, char* path);
    // The DNS host name, or the fully qualified DNS name.
    [[nodiscard]] static bool QueryHostName(bool fullyQualified, uint32_t bufferSize, char* name);
    // The OS description, e.g. "Microsoft Windows Vista Ultimate x64 Edition
    // Service Pack 1 (Build 6001)\n"; the short form leaves out "Microsoft "
    // and the build. Truncated to `size` bytes, NUL included.
    static void GetOsVersionText(bool full, char* text, uint32_t size);
    [[nodiscard]] static bool IsAdministrator();

    // Drops the process-wide list and its flags (tests).
    static void ResetProcessState();
};
