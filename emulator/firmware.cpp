#include "emulator/firmware.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "emulator/bbu_model.h"
#include "emulator/controller_codes.h"
#include "emulator/controller_model.h"
#include "emulator/drive_model.h"
#include "emulator/enclosure_model.h"
#include "emulator/firmware_image.h"
#include "emulator/packet_rules.h"
#include "emulator/param_catalogue.h"
#include "emulator/prane_firmware.h"
#include "emulator/rescan_model.h"
#include "emulator/unit_commands.h"
#include "emulator/unit_create_model.h"

namespace emulator {

using nlohmann::json;

namespace {

// Each family's controller code for a failed parameter access.
struct ParamErrorCodes {
    ParamError error;
    uint16_t rhosk;
    uint16_t prane;
};

constexpr ParamErrorCodes kParamErrorCodes[] = {
    {ParamError::None, 0, 0},
    {ParamError::NoTable, kFwNoSuchTable, kPraneNoSuchTable},
    {ParamError::NoParameter, kFwNoSuchParameter, kPraneNoSuchParameter},
    {ParamError::SizeMismatch, kFwSizeMismatch, kPraneInvalidSize},
    {ParamError::ReadOnly, kFwNotChangeable, kPraneUnsupportedCommand},
    {ParamError::BadValue, kFwInvalidField, kPraneUnsupportedCommand},
};

uint16_t codeOf(ParamError e, Family family) {
    for (const ParamErrorCodes& row : kParamErrorCodes) {
        if (row.error == e)
            return family == Family::Rhosk ? row.rhosk : row.prane;
    }
    return family == Family::Rhosk ? kFwInvalidField : kPraneUnsupportedOpcode;
}

// A get or set of one parameter whose header lies at byte 0 of `data`;
// `headerSize` is 8 (newer family) or 4 (older family).
struct ParamAccess {
    uint16_t table;
    uint16_t param;
    uint32_t size;
};

ParamError accessParam(json& ctl, const ControllerModel& model, Family family, bool write,
                       const ParamAccess& a, ByteSpan data, size_t headerSize, bool* changed) {
    if (write) {
        Bytes value(data.begin() + static_cast<std::ptrdiff_t>(headerSize),
                    data.begin() + static_cast<std::ptrdiff_t>(headerSize + a.size));
        ParamError e = writeParam(ctl, family, a.table, a.param, value);
        *changed = e == ParamError::None;
        return e;
    }
    Bytes value;
    ParamError e = readParam(model, family, a.table, a.param, a.size, &value);
    if (e != ParamError::None)
        return e;
    std::copy(value.begin(), value.end(), data.begin() + static_cast<std::ptrdiff_t>(headerSize));
    return ParamError::None;
}

constexpr size_t kRhoskParamHeader = 8;
constexpr size_t kPraneParamHeader = 4;

// Unit creation and the in-place update of a unit's layout
// (emulator/unit_create_model.cpp).
constexpr uint8_t kCreateUnitOpcode = 0x14;
constexpr uint8_t kUnitUpdateOpcode = 0x0F;

// The battery capacity test (opcode 0x1E, one-word packet, no data).
constexpr uint8_t kBatteryTestOpcode = 0x1E;

}  // namespace

FirmwareResult executeRhoskCommand(json& ctl, const ControllerModel& model, ByteSpan command,
                                   ByteSpan data) {
    FirmwareResult result;
    PacketFault fault = checkPacket(Family::Rhosk, command, kCmdHeaderSize, !data.empty());
    if (fault.code != 0) {
        result.code = fault.code;
        result.reason = std::move(fault.reason);
        return result;
    }
    uint8_t opcode = get8(command, kCmdHeaderSize) & 0x1F;
    switch (opcode) {
        case 0x00:
            // The probe the driver sends after a unit change: nothing to do.
            return result;
        case kScsiPassThroughOpcode:
            return executeScsiPassThrough(ctl, model, command, data);
        case kBatteryTestOpcode:
            return startBatteryTest(ctl, model, command);
        case kDetectPortsOpcode:
            return detectPorts(ctl, command);
        case kImportScanOpcode: {
            // Units whose configuration newly attached drives carry, and
            // units exported earlier whose drives are back.
            const FirmwareResult foreign = importScan(ctl, command);
            FirmwareResult exported = executeUnitCommand(ctl, opcode, command, data);
            exported.changed = exported.changed || foreign.changed;
            return exported;
        }
        case 0x16:
            return takeImageChunk(ctl, command, data);
        case kCreateUnitOpcode:
            return createUnitCommand(ctl, command, data);
        case kUnitUpdateOpcode:
            // Splitting a mirror is the unit commands'; migrations and
            // joins are the creation model's.
            if (get8(command, kCmdHeaderSize + 10) == kSplitMirrorAction)
                return executeUnitCommand(ctl, opcode, command, data);
            return updateUnitCommand(ctl, command, data);
        case kAtaPassThroughOpcode:
            return executeAtaPassThrough(ctl, command, data);
        case kRemoveDriveOpcode:
            return removePortDrive(ctl, command);
        case 0x12:
        case 0x13: {
            if (get16(command, kCmdHeaderSize + 6) != 1) {
                result.code = kFwInvalidField;
                return result;
            }
            ParamAccess a{static_cast<uint16_t>(get16(data, 0)), get16(data, 2), get16(data, 4)};
            if ((a.table & 0x8000) == 0) {
                result.code = kFwNoSuchTable;
                return result;
            }
            a.table &= 0x7FFF;
            if (data.size() < kRhoskParamHeader + a.size) {
                result.code = kFwParamListLength;
                return result;
            }
            result.code = codeOf(accessParam(ctl, model, Family::Rhosk, opcode == 0x13, a, data,
                                             kRhoskParamHeader, &result.changed),
                                 Family::Rhosk);
            return result;
        }
        default:
            if (isUnitCommand(opcode))
                return executeUnitCommand(ctl, opcode, command, data);
            result.code = kFwInvalidOpcode;
            return result;
    }
}

FirmwareResult executePraneCommand(json& ctl, const ControllerModel& model, Bytes& packet,
                                   Bytes& data) {
    FirmwareResult result;
    PacketFault fault = checkPacket(Family::Prane, packet, 0, !data.empty());
    if (fault.code != 0) {
        result.code = fault.code;
        result.reason = std::move(fault.reason);
        reportPraneError(packet, result.code);
        return result;
    }
    uint8_t opcode = get8(packet, 0) & 0x1F;
    if (answerPraneProgress(ctl, packet, data, &result)) {
        if (result.code != 0)
            reportPraneError(packet, result.code);
        return result;
    }
    switch (opcode) {
        case 0x12:
        case 0x13: {
            ParamAccess a{get16(data, 0), get8(data, 2), get8(data, 3)};
            if ((a.table & 0x8000) != 0) {
                result.code = kPraneNoSuchTable;
                break;
            }
            // The header carries the low 8 bits of the size: take the
            // catalogue's full size, which the lookup checks against them.
            TableRef table;
            const ParamDef* def = nullptr;
            ParamError e = lookup(model, Family::Prane, a.table, a.param, a.size, &table, &def);
            if (e == ParamError::None) {
                a.size = sizeOf(*def, model, table);
                // The data area is the header and the parameter in whole sectors.
                const size_t area = roundToSectors(kPraneParamHeader + a.size);
                if (data.size() != area) {
                    e = ParamError::SizeMismatch;
                    result.reason = "data area of " + std::to_string(data.size()) +
                                    " bytes, expected " + std::to_string(area);
                } else {
                    e = accessParam(ctl, model, Family::Prane, opcode == 0x13, a, data,
                                    kPraneParamHeader, &result.changed);
                }
            }
            result.code = codeOf(e, Family::Prane);
            break;
        }
        default:
            result = executePraneTask(ctl, packet, data);
            break;
    }
    if (result.code != 0)
        reportPraneError(packet, result.code);
    return result;
}

void reportRhoskError(ByteSpan command, uint16_t code, const std::string& text) {
    // A nonzero status byte marks the failure; the header says why.
    put8(command, kCmdHeaderSize + kPacketStatus, 0x01);
    put16(command, kCmdErrorCode, code);
    // The controller's text, then its message: the message carries the
    // code in the controller's own "(0x03:0xNNNN):" form, so that the two
    // read as one line.
    char message[32];
    std::snprintf(message, sizeof message, "(0x03:0x%04X):", code);
    constexpr size_t kTextEnd = kCmdHeaderSizeByte;  // the texts end before byte 124
    std::string first = text.substr(0, kTextEnd - kCmdErrorText - 2 - std::string(message).size());
    size_t at = kCmdErrorText;
    std::memset(command.data() + at, 0, kTextEnd - at);
    putText(command, at, first.size(), first);
    at += first.size() + 1;
    putText(command, at, std::strlen(message), message);
}

void reportPraneError(Bytes& packet, uint16_t code) {
    put8(packet, kPacketStatus, code & 0xFF);
    put8(packet, 5, code >> 8);
}

}  // namespace emulator
