// The newer family's enclosure services: the storage enclosures behind a
// newer-family controller, reached through SCSI commands that the
// controller passes through to them (SES or SAF-TE). Enclosures are found
// by probing the controller's ports; each SES enclosure's configuration is
// kept in the process-wide enclosure cache, and every status, indication
// and control operation on an element reads the enclosure afresh.
//
// Every operation returns 0 on success and -1 after filling the library's
// error record (the probe and the cache fill answer 1 found / 0 not found).
// Every reply from an enclosure is read through one bounded view: a field
// that does not lie inside what the enclosure returned is never read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "api/object_id.h"

namespace enclosure {

// The API errors (library message table) the enclosure services record.
enum ApiCode : uint32_t {
    kApiFanMissing = 97,           // "Fan does not exist"
    kApiDoorMissing = 98,          // "Door lock does not exist"
    kApiAlarmMissing = 99,         // "Alarm does not exist"
    kApiSlotMissing = 100,         // "Drive slot does not exist"
    kApiTempSensorMissing = 111,   // "temperature sensor does not exist"
    kApiPowerSupplyMissing = 118,  // "power supply does not exist"
    kApiInvalidTemperature = 121,  // "Temperature sensor reported invalid temperature value"
    kApiInvalidFanSpeed = 124,     // "Invalid fan speed"
    kApiTemperatureUnknown = 125,  // "Temperature sensor status unknown"
    kApiWrongPageCode = 126,       // "Return data error, is not a requested page code"
    kApiElementMissing = 127,      // "Enclosure element does not exist"
    kApiFanSpeedRefused = 128,     // "Requested fan speed setting or the feature not supported"
    kApiEnclosureMissing = 130,    // "Enclosure does not exist"
    kApiAlarmToneRefused = 132,    // "Requested alarm tone urgency not supported. ..."
};

// Enclosure protocols (EnclosureDiscoveryTable parameter 2, id byte 7).
constexpr uint8_t kProtocolSafte = 0;
constexpr uint8_t kProtocolSes = 1;

// SES addressing modes of a port (EnclosureDiscoveryTable parameter 4).
constexpr uint8_t kModeMultiLun = 1;  // one sub-enclosure per LUN 0-7
constexpr uint8_t kModeSingle = 2;    // LUN 0 only, one sub-enclosure

// SES element types the services know.
constexpr uint8_t kSesDevice = 1;
constexpr uint8_t kSesPowerSupply = 2;
constexpr uint8_t kSesCooling = 3;
constexpr uint8_t kSesTempSensor = 4;
constexpr uint8_t kSesDoorLock = 5;
constexpr uint8_t kSesAlarm = 6;
constexpr uint8_t kSesEnclosure = 14;
constexpr uint8_t kSesVoltageSensor = 18;
constexpr uint8_t kSesArrayDevice = 23;
constexpr uint8_t kSesExpander = 24;

// Every page and buffer an enclosure answers is read into (and every
// control page sent from) a buffer of this size.
constexpr std::size_t kPageSize = 2048;
using Page = std::array<uint8_t, kPageSize>;

// The enclosures of a controller are numbered by the port (0-15) behind
// which they answer; an SES enclosure has up to 8 sub-enclosures (LUNs).
constexpr uint8_t kMaxEnclosures = 16;
constexpr std::size_t kMaxSubEnclosures = 8;
// One cache entry for every enclosure number of every controller number.
constexpr std::size_t kCacheEntries = 16 * kMaxEnclosures;

// The element counts of a sub-enclosure, one per counted element class.
enum TypeSlot : std::size_t {
    kSlotDevice,  // SES types 1 and 23
    kSlotCooling,
    kSlotTempSensor,
    kSlotPowerSupply,
    kSlotDoorLock,
    kSlotAlarm,
    kSlotEnclosure,
    kSlotVoltageSensor,
    kSlotExpander,
    kTypeSlots
};

// The count slot of an SES element type; false for a type not counted.
bool TypeSlotOf(uint8_t sesType, std::size_t* slot);

}  // namespace enclosure

// One sub-enclosure (LUN) of an SES enclosure, as its configuration page
// describes it.
struct SubEnclosureDescriptor {
    uint8_t address;  // id byte 4: 0x40 + enclosure number
    uint8_t lun;
    uint8_t logicalId[8];
    char vendorId[8];  // not terminated
    char productId[16];
    char productRevision[4];
    char altRevision[4];  // INQUIRY bytes 37-40, vendor "AMI     " only
    uint32_t typeHeaderCount;
    uint8_t counts[enclosure::kTypeSlots];
    uint32_t firstIndex[enclosure::kTypeSlots];  // the type's overall element in pages 1 and 2
};

// The cached configuration of one SES enclosure.
struct EnclosureCacheEntry {
    static constexpr uint8_t kValid = 0x01;

    uint32_t index;  // controller x 16 + enclosure number
    uint8_t flags;
    uint8_t sesMode;
    uint8_t protocol;
    uint8_t subEnclosureCount;  // 1 to 8 in a valid entry
    SubEnclosureDescriptor descriptors[enclosure::kMaxSubEnclosures];

