// The OS layer's controller list and what it does to a unit's disks:
// enumeration, slot order, registry values, volume locking and removal.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "api/bytes.h"
#include "api/os/os_layer.h"
#include "fake_host.h"

namespace os_layer_devices_test {
namespace {

constexpr uint32_t kIoctlScsiMiniport = FakeHost::kIoctlScsiMiniport;
constexpr uint32_t kFsctlLockVolume = FakeHost::kFsctlLockVolume;
constexpr uint32_t kFsctlUnlockVolume = FakeHost::kFsctlUnlockVolume;
constexpr uint32_t kFsctlDismountVolume = FakeHost::kFsctlDismountVolume;
constexpr const char* kCacheKeyOfDisk0 =
    "SYSTEM\\CurrentControlSet\\Enum\\SCSI\\DISK&VEN_KIVRA\\DISK0\\Device Parameters\\Disk";

std::string ControllerPath(int n) {
    return "\\\\?\\pci#ctl" + std::to_string(n);
}
std::string ControllerId(int type, int n) {
    return "PCI\\VEN_1D9F&DEV_100" + std::to_string(type) + "&SUBSYS_00000000\\" +
           std::to_string(n);
}
std::string DiskPath(int n) {
    return "\\\\?\\scsi#disk" + std::to_string(n);
}
std::string DiskId(int n) {
    return "SCSI\\DISK&VEN_KIVRA\\DISK" + std::to_string(n);
}

class OsLayerDevicesTest : public ::testing::Test {
  protected:
    void SetUp() override { OsLayer::ResetProcessState(); }
    void TearDown() override {
        OsLayer::ResetProcessState();
        // Every path of the layer closes what it opened.
        EXPECT_EQ(host->openHandleCount(), 0u);
        EXPECT_EQ(host->openSetCount(), 0u);
        EXPECT_EQ(host->openKeyCount(), 0u);
    }

    // Controller 0 (device instance 100) with unit 0 on disks 0 and 1 and
    // unit 1 on disk 2; the disks have Windows disk numbers 10, 11, 12.
    void AddControllerWithUnits() {
        host->addController(ControllerPath(0), ControllerId(3, 0), 100, 1);
        host->addDisk(DiskPath(0), DiskId(0), 1000, 100, 0, 10);
        host->addDisk(DiskPath(1), DiskId(1), 1001, 100, 0, 11);
        host->addDisk(DiskPath(2), DiskId(2), 1002, 100, 1, 12);
    }

    std::vector<std::string> ListedPaths() {
        std::vector<std::string> paths;
        for (int32_t i = 0; i < os.GetControllerCount(); ++i)
            paths.push_back(os.GetDevicePath(i));
        return paths;
    }

    ScopedFakeHost host;
    OsLayer os;
};

// --- Enumeration ---

TEST_F(OsLayerDevicesTest, NoMatchingControllerGivesAnEmptySortedList) {
    host->addController(ControllerPath(0), "PCI\\VEN_8086&DEV_2822&SUBSYS\\0", 100, 3);
    EXPECT_EQ(os.EnumerateControllers(), kOsSuccess);
    EXPECT_EQ(os.GetControllerCount(), 0);
    EXPECT_TRUE(os.IsSortedBySlot());
}

TEST_F(OsLayerDevicesTest, InstanceIdPrefixGivesTheDeviceType) {
    struct Case {
        const char* instanceId;
        uint32_t type;  // 0: not listed
    };
    const Case cases[] = {
        {"PCI\\VEN_1D9F&DEV_1001&SUBSYS_1\\4&1", 1},
        {"pci\\ven_1d9f&dev_1003&subsys_1\\4&1", 3},
        {"PCI\\VEN_1D9F&DEV_1006", 6},
        {"PCI\\VEN_1D9F&DEV_10061", 6},  // only 21 characters count
        {"PCI\\VEN_1D9F&DEV_1007\\0", 0},
        {"PCI\\VEN_1D9F&DEV_1000\\0", 0},
        {"PCI\\VEN_1D9F&DEV_100", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.instanceId);
        FakeHost& local = host.reset();
        local.addController(ControllerPath(0), c.instanceId, 100, 1);
        EXPECT_EQ(os.EnumerateControllers(), kOsSuccess);
        EXPECT_EQ(os.GetControllerCount(), c.type == 0 ? 0 : 1);
        EXPECT_EQ(os.GetDeviceType(0), c.type);
        os.FreeControllers();
    }
}

TEST_F(OsLayerDevicesTest, SlotQueryRequestAndEntryFields) {
    host->addController(ControllerPath(0), ControllerId(2, 0), 100, 4).uiNumber = 7;
    host->addController(ControllerPath(1), ControllerId(5, 1), 200, 9);
    ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);

