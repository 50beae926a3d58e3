// The enclosure object: its construction with the loading of its elements,
// the element lookups and removal, and the two addressable subclasses.
#include "devices/enclosure.h"

#include <iostream>

#include "api/api.h"
#include "base/kv_exception.h"
#include "devices/alarm.h"
#include "devices/door.h"
#include "devices/fan.h"
#include "devices/power_supply.h"
#include "devices/slot.h"
#include "devices/temp_sensor.h"

namespace {

// The protocol byte of the library: 0 SAF-TE, 1 SES.
constexpr uint8_t kProtocolSafte = 0;
constexpr uint8_t kProtocolSes = 1;

// How one kind of element is listed and numbered. `parse` gives the element
// number (its second result); without it an element is numbered by its
// place in the list. A loader that `throws` ends the enclosure's building
// with the library's error where the others print their line and stop.
template <class List>
struct ElementLoad {
    int (*readList)(ObjectId, List*);
    int (*parse)(ObjectId, uint8_t*, uint8_t*);
    const char* prefix;
    const char* listError;
    const char* numberError;
    bool throws;
};

// Reads the element list of `enclosure` and fills `map` with one element
// per listed identifier, in list order. False when the list or a number
// cannot be read; the elements made before stay in the map.
template <class T, class List>
bool loadElements(Enclosure* enclosure, Enclosure::ElementMap<T>& map,
                  const ElementLoad<List>& load) {
    List list{};
    list.clear();
    if (load.readList(enclosure->getObjectId(), &list) != 0) {
        if (load.throws)
            throwApiError();
        std::cout << load.listError << std::endl;
        return false;
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        const ObjectId elementId = list.ids[i];
        uint32_t elementNumber = static_cast<uint32_t>(i);
        if (load.parse != nullptr) {
            uint8_t enclosureIndex = 0;
            uint8_t parsed = 0;
            if (load.parse(elementId, &enclosureIndex, &parsed) != 0) {
                if (load.throws)
                    throwApiError();
                std::cout << load.numberError << std::endl;
                return false;
            }
            elementNumber = parsed;
        }
        const std::string elementName = load.prefix + std::to_string(elementNumber);
        map.insert_or_assign(elementName,
                             std::make_unique<T>(enclosure, elementName, elementNumber, elementId));
    }
    return true;
}

// The element `elementName` of `map` as a command object, or CLI `code`.
template <class T>
Object* findElement(const Enclosure::ElementMap<T>& map, const std::string& elementName,
                    CliCode code) {
    auto found = map.find(elementName);
    if (found == map.end())
        throwError(code);
    return found->second.get();
}

template <class T>
int removeElement(Enclosure::ElementMap<T>& map, const std::string& elementName) {
    map.erase(elementName);
    return 0;
}

}  // namespace

Enclosure::Enclosure(const std::string& enclosureName, uint32_t enclosureNumber,
                     ObjectId enclosureId)
    : controllerNumber(enclosureId.controller()),
      name(enclosureName),
      number(enclosureNumber),
      id(enclosureId) {
    protocol = getProtocolText();
    path = "/" + name;

    const bool fansRead = loadFans();
    const bool slotsRead = loadSlots();
    const bool suppliesRead = loadPowerSupplies();
    const bool sensorsRead = loadTempSensors();
    loadAlarms();
    // Doors are loaded too, so that their addresses ("edr" + number) reach
    // them; a door list that cannot be read leaves the enclosure without
    // doors.
    loadDoors();
    if (!fansRead && !slotsRead && !suppliesRead && !sensorsRead)
        noElements = 1;
}

Enclosure::~Enclosure() {
    fans.clear();
    slots.clear();
    alarms.clear();
    doors.clear();
    powerSupplies.clear();
    tempSensors.clear();
}

std::string Enclosure::getProtocolText() {
    uint8_t code = 0;
    if (Api::GetEnclosureProtocol(id, &code) != 0)
        throwApiError();
    if (code == kProtocolSafte)
        return "SAF-TE";
    if (code == kProtocolSes)
        return "SES";
    return "Unknown";
}

ObjectIdList16 Enclosure::readEnclosureIds(ObjectId controllerId) {
    ObjectIdList16 list{};
    list.clear();
    if (Api::GetEnclosureIdList(controllerId, &list) != 0)
        list.clear();
    return list;
}

