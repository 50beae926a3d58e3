#include "emulator/emulated_host.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "emulator/controller_model.h"
#include "emulator/driver.h"
#include "emulator/faults.h"
#include "emulator/fields.h"
#include "emulator/host_paths.h"
#include "emulator/host_schema.h"
#include "emulator/host_store.h"
#include "emulator/host_text.h"
#include "emulator/machine_names.h"
#include "emulator/unit_model.h"
#include "emulator/wire.h"

namespace emulator {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// Windows errors beyond the seam's list.
constexpr uint32_t kErrorInvalidData = 13;
constexpr uint32_t kErrorNotLocked = 158;
constexpr uint32_t kErrorMoreData = 234;

// I/O control codes of disks and volumes.
constexpr uint32_t kIoctlScsiGetAddress = 0x41018;
constexpr uint32_t kIoctlStorageGetDeviceNumber = 0x2D1080;
constexpr uint32_t kIoctlVolumeGetDiskExtents = 0x560000;
constexpr uint32_t kFsctlLockVolume = 0x90018;
constexpr uint32_t kFsctlUnlockVolume = 0x9001C;
constexpr uint32_t kFsctlDismountVolume = 0x90020;

constexpr uint32_t kFileDeviceDisk = 7;
constexpr size_t kScsiAddressSize = 8;
constexpr size_t kDeviceNumberSize = 12;
constexpr size_t kExtentsHeader = 8;
constexpr size_t kExtentSize = 24;

// Configuration-manager device instances: the root, and the ranges of
// the emulated devices (a device's own "dev_inst" field overrides them).
constexpr uint32_t kRootDevInst = 1;
constexpr uint32_t kControllerDevInstBase = 0x100;
constexpr uint32_t kDiskDevInstBase = 0x200;
constexpr uint32_t kVolumeDevInstBase = 0x300;

// The separator the path calls join with: on Windows the emulated machine's
// folders are Windows folders, joined with a backslash as PathAppendA
// joins them (a slash is a separator there too); on Linux, Linux folders.
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

bool isPathSeparator(char c) {
    return c == '/' || c == kPathSeparator;
}

// Copies `text` into a caller buffer of `size` bytes, NUL included.
bool copyOut(const std::string& text, char* buffer, uint32_t size) {
    if (buffer == nullptr || text.size() + 1 > size)
        return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

bool present(const json& device) {
    return flagField(device, "present", true);
}

const char* kindName(int kind) {
    static const char* const names[] = {"controller", "disk", "volume"};
    return names[kind];
}

json parseHostText(const std::string& text, const std::string& path) {
    return parseHostFile(text, path);
}

// The field `key` of `object`, made an empty value of `type` when it is
// missing or of another type. It is looked up before it is made: making
// it (operator[]) costs a new map node on every call.
json& fieldOfType(json& object, std::string_view key, json::value_t type) {
    auto it = object.find(key);
    json& field = it != object.end() ? *it : object[key];
    if (field.type() != type)
        field = json(type);
    return field;
}

// The part of a controller request's buffer that goes back to the caller.
Bytes answeredBytes(ConstByteSpan buffer, const DriverOutcome& outcome, const void* out,
                    uint32_t outSize) {
    if (out == nullptr || (!outcome.ok && !outcome.delivered))
        return Bytes();
    size_t n = std::min<size_t>(outcome.ok ? outcome.returned : buffer.size(), outSize);
    return Bytes(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n));
}

// Copies the first `n` bytes of the answer to the caller's output, unless
// the answer was made there.
void copyAnswer(ConstByteSpan buffer, uint8_t* out, size_t n) {
    if (out != nullptr && n > 0 && out != buffer.data())
        std::memcpy(out, buffer.data(), n);
}

}  // namespace

EmulatedHost::EmulatedHost(json state, std::string folder, std::string file)
    : folder_(std::move(folder)), file_(std::move(file)) {
    adopt(std::move(state));
}

std::string EmulatedHost::defaultHostPath() {
    std::string base = environmentText("XDG_STATE_HOME");
    if (base.empty()) {
        const std::string home = environmentText("HOME");
        base = (home.empty() ? std::string(".") : home) + "/.local/state";
    }
    return base + "/kv_cli/host.json";
}

std::unique_ptr<EmulatedHost> EmulatedHost::fromEnvironment() {
    const std::string named = environmentText("KV_EMULATED_HOST");
    return fromFile(!named.empty() ? named : defaultHostPath());
}

std::unique_ptr<EmulatedHost> EmulatedHost::fromFile(const std::string& path) {
    // A link is followed to the file it names: runs through it and through
    // the file itself share one lock, and a write replaces the file.
    const std::string file = hostFileTarget(textOf(fs::absolute(pathOf(path)).lexically_normal()));
    const fs::path folder = pathOf(file).parent_path();
    std::unique_ptr<EmulatedHost> host(new EmulatedHost(json::object(), textOf(folder), file));
    // The folder is made once, here: the lock file and every version of the
    // host file live in it.
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    host->copy_.countWrites(file);
    HostFileLock lock = host->copy_.lock();
    if (!host->copy_.read(file))
        host->copy_.write(file, hostFileText(defaultHost()));
    host->adopt(parseHostText(host->copy_.text(), file));
    return host;
}

