// Object addresses and the focus: resolving "//host/c0/u1" and its short
// forms to the object a command is meant for, and the "focus" command.
#include "shell/shell_address.h"

#include <memory>

#include "base/kv_exception.h"
#include "base/shell_words.h"
#include "controllers/controller_mgr.h"
#include "shell/shell.h"
#include "shell/shell_tree.h"

using shell_tree::controllerObject;
using shell_tree::ControllerPart;
using shell_tree::elementInEnclosure;
using shell_tree::ElementKind;
using shell_tree::enclosureObject;
using shell_tree::enclosureOfController;
using shell_tree::objectInController;

namespace {

// The object part below a controller, tested in this order; false when the
// part is none of them.
bool controllerPartOf(const std::string& part, ControllerPart* kind) {
    if (part.compare(0, 1, "u") == 0) {
        *kind = ControllerPart::Unit;
    } else if (part.compare(0, 3, "phy") == 0) {
        *kind = ControllerPart::Phy;
    } else if (part.compare(0, 1, "e") == 0) {
        *kind = ControllerPart::Enclosure;
    } else if (part.compare(0, 1, "p") == 0) {
        *kind = ControllerPart::Port;
    } else if (part == "bbu") {
        *kind = ControllerPart::Bbu;
    } else {
        return false;
    }
    return true;
}

// The element an enclosure part names, tested in this order. Below a
// controller's enclosure "slt" names a slot as well. Doors are named "edr"
// + number; a part with "door" selects the door lookup too.
bool elementOf(const std::string& part, bool slotAlias, ElementKind* kind) {
    struct ElementWord {
        const char* word;
        ElementKind kind;
    };
    static const ElementWord kWords[] = {
        {"slot", ElementKind::Slot},       {"fan", ElementKind::Fan},
        {"temp", ElementKind::TempSensor}, {"pwrs", ElementKind::PowerSupply},
        {"alm", ElementKind::Alarm},       {"door", ElementKind::Door},
        {"edr", ElementKind::Door},
    };
    if (slotAlias && part.find("slt") != std::string::npos) {
        *kind = ElementKind::Slot;
        return true;
    }
    for (const ElementWord& each : kWords) {
        if (part.find(each.word) != std::string::npos) {
            *kind = each.kind;
            return true;
        }
    }
    return false;
}

}  // namespace

namespace shell_address {

Address parseAddress(const std::string& address, const HostCheck& checkHost) {
    std::string spaced = address;
    Shell::replaceWithSpace(spaced, '/');
    const std::vector<std::string> parts = shell_words::split(spaced);
    if (parts.empty()) {
        throw KV_Exception(kInvalidShellCommandSyntax);
    }

    Address result;
    size_t index = 0;
    if (address.compare(0, 2, "//") == 0) {
        checkHost(parts[0]);
        if (parts.size() == 1) {
            return result;
        }
        index = 1;
    }

    result.first = parts[index];
    const size_t further = parts.size() - index - 1;
    if (result.first[0] != 'c' && result.first[0] != 'e') {
        throw KV_Exception(kSyntaxError);
    }

    if (result.first[0] == 'e') {
        if (further == 0) {
            result.target = Target::HostEnclosure;
            return result;
        }
        result.elementName = parts[index + 1];
        if (further > 1 || !elementOf(result.elementName, false, &result.element)) {
            throw KV_Exception(kSyntaxError);
        }
        result.target = Target::HostElement;
        return result;
    }

    if (further == 0) {
        result.target = Target::Controller;
        return result;
    }
    result.partName = parts[index + 1];
    if (!controllerPartOf(result.partName, &result.part)) {
        throw KV_Exception(kSyntaxError);
    }
    if (result.part != ControllerPart::Enclosure) {
        if (further > 1) {
            throw KV_Exception(kSyntaxError);
        }
        result.target = Target::ControllerObject;
        return result;
    }

    // An enclosure of the controller, or one element of it.
    if (further > 2) {
        throw KV_Exception(kSyntaxError);
    }
    if (further == 1) {
        result.target = Target::ControllerEnclosure;
        return result;
    }
    result.elementName = parts[index + 2];
    if (!elementOf(result.elementName, true, &result.element)) {
        throw KV_Exception(kSyntaxError);
    }
    result.target = Target::ControllerElement;
    return result;
}

}  // namespace shell_address

void Shell::checkHost(std::string host) const {
    std::string shortName = getHostName(true);
    std::string fullName = getHostName(false);
    toLower(host);
    toLower(shortName);
    toLower(fullName);
    if (host != shortName && host != fullName) {
        throw KV_Exception(kRemoteNotSupported);
    }
}

std::string Shell::rootOfFocus() const {
    return focus_.substr(0, focus_.find('/', 2));
}

Object* Shell::getObject(ControllerMgr* mgr, const std::string& address) {
    using shell_address::Target;
    const shell_address::Address parts =
        shell_address::parseAddress(address, [this](const std::string& host) { checkHost(host); });
    // The controller (or host-level enclosure) is looked up first, then the
    // object in it.
    switch (parts.target) {
        case Target::Root:
            return this;
        case Target::Controller:
            return controllerObject(mgr->getController(parts.first));
        case Target::HostEnclosure:
            return enclosureObject(mgr->getEnclosure(parts.first));
        case Target::HostElement:
            return elementInEnclosure(mgr->getEnclosure(parts.first), parts.element,
                                      parts.elementName);
        case Target::ControllerObject:
            return objectInController(mgr->getController(parts.first), parts.part, parts.partName);
        case Target::ControllerEnclosure:
            return enclosureObject(
                enclosureOfController(mgr->getController(parts.first), parts.partName));
        case Target::ControllerElement:
            return elementInEnclosure(
                enclosureOfController(mgr->getController(parts.first), parts.partName),
                parts.element, parts.elementName);
    }
    throw KV_Exception(kSyntaxError);
}

void Shell::changeFocus(std::istream& words) {
    if (!newInputStyle_) {
        throw KV_Exception(kNewInputStyleOnly);
    }
    const std::string target = shell_words::nextWord(words);
    if (target.empty() || shell_words::hasMoreWords(words)) {
        throw KV_Exception(kInvalidShellCommandUri);
    }

    // The target is checked against controllers as they are now, with a
    // manager of its own.
    auto mgr = std::make_unique<ControllerMgr>();
    std::string newFocus;
    if (target.compare(0, 2, "//") == 0) {
        if (target.size() < 3) {
            throw KV_Exception(kInvalidShellCommandValue);
        }
        checkHost(target.substr(2, target.find('/', 2) - 2));
        newFocus = target;
    } else if (target == "..") {
        // One level up; the root stays the root.
        const size_t last = focus_.rfind('/');
        if (last != std::string::npos && last > 1) {
            focus_.erase(last);
        }
        return;
    } else if (target == "/") {
        focus_ = rootOfFocus();
        return;
    } else if (target.compare(0, 2, "/c") == 0 || target.compare(0, 2, "/e") == 0) {
        newFocus = rootOfFocus() + target;
    } else if (target[0] == '/') {
        throw KV_Exception(kInvalidShellCommandValue);
    } else {
        newFocus = focus_ + "/" + target;
    }
    getObject(mgr.get(), newFocus);
    focus_ = newFocus;
}
