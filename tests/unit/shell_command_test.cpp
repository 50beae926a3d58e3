// The shell on a scripted host: its settings and host name, the command
// processor with its error codes, address resolution and the focus.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "api/audit_log.h"
#include "base/kv_exception.h"
#include "controllers/controller_mgr.h"
#include "fake_host.h"
#include "shell/shell.h"
#include "test_support.h"

namespace shell_command_test {
namespace {

const char* const kSettingVariables[] = {"KV_CLI_STYLE", "KV_CLI_INPUT_STYLE", "KV_CLI_LOG"};

// Sets the shell's environment variables for one test and restores them.
class ScopedEnvironment {
  public:
    ScopedEnvironment() {
        for (const char* name : kSettingVariables) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name, value->c_str(), 1);
            } else {
                unsetenv(name);
            }
        }
    }
    void set(const char* name, const char* value) { setenv(name, value, 1); }

  private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host_->hostName = "myhost";
        host_->domain = "example.com";
    }
    void TearDown() override {
        theShell = nullptr;
        ResetAuditLog();
    }

    Shell& makeShell() {
        shell_ = std::make_unique<Shell>();
        theShell = shell_.get();
        return *shell_;
    }

    // What one command line did: its output, and its error message (empty
    // when it succeeded).
    struct Outcome {
        bool goOn = true;
        std::string out;
        std::string error;
    };
    Outcome run(const std::string& line) {
        Outcome outcome;
        std::stringstream words(line);
        const test_support::Outcome ran =
            test_support::Run([&] { outcome.goOn = shell_->processCommand(words); });
        outcome.out = ran.out;
        outcome.error = ran.error.value_or("");
        return outcome;
    }

    ScopedFakeHost host_;
    ScopedEnvironment environment_;
    std::unique_ptr<Shell> shell_;
};

const std::string kNoController =
    "\nNo controller found.\nMake sure appropriate Orvo/Kivra device driver(s) are loaded.\n";

using test_support::Cli;

TEST_F(ShellTest, SettingsFromTheEnvironment) {
    struct Case {
        const char* style;
        const char* input;
        const char* log;
        bool newOutput;
        bool newInput;
        bool logging;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, true, true, true}, {"old", "Old", "off", false, false, false},
        {"OLD", "OLD", "OFF", false, false, false},    {"", "", "", true, true, true},
        {"new", "older", "no", true, true, true},
    };
    for (const Case& c : cases) {
        const std::pair<const char*, const char*> values[] = {
            {"KV_CLI_STYLE", c.style}, {"KV_CLI_INPUT_STYLE", c.input}, {"KV_CLI_LOG", c.log}};
        for (const auto& [name, value] : values) {
            if (value) {
                environment_.set(name, value);
            } else {
                unsetenv(name);
            }
        }
        Shell& shell = makeShell();
        EXPECT_EQ(shell.isNewOutputStyle(), c.newOutput) << c.style;
        EXPECT_EQ(shell.isNewInputStyle(), c.newInput) << c.input;
        EXPECT_EQ(shell.isLogging(), c.logging) << c.log;
        // The audit log is made with the shell's decision.
        ASSERT_NE(theAuditLog, nullptr);
        EXPECT_EQ(theAuditLog->tag(), "CLI");
        EXPECT_EQ(theAuditLog->path(), "C:\\ProgramData\\Orvo\\kv_mgmt.log");
        EXPECT_EQ(theAuditLog->enabled(), c.logging) << c.log;
    }
}

TEST_F(ShellTest, LogPathJoinsTheDataFolderWithThePlatformSeparator) {
    Shell& shell = makeShell();
    EXPECT_EQ(Shell::getLogFilePath(), "C:\\ProgramData\\Orvo\\kv_mgmt.log");
    (void)shell;
    // A folder that fills the whole path buffer still gets the file name.
    host_->commonAppData = "C:\\" + std::string(250, 'd');
    const std::string path = Shell::getLogFilePath();
    EXPECT_GT(path.size(), 260u);
    EXPECT_EQ(path.substr(path.size() - 12), "\\kv_mgmt.log");
}

TEST_F(ShellTest, HostNameAndFirstFocus) {
    struct Case {
        std::string hostName;
        std::string domain;
        std::string focus;
        std::string fullName;
        std::string err;
    };
    const Case cases[] = {
        {"myhost", "example.com", "//myhost", "myhost.example.com", ""},
        {"myhost", "", "//myhost", "myhost", ""},
        {"my host", "example.com", "//localhost", "localhost", ""},
        {"my\thost", "", "//localhost", "localhost", ""},
        {"myhost", "ex ample.com", "//myhost", "myhost.ex ample.com", ""},
        {"", "", "//localhost", "localhost", ""},
        {std::string(300, 'h'), "", "//localhost", "localhost", "could not get hostname\n"},
    };
    for (const Case& c : cases) {
        host_->hostName = c.hostName;
        host_->domain = c.domain;
        const test_support::StreamCapture err(std::cerr);
        Shell& shell = makeShell();
        EXPECT_EQ(shell.getFocus(), c.focus) << c.hostName;
        EXPECT_EQ(shell.getPrompt(), c.focus + "> ");
        EXPECT_EQ(shell.getHostName(false), c.fullName);
        EXPECT_EQ(err.text(), c.err);
    }
}

