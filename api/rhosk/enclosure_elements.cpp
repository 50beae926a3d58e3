// Status, indication and control of the enclosure elements (the enclosure
// itself, fans, door locks, alarms, temperature sensors, power supplies)
// over SES (page 2 status and control) and SAF-TE (buffers 0, 1 and 5,
// WRITE BUFFER commands).
#include <algorithm>
#include <cstring>

#include "api/api.h"
#include "api/rhosk/enclosure_internal.h"
#include "api/rhosk/enclosure_services.h"

namespace enclosure {

int32_t LocateElement(const ObjectId& id, uint8_t sesType, SesElement* element) {
    uint32_t first = 0;
    uint32_t count = 0;
    if (EnclosureServices::GetTypeRange(id, sesType, &first, &count) != 0)
        return -1;
    if (EnclosureServices::ReceiveDiagnostic(id, kPageStatus, &element->page, kPageSize) != 0)
        return -1;
    uint32_t k = 0;
    if (sesType != kSesEnclosure)
        k = id[ObjectId::kLevel2] > 0 ? id[ObjectId::kDepth] : id[ObjectId::kNumber];
    // An element the configuration does not count, or one the status page
    // does not hold, does not exist: never another element's bytes.
    const uint64_t offset = ElementOffset(first, k);
    if (k >= count || !Inside(SesPageExtent(element->page), offset, kElementSize))
        return Fail(kApiElementMissing);
    element->offset = static_cast<std::size_t>(offset);
    return 0;
}

int32_t SendControlPage(const ObjectId& id, SesElement* element) {
    element->page[0] = kPageStatus;
    return EnclosureServices::SendDiagnostic(id, &element->page,
                                             static_cast<uint32_t>(SesPageExtent(element->page)));
}

int32_t ReadSafteConfig(const ObjectId& id, SafteConfig* config) {
    Page page;
    if (EnclosureServices::ReadBuffer(id, kSafteConfiguration, &page, kSafteConfigLength) != 0)
        return -1;
    config->fans = page[0];
    config->supplies = page[1];
    config->slots = page[2];
    config->doorLocks = page[3] != 0 ? 1 : 0;
    config->sensors = page[4];
    config->alarms = page[5] != 0 ? 1 : 0;
    config->celsius = (page[6] & 0x80) != 0;
    return 0;
}

}  // namespace enclosure

