#include "shell/kv_exception.h"

#include "shell/message_catalog.h"

KV_Exception::KV_Exception() = default;

KV_Exception::KV_Exception(int code) {
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

KV_Exception::KV_Exception(const std::string& message, const std::string& /*second*/,
                           const std::string& /*third*/, unsigned /*value*/)
    : message_(message) {}

std::string KV_Exception::getMessage() {
    message_ += "\n";
    return message_;
}