std::unique_ptr<EmulatedHost> EmulatedHost::fromJson(const json& state, const std::string& folder) {
    checkHostFields(state, "emulated host");
    return std::unique_ptr<EmulatedHost>(new EmulatedHost(state, folder, ""));
}

// --- the store ---

void EmulatedHost::adopt(json state) {
    state_ = std::move(state);
    forgetModels();
    // Windows finds a disk for each unit; the disks join the host file
    // with its next change.
    (void)attachUnitDisks(state_);
}

void EmulatedHost::followFile() {
    if (!file_.empty() && !copy_.followed(file_))
        reloadFile();
}

void EmulatedHost::followLatest() {
    if (!file_.empty() && !copy_.current(file_))
        reloadFile();
}

void EmulatedHost::reloadFile() {
    if (copy_.read(file_))
        adopt(parseHostText(copy_.text(), file_));
}

void EmulatedHost::saveToFile() {
    // The text last read or written lends its storage to the new one.
    copy_.write(file_, hostFileText(state_, copy_.takeText()));
}

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

void EmulatedHost::settle() {
    if (changed_ == Change::State)
        forgetModels();
    else if (changed_ == Change::EnclosureElements)
        models_.forgetEnclosureAnswers();
    changed_ = Change::None;
}

void EmulatedHost::saveUnforeseenChange() {
    if (file_.empty())
        return;
    // The call ran on the version the stamp named a moment ago; as long as
    // no other process has written since, that was the latest one.
    HostFileLock lock = copy_.lock();
    if (!copy_.current(file_))
        throw std::logic_error("emulated host: a change to " + file_ +
                               " was not foreseen and met a newer version");
    saveToFile();
}

void EmulatedHost::gatherFacts() const {
    auto log = state_.find("request_log");
    facts_ = StateFacts{
        log != state_.end() && log->is_string() && !log->get_ref<const std::string&>().empty(),
        anyLiveFault(state_), requestDataBound(state_)};
}

void EmulatedHost::logRecord(const json& record) {
    if (logging())
        appendLine(resolve(state_["request_log"].get<std::string>()), jsonLine(record));
}

uint32_t EmulatedHost::takeOsFault(std::string_view kind, int64_t controller, int64_t code) {
    FaultQuery q;
    q.layer = "os";
    q.kind = kind;
    q.controller = controller;
    q.code = code;
    bool moved = false;
    json action = takeFault(state_, q, &moved);
    if (moved)
        markChanged();
    if (action.is_null())
        return 0;
    return static_cast<uint32_t>(numberField(action, "os_error", platform::kErrorGenFailure));
}

bool EmulatedHost::finish(json& record, uint32_t error) {
    if (error != 0)
        lastError_ = error;
    if (record.is_null())
        return error == 0;  // no request log: nothing to write
    record["result"] = error == 0 ? "ok" : "os_error";
    if (error != 0)
        record["error"] = error;
    logRecord(record);
    return error == 0;
}

bool EmulatedHost::fail(uint32_t error) {
    lastError_ = error;
    return false;
}

// --- the machine ---

const json& EmulatedHost::machine() const {
    static const json empty = json::object();
    auto it = state_.find("machine");
    return it != state_.end() && it->is_object() ? *it : empty;
}

json& EmulatedHost::list(DeviceKind kind) {
    static const char* const names[] = {"controllers", "disks", "volumes"};
    json*& found = lists_[static_cast<size_t>(kind)];
    if (found == nullptr) {
        found = &fieldOfType(fieldOfType(state_, "machine", json::value_t::object),
                             names[static_cast<size_t>(kind)], json::value_t::array);
    }
    return *found;
}

std::string EmulatedHost::resolve(const std::string& path) const {
    const fs::path p = pathOf(path);
    if (p.is_absolute())
        return textOf(p.lexically_normal());
    return textOf((pathOf(folder_) / p).lexically_normal());
}

std::string EmulatedHost::instanceIdOf(DeviceKind kind, size_t index) {
    switch (kind) {
        case DeviceKind::Controller: {
            const json& c = list(DeviceKind::Controller)[index];
            return c.value(
                "instance_id",
                controllerInstanceId(static_cast<int>(numberField(c, "device_type", 2)), index));
        }
        case DeviceKind::Disk: {
            const json& d = list(DeviceKind::Disk)[index];
            int64_t controller = numberField(d, "controller", -1);
            return d.value(
                "instance_id",
                diskInstanceId(controller < 0 ? 0xFF : static_cast<size_t>(controller),
                               static_cast<unsigned>(numberField(d, "target", 0)), index));
        }
        case DeviceKind::Volume:
            return list(DeviceKind::Volume)[index].value("instance_id", volumeInstanceId(index));
    }
    return std::string();
}

