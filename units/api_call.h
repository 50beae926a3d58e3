// The rule every unit, port and controller listing query follows: a library
// call that does not answer 0 ends the command with the library's composed
// error message.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "api/api_codes.h"
#include "api/object_id.h"
#include "controllers/controller.h"

inline void RequireApi(int result) {
    if (result != 0)
        Controller::throwApiError();
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
