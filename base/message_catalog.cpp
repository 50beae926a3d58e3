#include "base/message_catalog.h"

#include <cstdio>
#include <iostream>
#include <new>
#include <utility>

#include "base/cli_codes.h"
#include "base/kv_exception.h"

namespace {

struct CatalogEntry {
    int code;
    const char* text;
};

constexpr CatalogEntry kEntries[] = {
#define CLI_CODE(number, name, text) {name, text},
#include "base/cli_codes.def"
#undef CLI_CODE
};
static_assert(sizeof(kEntries) / sizeof(kEntries[0]) ==
                  MessageCatalog::kLastCode - MessageCatalog::kFirstCode + 1,
              "one catalog entry per code");

const char kPrefix[] = "Error: (CLI:";

// The message of a coded error: the prefix, the code in at least three
// zero-filled digits, ") " and the text.
std::string composeMessage(int code, const std::string& text) {
    char number[16];
    std::snprintf(number, sizeof(number), "%.3d", code);
    return std::string(kPrefix) + number + ") " + text;
}

// The text of a code as the list gives it. Error 21 raised while the
// catalog itself is being built cannot look its text up in the catalog; it
// takes it from here.
constexpr const char* listedText(int code) {
    for (const CatalogEntry& entry : kEntries) {
        if (entry.code == code) {
            return entry.text;
        }
    }
    return "";
}

std::unique_ptr<MessageCatalog>& instance() {
    static std::unique_ptr<MessageCatalog> catalog;
    return catalog;
}

bool failNextBuild = false;

}  // namespace

Message::Message(int code, const std::string& text, const std::string& secondText)
    : code_(code), text_(text), secondText_(secondText) {}

MessageCatalog::MessageCatalog() {
    try {
        if (failNextBuild) {
            failNextBuild = false;
            throw std::bad_alloc();
        }
        for (const CatalogEntry& entry : kEntries) {
            entries_[entry.code] = std::make_unique<Message>(entry.code, entry.text, "");
        }
    } catch (const std::bad_alloc&) {
        throw KV_Exception(composeMessage(kInstantiationFailed, listedText(kInstantiationFailed)));
    }
}

MessageCatalog* MessageCatalog::getInstance() {
    std::unique_ptr<MessageCatalog>& catalog = instance();
    if (!catalog) {
        // Stored only once fully built: a failed build leaves the pointer
        // unset and the next call starts again.
        auto built = std::make_unique<MessageCatalog>();
        catalog = std::move(built);
    }
    return catalog.get();
}

void MessageCatalog::resetInstance() {
    instance().reset();
}

void MessageCatalog::failNextBuildForTesting() {
    failNextBuild = true;
}

std::string MessageCatalog::formatMessage(int code) const {
    auto found = entries_.find(code);
    if (found == entries_.end()) {
        return std::string(kPrefix) + "\?\?\?)";
    }
    return composeMessage(found->second->getCode(), found->second->getText());
}

void MessageCatalog::printAll() const {
    for (const auto& [code, message] : entries_) {
        std::cout << composeMessage(code, message->getText()) << std::endl;
    }
}