namespace {

using namespace enclosure;

// What the operations of one element kind share: the element number limit
// and the error of a number at or above it, the SES element type, and the
// SAF-TE count and status byte (none for power supplies, whose SAF-TE
// status is not read).
struct ElementKind {
    uint32_t limit;
    uint32_t apiError;
    uint8_t sesType;
    uint8_t SafteConfig::*safteCount;
    // A plain function rather than a pointer to a member function: g++
    // compiles a call through the latter to read a virtual table pointer
    // from the (7-byte) configuration, and warns of that read.
    std::size_t (*safteByte)(const SafteConfig&, uint32_t);
};
constexpr ElementKind kFans{16, kApiFanMissing, kSesCooling, &SafteConfig::fans,
                            [](const SafteConfig& c, uint32_t n) { return c.fanByte(n); }};
constexpr ElementKind kSupplies{16, kApiPowerSupplyMissing, kSesPowerSupply, &SafteConfig::supplies,
                                nullptr};
constexpr ElementKind kDoors{16, kApiDoorMissing, kSesDoorLock, &SafteConfig::doorLocks,
                             [](const SafteConfig& c, uint32_t n) { return c.doorByte(n); }};
constexpr ElementKind kAlarms{16, kApiAlarmMissing, kSesAlarm, &SafteConfig::alarms,
                              [](const SafteConfig& c, uint32_t n) { return c.alarmByte(n); }};
constexpr ElementKind kSensors{32, kApiTempSensorMissing, kSesTempSensor, &SafteConfig::sensors,
                               [](const SafteConfig& c, uint32_t n) { return c.sensorByte(n); }};

uint8_t NumberOf(const ObjectId& id) {
    return id[ObjectId::kNumber];
}

// The number check every element operation makes before any command.
bool NumberOk(const ObjectId& id, const ElementKind& limit) {
    return NumberOf(id) != ObjectId::kNone && NumberOf(id) < limit.limit;
}

// The SAF-TE configuration; the element number must also be below the
// enclosure's own count of the kind.
int32_t ReadSafteConfigFor(const ObjectId& id, const ElementKind& kind, SafteConfig* config) {
    if (ReadSafteConfig(id, config) != 0)
        return -1;
    const uint8_t count = config->*kind.safteCount;
    return NumberOf(id) < count && NumberOf(id) < kind.limit ? 0 : Fail(kind.apiError);
}

// The SAF-TE status byte of an element: configuration, the check of the
// number against the enclosure's count, then the status buffer.
template <typename Out>
int32_t SafteStatusByte(const ObjectId& id, const ElementKind& kind, Out* out,
                        SafteConfig* config = nullptr) {
    SafteConfig local;
    SafteConfig& c = config != nullptr ? *config : local;
    if (ReadSafteConfigFor(id, kind, &c) != 0)
        return -1;
    Page status;
    if (EnclosureServices::ReadBuffer(id, kSafteStatus, &status, kPageSize) != 0)
        return -1;
    // The counts are bytes: the offset lies inside the buffer.
    const std::size_t at = kind.safteByte(c, NumberOf(id));
    *out = at < status.size() ? status[at] : 0;
    return 0;
}

// Fans and power supplies share one reading of their status bytes.
uint8_t PartStatus(const uint8_t* s) {
    if (StatusCode(s) == kStatusNotInstalled)
        return 2;
    if (s[3] & 0x40)
        return 1;  // failed
    if (s[3] & 0x10)
        return 3;  // off
    return StatusCode(s) != kStatusOk ? 128 : 0;
}

// The cooling and alarm control writes: the masked change, the page sent,
// and the read-back that proves the enclosure carried it out.
enum class Control { Cooling, Alarm };

void ApplyMask(Control kind, uint32_t mask, const uint8_t* request, uint8_t* c) {
    const auto copyBit = [](uint8_t* to, uint8_t from, uint8_t bit) {
        *to = static_cast<uint8_t>((*to & ~bit) | (from & bit));
    };
    if (mask & 1)
        copyBit(&c[1], request[1], 0x80);
    if (mask & 2)
        copyBit(&c[3], request[3], 0x40);
    if (mask & 4)
        copyBit(&c[3], request[3], kind == Control::Cooling ? 0x20 : 0x10);
    if (mask & 8) {
        if (kind == Control::Cooling) {
            c[3] = static_cast<uint8_t>((c[3] & ~0x07) | 0x20 | (request[3] & 0x07));
        } else if (request[3] & 0x0F) {
            c[3] = static_cast<uint8_t>(c[3] | (request[3] & 0x0F));
        } else {
            c[3] = static_cast<uint8_t>(c[3] & ~0x0F);
        }
    }
}

// 0 when the element's new status shows every masked change, else the
// API error of the first one that it does not.
uint32_t CheckReadBack(Control kind, uint32_t mask, const uint8_t* request, const uint8_t* now) {
    const auto same = [&](std::size_t byte, uint8_t bit) {
        return (now[byte] & bit) == (request[byte] & bit);
    };
    if ((mask & 1) && !same(1, 0x80))
        return kApiNotSupported;
    if ((mask & 2) && !same(3, 0x40))
        return kApiNotSupported;
    if (mask & 4) {
        const bool ok = kind == Control::Cooling
                            ? same(3, 0x20) && ((now[3] & 0x10) != 0) != ((request[3] & 0x20) != 0)
                            : same(3, 0x10);
        if (!ok)
            return kApiNotSupported;
    }
    if (mask & 8) {
        if (kind == Control::Cooling && (now[3] & 0x07) != (request[3] & 0x07))
            return kApiFanSpeedRefused;
        const uint8_t tones = request[3] & 0x0F;
        if (kind == Control::Alarm && (now[3] & tones) != tones)
            return kApiAlarmToneRefused;
    }
    return 0;
}

int32_t MaskedControlWrite(Control kind, const ObjectId& id, uint32_t mask,
                           const uint8_t* request) {
    const ElementKind& elements = kind == Control::Cooling ? kFans : kAlarms;
    const uint8_t type = elements.sesType;
    SesElement element;
    if (LocateElement(id, type, &element) != 0)
        return -1;
    uint8_t* c = element.bytes();
    if (StatusCode(c) == kStatusNotInstalled)
        return Fail(elements.apiError);
    uint8_t control[kElementSize];
    std::memcpy(control, c, sizeof control);
    control[0] = static_cast<uint8_t>((control[0] & ~kDisableAndSwap) | kSelect);
    ApplyMask(kind, mask, request, control);
    // An alarm control page selects nothing but the alarm.
    if (kind == Control::Alarm)
        std::fill(element.page.begin() + kFirstElement, element.page.end(), uint8_t{0});
    std::memcpy(element.bytes(), control, sizeof control);
    if (SendControlPage(id, &element) != 0)
        return -1;

    SesElement after;
    if (LocateElement(id, type, &after) != 0)
        return -1;
    const uint32_t error = CheckReadBack(kind, mask, request, after.bytes());
    return error != 0 ? Fail(error) : 0;
}

// "Feature not supported": the SES-only operations on SAF-TE, and what the
// enclosure cannot report or do.
int32_t NotSupported() {
    return Fail(kApiNotSupported);
}

// A read of one element: the number check, then the SAF-TE answer, or the
// SES status bytes handed to `decode`.
template <typename Safte, typename Decode>
int32_t ElementRead(const ObjectId& id, const ElementKind& kind, Safte safte, Decode decode) {
    if (!NumberOk(id, kind))
        return Fail(kind.apiError);
    if (!IsSes(id))
        return safte();
    uint8_t s[kElementSize];
    if (EnclosureServices::GetElementStatus(id, kind.sesType, s) != 0)
        return -1;
    return decode(s);
}

// A status read: the SAF-TE status byte as it stands, or the SES status
// bytes handed to `decode`.
template <typename Out, typename Decode>
int32_t StatusRead(const ObjectId& id, const ElementKind& kind, Out* status, Decode decode) {
    return ElementRead(
        id, kind, [&] { return SafteStatusByte(id, kind, status); }, decode);
}

// Writes a result; 0.
template <typename Out, typename Value>
int32_t Answer(Out* out, Value value) {
    *out = static_cast<Out>(value);
    return 0;
}

// False (with `missing` recorded) for an element that is not installed.
bool Installed(const uint8_t* s, uint32_t missing) {
    if (StatusCode(s) != kStatusNotInstalled)
        return true;
    Fail(missing);
    return false;
}

// An operation that only SES elements offer, after the number check.
template <typename Ses>
int32_t SesOnly(const ObjectId& id, const ElementKind& kind, Ses ses) {
    if (!NumberOk(id, kind))
        return Fail(kind.apiError);
    if (!IsSes(id))
        return NotSupported();
    return ses();
}

// Identify of an SES element after its number check.
int32_t SetIdentify(const ObjectId& id, const ElementKind& kind, uint8_t on) {
    return SesOnly(id, kind,
                   [&] { return EnclosureServices::SetElementIdentify(id, kind.sesType, on); });
}

int32_t GetIdentify(const ObjectId& id, const ElementKind& kind, uint8_t* on) {
    return SesOnly(id, kind,
                   [&] { return EnclosureServices::GetElementIdentify(id, kind.sesType, on); });
}

// An element id list: the count from the cache (SES) or the SAF-TE
// configuration, the ids from the element builder.
template <typename List, typename Make>
int32_t IdList(const ObjectId& enclosureId, const ElementKind& kind, Make make, List* list) {
    uint8_t controller = 0;
    uint8_t number = 0;
    if (Api::ParseEnclosureId(enclosureId, &controller, &number) != 0)
        return -1;
    uint32_t count = 0;
    if (IsSes(enclosureId)) {
        if (EnclosureServices::CountElements(enclosureId, kind.sesType, &count) != 0)
            return -1;
    } else {
        SafteConfig config;
        if (ReadSafteConfig(enclosureId, &config) != 0)
            return -1;
        count = config.*kind.safteCount;
    }
    return BuildIdList(enclosureId, count, make, list);
}

constexpr std::size_t kPageListStart = 4;
// A help text longer than the page buffer holds is cut to what it holds.
constexpr uint32_t kMaxHelpText = kPageSize - 4;

}  // namespace

