#include "api/driver.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "api/api_codes.h"
#include "api/api_error.h"
#include "api/bytes.h"
#include "api/os/os_layer.h"
#include "api/prane/prane_family.h"
#include "api/rhosk/param_tables.h"
#include "api/rhosk/rhosk_family.h"
#include "platform/host_system.h"

// Discovery reaches every listed entry the table can hold.
static_assert(Driver::kMaxControllers == kOsMaxIndexedControllers,
              "the OS layer offers as many controllers as the table holds");

// --- The library's process-wide objects, in their order of construction:
// the driver with its empty controller table, then the newer family's
// implementation objects. All are constant-initialised (zero), so they are
// ready before any dynamic initialisation, and none needs work at exit.
namespace {
Driver gDriver;
RhoskFamily gRhoskFamily;
RhoskSettings gRhoskSettings;
SasFamily gSasFamily;
}  // namespace

Driver& TheDriver() {
    return gDriver;
}
RhoskFamily& TheRhoskFamily() {
    return gRhoskFamily;
}
RhoskSettings& TheRhoskSettings() {
    return gRhoskSettings;
}
SasFamily& TheSasFamily() {
    return gSasFamily;
}

void srb::PutHeader(uint8_t* buf, size_t bufferSize, const char (&signature)[kSignatureSize],
                    uint32_t timeout, uint32_t controlCode) {
    bytes::PutU32(buf, bufferSize, kHeaderLength, kHeaderSize);
    bytes::PutBytes(buf, bufferSize, kSignature, signature, kSignatureSize);
    bytes::PutU32(buf, bufferSize, kTimeout, timeout);
    bytes::PutU32(buf, bufferSize, kControlCode, controlCode);
    bytes::PutU32(buf, bufferSize, kReturnCode, 0);
    bytes::PutU32(buf, bufferSize, kLength, static_cast<uint32_t>(bufferSize - kHeaderSize));
}

