#include "emulator/rescan_model.h"

#include <set>

#include "emulator/controller_codes.h"
#include "emulator/faults.h"
#include "emulator/unit_model.h"

namespace emulator {

using nlohmann::json;

namespace {

constexpr size_t kPortMaskAt = 8;  // packet bytes 8-23: bit n % 8 of byte n / 8 is port n
constexpr int64_t kPorts = 128;
constexpr int64_t kUnits = 32;

bool inMask(ConstByteSpan command, int64_t port) {
    if (port < 0 || port >= kPorts)
        return false;
    const size_t at = kCmdHeaderSize + kPortMaskAt + static_cast<size_t>(port) / 8;
    return (get8(command, at) >> (port % 8)) & 1u;
}

json* listOf(json& controller, const char* key) {
    auto found = controller.find(key);
    return found != controller.end() && found->is_array() ? &*found : nullptr;
}

}  // namespace

FirmwareResult attachNewDrives(json& controller, ConstByteSpan command) {
    FirmwareResult result;
    json* waiting = listOf(controller, "new_drives");
    if (waiting == nullptr)
        return result;
    json kept = json::array();
    for (json& drive : *waiting) {
        const int64_t port = numberField(drive, "port", -1);
        if (inMask(command, port) && driveOnPort(controller, port) == nullptr) {
            if (listOf(controller, "drives") == nullptr)
                controller["drives"] = json::array();
            controller["drives"].push_back(drive);
            result.changed = true;
        } else {
            kept.push_back(drive);
        }
    }
    *waiting = kept;
    return result;
}

FirmwareResult importScan(json& controller, ConstByteSpan command) {
    FirmwareResult result;
    json* foreign = listOf(controller, "foreign_units");
    if (foreign == nullptr)
        return result;
    std::set<int64_t> taken;
    if (json* units = listOf(controller, "units")) {
        for (const json& u : *units)
            taken.insert(numberField(u, "number", -1));
    }
    json kept = json::array();
    for (json& unit : *foreign) {
        bool all = true;
        for (const json& member : unit.value("members", json::array())) {
            if (member.is_null())
                continue;
            const int64_t port = member.is_number() ? member.get<int64_t>() : -1;
            all = all && inMask(command, port) && driveOnPort(controller, port) != nullptr;
        }
        int64_t number = numberField(unit, "number", -1);
        if (number < 0 || number >= kUnits || taken.count(number) != 0) {
            number = -1;
            for (int64_t n = 0; n < kUnits && number < 0; ++n) {
                if (taken.count(n) == 0)
                    number = n;
            }
        }
        if (!all || number < 0) {
            kept.push_back(unit);
            continue;
        }
        unit["number"] = number;
        taken.insert(number);
        for (const json& member : unit.value("members", json::array())) {
            if (json* drive =
                    member.is_number() ? driveOnPort(controller, member.get<int64_t>()) : nullptr) {
                (*drive)["unit_flags"] = 0;
            }
        }
        if (listOf(controller, "units") == nullptr)
            controller["units"] = json::array();
        controller["units"].push_back(unit);
        result.changed = true;
    }
    *foreign = kept;
    return result;
}

}  // namespace emulator
