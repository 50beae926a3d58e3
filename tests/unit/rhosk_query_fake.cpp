#include "rhosk_query_fake.h"

#include <gtest/gtest.h>

#include <cstring>

#include "api/api.h"
#include "api/bytes.h"
#include "api/driver.h"
#include "base/kv_exception.h"

namespace rhosk_query_fake {
namespace {

constexpr uint32_t kIoctlMiniport = 0x4D008;
constexpr size_t kControlCode = 16;
constexpr size_t kPacket = 28 + 128;
constexpr size_t kParamHeader = 28 + 152;
constexpr const char* kPath = "\\\\?\\pci#rhosk_query#0";

}  // namespace
}  // namespace rhosk_query_fake

RhoskQueryFirmware::RhoskQueryFirmware(int family, uint32_t level) {
    using namespace rhosk_query_fake;
    FakeHost& host = FakeHost::Install();
    TheDriver().Reset();
    host.addController(kPath, "PCI\\VEN_1D9F&DEV_1003\\4&1", 100, 1);
    auto slotQuery = host.files[kPath].ioctl;
    uint32_t model = family == 4 ? 4 : family == 8 ? 8 : 6;
    putValue(0x402, 14, model, 4);
    putValue(0x403, 26, family == 7 ? 0x300 : 0, 4);
    put(0x402, 9, std::vector<uint8_t>(20, 'S'));
    putValue(0x402, 11, level, 4);
    host.files[kPath].ioctl = [this, slotQuery](uint32_t code, const std::vector<uint8_t>& in,
                                                uint8_t* out, uint32_t outSize,
                                                uint32_t* returned) {
        const uint32_t control = bytes::GetU32(in.data(), in.size(), kControlCode);
        if (code != kIoctlMiniport || out == nullptr)
            return false;
        if ((control & 0xFFFF0000u) == 0xF0000000u && in.size() >= kParamHeader + 8) {
            std::memcpy(out, in.data(), std::min<size_t>(in.size(), outSize));
            const uint8_t opcode = in[kPacket] & 0x1F;
            Access a{opcode == 0x13,
                     bytes::GetU16(in.data(), in.size(), kParamHeader),
                     bytes::GetU16(in.data(), in.size(), kParamHeader + 2),
                     bytes::GetU16(in.data(), in.size(), kParamHeader + 4),
                     {}};
            const size_t data = kParamHeader + 8;
            auto key = std::make_pair(a.table, a.parameter);
            if (a.set) {
                a.value.assign(in.begin() + data, in.begin() + data + a.size);
                params_[key] = a.value;
            } else if (params_.count(key) != 0) {
                const auto& v = params_[key];
                std::memcpy(out + data, v.data(), std::min<size_t>(v.size(), a.size));
            } else {
                out[kPacket + 4] = 1;                         // the command failed
                bytes::PutU16(out, outSize, 28 + 22, 0x10C);  // parameter index does not exist
            }
            accesses.push_back(a);
            *returned = outSize;
            return true;
        }
        if (control == 0xD0000000u || control == 0xD0000001u || control == 0xFFFF0002u) {
            std::memcpy(out, in.data(), std::min<size_t>(in.size(), outSize));
            if (control == 0xD0000000u)
                ++locks;
            if (control == 0xD0000001u)
                ++unlocks;
            *returned = outSize;
            return true;
        }
        return slotQuery(code, in, out, outSize, returned);
    };
    ObjectIdList16 list;
    (void)Api::GetControllerIdList(&list);
    accesses.clear();
}

RhoskQueryFirmware::~RhoskQueryFirmware() {
    TheDriver().Reset();
    FakeHost::Uninstall();
}

void RhoskQueryFirmware::putValue(uint16_t table, uint16_t parameter, uint64_t value, size_t size) {
    std::vector<uint8_t> v(size);
    for (size_t i = 0; i < size && i < 8; ++i) {
        v[i] = static_cast<uint8_t>(value >> (8 * i));
    }
    put(table, parameter, v);
}

uint64_t RhoskQueryFirmware::value(uint16_t table, uint16_t parameter) {
    const auto& v = params_[{Key(table), parameter}];
    uint64_t result = 0;
    for (size_t i = 0; i < v.size() && i < 8; ++i)
        result |= uint64_t{v[i]} << (8 * i);
    return result;
}

ObjectId RhoskQueryFirmware::controller() const {
    ObjectId id;
    (void)Api::MakeControllerId(0, &id);
    return id;
}

FakeRhoskController::FakeRhoskController(const std::function<void(RhoskQueryFirmware&)>& prepare) {
    fw.putValue(0x403, 3, 0, 1);                     // no ports
    fw.put(0x0003, 3, std::vector<uint8_t>(32, 0));  // no units
    fw.putValue(0x8006, 64, 0, 1);                   // BBU disabled
    if (prepare)
        prepare(fw);
    try {
        controller = std::make_unique<ControllerRhosk>("c0", 0, fw.controller());
    } catch (KV_Exception& error) {
        ADD_FAILURE() << error.getMessage();
        throw;
    }
}
