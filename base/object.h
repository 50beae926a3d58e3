// The root of every object a command can address: the shell itself (the
// host), controllers, units, ports, phys, battery backup units, enclosures
// and enclosure elements.
#pragma once

#include <istream>

class Object {
  public:
    Object() = default;
    virtual ~Object() = default;

    // Runs the rest of a command line addressed to this object. `words` is
    // positioned after the object's address. Returns 0; failures are thrown
    // as KV_Exception.
    virtual int execute(std::istream& words) = 0;
};
