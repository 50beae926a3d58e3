// The emulated host: a model of the Windows machine that carries the
// controllers, with its controller drivers and the controllers' firmware.
// Its state lives in a host file (JSON) that persists between runs; see
// emulator/README.md for the format.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/controller_model.h"
#include "emulator/host_store.h"
#include "platform/host_system.h"

namespace emulator {

class EmulatedHost : public platform::HostSystem {
  public:
    // The host named by KV_EMULATED_HOST, else $XDG_STATE_HOME/kv_cli/host.json
    // (~/.local/state/kv_cli/host.json). A missing file is created from the
    // built-in default host.
    static std::unique_ptr<EmulatedHost> fromEnvironment();
    // The host file at `path`, created from the default host when missing.
    static std::unique_ptr<EmulatedHost> fromFile(const std::string& path);
    // A host held in memory only (unit tests); nothing is written.
    static std::unique_ptr<EmulatedHost> fromJson(const nlohmann::json& state,
                                                  const std::string& folder);

    // The built-in default host.
    static nlohmann::json defaultHost();
    // Where the host file lies when KV_EMULATED_HOST is unset.
    static std::string defaultHostPath();

    const nlohmann::json& state() const { return state_; }
    const std::string& folder() const { return folder_; }

    // --- platform::HostSystem ---
    platform::DevInfoSet getClassDevs(platform::InterfaceClass cls) override;
    bool enumDeviceInterfaces(platform::DevInfoSet set, uint32_t index) override;
    bool getDeviceInterfaceDetail(platform::DevInfoSet set, uint32_t index, char* path,
                                  uint32_t pathSize, platform::DeviceInfo* info) override;
    bool getDeviceInstanceId(platform::DevInfoSet set, const platform::DeviceInfo& info, char* id,
                             uint32_t idSize) override;
    bool getUiNumber(platform::DevInfoSet set, const platform::DeviceInfo& info,
                     uint32_t* uiNumber) override;
    bool enumDeviceInfo(platform::DevInfoSet set, uint32_t index,
                        platform::DeviceInfo* info) override;
    bool setRemoveInstallParams(platform::DevInfoSet set,
                                const platform::DeviceInfo& info) override;
    bool callClassInstallerRemove(platform::DevInfoSet set,
                                  const platform::DeviceInfo& info) override;
    bool getDeviceInstallFlags(platform::DevInfoSet set, const platform::DeviceInfo& info,
                               uint32_t* flags) override;
    void destroyDeviceInfoList(platform::DevInfoSet set) override;
    bool getParent(uint32_t devInst, uint32_t* parent) override;

    platform::Handle createFile(const char* path, uint32_t access, uint32_t share) override;
    bool deviceIoControl(platform::Handle h, uint32_t code, void* in, uint32_t inSize, void* out,
                         uint32_t outSize, uint32_t* returned) override;
    bool closeHandle(platform::Handle h) override;
    uint32_t getLastError() override;
    std::string formatMessage(uint32_t code) override;

    uint32_t regOpenKey(const char* subKey, uint32_t access, platform::RegKey* key) override;
    uint32_t regCreateKey(const char* subKey, uint32_t access, platform::RegKey* key) override;
    uint32_t regSetDword(platform::RegKey key, const char* name, uint32_t value) override;
    uint32_t regDeleteValue(platform::RegKey key, const char* name) override;
    uint32_t regCloseKey(platform::RegKey key) override;

    bool getCommonAppDataFolder(char* path) override;
    uint32_t getWindowsDirectory(char* path, uint32_t size) override;
    bool pathStripToRoot(char* path) override;
    bool pathAppend(char* path, const char* more) override;
    int createDirectory(const char* path) override;
    std::FILE* openForAppend(const char* path) override;

    bool getComputerNameEx(bool fullyQualified, char* name, uint32_t* size) override;
    bool getVersionEx(platform::OsVersionInfo* info) override;
    bool getNativeSystemInfo(uint16_t* architecture) override;
    uint16_t getSystemInfo() override;
    bool getProductInfo(uint32_t major, uint32_t minor, uint32_t spMajor, uint32_t spMinor,
                        uint32_t* productType) override;
    int getSystemMetrics(int index) override;
    bool isUserAnAdmin() override;
    void sleep(uint32_t milliseconds) override;

