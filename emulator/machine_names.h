// Names that Windows derives for the emulated devices: instance ids and
// device interface paths.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace emulator {

// Device interface class GUIDs, as interface paths end in them.
constexpr const char* kStoragePortGuid = "{2accfe60-c130-11d2-b082-00a0c91efb8b}";
constexpr const char* kDiskGuid = "{53f56307-b6bf-11d0-94f2-00a0c91efb8b}";
constexpr const char* kVolumeGuid = "{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}";

// The interface path Windows builds from an instance id:
// \\?\ + the id in lower case with '\' turned into '#' + '#' + class GUID.
std::string interfacePath(const std::string& instanceId, const char* guid);

// Default instance ids of a controller of PCI device type `type` (1-6), of
// the disk of a unit, and of a volume.
std::string controllerInstanceId(int type, size_t index);
std::string diskInstanceId(size_t controller, unsigned target, size_t index);
std::string volumeInstanceId(size_t index);

// Case-insensitive equality, as Windows compares paths and key names.
bool equalsNoCase(std::string_view a, std::string_view b);
// `text` with A-Z in lower case (paths and key names are ASCII).
std::string foldCase(std::string text);
// Whether `text` has a letter A-Z, which foldCase would change.
bool hasUpperCase(std::string_view text);

}  // namespace emulator
