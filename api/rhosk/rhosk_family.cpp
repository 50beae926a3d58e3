#include "api/rhosk/rhosk_family.h"

#include <cstring>
#include <new>
#include <vector>

#include "api/api_error.h"
#include "api/bytes.h"
#include "api/device_io.h"
#include "api/driver.h"
#include "api/rhosk/param_tables.h"

namespace {

constexpr uint8_t kGetParamOpcode = 0x52;
constexpr uint8_t kSetParamOpcode = 0x53;
constexpr int32_t kMaxParamSize = 0xFFFF;  // the size travels as a u16

int32_t Refuse(uint32_t code) {
    return ApiError::Fail(code);
}

// A parameter get or set: the ParamHeader and the value, in one block.
struct ParamBlock {
    std::vector<uint8_t> bytes;

    bool Allocate(int32_t paramSize) {
        try {
            bytes.assign(RhoskFamily::kParamHeaderSize + static_cast<size_t>(paramSize), 0);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }
    void PutHeader(uint16_t table, uint16_t parameter, int32_t paramSize) {
        uint8_t* b = bytes.data();
        const size_t n = bytes.size();
        bytes::PutU16(b, n, 0, table | rhosk_tables::kTableIdFlag);
        bytes::PutU16(b, n, 2, parameter);
        bytes::PutU16(b, n, 4, static_cast<uint16_t>(paramSize));
        bytes::PutU16(b, n, 6, 0);
    }
    uint8_t* value() { return bytes.data() + RhoskFamily::kParamHeaderSize; }
};

// A firmware command packet of the parameter get or set.
FirmwareCommandBuffer ParamCommand(uint8_t opcode) {
    FirmwareCommandBuffer command{};
    uint8_t* packet = command.packet();
    packet[FirmwareCommandBuffer::kOpcode] = opcode;
    packet[FirmwareCommandBuffer::kCommandSize] = 2;
    bytes::PutU16(packet, FirmwareCommandBuffer::packetSize(), FirmwareCommandBuffer::kField6, 1);
    return command;
}

// Sends one request of `kind` on an open device; `command` may be a fresh
// zeroed buffer for the kinds without a command.
int32_t Send(const DeviceIo::ControllerHandle& device, uint32_t kind,
             FirmwareCommandBuffer* command, void* data, uint32_t length) {
    RhoskRequest request{};
    request.kind = kind;
    return DeviceIo::SendRhoskRequest(device.handle(), &request, command, data, length, 0, 0xFF);
}

// Sends one parameter packet of `opcode` with a block of `paramSize` value
// bytes: the block is allocated (API error 7 when it cannot be), the
// controller opened, `prepare` run, the header put and the block sent.
template <typename Prepare>
int32_t SendParam(ObjectId controller, uint8_t opcode, uint16_t table, uint16_t parameter,
                  int32_t paramSize, ParamBlock* block, Prepare prepare) {
    if (!block->Allocate(paramSize))
        return Refuse(kApiNoMemory);
    DeviceIo::ControllerHandle device(controller.controllerId());
    if (!device.ok())
        return -1;
    prepare();
    block->PutHeader(table, parameter, paramSize);
    FirmwareCommandBuffer command = ParamCommand(opcode);
    return Send(device, kRequestFirmwareCommand, &command, block->bytes.data(),
                static_cast<uint32_t>(block->bytes.size()));
}

}  // namespace

int32_t RhoskFamily::GetParam(ObjectId controller, void* buffer, uint32_t bufferSize,
                              uint16_t table, uint16_t parameter, int32_t paramSize) {
    if (buffer == nullptr || paramSize < 0 || paramSize > kMaxParamSize ||
        static_cast<uint32_t>(paramSize) > bufferSize) {
        return Refuse(kApiInvalidArgumentValue);
    }
    ParamBlock block;
    if (SendParam(controller, kGetParamOpcode, table, parameter, paramSize, &block,
                  [&] { std::memset(buffer, 0, bufferSize); }) != 0) {
        return -1;
    }
    std::memcpy(buffer, block.value(), static_cast<size_t>(paramSize));
    return 0;
}

int32_t RhoskFamily::SetParam(ObjectId controller, const void* data, uint32_t dataSize,
                              uint16_t table, uint16_t parameter, int32_t paramSize) {
    if ((data == nullptr && paramSize != 0) || paramSize < 0 || paramSize > kMaxParamSize ||
        static_cast<uint32_t>(paramSize) > dataSize) {
        return Refuse(kApiInvalidArgumentValue);
    }
    ParamBlock block;
    return SendParam(controller, kSetParamOpcode, table, parameter, paramSize, &block, [&] {
        if (paramSize != 0)
            std::memcpy(block.value(), data, static_cast<size_t>(paramSize));
    });
}

int32_t RhoskFamily::LockController(ObjectId controller, uint32_t lockTime) {
    DeviceIo::ControllerHandle device(controller.controllerId());
    if (!device.ok())
        return -1;
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        uint8_t data[kLockDataSize] = {};
        bytes::PutU32(data, sizeof data, 0, lockTime);
        FirmwareCommandBuffer command{};
        if (Send(device, kRequestLock, &command, data, sizeof data) == 0)
            return 0;
    }
    return -1;  // the last attempt's error stays in the record
}

int32_t RhoskFamily::UnlockController(ObjectId controller) {
    DeviceIo::ControllerHandle device(controller.controllerId());
    if (!device.ok())
        return -1;
    uint8_t data[kLockDataSize] = {};
    FirmwareCommandBuffer command{};
    return Send(device, kRequestUnlock, &command, data, sizeof data);
}

int32_t RhoskFamily::CommitTransactions(ObjectId controller) {
    DeviceIo::ControllerHandle device(controller.controllerId());
    if (!device.ok())
        return -1;
    FirmwareCommandBuffer command{};
    return Send(device, kRequestCommit, &command, nullptr, 0);
}

int32_t RhoskFamily::GetFirmwareCompatLevel(ObjectId controller, uint32_t* level) {
    uint8_t value[4] = {};
    if (GetParam(controller, value, sizeof value, rhosk_tables::kFirmwareCompatLevel.table,
                 rhosk_tables::kFirmwareCompatLevel.number,
                 rhosk_tables::kFirmwareCompatLevel.size) != 0) {
        return -1;
    }
    if (level != nullptr)
        *level = bytes::GetU32(value, sizeof value, 0);
    return 0;
}

uint32_t RhoskFamily::FirmwareCompatLevelOr(ObjectId controller, uint32_t unreadable) {
    const ApiError::RecordKeeper keeper;
    uint32_t level = 0;
    return GetFirmwareCompatLevel(controller, &level) == 0 ? level : unreadable;
}
