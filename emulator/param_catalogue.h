// The parameter catalogue: the tables of both controller families, each
// parameter's size and where it lives in the controller's part of the
// host file, read and written by the parameter get and set commands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "emulator/controller_model.h"
#include "emulator/wire.h"

namespace emulator {

enum class Family { Prane, Rhosk };

// The family a PCI device type (1-6) belongs to.
[[nodiscard]] inline Family familyOfDeviceType(int deviceType) {
    return deviceType == 1 ? Family::Prane : Family::Rhosk;
}

// Why a parameter access failed; each family has its own code for each.
enum class ParamError { None, NoTable, NoParameter, SizeMismatch, ReadOnly, BadValue };

// Reads parameter `parameter` of table `table` (bit 15 clear) with the
// size the request names; the size must be the catalogue's.
[[nodiscard]] ParamError readParam(const ControllerModel& controller, Family family, uint16_t table,
                                   uint16_t parameter, uint32_t size, Bytes* value);
// The same, from the controller's description alone.
[[nodiscard]] ParamError readParam(const nlohmann::json& controller, Family family, uint16_t table,
                                   uint16_t parameter, uint32_t size, Bytes* value);
// Writes it; `value` holds exactly the parameter's bytes.
[[nodiscard]] ParamError writeParam(nlohmann::json& controller, Family family, uint16_t table,
                                    uint16_t parameter, const Bytes& value);

// The lookup behind them, which the older family's get and set also make
// themselves: their header carries only the low 8 bits of the size.
struct TableDef;
struct ParamDef;

// One table of one controller: its definition, the object number and the
// model node the parameters live under.
struct TableRef {
    const TableDef* def = nullptr;
    uint16_t number = 0;
    // Where the object lies below the controller: the step `at` of the
    // list or object `under` ("drives#3.", "schedule.2."); no step for the
    // controller's own tables.
    const char* under = nullptr;
    char separator = '#';
    size_t at = 0;
    const nlohmann::json* object = nullptr;  // the object's node; null for the controller
    bool emptyPort = false;                  // the statistics table of a port without a drive

    // The path prefix of the object's parameters: "" for the controller.
    std::string prefix() const {
        if (under == nullptr)
            return std::string();
        return std::string(under) + separator + std::to_string(at) + ".";
    }
    void placeAt(const char* list, size_t position, char step = '#') {
        under = list;
        at = position;
        separator = step;
    }
};

// Finds the parameter and checks the request's size against it.
[[nodiscard]] ParamError lookup(const ControllerModel& model, Family family, uint16_t tableId,
                                uint16_t param, uint32_t size, TableRef* table,
                                const ParamDef** def);
// The size of the parameter in the table's object.
[[nodiscard]] uint32_t sizeOf(const ParamDef& p, const ControllerModel& model,
                              const TableRef& table);

}  // namespace emulator
