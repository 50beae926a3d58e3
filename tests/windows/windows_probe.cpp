// Makes real Windows calls through the host-system seam and the OS layer,
// one probe per command word, and prints what they answered, so that the
// smoke transcripts can check the Windows binding on a machine (or a wine
// prefix) without controllers.
//
//   kv_windows_probe admin | hostname | osversion | controllers | handles
//   kv_windows_probe log MESSAGE
//   kv_windows_probe regset SUBKEY NAME VALUE | regdel SUBKEY NAME
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "api/audit_log.h"
#include "api/os/os_layer.h"
#include "platform/host_system.h"
#include "shell/shell.h"

namespace {

int admin() {
    std::printf("administrator: %s\n", OsLayer::IsAdministrator() ? "yes" : "no");
    return 0;
}

int hostName() {
    char full[256] = {};
    char shortName[256] = {};
    bool fullOk = OsLayer::QueryHostName(true, sizeof full, full);
    bool shortOk = OsLayer::QueryHostName(false, sizeof shortName, shortName);
    std::printf("fully qualified: %s\nhost: %s\n", fullOk ? full : "(failed)",
                shortOk ? shortName : "(failed)");
    return fullOk && shortOk ? 0 : 1;
}

int osVersion() {
    std::printf("%s", Shell::getOsVersion().c_str());
    return 0;
}

int controllers() {
    OsLayer os;
    uint32_t status = os.EnumerateControllers();
    std::printf("status %u, controllers %d, sorted %d\n", status, os.GetControllerCount(),
                os.IsSortedBySlot() ? 1 : 0);
    return 0;
}

// The binding refuses what it never handed out, and reports Windows' own
// errors and texts for what Windows refuses.
int handles() {
    platform::HostSystem& host = platform::Host();
    platform::Handle missing = host.createFile("C:\\no-such-folder\\no-such-device",
                                               platform::kGenericRead, platform::kFileShareRead);
    std::printf("open missing: %s, error %u\n",
                missing == platform::kInvalidHandle ? "invalid" : "opened", host.getLastError());
    std::string text = host.formatMessage(platform::kErrorFileNotFound);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    std::printf("text of 2: %s\n", text.c_str());
    bool closed = host.closeHandle(0x1234);
    std::printf("close foreign: %d, error %u\n", closed ? 1 : 0, host.getLastError());
    uint32_t returned = 0;
    bool io = host.deviceIoControl(0x1234, 0x4D008, nullptr, 0, nullptr, 0, &returned);
    std::printf("ioctl foreign: %d, error %u\n", io ? 1 : 0, host.getLastError());
    platform::DevInfoSet set = host.getClassDevs(platform::InterfaceClass::StoragePort);
    std::printf("storage ports listed: %s\n", set == platform::kInvalidDevInfoSet ? "no" : "yes");
    if (set != platform::kInvalidDevInfoSet)
        host.destroyDeviceInfoList(set);
    bool listed = host.enumDeviceInterfaces(set, 0);
    std::printf("enumerate destroyed set: %d, error %u\n", listed ? 1 : 0, host.getLastError());
    std::printf("close foreign key: %u\n", host.regCloseKey(0x1234));
    return 0;
}

// Writes one audit line where kv_cli writes its audit log.
int writeLog(const char* message) {
    std::string path = Shell::getLogFilePath();
    AuditLog audit("CLI", path, true);
    int rc = audit.Write(message);
    std::printf("log %s: %d\n", path.c_str(), rc);
    return rc;
}

// Opens a key that must exist, for reading and writing, and says how that
// went.
bool openExistingKey(const char* subKey, platform::RegKey* key) {
    uint32_t rc =
        platform::Host().regOpenKey(subKey, platform::kKeyRead | platform::kKeyWrite, key);
    std::printf("open: %u\n", rc);
    return rc == platform::kErrorSuccess;
}

// The disk-cache registry steps of the OS layer on a key of the caller's:
// the key must exist (open for reading and writing), then it is opened with
// full access and the REG_DWORD value written.
int regSet(const char* subKey, const char* name, const char* value) {
    platform::HostSystem& host = platform::Host();
    platform::RegKey key = 0;
    if (!openExistingKey(subKey, &key))
        return 1;
    host.regCloseKey(key);
    uint32_t rc = host.regCreateKey(subKey, platform::kKeyAllAccess, &key);
    std::printf("create: %u\n", rc);
    if (rc != platform::kErrorSuccess)
        return 1;
    rc = host.regSetDword(key, name, static_cast<uint32_t>(std::strtoul(value, nullptr, 0)));
    std::printf("set: %u\n", rc);
    std::printf("close: %u\n", host.regCloseKey(key));
    return rc == platform::kErrorSuccess ? 0 : 1;
}

int regDelete(const char* subKey, const char* name) {
    platform::HostSystem& host = platform::Host();
    platform::RegKey key = 0;
    if (!openExistingKey(subKey, &key))
        return 1;
    uint32_t rc = host.regDeleteValue(key, name);
    std::printf("delete: %u\n", rc);
    std::printf("close: %u\n", host.regCloseKey(key));
    return rc == platform::kErrorSuccess ? 0 : 1;
}

int usage() {
    std::fprintf(stderr,
                 "usage: kv_windows_probe admin|hostname|osversion|controllers|handles\n"
                 "       kv_windows_probe log MESSAGE\n"
                 "       kv_windows_probe regset SUBKEY NAME VALUE | regdel SUBKEY NAME\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    std::string command = argv[1];
    if (command == "admin" && argc == 2)
        return admin();
    if (command == "hostname" && argc == 2)
        return hostName();
    if (command == "osversion" && argc == 2)
        return osVersion();
    if (command == "controllers" && argc == 2)
        return controllers();
    if (command == "handles" && argc == 2)
        return handles();
    if (command == "log" && argc == 3)
        return writeLog(argv[2]);
    if (command == "regset" && argc == 5)
        return regSet(argv[2], argv[3], argv[4]);
    if (command == "regdel" && argc == 4)
        return regDelete(argv[2], argv[3]);
    return usage();
}
