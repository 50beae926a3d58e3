#include "platform/windows/win32_host.h"

// windows.h first: the other Windows headers build on it.
// clang-format off
#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>
#include <shlobj.h>
#include <shlwapi.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

namespace platform {

static_assert(kMaxPath == MAX_PATH, "path buffers are MAX_PATH bytes");
static_assert(sizeof(OSVERSIONINFOEXA) == 156, "the extended version structure");
static_assert(kErrorNoMoreItems == ERROR_NO_MORE_ITEMS &&
                  kErrorInvalidHandle == ERROR_INVALID_HANDLE &&
                  kErrorInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER &&
                  kErrorAlreadyExists == ERROR_ALREADY_EXISTS &&
                  kErrorFileExists == ERROR_FILE_EXISTS,
              "the seam's error codes are Windows' own");
static_assert(kDiNeedRestart == DI_NEEDRESTART && kDiNeedReboot == DI_NEEDREBOOT,
              "device install flags");
static_assert(kSmServerR2 == SM_SERVERR2, "GetSystemMetrics index");
static_assert(kArchAmd64 == PROCESSOR_ARCHITECTURE_AMD64 &&
                  kArchIa64 == PROCESSOR_ARCHITECTURE_IA64 &&
                  kArchIntel == PROCESSOR_ARCHITECTURE_INTEL,
              "processor architectures");

namespace {

// The detail buffer holds the cbSize field and the interface path.
constexpr DWORD kDetailBufferSize = 208;
// FormatMessageA fills at most this many characters.
constexpr DWORD kMessageBufferSize = 1024;

// The device interface classes, by their interface class GUIDs.
constexpr GUID kStoragePortInterface = {
    0x2ACCFE60, 0xC130, 0x11D2, {0xB0, 0x82, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};
constexpr GUID kDiskInterface = {
    0x53F56307, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};
constexpr GUID kVolumeInterface = {
    0x53F5630D, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};

const GUID& interfaceGuid(InterfaceClass cls) {
    switch (cls) {
        case InterfaceClass::Disk:
            return kDiskInterface;
        case InterfaceClass::Volume:
            return kVolumeInterface;
        case InterfaceClass::StoragePort:
            break;
    }
    return kStoragePortInterface;
}

// An entry of a system library; null when the library or the entry is
// missing.
template <typename Fn>
Fn systemFunction(const char* library, const char* name) {
    HMODULE module = LoadLibraryA(library);
    if (module == nullptr)
        return nullptr;
    FARPROC proc = GetProcAddress(module, name);
    // The detour through a plain function pointer type keeps the cast explicit.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

// A function of kernel32 that older Windows versions lack.
template <typename Fn>
Fn kernel32Function(const char* name) {
    return systemFunction<Fn>("kernel32.dll", name);
}

// The system libraries beyond kernel32 and advapi32 (device setup, the
// shell and its path helpers, user32) are bound at the first call into
// them, not when the program starts: a run against the emulated host never
// loads them, and under wine loading them is half the cost of starting. On
// Windows they are always there; an entry that is missing stops the
// program, as the loader would have.
constexpr char kSetupApi[] = "setupapi.dll";
constexpr char kShell32[] = "shell32.dll";
constexpr char kShlwapi[] = "shlwapi.dll";
constexpr char kUser32[] = "user32.dll";

template <typename Fn>
Fn boundFunction(const char* library, const char* name) {
    Fn function = systemFunction<Fn>(library, name);
    if (function == nullptr) {
        std::fprintf(stderr, "cannot find %s in %s\n", name, library);
        std::exit(1);
    }
    return function;
}

#define LATE_BOUND(library, function)                                                       \
    ([] {                                                                                   \
        static const auto bound = boundFunction<decltype(&::function)>(library, #function); \
        return bound;                                                                       \
    }())

// Owns one Windows handle of type H and closes it with Close.
template <typename H, typename Close>
class Owned {
  public:
    explicit Owned(H handle) : handle_(handle) {}
    ~Owned() {
        if (handle_ != H{})
            Close{}(handle_);
    }
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned& operator=(Owned&&) = delete;

    H get() const { return handle_; }
    // Gives the handle up for an explicit close whose result matters.
    H release() { return std::exchange(handle_, H{}); }

  private:
    H handle_;
};

struct CloseFile {
    BOOL operator()(HANDLE h) const { return CloseHandle(h); }
};
struct CloseKey {
    LONG operator()(HKEY k) const { return RegCloseKey(k); }
};
struct DestroyDevInfo {
    BOOL operator()(HDEVINFO s) const {
        return LATE_BOUND(kSetupApi, SetupDiDestroyDeviceInfoList)(s);
    }
};

// Copies a NUL-terminated text into `size` bytes; false when it does not fit.
bool copyText(const char* text, char* out, uint32_t size) {
    if (out == nullptr)
        return false;
    size_t length = std::strlen(text);
    if (length + 1 > size)
        return false;
    std::memcpy(out, text, length + 1);
    return true;
}

}  // namespace

struct Win32Host::Owners {
    struct DevInfoEntry {
        Owned<HDEVINFO, DestroyDevInfo> set;
        InterfaceClass cls;
    };
    std::map<Handle, Owned<HANDLE, CloseFile>> files;
    std::map<RegKey, Owned<HKEY, CloseKey>> keys;
    std::map<DevInfoSet, DevInfoEntry> sets;

    // The set behind a seam value, or null when this host did not hand it out.
    DevInfoEntry* set(DevInfoSet value) {
        auto it = sets.find(value);
        return it == sets.end() ? nullptr : &it->second;
    }
    HANDLE file(Handle value) {
        auto it = files.find(value);
        return it == files.end() ? INVALID_HANDLE_VALUE : it->second.get();
    }
    HKEY key(RegKey value) {
        auto it = keys.find(value);
        return it == keys.end() ? nullptr : it->second.get();
    }
    // The set behind `value` and the SetupAPI record of a device that an
    // earlier call described; null with *error set when either is unknown.
    HDEVINFO device(DevInfoSet value, const DeviceInfo& info, SP_DEVINFO_DATA* data,
                    uint32_t* error);
};

namespace {

// Finds the SP_DEVINFO_DATA of a device that an earlier call described:
// SetupAPI needs its own record, which the seam does not carry, so the
// device is looked up again by its place in the set and its device instance.
bool findDevice(HDEVINFO set, const DeviceInfo& info, SP_DEVINFO_DATA* data) {
    data->cbSize = sizeof(SP_DEVINFO_DATA);
    if (LATE_BOUND(kSetupApi, SetupDiEnumDeviceInfo)(set, info.index, data) &&
        data->DevInst == info.devInst)
        return true;
    for (DWORD i = 0; LATE_BOUND(kSetupApi, SetupDiEnumDeviceInfo)(set, i, data); ++i) {
        if (data->DevInst == info.devInst)
            return true;
    }
    return false;
}

// The place of a device in its set.
uint32_t deviceIndex(HDEVINFO set, DWORD devInst) {
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof data;
    for (DWORD i = 0; LATE_BOUND(kSetupApi, SetupDiEnumDeviceInfo)(set, i, &data); ++i) {
        if (data.DevInst == devInst)
            return i;
    }
    return 0;
}

}  // namespace

HDEVINFO Win32Host::Owners::device(DevInfoSet value, const DeviceInfo& info, SP_DEVINFO_DATA* data,
                                   uint32_t* error) {
    DevInfoEntry* entry = set(value);
    if (entry == nullptr) {
        *error = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    if (!findDevice(entry->set.get(), info, data)) {
        *error = ERROR_INVALID_PARAMETER;
        return nullptr;
    }
    return entry->set.get();
}

namespace {

// Makes one SetupAPI call on a device that an earlier call described (the
// lookup of Owners::device first) and records the call's last error.
template <typename Owners, typename Call>
bool onDevice(Owners& owners, DevInfoSet set, const DeviceInfo& info, uint32_t* lastError,
              Call&& call) {
    SP_DEVINFO_DATA device{};
    HDEVINFO devs = owners.device(set, info, &device, lastError);
    if (devs == nullptr)
        return false;
    BOOL ok = call(devs, &device);
    *lastError = GetLastError();
    return ok != FALSE;
}

}  // namespace

bool Win32Host::fail(uint32_t error) {
    lastError_ = error;
    return false;
}

Win32Host::Win32Host() : owners_(std::make_unique<Owners>()) {}
Win32Host::~Win32Host() = default;

// --- SetupAPI and the configuration manager ---

DevInfoSet Win32Host::getClassDevs(InterfaceClass cls) {
    HDEVINFO set = LATE_BOUND(kSetupApi, SetupDiGetClassDevsA)(
        &interfaceGuid(cls), nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    lastError_ = GetLastError();
    if (set == INVALID_HANDLE_VALUE)
        return kInvalidDevInfoSet;
    auto value = reinterpret_cast<DevInfoSet>(set);
    owners_->sets.emplace(value, Owners::DevInfoEntry{Owned<HDEVINFO, DestroyDevInfo>(set), cls});
    return value;
}

bool Win32Host::enumDeviceInterfaces(DevInfoSet set, uint32_t index) {
    Owners::DevInfoEntry* entry = owners_->set(set);
    if (entry == nullptr)
        return fail(ERROR_INVALID_HANDLE);
    SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = sizeof data;
    BOOL ok = LATE_BOUND(kSetupApi, SetupDiEnumDeviceInterfaces)(
        entry->set.get(), nullptr, &interfaceGuid(entry->cls), index, &data);
    lastError_ = GetLastError();
    return ok != FALSE;
}

bool Win32Host::getDeviceInterfaceDetail(DevInfoSet set, uint32_t index, char* path,
                                         uint32_t pathSize, DeviceInfo* info) {
    Owners::DevInfoEntry* entry = owners_->set(set);
    if (entry == nullptr)
        return fail(ERROR_INVALID_HANDLE);
    HDEVINFO devs = entry->set.get();
    SP_DEVICE_INTERFACE_DATA iface{};
    iface.cbSize = sizeof iface;
    if (!LATE_BOUND(kSetupApi, SetupDiEnumDeviceInterfaces)(
            devs, nullptr, &interfaceGuid(entry->cls), index, &iface)) {
        lastError_ = GetLastError();
        return false;
    }
    alignas(SP_DEVICE_INTERFACE_DETAIL_DATA_A) char buffer[kDetailBufferSize] = {};
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer);
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    if (!LATE_BOUND(kSetupApi, SetupDiGetDeviceInterfaceDetailA)(
            devs, &iface, detail, kDetailBufferSize, nullptr, &device)) {
        lastError_ = GetLastError();
        return false;
    }
    // The path ends inside the buffer: Windows wrote its NUL there.
    buffer[kDetailBufferSize - 1] = '\0';
    if (!copyText(detail->DevicePath, path, pathSize))
        return fail(ERROR_INSUFFICIENT_BUFFER);
    if (info != nullptr) {
        info->devInst = device.DevInst;
        info->index = deviceIndex(devs, device.DevInst);
    }
    lastError_ = ERROR_SUCCESS;
    return true;
}

bool Win32Host::getDeviceInstanceId(DevInfoSet set, const DeviceInfo& info, char* id,
                                    uint32_t idSize) {
    if (id == nullptr)
        return fail(ERROR_INVALID_PARAMETER);
    return onDevice(*owners_, set, info, &lastError_, [&](HDEVINFO devs, SP_DEVINFO_DATA* device) {
        return LATE_BOUND(kSetupApi, SetupDiGetDeviceInstanceIdA)(devs, device, id, idSize,
                                                                  nullptr);
    });
}

bool Win32Host::getUiNumber(DevInfoSet set, const DeviceInfo& info, uint32_t* uiNumber) {
    if (uiNumber == nullptr)
        return fail(ERROR_INVALID_PARAMETER);
    DWORD type = 0;
    BYTE value[sizeof(DWORD)] = {};
    bool ok =
        onDevice(*owners_, set, info, &lastError_, [&](HDEVINFO devs, SP_DEVINFO_DATA* device) {
            return LATE_BOUND(kSetupApi, SetupDiGetDeviceRegistryPropertyA)(
                devs, device, SPDRP_UI_NUMBER, &type, value, sizeof value, nullptr);
        });
    if (!ok || type != REG_DWORD)
        return false;
    *uiNumber = static_cast<uint32_t>(value[0]) | static_cast<uint32_t>(value[1]) << 8 |
                static_cast<uint32_t>(value[2]) << 16 | static_cast<uint32_t>(value[3]) << 24;
    return true;
}

bool Win32Host::enumDeviceInfo(DevInfoSet set, uint32_t index, DeviceInfo* info) {
    Owners::DevInfoEntry* entry = owners_->set(set);
    if (entry == nullptr)
        return fail(ERROR_INVALID_HANDLE);
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    BOOL ok = LATE_BOUND(kSetupApi, SetupDiEnumDeviceInfo)(entry->set.get(), index, &device);
    lastError_ = GetLastError();
    if (!ok)
        return false;
    if (info != nullptr) {
        info->devInst = device.DevInst;
        info->index = index;
    }
    return true;
}

bool Win32Host::setRemoveInstallParams(DevInfoSet set, const DeviceInfo& info) {
    SP_REMOVEDEVICE_PARAMS params{};
    params.ClassInstallHeader.cbSize = sizeof(SP_CLASSINSTALL_HEADER);
    params.ClassInstallHeader.InstallFunction = DIF_REMOVE;
    params.Scope = DI_REMOVEDEVICE_GLOBAL;
    params.HwProfile = 0;
    return onDevice(*owners_, set, info, &lastError_, [&](HDEVINFO devs, SP_DEVINFO_DATA* device) {
        return LATE_BOUND(kSetupApi, SetupDiSetClassInstallParamsA)(
            devs, device, &params.ClassInstallHeader, sizeof params);
    });
}

bool Win32Host::callClassInstallerRemove(DevInfoSet set, const DeviceInfo& info) {
    return onDevice(*owners_, set, info, &lastError_, [](HDEVINFO devs, SP_DEVINFO_DATA* device) {
        return LATE_BOUND(kSetupApi, SetupDiCallClassInstaller)(DIF_REMOVE, devs, device);
    });
}

bool Win32Host::getDeviceInstallFlags(DevInfoSet set, const DeviceInfo& info, uint32_t* flags) {
    if (flags == nullptr)
        return fail(ERROR_INVALID_PARAMETER);
    SP_DEVINSTALL_PARAMS_A params{};
    params.cbSize = sizeof params;
    bool ok =
        onDevice(*owners_, set, info, &lastError_, [&](HDEVINFO devs, SP_DEVINFO_DATA* device) {
            return LATE_BOUND(kSetupApi, SetupDiGetDeviceInstallParamsA)(devs, device, &params);
        });
    if (!ok)
        return false;
    *flags = params.Flags;
    return true;
}

void Win32Host::destroyDeviceInfoList(DevInfoSet set) {
    // The owner destroys the list.
    owners_->sets.erase(set);
}

bool Win32Host::getParent(uint32_t devInst, uint32_t* parent) {
    if (parent == nullptr)
        return false;
    DEVINST node = 0;
    if (LATE_BOUND(kSetupApi, CM_Get_Parent)(&node, devInst, 0) != CR_SUCCESS)
        return false;
    *parent = node;
    return true;
}

// --- Device I/O ---

Handle Win32Host::createFile(const char* path, uint32_t access, uint32_t share) {
    HANDLE h =
        CreateFileA(path, access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    lastError_ = GetLastError();
    if (h == INVALID_HANDLE_VALUE)
        return kInvalidHandle;
    auto value = reinterpret_cast<Handle>(h);
    owners_->files.emplace(value, Owned<HANDLE, CloseFile>(h));
    return value;
}

bool Win32Host::deviceIoControl(Handle h, uint32_t code, void* in, uint32_t inSize, void* out,
                                uint32_t outSize, uint32_t* returned) {
    HANDLE file = owners_->file(h);
    if (file == INVALID_HANDLE_VALUE)
        return fail(ERROR_INVALID_HANDLE);
    DWORD count = 0;
    BOOL ok = DeviceIoControl(file, code, in, inSize, out, outSize, &count, nullptr);
    lastError_ = GetLastError();
    if (returned != nullptr)
        *returned = count;
    return ok != FALSE;
}

bool Win32Host::closeHandle(Handle h) {
    auto it = owners_->files.find(h);
    if (it == owners_->files.end())
        return fail(ERROR_INVALID_HANDLE);
    HANDLE file = it->second.release();
    owners_->files.erase(it);
    BOOL ok = CloseHandle(file);
    lastError_ = GetLastError();
    return ok != FALSE;
}

uint32_t Win32Host::getLastError() {
    return lastError_;
}

std::string Win32Host::formatMessage(uint32_t code) {
    char text[kMessageBufferSize] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text,
                                  kMessageBufferSize - 1, nullptr);
    if (length == 0)
        return "";
    text[kMessageBufferSize - 1] = '\0';
    return text;
}

// --- Registry, below HKEY_LOCAL_MACHINE ---

uint32_t Win32Host::regOpenKey(const char* subKey, uint32_t access, RegKey* key) {
    if (key == nullptr)
        return ERROR_INVALID_PARAMETER;
    HKEY opened = nullptr;
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, access, &opened);
    if (status != ERROR_SUCCESS)
        return static_cast<uint32_t>(status);
    *key = reinterpret_cast<RegKey>(opened);
    owners_->keys.emplace(*key, Owned<HKEY, CloseKey>(opened));
    return ERROR_SUCCESS;
}

uint32_t Win32Host::regCreateKey(const char* subKey, uint32_t access, RegKey* key) {
    if (key == nullptr)
        return ERROR_INVALID_PARAMETER;
    HKEY created = nullptr;
    DWORD disposition = 0;
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  access, nullptr, &created, &disposition);
    if (status != ERROR_SUCCESS)
        return static_cast<uint32_t>(status);
    *key = reinterpret_cast<RegKey>(created);
    owners_->keys.emplace(*key, Owned<HKEY, CloseKey>(created));
    return ERROR_SUCCESS;
}

uint32_t Win32Host::regSetDword(RegKey key, const char* name, uint32_t value) {
    HKEY opened = owners_->key(key);
    if (opened == nullptr)
        return ERROR_INVALID_HANDLE;
    // REG_DWORD data is the little-endian value.
    const BYTE data[sizeof(DWORD)] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8),
                                      static_cast<BYTE>(value >> 16),
                                      static_cast<BYTE>(value >> 24)};
    return static_cast<uint32_t>(RegSetValueExA(opened, name, 0, REG_DWORD, data, sizeof data));
}

uint32_t Win32Host::regDeleteValue(RegKey key, const char* name) {
    HKEY opened = owners_->key(key);
    if (opened == nullptr)
        return ERROR_INVALID_HANDLE;
    return static_cast<uint32_t>(RegDeleteValueA(opened, name));
}

uint32_t Win32Host::regCloseKey(RegKey key) {
    auto it = owners_->keys.find(key);
    if (it == owners_->keys.end())
        return ERROR_INVALID_HANDLE;
    HKEY opened = it->second.release();
    owners_->keys.erase(it);
    return static_cast<uint32_t>(RegCloseKey(opened));
}

// --- Shell folders and paths ---

bool Win32Host::getCommonAppDataFolder(char* path) {
    if (path == nullptr)
        return false;
    return LATE_BOUND(kShell32, SHGetFolderPathA)(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE,
                                                  nullptr, SHGFP_TYPE_CURRENT, path) == S_OK;
}

uint32_t Win32Host::getWindowsDirectory(char* path, uint32_t size) {
    UINT length = GetWindowsDirectoryA(path, size);
    lastError_ = GetLastError();
    // A result of `size` or more is the size needed: nothing was written.
    return length < size ? length : 0;
}

bool Win32Host::pathStripToRoot(char* path) {
    return path != nullptr && LATE_BOUND(kShlwapi, PathStripToRootA)(path);
}

bool Win32Host::pathAppend(char* path, const char* more) {
    return path != nullptr && more != nullptr && LATE_BOUND(kShlwapi, PathAppendA)(path, more);
}

int Win32Host::createDirectory(const char* path) {
    wchar_t wide[MAX_PATH] = {};
    if (path == nullptr || MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH) == 0) {
        return ERROR_INVALID_PARAMETER;
    }
    return LATE_BOUND(kShell32, SHCreateDirectory)(nullptr, wide);
}

