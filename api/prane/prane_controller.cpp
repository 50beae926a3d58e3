// The older family's controller, drive and event operations: identity
// texts and counts, drive queries and lists, the one task rate, the driver
// version, commit, media scan, error log, firmware download, the event
// read and SMART data through the ATA pass-through.
#include <cstdio>
#include <cstring>
#include <vector>

#include "api/api.h"
#include "api/api_messages.h"
#include "api/bytes.h"
#include "api/prane/prane_internal.h"

namespace prane {

int32_t Read(ObjectId id, uint16_t table, uint8_t parameter, int32_t size, void* buffer,
             uint8_t hostByte) {
    return PraneFamily::GetParam(id.controllerId(), table, parameter, size, buffer, hostByte);
}

int32_t Write(ObjectId id, uint16_t table, uint8_t parameter, int32_t size, const void* buffer) {
    return PraneFamily::SetParam(id.controllerId(), table, parameter, size, buffer, 0);
}

int32_t SendSimple(ObjectId id, uint8_t opcode, uint8_t sizeWords, uint8_t byte3, uint8_t byte6,
                   uint8_t byte7) {
    PraneCommand packet = PraneFamily::MakeCommand(opcode, sizeWords);
    packet.bytes[PraneCommand::kUnit] = byte3;
    packet.bytes[PraneCommand::kField6] = byte6;
    packet.bytes[PraneCommand::kField6 + 1] = byte7;
    return PraneFamily::SendCommand(id, &packet, nullptr, 0);
}

int32_t MakeUnit(uint8_t controller, uint8_t unit, uint8_t level2, uint8_t level3, ObjectId* id) {
    return Api::MakeUnitId(controller, ObjectId::kNone, unit, level2, level3, id);
}

}  // namespace prane

namespace {

using namespace prane;

constexpr size_t kLongText = kModelTextSize;     // controller and drive model
constexpr size_t kShortText = kVersionTextSize;  // the other texts
constexpr int32_t kEventDataSize = 2;
constexpr size_t kErrorLogSize = 32768;
constexpr int32_t kNoSectorsLength = 131072;

// The task rate codes of RateTable parameters 3 and 4, rates 1 to 5.
struct RateCodes {
    uint8_t first;
    uint8_t second;
};
constexpr RateCodes kRateCodes[] = {{3, 15}, {8, 17}, {16, 25}, {25, 35}, {40, 40}};

// A text parameter into the caller's buffer of `bufferSize` bytes: zeroed,
// read and trimmed (also after a failed read).
int32_t ReadText(ObjectId id, uint16_t table, uint8_t parameter, int32_t size, char* text,
                 size_t bufferSize) {
    std::memset(text, 0, bufferSize);
    const int32_t result = Read(id, table, parameter, size, text);
    text[bufferSize - 1] = '\0';
    ApiUtil::TrimWhitespace(text);
    return result;
}

int32_t ReadInfoText(ObjectId id, uint8_t parameter, int32_t size, char* text, size_t bufferSize) {
    return ReadText(id, prane_param::kControllerInfoTable, parameter, size, text, bufferSize);
}

uint16_t DriveTable(ObjectId drive) {
    return static_cast<uint16_t>(prane_param::kDriveTableBase + PortOf(drive));
}

int32_t ReadDriveText(ObjectId drive, uint8_t parameter, int32_t size, char* text,
                      size_t bufferSize) {
    return ReadText(drive, DriveTable(drive), parameter, size, text, bufferSize);
}

}  // namespace

// --- Identity and counts ---

