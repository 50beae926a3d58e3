// The settings the controller base class carries itself, on a controller
// of the older family: JBOD export, spin-up, stagger time and the verify
// rate refuse the family before they look at their value or reach the
// controller.
//
// The library does not yet serve an older-family controller's unit list,
// so the older family's controller object is tried over a newer-family
// controller's tree, as its own tests do.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "api/api.h"
#include "controllers/controller_prane.h"
#include "integration_host.h"
#include "shell/shell.h"
#include "test_support.h"

namespace ctlset_family3_test {
namespace {

using integration::json;
using test_support::Cli;
using test_support::ErrorOf;
using test_support::Output;

class CtlsetFamily3Test : public integration::IntegrationTest {
  protected:
    void SetUp() override {
        IntegrationTest::SetUp();
        shell_ = std::make_unique<Shell>();
        theShell = shell_.get();
        Install(Machine(json::array({integration::RhoskController(
            5, 5, "KVS26021-180274", {{"settings", {{"ports", 4}}}})})));
        ObjectIdList16 list{};
        list.zero();
        EXPECT_EQ(Api::GetControllerIdList(&list), 0);
        prane_ = std::make_unique<ControllerPrane>("c0", 0, list.ids[0]);
    }
    void TearDown() override {
        prane_.reset();
        theShell = nullptr;
        shell_.reset();
        IntegrationTest::TearDown();
    }

    std::unique_ptr<ControllerPrane> prane_;

  private:
    std::unique_ptr<Shell> shell_;
};

TEST_F(CtlsetFamily3Test, SettingsOfTheNewerFamilyAreRefusedBeforeTheirValue) {
    ControllerPrane& c = *prane_;
    ASSERT_EQ(c.getFamily(), 3);
    ClearTraffic();
    struct Case {
        const char* words;
    };
    // A value the newer family would refuse with 33 (a capital letter, a
    // number out of range) still gets 24 here: the family comes first.
    const Case cases[] = {{"exportjbod=ON"}, {"exportjbod=on"}, {"spinup=0"},
                          {"spinup=4"},      {"stagger=61"},    {"stagger=1"},
                          {"verifyrate=9"},  {"verifyrate=2"},  {"verify=2"}};
    for (const Case& each : cases) {
        SCOPED_TRACE(each.words);
        std::istringstream words(each.words);
        std::string error;
        EXPECT_EQ(Output([&] { error = ErrorOf([&] { c.setCommand(words); }); }), "");
        EXPECT_EQ(error, Cli(24));
    }
    std::istringstream rate("2");
    EXPECT_EQ(ErrorOf([&] { c.setVerifyRate(rate); }), Cli(24));
    EXPECT_TRUE(Requests().empty());
}

TEST_F(CtlsetFamily3Test, PoliciesOfTheNewerFamilyReadAsNotSupported) {
    ControllerPrane& c = *prane_;
    ClearTraffic();
    EXPECT_EQ(c.getExportJbod(), "Not Supported");
    EXPECT_EQ(c.getSpinup(), "Not Supported");
    EXPECT_EQ(c.getStagger(), "Not Supported");
    EXPECT_TRUE(Requests().empty());
}

}  // namespace
}  // namespace ctlset_family3_test