uint32_t EmulatedHost::devInstOf(DeviceKind kind, size_t index) {
    static const uint32_t bases[] = {kControllerDevInstBase, kDiskDevInstBase, kVolumeDevInstBase};
    int k = static_cast<int>(kind);
    return static_cast<uint32_t>(
        numberField(list(kind)[index], "dev_inst", bases[k] + static_cast<int64_t>(index)));
}

const EmulatedHost::DeviceSet& EmulatedHost::snapshot(platform::InterfaceClass cls) {
    DeviceKind kind = cls == platform::InterfaceClass::StoragePort ? DeviceKind::Controller
                      : cls == platform::InterfaceClass::Disk      ? DeviceKind::Disk
                                                                   : DeviceKind::Volume;
    int k = static_cast<int>(kind);
    std::optional<DeviceSet>& kept = devices_[static_cast<size_t>(k)];
    if (kept)
        return *kept;
    static const char* const guids[] = {kStoragePortGuid, kDiskGuid, kVolumeGuid};
    DeviceSet set;
    const json& items = list(kind);
    for (size_t i = 0; i < items.size(); ++i) {
        if (!present(items[i]))
            continue;
        std::string id = instanceIdOf(kind, i);
        set.push_back({kind, i, devInstOf(kind, i), interfacePath(id, guids[k]), id});
    }
    kept = std::move(set);
    return *kept;
}

void EmulatedHost::forgetModels() {
    facts_.reset();
    for (std::optional<DeviceSet>& kept : devices_)
        kept.reset();
    lists_ = {};
    models_.clear();
}

const EmulatedHost::SetMember* EmulatedHost::member(platform::DevInfoSet set,
                                                    const platform::DeviceInfo& info) {
    auto it = sets_.find(set);
    if (it == sets_.end() || info.index >= it->second.size() ||
        it->second[info.index].devInst != info.devInst) {
        lastError_ = platform::kErrorInvalidParameter;
        return nullptr;
    }
    return &it->second[info.index];
}

// --- SetupAPI and the configuration manager ---

platform::DevInfoSet EmulatedHost::getClassDevs(platform::InterfaceClass cls) {
    return transact<platform::DevInfoSet>(faultsMayFire(), [&]() -> platform::DevInfoSet {
        if (uint32_t error = osFault("class_devs", -1, -1)) {
            lastError_ = error;
            return platform::kInvalidDevInfoSet;
        }
        platform::DevInfoSet set = nextSet_++;
        sets_[set] = snapshot(cls);
        return set;
    });
}

bool EmulatedHost::enumDeviceInterfaces(platform::DevInfoSet set, uint32_t index) {
    auto it = sets_.find(set);
    if (it == sets_.end())
        return fail(platform::kErrorInvalidHandle);
    if (index >= it->second.size())
        return fail(platform::kErrorNoMoreItems);
    return true;
}

bool EmulatedHost::getDeviceInterfaceDetail(platform::DevInfoSet set, uint32_t index, char* path,
                                            uint32_t pathSize, platform::DeviceInfo* info) {
    auto it = sets_.find(set);
    if (it == sets_.end())
        return fail(platform::kErrorInvalidHandle);
    if (index >= it->second.size())
        return fail(platform::kErrorNoMoreItems);
    const SetMember& m = it->second[index];
    if (!copyOut(m.path, path, pathSize))
        return fail(platform::kErrorInsufficientBuffer);
    if (info != nullptr)
        *info = {m.devInst, index};
    return true;
}

bool EmulatedHost::getDeviceInstanceId(platform::DevInfoSet set, const platform::DeviceInfo& info,
                                       char* id, uint32_t idSize) {
    const SetMember* m = member(set, info);
    if (m == nullptr)
        return false;
    if (!copyOut(m->instanceId, id, idSize))
        return fail(platform::kErrorInsufficientBuffer);
    return true;
}

bool EmulatedHost::getUiNumber(platform::DevInfoSet set, const platform::DeviceInfo& info,
                               uint32_t* uiNumber) {
    const SetMember* m = member(set, info);
    if (m == nullptr || uiNumber == nullptr)
        return false;
    const json& device = list(m->kind == DeviceKind::Controller ? DeviceKind::Controller
                                                                : DeviceKind::Disk)[m->index];
    int64_t ui = numberField(device, "ui_number", -1);
    if (m->kind != DeviceKind::Controller || ui < 0)
        return fail(kErrorInvalidData);
    *uiNumber = static_cast<uint32_t>(ui);
    return true;
}

