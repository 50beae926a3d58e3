// Building a controller's object tree: its units, ports, phys and (newest
// family) enclosures, made once per command from what the library reports.
#include <cstdio>
#include <iostream>

#include "api/api.h"
#include "base/kv_exception.h"
#include "controllers/controller.h"
#include "controllers/controller_mgr.h"
#include "devices/enclosure.h"
#include "devices/phy.h"
#include "devices/port.h"
#include "units/logical_disk_types.h"

namespace {

constexpr uint32_t kNoUnitType = 0xFFFFFFFFu;
constexpr uint32_t kUnitTypeCbod = 12;
constexpr int32_t kFamilyWithOptionalPhys = 7;
constexpr int32_t kFamilyWithEnclosures = 8;

// "u" + 5 and the like: a prefix and a decimal number.
std::string treeName(const char* prefix, uint32_t number) {
    return prefix + std::to_string(number);
}

// Fills `tree` with one object per number from 0 to the count the library
// reports, each named prefix + number with the id the library makes for it
// (ports and phys). A failed read ends the building with the library's
// error. An id holds the number in one byte, so no number past 255 is made.
template <class T>
void loadNumbered(Controller* owner, ObjectId controllerId, TreeMap<T>& tree, const char* prefix,
                  int (*readCount)(ObjectId, uint32_t*),
                  int (*makeId)(uint8_t, uint8_t, ObjectId*)) {
    constexpr uint32_t kIdNumbers = 256;
    uint32_t count = 0;
    if (readCount(controllerId, &count) != 0)
        throwApiError();
    for (uint32_t i = 0; i < count && i < kIdNumbers; ++i) {
        ObjectId id{};
        if (makeId(static_cast<uint8_t>(owner->getNumber()), static_cast<uint8_t>(i), &id) != 0)
            throwApiError();
        const std::string objectName = treeName(prefix, i);
        tree.insert_or_assign(objectName,
                              adoptTreeObject<T>(std::make_unique<T>(owner, objectName, i, id)));
    }
}

// Makes the existing-unit object of one class.
template <class Unit>
TreePtr<LogicalDisk> makeUnit(Controller* owner, const std::string& unitName, uint32_t unitNumber,
                              ObjectId unitId) {
    return adoptTreeObject<LogicalDisk>(
        std::make_unique<Unit>(owner, unitName, unitNumber, unitId));
}

using UnitMaker = TreePtr<LogicalDisk> (*)(Controller*, const std::string&, uint32_t, ObjectId);

struct UnitClass {
    uint32_t type;
    UnitMaker make;
};

const UnitClass kUnitClasses[] = {
    {0, makeUnit<LogicalDiskRaid0>},   {2, makeUnit<LogicalDiskRaid1>},
    {5, makeUnit<LogicalDiskRaid5>},   {6, makeUnit<LogicalDiskRaid10>},
    {7, makeUnit<LogicalDiskRaid6>},   {8, makeUnit<LogicalDiskRaid50>},
    {11, makeUnit<LogicalDiskSingle>}, {13, makeUnit<LogicalDiskSpare>},
    {15, makeUnit<LogicalDiskJBOD>},   {32, makeUnit<LogicalDiskMigrator>},
    {64, makeUnit<LogicalDiskDead>},
};

// The object of an existing unit, of the class its type code names; null
// for a type code without a class.
TreePtr<LogicalDisk> makeExistingUnit(Controller* owner, uint32_t type, const std::string& unitName,
                                      uint32_t unitNumber, ObjectId unitId) {
    for (const UnitClass& each : kUnitClasses) {
        if (each.type == type)
            return each.make(owner, unitName, unitNumber, unitId);
    }
    return TreePtr<LogicalDisk>(nullptr, nullptr);
}

}  // namespace

Controller::Controller(const std::string& controllerName, uint32_t controllerNumber, ObjectId id)
    : name(controllerName), number(controllerNumber), objectId(id) {
    // The manager has read the family before it chose the class; should
    // this read fail, the tree is built as for a controller without phys
    // and enclosures.
    uint32_t familyCode = 0;
    if (Api::GetControllerFamily(objectId, &familyCode) != 0)
        familyCode = 0;
    const auto reported = static_cast<int32_t>(familyCode);
    // The objects of the tree may ask their controller for its family while
    // they are built: it holds the reported code from here on, and the
    // generation constructor confirms it afterwards.
    family = reported;

    loadUnits();
    loadPorts();
    if (reported >= kFamilyWithEnclosures) {
        loadPhys();
        loadEnclosures();
    } else if (reported == kFamilyWithOptionalPhys) {
        uint32_t hasPhys = 0;
        if (Api::HasFirmwareCompatLevel36(objectId, &hasPhys) == 0 && hasPhys == 1)
            loadPhys();
    }

    uint32_t basicVerify = 0;
    if (Api::IsBasicVerifySupported(objectId, &basicVerify) == 0) {
        basicVerifySupported = basicVerify == 1 ? 1 : 0;
    } else {
        std::cout << "Basic Verify support inquiry error!" << std::endl;
    }
}

void Controller::loadUnits() {
    ObjectIdList128 list{};
    list.clear();
    if (Api::GetUnitIdList(objectId, &list) != 0)
        throwApiError();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const ObjectId unitId = list.ids[i];
        uint32_t type = kNoUnitType;
        if (Api::GetUnitType(unitId, &type) != 0)
            throwApiError();
        if (type == kNoUnitType || type == kUnitTypeCbod)
            continue;
        uint8_t controllerNumber = 0, level4 = 0, unitNumber = 0, level2 = 0, level3 = 0;
        if (Api::ParseUnitId(unitId, &controllerNumber, &level4, &unitNumber, &level2, &level3) !=
            0)
            throwApiError();
        const std::string unitName = treeName("u", unitNumber);
        TreePtr<LogicalDisk> unit = makeExistingUnit(this, type, unitName, unitNumber, unitId);
        if (!unit) {
            // A unit type without a class is reported and skipped.
            std::cerr << KV_Exception(kInvalidUnitConfiguration).getMessage() << "[/" << name << "/"
                      << unitName << "]" << std::endl
                      << std::endl;
            continue;
        }
        units.insert_or_assign(unitName, std::move(unit));
    }
}

void Controller::loadPorts() {
    loadNumbered(this, objectId, ports, "p", Api::GetNumPorts, Api::MakeDriveId);
}

void Controller::loadPhys() {
    loadNumbered(this, objectId, phys, "phy", Api::GetNumPhys, Api::MakePhyId);
}

// An enclosure list that cannot be read leaves the controller without
// enclosures. An enclosure that cannot be built is reported and left out:
// it costs only itself, not the controller.
void Controller::loadEnclosures() {
    const ObjectIdList16 list = Enclosure::readEnclosureIds(objectId);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const ObjectId enclosureId = list.ids[i];
        const uint8_t enclosureNumber = Enclosure::numbersOf(enclosureId).enclosure;
        const std::string enclosureName = treeName("e", enclosureNumber);
        try {
            enclosures.insert_or_assign(
                enclosureName, adoptTreeObject<Enclosure>(std::make_unique<EnclosureVantor>(
                                   this, enclosureName, enclosureNumber, enclosureId)));
        } catch (KV_Exception& error) {
            ControllerMgr::reportFailure(error);
        }
    }
}
