#include "emulator/emulated_host.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "emulator/controller_model.h"
#include "emulator/driver.h"
#include "emulator/emulated_host_calls.h"
#include "emulator/faults.h"
#include "emulator/host_paths.h"
#include "emulator/host_schema.h"
#include "emulator/host_store.h"
#include "emulator/host_text.h"
#include "emulator/machine_names.h"
#include "emulator/unit_model.h"

namespace emulator {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

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

}  // namespace emulator
