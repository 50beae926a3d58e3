#include "emulator/driver.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "emulator/controller_codes.h"
#include "emulator/enclosure_model.h"
#include "emulator/event_model.h"
#include "emulator/faults.h"
#include "emulator/firmware.h"
#include "emulator/firmware_image.h"
#include "emulator/unit_model.h"
#include "platform/host_system.h"

namespace emulator {

using nlohmann::json;

namespace {

constexpr char kRhoskSignature[8] = {'<', 'K', 'i', 'v', 'r', 'a', '>', '\0'};
constexpr char kPraneSignature[8] = {'K', 'i', 'v', 'r', 'a', ' ', ' ', '\0'};
static_assert(sizeof kRhoskSignature == 8 && sizeof kPraneSignature == 8,
              "signatures fill the 8-byte field");

constexpr size_t kCommandShort = 152;
constexpr size_t kCommandLong = 396;
constexpr size_t kEventRecordSize = kEventReplySize;
constexpr size_t kLockBlockSize = 12;
static_assert(kCommandShort == kCmdHeaderSize + 24, "short command: header and packet");

// The newer family's driver requests by ControlCode.
enum class Kind {
    DriverInfo,
    EventLast,
    EventFirst,
    EventNext,
    EventPrevious,
    Lock,
    Unlock,
    Firmware,
    Commit,
    Unknown
};

struct KindRow {
    uint32_t controlCode;
    Kind kind;
    const char* name;  // the request log's and fault rules' name
};

constexpr KindRow kKinds[] = {
    {0x00000001, Kind::DriverInfo, "driver_info"},
    {0xE0000002, Kind::EventLast, "event_last"},
    {0xE0000001, Kind::EventFirst, "event_first"},
    {0xE0000003, Kind::EventNext, "event_next"},
    {0xE0000004, Kind::EventPrevious, "event_previous"},
    {0xD0000000, Kind::Lock, "lock"},
    {0xD0000001, Kind::Unlock, "unlock"},
    {0xFFFF0002, Kind::Commit, "commit"},
};

const KindRow* kindOf(uint32_t controlCode) {
    for (const KindRow& row : kKinds) {
        if (row.controlCode == controlCode)
            return &row;
    }
    return nullptr;
}

// The ControlCode flag bits a firmware command must carry, by opcode;
// false for an opcode the driver passes on whatever its bits.
bool expectedFlags(uint8_t opcode, size_t dataLength, uint16_t field6, uint32_t* flags) {
    switch (opcode) {
        case 0x00:
            *flags = 0x1000;
            return true;
        case 0x05:
        case 0x06:
        case 0x07:
        case 0x09:
        case 0x0A:
        case 0x0E:
        case 0x15:
        case 0x17:
        case 0x1E:
            *flags = 0;
            return true;
        case 0x0F:
        case 0x12:
        case 0x13:
        case 0x14:
        case 0x16:
        case 0x1B:
            *flags = 0xE000;
            return true;
        case 0x10:
        case 0x1F:
            *flags = dataLength != 0 ? 0xE000 : 0;
            return true;
        case 0x11: {
            bool withData =
                dataLength != 0 && (field6 == 9 || field6 == 11 || field6 == 13 || field6 == 15 ||
                                    field6 == 0x81 || field6 == 0x82 || field6 == 0x83);
            *flags = withData ? 0xE000 : 0;
            return true;
        }
        default:
            return false;
    }
}

bool signatureIs(const Bytes& buffer, const char (&signature)[8]) {
    return std::memcmp(buffer.data() + kSrbSignature, signature, sizeof signature) == 0;
}

void fail(DriverOutcome& out, uint32_t error) {
    out.ok = false;
    out.osError = error;
    out.record["result"] = "os_error";
    out.record["error"] = error;
}

void setReturnCode(Bytes& buffer, DriverOutcome& out, uint32_t code) {
    put32(buffer, kSrbReturnCode, code);
    if (code != 0) {
        out.record["result"] =
            (code & 0xFFFF0000u) == kDrvFirmwareError ? "firmware_error" : "driver_error";
        out.record["error"] = code;
    }
}

// A driver-layer rule that names several parts answers them all in one
// request: the firmware's error in the command area (firmware commands
// only), the driver's ReturnCode, and a failed call that still delivers
// its reply, the way Windows answers ERROR_MORE_DATA.
void answerCombinedFault(const json& action, bool firmwareCommand, Bytes& buffer,
                         DriverOutcome& out) {
    if (action.contains("code") && firmwareCommand) {
        auto begin = buffer.begin() + kSrbHeaderLength;
        Bytes command(begin, begin + kCommandShort);
        auto code = static_cast<uint16_t>(numberField(action, "code", 0x0209));
        reportRhoskError(command, code, action.value("text", rhoskControllerText(code)));
        std::copy(command.begin(), command.end(), begin);
        setReturnCode(buffer, out, kDrvFirmwareError | code);
    }
    if (action.contains("return_code"))
        setReturnCode(buffer, out, static_cast<uint32_t>(numberField(action, "return_code", 0)));
    if (action.contains("os_error")) {
        fail(out, static_cast<uint32_t>(numberField(action, "os_error", 31)));
        out.delivered = true;
    }
}

// A fault rule of the os or driver layer for this request: fails the
// request or sets its ReturnCode; true when it took the request over.
// A short reply only trims what the request returns.
bool applyDriverFault(json& state, const FaultQuery& base, Bytes& buffer, DriverOutcome& out,
                      uint32_t* shortReply) {
    FaultQuery q = base;
    q.layer = "driver";
    bool moved = false;
    json action = takeFault(state, q, &moved);
    out.changed = out.changed || moved;  // a rule's count or skip moved
    if (action.is_null())
        return false;
    if (action.contains("os_error") + action.contains("return_code") + action.contains("code") >
        1) {
        answerCombinedFault(action, q.kind == "firmware", buffer, out);
        return true;
    }
    if (action.contains("os_error")) {
        fail(out, static_cast<uint32_t>(numberField(action, "os_error", 31)));
        return true;
    }
    if (action.contains("return_code")) {
        setReturnCode(buffer, out, static_cast<uint32_t>(numberField(action, "return_code", 0)));
        return true;
    }
    if (action.contains("short_reply")) {
        *shortReply = static_cast<uint32_t>(numberField(action, "short_reply", 0));
    }
    return false;
}

// The 128-byte driver-information block at `offset`.
void fillDriverInfo(const json& ctl, Bytes& buffer, size_t offset) {
    std::memset(buffer.data() + offset, 0, kDriverInfoSize);
    const json driver = ctl.value("driver", json::object());
    putText(buffer, offset, 32, driver.value("name", "KivraDrv"));
    const json version = driver.value("version", json::array({3, 0, 0, 1}));
    for (size_t i = 0; i < 4; ++i) {
        uint64_t part =
            i < version.size() && version[i].is_number() ? version[i].get<uint64_t>() : 0;
        put16(buffer, offset + 96 + 2 * i, part);
    }
    put16(buffer, offset + 104, static_cast<uint64_t>(numberField(driver, "srl_min", 1)));
    put16(buffer, offset + 106, static_cast<uint64_t>(numberField(driver, "srl_max", 64)));
    // A driver that knows the controller's PCI slot reports level 2 and the
    // slot; one that does not reports level 1.
    int64_t slot = numberField(ctl, "slot", -1);
    put16(buffer, offset + kInfoSlotLevel, slot >= 0 ? 2 : 1);
    put16(buffer, offset + kInfoSlot, slot >= 0 ? static_cast<uint64_t>(slot) : 0);
}

// A newer-family firmware command (ControlCode 0xF0000000 plus flags).
void handleFirmwareCommand(json& state, json& ctl, const FaultQuery& base, Bytes& buffer,
                           DriverOutcome& out, uint32_t* shortReply) {
    out.record["kind"] = "firmware";
    size_t length = buffer.size() - kSrbHeaderLength;
    if (length < kCommandShort) {
        setReturnCode(buffer, out, kDrvInsufficientLength);
        return;
    }
    const size_t packet = kSrbHeaderLength + kCmdHeaderSize;
    uint8_t opcode = get8(buffer, packet) & 0x1F;
    uint16_t field6 = get16(buffer, packet + 6);
    size_t commandLength =
        opcode == 0x11 && get8(buffer, packet + 6) >= 0x80 ? kCommandLong : kCommandShort;
    out.record["opcode"] = opcode;
    if (length < commandLength || (length - commandLength) % 512 != 0) {
        setReturnCode(buffer, out, kDrvInsufficientLength);
        return;
    }
    size_t dataLength = length - commandLength;
    auto commandBegin = buffer.begin() + kSrbHeaderLength;
    Bytes command(commandBegin, commandBegin + static_cast<std::ptrdiff_t>(commandLength));
    Bytes data(commandBegin + static_cast<std::ptrdiff_t>(commandLength), buffer.end());
    bool isParam = opcode == 0x12 || opcode == 0x13;
    if (isParam) {
        out.record["table"] = get16(data, 0) & 0x7FFF;
        out.record["parameter"] = get16(data, 2);
        out.record["size"] = get16(data, 4);
    }
    if (opcode == kScsiPassThroughOpcode)
        describeScsiPassThrough(command, data, out.record);
    uint32_t flags = 0;
    uint32_t sentFlags = get32(buffer, kSrbControlCode) & 0x0FFFFFFF;
    if (get8(command, kCmdHeaderSizeByte) != 0x80 ||
        (expectedFlags(opcode, dataLength, field6, &flags) && flags != sentFlags)) {
        setReturnCode(buffer, out, kDrvInvalidParameters);
        return;
    }
    FaultQuery q = base;
    q.kind = "firmware";
    q.opcode = opcode;
    if (isParam) {
        q.table = get16(data, 0) & 0x7FFF;
        q.parameter = get16(data, 2);
    }
    if (applyDriverFault(state, q, buffer, out, shortReply))
        return;

    FirmwareResult result;
    std::string text;
    q.layer = "firmware";
    bool moved = false;
    json action = takeFault(state, q, &moved);
    out.changed = out.changed || moved;
    if (!action.is_null()) {
        result.code = static_cast<uint16_t>(numberField(action, "code", 0x0209));
        text = action.value("text", rhoskControllerText(result.code));
    } else {
        result = executeRhoskCommand(ctl, command, data);
        text = rhoskControllerText(result.code);
        out.changed = out.changed || result.changed;
        // A new unit's disks appear to Windows as soon as the unit exists.
        if (result.changed)
            (void)attachUnitDisks(state);
    }
    if (result.code != 0) {
        reportRhoskError(command, result.code, text);
        setReturnCode(buffer, out, kDrvFirmwareError | result.code);
    }
    std::copy(command.begin(), command.end(), commandBegin);
    std::copy(data.begin(), data.end(), commandBegin + static_cast<std::ptrdiff_t>(commandLength));
}

void handleRhosk(json& state, json& ctl, const FaultQuery& base, Bytes& buffer, DriverOutcome& out,
                 uint32_t* shortReply) {
    uint32_t controlCode = get32(buffer, kSrbControlCode);
    if ((controlCode & 0xF0000000u) == 0xF0000000u && controlCode != 0xFFFF0002u) {
        handleFirmwareCommand(state, ctl, base, buffer, out, shortReply);
        return;
    }
    const KindRow* row = kindOf(controlCode);
    if (row == nullptr) {
        out.record["kind"] = "unknown";
        setReturnCode(buffer, out, kDrvUnknownIoctl);
        return;
    }
    out.record["kind"] = row->name;
    FaultQuery q = base;
    q.kind = row->name;
    size_t length = buffer.size() - kSrbHeaderLength;
    size_t needed = row->kind == Kind::DriverInfo                          ? kDriverInfoSize
                    : row->kind == Kind::Lock || row->kind == Kind::Unlock ? kLockBlockSize
                    : row->kind == Kind::Commit                            ? 0
                                                                           : kEventRecordSize;
    if (length < needed) {
        setReturnCode(buffer, out, kDrvInsufficientLength);
        return;
    }
    if (applyDriverFault(state, q, buffer, out, shortReply))
        return;
    switch (row->kind) {
        case Kind::DriverInfo:
            fillDriverInfo(ctl, buffer, kSrbHeaderLength);
            break;
        case Kind::EventLast:
        case Kind::EventFirst:
        case Kind::EventNext:
        case Kind::EventPrevious: {
            const EventWalk walk = row->kind == Kind::EventFirst  ? EventWalk::First
                                   : row->kind == Kind::EventLast ? EventWalk::Last
                                   : row->kind == Kind::EventNext ? EventWalk::Next
                                                                  : EventWalk::Previous;
            setReturnCode(buffer, out, answerEventRequest(ctl, walk, buffer, kSrbHeaderLength));
            break;
        }
        case Kind::Lock:
            if (ctl.value("management_lock", false)) {
                setReturnCode(buffer, out, kDrvAlreadyLocked);
            } else {
                ctl["management_lock"] = true;
                discardImageDownload(ctl);
                out.changed = true;
            }
            break;
        case Kind::Unlock:
            if (!ctl.value("management_lock", false)) {
                setReturnCode(buffer, out, kDrvNotLocked);
            } else {
                ctl["management_lock"] = false;
                out.changed = true;
            }
            break;
        case Kind::Commit:
        case Kind::Firmware:
        case Kind::Unknown:
            break;
    }
}

void handlePrane(json& state, json& ctl, const FaultQuery& base, Bytes& buffer, DriverOutcome& out,
                 uint32_t* shortReply) {
    out.record["kind"] = "prane";
    if (get32(buffer, kSrbControlCode) != 0 || buffer.size() < kPraneDataOffset ||
        (buffer.size() - kPraneDataOffset) % 512 != 0) {
        fail(out, platform::kErrorInvalidParameter);
        return;
    }
    auto packetBegin = buffer.begin() + kPranePacketOffset;
    Bytes packet(packetBegin, packetBegin + kPranePacketSize);
    Bytes data(buffer.begin() + kPraneDataOffset, buffer.end());
    uint8_t opcode = get8(packet, 0) & 0x1F;
    out.record["opcode"] = opcode;
    FaultQuery q = base;
    q.kind = "prane";
    q.opcode = opcode;
    if (opcode == 0x12 || opcode == 0x13) {
        out.record["table"] = get16(data, 0);
        out.record["parameter"] = get8(data, 2);
        out.record["size"] = get8(data, 3);
        q.table = get16(data, 0);
        q.parameter = get8(data, 2);
    }
    if (applyDriverFault(state, q, buffer, out, shortReply))
        return;
    q.layer = "firmware";
    bool moved = false;
    json action = takeFault(state, q, &moved);
    out.changed = out.changed || moved;
    FirmwareResult result;
    if (!action.is_null()) {
        result.code = static_cast<uint16_t>(numberField(action, "code", 0x51C7));
        reportPraneError(packet, result.code);
    } else {
        result = executePraneCommand(ctl, packet, data);
        out.changed = out.changed || result.changed;
    }
    if (result.code != 0) {
        out.record["result"] = "firmware_error";
        out.record["error"] = result.code;
    }
    std::copy(packet.begin(), packet.end(), packetBegin);
    std::copy(data.begin(), data.end(), buffer.begin() + kPraneDataOffset);
}

}  // namespace

DriverOutcome handleMiniport(json& state, size_t index, Bytes& buffer) {
    DriverOutcome out;
    out.record["result"] = "ok";
    json& ctl = state["machine"]["controllers"][index];
    // The port driver's own checks of the envelope.
    if (buffer.size() < kSrbHeaderLength || get32(buffer, 0) != kSrbHeaderLength ||
        get32(buffer, kSrbLength) != buffer.size() - kSrbHeaderLength) {
        out.record["kind"] = "invalid";
        fail(out, platform::kErrorInvalidParameter);
        return out;
    }
    FaultQuery base;
    base.controller = static_cast<int64_t>(index);
    uint32_t shortReply = UINT32_MAX;
    Family family = familyOfDeviceType(static_cast<int>(numberField(ctl, "device_type", 2)));
    // Every driver of the maker answers the information request under the
    // newer signature; otherwise each driver claims only its own signature.
    bool infoQuery = signatureIs(buffer, kRhoskSignature) && get32(buffer, kSrbControlCode) == 1;
    if (family == Family::Rhosk && signatureIs(buffer, kRhoskSignature)) {
        handleRhosk(state, ctl, base, buffer, out, &shortReply);
    } else if (infoQuery) {
        handleRhosk(state, ctl, base, buffer, out, &shortReply);
    } else if (family == Family::Prane && signatureIs(buffer, kPraneSignature)) {
        handlePrane(state, ctl, base, buffer, out, &shortReply);
    } else {
        out.record["kind"] = "unclaimed";
        fail(out, kErrorInvalidFunction);
        return out;
    }
    if (out.ok) {
        out.returned = static_cast<uint32_t>(buffer.size());
        if (shortReply < out.returned) {
            out.returned = shortReply;
            out.record["returned"] = shortReply;
        }
    }
    return out;
}

size_t requestDataBound(const json& state) {
    constexpr size_t kDefaultBound = 1024;
    auto it = state.find("request_log_data");
    if (it == state.end())
        return 0;
    if (it->is_boolean())
        return it->get<bool>() ? kDefaultBound : 0;
    return static_cast<size_t>(std::max<int64_t>(numberField(state, "request_log_data", 0), 0));
}

void describeRequestBytes(const Bytes& sent, const Bytes& answered, size_t bound, json& record) {
    // Where the packet and the data area lie: an older-family packet, a
    // newer-family firmware command (short, or long for ATA pass-through)
    // or another driver request, whose data follows the envelope.
    size_t packet = 0, packetLength = 0, data = kSrbHeaderLength;
    const uint32_t controlCode = get32(sent, kSrbControlCode);
    if (sent.size() >= kPraneDataOffset && signatureIs(sent, kPraneSignature)) {
        packet = kPranePacketOffset;
        packetLength = kPranePacketSize;
        data = kPraneDataOffset;
    } else if (sent.size() >= kSrbHeaderLength + kCommandShort &&
               (controlCode & 0xF0000000u) == 0xF0000000u && controlCode != 0xFFFF0002u) {
        packet = kSrbHeaderLength + kCmdHeaderSize;
        const uint8_t opcode = get8(sent, packet) & 0x1F;
        const bool isLong = opcode == 0x11 && get8(sent, packet + 6) >= 0x80;
        const size_t commandLength = isLong ? kCommandLong : kCommandShort;
        packetLength = commandLength - kCmdHeaderSize;
        data = kSrbHeaderLength + commandLength;
        if (opcode == kScsiPassThroughOpcode)
            record["cdb"] = hexText(sent, packet + 8, 16);
    }
    if (packetLength > 0)
        record["packet"] = hexText(sent, packet, std::min(packetLength, bound));
    record["sent"] = hexText(sent, data, bound);
    if (!answered.empty())
        record["received"] = hexText(answered, data, bound);
}

}  // namespace emulator
