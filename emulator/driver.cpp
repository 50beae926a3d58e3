#include "emulator/driver.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "emulator/controller_codes.h"
#include "emulator/controller_model.h"
#include "emulator/enclosure_model.h"
#include "emulator/event_model.h"
#include "emulator/faults.h"
#include "emulator/fields.h"
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
static_assert(kCommandShort == kCmdHeaderSize + 24, "short command: header and packet");

// The firmware opcodes that only read, and where a pass-through's CDB lies
// in its packet.
constexpr uint8_t kProbeOpcode = 0x00;
constexpr uint8_t kGetParamOpcode = 0x12;
constexpr size_t kPassThroughCdb = 8;

bool signatureIs(ConstByteSpan buffer, const char (&signature)[8]) {
    return std::memcmp(buffer.data() + kSrbSignature, signature, sizeof signature) == 0;
}

void fail(DriverOutcome& out, uint32_t error) {
    out.ok = false;
    out.osError = error;
    out.note("result", "os_error");
    out.note("error", error);
}

void setReturnCode(ByteSpan buffer, DriverOutcome& out, uint32_t code) {
    put32(buffer, kSrbReturnCode, code);
    if (code != 0) {
        out.note("result",
                 (code & 0xFFFF0000u) == kDrvFirmwareError ? "firmware_error" : "driver_error");
        out.note("error", code);
    }
}

// The host's fault rules as one request meets them.
class FaultRules {
  public:
    FaultRules(json& state, bool live) : state_(state), live_(live) {}

    // The action of the first rule that fires on `q`, with a rule whose
    // count or skip moved noted as a change; null at once while no rule
    // is live.
    json take(const FaultQuery& q, DriverOutcome& out) {
        if (!live_)
            return json();
        bool moved = false;
        json action = takeFault(state_, q, &moved);
        out.changed = out.changed || moved;
        return action;
    }

  private:
    json& state_;
    bool live_;
};

