// The CLI message catalog: the numbered texts (codes 1 to 164, listed in
// base/cli_codes.def) of the errors that the shell and the object classes
// find themselves. A coded KV_Exception takes its message from here, and
// "help error" lists the whole catalog.
#pragma once

#include <map>
#include <memory>
#include <string>

// One catalog entry.
class Message {
  public:
    Message(int code, const std::string& text, const std::string& secondText);
    virtual ~Message() = default;

    [[nodiscard]] int getCode() const { return code_; }
    [[nodiscard]] std::string getText() const { return text_; }

  private:
    int code_;
    std::string text_;
    std::string secondText_;  // empty in every entry; never printed
};

class MessageCatalog {
  public:
    static constexpr int kFirstCode = 1;
    static constexpr int kLastCode = 164;

    // The one catalog of the process, built on first use. Throws
    // KV_Exception (code 21, with a fixed text) when the entries cannot be
    // allocated; the next call then tries again.
    static MessageCatalog* getInstance();
    // Drops the process-wide catalog so that the next getInstance builds a
    // fresh one (tests).
    static void resetInstance();
    // Makes the next catalog build fail as if memory ran out (tests).
    static void failNextBuildForTesting();

    MessageCatalog();
    virtual ~MessageCatalog() = default;
    MessageCatalog(const MessageCatalog&) = delete;
    MessageCatalog& operator=(const MessageCatalog&) = delete;

    // "Error: (CLI:NNN) text" for a known code; "Error: (CLI:???)" for any
    // other.
    [[nodiscard]] std::string formatMessage(int code) const;
    // Writes every entry to standard output in ascending code order, one
    // formatted message per line.
    void printAll() const;

  private:
    std::map<int, std::unique_ptr<Message>> entries_;
};