    bool valid() const { return (flags & kValid) != 0; }
    // The descriptor of sub-enclosure `s`; null past the ones in use.
    const SubEnclosureDescriptor* descriptor(uint8_t s) const {
        return valid() && s < subEnclosureCount && s < enclosure::kMaxSubEnclosures
                   ? &descriptors[s]
                   : nullptr;
    }
};

// The process-wide enclosure cache. It lives as long as the process, is
// filled by enclosure enumeration and never cleared otherwise (the reset
// is for tests).
class EnclosureCache {
  public:
    // The entry of the enclosure an id names (byte 1 controller, byte 4
    // 0x40 + enclosure number); null when the id names none.
    EnclosureCacheEntry* entry(const ObjectId& id);
    // The entry of a controller and enclosure number; null when out of range.
    EnclosureCacheEntry* entry(uint8_t controller, uint8_t enclosureNumber);
    // Forgets every entry.
    void reset();

  private:
    EnclosureCacheEntry entries_[enclosure::kCacheEntries];
};

EnclosureCache& TheEnclosureCache();

// The enclosure services of the newer family (families 6, 7 and 8; the
// port/slot mapping also serves family 4).
class EnclosureServices {
  public:
    using Page = enclosure::Page;

    // --- Discovery, cache and identity (api/rhosk/enclosure_discovery.cpp) ---
    // Probes ports 0-15 and lists the enclosures found (entries past the
    // count 0xFF); refills the cache entry of every enclosure found.
    [[nodiscard]] static int32_t GetEnclosureIdList(ObjectId controller, ObjectIdList16* list);
    [[nodiscard]] static int32_t GetEnclosureProtocol(ObjectId controller, uint8_t* protocol);
    // The SES addressing mode of each port (32 bytes).
    [[nodiscard]] static int32_t GetDiscoveryModes(ObjectId controller, uint8_t* modes /*32*/);
    // 1 when an enclosure answers behind `port`; lunCount gets the SES
    // sub-enclosure count of a mode-1 port.
    static int32_t ProbePort(ObjectId controller, uint8_t port, uint8_t protocol, uint8_t mode,
                             uint32_t* lunCount);
    // Refills the cache entry of an SES enclosure; 1 when it became valid.
    // The id's byte 5 becomes the last sub-enclosure read.
    static int32_t FillCacheEntry(ObjectId* enclosureId, uint32_t lunCount);
    [[nodiscard]] static int32_t ParseConfigurationPage(ObjectId enclosureId,
                                                        SubEnclosureDescriptor* descriptor);
    // Fills bytes 3 and 5 of an SES element id from its running number.
    [[nodiscard]] static int32_t ResolveElementId(ObjectId* element);
    [[nodiscard]] static int32_t GetTypeRange(ObjectId id, uint8_t sesType, uint32_t* firstIndex,
                                              uint32_t* count);
    [[nodiscard]] static int32_t CountElements(ObjectId id, uint8_t sesType, uint32_t* count);
    // SES only; on SAF-TE they succeed and leave the text untouched.
    [[nodiscard]] static int32_t GetEnclosureVendor(ObjectId enclosureId, char* text /*9*/);
    [[nodiscard]] static int32_t GetEnclosureProductId(ObjectId enclosureId, char* text /*17*/);
    [[nodiscard]] static int32_t GetEnclosureProductRevision(ObjectId enclosureId,
                                                             char* text /*5*/);

    // --- SCSI pass-through (api/rhosk/enclosure_scsi.cpp) ---
    // One CDB through the controller; the CDB area of the command comes
    // back into `cdb` whatever the outcome. `length` is at most kPageSize.
    [[nodiscard]] static int32_t SendScsiCommand(ObjectId id, uint8_t* cdb /*16*/, Page* buffer,
                                                 uint32_t length, uint8_t lun);
    [[nodiscard]] static int32_t ScsiInquiry(ObjectId id, Page* buffer, uint32_t length,
                                             uint8_t lun);
    [[nodiscard]] static int32_t ReadBuffer(ObjectId id, uint8_t bufferId, Page* buffer,
                                            uint32_t length);
    [[nodiscard]] static int32_t WriteBuffer(ObjectId id, Page* buffer, uint32_t length);
    // API error 126 when the reply is not the page asked for.
    [[nodiscard]] static int32_t ReceiveDiagnostic(ObjectId id, uint8_t pageCode, Page* buffer,
                                                   uint32_t length);
    [[nodiscard]] static int32_t SendDiagnostic(ObjectId id, Page* buffer, uint32_t length);

    // --- Element operations (api/rhosk/enclosure_elements.cpp) ---
    [[nodiscard]] static int32_t GetElementStatus(ObjectId id, uint8_t sesType,
                                                  uint8_t* status /*4*/);
    [[nodiscard]] static int32_t SetElementIdentify(ObjectId id, uint8_t sesType, uint8_t on);
    [[nodiscard]] static int32_t GetElementIdentify(ObjectId id, uint8_t sesType, uint8_t* on);
    [[nodiscard]] static int32_t WriteCoolingControl(ObjectId id, uint32_t mask,
                                                     const uint8_t* control /*4*/);
    [[nodiscard]] static int32_t WriteAlarmControl(ObjectId id, uint32_t mask,
                                                   const uint8_t* control /*4*/);