bool EmulatedHost::enumDeviceInfo(platform::DevInfoSet set, uint32_t index,
                                  platform::DeviceInfo* info) {
    auto it = sets_.find(set);
    if (it == sets_.end())
        return fail(platform::kErrorInvalidHandle);
    if (index >= it->second.size())
        return fail(platform::kErrorNoMoreItems);
    if (info != nullptr)
        *info = {it->second[index].devInst, index};
    return true;
}

bool EmulatedHost::setRemoveInstallParams(platform::DevInfoSet set,
                                          const platform::DeviceInfo& info) {
    auto it = sets_.find(set);
    if (member(set, info) == nullptr)
        return false;
    it->second[info.index].removeParams = true;
    return true;
}

bool EmulatedHost::callClassInstallerRemove(platform::DevInfoSet set,
                                            const platform::DeviceInfo& info) {
    if (member(set, info) == nullptr)
        return false;
    SetMember& m = sets_[set][info.index];
    if (!m.removeParams)
        return fail(platform::kErrorInvalidParameter);
    return transact<bool>([&]() {
        int64_t controller = -1;
        json& items = list(m.kind);
        if (m.index >= items.size())
            return fail(platform::kErrorInvalidParameter);
        json& device = items[m.index];
        if (m.kind == DeviceKind::Disk)
            controller = numberField(device, "controller", -1);
        json record = {{"op", "remove"},
                       {"device", kindName(static_cast<int>(m.kind))},
                       {"instance_id", m.instanceId}};
        if (uint32_t error = osFault("remove", controller, -1)) {
            return finish(record, error);
        }
        // The device leaves the machine; Windows may need a restart to
        // finish (a device it could not stop at once).
        device["present"] = false;
        if (device.value("needs_restart", false))
            m.installFlags |= platform::kDiNeedRestart;
        markChanged();
        return finish(record, 0);
    });
}

bool EmulatedHost::getDeviceInstallFlags(platform::DevInfoSet set, const platform::DeviceInfo& info,
                                         uint32_t* flags) {
    const SetMember* m = member(set, info);
    if (m == nullptr || flags == nullptr)
        return false;
    *flags = m->installFlags;
    return true;
}

void EmulatedHost::destroyDeviceInfoList(platform::DevInfoSet set) {
    sets_.erase(set);
}

bool EmulatedHost::getParent(uint32_t devInst, uint32_t* parent) {
    if (parent == nullptr)
        return false;
    json& controllers = list(DeviceKind::Controller);
    for (size_t i = 0; i < controllers.size(); ++i) {
        if (devInstOf(DeviceKind::Controller, i) == devInst) {
            *parent = kRootDevInst;
            return true;
        }
    }
    json& disks = list(DeviceKind::Disk);
    for (size_t i = 0; i < disks.size(); ++i) {
        if (devInstOf(DeviceKind::Disk, i) != devInst)
            continue;
        int64_t controller = numberField(disks[i], "controller", -1);
        if (controller >= 0 && static_cast<size_t>(controller) < controllers.size()) {
            *parent = devInstOf(DeviceKind::Controller, static_cast<size_t>(controller));
        } else {
            *parent = static_cast<uint32_t>(numberField(disks[i], "parent_dev_inst", kRootDevInst));
        }
        return true;
    }
    return false;
}

// --- Device I/O ---

const EmulatedHost::SetMember* EmulatedHost::deviceAtPath(std::string_view path) {
    static const platform::InterfaceClass classes[] = {platform::InterfaceClass::StoragePort,
                                                       platform::InterfaceClass::Disk,
                                                       platform::InterfaceClass::Volume};
    for (platform::InterfaceClass cls : classes) {
        // The last device of a class that answers to the path.
        const auto& members = snapshot(cls);
        for (auto m = members.rbegin(); m != members.rend(); ++m) {
            if (m->path == path)
                return &*m;
        }
    }
    return nullptr;
}

platform::Handle EmulatedHost::createFile(const char* path, uint32_t, uint32_t) {
    return handleCall<platform::Handle>([&]() -> platform::Handle {
        const std::string_view wanted = path != nullptr ? path : "";
        json record = openRecord([&] {
            return json{{"op", "open"}, {"path", std::string(wanted)}};
        });
        // Interface paths are built in lower case; Windows opens them in any
        // (a path the caller spells in lower case is found as it is).
        const SetMember* found = hasUpperCase(wanted) ? deviceAtPath(foldCase(std::string(wanted)))
                                                      : deviceAtPath(wanted);
        uint32_t error = platform::kErrorFileNotFound;
        int64_t controller = -1;
        if (found != nullptr) {
            noteInRecord(record, "device", kindName(static_cast<int>(found->kind)));
            if (found->kind == DeviceKind::Controller) {
                controller = static_cast<int64_t>(found->index);
                noteInRecord(record, "controller", controller);
            }
            error = osFault("open", controller, -1);
        }
        if (found == nullptr || error != 0) {
            finish(record, error);
            return platform::kInvalidHandle;
        }
        platform::Handle h = nextHandle_++;
        handles_.emplace_back(h, OpenHandle{found->kind, found->index});
        noteInRecord(record, "handle", h);
        finish(record, 0);
        return h;
    });
}

