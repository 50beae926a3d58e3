#include "emulator/enclosure_model.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "emulator/controller_codes.h"
#include "emulator/controller_model.h"
#include "emulator/faults.h"
#include "emulator/fields.h"

namespace emulator {

using nlohmann::json;

namespace {

// ---------------------------------------------------------------------------
// Reading the description: a field of the wrong type reads as its default.

int64_t num(const json& o, std::string_view key, int64_t fallback) {
    return numberField(o, key, fallback);
}

bool flag(const json& o, std::string_view key, bool fallback) {
    return flagField(o, key, fallback);
}

std::string text(const json& o, std::string_view key, const std::string& fallback) {
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

uint8_t clampByte(int64_t v) {
    return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, 255));
}

// A status given by name or number.
struct Name {
    const char* name;
    int64_t code;
};
constexpr Name kSesStatus[] = {{"unsupported", 0},   {"ok", 1},
                               {"critical", 2},      {"noncritical", 3},
                               {"unrecoverable", 4}, {"not_installed", 5},
                               {"unknown", 6},       {"not_available", 7}};
constexpr Name kSafteStatus[] = {{"ok", 0}, {"failed", 1}, {"not_installed", 2}, {"unknown", 0x80}};

template <size_t N>
int64_t coded(const json& o, std::string_view key, const Name (&names)[N], int64_t fallback) {
    const json* node = member(o, key);
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
void putPadded(Bytes& b, size_t offset, size_t width, const std::string& s) {
    for (size_t i = 0; i < width && offset + i < b.size(); ++i)
        b[offset + i] = i < s.size() ? static_cast<uint8_t>(s[i]) : ' ';
}

void putBe16(Bytes& b, size_t offset, size_t value) {
    put8(b, offset, (value >> 8) & 0xFF);
    put8(b, offset + 1, value & 0xFF);
}

uint32_t getBe(const uint8_t* p, size_t width) {
    uint32_t v = 0;
    for (size_t i = 0; i < width; ++i)
        v = v << 8 | p[i];
    return v;
}

// ---------------------------------------------------------------------------
// Element lists: a number of default elements, or an array of objects.

size_t countOf(const json& sub, const char* list) {
    const json* node = member(sub, list);
    if (node == nullptr)
        return 0;
    if (node->is_array())
        return std::min<size_t>(node->size(), 255);
    return static_cast<size_t>(clampByte(numberValue(*node, 0)));
}

// The list `list` of `sub` when it is given as an array; null otherwise.
const json* elementArray(const json& sub, const char* list) {
    const json* node = member(sub, list);
    return node != nullptr && node->is_array() ? node : nullptr;
}

// Element `i` of an element array (null: none given); an empty object
// when the array has no object there.
const json& elementAt(const json* array, size_t i) {
    static const json empty = json::object();
    if (array == nullptr || i >= array->size() || !(*array)[i].is_object())
        return empty;
    return (*array)[i];
}

const json& elementOf(const json& sub, const char* list, size_t i) {
    return elementAt(elementArray(sub, list), i);
}

// The element as an object that a control can change (a list given as a
// number becomes a list of empty objects first).
json& mutableElement(json& sub, const char* list, size_t i) {
    json& node = sub[list];
    if (!node.is_array()) {
        const size_t n = static_cast<size_t>(clampByte(num(sub, list, 0)));
        node = json::array();
        for (size_t k = 0; k < n; ++k)
            node.push_back(json::object());
    }
    while (node.size() <= i)
        node.push_back(json::object());
    if (!node[i].is_object())
        node[i] = json::object();
    return node[i];
}

// ---------------------------------------------------------------------------
// SES element classes and the page layout.

enum class Cls { Enclosure, Device, Cooling, PowerSupply, TempSensor, DoorLock, Alarm, Other };

struct ClassDef {
    Cls cls;
    const char* list;
    uint8_t sesType;
};

constexpr ClassDef kClasses[] = {
    {Cls::Enclosure, "enclosure", 14},
    {Cls::Device, "slots", 23},
    {Cls::Cooling, "fans", 3},
    {Cls::PowerSupply, "power_supplies", 2},
    {Cls::TempSensor, "temp_sensors", 4},
    {Cls::DoorLock, "door_locks", 5},
    {Cls::Alarm, "alarms", 6},
    {Cls::Other, "voltage_sensors", 18},
    {Cls::Other, "expanders", 24},
};

constexpr uint8_t kArrayDevice = 23;

// One type descriptor header of page 1 and its elements in page 2.
struct Header {
    const ClassDef* def;  // null: a type the model keeps no elements of
    uint8_t type;
    size_t first;  // index of its first element in the class's list
    size_t count;
};

const ClassDef* classByList(const std::string& list) {
    for (const ClassDef& c : kClasses) {
        if (list == c.list)
            return &c;
    }
    return nullptr;
}

size_t elementsOfClass(const json& sub, const ClassDef& c) {
    if (c.cls == Cls::Enclosure) {
        const json* node = member(sub, "enclosure");
        return node != nullptr && node->is_boolean() && !node->get<bool>() ? 0 : 1;
    }
    return countOf(sub, c.list);
}

uint8_t typeOf(const json& sub, const ClassDef& c) {
    return c.cls == Cls::Device ? clampByte(num(sub, "slot_type", kArrayDevice)) : c.sesType;
}

// The headers of a sub-enclosure: "layout" when given, else one header per
// class that has elements.
std::vector<Header> layoutOf(const json& sub) {
    std::vector<Header> headers;
    const json* layout = member(sub, "layout");
    if (layout != nullptr && layout->is_array()) {
        size_t taken[std::size(kClasses)] = {};
        for (const json& h : *layout) {
            const size_t count = static_cast<size_t>(clampByte(num(h, "count", 0)));
            const ClassDef* def = classByList(text(h, "type", ""));
            if (def == nullptr) {
                headers.push_back({nullptr, clampByte(num(h, "type", 0)), 0, count});
                continue;
            }
            size_t& next = taken[def - kClasses];
            headers.push_back({def, typeOf(sub, *def), next, count});
            next += count;
        }
    } else {
        for (const ClassDef& c : kClasses) {
            const size_t count = elementsOfClass(sub, c);
            if (count > 0)
                headers.push_back({&c, typeOf(sub, c), 0, count});
        }
    }
    if (headers.size() > 255)
        headers.resize(255);
    return headers;
}

// Where the sub-enclosure sits: its enclosure's port, the controller's
// drives and the running number of its first slot.
struct Place {
    int64_t port;
    size_t slotBase;
    // The port of the drive in each slot of the enclosure, by slot (the
    // first description of a slot counts); kSlotNotSeen where none is.
    std::vector<int64_t> slotDrives;
};

// The drives of the enclosure behind `port`, by slot, from the places the
// controller model noted once for its version of the controller.
constexpr int64_t kSlotNotSeen = INT64_MIN;
constexpr int64_t kSlotsMapped = 65536;
std::vector<int64_t> drivesBySlot(const ControllerModel& model, int64_t port) {
    std::vector<int64_t> bySlot;
    for (const ControllerModel::DrivePlace& d : model.drivePlaces()) {
        if (d.enclosure != port || d.slot < 0 || d.slot >= kSlotsMapped)
            continue;
        const auto at = static_cast<size_t>(d.slot);
        if (bySlot.size() <= at)
            bySlot.resize(at + 1, kSlotNotSeen);
        if (bySlot[at] == kSlotNotSeen)
            bySlot[at] = d.port;
    }
    return bySlot;
}

// The port of the drive in slot `slot` of the place's enclosure; -1 when
// the slot is empty.
int64_t driveInSlot(const Place& place, size_t slot) {
    if (slot >= place.slotDrives.size() || place.slotDrives[slot] == kSlotNotSeen)
        return -1;
    return place.slotDrives[slot];
}

uint8_t identifyBit(const json& e) {
    return flag(e, "identify", false) ? 0x80 : 0;
}

// The 4 status bytes of one element.
void elementStatus(Cls cls, const json& e, const Place& place, size_t index, uint8_t* s) {
    std::memset(s, 0, 4);
    int64_t code = 1;
    switch (cls) {
        case Cls::Enclosure:
            s[1] = identifyBit(e);
            s[2] = static_cast<uint8_t>((flag(e, "failure", false) ? 0x02 : 0) |
                                        (flag(e, "warning", false) ? 0x01 : 0));
            break;
        case Cls::Device: {
            const bool occupied = driveInSlot(place, place.slotBase + index) >= 0;
            code = occupied ? 1 : 5;
            s[2] = static_cast<uint8_t>((flag(e, "insert", !occupied) ? 0x08 : 0) |
                                        (flag(e, "remove", false) ? 0x04 : 0) |
                                        (flag(e, "identify", false) ? 0x02 : 0));
            break;
        }
        case Cls::Cooling: {
            const bool off = flag(e, "off", false);
            const int64_t speed = off ? 0 : std::clamp<int64_t>(num(e, "speed", 3), 0, 7);
            const int64_t rpm = off ? 0 : num(e, "rpm", speed * 1000);
            const int64_t field = std::clamp<int64_t>(rpm / 10, 0, 0x7FF);
            s[1] = static_cast<uint8_t>(identifyBit(e) | ((field >> 8) & 0x07));
            s[2] = static_cast<uint8_t>(field & 0xFF);
            s[3] = static_cast<uint8_t>((flag(e, "fail", false) ? 0x40 : 0) | (off ? 0x10 : 0x20) |
                                        speed);
            break;
        }
        case Cls::PowerSupply: {
            const bool off = flag(e, "off", false);
            s[1] = identifyBit(e);
            s[2] = static_cast<uint8_t>((flag(e, "over_voltage", false) ? 0x08 : 0) |
                                        (flag(e, "under_voltage", false) ? 0x04 : 0) |
                                        (flag(e, "over_current", false) ? 0x02 : 0));
            s[3] = static_cast<uint8_t>((flag(e, "fail", false) ? 0x40 : 0) | (off ? 0x10 : 0x20));
            break;
        }
        case Cls::TempSensor: {
            // A sensor without a reading reports the reserved value 0.
            const json* t = member(e, "temperature");
            const int64_t celsius = t != nullptr ? numberValue(*t, 30) : 30;
            s[1] = identifyBit(e);
            s[2] = t != nullptr && t->is_null() ? 0 : clampByte(celsius + 20);
            s[3] = static_cast<uint8_t>(num(e, "thresholds", 0) & 0x0F);
            break;
        }
        case Cls::DoorLock:
            s[1] = identifyBit(e);
            s[3] = flag(e, "locked", true) ? 0x01 : 0;
            break;
        case Cls::Alarm:
            s[1] = static_cast<uint8_t>(identifyBit(e) | (flag(e, "fail", false) ? 0x40 : 0));
            s[3] = static_cast<uint8_t>((flag(e, "muted", false) ? 0x40 : 0) |
                                        (flag(e, "remind", false) ? 0x10 : 0) |
                                        (num(e, "tones", 0) & 0x0F));
            break;
        case Cls::Other:
            break;
    }
    s[0] = static_cast<uint8_t>(coded(e, "status", kSesStatus, code) & 0x0F);
}

// Sets `key` of the object `e` to `value` when it differs; true when it did.
template <typename T>
bool assign(json& e, std::string_view key, const T& value) {
    json* field = member(e, key);
    if (field == nullptr) {
        e.emplace(key, value);
        return true;
    }
    if (*field == json(value))
        return false;
    *field = value;
    return true;
}

// Carries out one selected control element; true when the element changed.
bool applyControl(Cls cls, json& e, const uint8_t* c) {
    bool changed = false;
    if (cls != Cls::Device && cls != Cls::Other)
        changed |= assign(e, "identify", (c[1] & 0x80) != 0);
    switch (cls) {
        case Cls::Enclosure:
            changed |= assign(e, "failure", (c[2] & 0x02) != 0);
            changed |= assign(e, "warning", (c[2] & 0x01) != 0);
            break;
        case Cls::Device:
            changed |= assign(e, "identify", (c[2] & 0x02) != 0);
            break;
        case Cls::Cooling: {
            changed |= assign(e, "fail", (c[3] & 0x40) != 0);
            const bool on = (c[3] & 0x20) != 0;
            changed |= assign(e, "off", !on);
            const int64_t wanted = c[3] & 0x07;
            bool supported = wanted != 0;
            if (const json* speeds = member(e, "speeds"); speeds != nullptr && speeds->is_array())
                supported =
                    std::find(speeds->begin(), speeds->end(), json(wanted)) != speeds->end();
            // A fan runs at the speed asked for when it supports it; the
            // speed it reports then follows from the code.
            if (on && supported && num(e, "speed", 3) != wanted) {
                e["speed"] = wanted;
                e.erase("rpm");
                changed = true;
            }
            break;
        }
        case Cls::PowerSupply:
            changed |= assign(e, "fail", (c[3] & 0x40) != 0);
            changed |= assign(e, "off", (c[3] & 0x20) == 0);
            break;
        case Cls::DoorLock:
            changed |= assign(e, "locked", (c[3] & 0x01) != 0);
            break;
        case Cls::Alarm:
            changed |= assign(e, "fail", (c[1] & 0x40) != 0);
            changed |= assign(e, "muted", (c[3] & 0x40) != 0);
            changed |= assign(e, "remind", (c[3] & 0x10) != 0);
            changed |= assign(e, "tones", (c[3] & 0x0F) & num(e, "tones_supported", 0x0F));
            break;
        case Cls::TempSensor:
        case Cls::Other:
            break;
    }
    return changed;
}

// ---------------------------------------------------------------------------
// The addressed enclosure.

uint8_t protocolOf(const json& ctl) {
    const json* encl = member(ctl, "enclosures");
    const json* p = encl != nullptr ? member(*encl, "protocol") : nullptr;
    if (p != nullptr && p->is_string())
        return p->get_ref<const std::string&>() == "safte" ? 0 : 1;
    return p != nullptr ? static_cast<uint8_t>(numberValue(*p, 1) & 0xFF) : 1;
}

constexpr uint8_t kSes = 1;
constexpr uint8_t kTargetBase = 0x40;

// The enclosure list of `ctl` (json or const json); null when none is given.
template <typename Json>
Json* enclosureList(Json& ctl) {
    Json* encl = member(ctl, "enclosures");
    Json* list = encl != nullptr ? member(*encl, "list") : nullptr;
    return list != nullptr && list->is_array() ? list : nullptr;
}

bool hasSubEnclosures(const json& encl) {
    const json* subs = member(encl, "sub_enclosures");
    return subs != nullptr && subs->is_array() && !subs->empty();
}

int64_t modeOf(const json& encl) {
    return num(encl, "mode", hasSubEnclosures(encl) ? 1 : 2);
}

// A reply of a device: its bytes, or the controller code of a refusal.
struct Reply {
    uint16_t code = 0;
    Bytes bytes;
};

// Where the sub-enclosure of an addressed device is described.
constexpr int64_t kNoSub = -1;           // the LUN has none
constexpr int64_t kWholeEnclosure = -2;  // the enclosure is its own

}  // namespace

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

namespace {

using Device = EnclosureAnswers::Device;

// The sub-enclosure of an SES enclosure that `lun` addresses, and the
// running number of its first slot.
void findSubEnclosure(const json& encl, uint8_t lun, Device* d) {
    if (!hasSubEnclosures(encl)) {
        if (lun == 0)
            d->sub = kWholeEnclosure;
        return;
    }
    if (modeOf(encl) != 1 && lun > 0)
        return;
    const json& subs = encl.at("sub_enclosures");
    for (size_t s = 0; s < subs.size(); ++s) {
        if (s == lun) {
            d->sub = static_cast<int64_t>(s);
            return;
        }
        d->place.slotBase += countOf(subs[s], "slots");
    }
}

// Where the device at `target` and `lun` is described; not found when no
// enclosure answers there.
Device locate(const ControllerModel& model, uint8_t target, uint8_t lun) {
    const json& ctl = model.json();
    Device d;
    d.ses = protocolOf(ctl) == kSes;
    const int64_t port = d.ses ? int64_t{target} - kTargetBase : lun;
    const json* list = enclosureList(ctl);
    if (list == nullptr || target < kTargetBase || (!d.ses && target != kTargetBase))
        return d;
    const auto encl = std::find_if(list->begin(), list->end(), [&](const json& e) {
        return e.is_object() && num(e, "port", -1) == port;
    });
    if (encl == list->end())
        return d;
    d.found = true;
    d.enclosure = static_cast<size_t>(encl - list->begin());
    d.place = {port, 0, drivesBySlot(model, port)};
    if (d.ses)
        findSubEnclosure(*encl, lun, &d);
    else
        d.sub = kWholeEnclosure;
    return d;
}

// What a pass-through command reaches.
struct Target {
    json* enclosure = nullptr;
    json* sub = nullptr;  // SES: the sub-enclosure of the LUN; null when the LUN has none
    Device* device = nullptr;

