// A host system that hands every call to an emulated host; tests derive
// from it and take over only the calls they watch or answer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "emulator/emulated_host.h"
#include "platform/host_system.h"

class ForwardingHost : public platform::HostSystem {
  public:
    explicit ForwardingHost(std::unique_ptr<emulator::EmulatedHost> inner)
        : inner_(std::move(inner)) {}

    emulator::EmulatedHost& inner() { return *inner_; }

    platform::DevInfoSet getClassDevs(platform::InterfaceClass cls) override {
        return inner_->getClassDevs(cls);
    }
    bool enumDeviceInterfaces(platform::DevInfoSet set, uint32_t index) override {
        return inner_->enumDeviceInterfaces(set, index);
    }
    bool getDeviceInterfaceDetail(platform::DevInfoSet set, uint32_t index, char* path,
                                  uint32_t pathSize, platform::DeviceInfo* info) override {
        return inner_->getDeviceInterfaceDetail(set, index, path, pathSize, info);
    }
    bool getDeviceInstanceId(platform::DevInfoSet set, const platform::DeviceInfo& info, char* id,
                             uint32_t idSize) override {
        return inner_->getDeviceInstanceId(set, info, id, idSize);
    }
    bool getUiNumber(platform::DevInfoSet set, const platform::DeviceInfo& info,
                     uint32_t* uiNumber) override {
        return inner_->getUiNumber(set, info, uiNumber);
    }
    bool enumDeviceInfo(platform::DevInfoSet set, uint32_t index,
                        platform::DeviceInfo* info) override {
        return inner_->enumDeviceInfo(set, index, info);
    }
    bool setRemoveInstallParams(platform::DevInfoSet set,
                                const platform::DeviceInfo& info) override {
        return inner_->setRemoveInstallParams(set, info);
    }
    bool callClassInstallerRemove(platform::DevInfoSet set,
                                  const platform::DeviceInfo& info) override {
        return inner_->callClassInstallerRemove(set, info);
    }
    bool getDeviceInstallFlags(platform::DevInfoSet set, const platform::DeviceInfo& info,
                               uint32_t* flags) override {
        return inner_->getDeviceInstallFlags(set, info, flags);
    }
    void destroyDeviceInfoList(platform::DevInfoSet set) override {
        inner_->destroyDeviceInfoList(set);
    }
    bool getParent(uint32_t devInst, uint32_t* parent) override {
        return inner_->getParent(devInst, parent);
    }
    platform::Handle createFile(const char* path, uint32_t access, uint32_t share) override {
        return inner_->createFile(path, access, share);
    }
    bool deviceIoControl(platform::Handle h, uint32_t code, void* in, uint32_t inSize, void* out,
                         uint32_t outSize, uint32_t* returned) override {
        return inner_->deviceIoControl(h, code, in, inSize, out, outSize, returned);
    }
    bool closeHandle(platform::Handle h) override { return inner_->closeHandle(h); }
    uint32_t getLastError() override { return inner_->getLastError(); }
    std::string formatMessage(uint32_t code) override { return inner_->formatMessage(code); }
    uint32_t regOpenKey(const char* subKey, uint32_t access, platform::RegKey* key) override {
        return inner_->regOpenKey(subKey, access, key);
    }
    uint32_t regCreateKey(const char* subKey, uint32_t access, platform::RegKey* key) override {
        return inner_->regCreateKey(subKey, access, key);
    }
    uint32_t regSetDword(platform::RegKey key, const char* name, uint32_t value) override {
        return inner_->regSetDword(key, name, value);
    }
    uint32_t regDeleteValue(platform::RegKey key, const char* name) override {
        return inner_->regDeleteValue(key, name);
    }
    uint32_t regCloseKey(platform::RegKey key) override { return inner_->regCloseKey(key); }
    bool getCommonAppDataFolder(char* path) override {
        return inner_->getCommonAppDataFolder(path);
    }
    uint32_t getWindowsDirectory(char* path, uint32_t size) override {
        return inner_->getWindowsDirectory(path, size);
    }
    bool pathStripToRoot(char* path) override { return inner_->pathStripToRoot(path); }
    bool pathAppend(char* path, const char* more) override {
        return inner_->pathAppend(path, more);
    }
    int createDirectory(const char* path) override { return inner_->createDirectory(path); }
    std::FILE* openForAppend(const char* path) override { return inner_->openForAppend(path); }
    bool getComputerNameEx(bool fullyQualified, char* name, uint32_t* size) override {
        return inner_->getComputerNameEx(fullyQualified, name, size);
    }
    bool getVersionEx(platform::OsVersionInfo* info) override { return inner_->getVersionEx(info); }
    bool getNativeSystemInfo(uint16_t* architecture) override {
        return inner_->getNativeSystemInfo(architecture);
    }
    uint16_t getSystemInfo() override { return inner_->getSystemInfo(); }
    bool getProductInfo(uint32_t major, uint32_t minor, uint32_t spMajor, uint32_t spMinor,
                        uint32_t* productType) override {
        return inner_->getProductInfo(major, minor, spMajor, spMinor, productType);
    }
    int getSystemMetrics(int index) override { return inner_->getSystemMetrics(index); }
    bool isUserAnAdmin() override { return inner_->isUserAnAdmin(); }
    void sleep(uint32_t milliseconds) override { inner_->sleep(milliseconds); }

  private:
    std::unique_ptr<emulator::EmulatedHost> inner_;
};
