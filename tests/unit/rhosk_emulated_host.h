// The newer family's queries and settings through the real library over the
// emulated host: one controller of a chosen family and firmware level,
// its parameter traffic as the host's request log records it, and the ids
// of its units, unit elements and drives.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "api/api.h"
#include "api/api_error.h"
#include "integration_host.h"

namespace rhosk_emulated {

using integration::json;

// Parameter get and set opcodes as the request log shows them (low 5 bits).
constexpr int kGet = 0x12;
constexpr int kSet = 0x13;

// One parameter request: opcode, table (bit 15 clear), parameter, size.
struct Access {
    int opcode;
    int table;
    int parameter;
    int size;

    bool operator==(const Access& o) const {
        return opcode == o.opcode && table == o.table && parameter == o.parameter && size == o.size;
    }
};

inline std::string Describe(const Access& a) {
    char text[64];
    std::snprintf(text, sizeof text, "%s 0x%04X/%d size %d", a.opcode == kSet ? "set" : "get",
                  a.table, a.parameter, a.size);
    return text;
}

// A controller of `family` (3, 4, 6, 7, 8, or -1 for a model code no family
// knows) at firmware compatibility level `level`, with `extra` merged over it.
inline json FamilyController(int family, int level, const json& extra = json::object()) {
    json ctl;
    switch (family) {
        case 3:
            ctl = integration::PraneController("OLDER0001");
            break;
        case 4:
            ctl = integration::RhoskController(2, 4, "RHOSK0001");
            break;
        case 6:
            ctl = integration::RhoskController(3, 6, "SOLVANE0001");
            break;
        case 7:
            // A model-6 controller whose host bus bits mark the Tevrin class.
            ctl = integration::RhoskController(4, 6, "TEVRIN0001",
                                               {{"settings", {{"host_bus", 0x100}}}});
            break;
        case 8:
            ctl = integration::RhoskController(5, 8, "VANTOR0001");
            break;
        default:
            ctl = integration::RhoskController(6, 9, "UNKNOWN0001");
            break;
    }
    ctl["identity"]["compat_level"] = level;
    ctl.merge_patch(extra);
    return ctl;
}

// A unit element id: the unit, then the child index at each deeper level.
inline ObjectId UnitId(uint8_t unit, std::initializer_list<uint8_t> levels = {},
                       uint8_t controller = 0) {
    ObjectId id = ObjectId::Blank();
    id[ObjectId::kKind] = kKindUnit;
    id[ObjectId::kController] = controller;
    id[ObjectId::kDepth] = static_cast<uint8_t>(1 + levels.size());
    id[ObjectId::kUnit] = unit;
    std::size_t at = ObjectId::kLevel2;
    for (uint8_t level : levels)
        id[at++] = level;
    return id;
}

inline ObjectId DriveId(uint8_t port, uint8_t controller = 0) {
    ObjectId id = ObjectId::Blank();
    EXPECT_EQ(Api::MakeDriveId(controller, port, &id), 0);
    return id;
}

// The API code the last failure recorded (0 when the record holds none).
inline uint32_t LastApiCode() {
    ApiErrorRecord record;
    ApiError::Get(&record, nullptr, 0);
    return (record.flags & kApiErrorApi) != 0 ? record.apiCode : 0;
}

class RhoskEmulatedTest : public integration::IntegrationTest {
  protected:
    // Installs a machine of these controllers (held in memory), lists them
    // so that they are classified, and forgets the discovery's traffic.
    emulator::EmulatedHost& Start(const json& controllers, const json& faults = json::array()) {
        ObjectIdList16 list;
        emulator::EmulatedHost& host = InstallListed(Machine(controllers, faults), &list);
        EXPECT_EQ(list.count, controllers.size());
        return host;
    }

    // Installs the machine `state` (held in memory), lists its controllers
    // (into `listed` when given) so that they are classified, and forgets
    // the discovery's traffic and error.
    emulator::EmulatedHost& InstallListed(const json& state, ObjectIdList16* listed = nullptr) {
        emulator::EmulatedHost& host = Install(state);
        ObjectIdList16 list;
        EXPECT_EQ(Api::GetControllerIdList(&list), 0);
        if (listed != nullptr)
            *listed = list;
        ClearTraffic();
        ApiError::Clear();
        return host;
    }

    // Controller `c` as the host now keeps it.
    static const json& HostController(emulator::EmulatedHost& host, size_t c = 0) {
        return host.state()["machine"]["controllers"][c];
    }

    // The parameter requests of the traffic so far, in order.
    std::vector<Access> ParamTraffic() const {
        std::vector<Access> out;
        for (const json& r : Requests()) {
            if (r.value("kind", "") != "firmware" || !r.contains("parameter"))
                continue;
            out.push_back({r.value("opcode", 0), r.value("table", 0), r.value("parameter", 0),
                           r.value("size", 0)});
        }
        return out;
    }

    // How many requests of a driver kind ("lock", "unlock", ...) were sent.
    size_t CountKind(const std::string& kind) const {
        size_t n = 0;
        for (const json& r : Requests())
            n += r.value("kind", "") == kind;
        return n;
    }
};

}  // namespace rhosk_emulated