    auto queries = host->callsWithCode(kIoctlScsiMiniport);
    ASSERT_EQ(queries.size(), 2u);
    const std::vector<uint8_t>& in = queries[0].in;
    ASSERT_EQ(in.size(), 156u);
    EXPECT_EQ(queries[0].outSize, 156u);
    EXPECT_EQ(queries[0].path, ControllerPath(0));
    EXPECT_EQ(bytes::GetU32(in.data(), in.size(), 0), 28u);    // HeaderLength
    EXPECT_EQ(std::memcmp(in.data() + 4, "<Kivra>\0", 8), 0);  // Signature
    EXPECT_EQ(bytes::GetU32(in.data(), in.size(), 12), 60u);   // Timeout
    EXPECT_EQ(bytes::GetU32(in.data(), in.size(), 16), 1u);    // ControlCode
    EXPECT_EQ(bytes::GetU32(in.data(), in.size(), 20), 0u);    // ReturnCode
    EXPECT_EQ(bytes::GetU32(in.data(), in.size(), 24), 128u);  // Length
    EXPECT_EQ(std::vector<uint8_t>(in.begin() + 28, in.end()), std::vector<uint8_t>(128, 0));
    EXPECT_EQ(host->opens[0].access, platform::kGenericRead | platform::kGenericWrite);
    EXPECT_EQ(host->opens[0].share, platform::kFileShareRead | platform::kFileShareWrite);

    const OsControllerEntry* first = os.GetEntry(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->slotNumber, 4);
    EXPECT_EQ(first->uiNumber, 7);
    EXPECT_EQ(first->deviceType, 2);
    EXPECT_STREQ(first->instanceId, ControllerId(2, 0).c_str());
    EXPECT_EQ(os.GetEntry(1)->uiNumber, -1);
    EXPECT_EQ(os.GetDeviceType(1), 5u);
}

TEST_F(OsLayerDevicesTest, SortBySlotPutsALaterEqualSlotFirst) {
    host->addController(ControllerPath(0), ControllerId(2, 0), 100, 5);
    host->addController(ControllerPath(1), ControllerId(2, 1), 200, 2);
    host->addController(ControllerPath(2), ControllerId(2, 2), 300, 2);
    ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
    EXPECT_TRUE(os.IsSortedBySlot());
    EXPECT_EQ(ListedPaths(),
              (std::vector<std::string>{ControllerPath(2), ControllerPath(1), ControllerPath(0)}));
}

TEST_F(OsLayerDevicesTest, AFailedSlotQueryKeepsDiscoveryOrderAndStopsAsking) {
    host->addController(ControllerPath(0), ControllerId(2, 0), 100, 5);
    host->addController(ControllerPath(1), ControllerId(2, 1), 200, std::nullopt);
    host->addController(ControllerPath(2), ControllerId(2, 2), 300, 1);
    ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
    EXPECT_FALSE(os.IsSortedBySlot());
    EXPECT_EQ(ListedPaths(),
              (std::vector<std::string>{ControllerPath(0), ControllerPath(1), ControllerPath(2)}));
    EXPECT_EQ(host->callsWithCode(kIoctlScsiMiniport).size(), 2u);
}

TEST_F(OsLayerDevicesTest, OnlyTheFirstSixteenEntriesAreReachable) {
    for (int n = 0; n < 17; ++n)
        host->addController(ControllerPath(n), ControllerId(2, n), 100 + n, n);
    ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
    EXPECT_EQ(os.GetControllerCount(), 17);
    EXPECT_EQ(std::string(os.GetDevicePath(8)), ControllerPath(8));
    EXPECT_EQ(std::string(os.GetDevicePath(15)), ControllerPath(15));
    EXPECT_STREQ(os.GetDevicePath(16), "");
    EXPECT_EQ(os.GetDeviceType(16), 0u);
    EXPECT_STREQ(os.GetDevicePath(-1), "");
}

TEST_F(OsLayerDevicesTest, DisksAttachToTheirParentControllerWithOrdinals) {
    AddControllerWithUnits();
    host->addController(ControllerPath(1), ControllerId(4, 1), 200, 2);
    host->addDisk(DiskPath(3), DiskId(3), 1003, 200, 0, 13);
    host->addDisk(DiskPath(4), DiskId(4), 1004, 999, 0, 14);  // parent is no controller
    host->addDisk(DiskPath(5), DiskId(5), 1005, 100, 2, 15);
    host->files.erase(DiskPath(5));                                          // cannot be opened
    host->addDisk(DiskPath(6), DiskId(6), 1006, 100, 3, 16).parent.reset();  // no parent
    host->addDisk(DiskPath(7), DiskId(7), 1007, 100, 4, 17);
    host->files[DiskPath(7)].failingCodes.insert(
        FakeHost::kIoctlStorageGetDeviceNumber);  // no device number
    ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);