std::FILE* Win32Host::openForAppend(const char* path) {
    // The C runtime reads the path in the ANSI code page, as the A calls
    // that made it spell it.
    return path != nullptr ? std::fopen(path, "a") : nullptr;
}

// --- System information ---

bool Win32Host::getComputerNameEx(bool fullyQualified, char* name, uint32_t* size) {
    if (size == nullptr)
        return fail(ERROR_INVALID_PARAMETER);
    DWORD length = *size;
    BOOL ok = GetComputerNameExA(
        fullyQualified ? ComputerNameDnsFullyQualified : ComputerNameDnsHostname, name, &length);
    lastError_ = GetLastError();
    *size = length;
    return ok != FALSE;
}

bool Win32Host::getVersionEx(OsVersionInfo* info) {
    if (info == nullptr)
        return false;
    OSVERSIONINFOEXA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) {
        lastError_ = GetLastError();
        return false;
    }
    info->major = version.dwMajorVersion;
    info->minor = version.dwMinorVersion;
    info->build = version.dwBuildNumber;
    info->platformId = version.dwPlatformId;
    version.szCSDVersion[sizeof version.szCSDVersion - 1] = '\0';
    info->servicePack = version.szCSDVersion;
    info->servicePackMajor = version.wServicePackMajor;
    info->servicePackMinor = version.wServicePackMinor;
    info->suiteMask = version.wSuiteMask;
    info->productType = version.wProductType;
    return true;
}

