// What the command objects of an enclosure's elements share: fans, drive
// slots, temperature sensors, power supplies, alarms and door locks. An
// element is owned by its enclosure and holds only its name, path, number
// and identifier; every status and indication is read from the library
// when it is shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>

#include "api/object_id.h"
#include "shell/object.h"
#include "shell/shell_words.h"

class Enclosure;
class Help;

namespace element_texts {

// The text of a code in a table of codes and texts; `other` for a code the
// table does not hold.
struct CodeText {
    uint32_t code;
    const char* text;
};
template <std::size_t N>
const char* textOfCode(const CodeText (&table)[N], uint32_t code, const char* other) {
    for (const CodeText& each : table) {
        if (each.code == code)
            return each.text;
    }
    return other;
}

}  // namespace element_texts

class EnclosureElement : public Object {
  public:
    // Element `number` of `owner`, named `elementName` ("fan3", "edr0" ...);
    // its path is the owner's path, "/" and the name. Makes no library call.
    EnclosureElement(Enclosure* owner, const std::string& elementName, uint32_t elementNumber,
                     ObjectId elementId);
    ~EnclosureElement() override;
    EnclosureElement(const EnclosureElement&) = delete;
    EnclosureElement& operator=(const EnclosureElement&) = delete;

    [[nodiscard]] const std::string& getName() const { return name; }
    [[nodiscard]] const std::string& getPath() const { return path; }
    [[nodiscard]] uint32_t getNumber() const { return number; }
    [[nodiscard]] ObjectId getObjectId() const { return id; }

    // "/c" + the owner's controller number + the path: how progress lines
    // and "show identify" name the element (/c0/e0/fan3).
    [[nodiscard]] std::string getDisplayPath() const;

  protected:
    // Help topics of the shell's help object: a topic for one command word
    // ("all", "show", "set" ...), or fixed help lines.
    using HelpTopic = void (Help::*)(const std::string&);
    using HelpLines = void (Help::*)();

    // A library operation on the element that reads or writes one byte.
    using ByteReader = int (*)(ObjectId, uint8_t*);
    using ByteWriter = int (*)(ObjectId, uint8_t);

    // The owner's protocol text decides which words and columns an element
    // offers.
    [[nodiscard]] bool inSesEnclosure() const;
    [[nodiscard]] bool inSafteEnclosure() const;

    // The `execute` grammar of the elements whose words are "show" and
    // "set": the command word (CLI `syntaxCode` when there is none), then
    // "help" or "?" prints `topic` for "all", "show" and "set" run the
    // element's handlers on the same words, and any other word throws CLI
    // `otherCode`. Returns 0.
    template <class Element>
    static int runShowSet(Element& element, std::istream& words, int syntaxCode, int otherCode,
                          HelpTopic topic);

    // Throws the KV_Exception of a CLI code.
    [[noreturn]] static void throwCode(int code);

    // The command word of `execute`: white space skipped, then one word;
    // CLI `syntaxCode` when there is none.
    static std::string commandWord(std::istream& words, int syntaxCode);
    // The stream has no character left (white space is not skipped).
    static bool atStreamEnd(std::istream& words);
    // The value of an attribute word: what follows its first "=", read
    // back as one word (empty when nothing follows).
    static std::string attributeValue(const std::string& word);

    // The decimal number that `text` begins with (leading blanks and a sign
    // allowed, 0 without digits), kept within the range of a 32-bit number.
    static int leadingNumber(const std::string& text);

    // The library's answer to whether the element's identify indication
    // can be set.
    enum class IdentifySupport { Supported, NotSupported, CheckFailed };
    [[nodiscard]] IdentifySupport identifySupport() const;

    // "on" gives 1 and "off" 0; any other value throws CLI `syntaxCode`.
    static uint8_t identifyValue(const std::string& value, int syntaxCode);

    // The identify text of a cell or a "show identify" line: "N/A" when
    // the library says identify is not supported, else "On" for 1 and
    // "Off" for any other value of `read`; nothing when the read fails.
    [[nodiscard]] std::optional<std::string> readIdentifyText(ByteReader read) const;
    // "/c0/e0/fan3 Identify status = On" and a line end.
    void printIdentifyStatus(const std::string& text) const;

    // Prints "Setting <label> Identify on <display path> to [<value>] ... "
    // and flushes, then asks `write` for 0 or 1. On success prints "Done."
    // and an empty line and returns true; a failure prints nothing more
    // and returns false, leaving the line open.
    bool announceIdentify(const char* label, const std::string& value, uint8_t on,
                          ByteWriter write) const;

    // The identify change of fans, power supplies and temperature sensors:
    // the value first (CLI `syntaxCode`), then the support check, which
    // prints `notSupported` and stops when the library answers 0, then
    // the announced change. Returns false when the library refused it.
    enum class IdentifyChange { NotSupported, Done, Refused };
    IdentifyChange changeIdentify(const std::string& value, int syntaxCode, const char* label,
                                  const char* notSupported, ByteWriter write) const;

    // Prints a help topic through the shell's help object.
    static void showHelp(HelpTopic topic, const std::string& word);
    static void showHelp(HelpLines lines);

    Enclosure* owner;  // not owned; outlives the element
    std::string name;
    std::string path;
    uint32_t number;
    ObjectId id;
};

template <class Element>
int EnclosureElement::runShowSet(Element& element, std::istream& words, int syntaxCode,
                                 int otherCode, HelpTopic topic) {
    const std::string word = commandWord(words, syntaxCode);
    if (shell_words::isHelpWord(word)) {
        showHelp(topic, "all");
    } else if (word == "show") {
        element.show(words);
    } else if (word == "set") {
        element.set(words);
    } else {
        throwCode(otherCode);
    }
    return 0;
}
