#include "shell/shell_tree.h"

#include "base/kv_exception.h"
#include "controllers/bbu.h"
#include "controllers/controller.h"
#include "devices/enclosure.h"
#include "devices/phy.h"
#include "devices/port.h"
#include "units/logical_disk.h"

namespace shell_tree {

// Doors are named "edr" + number; an address may also call them "door" +
// number.
std::string doorName(const std::string& part) {
    static const std::string kDoorWord = "door";
    if (part.compare(0, kDoorWord.size(), kDoorWord) == 0)
        return "edr" + part.substr(kDoorWord.size());
    return part;
}

Object* controllerObject(Controller* controller) {
    return controller;
}

Object* objectInController(Controller* controller, ControllerPart kind, const std::string& part) {
    switch (kind) {
        case ControllerPart::Unit:
            return controller->getUnit(part);
        case ControllerPart::Port:
            return controller->getPort(part);
        case ControllerPart::Bbu:
            return controller->getBbu();
        case ControllerPart::Phy:
            return controller->getPhy(part);
        case ControllerPart::Enclosure:
            return enclosureObject(controller->getEnclosure(part));
    }
    throw KV_Exception(kSyntaxError);
}

Enclosure* enclosureOfController(Controller* controller, const std::string& part) {
    return controller->getEnclosure(part);
}

Object* enclosureObject(Enclosure* enclosure) {
    return enclosure;
}

Object* elementInEnclosure(Enclosure* enclosure, ElementKind kind, const std::string& part) {
    switch (kind) {
        case ElementKind::Slot:
            return enclosure->getSlot(part);
        case ElementKind::Fan:
            return enclosure->getFan(part);
        case ElementKind::TempSensor:
            return enclosure->getTempSensor(part);
        case ElementKind::PowerSupply:
            return enclosure->getPowerSupply(part);
        case ElementKind::Alarm:
            return enclosure->getAlarm(part);
        case ElementKind::Door:
            return enclosure->getDoor(doorName(part));
    }
    throw KV_Exception(kSyntaxError);
}

int runControllerAction(Controller* controller, ControllerAction action, std::istream& words) {
    switch (action) {
        case ControllerAction::Commit:
            return controller->commit();
        case ControllerAction::Flush:
            return controller->flush(words);
        case ControllerAction::Remove:
            return controller->removeCommand(words);
        case ControllerAction::DeleteUnit:
            return controller->deleteUnitCommand(words);
        case ControllerAction::CreateUnit:
            return controller->createUnitCommand(words);
        case ControllerAction::Mediascan:
            return controller->mediascanCommand(words);
        case ControllerAction::Info:
            return controller->infoCommand(words);
        case ControllerAction::Rebuild:
        case ControllerAction::Verify: {
            std::string unitName;
            words >> unitName;
            LogicalDisk* unit = controller->getUnit(unitName);
            return action == ControllerAction::Rebuild ? unit->rebuildCommand(words)
                                                       : unit->verifyCommand(words);
        }
    }
    return 0;
}

}  // namespace shell_tree