// --- SES element access ---

int32_t EnclosureServices::GetElementStatus(ObjectId id, uint8_t sesType, uint8_t* status) {
    SesElement element;
    if (LocateElement(id, sesType, &element) != 0)
        return -1;
    std::memcpy(status, element.bytes(), kElementSize);
    return 0;
}

int32_t EnclosureServices::SetElementIdentify(ObjectId id, uint8_t sesType, uint8_t on) {
    SesElement element;
    if (LocateElement(id, sesType, &element) != 0)
        return -1;
    uint8_t* c = element.bytes();
    c[0] |= kSelect;
    c[1] = static_cast<uint8_t>(on == 1 ? c[1] | kIdentifyBit : c[1] & ~kIdentifyBit);
    return SendControlPage(id, &element);
}

int32_t EnclosureServices::GetElementIdentify(ObjectId id, uint8_t sesType, uint8_t* on) {
    uint8_t status[kElementSize];
    if (GetElementStatus(id, sesType, status) != 0)
        return -1;
    *on = (status[1] & kIdentifyBit) != 0 ? 1 : 0;
    return 0;
}

int32_t EnclosureServices::WriteCoolingControl(ObjectId id, uint32_t mask, const uint8_t* control) {
    return MaskedControlWrite(Control::Cooling, id, mask, control);
}

