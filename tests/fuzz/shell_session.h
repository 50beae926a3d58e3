// One run of the shell against an emulated host held in memory, as main
// runs it: the shell made, the administrator checked, then the input taken
// one-shot, at the prompt or from a command file. Every exception that main
// turns into a message ends the run quietly; any other escapes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

namespace fuzz {

enum class RunMode { OneShot, Prompt, CommandFile };

struct SessionOptions {
    RunMode mode = RunMode::OneShot;
    bool oldOutputStyle = false;
    bool oldInputStyle = false;
    bool logging = true;
};

// `text` is the one-shot command, the lines typed at the prompt, or the
// command file's path (CommandFile).
void RunSession(const nlohmann::json& host, const SessionOptions& options, std::string text);

// A firmware file named in a command ("fw=") is read, never written;
// still, only files of the working folder may be named, so that no input
// reaches a device or another file of the machine: the name's slashes
// become underscores.
std::string KeepFilesInFolder(const std::string& text);

// The host files the shell targets choose from (index modulo the count).
const nlohmann::json& SessionHost(std::size_t index);

}  // namespace fuzz
