#include "shell/shell_tree.h"

#include "shell/kv_exception.h"

// These reach into the controller and enclosure objects and are written
// with those classes. The present controller manager discovers no
// controllers and no host enclosures, so none of them is reached: each
// answers as for an object that does not exist.

namespace shell_tree {

Object* controllerObject(Controller* controller) {
    (void)controller;
    throw KV_Exception(3);
}

Object* objectInController(Controller* controller, ControllerPart kind, const std::string& part) {
    (void)controller;
    (void)kind;
    (void)part;
    throw KV_Exception(3);
}

Enclosure* enclosureOfController(Controller* controller, const std::string& part) {
    (void)controller;
    (void)part;
    throw KV_Exception(3);
}

Object* enclosureObject(Enclosure* enclosure) {
    (void)enclosure;
    throw KV_Exception(112);
}

Object* elementInEnclosure(Enclosure* enclosure, ElementKind kind, const std::string& part) {
    (void)enclosure;
    (void)kind;
    (void)part;
    throw KV_Exception(112);
}

int runControllerAction(Controller* controller, ControllerAction action, std::istream& words) {
    (void)controller;
    (void)action;
    (void)words;
    throw KV_Exception(3);
}

}  // namespace shell_tree
