// The driver transport: the table of the controllers found on this host and
// the one path by which every request reaches a controller driver (one
// IOCTL_SCSI_MINIPORT request with an SRB_IO_CONTROL header, sent and
// received in place). Also the unit-change notifications that keep Windows
// in step with the controllers.
//
// `Driver` holds the table and does the work; `DeviceIo` (api/device_io.h)
// is the stateless facade that the dispatcher and the family back ends call.
// The transport never keeps a device handle: the back ends open the device
// before and close it after every request.
#pragma once

#include <cstddef>
#include <cstdint>

#include "api/api_error.h"
#include "api/object_id.h"

// API error 122 "Invalid argument or value": a request or a parameter size
// that does not fit the caller's buffer.
constexpr uint32_t kApiInvalidArgumentValue = 122;

// The newer-family driver returns this code, in place of ReturnCode, for
// a lock request that finds the controller already locked.
constexpr uint32_t kDriverAlreadyLocked = 0x1002;

// --- The SRB_IO_CONTROL header at byte 0 of every request buffer ---
namespace srb {
constexpr uint32_t kIoctlScsiMiniport = 0x4D008;
constexpr size_t kHeaderSize = 28;
constexpr size_t kHeaderLength = 0;  // u32
constexpr size_t kSignature = 4;     // 8 bytes
constexpr size_t kSignatureSize = 8;
constexpr size_t kTimeout = 12;      // u32, seconds
constexpr size_t kControlCode = 16;  // u32
constexpr size_t kReturnCode = 20;   // u32
constexpr size_t kLength = 24;       // u32: buffer size - 28
// Signatures: the brand and two blanks (older family); "<Kivra>" (newer).
constexpr char kPraneSignature[kSignatureSize] = {'K', 'i', 'v', 'r', 'a', ' ', ' ', '\0'};
constexpr char kRhoskSignature[kSignatureSize] = {'<', 'K', 'i', 'v', 'r', 'a', '>', '\0'};
// Writes the header for a buffer of `bufferSize` bytes.
void PutHeader(uint8_t* buf, size_t bufferSize, const char (&signature)[kSignatureSize],
               uint32_t timeout, uint32_t controlCode);
}  // namespace srb

// The sectors in which a data area travels: `length` rounded up to a
// multiple of 512 (0 for no data).
constexpr uint64_t SectorRoundUp(uint64_t length) {
    return (length + 511) / 512 * 512;
}

// --- Older-family command packet ---
constexpr size_t kPraneCommandSize = 512;
struct PraneCommand {
    static constexpr size_t kOpcode = 0;
    static constexpr size_t kSize = 1;
    static constexpr size_t kByte2 = 2;
    static constexpr size_t kUnit = 3;  // unit, port or host byte
    static constexpr size_t kStatus = 4;
    static constexpr size_t kByte5 = 5;
    static constexpr size_t kField6 = 6;  // u16
    uint8_t bytes[kPraneCommandSize];
};
static_assert(sizeof(PraneCommand) == kPraneCommandSize, "older-family packet is 512 bytes");

// Older-family request buffer: header, 4 zero bytes, packet, data.
namespace prane_request {
constexpr size_t kPacket = 32;
constexpr size_t kStatus = kPacket + PraneCommand::kStatus;  // 36
constexpr size_t kData = kPacket + kPraneCommandSize;        // 544
constexpr uint32_t kTimeout = 10;
}  // namespace prane_request

// --- Newer-family requests ---
enum RhoskRequestKind : uint32_t {
    kRequestDriverInfo = 0x101,
    kRequestLastEvent = 0x102,
    kRequestFirstEvent = 0x103,
    kRequestNextEvent = 0x104,
    kRequestPreviousEvent = 0x105,
    kRequestLock = 0x106,
    kRequestUnlock = 0x107,
    kRequestFirmwareCommand = 0x108,
    kRequestCommit = 0x109,
};

// The request block a caller prepares (zeroed, the kind first); the
// transport reads only the kind.
struct RhoskRequest {
    uint32_t kind;
    uint8_t reserved[20];
};
static_assert(sizeof(RhoskRequest) == 24, "request block is 24 bytes");

// The caller's 1024-byte command buffer of a firmware command (kind
// 0x108): the FirmwareCommandHeader in bytes 0-127, in which the controller
// returns its error code and texts, and the FirmwareCommand packet from
// byte 128. The lock and unlock kinds also get their command area back in it.
struct FirmwareCommandBuffer {
    static constexpr size_t kSize = 1024;
    static constexpr size_t kErrorCode = 22;  // u16
    static constexpr size_t kErrorText = 26;  // text, then the message text
    static constexpr size_t kHeaderSizeByte = 124;
    static constexpr size_t kHeaderSize = 128;  // the packet starts here
    // Packet offsets, relative to the packet.
    static constexpr size_t kOpcode = 0;  // opcode in bits 0-4
    static constexpr size_t kCommandSize = 1;
    static constexpr size_t kRequestId = 2;
    static constexpr size_t kUnit = 3;
    static constexpr size_t kStatus = 4;
    static constexpr size_t kFlags = 5;
    static constexpr size_t kField6 = 6;  // u16