  private:
    EmulatedHost(nlohmann::json state, std::string folder, std::string file);

    // What an open handle names.
    enum class DeviceKind { Controller, Disk, Volume };
    struct OpenHandle {
        DeviceKind kind;
        size_t index;  // into the machine's list of that kind
        bool locked = false;
        bool dismounted = false;
    };
    // One device of a device information set (a snapshot of the machine).
    struct SetMember {
        DeviceKind kind;
        size_t index;
        uint32_t devInst;
        std::string path;
        std::string instanceId;
        bool removeParams = false;
        uint32_t installFlags = 0;
    };
    using DeviceSet = std::vector<SetMember>;

    // Runs one emulated call. One that may change the machine (`mayChange`
    // answers after the state is brought up to date) runs under the host
    // file's lock on its latest version, and its change is saved at once;
    // any other answers from the state the process holds, which one stamp
    // check per call keeps up to date (see "The host-file store" in
    // emulator/README.md).
    template <typename Result, typename MayChange, typename Operation>
    Result transact(const MayChange& mayChange, const Operation& operation);
    // Opening or closing a handle: it reads only the devices the process
    // holds and changes nothing, so it runs on the held state, without a
    // stamp check; the request sent through the handle makes the check and
    // finds a device that left in between. While a fault rule may fire it
    // runs as any other call.
    template <typename Result, typename Operation>
    Result handleCall(const Operation& operation);
    // A call that may always change the machine.
    template <typename Result, typename Operation>
    Result transact(const Operation& operation);
    // What a call changed: the state (which drops all that was gathered
    // of it), or its enclosure elements alone (which drops only what the
    // enclosures answered).
    enum class Change { None, EnclosureElements, State };
    void markChanged() { changed_ = Change::State; }
    void markElementsChanged() {
        if (changed_ == Change::None)
            changed_ = Change::EnclosureElements;
    }
    // Takes a newly read state: the disks Windows finds for the units join it.
    void adopt(nlohmann::json state);
    // Reads the host file again when another version replaced it: as the
    // write count or, now and then, the stamp shows (a call that changes
    // nothing)...
    void followFile();
    // ...or as the stamp shows (under the lock, before a change).
    void followLatest();
    void reloadFile();
    void saveToFile();
    // A change made by a call that was not expected to make one.
    void saveUnforeseenChange();
    // What every call asks of the state, read once per version of it.
    struct StateFacts {
        bool logging = false;     // the host file names a request log
        bool faultsLive = false;  // a fault rule could still fire or count down
        size_t dataBound = 0;     // the request bytes a log record shows
    };
    const StateFacts& facts() const {
        if (!facts_)
            gatherFacts();
        return *facts_;
    }
    void gatherFacts() const;
    // Whether a fault rule could still fire or count down.
    bool faultsLive() const { return facts().faultsLive; }
    auto faultsMayFire() const {
        return [this] { return faultsLive(); };
    }

    // Whether the host file asks for a request log.
    [[nodiscard]] bool logging() const { return facts().logging; }
    // Appends one record to the request log when the host file names one.
    void logRecord(const nlohmann::json& record);
    // A request's record with the first fields `build` gives, or null when
    // there is no request log to write it to (and nothing is built).
    template <typename Build>
    [[nodiscard]] nlohmann::json openRecord(const Build& build) const {
        return logging() ? nlohmann::json(build()) : nlohmann::json();
    }
    // An os-layer fault rule for this operation: its Windows error, or 0.
    // Asked on every open, close and request: while no rule is live it
    // answers at once.
    uint32_t osFault(std::string_view kind, int64_t controller, int64_t code) {
        return faultsLive() ? takeOsFault(kind, controller, code) : 0;
    }
    uint32_t takeOsFault(std::string_view kind, int64_t controller, int64_t code);

