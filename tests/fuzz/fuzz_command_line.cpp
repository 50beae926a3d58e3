// A command line through the shell's command processor, typed at the
// prompt or given one-shot, against an emulated host held in memory.
// Byte 0 chooses: bit 0 the prompt (the rest is the typed lines), bit 1
// the old output style, bit 2 the old input style, bit 3 the audit log
// off, bits 4-7 the host file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "shell_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t choice = data[0];
    fuzz::SessionOptions options;
    options.mode = (choice & 1) != 0 ? fuzz::RunMode::Prompt : fuzz::RunMode::OneShot;
    options.oldOutputStyle = (choice & 2) != 0;
    options.oldInputStyle = (choice & 4) != 0;
    options.logging = (choice & 8) == 0;
    fuzz::RunSession(fuzz::SessionHost(choice >> 4), options,
                     std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    return 0;
}
