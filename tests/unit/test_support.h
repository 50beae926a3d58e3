// What many unit tests share: what a call prints on a stream, the message
// of the KV_Exception it throws, the CLI message of a code, the message of
// an audit log line, and the library's process-wide state reset around an
// emulated machine.
#pragma once

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/kv_exception.h"
#include "controllers/controller_mgr.h"

namespace emulator {
class EmulatedHost;
}

namespace test_support {

// Sends what `stream` receives into a string while alive.
class StreamCapture {
  public:
    explicit StreamCapture(std::ostream& stream = std::cout)
        : stream_(stream), saved_(stream.rdbuf(text_.rdbuf())) {}
    ~StreamCapture() { stream_.rdbuf(saved_); }
    StreamCapture(const StreamCapture&) = delete;
    StreamCapture& operator=(const StreamCapture&) = delete;

    [[nodiscard]] std::string text() const { return text_.str(); }

  private:
    std::ostream& stream_;
    std::ostringstream text_;
    std::streambuf* saved_;
};

// What `f` writes on standard output. An exception from `f` passes on,
// with standard output restored.
template <class F>
std::string Output(F f) {
    StreamCapture out(std::cout);
    f();
    return out.text();
}

// What a call wrote on standard output, and the message of the
// KV_Exception that ended it (none when it returned).
struct Outcome {
    std::string out;
    std::optional<std::string> error;
};

template <class F>
Outcome Run(F f) {
    Outcome outcome;
    StreamCapture out(std::cout);
    try {
        f();
    } catch (KV_Exception& error) {
        outcome.error = error.getMessage();
    }
    outcome.out = out.text();
    return outcome;
}

// The message of the KV_Exception that `f` throws, or "none".
template <class F>
std::string ErrorOf(F f) {
    try {
        f();
    } catch (KV_Exception& error) {
        return error.getMessage();
    }
    return "none";
}

// The message of a KV_Exception built from CLI `code`.
std::string Cli(int code);

// The message of an audit log line (without its line end): the local time
// as ctime writes it ("Wed Jun 30 21:49:08 1993"), " CLI [", the message
// and "]". A line of another form gives "not an audit line: " and the line.
std::string AuditLineMessage(const std::string& line);

// The library as a new process finds it: no controllers in the driver's
// table or the OS layer's list, an empty error record.
void ResetLibrary();

// Installs the emulated machine `state`, held in memory with its files in
// the test's temporary folder, as the process's host, on a reset library.
emulator::EmulatedHost& InstallEmulatedHost(const nlohmann::json& state);

// The texts of the host files among the test fixtures (KV_TEST_FIXTURES):
// every .json file there, faulty ones included. A folder without any, or
// a file that cannot be read or is empty, fails the calling test.
std::vector<std::string> FixtureHostTexts();

// A test over an emulated machine and the controller manager that
// discovered it; the host and the library are reset after each test.
class ControllerMgrTest : public ::testing::Test {
  protected:
    void TearDown() override;

    // Installs the machine and discovers it (an exception of the
    // discovery passes on).
    ControllerMgr& Discover(const nlohmann::json& machine);

    std::unique_ptr<ControllerMgr> mgr;
};

}  // namespace test_support
