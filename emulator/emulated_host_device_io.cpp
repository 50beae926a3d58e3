// The emulated host's device I/O: opening and closing devices, the I/O
// controls of controllers (handed to the drivers), disks and volumes, and
// the texts of the errors the machine reports.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "emulator/controller_model.h"
#include "emulator/driver.h"
#include "emulator/emulated_host.h"
#include "emulator/emulated_host_calls.h"
#include "emulator/faults.h"
#include "emulator/machine_names.h"
#include "emulator/unit_model.h"
#include "emulator/wire.h"

namespace emulator {

using nlohmann::json;

namespace {

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

}  // namespace emulator
