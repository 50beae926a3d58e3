// Owners of the host system's handles: a device handle, a device
// information set and a registry key each close themselves when their
// owner goes out of scope, so every path of the OS layer releases them.
#pragma once

#include "platform/host_system.h"

namespace os {

// A device or file handle from platform::Host().createFile.
class HandleOwner {
  public:
    HandleOwner() = default;
    explicit HandleOwner(platform::Handle h) : handle_(h) {}
    ~HandleOwner() { reset(); }
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;

    // Opens `path`; valid() tells whether that worked.
    static HandleOwner Open(const char* path, uint32_t access, uint32_t share) {
        return HandleOwner(platform::Host().createFile(path, access, share));
    }
    HandleOwner(HandleOwner&& other) noexcept : handle_(other.release()) {}
    HandleOwner& operator=(HandleOwner&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    bool valid() const { return handle_ != platform::kInvalidHandle; }
    platform::Handle get() const { return handle_; }
    // Gives up ownership without closing.
    platform::Handle release() {
        platform::Handle h = handle_;
        handle_ = platform::kInvalidHandle;
        return h;
    }
    void reset(platform::Handle h = platform::kInvalidHandle) {
        if (valid())
            platform::Host().closeHandle(handle_);
        handle_ = h;
    }

  private:
    platform::Handle handle_ = platform::kInvalidHandle;
};

// A device information set from platform::Host().getClassDevs.
class DevInfoSetOwner {
  public:
    explicit DevInfoSetOwner(platform::InterfaceClass cls)
        : set_(platform::Host().getClassDevs(cls)) {}
    ~DevInfoSetOwner() {
        if (valid())
            platform::Host().destroyDeviceInfoList(set_);
    }
    DevInfoSetOwner(const DevInfoSetOwner&) = delete;
    DevInfoSetOwner& operator=(const DevInfoSetOwner&) = delete;

    bool valid() const { return set_ != platform::kInvalidDevInfoSet; }
    platform::DevInfoSet get() const { return set_; }

  private:
    platform::DevInfoSet set_;
};

// A registry key below HKEY_LOCAL_MACHINE; 0 is no key.
class RegKeyOwner {
  public:
    RegKeyOwner() = default;
    ~RegKeyOwner() { close(); }
    RegKeyOwner(const RegKeyOwner&) = delete;
    RegKeyOwner& operator=(const RegKeyOwner&) = delete;

    // RegOpenKeyExA; a Windows error code.
    uint32_t open(const char* subKey, uint32_t access) {
        close();
        uint32_t rc = platform::Host().regOpenKey(subKey, access, &key_);
        if (rc != platform::kErrorSuccess)
            key_ = 0;
        return rc;
    }
    // RegCreateKeyExA; a Windows error code.
    uint32_t create(const char* subKey, uint32_t access) {
        close();
        uint32_t rc = platform::Host().regCreateKey(subKey, access, &key_);
        if (rc != platform::kErrorSuccess)
            key_ = 0;
        return rc;
    }
    void close() {
        if (key_ != 0)
            platform::Host().regCloseKey(key_);
        key_ = 0;
    }
    platform::RegKey get() const { return key_; }

  private:
    platform::RegKey key_ = 0;
};

}  // namespace os