    uint8_t bytes[kSize];

    uint8_t* packet() { return bytes + kHeaderSize; }
    const uint8_t* packet() const { return bytes + kHeaderSize; }
    static constexpr size_t packetSize() { return kSize - kHeaderSize; }
};
static_assert(sizeof(FirmwareCommandBuffer) == 1024, "command buffer is 1024 bytes");

namespace rhosk_request {
constexpr size_t kPayload = srb::kHeaderSize;  // 28
constexpr size_t kSmallRequestSize = 512;      // every kind but 0x108
constexpr size_t kShortCommand = 152;
constexpr size_t kLongCommand = 396;  // ATA pass-through with a long register block
constexpr uint32_t kTimeout = 60;
constexpr uint32_t kImageTimeout = 240;  // firmware image chunk (opcode 0x16)
constexpr uint8_t kHeaderSizeValue = 0x80;
constexpr uint32_t kFirmwareStatusBits = 0x8006;  // ReturnCode upper half: firmware reported
}  // namespace rhosk_request

// The unit-change notifications of DeviceIo::NotifyOs.
enum OsNotification : uint8_t {
    kNotifyUnitDeleted = 0,
    kNotifyUnitAdded = 1,
    kNotifyWriteCacheOn = 2,       // registry value removed
    kNotifyWriteCacheOff = 3,      // registry value removed
    kNotifyJbodWriteCacheOn = 4,   // registry value 1
    kNotifyJbodWriteCacheOff = 5,  // registry value 0
    kNotifyUnitRemoving = 6,       // the unit's disks are removed from Windows
    kNotifyRemovalAbandoned = 7,
};

// One controller of the table, indexed by controller number.
struct ControllerSlot {
    static constexpr size_t kTextSize = 1024;
    int32_t deviceType;            // PciDeviceType: 1 older family, 2-6 newer
    char devicePath[kTextSize];    // opened for every request
    char serialNumber[kTextSize];  // the answer to the discovery probe
    int32_t osIndex;               // index of the controller in the OS layer's list
    int32_t family;                // ControllerFamily
};

class Driver {
  public:
    static constexpr int32_t kMaxControllers = 16;

    // Zeroes the count, both flags and the slots (constant-initialised, so
    // it is ready before any other static initialisation runs).
    constexpr Driver()
        : count_(0),
          classified_(0),
          enumerated_(0),
          slots_{},
          discovering_(false),
          classifying_(false) {}

    // Rediscovers and reclassifies; lists the controllers found.
    [[nodiscard]] int32_t GetControllerIdList(ObjectIdList16* list);
    // Opens the device of the id's controller (byte 1); out: the handle as
    // a 32-bit value, -1 on failure.
    [[nodiscard]] int32_t OpenController(const ObjectId* id, uint32_t* handle);
    [[nodiscard]] int32_t CloseController(uint32_t handle);
    // The ControllerFamily of the id's controller; -1 when none can be had.
    int32_t GetControllerFamily(ObjectId id);
    // One older-family command; `data` (may be null) travels after the
    // packet. The last argument is not used.
    [[nodiscard]] int32_t ExecutePraneCommand(const uint32_t* handle, PraneCommand* packet,
                                              void* data, int32_t dataLength, uint8_t unused);
    // One newer-family request of the kind in `request`.
    [[nodiscard]] int32_t SendRhoskRequest(const uint32_t* handle, const RhoskRequest* request,
                                           FirmwareCommandBuffer* command, void* data,
                                           uint32_t dataLength, uint8_t allowOtherOpcodes,
                                           uint8_t opcodeClass);
    // Tells Windows of a unit change of the unit's controller.
    [[nodiscard]] int32_t NotifyOs(const ObjectId* controller, const ObjectId* unit,
                                   uint8_t notification);

    // --- Inner steps, public for tests ---
    void DiscoverControllers();
    [[nodiscard]] int32_t ClassifyControllers();
    int32_t DetectControllerFamily(ObjectId id);

    int32_t count() const { return count_; }
    bool classified() const { return classified_ != 0; }
    bool enumerated() const { return enumerated_ != 0; }
    // Slot `index` (0-15); null outside the table.
    const ControllerSlot* slot(int32_t index) const;
    // Back to the state after construction (tests).
    void Reset();

  private:
    // True when `number` names a slot that may be opened: a counted slot,
    // or the slot that discovery is probing.
    bool IsOpenableSlot(uint8_t number) const;

    int32_t count_;
    uint8_t classified_;
    uint8_t enumerated_;
    ControllerSlot slots_[kMaxControllers];
    // Guards: discovery and classification open the controllers through
    // the same path as every request; while either runs, an open must not
    // start them again.
    bool discovering_;
    bool classifying_;
};

// The process-wide driver object.
Driver& TheDriver();
