#include "emulator/event_model.h"

#include <cstring>
#include <string>
#include <vector>

#include "emulator/controller_codes.h"
#include "emulator/faults.h"
#include "emulator/fields.h"

namespace emulator {

using nlohmann::json;

namespace {

constexpr size_t kTextsAt = 14;  // the parameter text, its zero, the description, its zero

struct Event {
    uint32_t id = 0;
    uint32_t time = 0;
    uint16_t code = 0;
    uint8_t severity = 0;
    uint8_t byte11 = 0;
    uint8_t byte12 = 0;
    std::string params;
    std::string description;
};

// Severity by name, or the number itself.
uint8_t severityOf(const json& event) {
    static const char* const kNames[] = {"", "error", "warning", "info", "debug"};
    const std::string name = textField(event, "severity", "");
    for (uint8_t s = 1; s < 5; ++s) {
        if (name == kNames[s])
            return s;
    }
    return static_cast<uint8_t>(numberField(event, "severity", 3));
}

// The queue in the host file's order; an event without "id" takes the
// one after the previous event's.
std::vector<Event> eventsOf(const json& controller) {
    std::vector<Event> events;
    const auto list = controller.find("events");
    if (list == controller.end() || !list->is_array())
        return events;
    uint32_t nextId = 1;
    for (const json& each : *list) {
        if (!each.is_object())
            continue;
        Event e;
        e.id = static_cast<uint32_t>(numberField(each, "id", nextId));
        e.time = static_cast<uint32_t>(numberField(each, "time", 0));
        e.code = static_cast<uint16_t>(numberField(each, "code", 0));
        e.severity = severityOf(each);
        const json extra = each.value("bytes", json::array());
        e.byte11 = extra.size() > 0 && extra[0].is_number() ? extra[0].get<uint8_t>() : 0;
        e.byte12 = extra.size() > 1 && extra[1].is_number() ? extra[1].get<uint8_t>() : 0;
        e.params = textField(each, "params", "");
        e.description = textField(each, "description", "");
        nextId = e.id + 1;
        events.push_back(e);
    }
    return events;
}

// The event the request asks for, or null.
const Event* pick(const std::vector<Event>& events, EventWalk walk, uint32_t given) {
    const Event* found = nullptr;
    for (const Event& e : events) {
        switch (walk) {
            case EventWalk::First:
                if (found == nullptr || e.id < found->id)
                    found = &e;
                break;
            case EventWalk::Last:
                if (found == nullptr || e.id > found->id)
                    found = &e;
                break;
            case EventWalk::Next:
                if (e.id > given && (found == nullptr || e.id < found->id))
                    found = &e;
                break;
            case EventWalk::Previous:
                if (e.id < given && (found == nullptr || e.id > found->id))
                    found = &e;
                break;
        }
    }
    return found;
}

}  // namespace

uint32_t answerEventRequest(const json& controller, EventWalk walk, ByteSpan buffer,
                            size_t offset) {
    if (offset > buffer.size() || buffer.size() - offset < kEventReplySize)
        return kDrvInsufficientLength;
    const uint32_t given = static_cast<uint32_t>(getLe(buffer.data(), buffer.size(), offset, 4));
    Bytes reply(kEventReplySize, 0);
    const std::vector<Event> events = eventsOf(controller);
    const Event* e = pick(events, walk, given);
    uint32_t returnCode = kDrvNoMoreEvents;
    if (e != nullptr) {
        put32(reply, 0, e->id);
        put32(reply, 4, e->time);
        put16(reply, 8, e->code);
        put8(reply, 10, e->severity);
        put8(reply, 11, e->byte11);
        put8(reply, 12, e->byte12);
        // The two texts follow each other, each with its zero byte, as far
        // as the reply holds them: texts too long for it end unterminated.
        std::string texts = e->params;
        texts.push_back('\0');
        texts += e->description;
        texts.push_back('\0');
        putText(reply, kTextsAt, kEventReplySize - kTextsAt, texts);
        returnCode = 0;
    }
    std::memcpy(buffer.data() + offset, reply.data(), kEventReplySize);
    return returnCode;
}

json defaultEvents(size_t controllerIndex) {
    // Seconds since 1970 of a few days in November 2026.
    constexpr uint32_t kNov02 = 1793613600;  // Mon Nov 02 2026 10:00:00 UTC
    const auto event = [](uint32_t id, uint32_t time, uint16_t code, const char* severity,
                          const char* params, const char* description) {
        return json{{"id", id},         {"time", time},
                    {"code", code},     {"severity", severity},
                    {"params", params}, {"description", description}};
    };
    switch (controllerIndex) {
        case 0:
            return json::array({
                event(101, kNov02, 0x0031, "info", "", "Synchronize host/controller time"),
                event(102, kNov02 + 3600, 0x000C, "info", "unit=2", "Initialize started"),
                event(103, kNov02 + 86400, 0x0019, "warning", "port=6", "Drive removed"),
                event(104, kNov02 + 86460, 0x0002, "error", "unit=1, port=6", "Degraded unit"),
                event(105, kNov02 + 86700, 0x001A, "info", "port=6", "Drive inserted"),
                event(106, kNov02 + 86760, 0x000B, "info", "unit=1", "Rebuild started"),
                event(107, kNov02 + 172800, 0x0045, "warning", "", "Battery voltage is low"),
                event(108, kNov02 + 176400, 0x0044, "info", "", "Battery voltage is normal"),
            });
        case 1:
            return json::array({
                event(41, kNov02 + 7200, 0x0019, "warning", "port=1", "Drive removed"),
                event(42, kNov02 + 7260, 0x0002, "error", "unit=0, port=1", "Degraded unit"),
                event(43, kNov02 + 90000, 0x0029, "info", "unit=1", "Verify started"),
            });
        default:
            return json::array();
    }
}

}  // namespace emulator