namespace {

using platform::Host;

constexpr uint32_t kOpenAccess = platform::kGenericRead | platform::kGenericWrite;
constexpr uint32_t kOpenShare = platform::kFileShareRead | platform::kFileShareWrite;

// The largest data area a request may carry; larger lengths are treated as
// an allocation that cannot be had.
constexpr uint64_t kMaxDataArea = 16u * 1024 * 1024;

// Handles travel through the back ends as 32-bit values.
uint32_t ToWire(platform::Handle h) {
    return static_cast<uint32_t>(h);
}
platform::Handle FromWire(uint32_t h) {
    return static_cast<platform::Handle>(static_cast<int32_t>(h));
}

void RecordApi(uint32_t code) {
    (void)ApiError::Fail(code);
}

// Allocates a zeroed request buffer; false (API error 7) when it cannot be had.
bool AllocateRequest(std::vector<uint8_t>* buf, uint64_t size) {
    if (size > kMaxDataArea + 1024) {
        RecordApi(kApiNoMemory);
        return false;
    }
    try {
        buf->assign(static_cast<size_t>(size), 0);
    } catch (const std::bad_alloc&) {
        RecordApi(kApiNoMemory);
        return false;
    }
    return true;
}

// Sends the buffer in place; false when DeviceIoControl fails.
bool SendInPlace(const uint32_t* handle, std::vector<uint8_t>* buf) {
    uint32_t returned = 0;
    const auto size = static_cast<uint32_t>(buf->size());
    return Host().deviceIoControl(FromWire(handle != nullptr ? *handle : 0xFFFFFFFFu),
                                  srb::kIoctlScsiMiniport, buf->data(), size, buf->data(), size,
                                  &returned);
}

// --- The newer family's control codes and the firmware opcode flags ---

struct KindInfo {
    uint32_t kind;
    uint32_t controlCode;
};
constexpr KindInfo kKinds[] = {
    {kRequestDriverInfo, 1},
    {kRequestLastEvent, 0xE0000002},
    {kRequestFirstEvent, 0xE0000001},
    {kRequestNextEvent, 0xE0000003},
    {kRequestPreviousEvent, 0xE0000004},
    {kRequestLock, 0xD0000000},
    {kRequestUnlock, 0xD0000001},
    {kRequestFirmwareCommand, 0xF0000000},
    {kRequestCommit, 0xFFFF0002},
};

const KindInfo* FindKind(uint32_t kind) {
    for (const auto& k : kKinds) {
        if (k.kind == kind)
            return &k;
    }
    return nullptr;
}

enum class OpcodeRule {
    AddPortBit,      // 0x1000
    Plain,           // nothing added
    Transfer,        // 0xE000
    ImageTransfer,   // 0xE000 and the long timeout
    TransferIfData,  // 0xE000 when there is data
    AtaTransfer,     // 0xE000 when there is data and the protocol moves it
};

struct OpcodeInfo {
    uint8_t opcode;
    OpcodeRule rule;
};
constexpr OpcodeInfo kOpcodes[] = {
    {0x00, OpcodeRule::AddPortBit},     {0x05, OpcodeRule::Plain},
    {0x06, OpcodeRule::Plain},          {0x07, OpcodeRule::Plain},
    {0x09, OpcodeRule::Plain},          {0x0A, OpcodeRule::Plain},
    {0x0E, OpcodeRule::Plain},          {0x15, OpcodeRule::Plain},
    {0x17, OpcodeRule::Plain},          {0x1E, OpcodeRule::Plain},
    {0x0F, OpcodeRule::Transfer},       {0x12, OpcodeRule::Transfer},
    {0x13, OpcodeRule::Transfer},       {0x14, OpcodeRule::Transfer},
    {0x1B, OpcodeRule::Transfer},       {0x16, OpcodeRule::ImageTransfer},
    {0x10, OpcodeRule::TransferIfData}, {0x1F, OpcodeRule::TransferIfData},
    {0x11, OpcodeRule::AtaTransfer},
};
constexpr uint32_t kFlagPortBit = 0x1000;
constexpr uint32_t kFlagTransfer = 0xE000;
constexpr uint8_t kOpcodeMask = 0x1F;
// Host bus bits of a model 6 or 7 controller that make it a Tevrin.
constexpr uint32_t kTevrinBusBits = 0x300;
constexpr uint8_t kAtaOpcode = 0x11;
constexpr uint8_t kAtaLongFormByte6 = 0x80;

// The ATA protocol selectors (packet u16 at bytes 6-7) that move data.
bool IsAtaDataProtocol(uint16_t selector) {
    static constexpr uint16_t kData[] = {9, 11, 13, 15, 0x81, 0x82, 0x83};
    return std::find(std::begin(kData), std::end(kData), selector) != std::end(kData);
}

// The control-code bits of a firmware command and its timeout; false when
// the opcode is refused.
bool FirmwareCommandBits(const uint8_t* packet, uint32_t dataLength, uint8_t allowOther,
                         uint8_t opcodeClass, uint32_t* bits, uint32_t* timeout) {
    const uint8_t opcode = packet[FirmwareCommandBuffer::kOpcode] & kOpcodeMask;
    *bits = 0;
    *timeout = rhosk_request::kTimeout;
    const OpcodeInfo* info = nullptr;
    for (const auto& o : kOpcodes) {
        if (o.opcode == opcode) {
            info = &o;
            break;
        }
    }
    if (info == nullptr) {
        if (allowOther == 0)
            return false;
        if (opcodeClass == 2 || opcodeClass == 3)
            *bits = kFlagTransfer;
        return true;
    }
    switch (info->rule) {
        case OpcodeRule::AddPortBit:
            *bits = kFlagPortBit;
            break;
        case OpcodeRule::Plain:
            break;
        case OpcodeRule::Transfer:
            *bits = kFlagTransfer;
            break;
        case OpcodeRule::ImageTransfer:
            *bits = kFlagTransfer;
            *timeout = rhosk_request::kImageTimeout;
            break;
        case OpcodeRule::TransferIfData:
            if (dataLength != 0)
                *bits = kFlagTransfer;
            break;
        case OpcodeRule::AtaTransfer: {
            const uint16_t selector = bytes::GetU16(packet, FirmwareCommandBuffer::packetSize(),
                                                    FirmwareCommandBuffer::kField6);
            if (dataLength != 0 && IsAtaDataProtocol(selector))
                *bits = kFlagTransfer;
            break;
        }
    }
    return true;
}

// The command length of a firmware command: the long form for ATA
// pass-through with a long register block.
size_t FirmwareCommandLength(const uint8_t* packet) {
    const bool longForm = (packet[FirmwareCommandBuffer::kOpcode] & kOpcodeMask) == kAtaOpcode &&
                          packet[FirmwareCommandBuffer::kField6] >= kAtaLongFormByte6;
    return longForm ? rhosk_request::kLongCommand : rhosk_request::kShortCommand;
}

// Records the errors of one request: the record is cleared before the
// first, so an OS, driver and controller error of one request stand
// together.
class RequestErrors {
  public:
    void Record(uint32_t flags, uint32_t osCode, uint32_t driverCode, uint32_t controllerCode,
                const char* text, const char* message) {
        if (!any_)
            ApiError::Clear();
        any_ = true;
        ApiError::Set(flags, 0, osCode, driverCode, controllerCode, text, message);
    }
    bool any() const { return any_; }

