// Reading object addresses into their parts: which object kind each form
// names and under which names its parts are looked up, apart from whether
// the objects exist.
#include "shell/shell_address.h"

#include <gtest/gtest.h>

#include <string>

#include "base/kv_exception.h"

namespace shell_address_test {
namespace {

using shell_address::Address;
using shell_address::parseAddress;
using shell_address::Target;
using shell_tree::ControllerPart;
using shell_tree::ElementKind;

// The host check of a shell on "kvhost.lab.example".
void checkHost(const std::string& host) {
    if (host != "kvhost" && host != "kvhost.lab.example")
        throw KV_Exception(54);
}

struct Parsed {
    Target target;
    const char* first;
    ControllerPart part;
    const char* partName;
    ElementKind element;
    const char* elementName;
};

TEST(ShellAddressTest, FormsAndTheirParts) {
    const ControllerPart unit = ControllerPart::Unit;
    const ElementKind slot = ElementKind::Slot;
    const std::pair<const char*, Parsed> cases[] = {
        {"//kvhost", {Target::Root, "", unit, "", slot, ""}},
        {"//kvhost.lab.example/", {Target::Root, "", unit, "", slot, ""}},
        {"/c0", {Target::Controller, "c0", unit, "", slot, ""}},
        {"//kvhost/c12", {Target::Controller, "c12", unit, "", slot, ""}},
        {"/c0/u10", {Target::ControllerObject, "c0", unit, "u10", slot, ""}},
        {"/c0/p3", {Target::ControllerObject, "c0", ControllerPart::Port, "p3", slot, ""}},
        {"/c0/phy1", {Target::ControllerObject, "c0", ControllerPart::Phy, "phy1", slot, ""}},
        {"/c0/bbu", {Target::ControllerObject, "c0", ControllerPart::Bbu, "bbu", slot, ""}},
        {"/c0/e1", {Target::ControllerEnclosure, "c0", ControllerPart::Enclosure, "e1", slot, ""}},
        {"/e2", {Target::HostEnclosure, "e2", unit, "", slot, ""}},
        // Element words, tested in their order: slot, fan, temp, pwrs, alm,
        // then the door, which the enclosure files under "edr".
        {"/e0/slot3", {Target::HostElement, "e0", unit, "", slot, "slot3"}},
        {"/e0/fan1", {Target::HostElement, "e0", unit, "", ElementKind::Fan, "fan1"}},
        {"/e0/temp0", {Target::HostElement, "e0", unit, "", ElementKind::TempSensor, "temp0"}},
        {"/e0/pwrs1", {Target::HostElement, "e0", unit, "", ElementKind::PowerSupply, "pwrs1"}},
        {"/e0/alm0", {Target::HostElement, "e0", unit, "", ElementKind::Alarm, "alm0"}},
        {"/e0/edr0", {Target::HostElement, "e0", unit, "", ElementKind::Door, "edr0"}},
        {"/e0/door0", {Target::HostElement, "e0", unit, "", ElementKind::Door, "door0"}},
        {"/e0/fanslot1", {Target::HostElement, "e0", unit, "", slot, "fanslot1"}},
        // Below a controller's enclosure, "slt" names a slot too; the
        // element is found by its part however long the address before it.
        {"/c0/e0/slt2",
         {Target::ControllerElement, "c0", ControllerPart::Enclosure, "e0", slot, "slt2"}},
        {"/c0/e0/edr1",
         {Target::ControllerElement, "c0", ControllerPart::Enclosure, "e0", ElementKind::Door,
          "edr1"}},
        {"/c12/e10/slot1",
         {Target::ControllerElement, "c12", ControllerPart::Enclosure, "e10", slot, "slot1"}},
        {"//kvhost/c0/e0/fan1",
         {Target::ControllerElement, "c0", ControllerPart::Enclosure, "e0", ElementKind::Fan,
          "fan1"}},
        {"//kvhost.lab.example/c0/e0/slot1",
         {Target::ControllerElement, "c0", ControllerPart::Enclosure, "e0", slot, "slot1"}},
    };
    for (const auto& [address, expected] : cases) {
        SCOPED_TRACE(address);
        const Address parsed = parseAddress(address, checkHost);
        EXPECT_EQ(parsed.target, expected.target);
        EXPECT_EQ(parsed.first, expected.first);
        if (parsed.target == Target::ControllerObject ||
            parsed.target == Target::ControllerEnclosure ||
            parsed.target == Target::ControllerElement) {
            EXPECT_EQ(parsed.part, expected.part);
            EXPECT_EQ(parsed.partName, expected.partName);
        }
        if (parsed.target == Target::HostElement || parsed.target == Target::ControllerElement) {
            EXPECT_EQ(parsed.element, expected.element);
            EXPECT_EQ(parsed.elementName, expected.elementName);
        }
    }
}

TEST(ShellAddressTest, MalformedAddresses) {
    const std::pair<const char*, int> cases[] = {
        {"/", 43},          {"//", 43},
        {"//other/x0", 54},  // the host is checked before the parts
        {"/x0", 2},         {"/c0/x1", 2},
        {"/c9/u0/x", 2},    {"/c0/bbu/x", 2},
        {"/c0/phy0/x", 2},  {"/c0/p0/x", 2},
        {"/c0/e0/foo", 2},  {"/c0/e0/fan1/x", 2},
        {"/e0/slt1", 2},  // "slt" only below a controller's enclosure
        {"/e0/foo", 2},     {"/e0/fan1/extra", 2},
    };
    for (const auto& [address, code] : cases) {
        try {
            parseAddress(address, checkHost);
            ADD_FAILURE() << address << " was read";
        } catch (KV_Exception& error) {
            EXPECT_EQ(error.getMessage(), KV_Exception(code).getMessage()) << address;
        }
    }
}

}  // namespace
}  // namespace shell_address_test
