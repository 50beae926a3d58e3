#include "shell_session.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

#include "base/kv_exception.h"
#include "fuzz_support.h"
#include "platform/host_system.h"
#include "shell/shell.h"

namespace fuzz {

namespace {

const char* const kHostFiles[] = {
    "",  // the built-in default host
    "shapes/host.json",
    "enclosures/host.json",
    "prane/older_only.json",
    "unitcmd/units.json",
    "events/host.json",
    "phy/phys.json",
    "ctlviews/views.json",
};

void SetSetting(const char* name, bool on, const char* value) {
    if (on)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

}  // namespace

std::string KeepFilesInFolder(const std::string& text) {
    // "fw", blanks, "=", blanks, the name: the shell joins them into one
    // "fw=" word whatever the case and the white space between them.
    auto lower = [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    };
    auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    std::string out = text;
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        if (lower(out[i]) != 'f' || lower(out[i + 1]) != 'w')
            continue;
        std::size_t j = i + 2;
        while (j < out.size() && blank(out[j]))
            ++j;
        if (j >= out.size() || out[j] != '=')
            continue;
        ++j;
        while (j < out.size() && blank(out[j]))
            ++j;
        for (; j < out.size() && !blank(out[j]); ++j) {
            if (out[j] == '/' || out[j] == '\\')
                out[j] = '_';
        }
    }
    return out;
}

namespace {

void RunShell(Shell& shell, const SessionOptions& options, const std::string& text) {
    shell.checkAdministrator();
    switch (options.mode) {
        case RunMode::OneShot: {
            std::string line = text;
            Shell::normalizeLine(line);
            std::stringstream words(Shell::prepareWords(line));
            (void)shell.processCommand(words);
            break;
        }
        case RunMode::Prompt: {
            std::istringstream typed(text);
            std::streambuf* saved = std::cin.rdbuf(typed.rdbuf());
            std::cin.clear();
            shell.setInteractive(true);
            try {
                shell.runInteractive();
            } catch (...) {
                std::cin.rdbuf(saved);
                throw;
            }
            std::cin.rdbuf(saved);
            break;
        }
        case RunMode::CommandFile:
            shell.runCommandFile(text.c_str());
            break;
    }
    std::cin.clear();
}

}  // namespace

const nlohmann::json& SessionHost(std::size_t index) {
    const char* name = kHostFiles[index % (sizeof kHostFiles / sizeof kHostFiles[0])];
    return name[0] == '\0' ? DefaultHost() : FixtureHost(name);
}

void RunSession(const nlohmann::json& host, const SessionOptions& options, std::string text) {
    const std::string& folder = Prepare();
    InFolder inFolder;
    for (char& c : text) {
        if (c == '\0')
            c = ' ';  // arguments and lines carry no NUL
    }
    if (options.mode != RunMode::CommandFile)
        text = KeepFilesInFolder(text);
    // The audit log lies in the host's folder; each run starts it again.
    (void)unlink((folder + "/ProgramData/Orvo/kv_mgmt.log").c_str());
    InstallHost(host);
    SetSetting("KV_CLI_STYLE", options.oldOutputStyle, "old");
    SetSetting("KV_CLI_INPUT_STYLE", options.oldInputStyle, "old");
    SetSetting("KV_CLI_LOG", !options.logging, "off");

    std::unique_ptr<Shell> shell;
    try {
        shell = std::make_unique<Shell>();
        theShell = shell.get();
        RunShell(*shell, options, text);
    } catch (KV_Exception&) {
    } catch (const platform::HostUnusable&) {
    }
    theShell = nullptr;
    shell.reset();
    std::cin.clear();
}

}  // namespace fuzz
