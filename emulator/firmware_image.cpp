#include "emulator/firmware_image.h"

#include <algorithm>
#include <set>
#include <string>

#include "emulator/drive_model.h"
#include "emulator/faults.h"
#include "emulator/fields.h"
#include "emulator/rescan_model.h"

namespace emulator {

using nlohmann::json;

namespace {

// The controller's codes of the flash.
constexpr uint16_t kFwInvalidField = 0x010D;
constexpr uint16_t kFwInvalidPort = 0x010E;
constexpr uint16_t kFwNextImageBuffer = 0x0231;
constexpr uint16_t kFwImageArchitecture = 0x0232;
constexpr uint16_t kFwImageSignature = 0x0233;
constexpr uint16_t kFwImageChecksum = 0x0234;
constexpr uint16_t kFwImageOverflow = 0x0235;
constexpr uint16_t kFwImageSrl = 0x0236;

// The image header, little-endian.
constexpr size_t kHeaderSize = 64;
constexpr size_t kImageSize = 4;      // u32, the whole image with its header
constexpr size_t kChecksum = 8;       // u32, sum of the bytes after the header
constexpr size_t kArchitecture = 12;  // u32, the controller's model code
constexpr size_t kImageSrl = 24;      // u16
constexpr size_t kMagic = 28;         // u32
constexpr size_t kVersion = 48;       // 16 bytes
constexpr size_t kVersionSize = 16;
constexpr uint32_t kMagicValue = 0xBADDECAF;

// The image chunk command: packet byte 1 = 2, packet word 6 = 8.
constexpr uint8_t kChunkCommandSize = 2;
constexpr uint16_t kChunkField = 8;

// The port detection command: packet byte 1 by firmware level, the
// auto-detect flag at byte 6 and the 32-byte port mask from byte 8.
constexpr size_t kDetectFlag = 6;
constexpr size_t kDetectMask = 8;
constexpr size_t kPortMaskSize = 32;

constexpr const char* kDownload = "image_download";
constexpr const char* kAutoDetectOff = "auto_detect_off";

FirmwareResult refuse(uint16_t code) {
    FirmwareResult result;
    result.code = code;
    return result;
}

uint64_t numberAt(const json& object, const char* key, uint64_t fallback) {
    return static_cast<uint64_t>(numberField(object, key, static_cast<int64_t>(fallback)));
}

// Checks the header of a new image and opens its download.
uint16_t startDownload(json& ctl, ConstByteSpan data) {
    if (data.size() < kHeaderSize || get32(data, kMagic) != kMagicValue ||
        get32(data, kImageSize) < kHeaderSize) {
        return kFwImageSignature;
    }
    const json identity = ctl.value("identity", json::object());
    if (get32(data, kArchitecture) != numberAt(identity, "model_code", 0))
        return kFwImageArchitecture;
    const auto controllerSrl = static_cast<int64_t>(numberField(identity, "srl", 0));
    if (static_cast<int64_t>(get16(data, kImageSrl)) < controllerSrl)
        return kFwImageSrl;
    ctl[kDownload] = json{{"size", get32(data, kImageSize)},
                          {"received", 0},
                          {"sum", 0},
                          {"checksum", get32(data, kChecksum)},
                          {"version", getText(data, kVersion, kVersionSize)},
                          {"srl", get16(data, kImageSrl)}};
    return 0;
}

}  // namespace

void discardImageDownload(json& ctl) {
    ctl.erase(kDownload);
}

FirmwareResult takeImageChunk(json& ctl, ConstByteSpan command, ConstByteSpan data) {
    if (get8(command, kCmdHeaderSize + 1) != kChunkCommandSize ||
        get16(command, kCmdHeaderSize + 6) != kChunkField) {
        return refuse(kFwInvalidField);
    }
    FirmwareResult result;
    result.changed = true;
    if (!ctl.contains(kDownload)) {
        const uint16_t code = startDownload(ctl, data);
        if (code != 0)
            return refuse(code);
    }
    json& download = ctl[kDownload];
    const uint64_t size = numberAt(download, "size", 0);
    const uint64_t received = numberAt(download, "received", 0);
    const uint64_t take = std::min<uint64_t>(size - received, data.size());
    // The transport pads the last chunk to whole sectors with zeros; any
    // other byte past the image's declared end overflows the image buffer.
    for (size_t i = take; i < data.size(); ++i) {
        if (data[i] != 0) {
            discardImageDownload(ctl);
            result.code = kFwImageOverflow;
            return result;
        }
    }
    auto sum = static_cast<uint32_t>(numberAt(download, "sum", 0));
    for (uint64_t i = 0; i < take; ++i) {
        if (received + i >= kHeaderSize)
            sum += data[i];
    }
    download["sum"] = sum;
    download["received"] = received + take;
    if (received + take < size) {
        result.code = kFwNextImageBuffer;
        return result;
    }
    if (sum != numberAt(download, "checksum", 0)) {
        discardImageDownload(ctl);
        result.code = kFwImageChecksum;
        return result;
    }
    // The image is flashed: the controller reports its version and SRL.
    json& identity = ctl["identity"];
    identity["firmware"] = textField(download, "version", "");
    identity["srl"] = numberAt(download, "srl", 0);
    discardImageDownload(ctl);
    return result;
}

FirmwareResult detectPorts(json& ctl, ConstByteSpan command) {
    const size_t packet = kCmdHeaderSize;
    const uint8_t size = get8(command, packet + 1);
    const uint8_t flag = get8(command, packet + kDetectFlag);
    if ((size != 3 && size != 6) || flag > 1)
        return refuse(kFwInvalidField);
    Bytes ports;
    if (readParam(ctl, Family::Rhosk, 0x0403, 3, 1, &ports) != ParamError::None || ports.empty())
        return refuse(kFwInvalidField);
    std::set<uint64_t> listed;
    for (size_t port = 0; port < kPortMaskSize * 8; ++port) {
        if ((get8(command, packet + kDetectMask + port / 8) >> (port % 8) & 1) == 0)
            continue;
        if (port >= ports[0])
            return refuse(kFwInvalidPort);
        listed.insert(port);
    }
    std::set<uint64_t> off;
    if (ctl.contains(kAutoDetectOff) && ctl[kAutoDetectOff].is_array()) {
        for (const json& each : ctl[kAutoDetectOff]) {
            if (each.is_number_unsigned())
                off.insert(each.get<uint64_t>());
        }
    }
    for (uint64_t port : listed) {
        if (flag == 1)
            off.insert(port);
        else
            off.erase(port);
    }
    ctl[kAutoDetectOff] = json(off);
    // Without the flag the ports are probed as well: drives attached since
    // the controller last looked are found.
    FirmwareResult result;
    if (flag == 0) {
        result = attachNewDrives(ctl, command);
        (void)attachRemovedDrives(ctl, command);
    }
    result.changed = true;
    return result;
}

}  // namespace emulator