int32_t EnclosureServices::WriteAlarmControl(ObjectId id, uint32_t mask, const uint8_t* control) {
    return MaskedControlWrite(Control::Alarm, id, mask, control);
}

// --- The enclosure ---

int32_t EnclosureServices::GetEnclosureStatus(ObjectId id, uint32_t* status) {
    uint32_t result = 6;  // no enclosure element
    if (!IsSes(id)) {
        *status = 1;
        return 0;
    }
    uint8_t s[kElementSize];
    if (GetElementStatus(id, kSesEnclosure, s) != 0) {
        if (ApiError::GetApiCode() != kApiElementMissing)
            return -1;
        *status = result;
        return 0;
    }
    result = StatusCode(s);
    if (result != kStatusNotInstalled) {
        if (s[2] & 0x02)
            result = 2;
        else if (s[2] & 0x01)
            result = 3;
    }
    *status = result;
    return 0;
}

int32_t EnclosureServices::GetEnclosureHelpText(ObjectId id, char* text, uint32_t* length) {
    if (!IsSes(id))
        return NotSupported();
    Page page;
    if (ReceiveDiagnostic(id, kPageSupported, &page, kPageSize) != 0)
        return -1;
    const std::size_t extent = SesPageExtent(page);
    bool listed = false;
    for (std::size_t at = kPageListStart; at < extent; ++at)
        listed = listed || page[at] == kPageHelpText;
    if (!listed)
        return NotSupported();
    if (ReceiveDiagnostic(id, kPageHelpText, &page, kPageSize) != 0)
        return -1;
    const uint32_t n = std::min<uint32_t>(GetBe16(page, 2), kMaxHelpText);
    if (*length < n) {
        *length = n;
        return Fail(kApiBufferTooSmall);
    }
    std::memcpy(text, page.data() + kPageListStart, n);
    *length = n;
    return 0;
}

int32_t EnclosureServices::IsIdentifySupported(ObjectId id, uint32_t* supported) {
    const uint8_t kind = id.kind();
    if (kind == kKindSlot || kind == kKindDrive || kind == kKindUnit) {
        *supported = 1;
        return 0;
    }
    if (!IsSes(id)) {
        *supported = 0;
        return 0;
    }
    uint8_t type = 0;
    if (!SesTypeOfKind(kind, &type))
        return NotSupported();
    uint8_t saved = 0;
    uint8_t readBack = 0;
    if (GetElementIdentify(id, type, &saved) != 0 || SetElementIdentify(id, type, 1) != 0 ||
        GetElementIdentify(id, type, &readBack) != 0 || SetElementIdentify(id, type, saved) != 0) {
        return -1;
    }
    *supported = readBack == 1 ? 1 : 0;
    return 0;
}

// --- Fans ---

int32_t EnclosureServices::GetFanIdList(ObjectId enclosureId, ObjectIdList16* list) {
    return IdList(enclosureId, kFans, Api::MakeFanId, list);
}

int32_t EnclosureServices::GetFanStatus(ObjectId id, uint8_t* status) {
    return StatusRead(id, kFans, status,
                      [&](const uint8_t* s) { return Answer(status, PartStatus(s)); });
}

int32_t EnclosureServices::GetFanSpeed(ObjectId id, uint8_t* code) {
    return ElementRead(id, kFans, NotSupported, [&](const uint8_t* s) {
        return Installed(s, kApiFanMissing) ? Answer(code, s[3] & 0x07) : -1;
    });
}

int32_t EnclosureServices::GetFanRpm(ObjectId id, uint32_t* rpm) {
    return ElementRead(id, kFans, NotSupported, [&](const uint8_t* s) {
        if (!Installed(s, kApiFanMissing))
            return -1;
        const uint32_t actual = s[2] + 256u * (s[1] & 0x07);
        // A running fan that reports no speed does not report its speed.
        if (actual == 0 && (s[3] & 0x07) != 0 && StatusCode(s) == kStatusOk)
            return NotSupported();
        return Answer(rpm, actual * 10);
    });
}

