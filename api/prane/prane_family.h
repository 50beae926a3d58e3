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

class PraneFamily {
  public:
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