int32_t PraneFamily::GetControllerModel(ObjectId id, char* text) {
    return ReadInfoText(id, 8, 16, text, kLongText);
}
int32_t PraneFamily::GetControllerSerial(ObjectId id, char* text) {
    return ReadInfoText(id, 9, prane_param::kSerialSize, text, kShortText);
}
int32_t PraneFamily::GetPcbVersion(ObjectId id, char* text) {
    return ReadInfoText(id, 5, 8, text, kShortText);
}
int32_t PraneFamily::GetAchipVersion(ObjectId id, char* text) {
    return ReadInfoText(id, 6, 8, text, kShortText);
}
int32_t PraneFamily::GetPchipVersion(ObjectId id, char* text) {
    return ReadInfoText(id, 7, 8, text, kShortText);
}
int32_t PraneFamily::GetControllerFirmwareVersion(ObjectId id, char* text) {
    return ReadInfoText(id, 3, 16, text, kShortText);
}
int32_t PraneFamily::GetBiosVersion(ObjectId id, char* text) {
    return ReadInfoText(id, 4, 16, text, kShortText);
}
int32_t PraneFamily::GetBootLoaderVersion(ObjectId id, char* text) {
    return ReadInfoText(id, 2, 16, text, kShortText);
}

int32_t PraneFamily::GetAvailableMemory(ObjectId id, uint32_t* bytes) {
    return Read(id, prane_param::kControllerInfoTable, 10, 4, bytes);
}

int32_t PraneFamily::GetNumPorts(ObjectId id, uint32_t* ports) {
    *ports = 0;
    uint8_t count = 0;
    if (Read(id, prane_param::kControllerSettingsTable, 3, 1, &count) != 0)
        return -1;
    *ports = count;
    return 0;
}

int32_t PraneFamily::GetNumDrives(ObjectId id, uint32_t* count) {
    *count = 0;
    uint16_t drives = 0;
    if (Read(id, prane_param::kPortSummaryTable, 2, 2, &drives) != 0)
        return -1;
    *count = drives;
    return 0;
}

// --- Drives ---

int32_t PraneFamily::GetDriveCapacity(ObjectId id, uint64_t* sectors) {
    *sectors = 0;
    uint32_t blocks = 0;
    if (Read(id, DriveTable(id), 2, 4, &blocks) != 0)
        return -1;
    *sectors = blocks;
    return 0;
}
int32_t PraneFamily::GetDriveModel(ObjectId id, char* text) {
    return ReadDriveText(id, 3, 40, text, kLongText);
}
int32_t PraneFamily::GetDriveSerial(ObjectId id, char* text) {
    return ReadDriveText(id, 4, 20, text, kShortText);
}
int32_t PraneFamily::GetDriveFirmwareVersion(ObjectId id, char* text) {
    return ReadDriveText(id, 14, 8, text, kShortText);
}

int32_t PraneFamily::GetDriveStatus(ObjectId id, uint8_t* status) {
    const uint8_t port = PortOf(id);
    if (port == ObjectId::kNone) {
        *status = kDriveNone;
        return 0;
    }
    uint8_t ports[128] = {};
    if (Read(id, prane_param::kPortSummaryTable, 3, prane_param::kMaxPorts, ports) != 0)
        return -1;
    *status = port < sizeof ports ? ports[port] : 0;
    return 0;
}

int32_t PraneFamily::IsDrivePresent(ObjectId controller, uint8_t port) {
    ObjectId drive;
    if (Api::MakeDriveId(controller.controller(), port, &drive) != 0)
        return 0;
    uint8_t status = kDriveNone;
    if (GetDriveStatus(drive, &status) != 0)
        return 1;  // a drive that cannot be asked is taken as there
    return status != kDriveNone && status != kDriveOfflineJbod ? 1 : 0;
}

int32_t PraneFamily::GetDriveIdList(ObjectId id, ObjectIdList128* list) {
    std::memset(list->ids, 0xFF, sizeof list->ids);
    list->count = 0;
    for (uint8_t port = 0; port < prane_param::kMaxPorts; ++port) {
        ObjectId drive;
        if (IsDrivePresent(id, port) && Api::MakeDriveId(id.controller(), port, &drive) == 0)
            list->ids[list->count++] = drive;
    }
    return 0;
}

int32_t PraneFamily::GetPortIdList(ObjectId id, ObjectIdList128* list) {
    std::memset(list->ids, 0xFF, sizeof list->ids);
    list->count = 0;
    uint32_t ports = 0;
    if (GetNumPorts(id, &ports) != 0)
        return -1;
    for (uint32_t port = 0; port < ports && port < ObjectIdList128::kCapacity; ++port) {
        ObjectId each;
        if (Api::MakePortId(id.controller(), static_cast<uint8_t>(port), &each) == 0)
            list->ids[list->count++] = each;
    }
    return 0;
}