EmulatedHost::OpenHandles::iterator EmulatedHost::findHandle(platform::Handle h) {
    return std::find_if(handles_.begin(), handles_.end(),
                        [h](const auto& open) { return open.first == h; });
}

bool EmulatedHost::closeHandle(platform::Handle h) {
    return handleCall<bool>([&]() {
        json record = openRecord([&] { return json{{"op", "close"}, {"handle", h}}; });
        auto it = findHandle(h);
        uint32_t error =
            it == handles_.end() ? platform::kErrorInvalidHandle : osFault("close", -1, -1);
        if (it != handles_.end()) {
            if (it->second.kind == DeviceKind::Controller)
                noteInRecord(record, "controller", it->second.index);
            // The handle goes even when closing reports an error, as on
            // Windows; a volume lock dies with its handle.
            handles_.erase(it);
        }
        return finish(record, error);
    });
}

bool EmulatedHost::stillPresent(const OpenHandle& handle) {
    json& devices = list(handle.kind);
    if (handle.index >= devices.size())
        return false;
    if (handle.kind == DeviceKind::Controller)
        return models_.controller(devices[handle.index], handle.index).present();
    return present(devices[handle.index]);
}

bool EmulatedHost::deviceIoControl(platform::Handle h, uint32_t code, void* in, uint32_t inSize,
                                   void* out, uint32_t outSize, uint32_t* returned) {
    // Only a controller changes with a request, and only with some.
    auto mayChange = [&] {
        auto it = findHandle(h);
        return faultsLive() ||
               (it != handles_.end() && it->second.kind == DeviceKind::Controller &&
                requestMayChange(static_cast<const uint8_t*>(in), in != nullptr ? inSize : 0));
    };
    return transact<bool>(mayChange, [&]() {
        uint32_t count = 0;
        if (returned == nullptr)
            returned = &count;
        *returned = 0;
        json record = openRecord([&] {
            return json{{"op", "request"}, {"handle", h}, {"code", code}};
        });
        auto it = findHandle(h);
        if (it == handles_.end()) {
            return finish(record, platform::kErrorInvalidHandle);
        }
        OpenHandle& handle = it->second;
        if (!stillPresent(handle)) {
            // The device left the machine while the handle was open.
            return finish(record, platform::kErrorGenFailure);
        }
        int64_t controller =
            handle.kind == DeviceKind::Controller ? static_cast<int64_t>(handle.index) : -1;
        noteInRecord(record, "device", kindName(static_cast<int>(handle.kind)));
        if (controller >= 0)
            noteInRecord(record, "controller", controller);
        if (uint32_t error = osFault("ioctl", controller, code)) {
            return finish(record, error);
        }
        if (handle.kind == DeviceKind::Controller) {
            if (code != kIoctlScsiMiniport || in == nullptr) {
                return finish(record, in == nullptr ? platform::kErrorInvalidParameter
                                                    : kErrorInvalidFunction);
            }
            return controllerIoControl(record, handle, static_cast<uint8_t*>(in), inSize,
                                       static_cast<uint8_t*>(out), outSize, returned);
        }
        const bool ok = handle.kind == DeviceKind::Disk
                            ? diskIoControl(handle, code, out, outSize, returned)
                            : volumeIoControl(h, handle, code, out, outSize, returned);
        return finish(record, ok ? 0 : lastError_);
    });
}

bool EmulatedHost::controllerIoControl(json& record, const OpenHandle& handle, uint8_t* in,
                                       uint32_t inSize, uint8_t* out, uint32_t outSize,
                                       uint32_t* returned) {
    const size_t dataBound = record.is_object() ? facts().dataBound : 0;
    const Bytes sent = dataBound > 0 ? Bytes(in, in + inSize) : Bytes();
    // The driver answers in the caller's buffer when it is the output too
    // and no fault rule can fail or trim the answer (which leaves the
    // caller's buffer as it was, or returns only its start); otherwise in
    // a copy, of which what the call returns goes back.
    Bytes copy;
    ByteSpan buffer(in, inSize);
    if (in != out || faultsLive()) {
        copy.assign(in, in + inSize);
        buffer = copy;
    }
    json& ctl = list(DeviceKind::Controller)[handle.index];
    const ControllerModel& model = models_.controller(ctl, handle.index);
    DriverOutcome outcome = handleMiniport(state_, ctl, model, handle.index, buffer, outSize,
                                           MiniportCall{record.is_object(), faultsLive()});
    if (outcome.unitsMayChange) {
        // A unit that came or went changes the disks Windows sees.
        (void)attachUnitDisks(state_);
    }
    if (outcome.changed)
        markChanged();
    else if (outcome.elementsChanged)
        markElementsChanged();
    if (record.is_object()) {
        record.update(outcome.record);
        if (dataBound > 0)
            describeRequestBytes(sent, answeredBytes(buffer, outcome, out, outSize), dataBound,
                                 record);
        logRecord(record);
    }
    if (!outcome.ok && outcome.delivered)
        copyAnswer(buffer, out, std::min<size_t>(buffer.size(), outSize));
    if (!outcome.ok)
        return fail(outcome.osError);
    uint32_t n = outcome.returned < outSize ? outcome.returned : outSize;
    copyAnswer(buffer, out, n);
    *returned = n;
    return true;
}