  private:
    bool any_ = false;
};

ObjectId ControllerIdOf(int32_t number) {
    ObjectId id = ObjectId::Blank();
    id[ObjectId::kKind] = kKindController;
    id[ObjectId::kController] = static_cast<uint8_t>(number);
    return id;
}

}  // namespace

const ControllerSlot* Driver::slot(int32_t index) const {
    if (index < 0 || index >= kMaxControllers)
        return nullptr;
    return &slots_[index];
}

void Driver::Reset() {
    *this = Driver();
}

bool Driver::IsOpenableSlot(uint8_t number) const {
    if (number >= kMaxControllers)
        return false;
    return number < count_ || (discovering_ && number == count_);
}

void Driver::DiscoverControllers() {
    OsLayer os;
    (void)os.EnumerateControllers();  // its status is not looked at
    const int32_t listed = os.GetControllerCount();

    std::memset(slots_, 0, sizeof slots_);
    count_ = 0;
    classified_ = 0;
    enumerated_ = 1;
    discovering_ = true;

    for (int32_t i = 0; i < listed && count_ < kMaxControllers; ++i) {
        ControllerSlot& s = slots_[count_];
        s = ControllerSlot{};
        s.osIndex = i;
        s.deviceType = static_cast<int32_t>(os.GetDeviceType(i));
        bytes::CopyText(s.devicePath, sizeof s.devicePath, os.GetDevicePath(i));
        const ObjectId id = ControllerIdOf(count_);

        const platform::Handle h = Host().createFile(s.devicePath, kOpenAccess, kOpenShare);
        if (h == platform::kInvalidHandle)
            continue;  // the slot is reused

        int32_t probe = -1;
        if (s.deviceType == kPciDevicePrane) {
            probe = PraneFamily::GetParam(id, rhosk_tables::kControllerInfoTable,
                                          rhosk_tables::kControllerSerial.number,
                                          prane_param::kSerialSize, s.serialNumber, 0);
        } else if (s.deviceType > kPciDevicePrane && s.deviceType <= kPciDeviceLast) {
            probe = RhoskFamily().GetParam(
                id, s.serialNumber, sizeof s.serialNumber, rhosk_tables::kControllerSerial.table,
                rhosk_tables::kControllerSerial.number, rhosk_tables::kControllerSerial.size);
        }
        if (probe == 0)
            ++count_;
        (void)Host().closeHandle(h);
    }
    // Slots past the count hold nothing (a failed probe may have left a path).
    for (int32_t i = count_; i < kMaxControllers; ++i)
        slots_[i] = ControllerSlot{};
    discovering_ = false;
}

