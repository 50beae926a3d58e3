// The parts of an object address ("//host/c0/e1/slot2" and its short
// forms), read apart from the lookups that resolve them: which kind of
// object the address names and under which names its parts are looked up.
#pragma once

#include <functional>
#include <string>

#include "shell/shell_tree.h"

namespace shell_address {

// What an address names.
enum class Target {
    Root,                 // "//host"
    Controller,           // /cN
    HostEnclosure,        // /eN
    HostElement,          // /eN/<element>
    ControllerObject,     // /cN/uK, /cN/pK, /cN/phyK, /cN/bbu
    ControllerEnclosure,  // /cN/eK
    ControllerElement,    // /cN/eK/<element>
};

struct Address {
    Target target = Target::Root;
    // The controller ("c...") or host-level enclosure ("e...") part.
    std::string first;
    // Below a controller: the kind and name of its object part.
    shell_tree::ControllerPart part = shell_tree::ControllerPart::Unit;
    std::string partName;
    // The element part and the element kind it selects.
    shell_tree::ElementKind element = shell_tree::ElementKind::Slot;
    std::string elementName;
};

// Checks the host part of a "//host..." address; throws CLI error 54 for a
// host that is not this one.
using HostCheck = std::function<void(const std::string& host)>;

// Reads an address into its parts. Every part is taken by its own words,
// wherever it stands in the text: an element below a controller's
// enclosure is found by its part, not by its position in the address.
// Throws CLI error 43 for an address without parts, the host check's error
// for a foreign host and CLI error 2 for a malformed address.
Address parseAddress(const std::string& address, const HostCheck& checkHost);

}  // namespace shell_address
