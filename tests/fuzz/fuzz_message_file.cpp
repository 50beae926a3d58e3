// A message file through the message lookup: the input is the file of one
// language (both the "kv_msg_" and the "ost_msg_" file of that language
// name it), and its last bytes choose the language, the source and the
// code looked up.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "api/api_messages.h"
#include "fuzz_support.h"

namespace {

// The folder of the message files: every language's two files name the
// one memory file.
const std::string& MessageFolder(const fuzz::MemoryFile& file) {
    static const std::string folder = [&] {
        const std::string made = fuzz::Prepare() + "/messages";
        (void)mkdir(made.c_str(), 0700);
        for (uint8_t language = 1; MessageLanguageCode(language) != nullptr; ++language) {
            for (const char* prefix : {"kv_msg_", "ost_msg_"}) {
                const std::string link = made + "/" + prefix + MessageLanguageCode(language);
                (void)symlink(file.path().c_str(), link.c_str());
            }
        }
        return made;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Prepare();
    static fuzz::MemoryFile file;
    const std::string& folder = MessageFolder(file);
    constexpr size_t kChoice = 4;  // language, source, code (u16)
    if (size < kChoice)
        return 0;
    const uint8_t* choice = data + size - kChoice;
    const uint8_t language = choice[0] % 9;  // 8: past the last language
    const uint32_t source = choice[1] % 28;
    const uint32_t code = choice[2] | uint32_t{choice[3]} << 8;
    file.Set(data, size - kChoice);

    fuzz::ResetLibrary();
    char buffer[kMessageTextSize];
    const char* raw = theApiMessages.FindFileText(buffer, source, code, folder.c_str(), language);
    if (std::strlen(raw) >= kMessageTextSize)
        __builtin_trap();
    const char* shown = theApiMessages.LookupMessage(source, code, folder.c_str(), language);
    (void)std::strlen(shown);
    return 0;
}