bool EmulatedHost::diskIoControl(OpenHandle& handle, uint32_t code, void* out, uint32_t outSize,
                                 uint32_t* returned) {
    const json& disk = list(DeviceKind::Disk)[handle.index];
    Bytes reply;
    if (code == kIoctlScsiGetAddress) {
        // SCSI_ADDRESS: length, port, path, target (the unit), LUN.
        reply.assign(kScsiAddressSize, 0);
        int64_t controller = numberField(disk, "controller", -1);
        put32(reply, 0, kScsiAddressSize);
        put8(reply, 4, controller >= 0 ? static_cast<uint64_t>(controller) + 2 : 0);
        put8(reply, 6, static_cast<uint64_t>(numberField(disk, "target", 0)));
    } else if (code == kIoctlStorageGetDeviceNumber) {
        // STORAGE_DEVICE_NUMBER: device type, number, partition.
        reply.assign(kDeviceNumberSize, 0);
        put32(reply, 0, kFileDeviceDisk);
        put32(reply, 4, static_cast<uint64_t>(numberField(disk, "disk_number", 0)));
    } else {
        return fail(kErrorInvalidFunction);
    }
    if (out == nullptr || outSize < reply.size())
        return fail(platform::kErrorInsufficientBuffer);
    std::memcpy(out, reply.data(), reply.size());
    *returned = static_cast<uint32_t>(reply.size());
    return true;
}

bool EmulatedHost::volumeIoControl(platform::Handle h, OpenHandle& handle, uint32_t code, void* out,
                                   uint32_t outSize, uint32_t* returned) {
    const json& volume = list(DeviceKind::Volume)[handle.index];
    switch (code) {
        case kIoctlVolumeGetDiskExtents: {
            // VOLUME_DISK_EXTENTS: count, padding, then 24-byte DISK_EXTENTs.
            const json extents = volume.value("extents", json::array());
            Bytes reply(kExtentsHeader + kExtentSize * extents.size(), 0);
            put32(reply, 0, extents.size());
            for (size_t i = 0; i < extents.size(); ++i) {
                size_t at = kExtentsHeader + kExtentSize * i;
                put32(reply, at, static_cast<uint64_t>(numberField(extents[i], "disk_number", 0)));
                put64(reply, at + 8,
                      static_cast<uint64_t>(numberField(extents[i], "offset", 1 << 20)));
                put64(reply, at + 16,
                      static_cast<uint64_t>(numberField(extents[i], "length", 1ll << 30)));
            }
            if (out == nullptr || outSize < kExtentsHeader) {
                return fail(platform::kErrorInsufficientBuffer);
            }
            uint32_t n = reply.size() < outSize ? static_cast<uint32_t>(reply.size()) : outSize;
            std::memcpy(out, reply.data(), n);
            *returned = n;
            return n == reply.size() ? true : fail(kErrorMoreData);
        }
        case kFsctlLockVolume:
            // A volume that the system or a program holds open cannot be
            // locked; neither can one locked through another handle.
            if (volume.value("in_use", false))
                return fail(platform::kErrorAccessDenied);
            for (const auto& [other, open] : handles_) {
                if (other != h && open.kind == DeviceKind::Volume && open.index == handle.index &&
                    open.locked) {
                    return fail(platform::kErrorAccessDenied);
                }
            }
            handle.locked = true;
            return true;
        case kFsctlDismountVolume:
            handle.dismounted = true;
            return true;
        case kFsctlUnlockVolume:
            if (!handle.locked)
                return fail(kErrorNotLocked);
            handle.locked = false;
            return true;
        default:
            return fail(kErrorInvalidFunction);
    }
}

uint32_t EmulatedHost::getLastError() {
    return lastError_;
}

