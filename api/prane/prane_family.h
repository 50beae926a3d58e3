// The older controller family's implementation: every request is one
// 512-byte command packet, optionally followed by a data area, sent through
// DeviceIo::ExecutePraneCommand. Controller parameters are read and written
// with the 'R' and 'S' packets, whose data area starts with the 4-byte
// PraneParamHeader (table id without bit 15, parameter, size).
#pragma once

#include <cstddef>
#include <cstdint>

#include "api/driver.h"
#include "api/object_id.h"

// Opcode bytes of the older family's command packets.
namespace prane_opcode {
constexpr uint8_t kVerify = 0x05;
constexpr uint8_t kPortDetect = 0x06;
constexpr uint8_t kImportScan = 0x07;
constexpr uint8_t kAttachReplacement = 0x09;
constexpr uint8_t kRemoveDrive = 0x0A;
constexpr uint8_t kFlushCache = 0x0E;
constexpr uint8_t kAtaPassThrough = 0xB1;
constexpr uint8_t kDeleteUnit = 0x15;
constexpr uint8_t kUnitTask = 0x17;
constexpr uint8_t kMediaScan = 0x18;
constexpr uint8_t kDriverVersion = 0x1D;
constexpr uint8_t kCommit = 0x1E;
constexpr uint8_t kGetParam = 0x52;       // 'R'
constexpr uint8_t kSetParam = 0x53;       // 'S'
constexpr uint8_t kCreateUnit = 0x54;     // 'T'
constexpr uint8_t kFirmwareImage = 0x56;  // 'V'
constexpr uint8_t kReadErrorLog = 0x59;   // 'Y'
constexpr uint8_t kReadNextEvent = 0x5C;
}  // namespace prane_opcode

// The 4-byte header in front of the data of 'R' and 'S'.
namespace prane_param {
constexpr size_t kHeaderSize = 4;
constexpr size_t kTable = 0;       // u16, bit 15 clear
constexpr size_t kNumber = 2;      // u8 parameter id
constexpr size_t kSize = 3;        // u8: low 8 bits of the size
constexpr int32_t kMaxSize = 512;  // the largest parameter, a unit descriptor

// The older family's parameter sizes (tables named as for the newer family).
constexpr uint16_t kPortSummaryTable = 0x0002;
constexpr uint16_t kUnitSummaryTable = 0x0003;
constexpr uint16_t kDriveTableBase = 0x0200;
constexpr uint16_t kUnitTableBase = 0x0300;
constexpr uint16_t kControllerInfoTable = 0x0402;
constexpr uint16_t kControllerSettingsTable = 0x0403;
constexpr uint16_t kRateTable = 0x0405;
constexpr uint16_t kProgressTable = 0x0406;
constexpr int32_t kSerialSize = 20;  // ControllerInfoTable parameter 9
constexpr int32_t kModelSize = 16;   // ControllerInfoTable parameter 8
constexpr int32_t kMaxPorts = 16;
constexpr int32_t kMaxUnits = 16;

// Writes the header at the start of `block` (blockSize bytes).
void PutHeader(uint8_t* block, size_t blockSize, uint16_t table, uint8_t parameter, int32_t size);
}  // namespace prane_param

// The older family's event record: the same 369-byte layout as the newer
// family's (event id, time, code, severity, two controller bytes, the
// parameter text and its length, the message text and its length).
namespace prane_event {
constexpr size_t kRecordSize = 369;
constexpr size_t kCode = 8;          // u16; 0: no further event
constexpr size_t kSeverity = 10;     // u8
constexpr size_t kParamLength = 13;  // u8
constexpr size_t kParamText = 14;    // 99 bytes
constexpr size_t kParamTextSize = 99;
constexpr size_t kMessageLength = 112;  // u8
constexpr size_t kMessageText = 113;    // 256 bytes
constexpr size_t kMessageTextSize = 256;
}  // namespace prane_event