// --- Task rate ---

int32_t PraneFamily::GetRebuildRate(ObjectId id, uint32_t* rate) {
    uint8_t first = 0;
    uint8_t second = 0;
    if (Read(id, prane_param::kRateTable, 3, 1, &first) != 0 ||
        Read(id, prane_param::kRateTable, 4, 1, &second) != 0) {
        return -1;
    }
    *rate = 0xFFFFFFFFu;
    for (uint32_t n = 0; n < sizeof kRateCodes / sizeof kRateCodes[0]; ++n) {
        if (kRateCodes[n].second == second)
            *rate = n + 1;
    }
    return 0;
}

int32_t PraneFamily::SetRebuildRate(ObjectId id, const uint32_t* rate) {
    if (*rate < 1 || *rate > 5)
        return ApiError::Fail(kApiInvalidTaskRate);
    const RateCodes& codes = kRateCodes[*rate - 1];
    if (Write(id, prane_param::kRateTable, 3, 1, &codes.first) != 0)
        return -1;
    return Write(id, prane_param::kRateTable, 4, 1, &codes.second);
}

// --- Controller commands ---

int32_t PraneFamily::GetDriverVersion(ObjectId id, char* text) {
    PraneCommand packet = MakeCommand(prane_opcode::kDriverVersion, 0);
    packet.bytes[PraneCommand::kByte2] = 1;
    if (SendCommand(id, &packet, nullptr, 0) != 0)
        return -1;
    const size_t n = sizeof packet.bytes;
    char version[kDriverVersionTextSize] = {};
    std::snprintf(version, sizeof version, "%d.%d.%d.%d", bytes::GetU16(packet.bytes, n, 40),
                  bytes::GetU16(packet.bytes, n, 42), bytes::GetU16(packet.bytes, n, 44),
                  bytes::GetU16(packet.bytes, n, 46));
    std::memcpy(text, version, sizeof version);
    return 0;
}

int32_t PraneFamily::CommitTransactions(ObjectId id) {
    PraneCommand packet = MakeCommand(prane_opcode::kCommit, 0);
    packet.bytes[PraneCommand::kByte2] = 0x67;
    return SendCommand(id, &packet, nullptr, 0);
}

namespace {
int32_t MediaScan(ObjectId id, uint8_t start) {
    PraneCommand packet = PraneFamily::MakeCommand(prane_opcode::kMediaScan, 2);
    packet.bytes[PraneCommand::kByte5] = 4;
    packet.bytes[PraneCommand::kField6] = start;
    return PraneFamily::SendCommand(id, &packet, nullptr, 0);
}
}  // namespace

int32_t PraneFamily::StartMediaScan(ObjectId id) {
    return MediaScan(id, 1);
}

int32_t PraneFamily::StopMediaScan(ObjectId id) {
    return MediaScan(id, 0);
}

int32_t PraneFamily::GetControllerErrorLog(ObjectId id, uint8_t* log) {
    PraneCommand packet = MakeCommand(prane_opcode::kReadErrorLog, 2);
    bytes::PutU16(packet.bytes, sizeof packet.bytes, PraneCommand::kField6, 2);
    return SendCommand(id, &packet, log, static_cast<int32_t>(kErrorLogSize));
}

int32_t PraneFamily::DownloadFirmwareImage(ObjectId id, const uint8_t* image, uint32_t size) {
    // An image must fit the packet's signed length and hold something.
    if (image == nullptr || size == 0 || size > 0x7FFFFFFFu)
        return ApiError::Fail(kApiInvalidArgumentValue);
    PraneCommand packet = MakeCommand(prane_opcode::kFirmwareImage, 2);
    bytes::PutU16(packet.bytes, sizeof packet.bytes, PraneCommand::kField6, 8);
    std::vector<uint8_t> copy(image, image + size);
    return SendCommand(id, &packet, copy.data(), static_cast<int32_t>(size));
}

// --- Events ---

