// The Windows build's real host: the Windows calls themselves. Against an
// emulated host (KV_EMULATED_HOST names a host file) the program's output
// streams are set up here too, so that one set of transcripts serves this
// build and the Linux one.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "platform/host_system.h"
#include "platform/windows/win32_host.h"

namespace platform {

namespace {

bool emulatedHostNamed() {
    const char* named = std::getenv("KV_EMULATED_HOST");
    return named != nullptr && named[0] != '\0';
}

// Against the emulated host the program writes standard output and error
// as the Linux build does, so that one set of transcripts serves both: line
// ends as written, without the C runtime's "\r\n" translation. Its input
// and its files stay as with the real calls, in Windows' text mode: standard
// input and the files it opens as text (command files, message files, the
// audit log) take CR LF as a line end and end at a Ctrl-Z, and the audit
// log's lines end in CR LF. Done during static initialisation, before
// anything is written; the program links this file whenever it can choose
// the real host.
bool untranslatedOutputForEmulatedHost() {
    if (!emulatedHostNamed())
        return false;
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return true;
}

[[maybe_unused]] const bool kUntranslatedOutput = untranslatedOutputForEmulatedHost();

}  // namespace

std::unique_ptr<HostSystem> MakeNativeHost() {
    return std::make_unique<Win32Host>();
}

}  // namespace platform