int32_t Driver::DetectControllerFamily(ObjectId id) {
    const uint8_t number = id[ObjectId::kController];
    if (number >= kMaxControllers || number >= count_)
        return kFamilyUnknown;
    const int32_t type = slots_[number].deviceType;
    if (type == kPciDevicePrane)
        return kFamilyPrane;
    if (type <= kPciDevicePrane || type > kPciDeviceLast)
        return kFamilyUnknown;

    const ObjectId controller = id.controllerId();
    uint32_t model = 0;
    if (RhoskFamily().GetParam(controller, &model, sizeof model,
                               rhosk_tables::kControllerModelCode.table,
                               rhosk_tables::kControllerModelCode.number,
                               rhosk_tables::kControllerModelCode.size) != 0) {
        model = 0;
    }
    switch (model) {
        case 4:
        case 5:
            return kFamilyRhosk;
        case 6:
        case 7: {
            uint32_t bus = 0;
            if (RhoskFamily().GetParam(
                    controller, &bus, sizeof bus, rhosk_tables::kHostBusBits.table,
                    rhosk_tables::kHostBusBits.number, rhosk_tables::kHostBusBits.size) != 0) {
                bus = 0;
            }
            return (bus & kTevrinBusBits) != 0 ? kFamilyTevrin : kFamilySolvane;
        }
        case 8:
        case 10:
            return kFamilyVantor;
        default:
            return kFamilyUnknown;
    }
}

int32_t Driver::ClassifyControllers() {
    if (count_ == 0) {
        classified_ = 0;
        RecordApi(kApiNoController);
        return -1;
    }
    classifying_ = true;
    for (int32_t i = 0; i < count_; ++i) {
        slots_[i].family = DetectControllerFamily(ControllerIdOf(i));
    }
    classifying_ = false;
    classified_ = 1;
    return 0;
}

int32_t Driver::GetControllerFamily(ObjectId id) {
    if (!classified_ && !classifying_ && !discovering_)
        (void)ClassifyControllers();
    if (!classified_)
        return kFamilyUnknown;
    const uint8_t number = id[ObjectId::kController];
    if (number >= kMaxControllers || number >= count_)
        return kFamilyUnknown;
    return slots_[number].family;
}

int32_t Driver::GetControllerIdList(ObjectIdList16* list) {
    if (list == nullptr)
        return -1;
    list->zero();
    DiscoverControllers();
    if (count_ > 0)
        (void)ClassifyControllers();
    for (int32_t i = 0; i < count_; ++i)
        list->ids[i] = ControllerIdOf(i);
    list->count = static_cast<uint32_t>(count_);
    return 0;
}

int32_t Driver::OpenController(const ObjectId* id, uint32_t* handle) {
    if (!enumerated_)
        DiscoverControllers();
    // Classification reads the controllers through this very open: it runs
    // once per discovery and never from inside discovery or itself.
    if (!discovering_ && !classifying_) {
        if (count_ == 0) {
            RecordApi(kApiNoController);
        } else if (!classified_) {
            (void)ClassifyControllers();
        }
    }
    const uint8_t number = id != nullptr ? (*id)[ObjectId::kController] : 0xFF;
    platform::Handle h = platform::kInvalidHandle;
    if (IsOpenableSlot(number)) {
        h = Host().createFile(slots_[number].devicePath, kOpenAccess, kOpenShare);
    }
    if (h == platform::kInvalidHandle) {
        RecordApi(kApiControllerDisabled);
        if (handle != nullptr)
            *handle = 0xFFFFFFFFu;
        return -1;
    }
    if (handle != nullptr)
        *handle = ToWire(h);
    return 0;
}

int32_t Driver::CloseController(uint32_t handle) {
    if (!Host().closeHandle(FromWire(handle))) {
        const uint32_t error = Host().getLastError();
        ApiError::Clear();
        ApiError::Set(kApiErrorOs, 0, error, 0, 0, nullptr, nullptr);
        return -1;
    }
    return 0;
}