int32_t PraneFamily::GetFirstAen(ObjectId id, uint8_t* record) {
    uint8_t event[prane_event::kRecordSize] = {};
    PraneCommand packet = MakeCommand(prane_opcode::kReadNextEvent, 4);
    uint8_t data[kEventDataSize] = {};
    if (SendCommand(id, &packet, data, kEventDataSize) != 0)
        return -1;
    const uint16_t word = bytes::GetU16(packet.bytes, sizeof packet.bytes, 8);
    const uint16_t code = word & 0xFF;
    const int parameter = word >> 8;
    bytes::PutU16(event, sizeof event, prane_event::kCode, code);

    const char* text = theApiMessages.LookupMessage(kSourcePraneEvent, code, "", 0);
    const char* rest = text;
    if (text[0] != '\0') {
        event[prane_event::kSeverity] = static_cast<uint8_t>(text[0] - '0');
        rest = text + 1;
    }
    char* message = reinterpret_cast<char*>(event + prane_event::kMessageText);
    bytes::CopyText(message, prane_event::kMessageTextSize, rest);
    const size_t length = std::strlen(message);
    if (length > 0 && message[length - 1] == '#') {
        char number[8];
        std::snprintf(number, sizeof number, "%d", parameter);
        bytes::AppendText(message, prane_event::kMessageTextSize, number);
        char* parameterText = reinterpret_cast<char*>(event + prane_event::kParamText);
        bytes::CopyText(parameterText, prane_event::kParamTextSize, number);
        event[prane_event::kParamLength] = static_cast<uint8_t>(std::strlen(parameterText));
    }
    event[prane_event::kMessageLength] = static_cast<uint8_t>(std::strlen(message));
    std::memcpy(record, event, sizeof event);
    return 0;
}

// --- SMART data ---

int32_t PraneFamily::AtaPassThrough(ObjectId drive, uint8_t protocol, uint16_t value,
                                    uint16_t* features, uint16_t* sectorCount, uint16_t* lbaLow,
                                    uint16_t* lbaMid, uint16_t* lbaHigh, uint8_t* deviceHead,
                                    uint8_t* command, uint8_t* data) {
    PraneCommand packet = MakeCommand(prane_opcode::kAtaPassThrough, 5);
    const size_t n = sizeof packet.bytes;
    packet.bytes[PraneCommand::kByte2] = 0xFF;
    packet.bytes[PraneCommand::kUnit] = PortOf(drive);
    packet.bytes[PraneCommand::kByte5] = protocol & 3;
    bytes::PutU16(packet.bytes, n, PraneCommand::kField6, value);
    bytes::PutU16(packet.bytes, n, 8, *features);
    bytes::PutU16(packet.bytes, n, 10, *sectorCount);
    bytes::PutU16(packet.bytes, n, 12, *lbaLow);
    bytes::PutU16(packet.bytes, n, 14, *lbaMid);
    bytes::PutU16(packet.bytes, n, 16, *lbaHigh);
    packet.bytes[18] = *deviceHead;
    packet.bytes[19] = *command;
    const int32_t length = *sectorCount == 0 ? kNoSectorsLength : *sectorCount * 512;
    const int32_t result = SendCommand(drive, &packet, data, length);
    *features = bytes::GetU16(packet.bytes, n, 8);
    *sectorCount = bytes::GetU16(packet.bytes, n, 10);
    *lbaLow = bytes::GetU16(packet.bytes, n, 12);
    *lbaMid = bytes::GetU16(packet.bytes, n, 14);
    *lbaHigh = bytes::GetU16(packet.bytes, n, 16);
    *deviceHead = packet.bytes[18];
    *command = packet.bytes[19];
    return result;
}

int32_t PraneFamily::GetDriveSmartData(ObjectId id, uint8_t* data) {
    uint16_t features = 0xD0;
    uint16_t sectorCount = 1;
    uint16_t lbaLow = 0;
    uint16_t lbaMid = 0x4F;
    uint16_t lbaHigh = 0xC2;
    uint8_t deviceHead = 0;
    uint8_t command = 0xB0;
    return AtaPassThrough(id, 1, 13, &features, &sectorCount, &lbaLow, &lbaMid, &lbaHigh,
                          &deviceHead, &command, data);
}
