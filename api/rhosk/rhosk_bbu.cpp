// The newer family's battery backup unit operations: the enabled flag, the
// status word and its gates, the BBU's identity texts and the battery test
// command, as operations of RhoskFamily.
#include "api/rhosk/rhosk_bbu.h"

#include "api/api_codes.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/device_io.h"
#include "api/driver.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_family.h"
#include "api/rhosk/rhosk_params.h"

namespace {

using namespace rhosk_bbu;

using rhosk_tables::kBbuTable;

constexpr uint16_t kStatusWordParam = 2;
constexpr uint16_t kSerialParam = 3;
constexpr uint16_t kFirmwareParam = 4;
constexpr uint16_t kBootloaderParam = 5;
constexpr uint16_t kPcbParam = 6;
constexpr uint16_t kInfoParam = 7;
constexpr uint16_t kInstallDateParam = 8;
constexpr uint16_t kLastTestDateParam = 9;
constexpr uint16_t kBackupHoursParam = 10;
constexpr uint16_t kEnabledParam = 64;
constexpr uint16_t kStatusParam = 65;

constexpr uint8_t kBatteryTestOpcode = 0x1E;

// The status word with the gate applied: `need` holds the bits that must be
// set (bit 31 alone, or bits 31 and 30).
int32_t GatedWord(ObjectId controller, uint32_t need, uint32_t* word) {
    uint32_t value = 0;
    if (RhoskFamily::GetBbuStatusWord(controller, &value) != 0)
        return -1;
    if ((need & kBbuPresentBit) != 0 && (value & kBbuPresentBit) == 0)
        return ApiError::Fail(kApiNoBbu);
    if ((need & kBatteryPresentBit) != 0 && (value & kBatteryPresentBit) == 0)
        return ApiError::Fail(kApiNoBattery);
    *word = value;
    return 0;
}

constexpr uint32_t kGateNone = 0;
constexpr uint32_t kGateBbu = kBbuPresentBit;
constexpr uint32_t kGateBattery = kBbuPresentBit | kBatteryPresentBit;

int32_t Gate(ObjectId controller, uint32_t need) {
    uint32_t word = 0;
    return GatedWord(controller, need, &word);
}

// The gate of the BBU's identity: IsBbuPresent must answer 1.
int32_t GatePresent(ObjectId controller) {
    uint32_t present = 0;
    if (RhoskFamily::IsBbuPresent(controller, &present) != 0)
        return -1;
    return present == 1 ? 0 : ApiError::Fail(kApiNoBbu);
}

int32_t GateBattery(ObjectId controller) {
    return Gate(controller, kGateBattery);
}

using GateCheck = int32_t (*)(ObjectId controller);

// A text parameter read as it stands (zero-filled, not trimmed), once
// `gate` lets it be read.
int32_t ReadGatedText(ObjectId controller, GateCheck gate, uint16_t parameter, int32_t size,
                      char* text, std::size_t textSize) {
    if (gate(controller) != 0)
        return -1;
    return rhosk::ReadText(controller, kBbuTable, parameter, size, text, textSize, false);
}

// A one-byte parameter, once `gate` lets it be read.
int32_t ReadGatedByte(ObjectId controller, GateCheck gate, uint16_t parameter, uint32_t* value) {
    if (gate(controller) != 0)
        return -1;
    return rhosk::ReadInto(controller, kBbuTable, parameter, 1, value);
}

// What the status word says, once the gate `need` lets it be read: the
// answer `derive` makes of the word.
template <typename Answer, typename Derive>
int32_t FromStatusWord(ObjectId controller, uint32_t need, Answer* answer, Derive derive) {
    uint32_t word = 0;
    if (GatedWord(controller, need, &word) != 0)
        return -1;
    *answer = derive(word);
    return 0;
}

}  // namespace

int32_t RhoskFamily::IsBbuEnabled(ObjectId controller, uint32_t* enabled) {
    return rhosk::ReadInto(controller, kBbuTable, kEnabledParam, 1, enabled);
}

int32_t RhoskFamily::EnableBbu(ObjectId controller) {
    return rhosk::WriteValue(controller, kBbuTable, kEnabledParam, 1, 1);
}

int32_t RhoskFamily::DisableBbu(ObjectId controller) {
    return rhosk::WriteValue(controller, kBbuTable, kEnabledParam, 1, 0);
}