class PraneFamily {
  public:
    // --- Controller, drive and event operations (prane_controller.cpp) ---
    [[nodiscard]] static int32_t GetControllerModel(ObjectId id, char* text);
    [[nodiscard]] static int32_t GetControllerSerial(ObjectId id, char* text);
    [[nodiscard]] static int32_t GetPcbVersion(ObjectId id, char* text);
    [[nodiscard]] static int32_t GetAchipVersion(ObjectId id, char* text);
    [[nodiscard]] static int32_t GetPchipVersion(ObjectId id, char* text);
    [[nodiscard]] static int32_t GetControllerFirmwareVersion(ObjectId id, char* text);
    [[nodiscard]] static int32_t GetBiosVersion(ObjectId id, char* text);
    [[nodiscard]] static int32_t GetBootLoaderVersion(ObjectId id, char* text);
    [[nodiscard]] static int32_t GetAvailableMemory(ObjectId id, uint32_t* bytes);
    // Also the unit limits of this family.
    [[nodiscard]] static int32_t GetNumPorts(ObjectId id, uint32_t* ports);
    [[nodiscard]] static int32_t GetNumDrives(ObjectId id, uint32_t* count);
    [[nodiscard]] static int32_t GetDriveCapacity(ObjectId id, uint64_t* sectors);
    [[nodiscard]] static int32_t GetDriveModel(ObjectId id, char* text);
    [[nodiscard]] static int32_t GetDriveSerial(ObjectId id, char* text);
    [[nodiscard]] static int32_t GetDriveFirmwareVersion(ObjectId id, char* text);
    // The port's DriveStatus byte; port 255 reads 0 without a request.
    [[nodiscard]] static int32_t GetDriveStatus(ObjectId id, uint8_t* status);
    // 1 when the port holds a drive (a status read that fails counts as
    // present), else 0.
    static int32_t IsDrivePresent(ObjectId controller, uint8_t port);
    [[nodiscard]] static int32_t GetDriveIdList(ObjectId id, ObjectIdList128* list);
    [[nodiscard]] static int32_t GetPortIdList(ObjectId id, ObjectIdList128* list);
    // One rate (1-5, 0xFFFFFFFF for a code no rate has) for rebuild and
    // verify.
    [[nodiscard]] static int32_t GetRebuildRate(ObjectId id, uint32_t* rate);
    [[nodiscard]] static int32_t SetRebuildRate(ObjectId id, const uint32_t* rate);
    // 128-byte text.
    [[nodiscard]] static int32_t GetDriverVersion(ObjectId id, char* text);
    [[nodiscard]] static int32_t CommitTransactions(ObjectId id);
    [[nodiscard]] static int32_t StartMediaScan(ObjectId id);
    [[nodiscard]] static int32_t StopMediaScan(ObjectId id);
    // 32768-byte buffer.
    [[nodiscard]] static int32_t GetControllerErrorLog(ObjectId id, uint8_t* log);
    [[nodiscard]] static int32_t DownloadFirmwareImage(ObjectId id, const uint8_t* image,
                                                       uint32_t size);
    // The controller's next queued event into a prane_event record of
    // kRecordSize bytes; code 0 when none is queued. Serves the first and
    // the next event alike.
    [[nodiscard]] static int32_t GetFirstAen(ObjectId id, uint8_t* record);
    // ATA SMART READ DATA into a 512-byte buffer.
    [[nodiscard]] static int32_t GetDriveSmartData(ObjectId id, uint8_t* data);
    // The seven registers are sent and copied back from the reply.
    [[nodiscard]] static int32_t AtaPassThrough(ObjectId drive, uint8_t protocol, uint16_t value,
                                                uint16_t* features, uint16_t* sectorCount,
                                                uint16_t* lbaLow, uint16_t* lbaMid,
                                                uint16_t* lbaHigh, uint8_t* deviceHead,
                                                uint8_t* command, uint8_t* data);

