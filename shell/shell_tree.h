// The shell's reach into the object tree of a command: the lookups below a
// controller and an enclosure that the address resolution needs, and the
// controller commands that the old-style words run. Everything else in the
// shell only names controllers and enclosures through the manager.
#pragma once

#include <istream>
#include <string>

class Controller;
class Enclosure;
class Object;

namespace shell_tree {

// The kinds of object below a controller.
enum class ControllerPart { Unit, Phy, Enclosure, Port, Bbu };

// The kinds of enclosure element.
enum class ElementKind { Slot, Fan, TempSensor, PowerSupply, Alarm, Door };

// The controller commands reached by the old-style words and "maint".
enum class ControllerAction {
    Commit,
    Flush,
    Remove,
    DeleteUnit,
    CreateUnit,
    Mediascan,
    Info,
    Rebuild,  // of the unit named by the next word
    Verify    // of the unit named by the next word
};

Object* controllerObject(Controller* controller);
// Controller::getUnit, getPhy, getPort or getBbu of the part.
Object* objectInController(Controller* controller, ControllerPart kind, const std::string& part);
// Controller::getEnclosure of the part.
Enclosure* enclosureOfController(Controller* controller, const std::string& part);
Object* enclosureObject(Enclosure* enclosure);
// The name of the door an address part names: "edr" + number, also
// written "door" + number.
std::string doorName(const std::string& part);
// Enclosure::getSlot, getFan, getTempSensor, getPowerSupply, getAlarm or
// getDoor of the part.
Object* elementInEnclosure(Enclosure* enclosure, ElementKind kind, const std::string& part);
// Runs the controller's (or its unit's) command with the rest of the words.
int runControllerAction(Controller* controller, ControllerAction action, std::istream& words);

}  // namespace shell_tree
