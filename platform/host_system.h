// The host system: the one seam through which the library reaches the
// machine it runs on. Every operation mirrors a Windows call (or a small
// group of calls that are always made together) and holds none of the
// library's own logic: the OS layer and the driver transport keep their
// algorithms and call these operations.
//
// The operations carry the Windows call's name in lower camel case, so that
// the Windows headers' A/W macros cannot rename them.
//
// Two bindings exist: the real Windows calls (platform/windows) and the
// emulated host (emulator/), a model of a Windows machine with its
// controller drivers and controllers, kept in a host file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

namespace platform {

// Opaque handles. Each binding decides what the numbers mean; -1 (or 0 for
// registry keys) is never a valid handle.
using Handle = std::intptr_t;
using DevInfoSet = std::intptr_t;
using RegKey = std::intptr_t;
constexpr Handle kInvalidHandle = -1;
constexpr DevInfoSet kInvalidDevInfoSet = -1;

// Windows error codes the library looks at or the emulated host reports.
constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorNotEnoughMemory = 8;
constexpr uint32_t kErrorGenFailure = 31;
constexpr uint32_t kErrorFileExists = 80;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kErrorAlreadyExists = 183;
constexpr uint32_t kErrorNoMoreItems = 259;
constexpr uint32_t kErrorIoDevice = 1117;

// CreateFile access and share flags.
constexpr uint32_t kGenericRead = 0x80000000u;
constexpr uint32_t kGenericWrite = 0x40000000u;
constexpr uint32_t kFileShareRead = 0x1;
constexpr uint32_t kFileShareWrite = 0x2;

// Registry access rights.
constexpr uint32_t kKeyRead = 0x20019;
constexpr uint32_t kKeyWrite = 0x20006;
constexpr uint32_t kKeyAllAccess = 0xF003F;

// Device install flags read after a removal.
constexpr uint32_t kDiNeedRestart = 0x80;
constexpr uint32_t kDiNeedReboot = 0x100;

// GetSystemMetrics index of the "Server 2003 R2" metric.
constexpr int kSmServerR2 = 89;

// Processor architectures reported by the system information calls.
constexpr uint16_t kArchIntel = 0;
constexpr uint16_t kArchIa64 = 6;
constexpr uint16_t kArchAmd64 = 9;

// A host the program cannot use, such as an emulated host file that is
// not valid JSON or holds a field of the wrong type. Its message is one
// complete line for the user, naming the file and the fault.
class HostUnusable : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The device interface classes the OS layer enumerates.
enum class InterfaceClass { StoragePort, Disk, Volume };

// What SetupAPI returns as SP_DEVINFO_DATA: the device instance of one
// device of a device information set, and its place in the set.
struct DeviceInfo {
    uint32_t devInst = 0;
    uint32_t index = 0;
};

// The extended version information (OSVERSIONINFOEX) the OS layer reads.
struct OsVersionInfo {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    uint32_t platformId = 0;  // 2: Windows NT
    std::string servicePack;  // at most 127 characters
    uint16_t servicePackMajor = 0;
    uint16_t servicePackMinor = 0;
    uint16_t suiteMask = 0;
    uint8_t productType = 0;  // 1 workstation, 2 domain controller, 3 server
};

class HostSystem {
  public:
    virtual ~HostSystem() = default;

    // --- SetupAPI and the configuration manager ---
    // SetupDiGetClassDevsA for present devices exposing the class's
    // interface; kInvalidDevInfoSet on failure.
    virtual DevInfoSet getClassDevs(InterfaceClass cls) = 0;
    // SetupDiEnumDeviceInterfaces: false past the last interface.
    virtual bool enumDeviceInterfaces(DevInfoSet set, uint32_t index) = 0;
    // SetupDiGetDeviceInterfaceDetailA of interface `index`: the interface
    // path into `path` (pathSize bytes, NUL included; false with
    // kErrorInsufficientBuffer when it does not fit) and the device.
    virtual bool getDeviceInterfaceDetail(DevInfoSet set, uint32_t index, char* path,
                                          uint32_t pathSize, DeviceInfo* info) = 0;
    // SetupDiGetDeviceInstanceIdA: bounded like the detail call.
    virtual bool getDeviceInstanceId(DevInfoSet set, const DeviceInfo& info, char* id,
                                     uint32_t idSize) = 0;
    // SetupDiGetDeviceRegistryPropertyA with SPDRP_UI_NUMBER.
    virtual bool getUiNumber(DevInfoSet set, const DeviceInfo& info, uint32_t* uiNumber) = 0;
    // SetupDiEnumDeviceInfo: false past the last device.
    virtual bool enumDeviceInfo(DevInfoSet set, uint32_t index, DeviceInfo* info) = 0;
    // SetupDiSetClassInstallParamsA with DIF_REMOVE, DI_REMOVEDEVICE_GLOBAL.
    virtual bool setRemoveInstallParams(DevInfoSet set, const DeviceInfo& info) = 0;
    // SetupDiCallClassInstaller(DIF_REMOVE).
    virtual bool callClassInstallerRemove(DevInfoSet set, const DeviceInfo& info) = 0;
    // SetupDiGetDeviceInstallParamsA: the Flags field.
    virtual bool getDeviceInstallFlags(DevInfoSet set, const DeviceInfo& info, uint32_t* flags) = 0;
    // SetupDiDestroyDeviceInfoList.
    virtual void destroyDeviceInfoList(DevInfoSet set) = 0;
    // CM_Get_Parent: true on CR_SUCCESS.
    virtual bool getParent(uint32_t devInst, uint32_t* parent) = 0;