    // --- Unit configuration and queries (prane_units.cpp) ---
    // The part of the unit descriptor the id selects, into 512 bytes.
    [[nodiscard]] static int32_t GetUnitConfig(ObjectId unit, uint8_t* config);
    static int32_t IsUnitPresent(ObjectId controller, uint8_t unit);
    [[nodiscard]] static int32_t GetUnitRawStatus(ObjectId unit, uint8_t* raw);
    [[nodiscard]] static int32_t GetUnitFlags(ObjectId unit, uint8_t* flags);
    [[nodiscard]] static int32_t GetUnitStatus(ObjectId unit, uint8_t* status);
    [[nodiscard]] static int32_t GetUnitType(ObjectId unit, uint32_t* type);
    [[nodiscard]] static int32_t GetUnitCapacity(ObjectId unit, uint64_t* sectors);
    [[nodiscard]] static int32_t GetUnitIdList(ObjectId id, ObjectIdList128* list);
    [[nodiscard]] static int32_t GetSubunitIdList(ObjectId unit, ObjectIdList128* list);
    [[nodiscard]] static int32_t GetUnitPercentComplete(ObjectId unit, uint32_t* percent);
    [[nodiscard]] static int32_t GetUnitStripeSize(ObjectId unit, uint32_t* kib);
    [[nodiscard]] static int32_t GetUnitWriteCache(ObjectId unit, uint8_t* on);
    [[nodiscard]] static int32_t EnableWriteCache(ObjectId unit);
    [[nodiscard]] static int32_t DisableWriteCache(ObjectId unit);
    [[nodiscard]] static int32_t FlushWriteCache(ObjectId unit);
    [[nodiscard]] static int32_t GetDriveUnitId(ObjectId drive, ObjectId* unit);
    [[nodiscard]] static int32_t GetUnitDriveList(ObjectId unit, ObjectIdList128* list);

    // --- Unit operations (prane_unit_ops.cpp) ---
    [[nodiscard]] static int32_t CreateUnit(const ObjectIdList128* drives, uint32_t type,
                                            uint32_t stripe, uint8_t notify, ObjectId* unit);
    // Mode 0x80 deletes, 0 exports.
    [[nodiscard]] static int32_t DeleteUnit(ObjectId unit, uint8_t notify, uint8_t mode);
    [[nodiscard]] static int32_t ImportUnit(const ObjectIdList128* drives, uint8_t notify,
                                            ObjectIdList128* units);
    [[nodiscard]] static int32_t RescanController(ObjectId id, uint8_t notify,
                                                  ObjectIdList128* units, ObjectIdList128* drives);
    [[nodiscard]] static int32_t AddDrive(ObjectId port, ObjectId* drive);
    [[nodiscard]] static int32_t RemoveDrive(ObjectId drive);
    // The first drive of the list replaces the unit's degraded member.
    [[nodiscard]] static int32_t RebuildUnit(ObjectId unit, const ObjectIdList128* drives,
                                             uint8_t ignoreEcc);
    [[nodiscard]] static int32_t PauseRebuild(ObjectId unit);
    [[nodiscard]] static int32_t ResumeRebuild(ObjectId unit);
    // Mode 0 starts, 1 stops.
    [[nodiscard]] static int32_t VerifyUnit(ObjectId unit, uint32_t mode);

    // --- Packets and parameters (prane_family.cpp) ---
    // Reads `size` bytes of parameter `parameter` of `table` into `buffer`
    // (at least `size` bytes). Byte 1 of `id` names the controller; the
    // host byte goes to packet byte 3. A size outside 0-512 is refused
    // (API error 122) before anything is sent.
    [[nodiscard]] static int32_t GetParam(ObjectId id, uint16_t table, uint8_t parameter,
                                          int32_t size, void* buffer, uint8_t hostByte);
    // Writes `size` bytes of `buffer` to the parameter.
    [[nodiscard]] static int32_t SetParam(ObjectId id, uint16_t table, uint8_t parameter,
                                          int32_t size, const void* buffer, uint8_t hostByte);

    // A zeroed packet with the opcode byte and the size byte set.
    static PraneCommand MakeCommand(uint8_t opcode, uint8_t sizeWords);
    // Sends one packet with its data area to the id's controller: open,
    // send, close on every path. The returned packet is copied back over
    // `packet`.
    [[nodiscard]] static int32_t SendCommand(ObjectId id, PraneCommand* packet, void* data,
                                             int32_t dataLength);

  private:
    [[nodiscard]] static int32_t AccessParam(bool write, ObjectId id, uint16_t table,
                                             uint8_t parameter, int32_t size, void* buffer,
                                             uint8_t hostByte);
};