    // A path of the host file resolved against the host file's folder.
    std::string resolve(const std::string& path) const;
    const nlohmann::json& machine() const;
    // The machine's list of devices of `kind`, made an empty list when it
    // is missing; found once per version of the state (no call removes a
    // list, so the node stays where it is).
    nlohmann::json& list(DeviceKind kind);
    // Whether the device of an open handle is still in the machine.
    bool stillPresent(const OpenHandle& handle);
    // The present devices of a class, gathered once per version of the state.
    const DeviceSet& snapshot(platform::InterfaceClass cls);
    // Drops what was gathered from the state once it changed.
    void forgetModels();
    // Ends a call: what it changed makes the gathered models stale.
    void settle();
    const SetMember* member(platform::DevInfoSet set, const platform::DeviceInfo& info);
    // The present device whose interface path is `path` (in lower case).
    const SetMember* deviceAtPath(std::string_view path);
    std::string instanceIdOf(DeviceKind kind, size_t index);
    uint32_t devInstOf(DeviceKind kind, size_t index);
    bool registryKeyExists(const std::string& key);
    // The key path of an open key for a value operation, or its error.
    uint32_t valueKey(platform::RegKey key, const char* name, const std::string** path);
    nlohmann::json* registryValues(const std::string& key, bool create);
    // Sets the last error and answers false.
    bool fail(uint32_t error);
    // Logs `record` with the outcome `error` (0: success), which also
    // becomes the last error; answers whether the call succeeded.
    bool finish(nlohmann::json& record, uint32_t error);

    // An IOCTL_SCSI_MINIPORT request to a controller, which the drivers
    // answer; its log record is filled in and written.
    bool controllerIoControl(nlohmann::json& record, const OpenHandle& handle, uint8_t* in,
                             uint32_t inSize, uint8_t* out, uint32_t outSize, uint32_t* returned);
    bool diskIoControl(OpenHandle& handle, uint32_t code, void* out, uint32_t outSize,
                       uint32_t* returned);
    bool volumeIoControl(platform::Handle h, OpenHandle& handle, uint32_t code, void* out,
                         uint32_t outSize, uint32_t* returned);

    nlohmann::json state_;
    std::string folder_;  // the host file's folder
    std::string file_;    // the host file; empty for a host held in memory
    HostFileCopy copy_;   // the host file as last read or written
    Change changed_ = Change::None;
    uint32_t lastError_ = 0;
    // The open handles in the order they were opened (a few at a time).
    using OpenHandles = std::vector<std::pair<platform::Handle, OpenHandle>>;
    OpenHandles handles_;
    OpenHandles::iterator findHandle(platform::Handle h);
    platform::Handle nextHandle_ = 0x100;
    std::map<platform::DevInfoSet, DeviceSet> sets_;
    std::array<std::optional<DeviceSet>, 3> devices_;  // by DeviceKind
    std::array<nlohmann::json*, 3> lists_{};           // by DeviceKind
    ModelCache models_;
    mutable std::optional<StateFacts> facts_;
    platform::DevInfoSet nextSet_ = 0x10;
    std::map<platform::RegKey, std::string> keys_;
    platform::RegKey nextKey_ = 0x1000;
};

// The transaction every call runs in (see transact above), for the files
// that answer each group of calls.
template <typename Result, typename MayChange, typename Operation>
Result EmulatedHost::transact(const MayChange& mayChange, const Operation& operation) {
    changed_ = Change::None;
    followFile();
    if (file_.empty() || !mayChange()) {
        Result result = operation();
        if (changed_ != Change::None)
            saveUnforeseenChange();
        settle();
        return result;
    }
    HostFileLock lock = copy_.lock();
    followLatest();
    Result result = operation();
    if (changed_ != Change::None)
        saveToFile();
    settle();
    return result;
}

template <typename Result, typename Operation>
Result EmulatedHost::handleCall(const Operation& operation) {
    if (faultsLive())
        return transact<Result>(faultsMayFire(), operation);
    return operation();
}

template <typename Result, typename Operation>
Result EmulatedHost::transact(const Operation& operation) {
    return transact<Result>([] { return true; }, operation);
}

}  // namespace emulator
