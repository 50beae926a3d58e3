// The library's message tables: every message has a MessageSource (which
// part of the system reported it) and a code within that source. The texts
// come from built-in English tables, or, for another language, from a
// per-language message file with the built-in table as fallback.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

// MessageSource: the first number of every library message.
enum MessageSource : uint32_t {
    kSourceNone = 0,
    kSourceNames = 1,
    kSourceSeverity = 2,
    kSourceRhoskController = 3,
    kSourceRhoskEvent = 4,
    kSourceRhoskDriver = 7,
    kSourceWindows = 10,
    kSourceApi = 11,
    kSourceOstrel = 12,
    kSourceCli = 13,
    kSourcePraneController = 14,
    kSourcePraneEvent = 15,
    kSourcePraneDriver = 18,
    kSourceOstrelTexts = 19,
    kSourceLast = 26,
};

// MessageLanguage: 0 English from the built-in tables; 1-7 a message file.
enum MessageLanguage : uint8_t {
    kLanguageEnglish = 0,
    kLanguageGerman = 1,
    kLanguageJapanese = 2,
    kLanguageTraditionalChinese = 3,
    kLanguageSimplifiedChinese = 4,
    kLanguageFrench = 5,
    kLanguageSpanish = 6,
    kLanguageItalian = 7,
};

// One row of a built-in table. A table ends with the row {kEndCode, ""}.
struct MessageRow {
    uint32_t code;
    const char* text;
};
constexpr uint32_t kMessageEndCode = 0xFFFFFFFFu;

// Size of the buffer that FindFileText fills (lines of a message file are
// at most 1023 characters).
constexpr std::size_t kMessageTextSize = 1024;

class ApiMessages {
  public:
    static constexpr std::size_t kRingSize = 10;

    constexpr ApiMessages() = default;
    ~ApiMessages() = default;
    ApiMessages(const ApiMessages&) = delete;
    ApiMessages& operator=(const ApiMessages&) = delete;

    // The display text "(0x%02X:0x%04X): %s" of source and code, or an empty
    // text when there is none. The text lives in a ring of ten slots and is
    // freed by the tenth further lookup: callers copy it at once.
    const char* LookupMessage(uint32_t source, uint32_t code, const char* directory,
                              uint8_t language);

    // The raw built-in text of source and code, or an empty text. The
    // Windows source's text is the host system's message for the code.
    const char* FindBuiltinText(uint32_t source, uint32_t code);

    // The raw text of source and code from the message file of `language`
    // in `directory`, copied to the start of `buffer` (kMessageTextSize
    // bytes); an empty text in the buffer when there is none. Returns buffer.
    char* FindFileText(char* buffer, uint32_t source, uint32_t code, const char* directory,
                       uint8_t language);

    // Frees every ring string and starts the ring again (tests).
    void reset();

  private:
    bool busy_ = false;
    std::array<std::unique_ptr<char[]>, kRingSize> ring_{};
    uint8_t next_ = 0;
    char windowsText_[kMessageTextSize] = {};
};

// The process-wide message tables object (constant-initialised, so it is
// ready before any other start-up object needs it).
extern ApiMessages theApiMessages;

// The built-in table of a source, or null for a source without one.
const MessageRow* BuiltinMessageTable(uint32_t source);

// The file-name code of a language ("en", "de", ... "it"), or null past 7.
const char* MessageLanguageCode(uint8_t language);
