#include "base/kv_exception.h"

#include "api/api.h"
#include "base/message_catalog.h"

namespace {

// The composed message of the library's last error.
std::string LastApiMessage() {
    ApiErrorRecord record{};
    Api::GetLastErrorRecord(&record);
    record.message[sizeof record.message - 1] = '\0';
    return record.message;
}

}  // namespace

KV_Exception::KV_Exception() = default;

KV_Exception::KV_Exception(int code) : code_(static_cast<uint32_t>(code)) {
    try {
        message_ = MessageCatalog::getInstance()->formatMessage(code);
    } catch (const KV_Exception& failed) {
        // The catalog could not be built: it reports that with its own
        // fixed text (error 21), which becomes this error's message.
        message_ = failed.message_;
    }
}

KV_Exception::KV_Exception(const char* text) {
    if (text == nullptr) {
        message_ = "Invalid Error Message.";
    } else if (*text == '\0') {
        message_ = "An Unknown Error Occurred.";
    } else {
        message_ = text;
    }
}

KV_Exception::KV_Exception(const std::string& message) : message_(message) {}

KV_Exception::KV_Exception(const std::string& message, const std::string& second,
                           const std::string& third, unsigned value)
    : message_(message), second_(second), third_(third), value_(value) {}

std::string KV_Exception::getMessage() {
    message_ += "\n";
    return message_;
}

void throwError(CliCode code) {
    throw KV_Exception(code);
}

void throwApiError() {
    throw KV_Exception(LastApiMessage().c_str());
}

std::string apiErrorMessage() {
    return KV_Exception(LastApiMessage().c_str()).getMessage();
}

void requireLockReleased(int result) {
    if (result == kApiChangedLockHeld)
        throw KV_LockNotReleased(LastApiMessage().c_str());
}
