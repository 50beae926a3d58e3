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
#include "base/kv_exception.h"
#include "base/object.h"
#include "base/shell_words.h"

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

namespace element_help {

// Help topics of the shell's help object: a topic for one command word
// ("all", "show", "set" ...), or fixed help lines.
using Topic = void (Help::*)(const std::string&);
using Lines = void (Help::*)();

// An element class's help of one kind: `ses` in an SES enclosure (the
// topic of an enclosure under a controller), `other` in any other one.
template <class T>
struct ByProtocol {
    T ses;
    T other;
};

}  // namespace element_help

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
    using HelpTopic = element_help::Topic;
    using HelpLines = element_help::Lines;

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
    static int runShowSet(Element& element, std::istream& words, CliCode syntaxCode,
                          CliCode otherCode, HelpTopic topic);

    // How a handler's word loop goes on after "help" or "?".
    enum class AfterHelp { GoOn, End };

    // The words after "show" of Fan, Slot, TempSensor and PowerSupply: with
    // none, the element's row after the table header. Otherwise each word
    // in turn: "help" or "?" runs `help`, after which reading goes on or
    // ends by `afterHelp`; "identify", where `identifyOffered`, prints the
    // identify line; any other word throws CLI `badWord`.
    template <class Element, class PrintHelp>
    static void runShow(Element& element, std::istream& words, AfterHelp afterHelp, PrintHelp help,
                        bool identifyOffered, CliCode badWord);

    // The words of a handler ("set" and "show"), each in turn: "help" or
    // "?" runs `help`, after which reading goes on or ends by `afterHelp`;
    // any other word goes to `other`.
    template <class PrintHelp, class Other>
    static void runWords(std::istream& words, AfterHelp afterHelp, PrintHelp help, Other other);
    // The identify attribute of "set": a word containing "identify=" runs
    // the element's identify setter with its value; any other word throws
    // CLI `badWord`.
    template <class Element>
    static void setIdentifyWord(Element& element, const std::string& word, CliCode badWord);
    // A word containing "identify=" asks for the identify setting.
    static bool isIdentifyWord(const std::string& word);

    // Throws CLI `code` when nothing but white space is left.
    static void requireWord(std::istream& words, CliCode code);

    // The topic of `topics` for the owner's protocol.
    template <class Topic>
    [[nodiscard]] Topic helpFor(const element_help::ByProtocol<Topic>& topics) const {
        return inSesEnclosure() ? topics.ses : topics.other;
    }

    // The command word of `execute`: white space skipped, then one word;
    // CLI `syntaxCode` when there is none.
    static std::string commandWord(std::istream& words, CliCode syntaxCode);
    // The stream has no character left (white space is not skipped).
    static bool atStreamEnd(std::istream& words);
    // The value of an attribute word: what follows its first "=", read
    // back as one word (empty when nothing follows).
    static std::string attributeValue(const std::string& word);

    // The library's answer to whether the element's identify indication
    // can be set.
    enum class IdentifySupport { Supported, NotSupported, CheckFailed };
    [[nodiscard]] IdentifySupport identifySupport() const;

    // "on" gives 1 and "off" 0; any other value throws CLI `syntaxCode`.
    static uint8_t identifyValue(const std::string& value, CliCode syntaxCode);

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
    IdentifyChange changeIdentify(const std::string& value, CliCode syntaxCode, const char* label,
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
int EnclosureElement::runShowSet(Element& element, std::istream& words, CliCode syntaxCode,
                                 CliCode otherCode, HelpTopic topic) {
    const std::string word = commandWord(words, syntaxCode);
    if (shell_words::isHelpWord(word)) {
        showHelp(topic, "all");
    } else if (word == "show") {
        element.show(words);
    } else if (word == "set") {
        element.set(words);
    } else {
        throwError(otherCode);
    }
    return 0;
}

template <class Element, class PrintHelp>
void EnclosureElement::runShow(Element& element, std::istream& words, AfterHelp afterHelp,
                               PrintHelp help, bool identifyOffered, CliCode badWord) {
    if (!shell_words::hasMoreWords(words)) {
        element.showRow(true);
        return;
    }
    runWords(words, afterHelp, help, [&](const std::string& word) {
        if (!identifyOffered || word != "identify")
            throwError(badWord);
        element.printIdentifyStatus(element.getIdentifyText());
    });
}

template <class PrintHelp, class Other>
void EnclosureElement::runWords(std::istream& words, AfterHelp afterHelp, PrintHelp help,
                                Other other) {
    std::string word;
    while (words >> word) {
        if (shell_words::isHelpWord(word)) {
            help();
            if (afterHelp == AfterHelp::End)
                return;
        } else {
            other(word);
        }
    }
}

template <class Element>
void EnclosureElement::setIdentifyWord(Element& element, const std::string& word, CliCode badWord) {
    if (!isIdentifyWord(word))
        throwError(badWord);
    element.setIdentify(attributeValue(word));
}