int32_t EnclosureServices::SetFanSpeed(ObjectId id, uint8_t code) {
    if (!NumberOk(id, kFans))
        return Fail(kFans.apiError);
    if (IsSes(id)) {
        if (code == 0)
            return Fail(kApiInvalidFanSpeed);
        const uint8_t control[kElementSize] = {kSelect, 0, 0, static_cast<uint8_t>(code & 0x07)};
        return WriteCoolingControl(id, 8, control);
    }
    SafteConfig config;
    if (ReadSafteConfigFor(id, kFans, &config) != 0)
        return -1;
    // SAF-TE knows four speeds: 1-3 the lowest, 4 and 5-6 the middle ones,
    // 7 the highest; 0 stops the fan.
    static constexpr uint8_t kSafteSpeed[8] = {0, 1, 1, 1, 2, 3, 3, 4};
    Page command{};
    command[0] = kSafteSetFanSpeed;
    command[1] = NumberOf(id);
    command[2] = code < 8 ? kSafteSpeed[code] : code;
    return WriteBuffer(id, &command, kPageSize);
}

int32_t EnclosureServices::SetFanIdentify(ObjectId id, uint8_t on) {
    return SetIdentify(id, kFans, on);
}

int32_t EnclosureServices::GetFanIdentify(ObjectId id, uint8_t* on) {
    return GetIdentify(id, kFans, on);
}

// --- Door locks ---

int32_t EnclosureServices::GetDoorIdList(ObjectId enclosureId, ObjectIdList16* list) {
    return IdList(enclosureId, kDoors, Api::MakeDoorId, list);
}

int32_t EnclosureServices::GetDoorLockStatus(ObjectId id, uint32_t* status) {
    return StatusRead(id, kDoors, status, [&](const uint8_t* s) {
        if (StatusCode(s) == kStatusNotInstalled)
            return Answer(status, 2);
        return Answer(status, StatusCode(s) == kStatusOk ? s[3] & 0x01 : 128);
    });
}

// --- Alarms ---

int32_t EnclosureServices::GetAlarmIdList(ObjectId enclosureId, ObjectIdList16* list) {
    return IdList(enclosureId, kAlarms, Api::MakeAlarmId, list);
}

int32_t EnclosureServices::GetAlarmStatus(ObjectId id, uint32_t* status) {
    return StatusRead(id, kAlarms, status, [&](const uint8_t* s) {
        const uint8_t code = StatusCode(s);
        const bool tones = (s[3] & 0x0F) != 0;
        if (code == kStatusNotInstalled)
            return Answer(status, 2);
        if (s[1] & 0x40)
            return Answer(status, 4);  // failed
        if (s[3] & 0x40)               // muted; 5 while an alarm condition stands
            return Answer(status, code == kStatusCritical || code == 4 || tones ? 5 : 3);
        return Answer(status, tones ? 1 : 0);
    });
}

int32_t EnclosureServices::SetAlarmIdentify(ObjectId id, uint8_t on) {
    return SetIdentify(id, kAlarms, on);
}

int32_t EnclosureServices::GetAlarmIdentify(ObjectId id, uint8_t* on) {
    return GetIdentify(id, kAlarms, on);
}

int32_t EnclosureServices::SetAlarmAudibility(ObjectId id, uint8_t audible) {
    if (!NumberOk(id, kAlarms))
        return Fail(kAlarms.apiError);
    if (IsSes(id)) {
        const uint8_t control[kElementSize] = {kSelect, 0, 0,
                                               static_cast<uint8_t>(audible != 1 ? 0x40 : 0)};
        return WriteAlarmControl(id, 2, control);
    }
    SafteConfig config;
    if (ReadSafteConfigFor(id, kAlarms, &config) != 0)
        return -1;
    return UnderManagementLock(id, [&] {
        Page flags;
        if (ReadBuffer(id, kSafteGlobalFlags, &flags, kPageSize) != 0)
            return -1;
        // The command goes in front of the three flag bytes; the rest of
        // the buffer is sent as read.
        const uint8_t first = flags[0];
        flags[3] = flags[2];
        flags[2] = flags[1];
        flags[1] = static_cast<uint8_t>(audible != 0 ? first | 0x01 : first & ~0x01);
        flags[0] = kSafteSendGlobalFlags;
        return WriteBuffer(id, &flags, kPageSize);
    });
}