    const OsControllerEntry* first = os.GetEntry(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->diskCount, 3);
    EXPECT_EQ(first->targetCount, 2);
    ASSERT_EQ(first->disks.size(), 3u);
    EXPECT_EQ(first->disks[1].ordinal, 1u);
    EXPECT_EQ(first->disks[2].ordinal, 0u);
    EXPECT_EQ(first->disks[1].diskNumber, 11u);
    EXPECT_STREQ(first->disks[1].instanceId, DiskId(1).c_str());
    EXPECT_EQ(os.GetEntry(1)->diskCount, 1);

    int32_t controller = -1;
    uint32_t target = 99;
    EXPECT_TRUE(os.FindDiskNumber(13, &controller, &target));
    EXPECT_EQ(controller, 1);
    EXPECT_EQ(target, 0u);
    EXPECT_FALSE(os.FindDiskNumber(14, &controller, &target));
}

TEST_F(OsLayerDevicesTest, UnopenableDeviceListsFail) {
    AddControllerWithUnits();
    host->failingClasses = {platform::InterfaceClass::StoragePort};
    EXPECT_EQ(os.EnumerateControllers(), kOsFailure);
    host->failingClasses = {platform::InterfaceClass::Disk};
    EXPECT_EQ(os.EnumerateControllers(), kOsFailure);
    EXPECT_FALSE(os.IsSortedBySlot());
}

TEST_F(OsLayerDevicesTest, APathLongerThanTheFieldEndsTheEnumeration) {
    host->addController("\\\\?\\" + std::string(kOsPathSize, 'p'), ControllerId(2, 0), 100, 1);
    host->addController(ControllerPath(1), ControllerId(2, 1), 200, 2);
    EXPECT_EQ(os.EnumerateControllers(), kOsSuccess);
    EXPECT_EQ(os.GetControllerCount(), 0);
}

TEST_F(OsLayerDevicesTest, AnotherLayerObjectStartsAndEndsTheSharedList) {
    AddControllerWithUnits();
    ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
    {
        OsLayer other;
        EXPECT_EQ(os.GetControllerCount(), 0);
        EXPECT_FALSE(os.IsSortedBySlot());
        ASSERT_EQ(other.EnumerateControllers(), kOsSuccess);
        EXPECT_EQ(os.GetControllerCount(), 1);
    }
    EXPECT_EQ(os.GetControllerCount(), 0);
}

// --- Registry value of a unit's first disk ---

TEST_F(OsLayerDevicesTest, CacheSettingWritesTheFirstDisksKey) {
    AddControllerWithUnits();
    host->addRegistryKey(kCacheKeyOfDisk0);
    ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
    EXPECT_EQ(os.SetCacheSetting(0, 0, 1), kOsSuccess);
    EXPECT_EQ(host->registry[kCacheKeyOfDisk0]["UserWriteCacheSetting"], 1u);
    EXPECT_EQ(os.SetCacheSetting(0, 0, 0), kOsSuccess);
    EXPECT_EQ(host->registry[kCacheKeyOfDisk0]["UserWriteCacheSetting"], 0u);
    EXPECT_EQ(os.DelCacheSetting(0, 0), kOsSuccess);
    EXPECT_EQ(host->registry[kCacheKeyOfDisk0].count("UserWriteCacheSetting"), 0u);
}

