// The device I/O control requests of the OS layer and the byte layouts of
// their buffers: the controller driver's slot query, the SCSI address and
// device number of a disk, a volume's disk extents and the volume locks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "api/bytes.h"
#include "api/driver.h"

namespace os {

constexpr uint32_t kIoctlScsiGetAddress = 0x41018;
constexpr uint32_t kIoctlStorageGetDeviceNumber = 0x2D1080;
constexpr uint32_t kIoctlVolumeGetDiskExtents = 0x560000;
constexpr uint32_t kFsctlLockVolume = 0x90018;
constexpr uint32_t kFsctlUnlockVolume = 0x9001C;
constexpr uint32_t kFsctlDismountVolume = 0x90020;

// The driver-information request that carries the controller's PCI slot.
constexpr size_t kDriverInfoBlockSize = 128;
constexpr size_t kSlotQuerySize = srb::kHeaderSize + kDriverInfoBlockSize;
static_assert(kSlotQuerySize == 156, "slot query buffer");
constexpr uint32_t kDriverInfoControlCode = 1;
constexpr uint32_t kDriverInfoTimeout = 60;
constexpr size_t kDriverInfoSlotFields = 108;  // u16 in the block; slot valid when >= 2
constexpr size_t kDriverInfoSlot = 110;        // u16 in the block

// Zeroes the buffer and writes the slot query's header.
inline void BuildSlotQuery(uint8_t* buf, size_t size) {
    for (size_t i = 0; i < size; ++i)
        buf[i] = 0;
    srb::PutHeader(buf, size, srb::kRhoskSignature, kDriverInfoTimeout, kDriverInfoControlCode);
}

// The slot of an answered slot query; false when the driver gave none.
inline bool ReadSlotQueryReply(const uint8_t* buf, size_t size, uint32_t* slot) {
    if (!bytes::Fits(size, srb::kHeaderSize + kDriverInfoSlot, 2))
        return false;
    if (bytes::GetU16(buf, size, srb::kHeaderSize + kDriverInfoSlotFields) < 2)
        return false;
    if (slot != nullptr)
        *slot = bytes::GetU16(buf, size, srb::kHeaderSize + kDriverInfoSlot);
    return true;
}

// SCSI_ADDRESS: Length u32, PortNumber, PathId, TargetId, Lun.
constexpr size_t kScsiAddressSize = 8;
constexpr size_t kScsiAddressTargetId = 6;
inline uint32_t ScsiAddressTarget(const uint8_t* buf, size_t size) {
    return bytes::GetU8(buf, size, kScsiAddressTargetId);
}

// STORAGE_DEVICE_NUMBER: DeviceType, DeviceNumber, PartitionNumber (u32).
constexpr size_t kDeviceNumberSize = 12;
constexpr uint32_t kFileDeviceDisk = 7;
// The disk number when the device is a disk.
inline bool ReadDeviceNumber(const uint8_t* buf, size_t size, uint32_t* diskNumber) {
    if (!bytes::Fits(size, 0, kDeviceNumberSize))
        return false;
    if (bytes::GetU32(buf, size, 0) != kFileDeviceDisk)
        return false;
    if (diskNumber != nullptr)
        *diskNumber = bytes::GetU32(buf, size, 4);
    return true;
}

// VOLUME_DISK_EXTENTS: NumberOfDiskExtents u32 (8 bytes with its padding),
// then DISK_EXTENT entries of 24 bytes: DiskNumber u32 (8 with padding),
// StartingOffset and ExtentLength (i64).
constexpr size_t kDiskExtentsSize = 272;
constexpr size_t kDiskExtentsHeader = 8;
constexpr size_t kDiskExtentSize = 24;
static_assert(kDiskExtentsHeader + 11 * kDiskExtentSize == kDiskExtentsSize, "extents buffer");

// How many extents of the reply lie on disk `diskNumber`; only extents that
// the reply declares, that were transferred and that fit the buffer count.
inline int32_t CountDiskExtents(const uint8_t* buf, size_t size, uint32_t returned,
                                uint32_t diskNumber) {
    size_t usable = returned < size ? returned : size;
    if (usable < kDiskExtentsHeader)
        return 0;
    size_t declared = bytes::GetU32(buf, usable, 0);
    size_t held = (usable - kDiskExtentsHeader) / kDiskExtentSize;
    size_t extents = declared < held ? declared : held;
    int32_t matching = 0;
    for (size_t i = 0; i < extents; ++i) {
        if (bytes::GetU32(buf, usable, kDiskExtentsHeader + i * kDiskExtentSize) == diskNumber) {
            ++matching;
        }
    }
    return matching;
}

}  // namespace os
