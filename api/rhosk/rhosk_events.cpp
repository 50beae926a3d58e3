// The newer family's event walk: one event of the controller's event queue
// per driver request (first, last, next, previous), turned from the
// driver's 112-byte reply into the library's AenRecord.
#include <cstring>
#include <string>

#include "api/api.h"
#include "api/api_messages.h"
#include "api/bytes.h"
#include "api/device_io.h"
#include "api/driver.h"
#include "api/rhosk/rhosk_family.h"

namespace {

constexpr size_t kReplySize = 112;
constexpr size_t kReplyTexts = 14;  // parameter text, then the description
constexpr size_t kParamMax = AenRecord::kParamTextSize - 1;
constexpr size_t kMessageMax = AenRecord::kMessageSize - 1;

// Builds the record from the reply. Both texts are bounded by the reply's
// end; an unterminated text is cut there, and each is cut to its field.
void DecodeEvent(const uint8_t (&reply)[kReplySize], AenRecord* record) {
    std::memset(record, 0, sizeof *record);
    record->eventId = bytes::GetU32(reply, kReplySize, 0);
    record->time = bytes::GetU32(reply, kReplySize, 4);
    record->code = bytes::GetU16(reply, kReplySize, 8);
    record->severity = reply[10];
    record->byte11 = reply[11];
    record->byte12 = reply[12];

    const char* texts = reinterpret_cast<const char*>(reply) + kReplyTexts;
    const size_t room = kReplySize - kReplyTexts;
    const size_t paramLength = strnlen(texts, room);
    record->paramLength = static_cast<uint8_t>(
        bytes::CopyText(record->params, sizeof record->params, texts, paramLength));

    std::string description;
    if (paramLength + 1 < room) {
        const char* after = texts + paramLength + 1;
        description.assign(after, strnlen(after, room - paramLength - 1));
    }
    if (description.empty()) {
        description = theApiMessages.LookupMessage(kSourceRhoskEvent, record->code, nullptr,
                                                   kLanguageEnglish);
    }
    std::string message = description;
    if (record->paramLength != 0)
        message += std::string(": ") + record->params;
    if (message.size() > kMessageMax)
        message.resize(kMessageMax);
    record->messageLength = static_cast<uint8_t>(
        bytes::CopyText(record->message, sizeof record->message, message.c_str()));
    static_assert(kParamMax < 256 && kMessageMax < 256, "lengths are stored in one byte");
}

// One event request of `kind`; `withId` puts the caller's event id into
// the reply before it is sent (next and previous).
int32_t FetchEvent(ObjectId controller, uint32_t kind, bool withId, uint32_t eventId,
                   AenRecord* out) {
    DeviceIo::ControllerHandle device(controller.controllerId());
    if (!device.ok())
        return -1;
    uint8_t reply[kReplySize] = {};
    if (withId)
        bytes::PutU32(reply, sizeof reply, 0, eventId);
    RhoskRequest request{};
    request.kind = kind;
    FirmwareCommandBuffer command{};
    if (DeviceIo::SendRhoskRequest(device.handle(), &request, &command, reply, sizeof reply, 0,
                                   0xFF) != 0) {
        return -1;
    }
    AenRecord record;
    DecodeEvent(reply, &record);
    if (out != nullptr)
        *out = record;
    return 0;
}

}  // namespace

int32_t RhoskFamily::GetFirstAen(ObjectId controller, AenRecord* record) {
    return FetchEvent(controller, kRequestFirstEvent, false, 0, record);
}

int32_t RhoskFamily::GetLastAen(ObjectId controller, AenRecord* record) {
    return FetchEvent(controller, kRequestLastEvent, false, 0, record);
}

int32_t RhoskFamily::GetNextAen(ObjectId controller, uint32_t eventId, AenRecord* record) {
    return FetchEvent(controller, kRequestNextEvent, true, eventId, record);
}

int32_t RhoskFamily::GetPreviousAen(ObjectId controller, uint32_t eventId, AenRecord* record) {
    return FetchEvent(controller, kRequestPreviousEvent, true, eventId, record);
}