TEST_F(ShellTest, AdministratorCheck) {
    Shell& shell = makeShell();
    EXPECT_TRUE(shell.checkAdministrator());
    host_->administrator = false;
    try {
        shell.checkAdministrator();
        FAIL() << "no error for a non-administrator";
    } catch (KV_Exception& error) {
        EXPECT_EQ(error.getMessage(), Cli(1));
    }
}

struct CommandCase {
    bool oldInputStyle;
    const char* line;
    std::string out;  // what the command writes on success
    int error;        // the CLI error it raises, 0 for none
    bool goOn = true;
};

TEST_F(ShellTest, CommandProcessor) {
    const std::string versions = "CLI Version = 2.00.09.012\nAPI Version = 2.06.00.012\n";
    const CommandCase cases[] = {
        // The shell's own words.
        {false, "", "", 0},
        {false, "# note", "", 0},
        {false, "quit", "", 0, false},
        {false, "quit extra words", "", 0, false},
        {false, "exit", "", 0, false},
        {false, "q", "", 0, false},
        {false, "#comment", "", 41},
        // Root commands under the focus, and every command ends with one
        // empty line.
        {false, "show", kNoController + "\n", 0},
        {false, "//myhost show", kNoController + "\n", 0},
        {false, "//MyHost.Example.COM show", kNoController + "\n", 0},
        {false, "show ver", versions + "\n", 0},
        {false, "show version ver", versions + versions + "\n", 0},
        {false, "show alarms reverse diag rebuild verify selftest",
         "\nCtl  Date                        Severity  Alarm Message\n" + std::string(78, '-') +
             "\n\n",
         0},
        {false, "show bogus", "", 41},
        {false, "set", "", 14},
        {false, "flush", "\n", 0},
        {false, "commit", "\n", 0},
        {false, "rescan", "\n", 0},
        {false, "rescan noscan", "\n", 0},
        {false, "flush c0", "", 91},
        {false, "commit c0", "", 93},
        {false, "rescan x", "", 89},
        {false, "rescan noscan x", "", 89},
        {false, "update", "", 92},
        {false, "update x", "", 92},
        {false, "update fw=image.img", "", 23},
        {false, "shutdown", "", 41},
        {false, "//myhost", "", 43},
        {false, "//myhost bogus", "", 41},
        {false, "//other show", "", 54},
        // Old-style words taken in both input styles.
        {false, "info", kNoController + "\n", 0},
        {false, "info x", "", 12},
        {false, "info c0", "", 3},
        {false, "maint", "", 16},
        {false, "maint foo", "", 16},
        {false, "maint rescan", "\n\n", 0},
        {false, "maint shutdown c0", "", 3},
        {false, "maint flush", "", 3},
        {false, "alarms", "\n", 0},
        // Old input style: no focus, old-style root words.
        {true, "show", kNoController + "\n", 0},
        {true, "flush", "\n", 0},
        {true, "commit", "\n", 0},
        {true, "shutdown", "\n", 0},
        {true, "flush c0", "", 3},
        {true, "commit c0", "", 3},
        {true, "flush c0 ?", "", 91},
        {true, "set", "", 14},
        {true, "update", "", 92},
        {true, "rescan", "\n\n", 0},
        {true, "remove c0", "", 3},
        {true, "rebuild", "", 3},
        {true, "bogus", "", 41},
        {true, "cf c0", "", 55},
        {true, "/c0 show", "", 3},
    };
    for (const CommandCase& c : cases) {
        if (c.oldInputStyle) {
            environment_.set("KV_CLI_INPUT_STYLE", "old");
        } else {
            unsetenv("KV_CLI_INPUT_STYLE");
        }
        makeShell();
        Outcome outcome = run(c.line);
        EXPECT_EQ(outcome.goOn, c.goOn) << c.line;
        EXPECT_EQ(outcome.error, c.error ? Cli(c.error) : "") << c.line;
        EXPECT_EQ(outcome.out, c.out) << c.line;
        // The command's controller manager is gone afterwards, whether the
        // command succeeded or failed.
        EXPECT_EQ(shell_->getControllerMgr(), nullptr) << c.line;
    }
}

