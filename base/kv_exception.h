// The program's one exception type. Every command error travels as a
// KV_Exception up to the shell, which prints its message. It is thrown by
// value and deliberately not derived from std::exception, so that the
// program's own errors and standard-library failures are told apart. The
// objects raise it with throwError (a CLI code) and throwApiError (the
// library's last error), declared below.
#pragma once

#include <cstdint>
#include <string>

#include "base/cli_codes.h"

class KV_Exception {
  public:
    // An empty message.
    KV_Exception();
    // The catalog message of a CLI code: "Error: (CLI:NNN) text".
    explicit KV_Exception(int code);
    // A ready text, such as the library's composed error message. A null
    // text reads "Invalid Error Message.", an empty one "An Unknown Error
    // Occurred.".
    explicit KV_Exception(const char* text);
    explicit KV_Exception(const std::string& message);
    // A message with two further texts and a number carried with it.
    KV_Exception(const std::string& message, const std::string& second, const std::string& third,
                 unsigned value);
    KV_Exception(const KV_Exception&) = default;
    KV_Exception& operator=(const KV_Exception&) = default;
    virtual ~KV_Exception() = default;

    // Appends one line end to the stored message, keeps the longer text and
    // returns it: every call adds one more "\n".
    std::string getMessage();

  private:
    std::string message_;
    // Carried with the error for whoever catches it. Only the message is
    // ever shown: nothing in the program reads these.
    [[maybe_unused]] std::string second_;
    [[maybe_unused]] std::string third_;
    [[maybe_unused]] uint32_t value_ = 0;
    [[maybe_unused]] uint32_t code_ = 0;  // the CLI code the exception was made of
};

// The error of a controller's management lock that could not be released
// after a change that was made and reported as done. The handlers that end
// a failed change's line with "Failed." let it pass.
class KV_LockNotReleased : public KV_Exception {
  public:
    using KV_Exception::KV_Exception;
};

// Throws the KV_Exception of a CLI code.
[[noreturn]] void throwError(CliCode code);
// Turns the library's last error into a KV_Exception with its composed
// message; the one way a failed library call becomes an error.
[[noreturn]] void throwApiError();
// The composed message of the library's last error as the shell prints it
// (newline included), for a report that goes on after a failed read.
std::string apiErrorMessage();
// Ends a change the library made under the controller's management lock,
// once it was reported as done: when the lock could not be released
// (kApiChangedLockHeld), throws the release's error as a KV_LockNotReleased.
void requireLockReleased(int result);
