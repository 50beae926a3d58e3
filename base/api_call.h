// The rule every unit, port and controller listing query follows: a library
// call that does not answer 0 ends the command with the library's composed
// error message.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "api/api.h"
#include "api/api_codes.h"
#include "api/object_id.h"
#include "base/kv_exception.h"

inline void RequireApi(int result) {
    if (result != 0)
        throwApiError();
}

// The API code of the library's last failure: a few of them answer a state
// of the controller (no such unit, no phy, no volumes) rather than a fault.
inline uint32_t LastApiCode() {
    ApiErrorRecord record{};
    Api::GetLastErrorRecord(&record);
    return record.apiCode;
}

// A text the library writes into a caller buffer of N bytes; the buffer
// starts as `preset`. A failure ends the command with the library's error.
template <std::size_t N>
std::string RequireApiText(int (*read)(ObjectId, char*), ObjectId id, const char* preset) {
    FixedText<N> text;
    std::snprintf(text.data(), N, "%s", preset);
    RequireApi(read(id, text.data()));
    text.text[N - 1] = '\0';
    return text.c_str();
}