std::string EmulatedHost::formatMessage(uint32_t code) {
    // The system message table's texts for the errors the machine reports.
    struct Text {
        uint32_t code;
        const char* text;
    };
    static const Text texts[] = {
        {0, "The operation completed successfully.\r\n"},
        {1, "Incorrect function.\r\n"},
        {2, "The system cannot find the file specified.\r\n"},
        {3, "The system cannot find the path specified.\r\n"},
        {5, "Access is denied.\r\n"},
        {6, "The handle is invalid.\r\n"},
        {8, "Not enough memory resources are available to process this command.\r\n"},
        {13, "The data is invalid.\r\n"},
        {31, "A device attached to the system is not functioning.\r\n"},
        {87, "The parameter is incorrect.\r\n"},
        {122, "The data area passed to a system call is too small.\r\n"},
        {158, "The segment is already unlocked.\r\n"},
        {183, "Cannot create a file when that file already exists.\r\n"},
        {234, "More data is available.\r\n"},
        {259, "No more data is available.\r\n"},
        {1117, "The request could not be performed because of an I/O device error.\r\n"},
    };
    for (const Text& t : texts) {
        if (t.code == code)
            return t.text;
    }
    return "";
}

// --- Registry ---

namespace {

constexpr const char* kEnumKey = "SYSTEM\\CurrentControlSet\\Enum\\";

// True when `key` is `full` or one of its ancestors.
bool isKeyOrParent(const std::string& key, const std::string& full) {
    if (key.size() > full.size())
        return false;
    if (!equalsNoCase(key, full.substr(0, key.size())))
        return false;
    return key.size() == full.size() || full[key.size()] == '\\';
}

}  // namespace

bool EmulatedHost::registryKeyExists(const std::string& key) {
    const json& registry = machine().value("registry", json::object());
    for (auto it = registry.begin(); it != registry.end(); ++it) {
        if (isKeyOrParent(key, it.key()))
            return true;
    }
    // Each present disk has its Enum key with "Device Parameters" and,
    // unless the host file says otherwise, its "Disk" subkey.
    json& disks = list(DeviceKind::Disk);
    for (size_t i = 0; i < disks.size(); ++i) {
        if (!present(disks[i]))
            continue;
        std::string base = kEnumKey + instanceIdOf(DeviceKind::Disk, i) + "\\Device Parameters";
        if (disks[i].value("disk_parameters_key", true))
            base += "\\Disk";
        if (isKeyOrParent(key, base))
            return true;
    }
    return false;
}

json* EmulatedHost::registryValues(const std::string& key, bool create) {
    json& m = state_["machine"];
    json& registry = m["registry"];
    if (!registry.is_object())
        registry = json::object();
    for (auto it = registry.begin(); it != registry.end(); ++it) {
        if (equalsNoCase(it.key(), key))
            return &it.value();
    }
    if (!create)
        return nullptr;
    json& values = registry[key];
    values = json::object();
    return &values;
}

uint32_t EmulatedHost::regOpenKey(const char* subKey, uint32_t, platform::RegKey* key) {
    return transact<uint32_t>(faultsMayFire(), [&]() -> uint32_t {
        if (subKey == nullptr || key == nullptr)
            return platform::kErrorInvalidParameter;
        if (uint32_t error = osFault("registry", -1, -1))
            return error;
        if (!registryKeyExists(subKey))
            return platform::kErrorFileNotFound;
        *key = nextKey_++;
        keys_[*key] = subKey;
        return platform::kErrorSuccess;
    });
}

uint32_t EmulatedHost::regCreateKey(const char* subKey, uint32_t, platform::RegKey* key) {
    return transact<uint32_t>([&]() -> uint32_t {
        if (subKey == nullptr || key == nullptr)
            return platform::kErrorInvalidParameter;
        if (uint32_t error = osFault("registry", -1, -1))
            return error;
        if (!registryKeyExists(subKey)) {
            registryValues(subKey, true);
            markChanged();
        }
        *key = nextKey_++;
        keys_[*key] = subKey;
        return platform::kErrorSuccess;
    });
}

uint32_t EmulatedHost::valueKey(platform::RegKey key, const char* name, const std::string** path) {
    auto it = keys_.find(key);
    if (it == keys_.end())
        return platform::kErrorInvalidHandle;
    if (name == nullptr)
        return platform::kErrorInvalidParameter;
    *path = &it->second;
    return osFault("registry", -1, -1);
}

uint32_t EmulatedHost::regSetDword(platform::RegKey key, const char* name, uint32_t value) {
    return transact<uint32_t>([&]() -> uint32_t {
        const std::string* path = nullptr;
        if (uint32_t error = valueKey(key, name, &path))
            return error;
        (*registryValues(*path, true))[name] = value;
        markChanged();
        return platform::kErrorSuccess;
    });
}

uint32_t EmulatedHost::regDeleteValue(platform::RegKey key, const char* name) {
    return transact<uint32_t>([&]() -> uint32_t {
        const std::string* path = nullptr;
        if (uint32_t error = valueKey(key, name, &path))
            return error;
        json* values = registryValues(*path, false);
        if (values == nullptr || !values->contains(name))
            return platform::kErrorFileNotFound;
        values->erase(name);
        markChanged();
        return platform::kErrorSuccess;
    });
}

