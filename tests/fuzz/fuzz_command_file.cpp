// A command file (-f) against the built-in default host held in memory;
// the input is the file, served from memory.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "shell_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Prepare();
    static fuzz::MemoryFile file;
    const std::string text =
        fuzz::KeepFilesInFolder(std::string(reinterpret_cast<const char*>(data), size));
    file.Set(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    fuzz::SessionOptions options;
    options.mode = fuzz::RunMode::CommandFile;
    fuzz::RunSession(fuzz::DefaultHost(), options, file.path());
    return 0;
}
