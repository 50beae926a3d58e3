// The emulated host's SetupAPI and configuration-manager calls: the device
// information sets of the present controllers, disks and volumes, their
// properties and parents, and the removal of a device.
#include <cstdint>
#include <string>

#include "emulator/emulated_host.h"
#include "emulator/emulated_host_calls.h"
#include "emulator/faults.h"

namespace emulator {

using nlohmann::json;

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

}  // namespace emulator
