#include "api/api_error.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "api/api_messages.h"
#include "api/bytes.h"

namespace {

ApiErrorRecord gRecord{};

// The display text of source and code, or "" (built-in texts unless a
// language and directory are given).
std::string Lookup(uint32_t source, uint32_t code, const char* directory, uint8_t language) {
    return theApiMessages.LookupMessage(source, code, directory, language);
}

// A looked-up part that is empty or too long for the message stands as
// its not-found text.
bool Usable(const std::string& part) {
    return !part.empty() && part.size() < kErrorMessageSize;
}

std::string NotFound(const char* what, uint32_t source, uint32_t code) {
    return ApiUtil::FormatText("(0x%02X:0x%04X): %s message not found", source, code, what);
}

// Appends one part to the composed message: a newline first when the
// message holds text; cut so that the terminator still fits.
void AppendPart(ApiErrorRecord& record, const std::string& part) {
    std::size_t length = strnlen(record.message, kErrorMessageSize - 1);
    if (length > 0 && length < kErrorMessageSize - 1) {
        record.message[length++] = '\n';
    }
    length += bytes::CopyText(record.message + length, kErrorMessageSize - length, part.c_str());
    record.message[length] = '\0';
    record.messageLength = static_cast<uint32_t>(length);
}

// The part of one source: its looked-up display text, or its not-found
// text ("(0x%02X:0x%04X): <what> message not found").
std::string Part(uint32_t source, uint32_t code, const char* what, const char* directory,
                 uint8_t language) {
    std::string part = Lookup(source, code, directory, language);
    return Usable(part) ? part : NotFound(what, source, code);
}

std::string DriverPart(bool prane, uint32_t code, const char* directory, uint8_t language) {
    return prane ? Part(kSourcePraneDriver, code, "Prane driver", directory, language)
                 : Part(kSourceRhoskDriver, code, "Rhosk driver", directory, language);
}

// The newer-family controller part: the firmware's message (or the built-in
// text of the code), a blank and the firmware's text.
std::string RhoskControllerPart(uint32_t code, const char* message, const char* text,
                                const char* directory, uint8_t language) {
    std::string head = (message != nullptr && message[0] != '\0')
                           ? std::string(message)
                           : Lookup(kSourceRhoskController, code, directory, language);
    const char* tail = text != nullptr ? text : "";
    if (!Usable(head)) {
        return NotFound("Rhosk controller", kSourceRhoskController, code) + " " + tail;
    }
    return head + " " + tail;
}

// Bounded view of the stored controller text (it may come unterminated
// from a caller that wrote the record).
std::string StoredControllerText(const ApiErrorRecord& record) {
    return std::string(record.controllerText, strnlen(record.controllerText, kControllerTextSize));
}

}  // namespace

namespace ApiError {

void Clear() {
    gRecord = ApiErrorRecord{};
}

void Set(uint32_t flags, uint32_t apiCode, uint32_t osCode, uint32_t driverCode,
         uint32_t controllerCode, const char* controllerText, const char* controllerMessage) {
    gRecord.flags |= flags;
    const bool prane = (flags & kApiErrorPrane) != 0;
    if (flags & kApiErrorApi) {
        gRecord.apiCode = apiCode;
        AppendPart(gRecord, Part(kSourceApi, apiCode, "API", "", kLanguageEnglish));
    }
    if (flags & kApiErrorOs) {
        gRecord.osCode = osCode;
        AppendPart(gRecord, Part(kSourceWindows, osCode, "OS", "", kLanguageEnglish));
    }
    if (flags & kApiErrorDriver) {
        gRecord.driverCode = driverCode;
        AppendPart(gRecord, DriverPart(prane, driverCode, "", kLanguageEnglish));
    }
    if (flags & kApiErrorController) {
        gRecord.controllerCode = controllerCode;
        AppendPart(gRecord, prane ? Part(kSourcePraneController, controllerCode, "Prane controller",
                                         "", kLanguageEnglish)
                                  : RhoskControllerPart(controllerCode, controllerMessage,
                                                        controllerText, "", kLanguageEnglish));
    }
    if (controllerText != nullptr) {
        bytes::CopyText(gRecord.controllerText, kControllerTextSize, controllerText);
    }
}

void Get(ApiErrorRecord* out, const char* directory, uint8_t language) {
    if (language != kLanguageEnglish) {
        Recompose(out, directory, language);
        return;
    }
    if (out != nullptr)
        *out = gRecord;
}

void Recompose(ApiErrorRecord* out, const char* directory, uint8_t language) {
    std::memset(gRecord.message, 0, sizeof gRecord.message);
    gRecord.messageLength = 0;
    const bool prane = (gRecord.flags & kApiErrorPrane) != 0;
    const std::string text = StoredControllerText(gRecord);
    if (gRecord.apiCode != 0) {
        AppendPart(gRecord, Part(kSourceApi, gRecord.apiCode, "API", directory, language));
    }
    if (gRecord.osCode != 0) {
        AppendPart(gRecord, Part(kSourceWindows, gRecord.osCode, "OS", directory, language));
    }
    if (gRecord.driverCode != 0) {
        // The newer family's driver part carries the controller's text too.
        std::string part = DriverPart(prane, gRecord.driverCode, directory, language);
        AppendPart(gRecord, prane ? part : part + " " + text);
    }
    if (gRecord.controllerCode != 0) {
        AppendPart(gRecord, prane ? Part(kSourcePraneController, gRecord.controllerCode,
                                         "Prane controller", directory, language)
                                  : RhoskControllerPart(gRecord.controllerCode, nullptr,
                                                        text.c_str(), directory, language));
    }
    if (out != nullptr)
        *out = gRecord;
}

uint32_t GetApiCode() {
    return gRecord.apiCode;
}

int Fail(uint32_t apiCode) {
    Clear();
    Set(kApiErrorApi, apiCode, 0, 0, 0, nullptr, nullptr);
    return -1;
}

void Restore(const ApiErrorRecord& record) {
    gRecord = record;
}

RecordKeeper::RecordKeeper() : saved_(gRecord) {}

RecordKeeper::~RecordKeeper() {
    Restore(saved_);
}

}  // namespace ApiError

namespace ApiUtil {

void CopyBytes(void* destination, const void* source, int32_t count) {
    auto* d = static_cast<uint8_t*>(destination);
    const auto* s = static_cast<const uint8_t*>(source);
    for (int32_t i = 0; i < count; ++i)
        d[i] = s[i];
}

void FillBytes(void* destination, uint8_t value, int32_t count) {
    auto* d = static_cast<uint8_t*>(destination);
    for (int32_t i = 0; i < count; ++i)
        d[i] = value;
}

int TrimWhitespace(char* text) {
    if (text == nullptr)
        return 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
    const std::size_t length = std::strlen(text);
    std::size_t first = 0;
    while (first < length && blank(text[first]))
        ++first;
    std::size_t last = length;  // one past the last kept character
    while (last > first && blank(text[last - 1]))
        --last;
    std::memmove(text, text + first, last - first);
    text[last - first] = '\0';
    return static_cast<int>(length - (last - first));
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (needed > 0) {
        text.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(&text[0], text.size(), format, args);
        text.resize(static_cast<std::size_t>(needed));
    }
    va_end(args);
    return text;
}

}  // namespace ApiUtil
