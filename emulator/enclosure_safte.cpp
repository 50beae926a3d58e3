// The SAF-TE half of the enclosure model: the buffers READ BUFFER reads
// and the commands WRITE BUFFER carries.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "emulator/controller_codes.h"
#include "emulator/enclosure_device.h"

namespace emulator {

using nlohmann::json;

namespace {

constexpr Name kSafteStatus[] = {{"ok", 0}, {"failed", 1}, {"not_installed", 2}, {"unknown", 0x80}};

Bytes safteInquiry(const Target& t) {
    Bytes b(64, 0);
    b[0] = 0x03;  // processor device
    b[2] = 2;
    b[3] = 2;
    b[4] = static_cast<uint8_t>(b.size() - 5);
    putPadded(b, 8, 8, text(*t.enclosure, "vendor", "Orvo"));
    putPadded(b, 16, 16, text(*t.enclosure, "product", "KV-ENCL-SAFTE"));
    putPadded(b, 32, 4, text(*t.enclosure, "revision", "0100"));
    if (flag(*t.enclosure, "signature", true))
        putPadded(b, 44, 8, "SAF-TE1.");
    return b;
}

struct SafteCounts {
    size_t fans, supplies, slots, doors, sensors, alarms;
};

SafteCounts safteCounts(const json& e) {
    return {countOf(e, "fans"),       countOf(e, "power_supplies"), countOf(e, "slots"),
            countOf(e, "door_locks"), countOf(e, "temp_sensors"),   countOf(e, "alarms")};
}

uint8_t safteTemperature(const json& encl, const json& sensor) {
    if (const json* raw = member(sensor, "raw"))
        return clampByte(numberValue(*raw, 0));
    int64_t t = num(sensor, "temperature", 30);
    if (flag(encl, "fahrenheit", false))
        t = t * 9 / 5 + 32;
    return clampByte(t + 10);
}

// SAF-TE buffer `id`, or the refusal of one the enclosure does not have.
Reply safteBuffer(const Target& t, uint8_t id) {
    const json& e = *t.enclosure;
    const SafteCounts n = safteCounts(e);
    switch (id) {
        case 0: {
            Bytes b(64, 0);
            b[0] = clampByte(n.fans);
            b[1] = clampByte(n.supplies);
            b[2] = clampByte(n.slots);
            b[3] = clampByte(n.doors);
            b[4] = clampByte(n.sensors);
            b[5] = clampByte(n.alarms);
            b[6] = flag(e, "fahrenheit", false) ? 0 : 0x80;
            return {0, std::move(b)};
        }
        case 1: {
            Bytes b;
            for (size_t i = 0; i < n.fans; ++i)
                b.push_back(clampByte(coded(elementOf(e, "fans", i), "status", kSafteStatus, 0)));
            for (size_t i = 0; i < n.supplies; ++i) {
                b.push_back(
                    clampByte(coded(elementOf(e, "power_supplies", i), "status", kSafteStatus, 0)));
            }
            for (size_t i = 0; i < n.slots; ++i) {
                const int64_t port = driveInSlot(t.place(), i);
                b.push_back(
                    clampByte(num(elementOf(e, "slots", i), "port", port >= 0 ? port : 255)));
            }
            const json& door = elementOf(e, "door_locks", 0);
            b.push_back(clampByte(num(door, "status", flag(door, "locked", true) ? 1 : 0)));
            const json& alarm = elementOf(e, "alarms", 0);
            b.push_back(clampByte(num(alarm, "status", flag(alarm, "sounding", false) ? 1 : 0)));
            for (size_t i = 0; i < n.sensors; ++i)
                b.push_back(safteTemperature(e, elementOf(e, "temp_sensors", i)));
            return {0, std::move(b)};
        }
        case 4: {
            Bytes b(4 * n.slots + 1, 0);
            for (size_t i = 0; i < n.slots; ++i) {
                const json& slot = elementOf(e, "slots", i);
                const bool occupied = driveInSlot(t.place(), i) >= 0;
                const uint64_t word =
                    static_cast<uint64_t>(num(slot, "status_word", occupied ? 0x05 : 0));
                for (size_t k = 0; k < 4; ++k)
                    b[4 * i + k] = static_cast<uint8_t>(word >> (8 * (3 - k)));
            }
            for (size_t i = 0; i < n.slots; ++i)
                b.push_back(flag(elementOf(e, "slots", i), "identify", false) ? 1 : 0);
            return {0, std::move(b)};
        }
        case 5: {
            Bytes b(16, 0);
            const json* flags = member(e, "global_flags");
            for (size_t i = 0; i < 3; ++i) {
                b[i] = flags != nullptr && flags->is_array() && i < flags->size()
                           ? clampByte(flags->at(i).is_number() ? flags->at(i).get<int64_t>() : 0)
                           : (i == 0 ? 1 : 0);
            }
            return {0, std::move(b)};
        }
        default:
            return {kFwInvalidField, {}};
    }
}

// A SAF-TE WRITE BUFFER command; 0 or the controller code of a refusal.
uint16_t safteCommand(const Target& t, ConstByteSpan data, size_t length, bool* changed) {
    json& e = *t.enclosure;
    const SafteCounts n = safteCounts(e);
    const uint8_t number = get8(data, 1);
    switch (get8(data, 0)) {
        case 0x12:
            if (length < 3 || number >= n.slots)
                return kFwInvalidField;
            *changed |=
                assign(mutableElement(e, "slots", number), "identify", (get8(data, 2) & 0x04) != 0);
            return 0;
        case 0x13:
            if (length < 3 || number >= n.fans)
                return kFwInvalidField;
            *changed |= assign(mutableElement(e, "fans", number), "speed", get8(data, 2));
            return 0;
        case 0x15:
            if (length < 4)
                return kFwInvalidField;
            *changed |= assign(e, "global_flags",
                               json::array({get8(data, 1), get8(data, 2), get8(data, 3)}));
            return 0;
        default:
            return kFwInvalidField;
    }
}

}  // namespace

FirmwareResult safteCommandOf(const Target& t, const uint8_t* cdb, ByteSpan data) {
    FirmwareResult r;
    switch (cdb[0]) {
        case kInquiry: {
            const Reply& inquiry = remembered(t, replyKey(kInquiry), [&] {
                return Reply{0, safteInquiry(t)};
            });
            answer(data, inquiry.bytes, cdb[4]);
            return r;
        }
        case kReadBuffer: {
            if ((cdb[1] & 0x1F) != 1) {
                r.code = kFwInvalidField;
                return r;
            }
            const Reply& buffer =
                remembered(t, replyKey(cdb[0], cdb[2]), [&] { return safteBuffer(t, cdb[2]); });
            r.code = buffer.code;
            if (buffer.code == 0)
                answer(data, buffer.bytes, getBe(cdb + 6, 3));
            return r;
        }
        case kWriteBuffer: {
            const size_t length = getBe(cdb + 6, 3);
            if ((cdb[1] & 0x1F) != 1 || cdb[2] != 0 || length > data.size()) {
                r.code = kFwInvalidField;
                return r;
            }
            r.code = safteCommand(t, data, length, &r.changed);
            return r;
        }
        default:
            r.code = kFwInvalidField;
            return r;
    }
}

}  // namespace emulator