TEST_F(OsLayerDevicesTest, RegistryStatuses) {
    struct Case {
        const char* name;
        bool keyExists;
        uint32_t createKeyError;
        uint32_t setValueError;
        uint32_t deleteValueError;
        uint32_t controller;
        uint32_t unit;
        uint32_t setStatus;
        uint32_t delStatus;
    };
    const Case cases[] = {
        {"MissingKey", false, 0, 0, 0, 0, 0, kOsNotFound, kOsNotFound},
        {"MissingValueDeletes", true, 0, 0, 0, 0, 0, kOsSuccess, kOsSuccess},
        {"CreateFails", true, 5, 0, 0, 0, 0, kOsFailure, kOsSuccess},
        {"SetAndDeleteFail", true, 0, 5, 5, 0, 0, kOsFailure, kOsFailure},
        {"ControllerBeyondList", true, 0, 0, 0, 1, 0, kOsBadController, kOsBadController},
        {"ControllerIndexEight", true, 0, 0, 0, 8, 0, kOsBadController, kOsBadController},
        {"UnitWithoutDisk", true, 0, 0, 0, 0, 7, kOsNoSuchUnit, kOsNoSuchUnit},
        {"NegativeUnit", true, 0, 0, 0, 0, 0xFFFFFFFF, kOsNoSuchUnit, kOsNoSuchUnit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHost& local = host.reset();
        local.addController(ControllerPath(0), ControllerId(3, 0), 100, 1);
        local.addDisk(DiskPath(0), DiskId(0), 1000, 100, 0, 10);
        if (c.keyExists)
            local.addRegistryKey(kCacheKeyOfDisk0);
        local.createKeyError = c.createKeyError;
        local.setValueError = c.setValueError;
        local.deleteValueError = c.deleteValueError;
        ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
        EXPECT_EQ(os.SetCacheSetting(c.controller, c.unit, 1), c.setStatus);
        EXPECT_EQ(os.DelCacheSetting(c.controller, c.unit), c.delStatus);
        EXPECT_EQ(local.openKeyCount(), 0u);
        os.FreeControllers();
    }
}

TEST_F(OsLayerDevicesTest, ControllerWithoutDisksHasNoUnit) {
    host->addController(ControllerPath(0), ControllerId(3, 0), 100, 1);
    ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
    EXPECT_EQ(os.SetCacheSetting(0, 0, 1), kOsNoSuchUnit);
    EXPECT_EQ(os.RemoveUnitDisks(0, 0), kOsNoSuchUnit);
}

// --- Volume locking and disk removal ---

TEST_F(OsLayerDevicesTest, LockDiskVolumesLocksOnlyVolumesOnTheDisk) {
    AddControllerWithUnits();
    host->addVolume("\\\\?\\vol0", {10});
    host->addVolume("\\\\?\\vol1", {12});
    host->addVolume("\\\\?\\vol2", {12, 10, 10});  // spans disk 10 twice
    ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
    const OsDiskEntry& disk = os.GetEntry(0)->disks[0];

    platform::Handle handles[kOsMaxLockedVolumes] = {};
    int32_t count = 0;
    EXPECT_EQ(os.LockDiskVolumes(disk, handles, &count), kOsSuccess);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(host->openHandleCount(), 2u);
    EXPECT_EQ(host->callsWithCode(kFsctlLockVolume).size(), 2u);
    EXPECT_EQ(host->callsWithCode(kFsctlDismountVolume).size(), 2u);
    OsLayer::UnlockVolumes(handles, &count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(host->callsWithCode(kFsctlUnlockVolume).size(), 2u);

    // Without a handle array it only counts the matching extents.
    count = 0;
    EXPECT_EQ(os.LockDiskVolumes(disk, nullptr, &count), kOsSuccess);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(host->callsWithCode(kFsctlLockVolume).size(), 2u);
}

TEST_F(OsLayerDevicesTest, LockOrDismountFailureClosesTheVolume) {
    for (uint32_t failing : {kFsctlLockVolume, kFsctlDismountVolume}) {
        SCOPED_TRACE(failing);
        FakeHost& local = host.reset();
        local.addController(ControllerPath(0), ControllerId(3, 0), 100, 1);
        local.addDisk(DiskPath(0), DiskId(0), 1000, 100, 0, 10);
        local.addVolume("\\\\?\\vol0", {10});
        local.addVolume("\\\\?\\vol1", {10});
        local.files["\\\\?\\vol1"].failingCodes.insert(failing);
        ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
        EXPECT_EQ(os.RemoveUnitDisks(0, 0), kOsLockFailed);
        EXPECT_EQ(local.callsWithCode(kFsctlUnlockVolume).size(), 1u);
        EXPECT_TRUE(local.removedDevices.empty());
        EXPECT_EQ(local.openHandleCount(), 0u);
        os.FreeControllers();
    }
}

TEST_F(OsLayerDevicesTest, FiftyOneVolumesStopTheRemovalAfterUnlockingFifty) {
    AddControllerWithUnits();
    for (int n = 0; n < 51; ++n)
        host->addVolume("\\\\?\\vol" + std::to_string(n), {10});
    ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
    const OsDiskEntry& disk = os.GetEntry(0)->disks[0];

    EXPECT_EQ(os.RemoveDiskDevice(disk), kOsTooManyVolumes);
    EXPECT_EQ(host->callsWithCode(kFsctlUnlockVolume).size(), 50u);
    EXPECT_EQ(host->callsWithCode(kFsctlDismountVolume).size(), 50u);
    EXPECT_TRUE(host->removedDevices.empty());
}

TEST_F(OsLayerDevicesTest, RemoveUnitDisksRemovesEveryDiskOfTheUnit) {
    struct Case {
        const char* name;
        bool firstFails;
        std::optional<uint32_t> secondFlags;  // none: unreadable
        uint32_t expected;
        size_t removed;
    };
    const Case cases[] = {
        {"Done", false, 0u, kOsSuccess, 2},
        {"SecondNeedsRestart", false, platform::kDiNeedRestart, kOsNeedsRestart, 2},
        {"SecondNeedsReboot", false, platform::kDiNeedReboot, kOsNeedsRestart, 2},
        {"FlagsUnreadable", false, std::nullopt, kOsNeedsRestart, 2},
        {"FirstFailsStops", true, 0u, kOsFailure, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHost& local = host.reset();
        local.addController(ControllerPath(0), ControllerId(3, 0), 100, 1);
        local.addDisk(DiskPath(0), DiskId(0), 1000, 100, 0, 10).removeFails = c.firstFails;
        local.addDisk(DiskPath(1), DiskId(1), 1001, 100, 0, 11).installFlags = c.secondFlags;
        local.addDisk(DiskPath(2), DiskId(2), 1002, 100, 1, 12);
        local.addVolume("\\\\?\\vol0", {11});
        ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
        EXPECT_EQ(os.RemoveUnitDisks(0, 0), c.expected);
        EXPECT_EQ(local.removedDevices.size(), c.removed);
        // Unit 1's disk stays.
        for (uint32_t devInst : local.removedDevices)
            EXPECT_NE(devInst, 1002u);
        // The second disk's volume was locked, then unlocked before removal.
        if (!c.firstFails) {
            EXPECT_EQ(local.callsWithCode(kFsctlUnlockVolume).size(), 1u);
        }
        EXPECT_EQ(local.openHandleCount(), 0u);
        EXPECT_EQ(local.openSetCount(), 0u);
        os.FreeControllers();
    }
}

TEST_F(OsLayerDevicesTest, RemovalStatusesBeforeTheClassInstaller) {
    AddControllerWithUnits();
    ASSERT_EQ(os.EnumerateControllers(), kOsSuccess);
    EXPECT_EQ(os.RemoveUnitDisks(8, 0), kOsBadController);
    EXPECT_EQ(os.RemoveUnitDisks(0, 5), kOsNoSuchUnit);
    EXPECT_EQ(os.RemoveUnitDisks(0, -1), kOsNoSuchUnit);

    // The disk has gone from Windows since the enumeration.
    host->devices(platform::InterfaceClass::Disk)
        .erase(host->devices(platform::InterfaceClass::Disk).begin());
    EXPECT_EQ(os.RemoveDiskDevice(os.GetEntry(0)->disks[0]), kOsNotFound);

    host->failingClasses = {platform::InterfaceClass::Disk};
    EXPECT_EQ(os.RemoveDiskDevice(os.GetEntry(0)->disks[1]), kOsFailure);
    host->failingClasses = {platform::InterfaceClass::Volume};
    EXPECT_EQ(os.RemoveDiskDevice(os.GetEntry(0)->disks[1]), kOsFailure);
    EXPECT_TRUE(host->removedDevices.empty());
}

}  // namespace
}  // namespace os_layer_devices_test
