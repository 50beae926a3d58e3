#include "api/prane/prane_family.h"

#include <cstring>
#include <new>
#include <vector>

#include "api/api_error.h"
#include "api/bytes.h"
#include "api/device_io.h"

void prane_param::PutHeader(uint8_t* block, size_t blockSize, uint16_t table, uint8_t parameter,
                            int32_t size) {
    bytes::PutU16(block, blockSize, kTable, table & 0x7FFF);
    bytes::PutU8(block, blockSize, kNumber, parameter);
    bytes::PutU8(block, blockSize, kSize, static_cast<uint8_t>(size & 0xFF));
}

PraneCommand PraneFamily::MakeCommand(uint8_t opcode, uint8_t sizeWords) {
    PraneCommand packet{};
    packet.bytes[PraneCommand::kOpcode] = opcode;
    packet.bytes[PraneCommand::kSize] = sizeWords;
    return packet;
}

int32_t PraneFamily::SendCommand(ObjectId id, PraneCommand* packet, void* data,
                                 int32_t dataLength) {
    DeviceIo::ControllerHandle device(id.controllerId());
    if (!device.ok())
        return -1;
    return DeviceIo::ExecutePraneCommand(device.handle(), packet, data, dataLength, 0);
}

int32_t PraneFamily::AccessParam(bool write, ObjectId id, uint16_t table, uint8_t parameter,
                                 int32_t size, void* buffer, uint8_t hostByte) {
    if (size < 0 || size > prane_param::kMaxSize || (buffer == nullptr && size != 0)) {
        return ApiError::Fail(kApiInvalidArgumentValue);
    }
    std::vector<uint8_t> block;
    try {
        block.assign(prane_param::kHeaderSize + static_cast<size_t>(size), 0);
    } catch (const std::bad_alloc&) {
        return ApiError::Fail(kApiNoMemory);
    }
    DeviceIo::ControllerHandle device(id.controllerId());
    if (!device.ok())
        return -1;

    prane_param::PutHeader(block.data(), block.size(), table, parameter, size);
    if (write && size != 0)
        std::memcpy(block.data() + prane_param::kHeaderSize, buffer, size);
    PraneCommand packet = MakeCommand(write ? prane_opcode::kSetParam : prane_opcode::kGetParam, 2);
    packet.bytes[PraneCommand::kUnit] = hostByte;
    bytes::PutU16(packet.bytes, sizeof packet.bytes, PraneCommand::kField6, 1);
    if (DeviceIo::ExecutePraneCommand(device.handle(), &packet, block.data(),
                                      static_cast<int32_t>(block.size()), 0) != 0) {
        return -1;
    }
    if (!write && size != 0)
        std::memcpy(buffer, block.data() + prane_param::kHeaderSize, size);
    return 0;
}

int32_t PraneFamily::GetParam(ObjectId id, uint16_t table, uint8_t parameter, int32_t size,
                              void* buffer, uint8_t hostByte) {
    return AccessParam(false, id, table, parameter, size, buffer, hostByte);
}

int32_t PraneFamily::SetParam(ObjectId id, uint16_t table, uint8_t parameter, int32_t size,
                              const void* buffer, uint8_t hostByte) {
    return AccessParam(true, id, table, parameter, size, const_cast<void*>(buffer), hostByte);
}
