// The host system on a real Windows machine: each operation makes the
// Windows call it is named after. Every handle, device information set and
// registry key handed out stays owned here until the caller closes it (or
// the host goes), so an operation given a handle it never handed out fails
// with ERROR_INVALID_HANDLE instead of passing it on to Windows.
//
// This header names no Windows type, so that code outside platform/windows
// may create the host; the owners live in the implementation.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/host_system.h"

namespace platform {

class Win32Host : public HostSystem {
  public:
    Win32Host();
    ~Win32Host() override;
    Win32Host(const Win32Host&) = delete;
    Win32Host& operator=(const Win32Host&) = delete;

    DevInfoSet getClassDevs(InterfaceClass cls) override;
    bool enumDeviceInterfaces(DevInfoSet set, uint32_t index) override;
    bool getDeviceInterfaceDetail(DevInfoSet set, uint32_t index, char* path, uint32_t pathSize,
                                  DeviceInfo* info) override;
    bool getDeviceInstanceId(DevInfoSet set, const DeviceInfo& info, char* id,
                             uint32_t idSize) override;
    bool getUiNumber(DevInfoSet set, const DeviceInfo& info, uint32_t* uiNumber) override;
    bool enumDeviceInfo(DevInfoSet set, uint32_t index, DeviceInfo* info) override;
    bool setRemoveInstallParams(DevInfoSet set, const DeviceInfo& info) override;
    bool callClassInstallerRemove(DevInfoSet set, const DeviceInfo& info) override;
    bool getDeviceInstallFlags(DevInfoSet set, const DeviceInfo& info, uint32_t* flags) override;
    void destroyDeviceInfoList(DevInfoSet set) override;
    bool getParent(uint32_t devInst, uint32_t* parent) override;

    Handle createFile(const char* path, uint32_t access, uint32_t share) override;
    bool deviceIoControl(Handle h, uint32_t code, void* in, uint32_t inSize, void* out,
                         uint32_t outSize, uint32_t* returned) override;
    bool closeHandle(Handle h) override;
    uint32_t getLastError() override;
    std::string formatMessage(uint32_t code) override;

    uint32_t regOpenKey(const char* subKey, uint32_t access, RegKey* key) override;
    uint32_t regCreateKey(const char* subKey, uint32_t access, RegKey* key) override;
    uint32_t regSetDword(RegKey key, const char* name, uint32_t value) override;
    uint32_t regDeleteValue(RegKey key, const char* name) override;
    uint32_t regCloseKey(RegKey key) override;

    bool getCommonAppDataFolder(char* path) override;
    uint32_t getWindowsDirectory(char* path, uint32_t size) override;
    bool pathStripToRoot(char* path) override;
    bool pathAppend(char* path, const char* more) override;
    int createDirectory(const char* path) override;
    std::FILE* openForAppend(const char* path) override;

    bool getComputerNameEx(bool fullyQualified, char* name, uint32_t* size) override;
    bool getVersionEx(OsVersionInfo* info) override;
    bool getNativeSystemInfo(uint16_t* architecture) override;
    uint16_t getSystemInfo() override;
    bool getProductInfo(uint32_t major, uint32_t minor, uint32_t spMajor, uint32_t spMinor,
                        uint32_t* productType) override;
    int getSystemMetrics(int index) override;
    bool isUserAnAdmin() override;
    void sleep(uint32_t milliseconds) override;

  private:
    // Records `error` as the last error; false.
    bool fail(uint32_t error);

    struct Owners;  // the handles, sets and keys handed out
    std::unique_ptr<Owners> owners_;
    uint32_t lastError_ = 0;
};

}  // namespace platform