int32_t Driver::ExecutePraneCommand(const uint32_t* handle, PraneCommand* packet, void* data,
                                    int32_t dataLength, uint8_t /*unused*/) {
    if (packet == nullptr) {
        RecordApi(kApiInvalidArgumentValue);
        return -1;
    }
    const uint64_t length = dataLength > 0 ? static_cast<uint64_t>(dataLength) : 0;
    const uint64_t area = SectorRoundUp(length);
    std::vector<uint8_t> buf;
    if (!AllocateRequest(&buf, prane_request::kData + area))
        return -1;

    srb::PutHeader(buf.data(), buf.size(), srb::kPraneSignature, prane_request::kTimeout, 0);
    if (data != nullptr)
        bytes::PutBytes(buf.data(), buf.size(), prane_request::kData, data, length);
    bytes::PutBytes(buf.data(), buf.size(), prane_request::kPacket, packet->bytes,
                    kPraneCommandSize);

    if (!SendInPlace(handle, &buf)) {
        const uint32_t error = Host().getLastError();
        ApiError::Clear();
        ApiError::Set(kApiErrorOs, 0, error, 0, 0, nullptr, nullptr);
        return -1;
    }
    const uint8_t status = buf[prane_request::kStatus];
    if (status != 0) {
        ApiError::Clear();
        ApiError::Set(kApiErrorPraneDriver, 0, 0, status, 0, nullptr, nullptr);
        return -1;
    }
    bytes::GetBytes(buf.data(), buf.size(), prane_request::kPacket, packet->bytes,
                    kPraneCommandSize);
    if (data != nullptr)
        bytes::GetBytes(buf.data(), buf.size(), prane_request::kData, data, length);
    return 0;
}

