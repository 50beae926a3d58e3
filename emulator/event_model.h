// The controller's event queue: the asynchronous event notifications that
// the newer family's driver hands out one at a time, kept in the
// controller's "events" list of the host file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>

#include "emulator/wire.h"

namespace emulator {

// The four event requests: the oldest or the newest event, and the one
// after or before the event id that the request carries.
enum class EventWalk { First, Last, Next, Previous };

// Size of the event reply the driver fills.
constexpr size_t kEventReplySize = 112;

// Answers one event request in place: the reply at `offset` of `buffer`
// (kEventReplySize bytes, its first four bytes the caller's event id for
// Next and Previous). Returns the driver's ReturnCode: 0 with the event,
// or kDrvNoMoreEvents and a zero reply when there is none.
uint32_t answerEventRequest(const nlohmann::json& controller, EventWalk walk, ByteSpan buffer,
                            size_t offset);

// The built-in default host's events of its controllers, by index.
nlohmann::json defaultEvents(size_t controllerIndex);

}  // namespace emulator