Enclosure::Numbers Enclosure::numbersOf(ObjectId enclosureId) {
    Numbers numbers;
    (void)Api::ParseEnclosureId(enclosureId, &numbers.controller, &numbers.enclosure);
    return numbers;
}

bool Enclosure::loadFans() {
    return loadElements(
        this, fans,
        ElementLoad<ObjectIdList16>{Api::GetFanIdList, Api::ParseFanId, "fan",
                                    "Error: Cannot get fan ID list from API",
                                    "Error: Cannot get fan number from API", false});
}

bool Enclosure::loadSlots() {
    return loadElements(
        this, slots,
        ElementLoad<ObjectIdList128>{Api::GetSlotIdList, Api::ParseSlotId, "slot",
                                     "Error: Cannot get slot ID list from API",
                                     "Error: Cannot get slot number from API", false});
}

bool Enclosure::loadPowerSupplies() {
    return loadElements(
        this, powerSupplies,
        ElementLoad<ObjectIdList16>{Api::GetPowerSupplyIdList, nullptr, "pwrs",
                                    "Error: Cannot get power supply ID list from API", "", false});
}

bool Enclosure::loadTempSensors() {
    return loadElements(
        this, tempSensors,
        ElementLoad<ObjectIdList32>{Api::GetTempSensorIdList, nullptr, "temp",
                                    "Error: Cannot get temp sensor ID list from API", "", false});
}

bool Enclosure::loadAlarms() {
    return loadElements(
        this, alarms,
        ElementLoad<ObjectIdList16>{Api::GetAlarmIdList, Api::ParseAlarmId, "alm", "", "", true});
}

bool Enclosure::loadDoors() {
    return loadElements(
        this, doors,
        ElementLoad<ObjectIdList16>{Api::GetDoorIdList, Api::ParseDoorId, "edr",
                                    "Error: Cannot get door ID list from API",
                                    "Error: Cannot get door number from API", false});
}

Object* Enclosure::getSlot(const std::string& elementName) {
    return findElement(slots, elementName, kNoSuchSlot);
}

Object* Enclosure::getFan(const std::string& elementName) {
    return findElement(fans, elementName, kNoSuchFan);
}

Object* Enclosure::getTempSensor(const std::string& elementName) {
    return findElement(tempSensors, elementName, kNoSuchTempSensor);
}

Object* Enclosure::getPowerSupply(const std::string& elementName) {
    return findElement(powerSupplies, elementName, kNoSuchPowerSupply);
}

Object* Enclosure::getAlarm(const std::string& elementName) {
    return findElement(alarms, elementName, kDeviceNotFound);
}

Object* Enclosure::getDoor(const std::string& elementName) {
    return findElement(doors, elementName, kDeviceNotFound);
}

int Enclosure::removeSlot(const std::string& elementName) {
    return removeElement(slots, elementName);
}

int Enclosure::removeFan(const std::string& elementName) {
    return removeElement(fans, elementName);
}

int Enclosure::removeTempSensor(const std::string& elementName) {
    return removeElement(tempSensors, elementName);
}

int Enclosure::removePowerSupply(const std::string& elementName) {
    return removeElement(powerSupplies, elementName);
}

int Enclosure::removeAlarm(const std::string& elementName) {
    return removeElement(alarms, elementName);
}

int Enclosure::removeDoor(const std::string& elementName) {
    return removeElement(doors, elementName);
}

EnclosureVantor::EnclosureVantor(ControllerView* owner, const std::string& enclosureName,
                                 uint32_t enclosureNumber, ObjectId enclosureId)
    : Enclosure(enclosureName, enclosureNumber, enclosureId) {
    controllerNumber = owner->getNumber();
    family = owner->getFamily();
}

EnclosureVantor::~EnclosureVantor() = default;

EnclosureTevrin::EnclosureTevrin(const std::string& enclosureName, uint32_t enclosureNumber,
                                 uint32_t controllerNumberOfEnclosure, int32_t familyOfController,
                                 ObjectId enclosureId)
    : Enclosure(enclosureName, enclosureNumber, enclosureId) {
    controllerNumber = controllerNumberOfEnclosure;
    family = familyOfController;
}

EnclosureTevrin::~EnclosureTevrin() = default;