int32_t RhoskFamily::GetBbuStatusWord(ObjectId controller, uint32_t* word) {
    uint32_t enabled = 0;
    if (IsBbuEnabled(controller, &enabled) != 0)
        return -1;
    if (enabled == 0)
        return ApiError::Fail(kApiBbuDisabled);
    // A failed read of the word itself counts as "no BBU": the operation
    // succeeds with 0 and the error record keeps the read's error.
    uint32_t value = 0;
    (void)rhosk::ReadInto(controller, kBbuTable, kStatusWordParam, 4, &value);
    *word = value;
    return 0;
}

int32_t RhoskFamily::IsBbuPresent(ObjectId controller, uint32_t* present) {
    return FromStatusWord(controller, kGateNone, present,
                          [](uint32_t word) { return (word & kBbuPresentBit) != 0 ? 1u : 0u; });
}

int32_t RhoskFamily::IsBatteryPresent(ObjectId controller, uint32_t* present) {
    return FromStatusWord(controller, kGateBbu, present,
                          [](uint32_t word) { return (word & kBatteryPresentBit) != 0 ? 1u : 0u; });
}

int32_t RhoskFamily::GetBbuReady(ObjectId controller, uint32_t* ready) {
    return FromStatusWord(controller, kGateBbu, ready,
                          [](uint32_t word) { return (word & kReadyBit) != 0 ? kReadyValue : 0u; });
}

int32_t RhoskFamily::GetBatteryVoltageStatus(ObjectId controller, int32_t* level) {
    return FromStatusWord(controller, kGateBattery, level,
                          [](uint32_t word) { return LevelOf(word, kVoltageShift); });
}

int32_t RhoskFamily::GetBatteryTemperatureStatus(ObjectId controller, int32_t* level) {
    return FromStatusWord(controller, kGateBattery, level,
                          [](uint32_t word) { return LevelOf(word, kTemperatureShift); });
}

int32_t RhoskFamily::GetBbuSerial(ObjectId controller, char* text) {
    return ReadGatedText(controller, GatePresent, kSerialParam, 20, text, kBbuTextSize);
}

int32_t RhoskFamily::GetBbuFirmwareVersion(ObjectId controller, char* text) {
    return ReadGatedText(controller, GatePresent, kFirmwareParam, 16, text, kBbuTextSize);
}

int32_t RhoskFamily::GetBbuBootloaderVersion(ObjectId controller, char* text) {
    return ReadGatedText(controller, GatePresent, kBootloaderParam, 16, text, kBbuTextSize);
}

int32_t RhoskFamily::GetBbuPcbRevision(ObjectId controller, uint32_t* revision) {
    return ReadGatedByte(controller, GatePresent, kPcbParam, revision);
}

int32_t RhoskFamily::GetBbuInfoText(ObjectId controller, char* text) {
    return ReadGatedText(controller, GatePresent, kInfoParam, 32, text, kBbuInfoTextSize);
}

int32_t RhoskFamily::GetBatteryInstallDate(ObjectId controller, char* text) {
    return ReadGatedText(controller, GateBattery, kInstallDateParam, 12, text, kBbuDateTextSize);
}

int32_t RhoskFamily::GetLastCapacityTestDate(ObjectId controller, char* text) {
    return ReadGatedText(controller, GateBattery, kLastTestDateParam, 12, text, kBbuDateTextSize);
}

int32_t RhoskFamily::GetEstimatedBackupCapacity(ObjectId controller, uint32_t* hours) {
    return ReadGatedByte(controller, GateBattery, kBackupHoursParam, hours);
}

int32_t RhoskFamily::GetBbuStatus(ObjectId controller, int32_t* status) {
    if (Gate(controller, kGateBbu) != 0)
        return -1;
    uint32_t value = 0;
    if (rhosk::ReadInto(controller, kBbuTable, kStatusParam, 1, &value) != 0)
        return -1;
    *status = StatusOf(value);
    return 0;
}

int32_t RhoskFamily::StartBbuBatteryTest(ObjectId controller) {
    if (Gate(controller, kGateBattery) != 0)
        return -1;
    DeviceIo::ControllerHandle device(controller.controllerId());
    if (!device.ok())
        return -1;
    FirmwareCommandBuffer command{};
    uint8_t* packet = command.packet();
    packet[FirmwareCommandBuffer::kOpcode] = kBatteryTestOpcode;
    packet[FirmwareCommandBuffer::kCommandSize] = 2;
    bytes::PutU16(packet, FirmwareCommandBuffer::packetSize(), FirmwareCommandBuffer::kField6, 1);
    RhoskRequest request{};
    request.kind = kRequestFirmwareCommand;
    return DeviceIo::SendRhoskRequest(device.handle(), &request, &command, nullptr, 0, 0, 0xFF);
}
