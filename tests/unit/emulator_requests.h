// Hand-built IOCTL_SCSI_MINIPORT requests for the emulated controllers,
// as the library's transport sends them, and a fixture that sends them to
// the controllers of an emulated host held in memory.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "emulator/emulated_host.h"

namespace emulator_requests {

using nlohmann::json;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kMiniport = 0x4D008;

inline uint32_t get32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
inline uint16_t get16(const Bytes& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
inline void put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void put16(Bytes& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

// An SRB_IO_CONTROL request of `size` bytes.
inline Bytes request(const char* signature, uint32_t controlCode, size_t size,
                     uint32_t timeout = 60) {
    Bytes b(size, 0);
    put32(b, 0, 28);
    std::memcpy(b.data() + 4, signature, 8);
    put32(b, 12, timeout);
    put32(b, 16, controlCode);
    put32(b, 24, static_cast<uint32_t>(size - 28));
    return b;
}

inline Bytes rhoskRequest(uint32_t controlCode, size_t size = 512) {
    return request("<Kivra>", controlCode, size);
}

// A newer-family parameter get (0x52) or set (0x53): command area of 152
// bytes, then the ParamHeader and value in whole sectors.
inline Bytes rhoskParam(uint8_t opcode, uint16_t table, uint16_t param, uint16_t size,
                        const Bytes& value = {}) {
    size_t data = (8 + size + 511) / 512 * 512;
    Bytes b = rhoskRequest(0xF000E000, 28 + 152 + data);
    b[28 + 124] = 0x80;
    b[28 + 128] = opcode;
    b[28 + 129] = 2;
    put16(b, 28 + 134, 1);
    put16(b, 180, table);
    put16(b, 182, param);
    put16(b, 184, size);
    std::copy(value.begin(), value.end(), b.begin() + 188);
    return b;
}

// An older-family 'R' (0x52) or 'S' (0x53) packet with its data area.
inline Bytes praneParam(uint8_t opcode, uint16_t table, uint8_t param, uint8_t size,
                        const Bytes& value = {}) {
    size_t data = (4 + size + 511) / 512 * 512;
    Bytes b = request("Kivra  ", 0, 544 + data, 10);
    b[32] = opcode;
    b[33] = 2;
    put16(b, 38, 1);
    put16(b, 544, table);
    b[546] = param;
    b[547] = size;
    std::copy(value.begin(), value.end(), b.begin() + 548);
    return b;
}

inline std::string textAt(const Bytes& b, size_t at) {
    return std::string(reinterpret_cast<const char*>(b.data() + at));
}

// The little-endian number of `size` bytes at `at`.
inline uint64_t getLe(const Bytes& b, size_t at, size_t size) {
    uint64_t v = 0;
    for (size_t i = 0; i < size; ++i)
        v |= uint64_t{b.at(at + i)} << (8 * i);
    return v;
}

// Where a parameter's value starts in a rhoskParam request.
constexpr size_t kParamValue = 188;

// Sends `b` in place to controller `c` of `host`: the driver's ReturnCode,
// or 0xFFFFFFFF when the request itself failed.
inline uint32_t sendTo(emulator::EmulatedHost& host, size_t c, Bytes& b) {
    platform::DevInfoSet set = host.getClassDevs(platform::InterfaceClass::StoragePort);
    char path[512] = {};
    bool found =
        host.getDeviceInterfaceDetail(set, static_cast<uint32_t>(c), path, sizeof path, nullptr);
    host.destroyDeviceInfoList(set);
    if (!found)
        return 0xFFFFFFFFu;
    platform::Handle h = host.createFile(path, 0xC0000000u, 3);
    uint32_t count = 0;
    bool ok = host.deviceIoControl(h, kMiniport, b.data(), static_cast<uint32_t>(b.size()),
                                   b.data(), static_cast<uint32_t>(b.size()), &count);
    host.closeHandle(h);
    return ok ? get32(b, 20) : 0xFFFFFFFFu;
}

class EmulatedControllers : public ::testing::Test {
  protected:
    void open(const json& state, const std::string& folder = "/tmp") {
        host_ = emulator::EmulatedHost::fromJson(state, folder);
        platform::DevInfoSet set = host_->getClassDevs(platform::InterfaceClass::StoragePort);
        paths_.clear();
        char path[512];
        for (uint32_t i = 0; host_->getDeviceInterfaceDetail(set, i, path, sizeof path, nullptr);
             ++i) {
            paths_.push_back(path);
        }
        host_->destroyDeviceInfoList(set);
    }

    // Sends `b` in place to controller `c`; the DeviceIoControl result.
    bool send(size_t c, Bytes& b, uint32_t* returned = nullptr) {
        platform::Handle h = host_->createFile(paths_.at(c).c_str(), 0xC0000000u, 3);
        EXPECT_NE(h, platform::kInvalidHandle);
        uint32_t count = 0;
        bool ok = host_->deviceIoControl(h, kMiniport, b.data(), static_cast<uint32_t>(b.size()),
                                         b.data(), static_cast<uint32_t>(b.size()), &count);
        if (returned != nullptr)
            *returned = count;
        EXPECT_TRUE(host_->closeHandle(h));
        return ok;
    }

    std::unique_ptr<emulator::EmulatedHost> host_;
    std::vector<std::string> paths_;
};

}  // namespace emulator_requests