namespace {

// The layout of one newer-family request: its control code and timeout,
// where the command and the data go, and the size of the whole request.
struct RhoskEnvelope {
    uint32_t kind = 0;
    bool firmwareCommand = false;
    bool hasCommandArea = false;  // lock, unlock and firmware commands
    uint32_t controlCode = 0;
    uint32_t timeout = rhosk_request::kTimeout;
    size_t commandLength = 0;
    size_t dataPos = rhosk_request::kPayload;
    size_t dataLength = 0;
    uint64_t size = rhosk_request::kSmallRequestSize;
};

// The envelope of a request of the kind in `request`; false (with the API
// error recorded) for an unknown kind, a missing command area, a refused
// opcode or data that does not fit.
bool PlanRhoskEnvelope(const RhoskRequest* request, const FirmwareCommandBuffer* command,
                       const void* data, uint32_t dataLength, uint8_t allowOtherOpcodes,
                       uint8_t opcodeClass, RhoskEnvelope* envelope) {
    envelope->kind = request != nullptr ? request->kind : 0;
    const KindInfo* info = FindKind(envelope->kind);
    if (info == nullptr) {
        RecordApi(kApiInvalidControlCode);
        return false;
    }
    const uint32_t kind = envelope->kind;
    envelope->firmwareCommand = kind == kRequestFirmwareCommand;
    envelope->hasCommandArea =
        kind == kRequestLock || kind == kRequestUnlock || kind == kRequestFirmwareCommand;
    if (envelope->hasCommandArea && command == nullptr) {
        RecordApi(kApiInvalidArgumentValue);
        return false;
    }
    envelope->dataLength = data != nullptr ? dataLength : 0;
    envelope->controlCode = info->controlCode;
    if (!envelope->firmwareCommand) {
        // The other kinds carry their data in the fixed 512-byte request.
        if (envelope->dataLength > rhosk_request::kSmallRequestSize - rhosk_request::kPayload) {
            RecordApi(kApiInvalidArgumentValue);
            return false;
        }
        return true;
    }
    uint32_t bits = 0;
    if (!FirmwareCommandBits(command->packet(), dataLength, allowOtherOpcodes, opcodeClass, &bits,
                             &envelope->timeout)) {
        RecordApi(kApiInvalidOpcode);
        return false;
    }
    envelope->controlCode |= bits;
    envelope->commandLength = FirmwareCommandLength(command->packet());
    envelope->dataPos = rhosk_request::kPayload + envelope->commandLength;
    envelope->size = envelope->dataPos + SectorRoundUp(envelope->dataLength);
    return true;
}

// The request buffer: the header, the firmware command and the data.
void FillRhoskEnvelope(const RhoskEnvelope& envelope, const FirmwareCommandBuffer* command,
                       const void* data, std::vector<uint8_t>* buf) {
    srb::PutHeader(buf->data(), buf->size(), srb::kRhoskSignature, envelope.timeout,
                   envelope.controlCode);
    if (envelope.firmwareCommand) {
        bytes::PutBytes(buf->data(), buf->size(), rhosk_request::kPayload, command->bytes,
                        envelope.commandLength);
        (*buf)[rhosk_request::kPayload + FirmwareCommandBuffer::kHeaderSizeByte] =
            rhosk_request::kHeaderSizeValue;
    }
    if (envelope.dataLength != 0)
        bytes::PutBytes(buf->data(), buf->size(), envelope.dataPos, data, envelope.dataLength);
}

// The driver's return code: the codes each kind takes as success are
// dropped, a lock already held gets its own code, and any other is the
// driver's error.
void CheckDriverReturnCode(uint32_t kind, const std::vector<uint8_t>& buf, RequestErrors* errors) {
    uint32_t returnCode = bytes::GetU32(buf.data(), buf.size(), srb::kReturnCode);
    if (returnCode == 0 || (returnCode >> 16) == rhosk_request::kFirmwareStatusBits)
        return;
    const uint32_t low = returnCode & 0xFFFF;
    const bool eventKind = kind >= kRequestLastEvent && kind <= kRequestPreviousEvent;
    if (eventKind && (low == 1 || low == 2))
        returnCode = 0;
    if (kind == kRequestLock && low == 2)
        returnCode = kDriverAlreadyLocked;
    if (kind == kRequestUnlock)
        returnCode = 0;
    if (returnCode != 0)
        errors->Record(kApiErrorRhoskDriver, 0, returnCode, 0, nullptr, nullptr);
}

// The controller's status in the returned command area: a failure records
// the controller's code and its two texts, bounded by the header.
void CheckControllerStatus(const std::vector<uint8_t>& buf, const FirmwareCommandBuffer& command,
                           RequestErrors* errors) {
    const size_t statusAt = rhosk_request::kPayload + FirmwareCommandBuffer::kHeaderSize +
                            FirmwareCommandBuffer::kStatus;
    if (buf[statusAt] == 0)
        return;
    const uint16_t code = bytes::GetU16(command.bytes, FirmwareCommandBuffer::kSize,
                                        FirmwareCommandBuffer::kErrorCode);
    constexpr size_t kTextArea =
        FirmwareCommandBuffer::kHeaderSize - FirmwareCommandBuffer::kErrorText;
    const char* area =
        reinterpret_cast<const char*>(command.bytes) + FirmwareCommandBuffer::kErrorText;
    char text[kControllerTextSize] = {};
    char message[kControllerTextSize] = {};
    const size_t textLength = strnlen(area, kTextArea);
    bytes::CopyText(text, sizeof text, area, textLength);
    if (textLength + 1 < kTextArea) {
        bytes::CopyText(message, sizeof message, area + textLength + 1, kTextArea - textLength - 1);
    }
    errors->Record(kApiErrorRhoskController, 0, 0, code, text, message);
}

}  // namespace

int32_t Driver::SendRhoskRequest(const uint32_t* handle, const RhoskRequest* request,
                                 FirmwareCommandBuffer* command, void* data, uint32_t dataLength,
                                 uint8_t allowOtherOpcodes, uint8_t opcodeClass) {
    RhoskEnvelope envelope;
    if (!PlanRhoskEnvelope(request, command, data, dataLength, allowOtherOpcodes, opcodeClass,
                           &envelope)) {
        return -1;
    }
    std::vector<uint8_t> buf;
    if (!AllocateRequest(&buf, envelope.size))
        return -1;
    FillRhoskEnvelope(envelope, command, data, &buf);

    const bool sent = SendInPlace(handle, &buf);

    // The command area comes back whatever the outcome.
    if (envelope.hasCommandArea) {
        bytes::GetBytes(buf.data(), buf.size(), rhosk_request::kPayload, command->bytes,
                        rhosk_request::kShortCommand);
    }
    RequestErrors errors;
    if (!sent)
        errors.Record(kApiErrorOs, Host().getLastError(), 0, 0, nullptr, nullptr);
    CheckDriverReturnCode(envelope.kind, buf, &errors);
    if (envelope.hasCommandArea)
        CheckControllerStatus(buf, *command, &errors);

    if (errors.any() || !sent)
        return -1;
    if (envelope.dataLength != 0)
        bytes::GetBytes(buf.data(), buf.size(), envelope.dataPos, data, envelope.dataLength);
    return 0;
}