    // --- Device I/O ---
    // CreateFileA, OPEN_EXISTING, normal attributes; kInvalidHandle on
    // failure with the error in GetLastError.
    virtual Handle createFile(const char* path, uint32_t access, uint32_t share) = 0;
    // DeviceIoControl.
    virtual bool deviceIoControl(Handle h, uint32_t code, void* in, uint32_t inSize, void* out,
                                 uint32_t outSize, uint32_t* returned) = 0;
    virtual bool closeHandle(Handle h) = 0;
    virtual uint32_t getLastError() = 0;
    // FormatMessageA from the system's message table; empty when the code
    // has no text.
    virtual std::string formatMessage(uint32_t code) = 0;

    // --- Registry, below HKEY_LOCAL_MACHINE; results are Windows error codes ---
    virtual uint32_t regOpenKey(const char* subKey, uint32_t access, RegKey* key) = 0;
    virtual uint32_t regCreateKey(const char* subKey, uint32_t access, RegKey* key) = 0;
    virtual uint32_t regSetDword(RegKey key, const char* name, uint32_t value) = 0;
    virtual uint32_t regDeleteValue(RegKey key, const char* name) = 0;
    virtual uint32_t regCloseKey(RegKey key) = 0;

    // --- Shell folders and paths (buffers of kMaxPath bytes) ---
    // SHGetFolderPathA(CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE).
    virtual bool getCommonAppDataFolder(char* path) = 0;
    // GetWindowsDirectoryA: the length written, 0 on failure.
    virtual uint32_t getWindowsDirectory(char* path, uint32_t size) = 0;
    // PathStripToRootA.
    virtual bool pathStripToRoot(char* path) = 0;
    // PathAppendA: joins with the platform's separator.
    virtual bool pathAppend(char* path, const char* more) = 0;
    // SHCreateDirectory: a Windows error code (0, 80 and 183 mean it exists).
    virtual int createDirectory(const char* path) = 0;
    // The C runtime's fopen(path, "a") of a file named by these calls'
    // paths (the audit log in the common application-data folder), read
    // as the binding spells them: the real calls' in the ANSI code page.
    // Null on failure; closed with fclose.
    virtual std::FILE* openForAppend(const char* path) = 0;

    // --- System information ---
    // GetComputerNameExA with ComputerNameDnsFullyQualified or
    // ComputerNameDnsHostname; *size is the buffer size on the way in and
    // the length on the way out.
    virtual bool getComputerNameEx(bool fullyQualified, char* name, uint32_t* size) = 0;
    virtual bool getVersionEx(OsVersionInfo* info) = 0;
    // GetNativeSystemInfo, looked up in kernel32: false when it is missing.
    virtual bool getNativeSystemInfo(uint16_t* architecture) = 0;
    virtual uint16_t getSystemInfo() = 0;
    // GetProductInfo, looked up in kernel32: false when it is missing.
    virtual bool getProductInfo(uint32_t major, uint32_t minor, uint32_t spMajor, uint32_t spMinor,
                                uint32_t* productType) = 0;
    virtual int getSystemMetrics(int index) = 0;
    virtual bool isUserAnAdmin() = 0;
    virtual void sleep(uint32_t milliseconds) = 0;
};

constexpr uint32_t kMaxPath = 260;

// The process-wide host system, made on first use by MakeDefaultHost and
// kept to the end of the process.
HostSystem& Host();
// Replaces the process-wide host (tests); null returns to the default,
// which is made again on next use.
void SetHost(std::unique_ptr<HostSystem> host);

// The default host. The program that links the library defines it, beside
// its entry: that is where the emulated host or the real calls are chosen.
std::unique_ptr<HostSystem> MakeDefaultHost();

// The real calls of the machine this build targets, or null where the
// build has none (Linux). Defined once per build, in this folder.
std::unique_ptr<HostSystem> MakeNativeHost();

}  // namespace platform
