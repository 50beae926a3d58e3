// The inside of the enclosure model, shared by emulator/enclosure_model.cpp
// (the addressed device and the pass-through command) with its SES half
// (emulator/enclosure_ses.cpp) and its SAF-TE half
// (emulator/enclosure_safte.cpp): reads of an enclosure's description, its
// element lists, the device a command reaches and the replies it remembers.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "emulator/controller_model.h"
#include "emulator/enclosure_model.h"
#include "emulator/faults.h"
#include "emulator/fields.h"
#include "emulator/firmware.h"
#include "emulator/wire.h"

namespace emulator {

// Reading the description: a field of the wrong type reads as its default.

inline int64_t num(const nlohmann::json& o, std::string_view key, int64_t fallback) {
    return numberField(o, key, fallback);
}

inline bool flag(const nlohmann::json& o, std::string_view key, bool fallback) {
    return flagField(o, key, fallback);
}

inline std::string text(const nlohmann::json& o, std::string_view key,
                        const std::string& fallback) {
    return textField(o, key, fallback);
}

// The field `key` of `o` (json or const json); null when there is none.
template <typename Json>
Json* member(Json& o, std::string_view key) {
    if (!o.is_object())
        return nullptr;
    auto it = o.find(key);
    return it != o.end() ? &*it : nullptr;
}

inline uint8_t clampByte(int64_t v) {
    return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, 255));
}

// A status given by name or number.
struct Name {
    const char* name;
    int64_t code;
};

template <size_t N>
int64_t coded(const nlohmann::json& o, std::string_view key, const Name (&names)[N],
              int64_t fallback) {
    const nlohmann::json* node = member(o, key);
    if (node == nullptr)
        return fallback;
    if (node->is_string()) {
        for (const Name& n : names) {
            if (node->get_ref<const std::string&>() == n.name)
                return n.code;
        }
        return fallback;
    }
    return numberValue(*node, fallback);
}

// A text field of `width` characters, padded with blanks (SCSI identity).
inline void putPadded(Bytes& b, size_t offset, size_t width, const std::string& s) {
    for (size_t i = 0; i < width && offset + i < b.size(); ++i)
        b[offset + i] = i < s.size() ? static_cast<uint8_t>(s[i]) : ' ';
}

inline uint32_t getBe(const uint8_t* p, size_t width) {
    uint32_t v = 0;
    for (size_t i = 0; i < width; ++i)
        v = v << 8 | p[i];
    return v;
}

// Element lists: a number of default elements, or an array of objects.

inline size_t countOf(const nlohmann::json& sub, const char* list) {
    const nlohmann::json* node = member(sub, list);
    if (node == nullptr)
        return 0;
    if (node->is_array())
        return std::min<size_t>(node->size(), 255);
    return static_cast<size_t>(clampByte(numberValue(*node, 0)));
}

// The list `list` of `sub` when it is given as an array; null otherwise.
inline const nlohmann::json* elementArray(const nlohmann::json& sub, const char* list) {
    const nlohmann::json* node = member(sub, list);
    return node != nullptr && node->is_array() ? node : nullptr;
}

// Element `i` of an element array (null: none given); an empty object
// when the array has no object there.
inline const nlohmann::json& elementAt(const nlohmann::json* array, size_t i) {
    static const nlohmann::json empty = nlohmann::json::object();
    if (array == nullptr || i >= array->size() || !(*array)[i].is_object())
        return empty;
    return (*array)[i];
}

inline const nlohmann::json& elementOf(const nlohmann::json& sub, const char* list, size_t i) {
    return elementAt(elementArray(sub, list), i);
}

// The element as an object that a control can change (a list given as a
// number becomes a list of empty objects first).
inline nlohmann::json& mutableElement(nlohmann::json& sub, const char* list, size_t i) {
    nlohmann::json& node = sub[list];
    if (!node.is_array()) {
        const size_t n = static_cast<size_t>(clampByte(num(sub, list, 0)));
        node = nlohmann::json::array();
        for (size_t k = 0; k < n; ++k)
            node.push_back(nlohmann::json::object());
    }
    while (node.size() <= i)
        node.push_back(nlohmann::json::object());
    if (!node[i].is_object())
        node[i] = nlohmann::json::object();
    return node[i];
}

enum class Cls { Enclosure, Device, Cooling, PowerSupply, TempSensor, DoorLock, Alarm, Other };

struct ClassDef {
    Cls cls;
    const char* list;
    uint8_t sesType;
};

