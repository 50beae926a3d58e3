// Line handling of the shell: normalisation and lower-casing of command
// lines, and the two line sources (the prompt and a command file), read
// with the one reader of input lines.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "base/kv_exception.h"
#include "base/shell_words.h"
#include "shell/shell.h"

void Shell::normalizeLine(std::string& line) {
    std::string expanded;
    expanded.reserve(line.size() * 2);
    for (char c : line) {
        if (c == '=') {
            expanded += " = ";
        } else {
            expanded += c;
        }
    }

    // An "=" takes the word after it, so "a = b" becomes "a=b".
    std::vector<std::string> words = shell_words::split(expanded);
    std::string rebuilt;
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "=") {
            std::string value = (i + 1 < words.size()) ? words[++i] : std::string();
            rebuilt += "=" + value + " ";
        } else {
            rebuilt += " " + words[i];
        }
    }

    size_t first = rebuilt.find_first_not_of(" \t");
    if (first == std::string::npos) {
        line.clear();
        return;
    }
    size_t last = rebuilt.find_last_not_of(" \t");
    line = rebuilt.substr(first, last - first + 1);
}

std::string Shell::prepareWords(const std::string& line) {
    std::string prepared;
    for (const std::string& typed : shell_words::split(line)) {
        std::string lowered = typed;
        toLower(lowered);
        if (lowered.find("name=") != std::string::npos) {
            // A unit name keeps the case in which it was typed.
            prepared += "name=" + typed.substr(typed.find('=') + 1) + " ";
        } else {
            prepared += lowered + " ";
        }
    }
    normalizeLine(prepared);
    return prepared;
}

int Shell::runInteractive() {
    bool goOn = true;
    for (;;) {
        std::cout << std::flush << getPrompt() << std::flush;
        // Whole lines of any length: a long line is never cut and run in
        // part.
        std::string line;
        readLine(std::cin, line);
        normalizeLine(line);
        line = prepareWords(line);
        if (line == "quit" || line == "exit" || line == "q") {
            break;
        }
        if (!line.empty()) {
            std::stringstream words(line);
            try {
                goOn = processCommand(words);
            } catch (KV_Exception& error) {
                if (!interactive_) {
                    throw;
                }
                std::cerr << error.getMessage() << std::endl;
            }
        }
        if (!std::cin.good() || !goOn) {
            break;
        }
    }
    return 0;
}

int Shell::runCommandFile(const char* fileName) {
    std::ifstream file;
    // A folder opens on some systems but has no lines to read: it is no
    // command file either, and must not pass for an empty one.
    std::error_code ignored;
    if (fileName != nullptr && !std::filesystem::is_directory(fileName, ignored)) {
        file.open(fileName);
    }
    if (!file.is_open()) {
        throw KV_Exception("Failed to open input command file");
    }
    bool goOn = true;
    while (file.good() && goOn) {
        std::string line;
        readLine(file, line);
        // Command-file lines keep their case as written.
        normalizeLine(line);
        std::cout << getPrompt() << line << std::endl;
        std::stringstream words(line);
        goOn = processCommand(words);
    }
    return 0;
}