// A driver-layer rule that names several parts answers them all in one
// request: the firmware's error in the command area (firmware commands
// only), the driver's ReturnCode, and a failed call that still delivers
// its reply, the way Windows answers ERROR_MORE_DATA.
void answerCombinedFault(const json& action, bool firmwareCommand, ByteSpan buffer,
                         DriverOutcome& out) {
    if (action.contains("code") && firmwareCommand) {
        auto code = static_cast<uint16_t>(numberField(action, "code", 0x0209));
        reportRhoskError(buffer.subspan(kSrbHeaderLength, kCommandShort), code,
                         textField(action, "text", rhoskControllerText(code)));
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
bool applyDriverFault(FaultRules& rules, const FaultQuery& base, ByteSpan buffer,
                      DriverOutcome& out, uint32_t* shortReply) {
    FaultQuery q = base;
    q.layer = "driver";
    json action = rules.take(q, out);
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
void fillDriverInfo(const json& ctl, ByteSpan buffer, size_t offset) {
    std::memset(buffer.data() + offset, 0, kDriverInfoSize);
    static const json kNoDriver = json::object();
    auto given = ctl.find("driver");
    const json& driver = given != ctl.end() && given->is_object() ? *given : kNoDriver;
    putText(buffer, offset, 32, textField(driver, "name", "KivraDrv"));
    auto listed = driver.find("version");
    const json version =
        listed != driver.end() && listed->is_array() ? *listed : json::array({3, 0, 0, 1});
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

// What the firmware changed, for the host that saves it.
void noteFirmwareChange(const FirmwareResult& result, DriverOutcome& out) {
    if (!result.changed)
        return;
    if (result.elementsOnly) {
        out.elementsChanged = true;
        return;
    }
    out.changed = true;
    out.unitsMayChange = true;
}

// Answers the request with the driver's refusal and logs why.
void refuse(const Refusal& refusal, ByteSpan buffer, DriverOutcome& out) {
    out.note("reason", refusal.reason);
    if (refusal.returnCode != 0)
        setReturnCode(buffer, out, refusal.returnCode);
    else
        fail(out, refusal.osError);
}

// The firmware's answer to a command the driver passed on: a firmware
// fault rule's error, or what the controller makes of it.
void runRhoskFirmware(FaultRules& rules, json& ctl, const ControllerModel& model, FaultQuery q,
                      ByteSpan command, ByteSpan data, ByteSpan buffer, DriverOutcome& out) {
    FirmwareResult result;
    q.layer = "firmware";
    json action = rules.take(q, out);
    if (!action.is_null()) {
        result.code = static_cast<uint16_t>(numberField(action, "code", 0x0209));
    } else {
        result = executeRhoskCommand(ctl, model, command, data);
        noteFirmwareChange(result, out);
    }
    if (!result.reason.empty())
        out.note("reason", result.reason);
    if (result.code != 0) {
        // A fault rule may give its own text; the controller's otherwise.
        reportRhoskError(command, result.code,
                         textField(action, "text", rhoskControllerText(result.code)));
        setReturnCode(buffer, out, kDrvFirmwareError | result.code);
    }
}

// A newer-family firmware command (ControlCode 0xF0000000 plus flags).
void handleFirmwareCommand(FaultRules& rules, json& ctl, const ControllerModel& model,
                           const FaultQuery& base, ByteSpan buffer, DriverOutcome& out,
                           uint32_t* shortReply) {
    out.note("kind", "firmware");
    if (buffer.size() - kSrbHeaderLength < kCommandShort) {
        refuse(checkFirmwareCommand(buffer, kCommandShort), buffer, out);
        return;
    }
    const uint8_t opcode = get8(buffer, kSrbHeaderLength + kCmdHeaderSize) & 0x1F;
    const size_t commandLength = firmwareCommandLength(buffer);
    out.note("opcode", opcode);
    // The firmware answers in the command and data areas of the buffer.
    const ByteSpan command = buffer.subspan(kSrbHeaderLength, commandLength);
    const ByteSpan data = buffer.subspan(kSrbHeaderLength + command.size());
    FaultQuery q = base;
    q.kind = "firmware";
    q.opcode = opcode;
    if (opcode == 0x12 || opcode == 0x13) {
        out.note("table", get16(data, 0) & 0x7FFF);
        out.note("parameter", get16(data, 2));
        out.note("size", get16(data, 4));
        q.table = get16(data, 0) & 0x7FFF;
        q.parameter = get16(data, 2);
    }
    if (opcode == kScsiPassThroughOpcode && out.record.is_object())
        describeScsiPassThrough(command, data, out.record);
    if (Refusal r = checkFirmwareCommand(buffer, commandLength); r.refused()) {
        refuse(r, buffer, out);
        return;
    }
    if (applyDriverFault(rules, q, buffer, out, shortReply))
        return;
    runRhoskFirmware(rules, ctl, model, q, command, data, buffer, out);
}

// The driver's own requests: information, event queue, lock, unlock, commit.
void answerDriverRequest(const RequestKindRow& row, json& ctl, ByteSpan buffer,
                         DriverOutcome& out) {
    switch (row.kind) {
        case RequestKind::DriverInfo:
            fillDriverInfo(ctl, buffer, kSrbHeaderLength);
            break;
        case RequestKind::EventLast:
        case RequestKind::EventFirst:
        case RequestKind::EventNext:
        case RequestKind::EventPrevious: {
            const EventWalk walk = row.kind == RequestKind::EventFirst  ? EventWalk::First
                                   : row.kind == RequestKind::EventLast ? EventWalk::Last
                                   : row.kind == RequestKind::EventNext ? EventWalk::Next
                                                                        : EventWalk::Previous;
            setReturnCode(buffer, out, answerEventRequest(ctl, walk, buffer, kSrbHeaderLength));
            break;
        }
        case RequestKind::Lock:
            if (flagField(ctl, "management_lock", false)) {
                setReturnCode(buffer, out, kDrvAlreadyLocked);
            } else {
                ctl["management_lock"] = true;
                discardImageDownload(ctl);
                out.changed = true;
            }
            break;
        case RequestKind::Unlock:
            if (!flagField(ctl, "management_lock", false)) {
                setReturnCode(buffer, out, kDrvNotLocked);
            } else {
                ctl["management_lock"] = false;
                out.changed = true;
            }
            break;
        case RequestKind::Commit:
            break;
    }
}

void handleRhosk(FaultRules& rules, json& ctl, const ControllerModel& model, const FaultQuery& base,
                 ByteSpan buffer, DriverOutcome& out, uint32_t* shortReply) {
    const uint32_t controlCode = get32(buffer, kSrbControlCode);
    if (isFirmwareCommand(controlCode)) {
        handleFirmwareCommand(rules, ctl, model, base, buffer, out, shortReply);
        return;
    }
    const RequestKindRow* row = requestKindOf(controlCode);
    if (row == nullptr) {
        out.note("kind", "unknown");
        refuse(unknownControlCode(controlCode), buffer, out);
        return;
    }
    out.note("kind", row->name);
    if (Refusal r = checkDriverRequest(*row, buffer); r.refused()) {
        refuse(r, buffer, out);
        return;
    }
    FaultQuery q = base;
    q.kind = row->name;
    if (applyDriverFault(rules, q, buffer, out, shortReply))
        return;
    answerDriverRequest(*row, ctl, buffer, out);
}

void handlePrane(FaultRules& rules, json& ctl, const ControllerModel& model, const FaultQuery& base,
                 ByteSpan buffer, DriverOutcome& out, uint32_t* shortReply) {
    out.note("kind", "prane");
    if (Refusal r = checkPraneRequest(buffer); r.refused()) {
        refuse(r, buffer, out);
        return;
    }
    auto packetBegin = buffer.begin() + kPranePacketOffset;
    Bytes packet(packetBegin, packetBegin + kPranePacketSize);
    Bytes data(buffer.begin() + kPraneDataOffset, buffer.end());
    uint8_t opcode = get8(packet, 0) & 0x1F;
    out.note("opcode", opcode);
    FaultQuery q = base;
    q.kind = "prane";
    q.opcode = opcode;
    if (opcode == 0x12 || opcode == 0x13) {
        out.note("table", get16(data, 0));
        out.note("parameter", get8(data, 2));
        out.note("size", get8(data, 3));
        q.table = get16(data, 0);
        q.parameter = get8(data, 2);
    }
    if (applyDriverFault(rules, q, buffer, out, shortReply))
        return;
    q.layer = "firmware";
    json action = rules.take(q, out);
    FirmwareResult result;
    if (!action.is_null()) {
        result.code = static_cast<uint16_t>(numberField(action, "code", 0x51C7));
        reportPraneError(packet, result.code);
    } else {
        result = executePraneCommand(ctl, model, packet, data);
        noteFirmwareChange(result, out);
    }
    if (!result.reason.empty())
        out.note("reason", result.reason);
    if (result.code != 0) {
        out.note("result", "firmware_error");
        out.note("error", result.code);
    }
    std::copy(packet.begin(), packet.end(), packetBegin);
    std::copy(data.begin(), data.end(), buffer.begin() + kPraneDataOffset);
}

// Which driver takes the request: every driver of the maker answers the
// information request under the newer signature; otherwise each claims
// only its own family's signature.
void dispatch(FaultRules& rules, json& ctl, const ControllerModel& model, const FaultQuery& base,
              ByteSpan buffer, DriverOutcome& out, uint32_t* shortReply) {
    const Family family = familyOfDeviceType(static_cast<int>(model.deviceType()));
    const bool rhoskSignature = signatureIs(buffer, kRhoskSignature);
    const bool infoQuery = rhoskSignature && get32(buffer, kSrbControlCode) == 1;
    if ((family == Family::Rhosk && rhoskSignature) || infoQuery) {
        handleRhosk(rules, ctl, model, base, buffer, out, shortReply);
    } else if (family == Family::Prane && signatureIs(buffer, kPraneSignature)) {
        handlePrane(rules, ctl, model, base, buffer, out, shortReply);
    } else {
        out.note("kind", "unclaimed");
        out.note("reason", "signature not this driver's");
        fail(out, kErrorInvalidFunction);
    }
}

}  // namespace

DriverOutcome handleMiniport(json& state, json& ctl, const ControllerModel& model, size_t index,
                             ByteSpan buffer, size_t outSize, const MiniportCall& call) {
    DriverOutcome out;
    if (call.logged)
        out.record = json::object();
    out.note("result", "ok");
    Refusal envelope = checkEnvelope(buffer);
    if (!envelope.refused() && outSize != buffer.size()) {
        envelope.osError = platform::kErrorInvalidParameter;
        envelope.reason = "output buffer of " + std::to_string(outSize) + " bytes, input of " +
                          std::to_string(buffer.size());
    }
    if (envelope.refused()) {
        out.note("kind", "invalid");
        refuse(envelope, buffer, out);
        return out;
    }
    FaultQuery base;
    base.controller = static_cast<int64_t>(index);
    uint32_t shortReply = UINT32_MAX;
    FaultRules rules(state, call.faultsLive);
    dispatch(rules, ctl, model, base, buffer, out, &shortReply);
    if (out.ok) {
        out.returned = static_cast<uint32_t>(buffer.size());
        if (shortReply < out.returned) {
            out.returned = shortReply;
            out.note("returned", shortReply);
        }
    }
    return out;
}

bool requestMayChange(const uint8_t* request, size_t size) {
    if (request == nullptr || size < kSrbHeaderLength)
        return true;
    const ConstByteSpan header(request, kSrbHeaderLength);
    const uint32_t controlCode = get32(header, kSrbControlCode);
    if (signatureIs(header, kPraneSignature))
        return size < kPraneDataOffset || (request[kPranePacketOffset] & 0x1F) != kGetParamOpcode;
    if (!signatureIs(header, kRhoskSignature))
        return true;
    if (const RequestKindRow* row = requestKindOf(controlCode))
        return row->kind == RequestKind::Lock || row->kind == RequestKind::Unlock;
    if (!isFirmwareCommand(controlCode) || size < kSrbHeaderLength + kCommandShort)
        return true;
    const uint8_t* packet = request + kSrbHeaderLength + kCmdHeaderSize;
    switch (packet[0] & 0x1F) {
        case kProbeOpcode:
        case kGetParamOpcode:
            return false;
        case kScsiPassThroughOpcode:
            return !scsiCommandReads(packet[kPassThroughCdb]);
        default:
            return true;
    }
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
