#include "transport_fake_firmware.h"

#include <algorithm>
#include <cstring>

#include "api/bytes.h"

namespace transport_fake_firmware {
namespace {

constexpr uint32_t kMiniport = 0x4D008;
constexpr size_t kPayload = 28;

// The controller's answer to an unknown parameter.
constexpr uint16_t kNoSuchParameter = 0x10C;

void FailCommand(std::vector<uint8_t>& buf, size_t packet, uint16_t code, const char* text,
                 const char* message) {
    buf[packet + 4] = 1;
    bytes::PutU16(buf.data(), buf.size(), kPayload + 22, code);
    size_t at = kPayload + 26;
    bytes::CopyText(reinterpret_cast<char*>(buf.data() + at), 60, text);
    at += std::strlen(text) + 1;
    bytes::CopyText(reinterpret_cast<char*>(buf.data() + at), 40, message);
}

void AnswerRhosk(FakeFirmware& fw, std::vector<uint8_t>& buf) {
    const uint32_t control = bytes::GetU32(buf.data(), buf.size(), 16);
    if (control == 1) {  // driver information: the slot query
        bytes::PutU16(buf.data(), buf.size(), kPayload + 108, 2);
        bytes::PutU16(buf.data(), buf.size(), kPayload + 110, fw.slot.value_or(0));
        return;
    }
    if ((control & 0xFFFF0000u) != 0xF0000000u)
        return;  // lock, unlock, commit, events
    const size_t packet = kPayload + 128;
    const uint8_t opcode = buf[packet];
    const size_t data = kPayload + 152;
    if (opcode != 0x52 && opcode != 0x53)
        return;
    const uint16_t table = bytes::GetU16(buf.data(), buf.size(), data) & 0x7FFF;
    const uint16_t number = bytes::GetU16(buf.data(), buf.size(), data + 2);
    const uint16_t size = bytes::GetU16(buf.data(), buf.size(), data + 4);
    if (opcode == 0x53) {
        std::vector<uint8_t> value(buf.begin() + data + 8, buf.begin() + data + 8 + size);
        fw.sets.emplace_back(table, number, value);
        fw.params[{table, number}] = value;
        return;
    }
    auto it = fw.params.find({table, number});
    if (it == fw.params.end()) {
        FailCommand(buf, packet, kNoSuchParameter, "Parameter index does not exist", "no param");
        return;
    }
    bytes::PutBytes(buf.data(), buf.size(), data + 8, it->second.data(),
                    std::min<size_t>(size, it->second.size()));
}

void AnswerPrane(FakeFirmware& fw, std::vector<uint8_t>& buf) {
    const size_t packet = 32;
    const size_t data = 544;
    const uint8_t opcode = buf[packet];
    if (opcode != 0x52 && opcode != 0x53)
        return;
    const uint16_t table = bytes::GetU16(buf.data(), buf.size(), data);
    const uint16_t number = buf[data + 2];
    const uint8_t size = buf[data + 3];
    if (opcode == 0x53) {
        std::vector<uint8_t> value(buf.begin() + data + 4, buf.begin() + data + 4 + size);
        fw.sets.emplace_back(table, number, value);
        fw.params[{table, number}] = value;
        return;
    }
    auto it = fw.params.find({table, number});
    if (it == fw.params.end()) {
        buf[packet + 4] = 0x20;
        return;
    }
    bytes::PutBytes(buf.data(), buf.size(), data + 4, it->second.data(),
                    std::min<size_t>(size, it->second.size()));
}

}  // namespace
}  // namespace transport_fake_firmware

void FakeFirmware::setU32(uint16_t table, uint16_t parameter, uint32_t value) {
    std::vector<uint8_t> v(4);
    bytes::PutU32(v.data(), v.size(), 0, value);
    params[{table, parameter}] = v;
}

void FakeFirmware::setText(uint16_t table, uint16_t parameter, const std::string& text,
                           size_t size) {
    std::vector<uint8_t> v(size, 0);
    std::memcpy(v.data(), text.data(), std::min(size, text.size()));
    params[{table, parameter}] = v;
}

std::string ControllerInstanceId(int deviceType, int n) {
    return "PCI\\VEN_1D9F&DEV_100" + std::to_string(deviceType) + "&SUBSYS_0\\" + std::to_string(n);
}

std::shared_ptr<FakeFirmware> AddFirmwareController(FakeHost& host, const std::string& path,
                                                    int deviceType, uint32_t devInst) {
    using namespace transport_fake_firmware;
    auto fw = std::make_shared<FakeFirmware>();
    host.addController(path, ControllerInstanceId(deviceType, static_cast<int>(devInst)), devInst,
                       0);
    host.files[path].ioctl = [fw](uint32_t code, const std::vector<uint8_t>& in, uint8_t* out,
                                  uint32_t outSize, uint32_t* returned) {
        if (code != kMiniport || out == nullptr || in.size() < kPayload)
            return false;
        std::vector<uint8_t> buf = in;
        const bool prane = std::memcmp(buf.data() + 4, "Kivra  ", 8) == 0;
        if (!prane && bytes::GetU32(buf.data(), buf.size(), 16) == 1 && !fw->slot)
            return false;
        if (prane) {
            AnswerPrane(*fw, buf);
        } else {
            AnswerRhosk(*fw, buf);
        }
        if (fw->tamper)
            fw->tamper(buf);
        std::memcpy(out, buf.data(), std::min<size_t>(buf.size(), outSize));
        *returned = outSize;
        return true;
    };
    return fw;
}

std::shared_ptr<FakeFirmware> AddRhoskController(FakeHost& host, const std::string& path,
                                                 uint32_t model, std::optional<uint32_t> busBits,
                                                 uint32_t devInst) {
    auto fw = AddFirmwareController(host, path, 3, devInst);
    fw->setText(0x402, 9, "SER-" + path, 20);
    fw->setU32(0x402, 14, model);
    if (busBits)
        fw->setU32(0x403, 26, *busBits);
    return fw;
}

std::shared_ptr<FakeFirmware> AddPraneController(FakeHost& host, const std::string& path,
                                                 uint32_t devInst) {
    auto fw = AddFirmwareController(host, path, 1, devInst);
    fw->setText(0x402, 9, "PSER-" + path, 20);
    return fw;
}