uint32_t EmulatedHost::regCloseKey(platform::RegKey key) {
    return keys_.erase(key) != 0 ? platform::kErrorSuccess : platform::kErrorInvalidHandle;
}

// --- Folders: the host file's folder plays the system drive ---

bool EmulatedHost::getCommonAppDataFolder(char* path) {
    std::string folder = resolve(machine().value("common_app_data", "ProgramData"));
    std::error_code ec;
    fs::create_directories(pathOf(folder), ec);
    if (ec)
        return false;
    return copyOut(folder, path, platform::kMaxPath);
}

uint32_t EmulatedHost::getWindowsDirectory(char* path, uint32_t size) {
    std::string folder = resolve(machine().value("windows_directory", "Windows"));
    if (!copyOut(folder, path, size))
        return 0;
    return static_cast<uint32_t>(folder.size());
}

bool EmulatedHost::pathStripToRoot(char* path) {
    if (path == nullptr)
        return false;
    // A path inside the host's folder has that folder as its drive root.
    std::string text(path);
    std::string root = folder_;
    if (text.compare(0, root.size(), root) != 0 ||
        (text.size() > root.size() && !isPathSeparator(text[root.size()]))) {
        root = std::string(1, kPathSeparator);
    }
    return copyOut(root, path, platform::kMaxPath);
}

bool EmulatedHost::pathAppend(char* path, const char* more) {
    if (path == nullptr || more == nullptr)
        return false;
    std::string text(path);
    std::string tail(more);
    while (!tail.empty() && isPathSeparator(tail.front()))
        tail.erase(0, 1);
    if (!text.empty() && !isPathSeparator(text.back()) && !tail.empty())
        text += kPathSeparator;
    text += tail;
    return copyOut(text, path, platform::kMaxPath);
}

int EmulatedHost::createDirectory(const char* path) {
    if (path == nullptr)
        return static_cast<int>(platform::kErrorInvalidParameter);
    const fs::path folder = pathOf(path);
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        return static_cast<int>(platform::kErrorAlreadyExists);
    if (fs::exists(folder, ec))
        return static_cast<int>(platform::kErrorFileExists);
    fs::create_directories(folder, ec);
    if (ec)
        return static_cast<int>(platform::kErrorAccessDenied);
    return 0;
}

std::FILE* EmulatedHost::openForAppend(const char* path) {
    return path != nullptr ? emulator::openForAppend(path, false) : nullptr;
}

// --- System information ---

bool EmulatedHost::getComputerNameEx(bool fullyQualified, char* name, uint32_t* size) {
    const json& m = machine();
    std::string text = m.value("host_name", localHostName());
    std::string domain = m.value("domain", "");
    if (fullyQualified && !domain.empty())
        text += "." + domain;
    if (size == nullptr) {
        lastError_ = platform::kErrorInvalidParameter;
        return false;
    }
    if (!copyOut(text, name, *size)) {
        *size = static_cast<uint32_t>(text.size() + 1);
        lastError_ = kErrorMoreData;
        return false;
    }
    *size = static_cast<uint32_t>(text.size());
    return true;
}

bool EmulatedHost::getVersionEx(platform::OsVersionInfo* info) {
    if (info == nullptr)
        return false;
    const json v = machine().value("version", json::object());
    info->major = v.value("major", 10u);
    info->minor = v.value("minor", 0u);
    info->build = v.value("build", 20348u);
    info->platformId = v.value("platform_id", 2u);
    info->servicePack = v.value("service_pack", "").substr(0, 127);
    info->servicePackMajor = v.value("service_pack_major", uint16_t{0});
    info->servicePackMinor = v.value("service_pack_minor", uint16_t{0});
    info->suiteMask = v.value("suite_mask", uint16_t{0});
    info->productType = v.value("product_type", uint8_t{3});
    return true;
}

bool EmulatedHost::getNativeSystemInfo(uint16_t* architecture) {
    const json v = machine().value("version", json::object());
    if (!v.value("native_system_info", true) || architecture == nullptr)
        return false;
    *architecture = v.value("architecture", platform::kArchAmd64);
    return true;
}

uint16_t EmulatedHost::getSystemInfo() {
    const json v = machine().value("version", json::object());
    return v.value("architecture", platform::kArchAmd64);
}

bool EmulatedHost::getProductInfo(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t* productType) {
    const json v = machine().value("version", json::object());
    if (!v.value("get_product_info", true) || productType == nullptr)
        return false;
    *productType = v.value("product_info", 0u);
    return true;
}

int EmulatedHost::getSystemMetrics(int index) {
    if (index != platform::kSmServerR2)
        return 0;
    return machine().value("version", json::object()).value("server_r2", 0);
}

bool EmulatedHost::isUserAnAdmin() {
    return machine().value("administrator", true);
}

// The emulated machine does not wait: tests run at full speed.
void EmulatedHost::sleep(uint32_t) {}

}  // namespace emulator