// One type descriptor header of page 1 and its elements in page 2.
struct Header {
    const ClassDef* def;  // null: a type the model keeps no elements of
    uint8_t type;
    size_t first;  // index of its first element in the class's list
    size_t count;
};

// Where the sub-enclosure sits: its enclosure's port, the controller's
// drives and the running number of its first slot.
struct Place {
    int64_t port;
    size_t slotBase;
    // The port of the drive in each slot of the enclosure, by slot (the
    // first description of a slot counts); kSlotNotSeen where none is.
    std::vector<int64_t> slotDrives;
};

constexpr int64_t kSlotNotSeen = INT64_MIN;

// The port of the drive in slot `slot` of the place's enclosure; -1 when
// the slot is empty.
inline int64_t driveInSlot(const Place& place, size_t slot) {
    if (slot >= place.slotDrives.size() || place.slotDrives[slot] == kSlotNotSeen)
        return -1;
    return place.slotDrives[slot];
}

// Sets `key` of the object `e` to `value` when it differs; true when it did.
template <typename T>
bool assign(nlohmann::json& e, std::string_view key, const T& value) {
    nlohmann::json* field = member(e, key);
    if (field == nullptr) {
        e.emplace(key, value);
        return true;
    }
    if (*field == nlohmann::json(value))
        return false;
    *field = value;
    return true;
}

// A reply of a device: its bytes, or the controller code of a refusal.
struct Reply {
    uint16_t code = 0;
    Bytes bytes;
};

// Where the sub-enclosure of an addressed device is described.
constexpr int64_t kNoSub = -1;           // the LUN has none
constexpr int64_t kWholeEnclosure = -2;  // the enclosure is its own

struct EnclosureAnswers::Device {
    bool found = false;  // an enclosure answers at the target
    bool ses = true;
    size_t enclosure = 0;  // its position in the enclosure list
    // SES: the position of the LUN's sub-enclosure in "sub_enclosures".
    int64_t sub = kNoSub;
    Place place{};
    std::optional<std::vector<Header>> headers;
    std::unordered_map<uint16_t, Reply> replies;  // by CDB opcode and page or buffer
};

using Device = EnclosureAnswers::Device;

// What a pass-through command reaches.
struct Target {
    nlohmann::json* enclosure = nullptr;
    nlohmann::json* sub = nullptr;  // SES: the sub-enclosure of the LUN; null when the LUN has none
    Device* device = nullptr;

    [[nodiscard]] bool ses() const { return device->ses; }
    [[nodiscard]] const Place& place() const { return device->place; }
};

// The reply `key` of the target's device, built by `build` the first time
// it is asked for in this version.
template <typename Build>
const Reply& remembered(const Target& t, uint16_t key, Build build) {
    auto it = t.device->replies.find(key);
    if (it == t.device->replies.end())
        it = t.device->replies.emplace(key, build()).first;
    return it->second;
}

// The SCSI commands the enclosures take.
constexpr uint8_t kInquiry = 0x12;
constexpr uint8_t kReceiveDiagnostic = 0x1C;
constexpr uint8_t kSendDiagnostic = 0x1D;
constexpr uint8_t kWriteBuffer = 0x3B;
constexpr uint8_t kReadBuffer = 0x3C;

// What a command that finds no device, and one the enclosure refuses,
// answer.
constexpr uint16_t kFwNoDevice = 0x010A;  // "Logical unit not present"
constexpr uint16_t kFwDeviceFailed = 0x0204;

// Copies a reply into the data area, at most `allocation` bytes; the rest
// of the area is zero.
inline void answer(ByteSpan data, const Bytes& reply, size_t allocation) {
    std::fill(data.begin(), data.end(), 0);
    const size_t n = std::min({reply.size(), allocation, data.size()});
    std::copy_n(reply.begin(), n, data.begin());
}

// The key of a remembered reply: the CDB opcode and the page or buffer.
inline uint16_t replyKey(uint8_t opcode, uint8_t argument = 0) {
    return static_cast<uint16_t>(opcode << 8 | argument);
}

// The SES and SAF-TE halves: one pass-through command to the device `t`
// reaches, with the CDB and the data area, answered in place.
FirmwareResult sesCommand(const Target& t, const uint8_t* cdb, ByteSpan data);
FirmwareResult safteCommandOf(const Target& t, const uint8_t* cdb, ByteSpan data);

}  // namespace emulator
