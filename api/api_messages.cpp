#include "api/api_messages.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "api/bytes.h"
#include "api/messages/message_tables.h"
#include "platform/host_system.h"

ApiMessages theApiMessages;

// The names of the message sources, as rows in the order 0-18, 21-24, 26, 25.
extern const MessageRow kSourceNameMessages[] = {
    {0, "None"},
    {1, "Source"},
    {2, "Severity"},
    {3, "Controller"},
    {4, "Controller"},
    {5, "kva"},
    {6, "kv-rxxx"},
    {7, "KivraDrv"},
    {8, "FreeBSD"},
    {9, "Linux"},
    {10, "Windows"},
    {11, "API"},
    {12, "Ostrelplus"},
    {13, "CLI"},
    {14, "Controller"},
    {15, "Controller"},
    {16, "kve"},
    {17, "kv-axxx"},
    {18, "KvDrv100"},
    {21, "Darwin"},
    {22, "kv-rxxx"},
    {23, "kv-axxx"},
    {24, "SunOS"},
    {26, "kv"},
    {25, "No SunOS Prane driver"},
    {kMessageEndCode, ""},
};

extern const MessageRow kUnusedSourceMessages[] = {
    {kMessageEndCode, ""},
};

namespace {

const char kEmpty[] = "";

const char* const kSeverityWords[] = {"ERROR", "WARNING", "INFO", "DEBUG"};  // codes 1-4

const char* const kLanguageCodes[] = {"en", "de", "ja", "tzh", "szh", "fr", "es", "it"};

enum class FilePrefix { None, Kivra, Ostrel };

FilePrefix PrefixOf(uint32_t source) {
    switch (source) {
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
        case 11:
        case 14:
        case 15:
        case 16:
        case 17:
        case 18:
        case 22:
        case 23:
        case 25:
        case 26:
            return FilePrefix::Kivra;
        case 12:
        case 19:
            return FilePrefix::Ostrel;
        default:
            return FilePrefix::None;
    }
}

const char* PrefixText(FilePrefix prefix) {
    return prefix == FilePrefix::Kivra ? "kv_msg_" : "ost_msg_";
}

// A message-file section header "#0x%02X:%d".
bool ParseHeader(const char* line, unsigned* source, int* rows) {
    return line[0] == '#' && std::sscanf(line, "#0x%02X:%d", source, rows) == 2;
}

// A message-file row "0x%04X:" followed by a double quote; *textStart is the
// offset just after that quote.
bool ParseRow(const char* line, unsigned* code, std::size_t* textStart) {
    char quote = 0;
    int consumed = 0;
    if (std::sscanf(line, "0x%04X:%c%n", code, &quote, &consumed) != 2 || quote != '"') {
        return false;
    }
    *textStart = static_cast<std::size_t>(consumed);
    return true;
}

// Closes a message file on every path.
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

const MessageRow* BuiltinMessageTable(uint32_t source) {
    switch (source) {
        case kSourceNames:
            return kSourceNameMessages;
        case kSourceRhoskController:
            return kRhoskControllerMessages;
        case kSourceRhoskEvent:
            return kRhoskEventMessages;
        case kSourceRhoskDriver:
            return kRhoskDriverMessages;
        case kSourceApi:
            return kApiMessages;
        case kSourceOstrel:
        case kSourceCli:
        case kSourceOstrelTexts:
            return kUnusedSourceMessages;
        case kSourcePraneController:
            return kPraneControllerMessages;
        case kSourcePraneEvent:
            return kPraneEventMessages;
        case kSourcePraneDriver:
            return kPraneDriverMessages;
        default:
            return nullptr;
    }
}

const char* MessageLanguageCode(uint8_t language) {
    return language < sizeof kLanguageCodes / sizeof kLanguageCodes[0] ? kLanguageCodes[language]
                                                                       : nullptr;
}

const char* ApiMessages::LookupMessage(uint32_t source, uint32_t code, const char* directory,
                                       uint8_t language) {
    if (source == kSourceNone || source > kSourceLast)
        return kEmpty;
    busy_ = true;
    ring_[next_].reset();

    char fileText[kMessageTextSize];
    const char* text = kEmpty;
    if (language != kLanguageEnglish) {
        text = FindFileText(fileText, source, code, directory, language);
    }
    if (text[0] == '\0')
        text = FindBuiltinText(source, code);
    if (text[0] == '\0') {
        busy_ = false;
        return kEmpty;
    }

    const std::size_t size = std::strlen(text) + 32;
    ring_[next_] = std::make_unique<char[]>(size);
    char* out = ring_[next_].get();
    if (source == kSourcePraneEvent && text[0] >= '0' && text[0] <= '9') {
        // Older-family event texts carry their severity digit in front; it
        // moves in front of the prefix.
        std::snprintf(out, size, "%c(0x%02X:0x%04X): %s", text[0], source, code, text + 1);
    } else if (source == kSourceOstrelTexts) {
        std::snprintf(out, size, "%s", text);
    } else {
        std::snprintf(out, size, "(0x%02X:0x%04X): %s", source, code, text);
    }
    next_ = static_cast<uint8_t>((next_ + 1) % kRingSize);
    busy_ = false;
    return out;
}

const char* ApiMessages::FindBuiltinText(uint32_t source, uint32_t code) {
    if (source == kSourceSeverity) {
        return (code >= 1 && code <= 4) ? kSeverityWords[code - 1] : kEmpty;
    }
    if (source == kSourceWindows) {
        const std::string text = platform::Host().formatMessage(code);
        bytes::CopyText(windowsText_, sizeof windowsText_, text.c_str(), text.size());
        return windowsText_;
    }
    const MessageRow* row = BuiltinMessageTable(source);
    if (row == nullptr)
        return kEmpty;
    while (row->code != code && row->code != kMessageEndCode)
        ++row;
    return row->text;
}

char* ApiMessages::FindFileText(char* buffer, uint32_t source, uint32_t code, const char* directory,
                                uint8_t language) {
    buffer[0] = '\0';
    const char* languageCode = MessageLanguageCode(language);
    const FilePrefix prefix = PrefixOf(source);
    if (languageCode == nullptr || prefix == FilePrefix::None || directory == nullptr) {
        return buffer;
    }
    const std::string path = std::string(directory) + "/" + PrefixText(prefix) + languageCode;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r"));
    if (!file)
        return buffer;

    char line[kMessageTextSize];
    for (;;) {
        unsigned sectionSource = 0;
        int rows = 0;
        if (std::fgets(line, sizeof line, file.get()) == nullptr ||
            !ParseHeader(line, &sectionSource, &rows)) {
            return buffer;
        }
        if (sectionSource == source)
            break;
        for (int i = 0; i < rows; ++i) {
            if (std::fgets(line, sizeof line, file.get()) == nullptr)
                return buffer;
        }
    }
    // The wanted source's first section: rows until one matches.
    while (std::fgets(line, sizeof line, file.get()) != nullptr) {
        unsigned rowCode = 0;
        std::size_t start = 0;
        if (!ParseRow(line, &rowCode, &start))
            return buffer;
        if (rowCode != code)
            continue;
        // The text runs to the last double quote on the line; a row without
        // a closing one has an empty text.
        const char* closing = std::strrchr(line + start, '"');
        const std::size_t length = closing == nullptr ? 0 : closing - (line + start);
        bytes::CopyText(buffer, kMessageTextSize, line + start, length);
        return buffer;
    }
    return buffer;
}

void ApiMessages::reset() {
    for (auto& slot : ring_)
        slot.reset();
    next_ = 0;
    busy_ = false;
}