bool Win32Host::getNativeSystemInfo(uint16_t* architecture) {
    using Fn = void(WINAPI*)(LPSYSTEM_INFO);
    auto native = kernel32Function<Fn>("GetNativeSystemInfo");
    if (native == nullptr || architecture == nullptr)
        return false;
    SYSTEM_INFO system{};
    native(&system);
    *architecture = system.wProcessorArchitecture;
    return true;
}

uint16_t Win32Host::getSystemInfo() {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    return system.wProcessorArchitecture;
}

bool Win32Host::getProductInfo(uint32_t major, uint32_t minor, uint32_t spMajor, uint32_t spMinor,
                               uint32_t* productType) {
    using Fn = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, PDWORD);
    auto productInfo = kernel32Function<Fn>("GetProductInfo");
    if (productInfo == nullptr || productType == nullptr)
        return false;
    DWORD type = 0;
    if (!productInfo(major, minor, spMajor, spMinor, &type))
        return false;
    *productType = type;
    return true;
}

int Win32Host::getSystemMetrics(int index) {
    return LATE_BOUND(kUser32, GetSystemMetrics)(index);
}

bool Win32Host::isUserAnAdmin() {
    return LATE_BOUND(kShell32, IsUserAnAdmin)() != FALSE;
}

void Win32Host::sleep(uint32_t milliseconds) {
    Sleep(milliseconds);
}

}  // namespace platform