TEST_F(ShellTest, HelpWordsPrintHelpWithoutAnEmptyLineAfter) {
    const char* const lines[] = {
        "help",        "?",           "show help", "flush ?", "rescan noscan help",
        "commit help", "update help", "info help", "maint ?"};
    for (const char* line : lines) {
        makeShell();
        Outcome outcome = run(line);
        EXPECT_EQ(outcome.error, "") << line;
        EXPECT_FALSE(outcome.out.empty()) << line;
    }
    environment_.set("KV_CLI_INPUT_STYLE", "old");
    makeShell();
    Outcome oldStyle = run("flush help");
    EXPECT_EQ(oldStyle.error, "");
    EXPECT_EQ(oldStyle.out, run("//myhost flush help").out);
}

TEST_F(ShellTest, AddressResolution) {
    const std::pair<const char*, int> cases[] = {
        {"/", 43},
        {"//", 43},
        {"///", 43},
        {"//other", 54},
        {"//other/c0", 54},
        {"/x0", 2},
        {"/myhost/c0", 2},
        {"/c0", 3},
        {"/c9/u0", 3},
        {"/c0/bbu", 3},
        {"/c0/phy1", 3},
        {"/c0/p1", 3},
        {"/c0/e0", 3},
        {"/c0/e0/slt2", 3},
        {"/c0/e0/slot2", 3},
        {"/c0/x1", 2},
        {"/c0/u0/extra", 2},
        {"/c0/bbu/x", 2},
        {"/c0/bbux", 2},
        {"/c0/e0/foo", 2},
        {"/c0/e0/fan1/x", 2},
        {"/e0", 112},
        {"/e0/fan1", 112},
        {"/e0/door1", 112},
        {"/e0/edr1", 112},
        {"/e0/slt1", 2},
        {"/e0/foo", 2},
        {"/e0/fan1/extra", 2},
        {"//myhost/c0/u0", 3},
    };
    Shell& shell = makeShell();
    ControllerMgr mgr;
    for (const auto& [address, code] : cases) {
        try {
            shell.getObject(&mgr, address);
            ADD_FAILURE() << address << " resolved";
        } catch (KV_Exception& error) {
            EXPECT_EQ(error.getMessage(), Cli(code)) << address;
        } catch (...) {
            ADD_FAILURE() << address << ": not a KV_Exception";
        }
    }
    EXPECT_EQ(shell.getObject(&mgr, "//myhost"), &shell);
    EXPECT_EQ(shell.getObject(&mgr, "//MYHOST"), &shell);
    EXPECT_EQ(shell.getObject(&mgr, "//myhost.example.com/"), &shell);
}

TEST_F(ShellTest, FocusCommand) {
    Shell& shell = makeShell();
    const std::pair<const char*, int> failing[] = {
        {"cf", 42},   {"cf c0 c1", 42}, {"focus //", 44}, {"cf /x", 44},      {"cf ../u1", 2},
        {"cf c9", 3}, {"cf /c9", 3},    {"cf /e0", 112},  {"cf //other", 54}, {"cf //other/c0", 54},
    };
    for (const auto& [line, code] : failing) {
        Outcome outcome = run(line);
        EXPECT_EQ(outcome.error, Cli(code)) << line;
        EXPECT_EQ(shell.getFocus(), "//myhost") << line;
    }

    const std::pair<const char*, const char*> moves[] = {
        {"cf ..", "//myhost"},
        {"cf /", "//myhost"},
        {"cf //myhost.example.com", "//myhost.example.com"},
        {"cf ..", "//myhost.example.com"},
        {"focus //MYHOST", "//MYHOST"},
        {"cf /", "//MYHOST"},
    };
    for (const auto& [line, focus] : moves) {
        Outcome outcome = run(line);
        EXPECT_EQ(outcome.error, "") << line;
        EXPECT_EQ(outcome.out, "\n") << line;
        EXPECT_EQ(shell.getFocus(), focus) << line;
    }
    EXPECT_EQ(shell.getPrompt(), "//MYHOST> ");
}

TEST_F(ShellTest, QualifyCommand) {
    Shell& shell = makeShell();
    const std::pair<const char*, const char*> cases[] = {
        {"show", "//myhost show"},
        {"./u1 show", "//myhost/u1 show"},
        {"/c0/u0 show", "/c0/u0 show"},
        {"//myhost/c0 show", "//myhost/c0 show"},
        {"", "//myhost "},
    };
    for (const auto& [in, out] : cases) {
        std::string line = in;
        shell.qualifyCommand(line);
        EXPECT_EQ(line, out) << in;
    }
    environment_.set("KV_CLI_INPUT_STYLE", "OLD");
    Shell& oldStyle = makeShell();
    std::string line = "show";
    oldStyle.qualifyCommand(line);
    EXPECT_EQ(line, "show");
}

}  // namespace
}  // namespace shell_command_test