int32_t EnclosureServices::GetAlarmMute(ObjectId id, uint8_t* muted) {
    return ElementRead(id, kAlarms, NotSupported, [&](const uint8_t* s) {
        return Installed(s, kApiAlarmMissing) ? Answer(muted, (s[3] & 0x40) != 0 ? 1 : 0) : -1;
    });
}

int32_t EnclosureServices::GetAlarmState(ObjectId id, uint8_t* sounding) {
    return ElementRead(id, kAlarms, NotSupported, [&](const uint8_t* s) {
        return Installed(s, kApiAlarmMissing) ? Answer(sounding, (s[3] & 0x0F) != 0 ? 1 : 0) : -1;
    });
}

int32_t EnclosureServices::SetAlarmTone(ObjectId id, uint8_t tone) {
    return SesOnly(id, kAlarms, [&] {
        const uint8_t control[kElementSize] = {kSelect, 0, 0, static_cast<uint8_t>(tone & 0x0F)};
        return WriteAlarmControl(id, 8, control);
    });
}

// --- Temperature sensors ---

int32_t EnclosureServices::GetTempSensorIdList(ObjectId enclosureId, ObjectIdList32* list) {
    return IdList(enclosureId, kSensors, Api::MakeTempSensorId, list);
}

int32_t EnclosureServices::GetTempSensorStatus(ObjectId id, uint8_t* status) {
    return ElementRead(
        id, kSensors, [&] { return Answer(status, 0); },
        [&](const uint8_t* s) {
            const uint8_t code = StatusCode(s);
            if (code == kStatusNotInstalled)
                return Answer(status, 2);
            if (code == kStatusOk)
                return Answer(status, 0);
            return Answer(status, code == kStatusCritical || (s[3] & 0x0F) != 0 ? 1 : 128);
        });
}

int32_t EnclosureServices::GetTempSensorThresholdFlags(ObjectId id, uint8_t* flags) {
    return ElementRead(id, kSensors, NotSupported, [&](const uint8_t* s) {
        return Installed(s, kApiTempSensorMissing) ? Answer(flags, s[3] & 0x0F) : -1;
    });
}

int32_t EnclosureServices::GetTemperature(ObjectId id, int32_t* celsius) {
    const auto safte = [&] {
        SafteConfig config;
        uint8_t value = 0;
        if (SafteStatusByte(id, kSensors, &value, &config) != 0)
            return -1;
        int32_t t = int32_t{value} - 10;
        if (!config.celsius)
            t = (t - 32) * 5 / 9;
        return Answer(celsius, t);
    };
    return ElementRead(id, kSensors, safte, [&](const uint8_t* s) {
        const uint8_t code = StatusCode(s);
        if (code == kStatusNotInstalled)
            return Fail(kApiTempSensorMissing);
        if (code == kStatusUnsupported || code > kStatusNotInstalled)
            return Fail(kApiTemperatureUnknown);
        if (s[2] == 0)
            return Fail(kApiInvalidTemperature);
        return Answer(celsius, int32_t{s[2]} - 20);
    });
}

int32_t EnclosureServices::SetTempSensorIdentify(ObjectId id, uint8_t on) {
    return SetIdentify(id, kSensors, on);
}

int32_t EnclosureServices::GetTempSensorIdentify(ObjectId id, uint8_t* on) {
    return GetIdentify(id, kSensors, on);
}

// --- Power supplies ---

int32_t EnclosureServices::GetPowerSupplyIdList(ObjectId enclosureId, ObjectIdList16* list) {
    return IdList(enclosureId, kSupplies, Api::MakePowerSupplyId, list);
}

int32_t EnclosureServices::GetPowerSupplyStatus(ObjectId id, uint8_t* status) {
    return ElementRead(
        id, kSupplies, [&] { return Answer(status, 0); },
        [&](const uint8_t* s) { return Answer(status, PartStatus(s)); });
}

int32_t EnclosureServices::GetPowerSupplyVoltageCurrent(ObjectId id, uint8_t* condition) {
    return ElementRead(id, kSupplies, NotSupported, [&](const uint8_t* s) {
        return Installed(s, kApiPowerSupplyMissing) ? Answer(condition, s[2] & 0x0E) : -1;
    });
}

int32_t EnclosureServices::SetPowerSupplyIdentify(ObjectId id, uint8_t on) {
    return SetIdentify(id, kSupplies, on);
}

int32_t EnclosureServices::GetPowerSupplyIdentify(ObjectId id, uint8_t* on) {
    return GetIdentify(id, kSupplies, on);
}
