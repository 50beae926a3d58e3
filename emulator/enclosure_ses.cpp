// The SES half of the enclosure model: the element classes and the page
// layout, the pages a sub-enclosure answers and the control page it takes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "emulator/controller_codes.h"
#include "emulator/enclosure_device.h"

namespace emulator {

using nlohmann::json;

namespace {

// ---------------------------------------------------------------------------
// SES element classes and the page layout.

constexpr Name kSesStatus[] = {{"unsupported", 0},   {"ok", 1},
                               {"critical", 2},      {"noncritical", 3},
                               {"unrecoverable", 4}, {"not_installed", 5},
                               {"unknown", 6},       {"not_available", 7}};

void putBe16(Bytes& b, size_t offset, size_t value) {
    put8(b, offset, (value >> 8) & 0xFF);
    put8(b, offset + 1, value & 0xFF);
}

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

}  // namespace

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

}  // namespace emulator