    [[nodiscard]] bool ses() const { return device->ses; }
    [[nodiscard]] const Place& place() const { return device->place; }
};

// The description of a device that was found.
Target targetOf(json& ctl, Device& d) {
    Target t;
    t.device = &d;
    t.enclosure = &(*enclosureList(ctl))[d.enclosure];
    if (d.sub == kWholeEnclosure)
        t.sub = t.enclosure;
    else if (d.sub >= 0)
        t.sub = &(*member(*t.enclosure, "sub_enclosures"))[static_cast<size_t>(d.sub)];
    return t;
}

// The reply `key` of the target's device, built by `build` the first time
// it is asked for in this version.
template <typename Build>
const Reply& remembered(const Target& t, uint16_t key, Build build) {
    auto it = t.device->replies.find(key);
    if (it == t.device->replies.end())
        it = t.device->replies.emplace(key, build()).first;
    return it->second;
}

// The layout of the target's sub-enclosure.
const std::vector<Header>& headersOf(const Target& t) {
    if (!t.device->headers)
        t.device->headers = layoutOf(*t.sub);
    return *t.device->headers;
}

// A text of the sub-enclosure, else of its enclosure, else `fallback`.
std::string identity(const Target& t, const char* key, const std::string& fallback) {
    return text(*t.sub, key, text(*t.enclosure, key, fallback));
}

// ---------------------------------------------------------------------------
// SES pages.

constexpr size_t kElementsStart = 8;

Bytes sesInquiry(const Target& t) {
    Bytes b(96, 0);
    if (t.sub == nullptr) {
        b[0] = 0x7F;  // no device on this LUN
        return b;
    }
    b[0] = 0x0D;  // enclosure services device
    b[2] = 5;
    b[3] = 2;
    b[4] = static_cast<uint8_t>(b.size() - 5);
    b[6] = 0x40;  // EncServ
    putPadded(b, 8, 8, identity(t, "vendor", "KIVRA"));
    putPadded(b, 16, 16, identity(t, "product", "KV-ENCL-SES"));
    putPadded(b, 32, 4, identity(t, "revision", "0100"));
    const std::string alt = identity(t, "inquiry_revision", "");
    if (!alt.empty())
        putPadded(b, 37, 4, alt);
    return b;
}

Bytes supportedPages(const Target& t) {
    Bytes b(4, 0);
    for (uint8_t page : {0, 1, 2})
        b.push_back(page);
    if (member(*t.sub, "help") != nullptr)
        b.push_back(3);
    putBe16(b, 2, b.size() - 4);
    return b;
}

Bytes configurationPage(const Target& t, const std::vector<Header>& headers) {
    constexpr size_t kDescriptorLength = 36;  // bytes 4-39 of the enclosure descriptor
    Bytes b(kElementsStart + 4 + kDescriptorLength, 0);
    b[0] = 1;
    b[8] = 0x11;  // one enclosure services process, this one
    b[10] = static_cast<uint8_t>(headers.size());
    b[11] = kDescriptorLength;
    const int64_t fallback = static_cast<int64_t>(0x500D9F0000000000ull) | t.place().port << 8;
    const uint64_t logical =
        static_cast<uint64_t>(num(*t.sub, "logical_id", num(*t.enclosure, "logical_id", fallback)));
    for (size_t i = 0; i < 8; ++i)
        b[12 + i] = static_cast<uint8_t>(logical >> (8 * (7 - i)));
    putPadded(b, 20, 8, identity(t, "vendor", "KIVRA"));
    putPadded(b, 28, 16, identity(t, "product", "KV-ENCL-SES"));
    putPadded(b, 44, 4, identity(t, "revision", "0100"));
    for (const Header& h : headers) {
        b.push_back(h.type);
        b.push_back(static_cast<uint8_t>(h.count));
        b.push_back(0);  // sub-enclosure identifier
        b.push_back(0);  // no type descriptor text
    }
    putBe16(b, 2, b.size() - 4);
    return b;
}

// The sub-enclosure's own element (type 14): "enclosure" when it is an object.
const json& enclosureElement(const json& sub) {
    static const json empty = json::object();
    const json* e = member(sub, "enclosure");
    return e != nullptr && e->is_object() ? *e : empty;
}

Bytes statusPage(const Target& t, const std::vector<Header>& headers) {
    Bytes b(kElementsStart, 0);
    b[0] = 2;
    for (const Header& h : headers) {
        b.insert(b.end(), 4, 0);  // the overall element
        const json* elements = h.def != nullptr ? elementArray(*t.sub, h.def->list) : nullptr;
        for (size_t i = 0; i < h.count; ++i) {
            uint8_t s[4] = {};
            if (h.def != nullptr) {
                const json& e = h.def->cls == Cls::Enclosure ? enclosureElement(*t.sub)
                                                             : elementAt(elements, h.first + i);
                elementStatus(h.def->cls, e, t.place(), h.first + i, s);
            }
            b.insert(b.end(), s, s + 4);
        }
    }
    putBe16(b, 2, b.size() - 4);
    return b;
}

Bytes helpPage(const Target& t) {
    const std::string help = text(*t.sub, "help", "");
    Bytes b(4 + help.size(), 0);
    b[0] = 3;
    std::copy(help.begin(), help.end(), b.begin() + 4);
    putBe16(b, 2, std::min<size_t>(help.size(), 0xFFFF));
    return b;
}

// The element a control page position stands for.
json& controlledElement(json& sub, const Header& h, size_t i) {
    if (h.def->cls == Cls::Enclosure) {
        json& e = sub["enclosure"];
        if (!e.is_object())
            e = json::object();
        return e;
    }
    return mutableElement(sub, h.def->list, h.first + i);
}

// Carries out the selected elements of a control page of `length` bytes
// laid out by `headers`.
bool applyControlPage(json& sub, const std::vector<Header>& headers, const uint8_t* page,
                      size_t length) {
    bool changed = false;
    size_t at = kElementsStart;
    for (const Header& h : headers) {
        at += 4;  // the overall element
        for (size_t i = 0; i < h.count; ++i, at += 4) {
            if (at + 4 > length)
                return changed;
            if (h.def != nullptr && (page[at] & 0x80) != 0)
                changed |= applyControl(h.def->cls, controlledElement(sub, h, i), page + at);
        }
    }
    return changed;
}

// ---------------------------------------------------------------------------
// SAF-TE buffers and commands.

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

// ---------------------------------------------------------------------------
// The commands.

constexpr uint8_t kInquiry = 0x12;
constexpr uint8_t kReceiveDiagnostic = 0x1C;
constexpr uint8_t kSendDiagnostic = 0x1D;
constexpr uint8_t kWriteBuffer = 0x3B;
constexpr uint8_t kReadBuffer = 0x3C;

// What a command that finds no device, and one the enclosure refuses,
// answer.
constexpr uint16_t kFwNoDevice = 0x010A;  // "Logical unit not present"
constexpr uint16_t kFwDeviceFailed = 0x0204;

struct CommandName {
    uint8_t opcode;
    const char* name;
};
constexpr CommandName kCommandNames[] = {{kInquiry, "inquiry"},
                                         {kReceiveDiagnostic, "receive_diagnostic"},
                                         {kSendDiagnostic, "send_diagnostic"},
                                         {kReadBuffer, "read_buffer"},
                                         {kWriteBuffer, "write_buffer"}};

// The page, buffer or command a CDB concerns; -1 for INQUIRY.
int64_t argumentOf(const uint8_t* cdb, ConstByteSpan data) {
    switch (cdb[0]) {
        case kReceiveDiagnostic:
        case kReadBuffer:
            return cdb[2];
        case kSendDiagnostic:
        case kWriteBuffer:
            return get8(data, 0);
        default:
            return -1;
    }
}

// True when the enclosure's (or the sub-enclosure's) "fail" list names the
// command: "read_buffer" fails every READ BUFFER, "read_buffer 5" only that
// of buffer 5.
bool refuses(const Target& t, const uint8_t* cdb, ConstByteSpan data) {
    const char* name = nullptr;
    for (const CommandName& c : kCommandNames) {
        if (c.opcode == cdb[0])
            name = c.name;
    }
    if (name == nullptr)
        return false;
    for (const json* owner :
         {static_cast<const json*>(t.enclosure), static_cast<const json*>(t.sub)}) {
        const json* fail = owner != nullptr ? member(*owner, "fail") : nullptr;
        if (fail == nullptr || !fail->is_array())
            continue;
        for (const json& entry : *fail) {
            if (!entry.is_string())
                continue;
            const std::string s = entry.get<std::string>();
            const size_t blank = s.find(' ');
            if (s.substr(0, blank) != name)
                continue;
            if (blank == std::string::npos ||
                std::strtoll(s.c_str() + blank + 1, nullptr, 0) == argumentOf(cdb, data)) {
                return true;
            }
        }
    }
    return false;
}

// Copies a reply into the data area, at most `allocation` bytes; the rest
// of the area is zero.
void answer(ByteSpan data, const Bytes& reply, size_t allocation) {
    std::fill(data.begin(), data.end(), 0);
    const size_t n = std::min({reply.size(), allocation, data.size()});
    std::copy_n(reply.begin(), n, data.begin());
}

// A faulty enclosure may answer another page than the one asked for, or
// declare another length than the page has.
void applyPageQuirks(const json& sub, uint8_t code, Bytes& page) {
    const std::string key = std::to_string(code);
    if (const json* quirk = member(sub, "answer_page"))
        page[0] = clampByte(num(*quirk, key.c_str(), page[0]));
    if (const json* quirk = member(sub, "page_length")) {
        const int64_t declared = num(*quirk, key.c_str(), -1);
        if (declared >= 0)
            putBe16(page, 2, static_cast<size_t>(std::min<int64_t>(declared, 0xFFFF)));
    }
}

// Diagnostic page `code` as the target's sub-enclosure answers it, or the
// refusal of a page it does not have.
Reply diagnosticPage(const Target& t, uint8_t code) {
    Reply page;
    switch (code) {
        case 0:
            page.bytes = supportedPages(t);
            break;
        case 1:
            page.bytes = configurationPage(t, headersOf(t));
            break;
        case 2:
            page.bytes = statusPage(t, headersOf(t));
            break;
        case 3:
            if (member(*t.sub, "help") == nullptr)
                return {kFwInvalidField, {}};
            page.bytes = helpPage(t);
            break;
        default:
            return {kFwInvalidField, {}};
    }
    applyPageQuirks(*t.sub, code, page.bytes);
    return page;
}

// The key of a remembered reply: the CDB opcode and the page or buffer.
uint16_t replyKey(uint8_t opcode, uint8_t argument = 0) {
    return static_cast<uint16_t>(opcode << 8 | argument);
}

FirmwareResult sesCommand(const Target& t, const uint8_t* cdb, ByteSpan data) {
    FirmwareResult r;
    if (cdb[0] == kInquiry) {
        const Reply& inquiry = remembered(t, replyKey(kInquiry), [&] {
            return Reply{0, sesInquiry(t)};
        });
        answer(data, inquiry.bytes, cdb[4]);
        return r;
    }
    if (t.sub == nullptr) {
        r.code = kFwNoDevice;
        return r;
    }
    switch (cdb[0]) {
        case kReceiveDiagnostic: {
            const Reply& page =
                remembered(t, replyKey(cdb[0], cdb[2]), [&] { return diagnosticPage(t, cdb[2]); });
            r.code = page.code;
            if (page.code == 0)
                answer(data, page.bytes, getBe(cdb + 3, 2));
            return r;
        }
        case kSendDiagnostic: {
            const size_t length = getBe(cdb + 3, 2);
            if (length > data.size() || length < 4 ||
                size_t{get8(data, 2)} * 256 + get8(data, 3) + 4 > length) {
                r.code = kFwParamListLength;
                return r;
            }
            if (get8(data, 0) != 2) {
                r.code = kFwInvalidField;
                return r;
            }
            if (!flag(*t.sub, "ignore_control", false))
                r.changed = applyControlPage(*t.sub, headersOf(t), data.data(), length);
            return r;
        }
        default:
            r.code = kFwInvalidField;
            return r;
    }
}

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

// The pass-through command's fields in the packet.
constexpr size_t kTarget = kCmdHeaderSize + 1;
constexpr size_t kLunField = kCmdHeaderSize + 2;
constexpr size_t kCdb = kCmdHeaderSize + 8;
constexpr size_t kCdbSize = 16;

void cdbOf(ConstByteSpan command, uint8_t* cdb) {
    for (size_t i = 0; i < kCdbSize; ++i)
        cdb[i] = get8(command, kCdb + i);
}

}  // namespace

FirmwareResult executeScsiPassThrough(json& ctl, const ControllerModel& model, ByteSpan command,
                                      ByteSpan data) {
    uint8_t cdb[kCdbSize];
    cdbOf(command, cdb);
    Device& device = model.enclosureAnswers().device(
        model, get8(command, kTarget), static_cast<uint8_t>(get16(command, kLunField) >> 12));
    if (!device.found) {
        FirmwareResult r;
        r.code = kFwNoDevice;
        return r;
    }
    const Target t = targetOf(ctl, device);
    if (refuses(t, cdb, data)) {
        FirmwareResult r;
        r.code = kFwDeviceFailed;
        return r;
    }
    FirmwareResult r = t.ses() ? sesCommand(t, cdb, data) : safteCommandOf(t, cdb, data);
    r.elementsOnly = true;
    return r;
}

EnclosureAnswers::EnclosureAnswers() = default;
EnclosureAnswers::~EnclosureAnswers() = default;

EnclosureAnswers::Device& EnclosureAnswers::device(const ControllerModel& model, uint8_t target,
                                                   uint8_t lun) {
    std::unique_ptr<Device>& d = devices_[static_cast<uint16_t>(target << 4 | lun)];
    if (!d)
        d = std::make_unique<Device>(locate(model, target, lun));
    return *d;
}

bool scsiCommandReads(uint8_t cdbOpcode) {
    return cdbOpcode == kInquiry || cdbOpcode == kReceiveDiagnostic || cdbOpcode == kReadBuffer;
}

void describeScsiPassThrough(ConstByteSpan command, ConstByteSpan data, json& record) {
    uint8_t cdb[kCdbSize];
    cdbOf(command, cdb);
    record["scsi"] = cdb[0];
    record["target"] = get8(command, kTarget);
    record["lun"] = get16(command, kLunField) >> 12;
    switch (cdb[0]) {
        case kReceiveDiagnostic:
        case kSendDiagnostic:
            record["page"] = argumentOf(cdb, data);
            record["length"] = getBe(cdb + 3, 2);
            break;
        case kReadBuffer:
        case kWriteBuffer:
            record["buffer"] = argumentOf(cdb, data);
            record["length"] = getBe(cdb + 6, 3);
            break;
        default:
            break;
    }
}

void deriveEnclosureProtocol(const ControllerModel& model, const json*, Bytes& out) {
    const json& ctl = model.json();
    put8(out, 0, protocolOf(ctl));
}

void deriveEnclosureModes(const ControllerModel& model, const json*, Bytes& out) {
    const json& ctl = model.json();
    const json* encl = member(ctl, "enclosures");
    const json* modes = encl != nullptr ? member(*encl, "ses_modes") : nullptr;
    if (modes != nullptr && modes->is_array()) {
        for (size_t i = 0; i < modes->size() && i < out.size(); ++i)
            out[i] = (*modes)[i].is_number() ? clampByte((*modes)[i].get<int64_t>()) : 0;
        return;
    }
    const json* list = encl != nullptr ? member(*encl, "list") : nullptr;
    if (protocolOf(ctl) != kSes || list == nullptr || !list->is_array())
        return;
    for (const json& e : *list) {
        const int64_t port = num(e, "port", -1);
        if (port >= 0 && static_cast<size_t>(port) < out.size())
            out[static_cast<size_t>(port)] = clampByte(modeOf(e));
    }
}

}  // namespace emulator