    [[nodiscard]] static int32_t GetEnclosureStatus(ObjectId id, uint32_t* status);
    // `length` in: the buffer's size; out: the text's length.
    [[nodiscard]] static int32_t GetEnclosureHelpText(ObjectId id, char* text, uint32_t* length);
    [[nodiscard]] static int32_t IsIdentifySupported(ObjectId id, uint32_t* supported);

    [[nodiscard]] static int32_t GetFanIdList(ObjectId enclosureId, ObjectIdList16* list);
    [[nodiscard]] static int32_t GetFanStatus(ObjectId id, uint8_t* status);
    [[nodiscard]] static int32_t GetFanSpeed(ObjectId id, uint8_t* code);
    [[nodiscard]] static int32_t GetFanRpm(ObjectId id, uint32_t* rpm);
    [[nodiscard]] static int32_t SetFanSpeed(ObjectId id, uint8_t code);
    [[nodiscard]] static int32_t SetFanIdentify(ObjectId id, uint8_t on);
    [[nodiscard]] static int32_t GetFanIdentify(ObjectId id, uint8_t* on);

    [[nodiscard]] static int32_t GetDoorIdList(ObjectId enclosureId, ObjectIdList16* list);
    [[nodiscard]] static int32_t GetDoorLockStatus(ObjectId id, uint32_t* status);

    [[nodiscard]] static int32_t GetAlarmIdList(ObjectId enclosureId, ObjectIdList16* list);
    [[nodiscard]] static int32_t GetAlarmStatus(ObjectId id, uint32_t* status);
    [[nodiscard]] static int32_t SetAlarmIdentify(ObjectId id, uint8_t on);
    [[nodiscard]] static int32_t GetAlarmIdentify(ObjectId id, uint8_t* on);
    // Audible 1 unmutes, 0 mutes.
    [[nodiscard]] static int32_t SetAlarmAudibility(ObjectId id, uint8_t audible);
    [[nodiscard]] static int32_t GetAlarmMute(ObjectId id, uint8_t* muted);
    [[nodiscard]] static int32_t GetAlarmState(ObjectId id, uint8_t* sounding);
    // Tone bits 0-3; 0 silences.
    [[nodiscard]] static int32_t SetAlarmTone(ObjectId id, uint8_t tone);

    [[nodiscard]] static int32_t GetTempSensorIdList(ObjectId enclosureId, ObjectIdList32* list);
    [[nodiscard]] static int32_t GetTempSensorStatus(ObjectId id, uint8_t* status);
    [[nodiscard]] static int32_t GetTempSensorThresholdFlags(ObjectId id, uint8_t* flags);
    [[nodiscard]] static int32_t GetTemperature(ObjectId id, int32_t* celsius);
    [[nodiscard]] static int32_t SetTempSensorIdentify(ObjectId id, uint8_t on);
    [[nodiscard]] static int32_t GetTempSensorIdentify(ObjectId id, uint8_t* on);

    [[nodiscard]] static int32_t GetPowerSupplyIdList(ObjectId enclosureId, ObjectIdList16* list);
    [[nodiscard]] static int32_t GetPowerSupplyStatus(ObjectId id, uint8_t* status);
    [[nodiscard]] static int32_t GetPowerSupplyVoltageCurrent(ObjectId id, uint8_t* condition);
    [[nodiscard]] static int32_t SetPowerSupplyIdentify(ObjectId id, uint8_t on);
    [[nodiscard]] static int32_t GetPowerSupplyIdentify(ObjectId id, uint8_t* on);

    // --- Drive slots and the port/slot mapping (api/rhosk/enclosure_slots.cpp) ---
    [[nodiscard]] static int32_t GetSlotIdList(ObjectId enclosureId, ObjectIdList128* list);
    // Flags: 1 device present, 2 empty, 4 occupied, 8 device OK.
    [[nodiscard]] static int32_t GetSlotStatus(ObjectId id, uint32_t* flags);
    [[nodiscard]] static int32_t GetSlotIdentify(ObjectId id, uint8_t* on);
    [[nodiscard]] static int32_t SetSlotIdentify(ObjectId id, uint8_t on);
    [[nodiscard]] static int32_t ReadDeviceElement(ObjectId id, uint8_t* status /*4*/);
    [[nodiscard]] static int32_t WriteDeviceControl(ObjectId id, uint32_t mask,
                                                    const uint8_t* control /*4*/);
    // The slot of a port's drive. On SAF-TE a port that no enclosure lists
    // gives success and a slot id whose bytes 2-7 are 0xFF.
    [[nodiscard]] static int32_t GetPortSlotId(ObjectId port, ObjectId* slot);
    [[nodiscard]] static int32_t GetSlotPortId(ObjectId slot, ObjectId* port);
};
