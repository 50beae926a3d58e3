// The Windows build's real host: the Windows calls themselves. Against an
// emulated host (KV_EMULATED_HOST names a host file) the standard streams
// and files are set up here too, so that the program behaves as the Linux
// build does.
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

// Against the emulated host the program behaves byte for byte as the Linux
// build does, so that one set of transcripts serves both: the standard
// streams and the files it opens (the audit log, command files) carry line
// ends as written, without the C runtime's "\r\n" translation. On a real
// machine streams and files keep Windows' text mode. Done during static
// initialisation, before anything is opened, read or written; the program
// links this file whenever it can choose the real host.
bool untranslatedStreamsForEmulatedHost() {
    if (!emulatedHostNamed())
        return false;
    _fmode = _O_BINARY;  // the default mode of files opened later
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return true;
}

[[maybe_unused]] const bool kUntranslatedStreams = untranslatedStreamsForEmulatedHost();

}  // namespace

std::unique_ptr<HostSystem> MakeNativeHost() {
    return std::make_unique<Win32Host>();
}

}  // namespace platform