int32_t Driver::NotifyOs(const ObjectId* controller, const ObjectId* unit, uint8_t notification) {
    switch (notification) {
        case kNotifyUnitDeleted:
        case kNotifyUnitAdded:
        case kNotifyRemovalAbandoned: {
            uint32_t handle = 0;
            if (OpenController(controller, &handle) != 0)
                return -1;
            // Probe the controller so that the driver reports the change: a
            // firmware command, or else an older-family parameter read.
            RhoskRequest request{};
            request.kind = kRequestFirmwareCommand;
            FirmwareCommandBuffer command{};
            command.packet()[FirmwareCommandBuffer::kOpcode] = 0;
            command.packet()[FirmwareCommandBuffer::kCommandSize] = 2;
            int32_t result = SendRhoskRequest(&handle, &request, &command, nullptr, 0, 0, 0xFF);
            if (result != 0) {
                PraneCommand packet = PraneFamily::MakeCommand(prane_opcode::kGetParam, 2);
                packet.bytes[PraneCommand::kByte5] = 0x80;
                bytes::PutU16(packet.bytes, sizeof packet.bytes, PraneCommand::kField6, 1);
                uint8_t area[prane_param::kHeaderSize + prane_param::kSerialSize] = {};
                prane_param::PutHeader(area, sizeof area, rhosk_tables::kControllerInfoTable,
                                       static_cast<uint8_t>(rhosk_tables::kControllerSerial.number),
                                       prane_param::kSerialSize);
                result = ExecutePraneCommand(&handle, &packet, area, sizeof area, 0);
            }
            (void)CloseController(handle);
            if (result != 0)
                return -1;
            Host().sleep(500);
            return 0;
        }
        case kNotifyWriteCacheOn:
        case kNotifyWriteCacheOff:
        case kNotifyJbodWriteCacheOn:
        case kNotifyJbodWriteCacheOff:
        case kNotifyUnitRemoving: {
            // The OS layer's entry of the unit's own controller: the OS index
            // its slot keeps, so a controller that did not answer discovery
            // never shifts the notification onto another controller's disks.
            const uint8_t number = unit != nullptr ? (*unit)[ObjectId::kController] : 0xFF;
            const int32_t unitNumber = unit != nullptr ? (*unit)[ObjectId::kUnit] : -1;
            const int32_t osIndex =
                number < kMaxControllers && number < count_ ? slots_[number].osIndex : -1;
            OsLayer os;
            (void)os.EnumerateControllers();
            uint32_t status = kOsBadController;
            const auto index = static_cast<uint32_t>(osIndex);
            if (osIndex >= 0) {
                if (notification == kNotifyWriteCacheOn || notification == kNotifyWriteCacheOff) {
                    status = os.DelCacheSetting(index, static_cast<uint32_t>(unitNumber));
                } else if (notification == kNotifyJbodWriteCacheOn) {
                    status = os.SetCacheSetting(index, static_cast<uint32_t>(unitNumber), 1);
                } else if (notification == kNotifyJbodWriteCacheOff) {
                    status = os.SetCacheSetting(index, static_cast<uint32_t>(unitNumber), 0);
                } else {
                    status = os.RemoveUnitDisks(osIndex, unitNumber);
                }
            }
            if (notification != kNotifyUnitRemoving)
                return 0;  // the cache status is not looked at
            if (status != kOsSuccess) {
                RecordApi(kApiRemoveDeviceFailed);
                return -1;
            }
            return 0;
        }
        default:
            RecordApi(kApiNotifyOsFailed);
            return -1;
    }
}
